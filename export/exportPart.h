#pragma once
// One part of an export split over several processes or machines (quillo export --part K/N,
// quilloExportFeathers -part K -parts N). Part K of N holds, of every node, the K-th of N
// contiguous slices of its slots: a feather system's kept roots, a feather node's feathers.
// The slices of a node cover its slots once, in order, and differ in size by one at most; a
// node with fewer slots than parts leaves some slices empty. Every feather keeps the seed and
// index it has in the whole export, so joined parts equal the whole.

#include <cstddef>
#include <string>

struct exportPart {
    unsigned int index = 0; // 0 .. count - 1
    // 0: the whole export, not split. From 1 up the file is written as a part (with the part
    // and slots it holds), even the one part of 1.
    unsigned int count = 0;
    bool whole() const { return count == 0; }
};

// Beyond any farm; keeps the slice arithmetic far from overflow.
constexpr unsigned int maxExportParts = 1000000;

// Slots [first, end) of a node.
struct slotRange {
    size_t first = 0;
    size_t end = 0;
    size_t size() const { return end - first; }
};

// The slots of `part` among `slots`: [slots x index / count, slots x (index + 1) / count); all
// of them for the whole export.
slotRange partSlots(size_t slots, const exportPart& part);

// How the header lines of OBJ and RIB parts end: ", part K of N"; "" for the whole export.
std::string partLabel(const exportPart& part);

// "K/N" with whole numbers 0 <= K < N <= maxExportParts, digits only. False, with `part` left
// as it was, for anything else.
bool parseExportPart(const std::string& text, exportPart& part);

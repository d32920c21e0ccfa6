#pragma once
// One face of a mesh as scene files write it: setAttr ".fc[0:5]" -type "polyFaces" ..., one
// face per element of the mesh's "face" array.
//   f N e...          the outer loop as N signed edge ids of the mesh's ".ed" list: e >= 0 takes
//                     edge e from its first vertex to its second, e < 0 takes edge -e - 1 from its
//                     second vertex back to its first
//   h N e...          a hole, in the same form
//   mu s N uvId...    UV ids of the loop just given, in UV set s (the index of ".uvst[s]")
//   mc s N colorId... colour ids of that loop in colour set s
//   fc N colorId...   colour ids of that loop (older files)
// Edge ids are resolved only when the mesh is built from its attributes (meshAttributes.h).

#include "data/dataObjects.h"
#include "graph/slot.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

struct PolyFaceLoop {
    std::vector<int> edges;
    std::vector<std::pair<int, std::vector<int>>> uvs;    // (set, ids), as in "mu"
    std::vector<std::pair<int, std::vector<int>>> colors; // (set, ids), as in "mc"
    std::vector<int> faceColors;                          // as in "fc"
};

struct PolyFace {
    std::vector<PolyFaceLoop> loops; // the "f" loop first, then the "h" loops
};

struct PolyFacesData : DataObject {
    PolyFace face;
    MFn::Type apiType() const override { return MFn::kData; }
    const char* apiTypeStr() const override { return "kPolyFacesData"; }
    MFnData::Type dataType() const override { return MFnData::kAny; }
};

MObject makePolyFacesData(PolyFace face);
// The face in a polyFaces data object; null for anything else.
const PolyFace* polyFaceIn(const MObject& data);

// Reads one face from tokens[pos...]: an "f" record and the records that follow it, up to the
// next "f" or the first token that starts no record. On success pos is past the face; on
// failure pos is left alone and `error` says what was expected where.
bool parsePolyFace(const std::vector<std::string>& tokens, size_t& pos, PolyFace& face,
                   std::string& error);
// The face's records, one per line ("\n\t\t" between lines), as Maya writes them.
std::string formatPolyFace(const PolyFace& face);

// A face as a row of ints, for arrays of faces kept packed: the loop count, then per loop its
// edge count and edges, its UV sets (set, count, ids), colour sets (set, count, ids) and face
// colours (count, ids), each list after its count.
void encodePolyFace(const PolyFace& face, std::vector<int>& ints);
// The face a row of encodePolyFace holds (what is left of it when the row is short).
PolyFace decodePolyFace(const int* ints, size_t count);
// The two as the codec a mesh's ".fc" array packs its faces with.
const PackedDataCodec& polyFacesCodec();

// Registers "polyFaces" with the scene reader and writer (typedValues.h).
void registerPolyFacesFormat();

} // namespace host

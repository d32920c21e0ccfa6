#pragma once
// Plug paths as scene commands write them after the node name: "t", "vt[0:7]",
// "iog[0].og[3].gcl", long or short attribute names, one index range at most.

#include "graph/connection.h"

#include <string>
#include <vector>

namespace host {

class Node;

struct PlugPathPart {
    std::string name;
    bool indexed = false;
    bool range = false; // [first:last]
    int first = 0, last = 0;
};

// false with `error` saying what was expected where.
bool parsePlugPath(const std::string& path, std::vector<PlugPathPart>& parts, std::string& error);
// The path written back from its parts.
std::string plugPathText(const std::vector<PlugPathPart>& parts);

struct ResolvedPlug {
    PlugRef ref;         // the ranged level holds `first`
    int rangeLevel = -1; // which entry of ref.indices the range runs over; -1: none
    int first = 0, last = 0;

    size_t count() const { return rangeLevel < 0 ? 1 : static_cast<size_t>(last - first) + 1; }
    PlugRef element(size_t k) const;
    // True when the plug is an array as a whole (no index given for its last level).
    bool isArray() const;
};

enum class PlugResolution { kKnown, kUnknown, kError };

// kUnknown when some part names no attribute of the node (`error` holds that name; the value is
// then kept raw);
// kError when the path cannot fit the attribute it names (an index on a non-array, two ranges).
PlugResolution resolvePlugPath(Node* node, const std::vector<PlugPathPart>& parts,
                               ResolvedPlug& out, std::string& error);

} // namespace host

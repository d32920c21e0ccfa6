// The vertex group text of the component nodes, parsed for a mesh of a fuzzed vertex count
// and walked across it. Input: 4 bytes vertex count, 4 bytes walk step, 4 bytes walk times
// (little-endian), then the text.

#include "fuzzSupport.h"

#include "nodes/component/meshWalking.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

int32_t takeInt(const uint8_t*& data, size_t& size) {
    uint32_t raw = 0;
    for (int i = 0; i < 4 && size > 0; ++i, ++data, --size)
        raw |= static_cast<uint32_t>(*data) << (8 * i);
    int32_t value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void checkIds(const MIntArray& ids, int vertexCount, const char* what) {
    for (unsigned int k = 0; k < ids.length(); ++k)
        if (ids[k] < 0 || ids[k] >= vertexCount)
            fuzz::fail(std::string(what) + ": id " + std::to_string(ids[k]) + " outside the mesh");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t vertexCount = takeInt(data, size);
    const int32_t walkStep = takeInt(data, size);
    int32_t walkTimes = takeInt(data, size);
    // A walk may list millions of small groups (up to maxWalkIds ids); that is allowed, but at
    // a fraction of a second an input it would starve the search. Walks across a big mesh stop
    // after a few thousand groups here; walks that run off a small mesh stay as they are.
    const int64_t groupsThatFit = static_cast<int64_t>(vertexCount) / std::max(walkStep, 1);
    if ((walkTimes < 0 || walkTimes > 4096) && groupsThatFit > 4096)
        walkTimes = 4096;
    // MString holds C strings: the text ends at its first zero byte, as a plug value would.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const MString group(text.c_str());

    const MIntArray ids = parseVertexGroup(group, vertexCount);
    fuzz::check(ids.length() != 1, "a single id is no path");
    fuzz::check(ids.length() <= maxWalkIds, "a group holds at most maxWalkIds ids");
    checkIds(ids, vertexCount, "group");

    const std::vector<MIntArray> groups = walkVertexGroup(group, walkStep, walkTimes, vertexCount);
    fuzz::check(walkTimes < 0 || groups.size() <= static_cast<size_t>(walkTimes),
                "a walk makes at most walkTimes groups");
    uint64_t listed = 0;
    for (size_t k = 0; k < groups.size(); ++k) {
        fuzz::check(groups[k].length() == ids.length(), "every group is the parsed group");
        checkIds(groups[k], vertexCount, "walk");
        listed += groups[k].length();
    }
    fuzz::check(listed <= maxWalkIds, "a walk lists at most maxWalkIds ids");
    if (!groups.empty())
        for (unsigned int k = 0; k < ids.length(); ++k)
            if (groups[0][k] != ids[k])
                fuzz::fail("the first group is the parsed group");
    return 0;
}

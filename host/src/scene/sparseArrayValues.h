#pragma once
// The compact form Maya writes for an array of numbers inside each element of a ranged array,
// a skinCluster's weights for example:
//   setAttr ".wl[0:7].w"  2 0 0.85 1 0.15  1 0 1 ...
// For each element of the range: a count N, then N pairs of (index, value).

#include "scene/mayaAsciiLexer.h"
#include "scene/plugPath.h"

#include <string>
#include <vector>

namespace host {

class CommandRun;

// True when the plug takes that form: a numeric array named without an index.
bool takesSparseArrays(const ResolvedPlug& plug);
// Sets the values; reports and returns false on a malformed list, changing nothing then.
bool setSparseArrays(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
                     const std::vector<SceneToken>& values);

} // namespace host

#pragma once
// The "nurbsSurface" text form of files (setAttr ".cc" -type "nurbsSurface" ...):
//   degreeU degreeV formU formV rational      forms 0 open, 1 closed, 2 periodic; yes/no
//   numKnotsU knotU...
//   numKnotsV knotV...
//   [TRIM | NOTRIM]
//   numCVs x y z [w]...                       w only when rational; V varies fastest
// The CV counts per direction follow from the knot counts (numKnots - degree + 1).

#include "geometry/nurbsSurface.h"

#include <string>
#include <vector>

namespace host {

// Reads one surface from tokens[pos...]; on success pos is past it. On failure pos is left
// alone and `error` says what was expected where.
bool parseNurbsSurface(const std::vector<std::string>& tokens, size_t& pos, NurbsSurface& surface,
                       std::string& error);
// The tokens that follow -type "nurbsSurface", laid out in lines as Maya writes them; numbers
// are written so that they read back exactly.
std::string formatNurbsSurface(const NurbsSurface& surface);

// Registers the format with the scene reader and writer (typedValues.h).
void registerNurbsSurfaceFormat();

} // namespace host

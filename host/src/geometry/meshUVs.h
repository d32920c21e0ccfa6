#pragma once
// UV queries and UV edits of a mesh.

#include "geometry/mesh.h"

#include <maya/MPoint.h>

#include <string>
#include <vector>

namespace host {

// The point of a polygon whose UV in `set` is (u, v), interpolated over the polygon's triangles
// (holes are outside). A UV outside the polygon's UV outline fails unless it lies within
// `tolerance` (UV units) of it; then the outline's nearest UV is used. Fails when the polygon
// has no UVs in the set.
bool pointAtUV(const Mesh& mesh, int polygon, const MeshUVSet& set, double u, double v,
               double tolerance, MPoint& point);

// Edits: each checks its input and, on failure, leaves the mesh alone and says why in `error`.
// The caller finalizes the mesh after a successful edit.

// Replaces the UV values of set `setIndex`; ids already assigned must stay in range.
bool setUVs(Mesh& mesh, int setIndex, const std::vector<float>& u, const std::vector<float>& v,
            std::string& error);
// Assigns UV ids polygon by polygon: uvCounts[p] is 0 (no UVs) or the polygon's outer corner
// count; uvIds lists the ids of those corners in order. Holes lose their UVs in the set.
bool assignUVs(Mesh& mesh, int setIndex, const std::vector<int>& uvCounts,
               const std::vector<int>& uvIds, std::string& error);
// Adds an empty set; a taken or empty name gets a number appended until it is free. Returns
// the set's index and sets `name` to the name it got.
int addUVSet(Mesh& mesh, std::string& name);

} // namespace host

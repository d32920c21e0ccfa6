#pragma once
// Splitting polygons into triangles, for closest-point and UV queries.

#include "geometry/mesh.h"

#include <vector>

namespace host {

// Appends triangles covering a polygon (its outer loop less its holes) to `out`, by ear clipping
// in the polygon's plane; they wind the way the polygon does. A convex polygon without holes
// gives the fan from its first corner: (0, 1, 2), (0, 2, 3), ... A degenerate polygon (no
// usable normal) also gives that fan.
void triangulatePolygon(const Mesh& mesh, int polygon, std::vector<MeshTriangle>& out);

} // namespace host

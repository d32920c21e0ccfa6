#pragma once
// Polygon and vertex normals of a mesh.

#include "geometry/mesh.h"

#include <maya/MMatrix.h>
#include <maya/MVector.h>

namespace host {

// The unit normal of a polygon's outer loop (Newell's method, so concave and slightly
// non-planar polygons work), with every point first moved by `matrix` when one is given. A
// degenerate polygon gives the zero vector.
MVector polygonNormal(const Mesh& mesh, int polygon, const MMatrix* matrix = nullptr);

// The normalised average of the normals of the polygons around a vertex: a plain average, or,
// with angleWeighted, each weighted by the polygon's corner angle at the vertex. Points are moved
// by `matrix` first when one is given. A vertex no polygon uses gives the zero vector.
MVector vertexNormal(const Mesh& mesh, int vertex, bool angleWeighted,
                     const MMatrix* matrix = nullptr);

} // namespace host

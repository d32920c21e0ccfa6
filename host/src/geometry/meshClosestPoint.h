#pragma once
// The point of a mesh nearest to a given point, and what the mesh carries there.

#include "geometry/mesh.h"

#include <maya/MPoint.h>

#include <vector>

namespace host {

struct MeshHit {
    MPoint point;
    int polygon = -1;
    int triangle = -1;                   // index into Mesh::triangles
    double weights[3] = {0.0, 0.0, 0.0}; // barycentric weights of the triangle's corners
};

// The point of triangle abc nearest to p, with the barycentric weights of a, b and c there.
// A degenerate triangle still gives a point of it.
MPoint closestOnTriangle(const MPoint& p, const MPoint& a, const MPoint& b, const MPoint& c,
                         double weights[3]);

// The nearest point over every polygon of the mesh, with the vertex positions taken from
// `points` (the mesh's own or moved ones, in vertex order). Ties go to the lower polygon. False
// for a mesh without polygons.
bool closestPoint(const Mesh& mesh, const std::vector<MPoint>& points, const MPoint& query,
                  MeshHit& hit);

// The UV of a set at a hit, interpolated over the hit triangle. False when the polygon has no
// UVs in that set.
bool uvAtHit(const Mesh& mesh, const MeshUVSet& set, const MeshHit& hit, float& u, float& v);

} // namespace host

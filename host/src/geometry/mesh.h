#pragma once
// A polygon mesh as the host keeps it: vertex positions, polygons, UV sets and the current UV
// set. A mesh is filled, checked with validateMesh, completed with finalizeMesh and from then on
// shared read-only (MeshData holds it through a shared pointer); an edit makes a new mesh.
//
// Polygons are made of loops of vertex ids: the outer loop first, then any holes. Loops run
// counter-clockwise seen from the side the polygon's normal points to. Every loop vertex is a
// "loop corner" with its own index into loopVertices; UV ids are kept per loop corner. The
// face-vertices that the API numbers (polygonVertexCount, getPolygonUV's vertexIndex) are the
// corners of the outer loop.

#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

struct MeshTriangleTree;

struct MeshUVSet {
    std::string name;
    std::vector<float> u, v;
    // The UV id of every loop corner (parallel to Mesh::loopVertices), -1 where it has none. A
    // loop has UVs at all of its corners or at none.
    std::vector<int> uvIds;
};

struct MeshEdge {
    int v0 = 0, v1 = 0; // in the direction the first loop that uses it walks it
};

// One triangle of a polygon's triangulation, as three loop corners.
struct MeshTriangle {
    int polygon = 0;
    int corners[3] = {0, 0, 0};
};

struct Mesh {
    std::vector<MPoint> points;
    // Polygon p owns loops polygonLoops[p] .. polygonLoops[p + 1] - 1, the first its outer one;
    // loop l owns corners loopStarts[l] .. loopStarts[l + 1] - 1 of loopVertices.
    std::vector<int> polygonLoops{0};
    std::vector<int> loopStarts{0};
    std::vector<int> loopVertices;
    std::vector<MeshUVSet> uvSets;
    int currentUVSet = -1; // index into uvSets, -1 when there is none

    // Derived by finalizeMesh.
    std::vector<MeshEdge> edges;          // each undirected edge once, in order of first use
    std::vector<int> cornerEdges;         // per corner: the edge to the next corner of its loop
    std::vector<MVector> polygonNormals;  // unit normals (zero for a degenerate polygon)
    std::vector<MeshTriangle> triangles;  // polygon by polygon
    std::vector<int> polygonTriangles{0}; // polygon p owns triangles [p] .. [p + 1] - 1
    std::vector<int> vertexPolygonStarts{0};
    std::vector<int> vertexPolygons; // polygons around each vertex, ascending
    // A search tree over the triangles, built by the first closest-point query that wants one
    // (meshClosestPoint.cpp) and dropped by finalizeMesh. Read and set atomically, so that
    // queries from several threads at most build it twice.
    mutable std::shared_ptr<const MeshTriangleTree> triangleTree;

    int numVertices() const { return static_cast<int>(points.size()); }
    int numPolygons() const { return static_cast<int>(polygonLoops.size()) - 1; }
    int numLoops() const { return static_cast<int>(loopStarts.size()) - 1; }
    int numEdges() const { return static_cast<int>(edges.size()); }
    bool validPolygon(int p) const { return p >= 0 && p < numPolygons(); }
    bool validVertex(int v) const { return v >= 0 && v < numVertices(); }
    // The outer loop of a polygon: its first corner and its corner count.
    int outerStart(int p) const { return loopStarts[polygonLoops[p]]; }
    int outerCount(int p) const {
        return loopStarts[polygonLoops[p] + 1] - loopStarts[polygonLoops[p]];
    }
    int holeCount(int p) const { return polygonLoops[p + 1] - polygonLoops[p] - 1; }
    // The UV set with this name; an empty name means the current set. Null when there is none.
    const MeshUVSet* uvSet(const std::string& name) const;
    int uvSetIndex(const std::string& name) const;
};

// Appends a polygon with the given outer loop (and holes); UV sets get "no UV" for its
// corners. Nothing is checked here: validateMesh does that.
void addPolygon(Mesh& mesh, const std::vector<int>& outer,
                const std::vector<std::vector<int>>& holes = {});

// Checks what finalizeMesh and every query rely on: finite points, loops of at least three
// distinct vertex ids in range, UV sets with matching u/v counts, UV ids in range and per loop
// all or none, unique non-empty set names and a current set in range. On failure `error`
// says what was expected.
bool validateMesh(const Mesh& mesh, std::string& error);

// Fills the derived data of a valid mesh (edges, normals, triangles, vertex adjacency).
void finalizeMesh(Mesh& mesh);

// A copy with every point moved by the matrix (row vectors, p * m); derived data is rebuilt.
Mesh transformed(const Mesh& mesh, const class MMatrix& matrix);

} // namespace host

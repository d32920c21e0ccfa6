#pragma once
// Between a mesh and the attributes a mesh node keeps it in (what scene files store):
//   ".vt" vertex positions, plus the ".pt" tweaks added to them
//   ".ed" edges as (first vertex, second vertex, hard flag)
//   ".fc" one polyFaces value per face (meshPolyFaces.h), in ascending element order
//   ".uvst[s]" UV sets: ".uvsn" the name, ".uvsp" the UV values; "mu s" records refer to s
//   ".cuvs" the name of the current UV set (the first set when empty or unknown)

#include "geometry/mesh.h"
#include "geometry/meshPolyFaces.h"

#include <maya/MPoint.h>

#include <string>
#include <vector>

namespace host {

struct MeshAttributeValues {
    struct Edge {
        int v0 = 0, v1 = 0;
        bool hard = false;
        bool defined = false; // false for a gap in a sparse ".ed" array
    };
    struct UVSet {
        int index = 0; // the logical index of its ".uvst" element
        std::string name;
        std::vector<float> u, v;
    };
    std::vector<MPoint> vertices; // ".vt" plus ".pt", by vertex id
    std::vector<Edge> edges;
    std::vector<PolyFace> faces;
    std::vector<int> faceIndices; // the logical ".fc" index of each face, for messages
    std::vector<UVSet> uvSets;
    std::string currentUVSet;
};

// Builds the mesh the values describe. On failure `error` names the face (as "fc[i]") and says
// what was expected: edge ids in range, loops that close, UV sets that exist, UV ids in range.
bool buildMesh(const MeshAttributeValues& values, Mesh& mesh, std::string& error);

// The values that store a mesh: its points, its edges in order of first use, one face per
// polygon with signed edge ids, and its UV sets numbered from 0.
MeshAttributeValues meshAttributeValues(const Mesh& mesh);

} // namespace host

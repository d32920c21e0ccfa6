#include "geometry/meshAttributes.h"

#include <map>

namespace host {

namespace {

// The vertex loop of a face's edge loop; false with a message when it does not hold together.
bool loopVertices(const MeshAttributeValues& values, const std::vector<int>& edges,
                  const std::string& where, std::vector<int>& loop, std::string& error) {
    const int edgeCount = static_cast<int>(values.edges.size());
    const int vertexCount = static_cast<int>(values.vertices.size());
    loop.clear();
    std::vector<int> ends;
    for (int e : edges) {
        int id = e >= 0 ? e : -e - 1;
        if (id >= edgeCount || !values.edges[static_cast<size_t>(id)].defined) {
            error = where + ": edge id " + std::to_string(e) + " refers to edge " +
                    std::to_string(id) + ", which does not exist; expected ids from " +
                    std::to_string(-edgeCount) + " to " + std::to_string(edgeCount - 1) + " (" +
                    std::to_string(edgeCount) + " edges in .ed)";
            return false;
        }
        const MeshAttributeValues::Edge& edge = values.edges[static_cast<size_t>(id)];
        for (int v : {edge.v0, edge.v1})
            if (v < 0 || v >= vertexCount) {
                error = where + ": edge " + std::to_string(id) + " uses vertex " +
                        std::to_string(v) + "; expected a vertex id from 0 to " +
                        std::to_string(vertexCount - 1) + " (" + std::to_string(vertexCount) +
                        " vertices in .vt)";
                return false;
            }
        loop.push_back(e >= 0 ? edge.v0 : edge.v1);
        ends.push_back(e >= 0 ? edge.v1 : edge.v0);
    }
    for (size_t k = 0; k < edges.size(); ++k) {
        size_t next = (k + 1) % edges.size();
        if (ends[k] != loop[next]) {
            error = where + ": edge id " + std::to_string(edges[k]) + " ends at vertex " +
                    std::to_string(ends[k]) + " but edge id " + std::to_string(edges[next]) +
                    " starts at vertex " + std::to_string(loop[next]) +
                    "; expected the edges to form a closed loop";
            return false;
        }
    }
    return true;
}

} // namespace

bool buildMesh(const MeshAttributeValues& values, Mesh& mesh, std::string& error) {
    Mesh built;
    built.points = values.vertices;
    std::map<int, int> setOfIndex; // ".uvst" logical index -> position in built.uvSets
    for (const auto& set : values.uvSets) {
        MeshUVSet uvSet;
        uvSet.name = set.name.empty() ? "map" + std::to_string(set.index + 1) : set.name;
        uvSet.u = set.u;
        uvSet.v = set.v;
        uvSet.u.resize(std::max(set.u.size(), set.v.size()), 0.0f);
        uvSet.v.resize(uvSet.u.size(), 0.0f);
        setOfIndex[set.index] = static_cast<int>(built.uvSets.size());
        built.uvSets.push_back(std::move(uvSet));
    }
    for (size_t f = 0; f < values.faces.size(); ++f) {
        const PolyFace& face = values.faces[f];
        const std::string where =
            "fc[" +
            std::to_string(f < values.faceIndices.size() ? values.faceIndices[f]
                                                         : static_cast<int>(f)) +
            "]";
        if (face.loops.empty()) {
            error = where + ": expected a face ('f' record), got none";
            return false;
        }
        std::vector<std::vector<int>> loops(face.loops.size());
        for (size_t l = 0; l < face.loops.size(); ++l)
            if (!loopVertices(values, face.loops[l].edges, where, loops[l], error))
                return false;
        const int firstCorner = static_cast<int>(built.loopVertices.size());
        addPolygon(built, loops.front(),
                   std::vector<std::vector<int>>(loops.begin() + 1, loops.end()));
        int corner = firstCorner;
        for (const PolyFaceLoop& loop : face.loops) {
            for (const auto& [setIndex, ids] : loop.uvs) {
                auto found = setOfIndex.find(setIndex);
                if (found == setOfIndex.end()) {
                    error = where + ": 'mu " + std::to_string(setIndex) + "' refers to UV set " +
                            std::to_string(setIndex) + ", which does not exist in .uvst";
                    return false;
                }
                MeshUVSet& set = built.uvSets[static_cast<size_t>(found->second)];
                for (size_t k = 0; k < ids.size() && k < loop.edges.size(); ++k) {
                    if (ids[k] < 0 || ids[k] >= static_cast<int>(set.u.size())) {
                        error = where + ": UV id " + std::to_string(ids[k]) + " of set " +
                                std::to_string(setIndex) + " is out of range; expected 0 to " +
                                std::to_string(static_cast<int>(set.u.size()) - 1) + " (" +
                                std::to_string(set.u.size()) + " UVs in .uvst[" +
                                std::to_string(setIndex) + "].uvsp)";
                        return false;
                    }
                    set.uvIds[static_cast<size_t>(corner) + k] = ids[k];
                }
            }
            corner += static_cast<int>(loop.edges.size());
        }
    }
    built.currentUVSet = built.uvSets.empty() ? -1 : 0;
    if (int current = built.uvSetIndex(values.currentUVSet);
        current >= 0 && !values.currentUVSet.empty())
        built.currentUVSet = current;
    std::string invalid;
    if (!validateMesh(built, invalid)) {
        error = invalid;
        return false;
    }
    finalizeMesh(built);
    mesh = std::move(built);
    return true;
}

MeshAttributeValues meshAttributeValues(const Mesh& mesh) {
    MeshAttributeValues values;
    values.vertices = mesh.points;
    for (const MeshEdge& edge : mesh.edges)
        values.edges.push_back(MeshAttributeValues::Edge{edge.v0, edge.v1, false, true});
    for (size_t s = 0; s < mesh.uvSets.size(); ++s) {
        const MeshUVSet& set = mesh.uvSets[s];
        values.uvSets.push_back(
            MeshAttributeValues::UVSet{static_cast<int>(s), set.name, set.u, set.v});
    }
    if (const MeshUVSet* current = mesh.uvSet(""))
        values.currentUVSet = current->name;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        PolyFace face;
        for (int l = mesh.polygonLoops[p]; l < mesh.polygonLoops[p + 1]; ++l) {
            PolyFaceLoop loop;
            const int start = mesh.loopStarts[l], end = mesh.loopStarts[l + 1];
            for (int c = start; c < end; ++c) {
                int e = mesh.cornerEdges[static_cast<size_t>(c)];
                bool forward = mesh.edges[static_cast<size_t>(e)].v0 == mesh.loopVertices[c];
                loop.edges.push_back(forward ? e : -e - 1);
            }
            for (size_t s = 0; s < mesh.uvSets.size(); ++s) {
                const std::vector<int>& ids = mesh.uvSets[s].uvIds;
                if (ids[static_cast<size_t>(start)] < 0)
                    continue;
                loop.uvs.emplace_back(static_cast<int>(s),
                                      std::vector<int>(ids.begin() + start, ids.begin() + end));
            }
            face.loops.push_back(std::move(loop));
        }
        values.faces.push_back(std::move(face));
        values.faceIndices.push_back(p);
    }
    return values;
}

} // namespace host

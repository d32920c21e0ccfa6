#include "geometry/mesh.h"

#include "geometry/meshNormals.h"
#include "geometry/meshTriangulation.h"

#include <maya/MMatrix.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace host {

const MeshUVSet* Mesh::uvSet(const std::string& name) const {
    int index = uvSetIndex(name);
    return index >= 0 ? &uvSets[static_cast<size_t>(index)] : nullptr;
}

int Mesh::uvSetIndex(const std::string& name) const {
    if (name.empty())
        return currentUVSet >= 0 && currentUVSet < static_cast<int>(uvSets.size()) ? currentUVSet
                                                                                   : -1;
    for (size_t i = 0; i < uvSets.size(); ++i)
        if (uvSets[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void addPolygon(Mesh& mesh, const std::vector<int>& outer,
                const std::vector<std::vector<int>>& holes) {
    auto addLoop = [&](const std::vector<int>& loop) {
        mesh.loopVertices.insert(mesh.loopVertices.end(), loop.begin(), loop.end());
        mesh.loopStarts.push_back(static_cast<int>(mesh.loopVertices.size()));
        for (MeshUVSet& set : mesh.uvSets)
            set.uvIds.resize(mesh.loopVertices.size(), -1);
    };
    addLoop(outer);
    for (const auto& hole : holes)
        addLoop(hole);
    mesh.polygonLoops.push_back(mesh.numLoops());
}

bool validateMesh(const Mesh& mesh, std::string& error) {
    for (size_t i = 0; i < mesh.points.size(); ++i) {
        const MPoint& p = mesh.points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            error = "vertex " + std::to_string(i) + " is not a finite point";
            return false;
        }
    }
    const int corners = static_cast<int>(mesh.loopVertices.size());
    if (mesh.polygonLoops.empty() || mesh.polygonLoops.front() != 0 || mesh.loopStarts.empty() ||
        mesh.loopStarts.front() != 0 || mesh.polygonLoops.back() != mesh.numLoops() ||
        mesh.loopStarts.back() != corners) {
        error = "the polygon and loop tables do not cover the loop vertices";
        return false;
    }
    for (int p = 0; p < mesh.numPolygons(); ++p)
        if (mesh.polygonLoops[p + 1] <= mesh.polygonLoops[p]) {
            error = "polygon " + std::to_string(p) + " has no loop";
            return false;
        }
    for (int l = 0; l < mesh.numLoops(); ++l) {
        int start = mesh.loopStarts[l], end = mesh.loopStarts[l + 1];
        if (end - start < 3) {
            error = "loop " + std::to_string(l) + " has " +
                    std::to_string(std::max(0, end - start)) + " vertices; a loop needs at least 3";
            return false;
        }
        std::set<int> seen;
        for (int c = start; c < end; ++c) {
            int v = mesh.loopVertices[c];
            if (!mesh.validVertex(v)) {
                error = "loop " + std::to_string(l) + " uses vertex " + std::to_string(v) +
                        "; expected a vertex id from 0 to " +
                        std::to_string(mesh.numVertices() - 1);
                return false;
            }
            if (!seen.insert(v).second) {
                error =
                    "loop " + std::to_string(l) + " uses vertex " + std::to_string(v) + " twice";
                return false;
            }
        }
    }
    std::set<std::string> names;
    for (const MeshUVSet& set : mesh.uvSets) {
        if (set.name.empty() || !names.insert(set.name).second) {
            error = "UV set names must be unique and not empty ('" + set.name + "')";
            return false;
        }
        if (set.u.size() != set.v.size()) {
            error = "UV set '" + set.name + "' has " + std::to_string(set.u.size()) +
                    " u values but " + std::to_string(set.v.size()) + " v values";
            return false;
        }
        if (static_cast<int>(set.uvIds.size()) != corners) {
            error = "UV set '" + set.name + "' assigns " + std::to_string(set.uvIds.size()) +
                    " UV ids; expected one per loop vertex (" + std::to_string(corners) + ")";
            return false;
        }
        for (size_t i = 0; i < set.u.size(); ++i)
            if (!std::isfinite(set.u[i]) || !std::isfinite(set.v[i])) {
                error = "UV " + std::to_string(i) + " of set '" + set.name + "' is not finite";
                return false;
            }
        for (int l = 0; l < mesh.numLoops(); ++l) {
            int assigned = 0;
            for (int c = mesh.loopStarts[l]; c < mesh.loopStarts[l + 1]; ++c) {
                int id = set.uvIds[static_cast<size_t>(c)];
                if (id < -1 || id >= static_cast<int>(set.u.size())) {
                    error = "UV set '" + set.name + "' uses UV id " + std::to_string(id) +
                            "; expected an id from 0 to " + std::to_string(set.u.size() - 1) +
                            " (or none)";
                    return false;
                }
                assigned += id >= 0;
            }
            if (assigned != 0 && assigned != mesh.loopStarts[l + 1] - mesh.loopStarts[l]) {
                error = "UV set '" + set.name + "' gives UVs to only some vertices of loop " +
                        std::to_string(l);
                return false;
            }
        }
    }
    if (mesh.currentUVSet < -1 || mesh.currentUVSet >= static_cast<int>(mesh.uvSets.size()) ||
        (mesh.currentUVSet < 0 && !mesh.uvSets.empty())) {
        error = "the current UV set is not one of the mesh's UV sets";
        return false;
    }
    return true;
}

void finalizeMesh(Mesh& mesh) {
    std::atomic_store(&mesh.triangleTree, std::shared_ptr<const MeshTriangleTree>());
    mesh.edges.clear();
    mesh.cornerEdges.assign(mesh.loopVertices.size(), -1);
    std::map<std::pair<int, int>, int> edgeIds;
    for (int l = 0; l < mesh.numLoops(); ++l) {
        int start = mesh.loopStarts[l], end = mesh.loopStarts[l + 1];
        for (int c = start; c < end; ++c) {
            int a = mesh.loopVertices[c];
            int b = mesh.loopVertices[c + 1 < end ? c + 1 : start];
            auto key = std::minmax(a, b);
            auto found = edgeIds.emplace(key, static_cast<int>(mesh.edges.size()));
            if (found.second)
                mesh.edges.push_back(MeshEdge{a, b});
            mesh.cornerEdges[static_cast<size_t>(c)] = found.first->second;
        }
    }

    mesh.polygonNormals.resize(static_cast<size_t>(mesh.numPolygons()));
    mesh.triangles.clear();
    mesh.polygonTriangles.assign(1, 0);
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        mesh.polygonNormals[static_cast<size_t>(p)] = polygonNormal(mesh, p);
        triangulatePolygon(mesh, p, mesh.triangles);
        mesh.polygonTriangles.push_back(static_cast<int>(mesh.triangles.size()));
    }

    // Vertex to polygon adjacency, each polygon once per vertex, ascending.
    std::vector<std::vector<int>> around(mesh.points.size());
    for (int p = 0; p < mesh.numPolygons(); ++p)
        for (int c = mesh.loopStarts[mesh.polygonLoops[p]];
             c < mesh.loopStarts[mesh.polygonLoops[p + 1]]; ++c) {
            std::vector<int>& list = around[static_cast<size_t>(mesh.loopVertices[c])];
            if (list.empty() || list.back() != p)
                list.push_back(p);
        }
    mesh.vertexPolygonStarts.assign(1, 0);
    mesh.vertexPolygons.clear();
    for (const auto& list : around) {
        mesh.vertexPolygons.insert(mesh.vertexPolygons.end(), list.begin(), list.end());
        mesh.vertexPolygonStarts.push_back(static_cast<int>(mesh.vertexPolygons.size()));
    }
}

Mesh transformed(const Mesh& mesh, const MMatrix& matrix) {
    Mesh moved = mesh;
    for (MPoint& p : moved.points) {
        MPoint q = MPoint(p.x, p.y, p.z) * matrix;
        q.cartesianize();
        p = q;
    }
    finalizeMesh(moved);
    return moved;
}

} // namespace host

#include "geometry/meshUVs.h"

#include "geometry/meshClosestPoint.h"

#include <limits>

namespace host {

namespace {

MPoint blend(const Mesh& mesh, const MeshTriangle& tri, const double w[3]) {
    MPoint p(0, 0, 0);
    for (int k = 0; k < 3; ++k) {
        const MPoint& corner = mesh.points[static_cast<size_t>(mesh.loopVertices[tri.corners[k]])];
        p.x += w[k] * corner.x;
        p.y += w[k] * corner.y;
        p.z += w[k] * corner.z;
    }
    return p;
}

} // namespace

bool pointAtUV(const Mesh& mesh, int polygon, const MeshUVSet& set, double u, double v,
               double tolerance, MPoint& point) {
    if (!mesh.validPolygon(polygon) || set.uvIds[static_cast<size_t>(mesh.outerStart(polygon))] < 0)
        return false;
    // Inclusive edges, with a little slack for UVs on a shared edge.
    const double slack = 1e-6;
    const MPoint target(u, v, 0.0);
    double nearest = std::numeric_limits<double>::infinity();
    MeshTriangle nearestTriangle;
    double nearestWeights[3] = {1, 0, 0};
    for (int t = mesh.polygonTriangles[polygon]; t < mesh.polygonTriangles[polygon + 1]; ++t) {
        const MeshTriangle& tri = mesh.triangles[static_cast<size_t>(t)];
        MPoint uv[3];
        bool complete = true;
        for (int k = 0; k < 3; ++k) {
            int id = set.uvIds[static_cast<size_t>(tri.corners[k])];
            if (id < 0) {
                complete = false;
                break;
            }
            uv[k] = MPoint(set.u[static_cast<size_t>(id)], set.v[static_cast<size_t>(id)], 0.0);
        }
        if (!complete)
            continue;
        const double area =
            (uv[1].x - uv[0].x) * (uv[2].y - uv[0].y) - (uv[2].x - uv[0].x) * (uv[1].y - uv[0].y);
        if (area != 0.0) {
            double w[3];
            w[1] =
                ((u - uv[0].x) * (uv[2].y - uv[0].y) - (uv[2].x - uv[0].x) * (v - uv[0].y)) / area;
            w[2] =
                ((uv[1].x - uv[0].x) * (v - uv[0].y) - (u - uv[0].x) * (uv[1].y - uv[0].y)) / area;
            w[0] = 1.0 - w[1] - w[2];
            if (w[0] >= -slack && w[1] >= -slack && w[2] >= -slack) {
                point = blend(mesh, tri, w);
                return true;
            }
        }
        double w[3];
        MPoint onTriangle = closestOnTriangle(target, uv[0], uv[1], uv[2], w);
        double distance = onTriangle.distanceTo(target);
        if (distance < nearest) {
            nearest = distance;
            nearestTriangle = tri;
            for (int k = 0; k < 3; ++k)
                nearestWeights[k] = w[k];
        }
    }
    if (!(nearest <= tolerance))
        return false;
    point = blend(mesh, nearestTriangle, nearestWeights);
    return true;
}

bool setUVs(Mesh& mesh, int setIndex, const std::vector<float>& u, const std::vector<float>& v,
            std::string& error) {
    if (setIndex < 0 || setIndex >= static_cast<int>(mesh.uvSets.size())) {
        error = "no such UV set";
        return false;
    }
    if (u.size() != v.size()) {
        error = "expected as many v values as u values (" + std::to_string(u.size()) + "), got " +
                std::to_string(v.size());
        return false;
    }
    MeshUVSet& set = mesh.uvSets[static_cast<size_t>(setIndex)];
    for (int id : set.uvIds)
        if (id >= static_cast<int>(u.size())) {
            error = "UV id " + std::to_string(id) + " is assigned; expected at least " +
                    std::to_string(id + 1) + " UVs, got " + std::to_string(u.size());
            return false;
        }
    set.u = u;
    set.v = v;
    return true;
}

bool assignUVs(Mesh& mesh, int setIndex, const std::vector<int>& uvCounts,
               const std::vector<int>& uvIds, std::string& error) {
    if (setIndex < 0 || setIndex >= static_cast<int>(mesh.uvSets.size())) {
        error = "no such UV set";
        return false;
    }
    if (static_cast<int>(uvCounts.size()) != mesh.numPolygons()) {
        error = "expected one UV count per polygon (" + std::to_string(mesh.numPolygons()) +
                "), got " + std::to_string(uvCounts.size());
        return false;
    }
    MeshUVSet& set = mesh.uvSets[static_cast<size_t>(setIndex)];
    size_t next = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        int count = uvCounts[static_cast<size_t>(p)];
        if (count != 0 && count != mesh.outerCount(p)) {
            error = "polygon " + std::to_string(p) + " has " + std::to_string(mesh.outerCount(p)) +
                    " vertices; expected a UV count of 0 or " + std::to_string(mesh.outerCount(p)) +
                    ", got " + std::to_string(count);
            return false;
        }
        for (int i = 0; i < count; ++i, ++next) {
            if (next >= uvIds.size()) {
                error = "the UV counts add up to more UV ids than the " +
                        std::to_string(uvIds.size()) + " given";
                return false;
            }
            int id = uvIds[next];
            if (id < 0 || id >= static_cast<int>(set.u.size())) {
                error = "UV id " + std::to_string(id) + " of polygon " + std::to_string(p) +
                        " is out of range; expected 0 to " + std::to_string(set.u.size() - 1);
                return false;
            }
        }
    }
    if (next != uvIds.size()) {
        error = "the UV counts add up to " + std::to_string(next) + " UV ids, but " +
                std::to_string(uvIds.size()) + " were given";
        return false;
    }
    std::vector<int> assigned(mesh.loopVertices.size(), -1);
    next = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p)
        for (int i = 0; i < uvCounts[static_cast<size_t>(p)]; ++i)
            assigned[static_cast<size_t>(mesh.outerStart(p) + i)] = uvIds[next++];
    set.uvIds = std::move(assigned);
    return true;
}

int addUVSet(Mesh& mesh, std::string& name) {
    if (name.empty())
        name = "uvSet";
    std::string wanted = name;
    for (int n = 1; mesh.uvSetIndex(name) >= 0; ++n)
        name = wanted + std::to_string(n);
    MeshUVSet set;
    set.name = name;
    set.uvIds.assign(mesh.loopVertices.size(), -1);
    mesh.uvSets.push_back(set);
    if (mesh.currentUVSet < 0)
        mesh.currentUVSet = static_cast<int>(mesh.uvSets.size()) - 1;
    return static_cast<int>(mesh.uvSets.size()) - 1;
}

} // namespace host

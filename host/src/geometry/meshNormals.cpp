#include "geometry/meshNormals.h"

#include <cmath>

namespace host {

namespace {

MPoint pointOf(const Mesh& mesh, int vertex, const MMatrix* matrix) {
    const MPoint& p = mesh.points[static_cast<size_t>(vertex)];
    if (!matrix)
        return p;
    MPoint q = MPoint(p.x, p.y, p.z) * *matrix;
    q.cartesianize();
    return q;
}

MVector newell(const Mesh& mesh, int polygon, const MMatrix* matrix) {
    MVector sum;
    const int start = mesh.outerStart(polygon), count = mesh.outerCount(polygon);
    for (int i = 0; i < count; ++i) {
        MPoint a = pointOf(mesh, mesh.loopVertices[start + i], matrix);
        MPoint b = pointOf(mesh, mesh.loopVertices[start + (i + 1) % count], matrix);
        sum.x += (a.y - b.y) * (a.z + b.z);
        sum.y += (a.z - b.z) * (a.x + b.x);
        sum.z += (a.x - b.x) * (a.y + b.y);
    }
    return sum;
}

// The angle at a polygon's corners that use the vertex (zero if none does).
double cornerAngle(const Mesh& mesh, int polygon, int vertex, const MMatrix* matrix) {
    double angle = 0.0;
    for (int l = mesh.polygonLoops[polygon]; l < mesh.polygonLoops[polygon + 1]; ++l) {
        const int start = mesh.loopStarts[l], count = mesh.loopStarts[l + 1] - start;
        for (int i = 0; i < count; ++i) {
            if (mesh.loopVertices[start + i] != vertex)
                continue;
            MPoint here = pointOf(mesh, vertex, matrix);
            MPoint prev = pointOf(mesh, mesh.loopVertices[start + (i + count - 1) % count], matrix);
            MPoint next = pointOf(mesh, mesh.loopVertices[start + (i + 1) % count], matrix);
            angle += (prev - here).angle(next - here);
        }
    }
    return angle;
}

} // namespace

MVector polygonNormal(const Mesh& mesh, int polygon, const MMatrix* matrix) {
    if (!mesh.validPolygon(polygon))
        return MVector();
    MVector n = newell(mesh, polygon, matrix);
    double length = n.length();
    if (!(length > 1e-300))
        return MVector();
    return n / length;
}

MVector vertexNormal(const Mesh& mesh, int vertex, bool angleWeighted, const MMatrix* matrix) {
    if (!mesh.validVertex(vertex) ||
        static_cast<size_t>(vertex) + 1 >= mesh.vertexPolygonStarts.size())
        return MVector();
    MVector sum;
    for (int i = mesh.vertexPolygonStarts[vertex]; i < mesh.vertexPolygonStarts[vertex + 1]; ++i) {
        int polygon = mesh.vertexPolygons[static_cast<size_t>(i)];
        MVector n = matrix ? polygonNormal(mesh, polygon, matrix)
                           : mesh.polygonNormals[static_cast<size_t>(polygon)];
        sum += angleWeighted ? n * cornerAngle(mesh, polygon, vertex, matrix) : n;
    }
    double length = sum.length();
    return length > 1e-300 ? sum / length : MVector();
}

} // namespace host

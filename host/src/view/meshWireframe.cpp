#include "view/meshWireframe.h"

#include <maya/MFnMesh.h>
#include <maya/MPointArray.h>

#include <GL/gl.h>

#include <cmath>

namespace host {

void drawMeshWireframe(const MDagPath& shape) {
    MStatus status;
    MFnMesh mesh(shape, &status);
    MPointArray points;
    if (!status || !mesh.getPoints(points, MSpace::kObject))
        return;
    const int edges = mesh.numEdges();
    const int count = static_cast<int>(points.length());
    glBegin(GL_LINES);
    for (int e = 0; e < edges; ++e) {
        int2 ends;
        if (!mesh.getEdgeVertices(e, ends) || ends[0] < 0 || ends[1] < 0 || ends[0] >= count ||
            ends[1] >= count)
            continue;
        for (int end : ends) {
            const MPoint& p = points[static_cast<unsigned int>(end)];
            glVertex3d(p.x, p.y, p.z);
        }
    }
    glEnd();
}

bool addMeshBounds(const MDagPath& shape, MBoundingBox& box) {
    MStatus status;
    MFnMesh mesh(shape, &status);
    MPointArray points;
    if (!status || !mesh.getPoints(points, MSpace::kWorld))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < points.length(); ++i) {
        const MPoint& p = points[i];
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
            box.expand(MPoint(p.x, p.y, p.z));
            found = true;
        }
    }
    return found;
}

} // namespace host

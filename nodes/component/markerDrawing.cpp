#include "nodes/component/markerDrawing.h"

#include <maya/MPxLocatorNode.h>
#include <maya/MTransformationMatrix.h>

MColor markerColour(const MPxLocatorNode& node, M3dView::DisplayStatus status) {
    if (status == M3dView::kLead)
        return MColor(0.0f, 1.0f, 1.0f);
    if (status == M3dView::kDormant)
        return MColor(0.0f, 0.6f, 1.0f);
    return node.colorRGB(status);
}

void drawMarkerTriangles(const MPointArray& points, const MColor& colour) {
    const unsigned int triangles = points.length() / 3;
    if (triangles == 0)
        return;
    glColor3f(colour.r, colour.g, colour.b);
    for (unsigned int k = 0; k < triangles; ++k) {
        glBegin(GL_LINE_LOOP);
        for (unsigned int corner = 3 * k; corner < 3 * k + 3; ++corner)
            glVertex3f(static_cast<float>(points[corner].x), static_cast<float>(points[corner].y),
                       static_cast<float>(points[corner].z));
        glEnd();
    }
}

void drawMarkersInView(M3dView& view, const MMatrix& parentMatrix, const MPointArray& points,
                       const MColor& colour) {
    view.beginGL();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    const MMatrix undo = parentMatrix.inverse();
    glMultMatrixd(&undo.matrix[0][0]);
    drawMarkerTriangles(points, colour);
    glPopMatrix();
    glPopAttrib();
    view.endGL();
}

#include "nodes/feather/featherDrawing.h"

#include <maya/M3dView.h> // OpenGL, as the view provides it
#include <maya/MFloatPointArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnTransform.h>
#include <maya/MPoint.h>

namespace {

void strip(const MFloatPointArray& points) {
    glBegin(GL_LINE_STRIP);
    for (unsigned int k = 0; k < points.length(); ++k)
        glVertex3f(points[k].x, points[k].y, points[k].z);
    glEnd();
}

// Root-to-tip colour at vertex k of n.
MColor blend(const MColor& root, const MColor& tip, unsigned int k, unsigned int n) {
    const float t = static_cast<float>(k) / static_cast<float>(n);
    return MColor((1.0f - t) * root.r + t * tip.r, (1.0f - t) * root.g + t * tip.g,
                  (1.0f - t) * root.b + t * tip.b);
}

void rachisStrip(const MFloatPointArray& points, const MColor& root, const MColor& tip) {
    const unsigned int n = points.length();
    glBegin(GL_LINE_STRIP);
    for (unsigned int k = 0; k < n; ++k) {
        const MColor c = blend(root, tip, k, n);
        glColor3f(c.r, c.g, c.b);
        glVertex3f(points[k].x, points[k].y, points[k].z);
    }
    glEnd();
}

void barbuleStrip(const MFloatPointArray& points, const MColor& root, const MColor& tip,
                  float brightness, const MColor& main) {
    const unsigned int n = points.length();
    glBegin(GL_LINE_STRIP);
    for (unsigned int k = 0; k < n; ++k) {
        const MColor c = blend(root, tip, k, n);
        glColor3f(c.r * brightness * main.r, c.g * brightness * main.g, c.b * brightness * main.b);
        glVertex3f(points[k].x, points[k].y, points[k].z);
    }
    glEnd();
}

} // namespace

void drawFeathersPlain(const std::vector<featherGeometry>& feathers, const MColor& colour) {
    glColor3f(colour.r, colour.g, colour.b);
    for (const featherGeometry& feather : feathers) {
        strip(feather.rachisPoints);
        for (const MFloatPointArray& barbule : feather.leftBarbules)
            strip(barbule);
        for (const MFloatPointArray& barbule : feather.rightBarbules)
            strip(barbule);
    }
}

void drawFeathersShaded(const std::vector<featherGeometry>& feathers, float brightness,
                        const MColor colours[4]) {
    for (const featherGeometry& feather : feathers) {
        rachisStrip(feather.rachisPoints, colours[0], colours[1]);
        for (const MFloatPointArray& barbule : feather.leftBarbules)
            barbuleStrip(barbule, colours[2], colours[3], brightness, feather.mainColor);
        for (const MFloatPointArray& barbule : feather.rightBarbules)
            barbuleStrip(barbule, colours[2], colours[3], brightness, feather.mainColor);
    }
}

void drawProxyBoxes(const std::vector<featherGeometry>& feathers, const MColor& colour) {
    glColor3f(colour.r, colour.g, colour.b);
    for (const featherGeometry& feather : feathers) {
        const MPoint lo = feather.proxyBox.min();
        const MPoint hi = feather.proxyBox.max();
        const double x0 = lo.x, y0 = lo.y, z0 = lo.z;
        const double x1 = hi.x, y1 = hi.y, z1 = hi.z;
        for (double y : {y0, y1}) {
            glBegin(GL_LINE_STRIP);
            glVertex3d(x0, y, z1);
            glVertex3d(x0, y, z0);
            glVertex3d(x1, y, z0);
            glVertex3d(x1, y, z1);
            glVertex3d(x0, y, z1);
            glEnd();
        }
        glBegin(GL_LINES);
        const double corners[4][2] = {{x0, z1}, {x0, z0}, {x1, z0}, {x1, z1}};
        for (const auto& corner : corners) {
            glVertex3d(corner[0], y0, corner[1]);
            glVertex3d(corner[0], y1, corner[1]);
        }
        glEnd();
    }
}

MMatrix parentTransformation(const MObject& node) {
    MStatus found;
    MObject parent = MFnDagNode(node).parent(0, &found);
    if (found != MS::kSuccess)
        return MMatrix();
    MFnTransform transform(parent, &found);
    if (found != MS::kSuccess)
        return MMatrix();
    return transform.transformation().asMatrix();
}

worldSpaceFeatherDraw::worldSpaceFeatherDraw(M3dView& view, const MMatrix& parentMatrix)
    : view_(view) {
    view_.beginGL();
    glPushAttrib(0x000FFFFF);
    glPushMatrix();
    const MMatrix undo = parentMatrix.inverse();
    glMultMatrixd(&undo.matrix[0][0]);
}

worldSpaceFeatherDraw::~worldSpaceFeatherDraw() {
    glPopMatrix();
    glPopAttrib();
    view_.endGL();
}

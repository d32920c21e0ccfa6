#include "locatorFeedback.h"

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>

#include <gtest/gtest.h>

// Draws the node as the view would (the modelview holding the shape's world matrix) and
// returns the segments drawn.
std::vector<fedSegment> locatorFeedback::drawAndFeedBack(MPxLocatorNode& locator,
                                                         const MObject& node,
                                                         M3dView::DisplayStatus status) {
    std::vector<fedSegment> segments;
    MDagPath path;
    EXPECT_TRUE(MDagPath::getAPathTo(node, path));
    M3dView view = M3dView::active3dView();
    EXPECT_TRUE(view.beginGL());
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    const MMatrix world = path.inclusiveMatrix();
    glLoadMatrixd(&world.matrix[0][0]);
    glShadeModel(GL_SMOOTH);

    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    locator.draw(view, path, M3dView::kWireFrame, status);
    const GLint count = glRenderMode(GL_RENDER);
    view.endGL();
    EXPECT_GE(count, 0) << "feedback buffer overflow";

    // GL_3D_COLOR in RGBA mode: x y z, then r g b a.
    auto vertexAt = [&](GLint& k) {
        fedVertex v{buffer[k],     buffer[k + 1], buffer[k + 2],
                    buffer[k + 3], buffer[k + 4], buffer[k + 5]};
        k += 7;
        return v;
    };
    for (GLint k = 0; k < count;) {
        const GLint token = static_cast<GLint>(buffer[k++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            fedSegment s;
            s.a = vertexAt(k);
            s.b = vertexAt(k);
            segments.push_back(s);
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return segments;
}

// Where a scene point lands in the window under the test's projection.
void locatorFeedback::project(const MFloatPoint& p, float& x, float& y) const {
    x = static_cast<float>(viewport[0] + (p.x / extent + 1.0) * 0.5 * viewport[2]);
    y = static_cast<float>(viewport[1] + (p.y / extent + 1.0) * 0.5 * viewport[3]);
}

// Strips of the feathers in draw order: the rachis, then left and right barbules.
std::vector<const MFloatPointArray*>
locatorFeedback::stripsOf(const std::vector<featherGeometry>& f) {
    std::vector<const MFloatPointArray*> strips;
    for (const featherGeometry& feather : f) {
        strips.push_back(&feather.rachisPoints);
        for (const MFloatPointArray& barbule : feather.leftBarbules)
            strips.push_back(&barbule);
        for (const MFloatPointArray& barbule : feather.rightBarbules)
            strips.push_back(&barbule);
    }
    return strips;
}

// The fed-back vertices of each expected strip, in order: a strip of n points is n - 1
// consecutive segments, each starting where the one before ended.
std::vector<std::vector<fedVertex>>
locatorFeedback::group(const std::vector<fedSegment>& segments,
                       const std::vector<const MFloatPointArray*>& strips) {
    std::vector<std::vector<fedVertex>> grouped;
    size_t next = 0;
    for (const MFloatPointArray* strip : strips) {
        std::vector<fedVertex> vertices;
        for (unsigned int k = 0; k + 1 < strip->length() && next < segments.size(); ++k) {
            const fedSegment& s = segments[next++];
            if (k == 0)
                vertices.push_back(s.a);
            else
                EXPECT_TRUE(s.a.x == vertices.back().x && s.a.y == vertices.back().y)
                    << "a strip is one connected line";
            vertices.push_back(s.b);
        }
        grouped.push_back(vertices);
    }
    EXPECT_EQ(next, segments.size()) << "no segment beyond the strips";
    return grouped;
}

void locatorFeedback::expectColour(const fedVertex& v, float r, float g, float b,
                                   const std::string& at) {
    const float tolerance = 1e-5f;
    EXPECT_NEAR(v.r, r, tolerance) << at;
    EXPECT_NEAR(v.g, g, tolerance) << at;
    EXPECT_NEAR(v.b, b, tolerance) << at;
}

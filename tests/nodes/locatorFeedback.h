#pragma once
// Reads a locator's OpenGL drawing back through GL feedback, for the drawing tests of the nodes
// that draw feathers: the segments drawn with their window positions and colours.

#include "feather/featherGeometry.h"

#include <maya/M3dView.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatPointArray.h>
#include <maya/MObject.h>
#include <maya/MPxLocatorNode.h>

#include <string>
#include <vector>

struct fedVertex {
    float x, y, z; // window coordinates
    float r, g, b;
};

// One line segment as OpenGL fed it back.
struct fedSegment {
    fedVertex a, b;
};

class locatorFeedback {
  protected:
    // The scene coordinates fed back are mapped by an orthographic box of +-extent.
    static constexpr double extent = 50.0;

    // Draws the node as the view would (the modelview holding the shape's world matrix) and
    // returns the segments drawn.
    std::vector<fedSegment> drawAndFeedBack(MPxLocatorNode& locator, const MObject& node,
                                            M3dView::DisplayStatus status);

    // Where a scene point lands in the window under the test's projection.
    void project(const MFloatPoint& p, float& x, float& y) const;

    // Strips of the feathers in draw order: the rachis, then left and right barbules.
    static std::vector<const MFloatPointArray*> stripsOf(const std::vector<featherGeometry>& f);

    // The fed-back vertices of each expected strip, in order: a strip of n points is n - 1
    // consecutive segments, each starting where the one before ended.
    static std::vector<std::vector<fedVertex>>
    group(const std::vector<fedSegment>& segments,
          const std::vector<const MFloatPointArray*>& strips);

    static void expectColour(const fedVertex& v, float r, float g, float b, const std::string& at);

    GLint viewport[4] = {0, 0, 1, 1};
};

#pragma once
// Line drawings of built feathers, shared by the feather node and the feather system. Legacy
// OpenGL in immediate mode: the caller has made the view's context current (M3dView::beginGL)
// and set the matrices; these only emit colours and vertices, in the feathers' own space.
//
// Every feather is drawn as one GL_LINE_STRIP through its rachis, then one per left barbule and
// one per right barbule, in order. Nothing is cached between draws.

#include "feather/featherGeometry.h"

#include <maya/M3dView.h>
#include <maya/MColor.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>

#include <vector>

// Every strip in one colour (r, g, b).
void drawFeathersPlain(const std::vector<featherGeometry>& feathers, const MColor& colour);

// Coloured strips, a colour per vertex. colours[0] and colours[1] are the rachis root and tip
// colours, colours[2] and colours[3] the barbule root and tip colours. Vertex k of a strip of n
// points takes t = k / n (so the last vertex stops one step short of the tip colour); a rachis
// vertex is (1 - t) colours[0] + t colours[1], a barbule vertex
// ((1 - t) colours[2] + t colours[3]) * brightness * the feather's mainColor, per channel.
void drawFeathersShaded(const std::vector<featherGeometry>& feathers, float brightness,
                        const MColor colours[4]);

// A wire box around each feather's proxyBox, in one colour: the bottom and top rectangles as
// strips, then the four vertical edges as lines. Nothing for an empty list.
void drawProxyBoxes(const std::vector<featherGeometry>& feathers, const MColor& colour);

// The own transformation of the node's first parent transform; identity when it has none.
MMatrix parentTransformation(const MObject& node);

// Brackets a draw of world-space feathers under a locator: begins GL on the view, saves every
// attribute (0x000FFFFF) and the matrix, and multiplies by the inverse of the parent's own
// transformation so that the feathers appear where they were built, whatever moves the locator.
// The destructor restores both stacks and ends GL.
class worldSpaceFeatherDraw {
  public:
    worldSpaceFeatherDraw(M3dView& view, const MMatrix& parentMatrix);
    ~worldSpaceFeatherDraw();
    worldSpaceFeatherDraw(const worldSpaceFeatherDraw&) = delete;
    worldSpaceFeatherDraw& operator=(const worldSpaceFeatherDraw&) = delete;

  private:
    M3dView& view_;
};

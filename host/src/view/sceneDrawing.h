#pragma once
// The drawing pass of the view: which shapes it draws, what it evaluates first, the bounds it
// frames, and the drawing itself. Shapes are drawn in graph order: NURBS surfaces and meshes
// as wireframes first, then every locator's own draw.

#include "view/viewCamera.h"

#include <maya/M3dView.h>
#include <maya/MBoundingBox.h>

#include <functional>
#include <vector>

namespace host {

class Node;

// A shape the view draws, and the status it is drawn in.
struct Drawable {
    enum Kind { kSurface, kMesh, kLocator };
    Node* node = nullptr;
    Kind kind = kLocator;
    M3dView::DisplayStatus status = M3dView::kDormant;
};

// The status a DAG node is drawn in: kIntermediateObject when ".io" is on, kInvisible when
// ".v" is off on it or on a node above it, kTemplate when ".tmp" is on on it or above it, else
// kDormant (the host selects nothing).
M3dView::DisplayStatus displayStatusOf(Node& node);

// The NURBS surfaces, meshes and locators of the scene that are drawn: neither hidden nor
// intermediate objects. The outputs of each locator are brought up to date first (a dirty
// output is computed), as Maya does for a shape it is about to draw: a locator's draw and
// bounding box show what its compute made.
std::vector<Drawable> drawnShapes();

// The world-space box around what the shapes show: a locator's boundingBox() through its world
// matrix (when it isBounded()), a surface's CVs, a mesh's vertices. False when there is none.
bool worldBounds(const std::vector<Drawable>& shapes, MBoundingBox& box);

// Draws the shapes into the current OpenGL context, whose projection and other state are set.
// Each shape is drawn with the camera's view matrix times the world matrix of the shape's parent
// as the modelview, inside a push and pop of every attribute and of the modelview matrix, so a
// locator's draw cannot disturb the next one. progress, when set, is told after each shape.
void drawShapes(const std::vector<Drawable>& shapes, M3dView& view, const ViewCamera& camera,
                M3dView::DisplayStyle style, const std::function<void(int, int)>& progress);

} // namespace host

#pragma once
// What the two component locators share in their draw: the colour by display status, the
// parent transformation they undo, and the marker triangles as closed line loops.

#include <maya/M3dView.h>
#include <maya/MColor.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPointArray.h>

class MPxLocatorNode;

// Cyan when lead, a lighter blue when dormant, the host's status colour otherwise.
MColor markerColour(const MPxLocatorNode& node, M3dView::DisplayStatus status);

// Draws every whole triple of points (3k, 3k + 1, 3k + 2) as its own closed line loop in the
// colour; fewer than three points draw nothing. Call between beginGL and endGL.
void drawMarkerTriangles(const MPointArray& points, const MColor& colour);

// Draws the markers (world space) in the view, undoing the parent transformation the view has
// already applied to the locator.
void drawMarkersInView(M3dView& view, const MMatrix& parentMatrix, const MPointArray& points,
                       const MColor& colour);

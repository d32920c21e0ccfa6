#pragma once
// NURBS surfaces in the view, read through MFnNurbsSurface as any plug-in would.

#include <maya/MBoundingBox.h>
#include <maya/MDagPath.h>

namespace host {

// Draws the surface's iso-parametric lines at every distinct knot of its domain (its span
// boundaries, the domain's edges included), in the shape's object space. Each line is a strip
// of curvePrecision (at least 1) segments per span crossed, through
// MFnNurbsSurface::getPointAtParam. Draws nothing for a shape without a surface.
void drawSurfaceWireframe(const MDagPath& shape, int curvePrecision);

// Adds the surface's CVs in world space to the box (the surface lies inside their hull); CVs
// that are not finite are left out. False when nothing was added.
bool addSurfaceBounds(const MDagPath& shape, MBoundingBox& box);

} // namespace host

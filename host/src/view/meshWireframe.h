#pragma once
// Polygon meshes in the view, read through MFnMesh as any plug-in would.

#include <maya/MBoundingBox.h>
#include <maya/MDagPath.h>

namespace host {

// Draws every edge of the mesh (holes' edges included) as a line, in the shape's object space.
// Draws nothing for a shape without a mesh.
void drawMeshWireframe(const MDagPath& shape);

// Adds the mesh's vertices in world space to the box; vertices that are not finite are left
// out. False when nothing was added.
bool addMeshBounds(const MDagPath& shape, MBoundingBox& box);

} // namespace host

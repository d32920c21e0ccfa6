#pragma once
// The geometry deformers work on: mesh vertices and NURBS surface CVs as points in the shape's
// own (object) space, and which of them a deformer input affects.

#include "geometry/componentList.h"
#include "graph/connection.h"

#include <maya/MObject.h>
#include <maya/MPoint.h>

#include <vector>

namespace host {

// The points of mesh or NURBS surface data (CVs keep their w); false for other data.
bool geometryPoints(const MObject& data, std::vector<MPoint>& points);
// New data of the same kind with the points replaced (same count as geometryPoints gave).
MObject geometryWithPoints(const MObject& data, const std::vector<MPoint>& points);

// The geometry arriving at a deformer's input plug. Files connect a shape's world output
// ("worldMesh", "worldSpace") there; deformers work in the shape's own space, so that shape's
// local geometry ("outMesh", "local") is taken instead.
MObject localGeometryInput(const PlugRef& input);

// The points of `geometry` an input affects: those of the components listed by the groupParts
// node that feeds the input ("vtx[*]", "cv[*][*]", "f[0:3]", ...), or every point when no
// groupParts feeds it.
std::vector<bool> deformedPoints(const PlugRef& input, const MObject& geometry, size_t count);
// Marks the points the components name (faces mark their vertices).
void markComponentPoints(const std::vector<ComponentRange>& ranges, const MObject& geometry,
                         std::vector<bool>& points);
// The point index of each component the list names, in the order listed (a stored blendShape
// target's points follow this order).
std::vector<int> componentPointOrder(const std::vector<ComponentRange>& ranges,
                                     const MObject& geometry);

} // namespace host

#pragma once
// What the animation tests read back from a scene: a DAG node's world matrix and the CVs a
// NURBS shape gives out in its own space.

#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceNode.h"
#include "graph/graph.h"

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <string>
#include <vector>

inline MMatrix worldOf(const std::string& node) {
    MDagPath path;
    MDagPath::getAPathTo(host::Graph::instance().find(node)->object(), path);
    return path.inclusiveMatrix();
}

inline std::vector<MPoint> localCVsOf(const std::string& shape) {
    host::Node* node = host::Graph::instance().find(shape);
    host::Slot* slot = node ? host::Graph::instance().pull(host::PlugRef{
                                  node, host::attributeDef(host::NurbsSurfaceNode::local), {}})
                            : nullptr;
    const host::NurbsSurface* surface = slot ? host::nurbsSurfaceIn(slot->data) : nullptr;
    return surface ? surface->cvs : std::vector<MPoint>();
}

#pragma once
// The node types whose nodes hold built feathers, for code that reads every feather of the
// scene (the export command): the feather node and the feather system.

#include "feather/featherGeometry.h"

#include <maya/MObject.h>
#include <maya/MString.h>

#include <vector>

// The feathers a node holds, brought up to date first (its output plug is pulled, which builds
// them when they are dirty), and its type name. Null for a node of any other type.
const std::vector<featherGeometry>* heldFeathers(const MObject& node, MString& typeName);

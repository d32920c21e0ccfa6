#pragma once
// The node types whose nodes hold built feathers, for code that reads every feather of the
// scene (the export command): the feather node and the feather system.

#include "export/featherSource.h"
#include "feather/featherGeometry.h"

#include <maya/MObject.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

// The feathers a node holds, brought up to date first (its output plug is pulled, which builds
// them when they are dirty), and its type name. Null for a node of any other type.
const std::vector<featherGeometry>* heldFeathers(const MObject& node, MString& typeName);

// The feathers of a node as a source for the streaming writer, brought up to date first as
// above, and its type name: a feather system's build plan, which builds the feathers while they
// are written, or a feather node's built feathers. Null for a node of any other type. Valid
// until the node is evaluated again.
std::unique_ptr<featherSource> featherSourceOf(const MObject& node, MString& typeName);

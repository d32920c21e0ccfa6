#pragma once
// Built feathers as Wavefront OBJ text (docs/export-obj.md). Works on featherGeometry only.
//
// One group ("g <node>_feather<i>") per feather: the rachis and each barbule as a polyline
// ("l"), and, for a node with "outputFeatherMesh" on, the rachis and barbule meshes the build
// made, as faces with texture coordinates. World space, scene units; indices are 1-based and
// global, as OBJ wants.

#include "export/featherExportNode.h"

#include <ostream>
#include <string>
#include <vector>

// Writes the whole file. False when the stream failed.
bool writeFeatherObj(std::ostream& out, const std::vector<featherExportNode>& nodes);

// The group name of feather `index` of a node: "<node>_feather<index>", with any character
// other than letters, digits, '_', '-' and '.' replaced by '_'.
std::string objGroupName(const std::string& nodeName, size_t index);

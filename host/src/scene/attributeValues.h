#pragma once
// Reading and writing attribute values for the scene commands: which attributes hold angles,
// the numeric leaves of a plug, locks, and the type names files use.

#include "graph/connection.h"

#include <string>
#include <vector>

namespace host {

class CommandRun;
class Node;
struct AttributeDef;
struct SceneToken;

// True for attributes that store angles (in radians): a transform's rotate and rotateAxis and
// dynamic attributes declared doubleAngle or floatAngle.
bool isAngleAttribute(const AttributeDef* attribute);

// The numbers one value of the attribute is made of, in the order files list them: itself, the
// components of a numeric compound, or the leaves of a compound of numbers. Empty when the
// attribute cannot be set from numbers (typed, message, arrays inside).
std::vector<const AttributeDef*> numericLeaves(const AttributeDef* attribute);

// True when the plug or anything above it is locked.
bool plugLocked(const PlugRef& plug);

// The name files give the value's type after -type: "double3", "float2", "string", ... or
// "" for a single number.
std::string valueTypeName(const AttributeDef* attribute);

// The plug's path without the node, in short names ("t", "iog[0].og[1].gcl").
std::string shortPlugPath(const PlugRef& plug);

// The nodes and the path a plug argument names: ".t" (the nodes relative plugs apply to) or
// "node.t" (while a file is read, ":default.t" creates the default node). Reports and returns
// false when there is none.
bool splitPlugArgument(CommandRun& run, const std::string& text, std::vector<Node*>& nodes,
                       std::string& path);

// Components of the numeric compound type names files use ("double3" -> 3); 0 for others.
int compoundTypeSize(const std::string& type);
// Paths from an attribute down to each of its numeric leaves, as child indices.
void leafPaths(const AttributeDef* attribute, std::vector<int>& prefix,
               std::vector<std::vector<int>>& out);

std::vector<std::string> tokenTexts(const std::vector<SceneToken>& tokens);
// "1 value", "3 values".
std::string countText(size_t n, const std::string& word);

} // namespace host

#pragma once
// Construction history as the host evaluates it. Geometry reaches a shape through a chain of
// nodes (polyPlane -> groupParts -> tweak -> mesh); the host computes some of them and keeps
// the others only as nodes and connections. This is the one place that says which: a shape
// whose chain holds a node the host does not evaluate gets only the geometry the file stores
// for it.

#include <string>
#include <vector>

namespace host {

class Node;
struct ReadState;

// A shape type's geometry input and the attributes that store geometry of its own.
struct ShapeGeometry {
    const char* type;
    std::vector<std::string> inputs, stored; // long and short names
};
// Null for a type that is no geometry shape.
const ShapeGeometry* shapeGeometryOf(const std::string& type);

// How the host evaluates a node as construction history: false for a node it does not evaluate
// (a type it does not know); else true, with `inputs` the attributes (long and short names)
// through which geometry reaches the node's outputs: empty for a node that makes its geometry
// itself. Deformers take theirs on each input's "inputGeometry".
bool evaluatesGeometry(const Node& node, std::vector<std::string>& inputs);

// The first node, walking up from the shape through its geometry inputs and the nodes the host
// evaluates, that the host does not evaluate; null when it evaluates all of them.
Node* firstUnevaluatedHistory(Node& shape);

} // namespace host

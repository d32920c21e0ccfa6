#pragma once
// Writing the scene as Maya ASCII: header, requirements, units, file information, a createNode
// block per node (parents first) with its dynamic attributes and the values that differ from
// their defaults, the default nodes it changed, then connections and relationships.

#include <string>
#include <vector>

namespace host {

// The text of the current scene as a file named `path`. `warnings` receives what could not be
// written (data without a text form).
std::string writeScene(const std::string& path, std::vector<std::string>& warnings);

class Node;
// Every value of a node as the setAttr statements a file would hold, defaults included.
std::vector<std::string> nodeValueLines(Node& node);

// Writes text to path through a temporary file in the same folder, renamed over the target only
// once it is complete, so that a failed save leaves an existing file as it was. false with
// `error` on failure.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error);

} // namespace host

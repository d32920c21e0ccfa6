#pragma once
// Node names as Maya keeps them. A dependency node's name is unique among all nodes; a DAG
// node's only among its siblings (nodes under the same parent, or all at the world) and the
// dependency nodes, so two DAG nodes under different parents may share a short name. A path
// tells them apart: "a|b" is the node b whose parent is a, "|a|b" starts at the world.

#include <string>
#include <unordered_map>
#include <vector>

namespace host {

class Node;

class NodeNames {
  public:
    // Indexes the node under its current name; remove before the name changes.
    void add(Node* node);
    void remove(Node* node);

    // Every node a short name, partial path or full path names (a leading ':' on a part, the
    // root namespace, is ignored).
    std::vector<Node*> matches(const std::string& path) const;
    // Whether a node other than `self`, of kind `dag` under `parent`, keeps `name` from it.
    bool taken(const std::string& name, bool dag, const Node* parent, const Node* self) const;
    // `wanted` when not taken, else its trailing digits replaced by the first free 1, 2, ...
    std::string unique(const std::string& wanted, bool dag, const Node* parent,
                       const Node* self) const;
    // Whether no other node has the node's short name.
    bool shortNameUnique(const Node* node) const;
    // The shortest path that names only this node: its short name when that is unique.
    std::string partialPath(const Node* node) const;
    // The short name when it is unique, else the full path (as Maya writes names in files).
    std::string uniqueName(const Node* node) const;
    // "|a|b" for a DAG node, the name of any other.
    static std::string fullPath(const Node* node);

  private:
    std::unordered_map<std::string, std::vector<Node*>> byName_;
};

} // namespace host

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
    // Indexes the node under its current name and parent; remove before either changes.
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
    struct Named {
        std::vector<Node*> nodes;   // in the order they took the name
        size_t dependencyNodes = 0; // how many of them are not DAG nodes
    };
    // A DAG node's place among its siblings: its parent (null at the world) and its name.
    struct Place {
        const Node* parent;
        std::string name;
        bool operator==(const Place& other) const {
            return parent == other.parent && name == other.name;
        }
    };
    struct PlaceHash {
        size_t operator()(const Place& place) const;
    };

    const std::vector<Node*>& named(const std::string& name) const;
    const std::vector<Node*>& childrenNamed(const Node* parent, const std::string& name) const;
    // The nodes below `from` (null: the world) along the names parts[first..].
    void walkDown(std::vector<const Node*> from, const std::vector<std::string>& parts,
                  size_t first, std::vector<Node*>& found) const;

    // Where the search for a free number starts, by base name: every number below it is taken
    // (in the whole scene, or among a parent's children and the dependency nodes), so that a
    // file of many nodes of one name numbers them in a step each. Lowered when one goes.
    struct NumberHints {
        int anywhere = 1;
        std::unordered_map<const Node*, int> underParent;
    };
    void numberFreed(const Node* node);

    std::unordered_map<std::string, Named> byName_;
    mutable std::unordered_map<std::string, NumberHints> hints_;
    // DAG nodes by parent and name, so that paths resolve from the top in a step per level
    // however many nodes share the short name.
    std::unordered_map<Place, std::vector<Node*>, PlaceHash> byPlace_;
};

} // namespace host

#pragma once
// The dependency graph: nodes, connections, dirty propagation and lazy evaluation.
//
// Values live in each node's slots. Changing a value or a connection marks everything
// downstream dirty (through attributeAffects on the node and through outgoing connections).
// Pulling a dirty plug fetches it from its incoming connection or, for a computed attribute,
// calls the node's compute; anything else is simply its stored value.

#include "graph/connection.h"
#include "graph/node.h"
#include "graph/nodeNames.h"

#include <maya/MPlug.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace host {

struct PlugRefHash {
    size_t operator()(const PlugRef& plug) const;
};

class Graph {
  public:
    static Graph& instance();

    // Creates a node of a registered type. A taken name (see NodeNames) gets a unique one; an
    // empty one a name no other node has.
    Node* createNode(const std::string& typeName, const std::string& name, Node* parent,
                     std::string* error);
    // Breaks the node's connections, runs the node-removed callbacks and destroys it; DAG
    // children go first.
    MStatus deleteNode(Node* node, std::string* error);
    // Deletes every node, children before parents.
    void clear();
    // A name its siblings (or the dependency nodes) hold already gets a unique one.
    MStatus rename(Node* node, const std::string& name, std::string* error);
    // A child whose name one of its new siblings has is renamed, as in Maya (name1, ...).
    MStatus reparent(Node* child, Node* parent, std::string* error);

    // The one node a name or DAG path ("b", "a|b", "|a|b") names; null when none or several do.
    Node* find(const std::string& name) const;
    // Every node the name or path names.
    std::vector<Node*> findAll(const std::string& name) const;
    // The shortest path that names only this node (its short name when that is unique).
    std::string partialPathOf(const Node* node) const { return names_.partialPath(node); }
    // Maya's message for a name that matches several nodes.
    static std::string ambiguousName(const std::string& name);
    const NodeNames& names() const { return names_; }
    std::vector<Node*> nodes() const;

    MStatus connect(const PlugRef& source, const PlugRef& destination, bool force,
                    std::string* error);
    MStatus disconnect(const PlugRef& source, const PlugRef& destination, std::string* error);
    const Connection* incomingTo(const PlugRef& plug) const;
    std::vector<const Connection*> connectionsOf(const PlugRef& plug, bool asDestination,
                                                 bool asSource) const;

    // Brings the plug up to date and returns its slot (null for an unusable plug).
    Slot* pull(const PlugRef& plug);
    // Writes a value set from outside the node: refused on a connected destination or a
    // locked plug; the plug becomes clean and everything downstream dirty.
    MStatus setValue(const PlugRef& plug, const std::function<void(Slot&)>& write,
                     std::string* error);
    // Sets a number from outside: a locked plug is refused; a value beyond the attribute's
    // hard limits is clamped with a warning naming the plug.
    MStatus setNumber(const PlugRef& plug, double value, std::string* error);
    // Marks the plug (and what depends on it) dirty.
    void markDirty(const PlugRef& plug);
    // Marks what depends on the plug dirty, leaving the plug itself as it is.
    void propagate(const PlugRef& plug);

    static MPlug toMPlug(const PlugRef& plug);
    static PlugRef fromMPlug(const MPlug& plug);
    // "node.attr[2].child": the node's shortest unique path, then the attribute as
    // attributePath gives it.
    static std::string plugName(const PlugRef& plug, bool longNames = true);
    // "attr[2].child": long names, with the compound path where an array level needs it.
    static std::string attributePath(const PlugRef& plug, bool longNames = true);

    // While held, a node that loses its last outgoing connection and may not exist without
    // one (MPxNode::setExistWithoutOutConnections(false)) is kept and listed instead of being
    // deleted: a file being read may rewire its nodes, and deletes none by doing so.
    void holdOrphans(bool hold);
    bool holdsOrphans() const { return holdOrphans_; }
    // The nodes listed while held (some may be gone or connected again since), and forgets them.
    std::vector<std::weak_ptr<Node>> takeOrphans();

    // Pulls nest one call per connection or compute along a chain; a longer chain is cut (with
    // an error naming the plug) and its end keeps the value it holds.
    static constexpr size_t kMaxPullDepth = 2000;

  private:
    void dirtySlots(const PlugRef& plug);
    void deleteOne(Node* node);
    void orphaned(Node* node);
    // The plugs a change of `plug` makes dirty in one step.
    void affected(const PlugRef& plug, std::unordered_set<const Node*>& hierarchiesDone,
                  std::vector<PlugRef>& next) const;
    MStatus callCompute(const PlugRef& plug);
    void applyDisconnectBehavior(const PlugRef& destination);
    std::vector<std::shared_ptr<Node>> nodes_;
    // Nodes by name, so that scenes of many nodes look names up in constant time.
    NodeNames names_;
    std::vector<PlugRef> pulling_;
    bool chainReported_ = false;
    bool holdOrphans_ = false;
    bool deletingOrphans_ = false;
    std::vector<std::weak_ptr<Node>> orphans_;
};

// Indices of the plug of `attribute` that lies in the same array elements as `plug`.
std::vector<int> indicesFor(const AttributeDef* attribute, const PlugRef& plug);

} // namespace host

#pragma once
// A node in the graph: its type, name, stored values, DAG place and the MPxNode object that
// implements it.

#include "graph/nodeType.h"
#include "graph/object.h"
#include "graph/slot.h"

#include <maya/MObject.h>
#include <maya/MPxNode.h>

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct Connection;

class Node : public Object, public std::enable_shared_from_this<Node> {
  public:
    Node(NodeType* type, std::string name, MPxNode* impl);
    ~Node() override;

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;
    const char* apiTypeStr() const override;

    NodeType* type() const { return type_; }
    const std::string& name() const { return name_; }
    // The type name scenes store: a generic node keeps the one it was created with.
    const std::string& typeName() const {
        return genericType_.empty() ? type_->name : genericType_;
    }
    void setGenericType(std::string name) { genericType_ = std::move(name); }
    void setName(std::string name) { name_ = std::move(name); }
    MPxNode* impl() const { return impl_.get(); }
    bool alive() const { return alive_; }
    MObject object() { return MObject(shared_from_this()); }

    // Attribute lookup by long or short name, built-in and dynamic.
    const AttributeDef* findAttribute(const std::string& name) const;
    std::vector<const AttributeDef*> topAttributes() const;
    MStatus addDynamicAttribute(const std::shared_ptr<AttributeDef>& attribute);
    MStatus removeDynamicAttribute(const AttributeDef* attribute);

    // The slot of a plug; indices hold one logical index per array level of the attribute's
    // chain (-1: none chosen, taken as 0 below the last level). With create false a missing
    // element gives null.
    Slot* slot(const AttributeDef* attribute, const std::vector<int>& indices, bool create);
    Slot* topSlot(const AttributeDef* top);

    Node* parent() const { return parent_; }
    const std::vector<Node*>& children() const { return children_; }
    void setParent(Node* parent);

    std::vector<std::shared_ptr<Connection>> incoming, outgoing;
    // Values a generic node keeps for attributes it does not know, by plug path.
    std::map<std::string, std::string> rawValues;
    bool locked = false;
    std::set<std::string> lockedPlugs; // by long attribute path ("attr[2].child")
    bool existWithoutOut = true;

    void kill();

  private:
    NodeType* type_;
    std::string name_;
    std::string genericType_;
    std::unique_ptr<MPxNode> impl_;
    std::vector<std::shared_ptr<AttributeDef>> dynamic_;
    std::map<const AttributeDef*, Slot> slots_;
    Node* parent_ = nullptr;
    std::vector<Node*> children_;
    bool alive_ = true;
};

Node* nodeOf(const MObject& object);
struct PlugRef;
// Resolves a plug path on a node ("attr", "a[0].b", long or short names).
bool resolvePlug(Node* node, const std::string& path, PlugRef& out);

} // namespace host

#include "graph/node.h"

#include "graph/connection.h"

#include <algorithm>
#include <iterator>

namespace host {

Node::Node(NodeType* type, std::string name, MPxNode* impl)
    : type_(type), name_(std::move(name)), impl_(impl) {}

Node::~Node() = default;

MFn::Type Node::apiType() const {
    return type_->api;
}

bool Node::hasFn(MFn::Type type) const {
    if (type == MFn::kBase || type == MFn::kNamedObject || type == MFn::kDependencyNode)
        return true;
    if (type == type_->api)
        return true;
    // Joints are transforms; deformers are geometry filters.
    if (type == MFn::kTransform)
        return type_->api == MFn::kJoint;
    if (type == MFn::kGeometryFilt)
        return type_->api == MFn::kSkinClusterFilter || type_->api == MFn::kTweak ||
               type_->api == MFn::kBlend;
    if (type == MFn::kDagNode)
        return type_->dag;
    if (type == MFn::kShape)
        return type_->shape;
    if (type == MFn::kLocator)
        return type_->kind == MPxNode::kLocatorNode;
    return false;
}

const char* Node::apiTypeStr() const {
    return type_->name.c_str();
}

const AttributeDef* Node::findAttribute(const std::string& name) const {
    if (const AttributeDef* found = type_->findAttribute(name))
        return found;
    for (const auto& attribute : dynamic_)
        if (const AttributeDef* found = attribute->find(name))
            return found;
    return nullptr;
}

std::vector<const AttributeDef*> Node::topAttributes() const {
    std::vector<const AttributeDef*> all;
    for (const auto& attribute : type_->attributes)
        all.push_back(attribute.get());
    for (const auto& attribute : dynamic_)
        all.push_back(attribute.get());
    return all;
}

MStatus Node::addDynamicAttribute(const std::shared_ptr<AttributeDef>& attribute) {
    if (!attribute || attribute->parent || findAttribute(attribute->name) ||
        (!attribute->shortName.empty() && findAttribute(attribute->shortName)))
        return MS::kFailure;
    attribute->dynamic = true;
    dynamic_.push_back(attribute);
    return MS::kSuccess;
}

MStatus Node::removeDynamicAttribute(const AttributeDef* attribute) {
    auto it = std::find_if(dynamic_.begin(), dynamic_.end(),
                           [&](const auto& a) { return a.get() == attribute; });
    if (it == dynamic_.end())
        return MS::kFailure;
    slots_.erase(attribute);
    dynamic_.erase(it);
    return MS::kSuccess;
}

Slot* Node::topSlot(const AttributeDef* top) {
    auto it = slots_.find(top);
    if (it == slots_.end()) {
        Slot slot = Slot::make(top, top->array);
        // Everything starts dirty: the first pull computes outputs and fetches connections.
        slot.setDirtyTree(true);
        it = slots_.emplace(top, std::move(slot)).first;
    }
    return &it->second;
}

Slot* Node::slot(const AttributeDef* attribute, const std::vector<int>& indices, bool create) {
    std::vector<const AttributeDef*> chain = attribute->chain();
    Slot* current = topSlot(chain.front());
    size_t level = 0;
    for (size_t k = 0; k < chain.size(); ++k) {
        const AttributeDef* a = chain[k];
        if (k > 0) {
            int childIndex = chain[k - 1]->childIndex(a);
            if (childIndex < 0 || childIndex >= static_cast<int>(current->children.size()))
                return nullptr;
            current = &current->children[childIndex];
        }
        if (!a->array)
            continue;
        int index = level < indices.size() ? indices[level] : -1;
        ++level;
        if (k + 1 == chain.size() && index < 0)
            return current; // the array plug itself
        if (index < 0)
            index = 0;
        auto it = current->elements.find(static_cast<unsigned int>(index));
        if (it == current->elements.end()) {
            if (!create)
                return nullptr;
            Slot element = Slot::make(a, false);
            element.setDirtyTree(true);
            it = current->elements.emplace(static_cast<unsigned int>(index), std::move(element))
                     .first;
        }
        current = &it->second;
    }
    return current;
}

void Node::setParent(Node* parent) {
    if (parent_) {
        // From the end: children leave their parent newest first when a hierarchy is deleted.
        auto& siblings = parent_->children_;
        auto it = std::find(siblings.rbegin(), siblings.rend(), this);
        if (it != siblings.rend())
            siblings.erase(std::next(it).base());
    }
    parent_ = parent;
    if (parent_)
        parent_->children_.push_back(this);
}

void Node::kill() {
    alive_ = false;
    setParent(nullptr);
    for (Node* child : std::vector<Node*>(children_))
        child->setParent(nullptr);
    impl_.reset();
    incoming.clear();
    outgoing.clear();
}

Node* nodeOf(const MObject& object) {
    Node* node = dynamic_cast<Node*>(object.impl().get());
    return node && node->alive() ? node : nullptr;
}

bool PlugRef::covers(const PlugRef& other) const {
    if (node != other.node)
        return false;
    if (attribute != other.attribute && !attribute->isAncestorOf(other.attribute))
        return false;
    for (size_t i = 0; i < indices.size(); ++i) {
        int mine = indices[i];
        int theirs = i < other.indices.size() ? other.indices[i] : -1;
        if (mine >= 0 && mine != theirs)
            return false;
    }
    return true;
}

} // namespace host

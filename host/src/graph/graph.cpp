#include "graph/graph.h"

#include "callbacks/callbackRegistry.h"
#include "graph/nodeType.h"
#include "ramp/rampDefaults.h"

#include <maya/MDataBlock.h>
#include <maya/MGlobal.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <utility>

namespace host {

namespace {

bool contains(const std::vector<PlugRef>& plugs, const PlugRef& plug) {
    return std::find(plugs.begin(), plugs.end(), plug) != plugs.end();
}

bool isArrayPlug(const PlugRef& plug) {
    return plug.attribute->array && (plug.indices.empty() || plug.indices.back() < 0);
}

bool compatible(const AttributeDef* source, const AttributeDef* destination) {
    using Kind = AttributeDef::Kind;
    if (destination->takesAnySource)
        return true;
    if (source->kind == Kind::Message || destination->kind == Kind::Message)
        return source->kind == destination->kind;
    if (source->isNumericLike() && destination->isNumericLike())
        return true;
    if (source->isCompound() && destination->isCompound()) {
        if (source->children.size() != destination->children.size())
            return false;
        for (size_t i = 0; i < source->children.size(); ++i)
            if (!compatible(source->children[i].get(), destination->children[i].get()))
                return false;
        return true;
    }
    if (source->kind == Kind::Typed && destination->kind == Kind::Typed) {
        if (source->dataType == MFnData::kAny || destination->dataType == MFnData::kAny)
            return true;
        if (source->dataType != destination->dataType)
            return false;
        return source->dataType != MFnData::kPlugin || source->pluginTypeId == 0 ||
               destination->pluginTypeId == 0 || source->pluginTypeId == destination->pluginTypeId;
    }
    return false;
}

// Per-instance array levels left without an index mean instance 0; the plug's own level stays
// an array when the other end of the connection is one.
PlugRef firstInstance(const PlugRef& plug, bool otherIsArray) {
    PlugRef result = plug;
    if (!plug.attribute)
        return result;
    size_t level = 0;
    for (const AttributeDef* a : plug.attribute->chain()) {
        if (!a->array)
            continue;
        if (a->instanced && level < result.indices.size() && result.indices[level] < 0 &&
            !(a == plug.attribute && otherIsArray))
            result.indices[level] = 0;
        ++level;
    }
    return result;
}

void collectRelated(const AttributeDef* attribute, std::vector<const AttributeDef*>& out) {
    out.push_back(attribute);
    for (const auto& child : attribute->children)
        collectRelated(child.get(), out);
}

// Visits every slot a plug names (all elements where an index is -1). With markPath the
// slots above it are marked dirty on the way, so that pulling an ancestor walks down.
class SlotVisitor {
  public:
    SlotVisitor(const PlugRef& plug, bool markPath, const std::function<void(Slot&)>& fn)
        : chain_(plug.attribute->chain()), indices_(plug.indices), markPath_(markPath), fn_(fn) {}

    void run(Node& node) { visit(node.topSlot(chain_.front()), 0, 0); }

  private:
    void visit(Slot* slot, size_t k, size_t level) {
        const AttributeDef* attribute = chain_[k];
        if (!attribute->array) {
            step(slot, k, level);
            return;
        }
        int index = level < indices_.size() ? indices_[level] : -1;
        if (k + 1 == chain_.size() && index < 0) {
            fn_(*slot);
            return;
        }
        if (markPath_)
            slot->dirty = true;
        if (index < 0) {
            // Packed elements have no state of their own: the array stands for them all.
            if (slot->elements.packed()) {
                fn_(*slot);
                return;
            }
            for (auto& entry : slot->elements)
                step(&entry.second, k, level + 1);
            return;
        }
        auto it = slot->elements.find(static_cast<unsigned int>(index));
        if (it != slot->elements.end())
            step(&it->second, k, level + 1);
    }

    void step(Slot* instance, size_t k, size_t level) {
        if (k + 1 == chain_.size()) {
            fn_(*instance);
            return;
        }
        if (markPath_)
            instance->dirty = true;
        int childIndex = chain_[k]->childIndex(chain_[k + 1]);
        if (childIndex >= 0 && childIndex < static_cast<int>(instance->children.size()))
            visit(&instance->children[childIndex], k + 1, level);
    }

    std::vector<const AttributeDef*> chain_;
    std::vector<int> indices_;
    bool markPath_;
    const std::function<void(Slot&)>& fn_;
};

// The nodes below a DAG node, parents before their children; walked with a list of its own,
// so that no depth of hierarchy can exhaust the stack.
std::vector<Node*> descendants(Node* node) {
    std::vector<Node*> found(node->children().begin(), node->children().end());
    for (size_t k = 0; k < found.size(); ++k) {
        const std::vector<Node*>& children = found[k]->children();
        found.insert(found.end(), children.begin(), children.end());
    }
    return found;
}

// The world outputs of the node (when includeSelf) and of every DAG node below it.
void collectWorldOutputs(Node* node, bool includeSelf, std::vector<PlugRef>& out) {
    std::vector<Node*> nodes = descendants(node);
    if (includeSelf)
        nodes.insert(nodes.begin(), node);
    for (Node* n : nodes)
        for (const AttributeDef* attribute : n->type()->worldOutputs)
            out.push_back(PlugRef{
                n, attribute, std::vector<int>(static_cast<size_t>(attribute->arrayDepth()), -1)});
}

} // namespace

size_t PlugRefHash::operator()(const PlugRef& plug) const {
    size_t hash =
        std::hash<const void*>()(plug.node) * 31 + std::hash<const void*>()(plug.attribute);
    for (int index : plug.indices)
        hash = hash * 131 + static_cast<size_t>(index);
    return hash;
}

std::vector<int> indicesFor(const AttributeDef* attribute, const PlugRef& plug) {
    std::vector<const AttributeDef*> mine = attribute->chain();
    std::vector<const AttributeDef*> theirs = plug.attribute->chain();
    std::vector<int> indices(static_cast<size_t>(attribute->arrayDepth()), -1);
    size_t level = 0;
    for (size_t k = 0; k < mine.size() && k < theirs.size() && mine[k] == theirs[k]; ++k) {
        if (!mine[k]->array)
            continue;
        if (level < plug.indices.size())
            indices[level] = plug.indices[level];
        ++level;
    }
    return indices;
}

Graph& Graph::instance() {
    static Graph graph;
    return graph;
}

Node* Graph::find(const std::string& name) const {
    std::vector<Node*> found = names_.matches(name);
    return found.size() == 1 ? found.front() : nullptr;
}

std::vector<Node*> Graph::findAll(const std::string& name) const {
    return names_.matches(name);
}

std::string Graph::ambiguousName(const std::string& name) {
    return "More than one object matches name: " + name;
}

std::vector<Node*> Graph::nodes() const {
    std::vector<Node*> all;
    for (const auto& node : nodes_)
        all.push_back(node.get());
    return all;
}

Node* Graph::createNode(const std::string& typeName, const std::string& name, Node* parent,
                        std::string* error) {
    NodeType* type = TypeRegistry::instance().findNode(typeName);
    if (!type) {
        *error = "Unknown node type '" + typeName + "'.";
        return nullptr;
    }
    if (parent && (!parent->alive() || !parent->type()->dag || !type->dag)) {
        *error = "Cannot parent a node of type '" + typeName + "' under '" + parent->name() + "'.";
        return nullptr;
    }
    MPxNode* impl = type->creator ? static_cast<MPxNode*>(type->creator()) : nullptr;
    if (!impl) {
        *error = "The creator of node type '" + typeName + "' returned no node.";
        return nullptr;
    }
    std::string wanted = name;
    // A name of the host's choosing is unique in the whole scene, as Maya's are; only a name
    // asked for may repeat under another parent.
    const bool siblingsOnly = type->dag && !wanted.empty();
    if (wanted.empty()) {
        wanted = typeName + "1";
        wanted[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(wanted[0])));
    }
    auto node =
        std::make_shared<Node>(type, names_.unique(wanted, siblingsOnly, parent, nullptr), impl);
    impl->setHostNode(node.get());
    if (parent)
        node->setParent(parent);
    nodes_.push_back(node);
    names_.add(node.get());
    impl->postConstructor();
    addDefaultRampEntries(*node);
    CallbackRegistry::instance().nodeAdded(*node);
    return node.get();
}

MStatus Graph::deleteNode(Node* node, std::string* error) {
    if (!node || !node->alive()) {
        *error = "Cannot delete a node that no longer exists.";
        return MS::kFailure;
    }
    // Children before their parents, the last child first, from a list rather than by
    // recursion: no depth of hierarchy can exhaust the stack.
    std::vector<Node*> doomed = descendants(node);
    doomed.insert(doomed.begin(), node);
    std::vector<std::shared_ptr<Node>> keep;
    for (Node* n : doomed)
        keep.push_back(n->shared_from_this());
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        if ((*it)->alive())
            deleteOne(*it);
    return MS::kSuccess;
}

void Graph::deleteOne(Node* node) {
    std::shared_ptr<Node> keep = node->shared_from_this();
    std::string ignored;
    while (!node->incoming.empty()) {
        std::shared_ptr<Connection> c = node->incoming.back();
        if (!disconnect(c->source, c->destination, &ignored))
            node->incoming.pop_back();
    }
    while (!node->outgoing.empty()) {
        std::shared_ptr<Connection> c = node->outgoing.back();
        if (!disconnect(c->source, c->destination, &ignored))
            node->outgoing.pop_back();
    }
    CallbackRegistry::instance().nodeRemoved(*node);
    // Searched from the end: clearing a scene deletes the newest nodes first.
    auto it = std::find(nodes_.rbegin(), nodes_.rend(), keep);
    if (it != nodes_.rend())
        nodes_.erase(std::next(it).base());
    names_.remove(node);
    node->kill();
}

void Graph::holdOrphans(bool hold) {
    holdOrphans_ = hold;
}

std::vector<std::weak_ptr<Node>> Graph::takeOrphans() {
    return std::exchange(orphans_, {});
}

void Graph::orphaned(Node* node) {
    if (holdOrphans_) {
        orphans_.push_back(node->shared_from_this());
        return;
    }
    // Deleting an orphan breaks its inputs, which may orphan the nodes feeding it: those wait
    // in the list instead of deleting by recursion.
    orphans_.push_back(node->shared_from_this());
    if (deletingOrphans_)
        return;
    deletingOrphans_ = true;
    std::string ignored;
    while (!orphans_.empty()) {
        std::shared_ptr<Node> next = orphans_.back().lock();
        orphans_.pop_back();
        if (next && next->alive() && !next->existWithoutOut && next->outgoing.empty())
            deleteNode(next.get(), &ignored);
    }
    deletingOrphans_ = false;
}

void Graph::clear() {
    std::string ignored;
    while (!nodes_.empty()) {
        // Roots first: deleting a root takes its children with it, children before parent.
        Node* victim = nodes_.back().get();
        while (victim->parent())
            victim = victim->parent();
        deleteNode(victim, &ignored);
    }
}

MStatus Graph::rename(Node* node, const std::string& name, std::string* error) {
    if (!node || !node->alive()) {
        *error = "Cannot rename a node that no longer exists.";
        return MS::kFailure;
    }
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        *error = "'" + name + "' is not a valid node name.";
        return MS::kFailure;
    }
    if (node->name() == name)
        return MS::kSuccess;
    names_.remove(node);
    node->setName(names_.unique(name, node->type()->dag, node->parent(), node));
    names_.add(node);
    return MS::kSuccess;
}

MStatus Graph::reparent(Node* child, Node* parent, std::string* error) {
    if (!child || !child->alive() || !child->type()->dag) {
        *error = "Only DAG nodes can be parented.";
        return MS::kFailure;
    }
    for (Node* p = parent; p; p = p->parent())
        if (p == child) {
            *error = "Cannot parent '" + child->name() + "' under its own descendant.";
            return MS::kFailure;
        }
    if (parent && (!parent->alive() || !parent->type()->dag)) {
        *error = "'" + parent->name() + "' cannot be a parent.";
        return MS::kFailure;
    }
    // The name is indexed by parent: out under the old one, in under the new one, renamed
    // when a new sibling has it.
    names_.remove(child);
    child->setParent(parent);
    child->setName(names_.unique(child->name(), true, parent, child));
    names_.add(child);
    std::vector<PlugRef> moved;
    collectWorldOutputs(child, true, moved);
    for (const PlugRef& plug : moved)
        markDirty(plug);
    return MS::kSuccess;
}

const Connection* Graph::incomingTo(const PlugRef& plug) const {
    if (!plug.node)
        return nullptr;
    for (const auto& c : plug.node->incoming)
        if (c->destination == plug)
            return c.get();
    return nullptr;
}

std::vector<const Connection*> Graph::connectionsOf(const PlugRef& plug, bool asDestination,
                                                    bool asSource) const {
    std::vector<const Connection*> found;
    if (!plug.node)
        return found;
    if (asDestination)
        for (const auto& c : plug.node->incoming)
            if (c->destination == plug)
                found.push_back(c.get());
    if (asSource)
        for (const auto& c : plug.node->outgoing)
            if (c->source == plug)
                found.push_back(c.get());
    return found;
}

MStatus Graph::connect(const PlugRef& sourceIn, const PlugRef& destinationIn, bool force,
                       std::string* error) {
    const PlugRef source =
        firstInstance(sourceIn, destinationIn.attribute && isArrayPlug(destinationIn));
    const PlugRef destination =
        firstInstance(destinationIn, sourceIn.attribute && isArrayPlug(sourceIn));
    if (!source.node || !source.node->alive() || !destination.node || !destination.node->alive() ||
        !source.attribute || !destination.attribute) {
        *error = "Cannot connect plugs of nodes that do not exist.";
        return MS::kFailure;
    }
    const std::string from = plugName(source), to = plugName(destination);
    if (!source.attribute->readable || !source.attribute->connectable) {
        *error = "The source attribute '" + from + "' cannot be connected (not readable).";
        return MS::kFailure;
    }
    if (!destination.attribute->writable || !destination.attribute->connectable) {
        *error = "The destination attribute '" + to + "' cannot be connected (not writable).";
        return MS::kFailure;
    }
    if (!compatible(source.attribute, destination.attribute) ||
        isArrayPlug(source) != isArrayPlug(destination)) {
        *error = "The attribute '" + from + "' cannot be connected to '" + to +
                 "': their data types do not match.";
        return MS::kFailure;
    }
    for (const auto& c : std::vector<std::shared_ptr<Connection>>(destination.node->incoming)) {
        if (!c->destination.overlaps(destination))
            continue;
        if (c->source == source && c->destination == destination) {
            *error = "'" + from + "' is already connected to '" + to + "'.";
            return MS::kFailure;
        }
        if (!force) {
            *error = "'" + to + "' already has an incoming connection from '" +
                     plugName(c->source) + "'.";
            return MS::kFailure;
        }
        if (!disconnect(c->source, c->destination, error))
            return MS::kFailure;
    }
    MPlug sourcePlug = toMPlug(source), destinationPlug = toMPlug(destination);
    bool legal = true;
    if (destination.node->impl() &&
        destination.node->impl()->legalConnection(destinationPlug, sourcePlug, false, legal) ==
            MS::kSuccess &&
        !legal) {
        *error = "The node refuses the connection from '" + from + "' to '" + to + "'.";
        return MS::kFailure;
    }
    if (source.node->impl() &&
        source.node->impl()->legalConnection(sourcePlug, destinationPlug, true, legal) ==
            MS::kSuccess &&
        !legal) {
        *error = "The node refuses the connection from '" + from + "' to '" + to + "'.";
        return MS::kFailure;
    }
    auto connection = std::make_shared<Connection>(Connection{source, destination});
    source.node->outgoing.push_back(connection);
    destination.node->incoming.push_back(connection);
    source.node->slot(source.attribute, source.indices, true);
    destination.node->slot(destination.attribute, destination.indices, true);
    markDirty(destination);
    if (MPxNode* impl = destination.node->impl())
        impl->connectionMade(destinationPlug, sourcePlug, false);
    if (source.node->alive())
        if (MPxNode* impl = source.node->impl())
            impl->connectionMade(sourcePlug, destinationPlug, true);
    return MS::kSuccess;
}

MStatus Graph::disconnect(const PlugRef& sourceIn, const PlugRef& destinationIn,
                          std::string* error) {
    const PlugRef source =
        firstInstance(sourceIn, destinationIn.attribute && isArrayPlug(destinationIn));
    const PlugRef destination =
        firstInstance(destinationIn, sourceIn.attribute && isArrayPlug(sourceIn));
    auto findIn = [&](std::vector<std::shared_ptr<Connection>>& list) {
        return std::find_if(list.begin(), list.end(), [&](const auto& c) {
            return c->source == source && c->destination == destination;
        });
    };
    if (!destination.node ||
        findIn(destination.node->incoming) == destination.node->incoming.end()) {
        *error = "'" + (source.node ? plugName(source) : std::string("?")) +
                 "' is not connected to '" +
                 (destination.node ? plugName(destination) : std::string("?")) + "'.";
        return MS::kFailure;
    }
    MPlug sourcePlug = toMPlug(source), destinationPlug = toMPlug(destination);
    if (MPxNode* impl = destination.node->impl())
        impl->connectionBroken(destinationPlug, sourcePlug, false);
    if (MPxNode* impl = source.node->impl())
        impl->connectionBroken(sourcePlug, destinationPlug, true);
    auto in = findIn(destination.node->incoming);
    if (in != destination.node->incoming.end())
        destination.node->incoming.erase(in);
    auto out = findIn(source.node->outgoing);
    if (out != source.node->outgoing.end())
        source.node->outgoing.erase(out);
    applyDisconnectBehavior(destination);
    propagate(destination);
    if (source.node->alive() && !source.node->existWithoutOut && source.node->outgoing.empty())
        orphaned(source.node);
    return MS::kSuccess;
}

void Graph::applyDisconnectBehavior(const PlugRef& destination) {
    Node* node = destination.node;
    std::vector<const AttributeDef*> chain = destination.attribute->chain();
    // The deepest array level at or above the plug decides whether its element goes.
    int level = destination.attribute->arrayDepth() - 1;
    for (size_t k = chain.size(); k-- > 0;) {
        const AttributeDef* a = chain[k];
        if (!a->array)
            continue;
        int index = level < static_cast<int>(destination.indices.size())
                        ? destination.indices[static_cast<size_t>(level)]
                        : -1;
        if (a->disconnectBehavior == MFnAttribute::kDelete && index >= 0) {
            std::vector<int> elementIndices(destination.indices.begin(),
                                            destination.indices.begin() + level + 1);
            PlugRef element{node, a, elementIndices};
            for (const auto& c : node->incoming)
                if (element.covers(c->destination))
                    return; // another connection still feeds the element
            std::vector<int> arrayIndices = elementIndices;
            arrayIndices.back() = -1;
            if (Slot* container = node->slot(a, arrayIndices, false))
                container->elements.erase(static_cast<unsigned int>(index));
            return;
        }
        break;
    }
    if (destination.attribute->disconnectBehavior == MFnAttribute::kReset)
        if (Slot* slot = node->slot(destination.attribute, destination.indices, false))
            slot->reset(destination.attribute);
}

void Graph::dirtySlots(const PlugRef& plug) {
    std::function<void(Slot&)> mark = [](Slot& slot) { slot.setDirtyTree(true); };
    SlotVisitor(plug, true, mark).run(*plug.node);
}

void Graph::markDirty(const PlugRef& plug) {
    if (!plug.node || !plug.node->alive())
        return;
    dirtySlots(plug);
    propagate(plug);
}

void Graph::propagate(const PlugRef& plug) {
    if (!plug.node || !plug.node->alive())
        return;
    // A list of plugs still to follow rather than recursion: chains of any length are safe.
    std::unordered_set<PlugRef, PlugRefHash> visited{plug};
    std::unordered_set<const Node*> hierarchiesDone;
    std::vector<PlugRef> pending{plug};
    std::vector<PlugRef> next;
    while (!pending.empty()) {
        const PlugRef current = std::move(pending.back());
        pending.pop_back();
        next.clear();
        affected(current, hierarchiesDone, next);
        for (PlugRef& target : next) {
            if (!target.node->alive() || !visited.insert(target).second)
                continue;
            dirtySlots(target);
            pending.push_back(std::move(target));
        }
    }
}

void Graph::affected(const PlugRef& plug, std::unordered_set<const Node*>& hierarchiesDone,
                     std::vector<PlugRef>& next) const {
    Node* node = plug.node;
    std::vector<const AttributeDef*> related;
    for (const AttributeDef* a = plug.attribute->parent; a; a = a->parent)
        related.push_back(a);
    collectRelated(plug.attribute, related);
    const auto& affects = node->type()->affects;
    for (const AttributeDef* changed : related) {
        auto it = affects.find(changed);
        if (it == affects.end())
            continue;
        for (const AttributeDef* affected : it->second)
            next.push_back(PlugRef{node, affected, indicesFor(affected, plug)});
    }
    for (const auto& c : node->outgoing)
        if (c->source.overlaps(plug))
            next.push_back(c->destination);
    if (node->type()->implicitDependents)
        node->type()->implicitDependents(plug, next);
    // Whatever changes on a transform may move everything below it. Once one transform's
    // hierarchy is taken, those of the transforms in it are in it already.
    if (node->hasFn(MFn::kTransform) && hierarchiesDone.insert(node).second)
        for (Node* below : descendants(node)) {
            hierarchiesDone.insert(below);
            for (const AttributeDef* attribute : below->type()->worldOutputs)
                next.push_back(
                    PlugRef{below, attribute,
                            std::vector<int>(static_cast<size_t>(attribute->arrayDepth()), -1)});
        }
}

Slot* Graph::pull(const PlugRef& plug) {
    Node* node = plug.node;
    if (!node || !node->alive() || !plug.attribute)
        return nullptr;
    Slot* slot = node->slot(plug.attribute, plug.indices, true);
    if (!slot || !slot->dirty)
        return slot;
    if (contains(pulling_, plug))
        return slot; // a cycle: what is stored is the answer
    if (pulling_.size() >= kMaxPullDepth) {
        // Each step of a chain is a call deeper: past this the stack would run out.
        if (!chainReported_)
            MGlobal::displayError(("'" + plugName(plug) + "' depends on a chain of more than " +
                                   std::to_string(kMaxPullDepth) +
                                   " connections and computes; it keeps the value it holds.")
                                      .c_str());
        chainReported_ = true;
        return slot;
    }
    pulling_.push_back(plug);

    const Connection* exact = incomingTo(plug);
    const Connection* above = nullptr;
    if (!exact)
        for (const auto& c : node->incoming)
            if (c->destination.covers(plug)) {
                above = c.get();
                break;
            }
    if (exact) {
        PlugRef source = exact->source;
        Slot* value = pull(source);
        slot = node->slot(plug.attribute, plug.indices, true);
        if (value && slot)
            slot->copyValue(plug.attribute, *value, source.attribute);
        if (slot)
            slot->setDirtyTree(false);
    } else if (above) {
        PlugRef destination = above->destination;
        pull(destination);
        // The ancestor's copy replaced the slots below it.
        slot = node->slot(plug.attribute, plug.indices, true);
        if (slot)
            slot->setDirtyTree(false);
    } else if (node->impl() && node->type()->isComputed(plug.attribute)) {
        MStatus status = callCompute(plug);
        // compute may have rebuilt the array this slot lives in
        slot = node->alive() ? node->slot(plug.attribute, plug.indices, true) : nullptr;
        if (slot && status == MS::kUnknownParameter)
            slot->setDirtyTree(false);
    } else if (slot->container && slot->elements.packed()) {
        slot->dirty = false; // stored numbers, none of them connected
    } else if (slot->container) {
        std::set<unsigned int> indices;
        for (const auto& entry : slot->elements)
            indices.insert(entry.first);
        size_t level = static_cast<size_t>(plug.attribute->arrayDepth() - 1);
        for (const auto& c : node->incoming)
            if (plug.covers(c->destination) && level < c->destination.indices.size() &&
                c->destination.indices[level] >= 0)
                indices.insert(static_cast<unsigned int>(c->destination.indices[level]));
        for (unsigned int index : indices) {
            PlugRef element = plug;
            element.indices[level] = static_cast<int>(index);
            pull(element);
        }
        slot = node->slot(plug.attribute, plug.indices, true);
        slot->dirty = false;
    } else {
        for (const auto& child : plug.attribute->children) {
            PlugRef childPlug{node, child.get(), plug.indices};
            if (child->array)
                childPlug.indices.push_back(-1);
            pull(childPlug);
        }
        slot = node->slot(plug.attribute, plug.indices, true);
        slot->dirty = false;
    }
    pulling_.pop_back();
    if (pulling_.empty())
        chainReported_ = false;
    return slot;
}

MStatus Graph::callCompute(const PlugRef& plug) {
    Node* node = plug.node;
    MDataBlock block(node);
    PlugRef current = plug;
    MStatus status = node->impl()->compute(toMPlug(current), block);
    // Not this plug's owner: Maya asks again with the array, then the parent compound.
    while (status == MS::kUnknownParameter && node->alive() && node->impl()) {
        if (current.attribute->array && !current.indices.empty() && current.indices.back() >= 0) {
            current.indices.back() = -1;
        } else if (current.attribute->parent) {
            if (current.attribute->array && !current.indices.empty())
                current.indices.pop_back();
            current.attribute = current.attribute->parent;
        } else {
            break;
        }
        if (!node->type()->isComputed(current.attribute))
            break;
        status = node->impl()->compute(toMPlug(current), block);
    }
    return status;
}

MStatus Graph::setValue(const PlugRef& plug, const std::function<void(Slot&)>& write,
                        std::string* error) {
    if (!plug.node || !plug.node->alive() || !plug.attribute) {
        *error = "Cannot set a plug of a node that does not exist.";
        return MS::kFailure;
    }
    for (const auto& c : plug.node->incoming)
        if (c->destination.covers(plug)) {
            *error = "The plug '" + plugName(plug) + "' has an incoming connection from '" +
                     plugName(c->source) + "' and cannot be set.";
            return MS::kFailure;
        }
    Slot* slot = plug.node->slot(plug.attribute, plug.indices, true);
    if (!slot) {
        *error = "The plug '" + plugName(plug) + "' does not exist.";
        return MS::kFailure;
    }
    write(*slot);
    slot->setDirtyTree(false);
    propagate(plug);
    return MS::kSuccess;
}

MStatus Graph::setNumber(const PlugRef& plug, double value, std::string* error) {
    if (!plug.node || !plug.attribute || !plug.attribute->isNumericLike() ||
        !plug.attribute->children.empty()) {
        *error = "'" + plugName(plug) + "' does not hold a single number.";
        return MS::kInvalidParameter;
    }
    std::string name = plugName(plug);
    if (plug.node->lockedPlugs.count(attributePath(plug))) {
        *error = "The plug '" + name + "' is locked.";
        return MS::kFailure;
    }
    if (!std::isfinite(value)) {
        *error = "'" + name + "' cannot be set to a value that is not a finite number.";
        return MS::kInvalidParameter;
    }
    bool clamped = false;
    double stored = plug.attribute->clamp(value, &clamped);
    if (clamped) {
        std::ostringstream text;
        text << "Value " << value << " of '" << name << "' is outside its limits; clamped to "
             << stored << ".";
        MGlobal::displayWarning(text.str().c_str());
    }
    return setValue(
        plug, [&](Slot& slot) { slot.set(plug.attribute, stored); }, error);
}

MPlug Graph::toMPlug(const PlugRef& plug) {
    if (!plug.node)
        return MPlug();
    return MPlug(plug.node->object(), attributeObject(plug.attribute), plug.indices);
}

PlugRef Graph::fromMPlug(const MPlug& plug) {
    PlugRef ref{nodeOf(plug.node()), attributeDef(plug.attribute()), plug.indices()};
    if (ref.attribute)
        ref.indices.resize(static_cast<size_t>(ref.attribute->arrayDepth()), -1);
    return ref;
}

std::string Graph::plugName(const PlugRef& plug, bool longNames) {
    std::string text = plug.node ? instance().names_.partialPath(plug.node) : std::string();
    if (!plug.attribute)
        return text;
    return text + "." + attributePath(plug, longNames);
}

std::string Graph::attributePath(const PlugRef& plug, bool longNames) {
    std::string text;
    if (!plug.attribute)
        return text;
    std::vector<const AttributeDef*> chain = plug.attribute->chain();
    bool underArray = false;
    size_t level = 0;
    for (size_t k = 0; k < chain.size(); ++k) {
        const AttributeDef* a = chain[k];
        underArray = underArray || a->array;
        int index = -1;
        if (a->array) {
            index = level < plug.indices.size() ? plug.indices[level] : -1;
            ++level;
        }
        if (k + 1 != chain.size() && !underArray)
            continue;
        if (!text.empty())
            text += ".";
        text += longNames ? a->name : a->shortName;
        if (a->array && (index >= 0 || k + 1 != chain.size()))
            text += "[" + std::to_string(index) + "]";
    }
    return text;
}

} // namespace host

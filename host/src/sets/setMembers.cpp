#include "sets/setMembers.h"

#include "geometry/component.h"
#include "geometry/componentList.h"
#include "geometry/meshNode.h"
#include "graph/graph.h"
#include "sets/objectSetNode.h"

#include <algorithm>
#include <map>
#include <set>

namespace host {

namespace {

const AttributeDef* def(const MObject& attribute) {
    return attributeDef(attribute);
}

const AttributeDef* dagAttribute(const Node& node, const char* name) {
    return node.findAttribute(name);
}

// How many elements of each kind a mesh has, for "[*]"; unknown for other shapes.
ComponentIndex shapeCounts(Node& node, MFn::Type kind) {
    ComponentIndex counts{kShapeCount, kShapeCount, kShapeCount};
    if (!isMeshNode(&node))
        return counts;
    std::shared_ptr<const Mesh> mesh = meshOfNode(node);
    switch (kind) {
    case MFn::kMeshPolygonComponent:
        counts[0] = mesh->numPolygons();
        break;
    case MFn::kMeshVertComponent:
        counts[0] = mesh->numVertices();
        break;
    case MFn::kMeshEdgeComponent:
        counts[0] = mesh->numEdges();
        break;
    default:
        break;
    }
    return counts;
}

// The components an object group lists, one component object per kind, kinds in first use.
std::vector<MObject> groupComponents(Node& node, const std::vector<int>& indices) {
    std::vector<MObject> components;
    const AttributeDef* list = dagAttribute(node, "objectGrpCompList");
    Slot* slot = list ? Graph::instance().pull(PlugRef{&node, list, indices}) : nullptr;
    const std::vector<ComponentRange>* ranges = slot ? componentRangesIn(slot->data) : nullptr;
    if (!ranges)
        return components;
    for (MFn::Type kind : componentTypesIn(*ranges)) {
        const ComponentIndex counts = shapeCounts(node, kind);
        components.push_back(componentOfRanges(*ranges, kind, &counts));
    }
    return components;
}

// Sorted indices as ranges of one kind: 0 1 2 5 -> f[0:2], f[5].
std::vector<ComponentRange> rangesOf(MFn::Type kind, const std::vector<int>& sorted) {
    return rangesOfComponent(*componentIn(makeComponent(kind, sorted)));
}

PlugRef arrayOf(Node& node, const AttributeDef* attribute) {
    return PlugRef{&node, attribute,
                   std::vector<int>(static_cast<size_t>(attribute->arrayDepth()), -1)};
}

// The first logical index above every element of an array plug (connected ones included).
int nextIndex(const PlugRef& array) {
    Slot* slot = array.node->slot(array.attribute, array.indices, true);
    int next =
        slot && !slot->elements.empty() ? static_cast<int>(slot->elements.rbegin()->first) + 1 : 0;
    const size_t level = array.indices.size() - 1;
    for (const auto& c : array.node->incoming)
        if (array.covers(c->destination) && level < c->destination.indices.size())
            next = std::max(next, c->destination.indices[level] + 1);
    return next;
}

MStatus connectMember(const PlugRef& source, Node& set, const MObject& list, std::string* error) {
    PlugRef destination = arrayOf(set, def(list));
    destination.indices.back() = nextIndex(destination);
    return Graph::instance().connect(source, destination, false, error);
}

std::vector<const Connection*> memberConnections(Node& set, const MObject& list) {
    std::vector<const Connection*> found;
    for (const auto& c : set.incoming)
        if (c->destination.attribute == def(list))
            found.push_back(c.get());
    std::sort(found.begin(), found.end(), [](const Connection* a, const Connection* b) {
        return a->destination.indices < b->destination.indices;
    });
    return found;
}

// The members of the set's dagSetMembers, whole nodes and components.
void collectDagMembers(Node& set, std::vector<SetMember>& out) {
    for (const Connection* c : memberConnections(set, ObjectSetNode::dagSetMembers)) {
        Node* node = c->source.node;
        if (!node || !node->alive())
            continue;
        const AttributeDef* objectGroups = dagAttribute(*node, "objectGroups");
        if (c->source.attribute == objectGroups && objectGroups) {
            for (const MObject& component : groupComponents(*node, c->source.indices))
                out.push_back(SetMember{node, true, component});
            continue;
        }
        out.push_back(SetMember{node, node->type()->dag, MObject()});
    }
}

// The set's members in order; flattened, a member set gives its own members in its place.
// Sets within sets are followed from a list, not by recursion: no nesting exhausts the stack.
void collect(Node& root, bool flatten, std::vector<SetMember>& out) {
    struct Open {
        std::vector<const Connection*> members; // dnSetMembers
        size_t next = 0;
    };
    std::set<Node*> visited;
    std::vector<Open> open;
    auto enter = [&](Node& set) {
        visited.insert(&set);
        collectDagMembers(set, out);
        open.push_back(Open{memberConnections(set, ObjectSetNode::dnSetMembers), 0});
    };
    enter(root);
    while (!open.empty()) {
        if (open.back().next == open.back().members.size()) {
            open.pop_back();
            continue;
        }
        Node* node = open.back().members[open.back().next++]->source.node;
        if (!node || !node->alive())
            continue;
        if (flatten && isObjectSet(node)) {
            if (!visited.count(node))
                enter(*node);
            continue;
        }
        out.push_back(SetMember{node, node->type()->dag, MObject()});
    }
}

// The object group connections from a node into the set.
std::vector<const Connection*> groupConnections(Node& set, Node& member) {
    std::vector<const Connection*> found;
    const AttributeDef* objectGroups = dagAttribute(member, "objectGroups");
    for (const Connection* c : memberConnections(set, ObjectSetNode::dagSetMembers))
        if (c->source.node == &member && c->source.attribute == objectGroups)
            found.push_back(c);
    return found;
}

bool wholeMember(Node& set, Node& member) {
    for (const Connection* c : memberConnections(set, ObjectSetNode::dagSetMembers))
        if (c->source.node == &member &&
            c->source.attribute != dagAttribute(member, "objectGroups"))
            return true;
    for (const Connection* c : memberConnections(set, ObjectSetNode::dnSetMembers))
        if (c->source.node == &member)
            return true;
    return false;
}

MStatus setGroupList(Node& member, const std::vector<int>& indices,
                     std::vector<ComponentRange> ranges, std::string* error) {
    const AttributeDef* list = dagAttribute(member, "objectGrpCompList");
    if (!list)
        return MS::kFailure;
    MObject value = makeComponentListData(std::move(ranges));
    return Graph::instance().setValue(
        PlugRef{&member, list, indices}, [&](Slot& slot) { slot.data = value; }, error);
}

} // namespace

bool isObjectSet(const Node* node) {
    return node && node->alive() && node->type()->api == MFn::kSet;
}

std::vector<SetMember> setMembers(Node& set, bool flatten) {
    std::vector<SetMember> members;
    if (!isObjectSet(&set))
        return members;
    collect(set, flatten, members);
    return members;
}

MStatus addSetMember(Node& set, Node& member, const MObject& component, std::string* error) {
    std::string ignored;
    std::string& message = error ? *error : ignored;
    if (!isObjectSet(&set) || !member.alive()) {
        message = "not a set and a node";
        return MS::kInvalidParameter;
    }
    if (wholeMember(set, member))
        return MS::kSuccess;
    if (!member.type()->dag) {
        if (!component.isNull())
            return MS::kInvalidParameter;
        return connectMember(PlugRef{&member, member.findAttribute("message"), {}}, set,
                             ObjectSetNode::dnSetMembers, error);
    }
    const AttributeDef* instObjGroups = dagAttribute(member, "instObjGroups");
    if (component.isNull()) {
        // The whole node replaces any of its components.
        for (const Connection* c : groupConnections(set, member)) {
            PlugRef source = c->source, destination = c->destination;
            if (!Graph::instance().disconnect(source, destination, error))
                return MS::kFailure;
        }
        return connectMember(PlugRef{&member, instObjGroups, {0}}, set,
                             ObjectSetNode::dagSetMembers, error);
    }
    const Component* parts = componentIn(component);
    if (!parts || parts->dimensions() != 1 || componentKindOf(parts->kind).empty()) {
        message = "expected a single-indexed component (polygons, vertices, edges, ...)";
        return MS::kInvalidParameter;
    }
    const std::vector<int> elements = sortedSingleIndices(*parts);
    if (elements.empty())
        return MS::kSuccess;
    const AttributeDef* objectGroups = dagAttribute(member, "objectGroups");
    PlugRef groups{&member, objectGroups, {0, -1}};
    std::vector<int> indices{0, nextIndex(groups)};
    MStatus status = setGroupList(member, indices, rangesOf(parts->kind, elements), error);
    if (!status)
        return status;
    return connectMember(PlugRef{&member, objectGroups, indices}, set, ObjectSetNode::dagSetMembers,
                         error);
}

MStatus removeSetMember(Node& set, Node& member, const MObject& component, std::string* error) {
    if (!isObjectSet(&set))
        return MS::kInvalidParameter;
    Graph& graph = Graph::instance();
    if (component.isNull()) {
        bool removed = false;
        for (const MObject* list : {&ObjectSetNode::dagSetMembers, &ObjectSetNode::dnSetMembers})
            for (const Connection* c : memberConnections(set, *list))
                if (c->source.node == &member) {
                    PlugRef source = c->source, destination = c->destination;
                    if (!graph.disconnect(source, destination, error))
                        return MS::kFailure;
                    removed = true;
                }
        return removed ? MS::kSuccess : MS::kNotFound;
    }
    const Component* parts = componentIn(component);
    if (!parts)
        return MS::kInvalidParameter;
    if (wholeMember(set, member))
        return MS::kFailure;
    const std::vector<int> dropped = sortedSingleIndices(*parts);
    for (const Connection* c : groupConnections(set, member)) {
        PlugRef source = c->source, destination = c->destination;
        const std::vector<int> indices = source.indices;
        std::vector<ComponentRange> kept;
        for (const MObject& group : groupComponents(member, indices)) {
            const Component* held = componentIn(group);
            std::vector<int> left;
            for (int element : sortedSingleIndices(*held))
                if (held->kind != parts->kind ||
                    !std::binary_search(dropped.begin(), dropped.end(), element))
                    left.push_back(element);
            for (const ComponentRange& range : rangesOf(held->kind, left))
                kept.push_back(range);
        }
        MStatus status = kept.empty() ? graph.disconnect(source, destination, error)
                                      : setGroupList(member, indices, kept, error);
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

MStatus clearSet(Node& set, std::string* error) {
    if (!isObjectSet(&set))
        return MS::kInvalidParameter;
    for (const MObject* list : {&ObjectSetNode::dagSetMembers, &ObjectSetNode::dnSetMembers})
        for (const Connection* c : memberConnections(set, *list)) {
            PlugRef source = c->source, destination = c->destination;
            if (!Graph::instance().disconnect(source, destination, error))
                return MS::kFailure;
        }
    return MS::kSuccess;
}

} // namespace host

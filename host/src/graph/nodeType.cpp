#include "graph/nodeType.h"

#include "graph/graph.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxLocatorNode.h>

#include <algorithm>

namespace host {

namespace {
// Attributes every DAG node has, created once.
struct DagAttributes {
    MObject visibility, intermediateObject, templated, instObjGroups, objectGroups,
        objectGrpCompList, objectGroupId, objectGrpColor;
};

DagAttributes& dagAttributes() {
    static DagAttributes attributes = [] {
        DagAttributes a;
        MFnNumericAttribute numeric;
        a.visibility = numeric.create("visibility", "v", MFnNumericData::kBoolean, 1);
        numeric.setKeyable(true);
        a.intermediateObject =
            numeric.create("intermediateObject", "io", MFnNumericData::kBoolean, 0);
        a.templated = numeric.create("template", "tmp", MFnNumericData::kBoolean, 0);
        MFnTypedAttribute typed;
        a.objectGrpCompList = typed.create("objectGrpCompList", "gcl", MFnData::kComponentList);
        a.objectGroupId = numeric.create("objectGroupId", "gid", MFnNumericData::kInt, 0);
        a.objectGrpColor = numeric.create("objectGrpColor", "gco", MFnNumericData::kShort, 0);
        MFnCompoundAttribute compound;
        a.objectGroups = compound.create("objectGroups", "og");
        compound.addChild(a.objectGrpCompList);
        compound.addChild(a.objectGroupId);
        compound.addChild(a.objectGrpColor);
        compound.setArray(true);
        compound.setIndexMatters(false);
        a.instObjGroups = compound.create("instObjGroups", "iog");
        compound.addChild(a.objectGroups);
        compound.setArray(true);
        attributeDef(a.instObjGroups)->instanced = true;
        return a;
    }();
    return attributes;
}

void addAttributeTo(NodeType& type, const MObject& attribute) {
    AttributeDef* def = attributeDef(attribute);
    if (!def)
        return;
    type.attributes.push_back(std::static_pointer_cast<AttributeDef>(attribute.impl()));
}
} // namespace

const AttributeDef* NodeType::findAttribute(const std::string& text) const {
    for (const auto& attribute : attributes)
        if (const AttributeDef* found = attribute->find(text))
            return found;
    return nullptr;
}

int NodeType::topIndex(const AttributeDef* top) const {
    for (size_t i = 0; i < attributes.size(); ++i)
        if (attributes[i].get() == top)
            return static_cast<int>(i);
    return -1;
}

bool NodeType::isComputed(const AttributeDef* attribute) const {
    for (const AttributeDef* a = attribute; a; a = a->parent) {
        if (computed.count(a))
            return true;
        if (!a->writable)
            return true;
    }
    return false;
}

NodeType*& initializingType() {
    static NodeType* type = nullptr;
    return type;
}

void registerBuiltinTypes(TypeRegistry& registry);

TypeRegistry& TypeRegistry::instance() {
    static TypeRegistry registry;
    static bool builtins = (registerBuiltinTypes(registry), true);
    (void)builtins;
    return registry;
}

void TypeRegistry::addBaseAttributes(NodeType& type) {
    addAttributeTo(type, MPxNode::message);
    addAttributeTo(type, MPxNode::caching);
    addAttributeTo(type, MPxNode::state);
    addAttributeTo(type, MPxNode::isHistoricallyInteresting);
    if (!type.dag)
        return;
    DagAttributes& dag = dagAttributes();
    addAttributeTo(type, dag.visibility);
    addAttributeTo(type, dag.intermediateObject);
    addAttributeTo(type, dag.templated);
    addAttributeTo(type, dag.instObjGroups);
    if (type.kind == MPxNode::kLocatorNode) {
        addAttributeTo(type, MPxLocatorNode::localPosition);
        addAttributeTo(type, MPxLocatorNode::localScale);
    }
}

MStatus TypeRegistry::registerNode(const std::string& name, MTypeId id, MCreatorFunction creator,
                                   MInitializeFunction initialize, MPxNode::Type kind,
                                   Plugin* plugin, std::string* error) {
    if (name.empty() || !creator) {
        *error = "A node type needs a name and a creator.";
        return MS::kInvalidParameter;
    }
    if (findNode(name)) {
        *error = "A node type named '" + name + "' is already registered.";
        return MS::kFailure;
    }
    if (findNode(id)) {
        *error = "Node type id " + std::to_string(id.id()) + " of '" + name +
                 "' is already used by '" + findNode(id)->name + "'.";
        return MS::kFailure;
    }
    auto type = std::make_unique<NodeType>();
    type->name = name;
    type->id = id;
    type->creator = creator;
    type->kind = kind;
    type->plugin = plugin;
    type->dag = kind == MPxNode::kLocatorNode || kind == MPxNode::kSurfaceShape ||
                kind == MPxNode::kTransformNode;
    type->shape = type->dag && kind != MPxNode::kTransformNode;
    type->api = kind == MPxNode::kLocatorNode ? MFn::kPluginLocatorNode : MFn::kPluginDependNode;
    addBaseAttributes(*type);
    initializingType() = type.get();
    MStatus status = initialize ? initialize() : MStatus(MS::kSuccess);
    initializingType() = nullptr;
    if (!status) {
        *error = "The initializer of node type '" + name + "' failed.";
        return MS::kFailure;
    }
    nodes_.push_back(std::move(type));
    return MS::kSuccess;
}

NodeType* TypeRegistry::registerBuiltin(const std::string& name, MTypeId id,
                                        MCreatorFunction creator, MPxNode::Type kind, MFn::Type api,
                                        bool dag, bool shape, const std::function<void()>& setup) {
    auto type = std::make_unique<NodeType>();
    type->name = name;
    type->id = id;
    type->creator = creator;
    type->kind = kind;
    type->api = api;
    type->dag = dag;
    type->shape = shape;
    addBaseAttributes(*type);
    initializingType() = type.get();
    if (setup)
        setup();
    initializingType() = nullptr;
    nodes_.push_back(std::move(type));
    return nodes_.back().get();
}

MStatus TypeRegistry::deregisterNode(MTypeId id, std::string* error) {
    auto it = std::find_if(nodes_.begin(), nodes_.end(),
                           [&](const auto& type) { return type->id == id; });
    if (it == nodes_.end()) {
        *error = "No node type with id " + std::to_string(id.id()) + " is registered.";
        return MS::kFailure;
    }
    for (Node* node : Graph::instance().nodes())
        if (node->type() == it->get()) {
            *error = "Node type '" + (*it)->name + "' is in use by node '" + node->name() + "'.";
            return MS::kFailure;
        }
    nodes_.erase(it);
    return MS::kSuccess;
}

MStatus TypeRegistry::registerData(const std::string& name, MTypeId id, MCreatorFunction creator,
                                   MPxData::Type kind, Plugin* plugin, std::string* error) {
    if (name.empty() || !creator) {
        *error = "A data type needs a name and a creator.";
        return MS::kInvalidParameter;
    }
    if (findData(name) || findData(id)) {
        *error = "A data type named '" + name + "' or with id " + std::to_string(id.id()) +
                 " is already registered.";
        return MS::kFailure;
    }
    data_.push_back(std::make_unique<DataType>(DataType{name, id, creator, kind, plugin}));
    return MS::kSuccess;
}

MStatus TypeRegistry::deregisterData(MTypeId id, std::string* error) {
    auto it =
        std::find_if(data_.begin(), data_.end(), [&](const auto& type) { return type->id == id; });
    if (it == data_.end()) {
        *error = "No data type with id " + std::to_string(id.id()) + " is registered.";
        return MS::kFailure;
    }
    data_.erase(it);
    return MS::kSuccess;
}

NodeType* TypeRegistry::findNode(const std::string& name) const {
    for (const auto& type : nodes_)
        if (type->name == name)
            return type.get();
    return nullptr;
}

NodeType* TypeRegistry::findNode(MTypeId id) const {
    for (const auto& type : nodes_)
        if (type->id == id)
            return type.get();
    return nullptr;
}

DataType* TypeRegistry::findData(MTypeId id) const {
    for (const auto& type : data_)
        if (type->id == id)
            return type.get();
    return nullptr;
}

DataType* TypeRegistry::findData(const std::string& name) const {
    for (const auto& type : data_)
        if (type->name == name)
            return type.get();
    return nullptr;
}

std::vector<NodeType*> TypeRegistry::nodeTypes() const {
    std::vector<NodeType*> all;
    for (const auto& type : nodes_)
        all.push_back(type.get());
    return all;
}

std::vector<DataType*> TypeRegistry::dataTypes() const {
    std::vector<DataType*> all;
    for (const auto& type : data_)
        all.push_back(type.get());
    return all;
}

TypeRegistry::TypeRegistry() = default;

} // namespace host

#pragma once
// Registered node and data types, built-in or from plug-ins.

#include "graph/attributeDef.h"

#include <maya/MPxData.h>
#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

class Plugin;
struct PlugRef;

struct NodeType {
    std::string name;
    MTypeId id;
    MCreatorFunction creator = nullptr;
    MPxNode::Type kind = MPxNode::kDependNode;
    bool dag = false;     // lives in the DAG (transforms and shapes)
    bool shape = false;   // a DAG node that needs a transform parent
    bool generic = false; // keeps raw values of attributes it does not know
    MFn::Type api = MFn::kDependencyNode;
    Plugin* plugin = nullptr;
    // Top-level attributes in order: inherited ones first.
    std::vector<std::shared_ptr<AttributeDef>> attributes;
    std::map<const AttributeDef*, std::vector<const AttributeDef*>> affects;
    std::map<const AttributeDef*, bool> computed; // affected by something: an output
    // Outputs that depend on where the node sits in the world (a shape's worldSpace): dirtied
    // when a transform above the node changes or the node is reparented.
    std::vector<const AttributeDef*> worldOutputs;
    // Plugs elsewhere that depend on one of this node's plugs without a connection (the time
    // node drives every time curve whose input is unconnected): dirtied with it.
    std::function<void(const PlugRef& changed, std::vector<PlugRef>& dependents)>
        implicitDependents;

    const AttributeDef* findAttribute(const std::string& name) const;
    int topIndex(const AttributeDef* top) const;
    bool isComputed(const AttributeDef* attribute) const;
};

struct DataType {
    std::string name;
    MTypeId id;
    MCreatorFunction creator = nullptr;
    MPxData::Type kind = MPxData::kData;
    Plugin* plugin = nullptr;
};

class TypeRegistry {
  public:
    static TypeRegistry& instance();

    // Registers a node type: runs the initializer with this type as the one that
    // MPxNode::addAttribute and attributeAffects work on. Fails on a duplicate name or id.
    MStatus registerNode(const std::string& name, MTypeId id, MCreatorFunction creator,
                         MInitializeFunction initialize, MPxNode::Type kind, Plugin* plugin,
                         std::string* error);
    MStatus deregisterNode(MTypeId id, std::string* error);
    MStatus registerData(const std::string& name, MTypeId id, MCreatorFunction creator,
                         MPxData::Type kind, Plugin* plugin, std::string* error);
    MStatus deregisterData(MTypeId id, std::string* error);

    NodeType* findNode(const std::string& name) const;
    NodeType* findNode(MTypeId id) const;
    DataType* findData(MTypeId id) const;
    DataType* findData(const std::string& name) const;
    std::vector<NodeType*> nodeTypes() const;
    std::vector<DataType*> dataTypes() const;

    // Built-in node types register themselves through this with a setup function that adds
    // attributes; used once at start-up.
    NodeType* registerBuiltin(const std::string& name, MTypeId id, MCreatorFunction creator,
                              MPxNode::Type kind, MFn::Type api, bool dag, bool shape,
                              const std::function<void()>& setup);

  private:
    TypeRegistry();
    void addBaseAttributes(NodeType& type);
    std::vector<std::unique_ptr<NodeType>> nodes_;
    std::vector<std::unique_ptr<DataType>> data_;
};

// The type whose initializer is running (null outside registration): MPxNode::addAttribute
// and attributeAffects work on it.
NodeType*& initializingType();

} // namespace host

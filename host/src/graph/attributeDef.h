#pragma once
// The definition of one attribute: names, kind, defaults, limits, flags and children.
// Shared by every node of a type; an MObject for an attribute holds one of these.

#include "graph/object.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MObject.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace host {

struct AttributeDef : Object, std::enable_shared_from_this<AttributeDef> {
    enum class Kind { Numeric, Typed, Enum, Compound, Message };

    Kind kind = Kind::Numeric;
    std::string name;
    std::string shortName;

    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    MFnData::Type dataType = MFnData::kInvalid;
    unsigned int pluginTypeId = 0; // typed attributes holding plug-in data

    double defaultValue = 0.0; // scalar numeric and enum default
    MObject defaultData;       // typed default (string or other data)
    bool hasMin = false, hasMax = false, hasSoftMin = false, hasSoftMax = false;
    double minValue = 0.0, maxValue = 0.0, softMinValue = 0.0, softMaxValue = 0.0;
    std::vector<std::pair<std::string, short>> enumFields;

    bool readable = true, writable = true, connectable = true, storable = true, cached = true;
    bool array = false, keyable = false, hidden = false, channelBox = false;
    bool indexMatters = true, internal = false, usesArrayDataBuilder = false;
    bool usedAsColor = false, dynamic = false;
    bool angle = false; // kept in radians; scene files write it in their angle unit
    // One element per instance of a DAG node (instObjGroups, worldMesh): named without an index
    // in a connection, as files write "shape.iog", the plug means the first instance.
    bool instanced = false;
    // A destination any plug may connect to, whatever it holds (a set's member list).
    bool takesAnySource = false;
    MFnAttribute::DisconnectBehavior disconnectBehavior = MFnAttribute::kNothing;

    // Compound children in order (numeric compounds too: their components are children).
    std::vector<std::shared_ptr<AttributeDef>> children;
    AttributeDef* parent = nullptr;
    bool numericCompound = false; // children are the components of one numeric value

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;
    const char* apiTypeStr() const override { return "kAttribute"; }

    bool isCompound() const { return kind == Kind::Compound; }
    bool isNumericLike() const { return kind == Kind::Numeric || kind == Kind::Enum; }
    bool matches(const std::string& text) const { return text == name || text == shortName; }
    // Path from the top-level attribute down to this one.
    std::vector<const AttributeDef*> chain() const;
    // Number of array levels on the chain (one logical index each in a plug).
    int arrayDepth() const;
    bool isAncestorOf(const AttributeDef* other) const;
    const AttributeDef* top() const;
    // This attribute or a descendant with the given long or short name.
    const AttributeDef* find(const std::string& text) const;
    int childIndex(const AttributeDef* child) const;
    // Clamps a value set from outside into the hard limits.
    double clamp(double value, bool* clamped) const;
};

AttributeDef* attributeDef(const MObject& object);
MObject attributeObject(const AttributeDef* attribute);
// Maya's rule for attribute names: a letter or an underscore, then letters, digits and
// underscores.
bool isValidAttributeName(const std::string& name);

} // namespace host

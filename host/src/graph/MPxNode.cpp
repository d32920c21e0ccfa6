#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPxNode.h>

#include <algorithm>

MObject MPxNode::message = [] {
    MFnMessageAttribute fn;
    return fn.create("message", "msg");
}();

MObject MPxNode::isHistoricallyInteresting = [] {
    MFnNumericAttribute fn;
    MObject attribute = fn.create("isHistoricallyInteresting", "ihi", MFnNumericData::kByte, 2);
    fn.setMin(0.0);
    fn.setMax(2.0);
    return attribute;
}();

MObject MPxNode::caching = [] {
    MFnNumericAttribute fn;
    return fn.create("caching", "cch", MFnNumericData::kBoolean, 0);
}();

MObject MPxNode::state = [] {
    MFnEnumAttribute fn;
    MObject attribute = fn.create("nodeState", "nds", 0);
    fn.addField("Normal", 0);
    fn.addField("HasNoEffect", 1);
    fn.addField("Blocking", 2);
    return attribute;
}();

MPxNode::MPxNode() = default;
MPxNode::~MPxNode() = default;

void MPxNode::postConstructor() {}

MStatus MPxNode::compute(const MPlug&, MDataBlock&) {
    return MS::kUnknownParameter;
}

MStatus MPxNode::connectionMade(const MPlug&, const MPlug&, bool) {
    return MS::kUnknownParameter;
}

MStatus MPxNode::connectionBroken(const MPlug&, const MPlug&, bool) {
    return MS::kUnknownParameter;
}

MStatus MPxNode::legalConnection(const MPlug&, const MPlug&, bool, bool&) const {
    return MS::kUnknownParameter;
}

MStatus MPxNode::setDependentsDirty(const MPlug&, MPlugArray&) {
    return MS::kSuccess;
}

MPxNode::Type MPxNode::type() const {
    return kDependNode;
}

MObject MPxNode::thisMObject() const {
    return hostNode_ && hostNode_->alive() ? hostNode_->object() : MObject();
}

MString MPxNode::name() const {
    return hostNode_ ? MString(hostNode_->name().c_str()) : MString();
}

MTypeId MPxNode::typeId() const {
    return hostNode_ ? hostNode_->type()->id : MTypeId();
}

MString MPxNode::typeName() const {
    return hostNode_ ? MString(hostNode_->type()->name.c_str()) : MString();
}

MStatus MPxNode::setExistWithoutInConnections(bool flag) {
    existWithoutIn_ = flag;
    return MS::kSuccess;
}

MStatus MPxNode::setExistWithoutOutConnections(bool flag) {
    existWithoutOut_ = flag;
    if (hostNode_)
        hostNode_->existWithoutOut = flag;
    return MS::kSuccess;
}

bool MPxNode::existWithoutInConnections(MStatus* status) const {
    if (status)
        *status = MS::kSuccess;
    return existWithoutIn_;
}

bool MPxNode::existWithoutOutConnections(MStatus* status) const {
    if (status)
        *status = MS::kSuccess;
    return existWithoutOut_;
}

MStatus MPxNode::addAttribute(const MObject& attribute) {
    host::NodeType* type = host::initializingType();
    host::AttributeDef* def = host::attributeDef(attribute);
    if (!type || !def || def->parent)
        return MS::kFailure;
    if (type->findAttribute(def->name) || type->findAttribute(def->shortName))
        return MS::kFailure;
    for (const auto& existing : type->attributes)
        if (existing.get() == def)
            return MS::kFailure;
    type->attributes.push_back(std::static_pointer_cast<host::AttributeDef>(attribute.impl()));
    return MS::kSuccess;
}

MStatus MPxNode::inheritAttributesFrom(const MString& parentClassName) {
    host::NodeType* type = host::initializingType();
    host::NodeType* parent = host::TypeRegistry::instance().findNode(parentClassName.asChar());
    if (!type || !parent)
        return MS::kFailure;
    for (const auto& attribute : parent->attributes)
        if (type->topIndex(attribute.get()) < 0)
            type->attributes.push_back(attribute);
    for (const auto& [from, to] : parent->affects)
        for (const host::AttributeDef* affected : to)
            type->affects[from].push_back(affected);
    type->computed.insert(parent->computed.begin(), parent->computed.end());
    return MS::kSuccess;
}

namespace {
void markComputed(host::NodeType& type, const host::AttributeDef* attribute) {
    type.computed[attribute] = true;
    for (const auto& child : attribute->children)
        markComputed(type, child.get());
}
} // namespace

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    host::NodeType* type = host::initializingType();
    host::AttributeDef* from = host::attributeDef(whenChanges);
    host::AttributeDef* to = host::attributeDef(isAffected);
    if (!type || !from || !to)
        return MS::kFailure;
    // Both must be attributes of the type being registered (added before this call).
    if (type->topIndex(from->top()) < 0 || type->topIndex(to->top()) < 0)
        return MS::kFailure;
    auto& affected = type->affects[from];
    if (std::find(affected.begin(), affected.end(), to) == affected.end())
        affected.push_back(to);
    markComputed(*type, to);
    return MS::kSuccess;
}

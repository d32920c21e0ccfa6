// MFnSet: membership of objectSet nodes.

#include "graph/graph.h"
#include "graph/statusOut.h"
#include "sets/objectSetNode.h"
#include "sets/setMembers.h"

#include <maya/MFnSet.h>
#include <maya/MGlobal.h>

using host::Node;
using host::ObjectSetNode;
using host::report;

namespace {

Node* setNode(const MObject& object) {
    Node* node = host::nodeOf(object);
    return host::isObjectSet(node) ? node : nullptr;
}

MStatus reported(MStatus status, const std::string& error) {
    if (!status && !error.empty())
        MGlobal::displayError(("MFnSet: " + error).c_str());
    return status;
}

} // namespace

MFnSet::MFnSet(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MStatus MFnSet::setObject(const MObject& object) {
    object_ = object;
    return setNode(object) ? MS::kSuccess : MS::kInvalidParameter;
}

MObject MFnSet::create(const MSelectionList& members, Restriction restriction, bool isLayer,
                       MStatus* status) {
    MStatus made;
    MObject set = MFnDependencyNode::create("objectSet", &made);
    if (!made || !setObject(set)) {
        report(status, MS::kFailure);
        return MObject();
    }
    const MObject* flags[] = {nullptr,
                              &ObjectSetNode::verticesOnlySet,
                              &ObjectSetNode::edgesOnlySet,
                              &ObjectSetNode::facetsOnlySet,
                              &ObjectSetNode::editPointsOnlySet,
                              &ObjectSetNode::renderableOnlySet};
    if (restriction > kNone && restriction <= kRenderableOnly)
        MPlug(set, *flags[restriction]).setValue(true);
    if (isLayer)
        findPlug("isLayer").setValue(true);
    report(status, addMembers(members));
    return set;
}

MStatus MFnSet::getMembers(MSelectionList& members, bool flatten) const {
    Node* set = setNode(object_);
    if (!set)
        return MS::kFailure;
    for (const host::SetMember& member : host::setMembers(*set, flatten)) {
        if (!member.dag) {
            members.add(member.node->object(), true);
            continue;
        }
        MDagPath path;
        MDagPath::getAPathTo(member.node->object(), path);
        members.add(path, member.component, true);
    }
    return MS::kSuccess;
}

MStatus MFnSet::addMember(const MObject& object) {
    Node* set = setNode(object_);
    Node* node = host::nodeOf(object);
    if (!set || !node)
        return MS::kInvalidParameter;
    std::string error;
    return reported(host::addSetMember(*set, *node, MObject(), &error), error);
}

MStatus MFnSet::addMember(const MDagPath& object, const MObject& component) {
    Node* set = setNode(object_);
    Node* node = host::nodeOf(object.node());
    if (!set || !node)
        return MS::kInvalidParameter;
    std::string error;
    return reported(host::addSetMember(*set, *node, component, &error), error);
}

MStatus MFnSet::addMembers(const MSelectionList& list) {
    for (unsigned int i = 0; i < list.length(); ++i) {
        MDagPath path;
        MObject component, node;
        MStatus status =
            list.getDagPath(i, path, component)
                ? addMember(path, component)
                : (list.getDependNode(i, node) ? addMember(node) : MStatus(MS::kInvalidParameter));
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

MStatus MFnSet::removeMember(const MObject& object) {
    Node* set = setNode(object_);
    Node* node = host::nodeOf(object);
    if (!set || !node)
        return MS::kInvalidParameter;
    std::string error;
    return reported(host::removeSetMember(*set, *node, MObject(), &error), error);
}

MStatus MFnSet::removeMember(const MDagPath& object, const MObject& component) {
    Node* set = setNode(object_);
    Node* node = host::nodeOf(object.node());
    if (!set || !node)
        return MS::kInvalidParameter;
    std::string error;
    return reported(host::removeSetMember(*set, *node, component, &error), error);
}

MStatus MFnSet::removeMembers(const MSelectionList& list) {
    for (unsigned int i = 0; i < list.length(); ++i) {
        MDagPath path;
        MObject component, node;
        MStatus status = list.getDagPath(i, path, component)
                             ? removeMember(path, component)
                             : (list.getDependNode(i, node) ? removeMember(node)
                                                            : MStatus(MS::kInvalidParameter));
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

bool MFnSet::isMember(const MObject& object, MStatus* status) const {
    Node* set = setNode(object_);
    report(status, set ? MS::kSuccess : MS::kFailure);
    if (!set)
        return false;
    for (const host::SetMember& member : host::setMembers(*set, false))
        if (member.node == host::nodeOf(object))
            return true;
    return false;
}

bool MFnSet::isMember(const MDagPath& object, const MObject& component, MStatus* status) const {
    MSelectionList members;
    MStatus found = getMembers(members, false);
    report(status, found);
    return found && members.hasItem(object, component);
}

MStatus MFnSet::clear() {
    Node* set = setNode(object_);
    if (!set)
        return MS::kFailure;
    std::string error;
    return reported(host::clearSet(*set, &error), error);
}

MFnSet::Restriction MFnSet::restriction(MStatus* status) const {
    if (!setNode(object_)) {
        report(status, MS::kFailure);
        return kNone;
    }
    report(status, MS::kSuccess);
    const std::pair<const MObject*, Restriction> flags[] = {
        {&ObjectSetNode::verticesOnlySet, kVerticesOnly},
        {&ObjectSetNode::edgesOnlySet, kEdgesOnly},
        {&ObjectSetNode::facetsOnlySet, kFacetsOnly},
        {&ObjectSetNode::editPointsOnlySet, kEditPointsOnly},
        {&ObjectSetNode::renderableOnlySet, kRenderableOnly}};
    for (const auto& [attribute, value] : flags)
        if (MPlug(object_, *attribute).asBool())
            return value;
    return kNone;
}

MString MFnSet::annotation(MStatus* status) const {
    if (!setNode(object_)) {
        report(status, MS::kFailure);
        return MString();
    }
    return MPlug(object_, ObjectSetNode::annotation).asString(status);
}

MStatus MFnSet::setAnnotation(const MString& annotation) {
    if (!setNode(object_))
        return MS::kFailure;
    return MPlug(object_, ObjectSetNode::annotation).setValue(annotation);
}

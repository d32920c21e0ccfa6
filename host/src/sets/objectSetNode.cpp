#include "sets/objectSetNode.h"

#include "geometry/componentList.h"
#include "graph/nodeType.h"

#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

namespace host {

MObject ObjectSetNode::dagSetMembers, ObjectSetNode::dnSetMembers, ObjectSetNode::groupNodes,
    ObjectSetNode::annotation, ObjectSetNode::verticesOnlySet, ObjectSetNode::edgesOnlySet,
    ObjectSetNode::facetsOnlySet, ObjectSetNode::editPointsOnlySet,
    ObjectSetNode::renderableOnlySet;
MObject GroupIdNode::groupId;

namespace {

MObject messageArray(const char* name, const char* shortName) {
    MFnMessageAttribute message;
    MObject attribute = message.create(name, shortName);
    message.setArray(true);
    message.setIndexMatters(false);
    // An element goes with its connection, so member lists stay dense.
    message.setDisconnectBehavior(MFnAttribute::kDelete);
    MPxNode::addAttribute(attribute);
    return attribute;
}

MObject flag(const char* name, const char* shortName) {
    MFnNumericAttribute numeric;
    MObject attribute = numeric.create(name, shortName, MFnNumericData::kBoolean, 0.0);
    MPxNode::addAttribute(attribute);
    return attribute;
}

} // namespace

void ObjectSetNode::initialize() {
    dagSetMembers = messageArray("dagSetMembers", "dsm");
    // Members connect whole instObjGroups elements or their objectGroups elements.
    attributeDef(dagSetMembers)->takesAnySource = true;
    dnSetMembers = messageArray("dnSetMembers", "dnsm");
    groupNodes = messageArray("groupNodes", "gn");
    messageArray("partition", "pa");

    MFnNumericAttribute numeric;
    addAttribute(numeric.create("memberWireframeColor", "mwc", MFnNumericData::kShort, -1.0));
    MFnTypedAttribute typed;
    annotation = typed.create("annotation", "an", MFnData::kString);
    addAttribute(annotation);
    flag("isLayer", "il");
    verticesOnlySet = flag("verticesOnlySet", "vo");
    edgesOnlySet = flag("edgesOnlySet", "eo");
    facetsOnlySet = flag("facetsOnlySet", "fo");
    editPointsOnlySet = flag("editPointsOnlySet", "epo");
    renderableOnlySet = flag("renderableOnlySet", "ro");
}

void GroupIdNode::initialize() {
    MFnNumericAttribute numeric;
    groupId = numeric.create("groupId", "id", MFnNumericData::kInt, 0.0);
    addAttribute(groupId);
}

void registerSetTypes(TypeRegistry& registry) {
    // Maya's own ids for the types ('OBJS', 'GPID'), outside the plug-in ranges.
    registry.registerBuiltin("objectSet", MTypeId(0x4f424a53), &ObjectSetNode::creator,
                             MPxNode::kDependNode, MFn::kSet, false, false,
                             &ObjectSetNode::initialize);
    registry.registerBuiltin("groupId", MTypeId(0x47504944), &GroupIdNode::creator,
                             MPxNode::kDependNode, MFn::kGroupId, false, false,
                             &GroupIdNode::initialize);
    registerComponentListFormat();
}

} // namespace host

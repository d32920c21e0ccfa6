#include "deform/groupPartsNode.h"

#include "deform/deformedGeometry.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MDataBlock.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

namespace host {

MObject GroupPartsNode::inputGeometry, GroupPartsNode::outputGeometry,
    GroupPartsNode::inputComponents, GroupPartsNode::groupId;

void GroupPartsNode::initialize() {
    MFnTypedAttribute typed;
    inputGeometry = typed.create("inputGeometry", "ig", MFnData::kAny);
    typed.setStorable(false);
    addAttribute(inputGeometry);
    outputGeometry = typed.create("outputGeometry", "og", MFnData::kAny);
    typed.setWritable(false);
    typed.setStorable(false);
    addAttribute(outputGeometry);
    inputComponents = typed.create("inputComponents", "ic", MFnData::kComponentList);
    addAttribute(inputComponents);
    addAttribute(typed.create("inputRemoveComponent", "irc", MFnData::kComponentList));
    MFnNumericAttribute numeric;
    groupId = numeric.create("groupId", "gi", MFnNumericData::kInt, 0.0);
    addAttribute(groupId);
    attributeAffects(inputGeometry, outputGeometry);
}

MStatus GroupPartsNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != outputGeometry || !hostNode())
        return MS::kUnknownParameter;
    const PlugRef input{hostNode(), attributeDef(inputGeometry), {}};
    data.outputValue(outputGeometry).set(localGeometryInput(input));
    data.setClean(plug);
    return MS::kSuccess;
}

void registerGroupPartsType(TypeRegistry& registry) {
    // Maya's own id for the type ('GPRT'), outside the plug-in ranges.
    registry.registerBuiltin("groupParts", MTypeId(0x47505254), &GroupPartsNode::creator,
                             MPxNode::kDependNode, MFn::kGroupParts, false, false,
                             &GroupPartsNode::initialize);
}

} // namespace host

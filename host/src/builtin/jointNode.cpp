#include "builtin/jointNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MEulerRotation.h>
#include <maya/MFnNumericAttribute.h>

namespace host {

MObject JointNode::jointOrient, JointNode::segmentScaleCompensate, JointNode::inverseScale;

namespace {

// 1 / s, leaving a zero scale alone rather than dividing by it.
double inverseOf(double s) {
    return s != 0.0 ? 1.0 / s : 1.0;
}

} // namespace

void JointNode::initialize() {
    jointOrient = addChannelTriple("jointOrient", "jo", 0.0);
    attributeDef(jointOrient)->angle = true;
    inverseScale = addChannelTriple("inverseScale", "is", 1.0);
    MFnNumericAttribute flag;
    segmentScaleCompensate =
        flag.create("segmentScaleCompensate", "ssc", MFnNumericData::kBoolean, 1.0);
    addAttribute(segmentScaleCompensate);
    for (const MObject* input : {&jointOrient, &inverseScale, &segmentScaleCompensate})
        affectMatrices(*input);
}

void registerJointType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    const NodeType* transform = registry.findNode("transform");
    NodeType* type =
        registry.registerBuiltin("joint", MTypeId(0x0fff0030), &JointNode::creator,
                                 MPxNode::kTransformNode, MFn::kJoint, true, false, [transform] {
                                     // A joint has every attribute of a transform, and its own.
                                     NodeType& joint = *initializingType();
                                     for (const auto& attribute : transform->attributes)
                                         if (joint.topIndex(attribute.get()) < 0)
                                             joint.attributes.push_back(attribute);
                                     joint.affects = transform->affects;
                                     joint.computed = transform->computed;
                                     JointNode::initialize();
                                 });
    addWorldMatrixOutputs(*type);
}

MMatrix jointLocalMatrix(Node& node) {
    auto channel = [&node](const MObject& compound, int i) {
        return transformComponent(node, compound, i);
    };
    const MMatrix JO =
        MEulerRotation(channel(JointNode::jointOrient, 0), channel(JointNode::jointOrient, 1),
                       channel(JointNode::jointOrient, 2))
            .asMatrix();
    MMatrix IS;
    PlugRef compensate{&node, attributeDef(JointNode::segmentScaleCompensate), {}};
    Slot* compensateSlot = Graph::instance().pull(compensate);
    if (!compensateSlot || compensateSlot->get(compensate.attribute) != 0.0)
        IS = scaleMatrix(inverseOf(channel(JointNode::inverseScale, 0)),
                         inverseOf(channel(JointNode::inverseScale, 1)),
                         inverseOf(channel(JointNode::inverseScale, 2)));
    return scaleOf(node) * rotateAxisOf(node) * rotateOf(node) * JO * IS * translateOf(node);
}

} // namespace host

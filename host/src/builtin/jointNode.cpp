#include "builtin/jointNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MEulerRotation.h>
#include <maya/MFnNumericAttribute.h>

namespace host {

MObject JointNode::jointOrient, JointNode::segmentScaleCompensate, JointNode::inverseScale;

namespace {

MObject triple(const std::string& name, const std::string& shortName, double value) {
    MFnNumericAttribute fn;
    MObject children[3];
    const char* axes[3] = {"X", "Y", "Z"};
    const char* shortAxes[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i)
        children[i] = fn.create((name + axes[i]).c_str(), (shortName + shortAxes[i]).c_str(),
                                MFnNumericData::kDouble, value);
    MObject parent =
        fn.create(name.c_str(), shortName.c_str(), children[0], children[1], children[2]);
    MPxNode::addAttribute(parent);
    return parent;
}

MMatrix diagonal(double x, double y, double z) {
    MMatrix m;
    m(0, 0) = x;
    m(1, 1) = y;
    m(2, 2) = z;
    return m;
}

// 1 / s, leaving a zero scale alone rather than dividing by it.
double inverseOf(double s) {
    return s != 0.0 ? 1.0 / s : 1.0;
}

} // namespace

void JointNode::initialize() {
    jointOrient = triple("jointOrient", "jo", 0.0);
    attributeDef(jointOrient)->angle = true;
    inverseScale = triple("inverseScale", "is", 1.0);
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
    const MMatrix S = diagonal(channel(TransformNode::scale, 0), channel(TransformNode::scale, 1),
                               channel(TransformNode::scale, 2));
    const MMatrix RA =
        MEulerRotation(channel(TransformNode::rotateAxis, 0), channel(TransformNode::rotateAxis, 1),
                       channel(TransformNode::rotateAxis, 2))
            .asMatrix();
    PlugRef orderRef{&node, attributeDef(TransformNode::rotateOrder), {}};
    Slot* orderSlot = Graph::instance().pull(orderRef);
    int order = orderSlot ? static_cast<int>(orderSlot->get(orderRef.attribute)) : 0;
    if (order < 0 || order > 5)
        order = 0;
    const MMatrix R =
        MEulerRotation(channel(TransformNode::rotate, 0), channel(TransformNode::rotate, 1),
                       channel(TransformNode::rotate, 2),
                       static_cast<MEulerRotation::RotationOrder>(order))
            .asMatrix();
    const MMatrix JO =
        MEulerRotation(channel(JointNode::jointOrient, 0), channel(JointNode::jointOrient, 1),
                       channel(JointNode::jointOrient, 2))
            .asMatrix();
    MMatrix IS;
    PlugRef compensate{&node, attributeDef(JointNode::segmentScaleCompensate), {}};
    Slot* compensateSlot = Graph::instance().pull(compensate);
    if (!compensateSlot || compensateSlot->get(compensate.attribute) != 0.0)
        IS = diagonal(inverseOf(channel(JointNode::inverseScale, 0)),
                      inverseOf(channel(JointNode::inverseScale, 1)),
                      inverseOf(channel(JointNode::inverseScale, 2)));
    MMatrix T;
    T(3, 0) = channel(TransformNode::translate, 0);
    T(3, 1) = channel(TransformNode::translate, 1);
    T(3, 2) = channel(TransformNode::translate, 2);
    return S * RA * R * JO * IS * T;
}

} // namespace host

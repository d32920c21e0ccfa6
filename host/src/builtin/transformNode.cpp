#include "builtin/transformNode.h"

#include "graph/graph.h"

#include <maya/MEulerRotation.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>

namespace host {

MObject TransformNode::translate, TransformNode::rotate, TransformNode::rotateOrder,
    TransformNode::scale, TransformNode::shear, TransformNode::rotatePivot,
    TransformNode::rotatePivotTranslate, TransformNode::scalePivot,
    TransformNode::scalePivotTranslate, TransformNode::rotateAxis, TransformNode::inheritsTransform;

namespace {
MObject triple(const char* name, const char* shortName, double value, const char* const names[3],
               const char* const shortNames[3]) {
    MFnNumericAttribute fn;
    MObject x =
        fn.create((std::string(name) + names[0]).c_str(),
                  (std::string(shortName) + shortNames[0]).c_str(), MFnNumericData::kDouble, value);
    MObject y =
        fn.create((std::string(name) + names[1]).c_str(),
                  (std::string(shortName) + shortNames[1]).c_str(), MFnNumericData::kDouble, value);
    MObject z =
        fn.create((std::string(name) + names[2]).c_str(),
                  (std::string(shortName) + shortNames[2]).c_str(), MFnNumericData::kDouble, value);
    MObject parent = fn.create(name, shortName, x, y, z);
    fn.setKeyable(true);
    MPxNode::addAttribute(parent);
    return parent;
}

const char* const XYZ[3] = {"X", "Y", "Z"};
const char* const xyz[3] = {"x", "y", "z"};
const char* const shearNames[3] = {"XY", "XZ", "YZ"};
const char* const shearShort[3] = {"xy", "xz", "yz"};

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m(3, 0) = x;
    m(3, 1) = y;
    m(3, 2) = z;
    return m;
}

double component(Node& node, const MObject& parent, int i) {
    PlugRef ref{&node, attributeDef(parent), {}};
    Slot* slot = Graph::instance().pull(ref);
    const AttributeDef* def = attributeDef(parent);
    if (!slot || i >= static_cast<int>(slot->children.size()))
        return 0.0;
    return slot->children[static_cast<size_t>(i)].get(def->children[static_cast<size_t>(i)].get());
}

MMatrix fromTriple(Node& node, const MObject& attribute) {
    return translation(component(node, attribute, 0), component(node, attribute, 1),
                       component(node, attribute, 2));
}
} // namespace

void TransformNode::initialize() {
    translate = triple("translate", "t", 0.0, XYZ, xyz);
    rotate = triple("rotate", "r", 0.0, XYZ, xyz);
    scale = triple("scale", "s", 1.0, XYZ, xyz);
    shear = triple("shear", "sh", 0.0, shearNames, shearShort);
    rotatePivot = triple("rotatePivot", "rp", 0.0, XYZ, xyz);
    rotatePivotTranslate = triple("rotatePivotTranslate", "rpt", 0.0, XYZ, xyz);
    scalePivot = triple("scalePivot", "sp", 0.0, XYZ, xyz);
    scalePivotTranslate = triple("scalePivotTranslate", "spt", 0.0, XYZ, xyz);
    rotateAxis = triple("rotateAxis", "ra", 0.0, XYZ, xyz);
    MFnEnumAttribute order;
    rotateOrder = order.create("rotateOrder", "ro", 0);
    const char* names[] = {"xyz", "yzx", "zxy", "xzy", "yxz", "zyx"};
    for (short i = 0; i < 6; ++i)
        order.addField(names[i], i);
    addAttribute(rotateOrder);
    MFnNumericAttribute flag;
    inheritsTransform = flag.create("inheritsTransform", "it", MFnNumericData::kBoolean, 1);
    addAttribute(inheritsTransform);
}

MMatrix localMatrix(Node& node) {
    if (node.type()->api != MFn::kTransform)
        return MMatrix();
    double sx = component(node, TransformNode::scale, 0);
    double sy = component(node, TransformNode::scale, 1);
    double sz = component(node, TransformNode::scale, 2);
    MMatrix S;
    S(0, 0) = sx;
    S(1, 1) = sy;
    S(2, 2) = sz;
    MMatrix SH;
    SH(1, 0) = component(node, TransformNode::shear, 0);
    SH(2, 0) = component(node, TransformNode::shear, 1);
    SH(2, 1) = component(node, TransformNode::shear, 2);
    MMatrix SP = fromTriple(node, TransformNode::scalePivot);
    MMatrix ST = fromTriple(node, TransformNode::scalePivotTranslate);
    MMatrix RP = fromTriple(node, TransformNode::rotatePivot);
    MMatrix RT = fromTriple(node, TransformNode::rotatePivotTranslate);
    MMatrix T = fromTriple(node, TransformNode::translate);
    MMatrix RA = MEulerRotation(component(node, TransformNode::rotateAxis, 0),
                                component(node, TransformNode::rotateAxis, 1),
                                component(node, TransformNode::rotateAxis, 2))
                     .asMatrix();
    PlugRef orderRef{&node, attributeDef(TransformNode::rotateOrder), {}};
    Slot* orderSlot = Graph::instance().pull(orderRef);
    int order = orderSlot ? static_cast<int>(orderSlot->get(orderRef.attribute)) : 0;
    if (order < 0 || order > 5)
        order = 0;
    MMatrix R = MEulerRotation(component(node, TransformNode::rotate, 0),
                               component(node, TransformNode::rotate, 1),
                               component(node, TransformNode::rotate, 2),
                               static_cast<MEulerRotation::RotationOrder>(order))
                    .asMatrix();
    return SP.inverse() * S * SH * SP * ST * RP.inverse() * RA * R * RP * RT * T;
}

MMatrix worldMatrix(Node& node) {
    MMatrix m = localMatrix(node);
    for (Node* p = node.parent(); p; p = p->parent())
        m = m * localMatrix(*p);
    return m;
}

} // namespace host

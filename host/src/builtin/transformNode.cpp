#include "builtin/transformNode.h"

#include "builtin/jointNode.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MDataBlock.h>
#include <maya/MEulerRotation.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MTransformationMatrix.h>

namespace host {

MObject TransformNode::translate, TransformNode::rotate, TransformNode::rotateOrder,
    TransformNode::scale, TransformNode::shear, TransformNode::rotatePivot,
    TransformNode::rotatePivotTranslate, TransformNode::scalePivot,
    TransformNode::scalePivotTranslate, TransformNode::rotateAxis, TransformNode::inheritsTransform;
MObject TransformNode::matrix, TransformNode::inverseMatrix, TransformNode::xformMatrix,
    TransformNode::worldMatrix, TransformNode::worldInverseMatrix, TransformNode::parentMatrix,
    TransformNode::parentInverseMatrix;

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

double component(Node& node, const MObject& parent, int i) {
    return transformComponent(node, parent, i);
}

MMatrix fromTriple(Node& node, const MObject& attribute) {
    return translationMatrix(component(node, attribute, 0), component(node, attribute, 1),
                             component(node, attribute, 2));
}

MObject matrixOutput(const char* name, const char* shortName, bool perInstance) {
    MFnTypedAttribute typed;
    MObject attribute = typed.create(name, shortName, MFnData::kMatrix);
    typed.setWritable(false);
    typed.setStorable(false);
    typed.setArray(perInstance);
    MPxNode::addAttribute(attribute);
    // "node.worldMatrix" named without an index means the first instance's.
    attributeDef(attribute)->instanced = perInstance;
    return attribute;
}

bool inherits(Node& node) {
    if (!node.hasFn(MFn::kTransform))
        return true;
    PlugRef ref{&node, attributeDef(TransformNode::inheritsTransform), {}};
    Slot* slot = Graph::instance().pull(ref);
    return !slot || slot->get(ref.attribute) != 0.0;
}

MMatrix parentWorld(Node& node) {
    return node.parent() && inherits(node) ? host::worldMatrix(*node.parent()) : MMatrix();
}
} // namespace

MObject addChannelTriple(const char* name, const char* shortName, double value) {
    return triple(name, shortName, value, XYZ, xyz);
}

MMatrix translationMatrix(double x, double y, double z) {
    MMatrix m;
    m(3, 0) = x;
    m(3, 1) = y;
    m(3, 2) = z;
    return m;
}

MMatrix scaleMatrix(double x, double y, double z) {
    MMatrix m;
    m(0, 0) = x;
    m(1, 1) = y;
    m(2, 2) = z;
    return m;
}

double transformComponent(Node& node, const MObject& compound, int i) {
    PlugRef ref{&node, attributeDef(compound), {}};
    Slot* slot = Graph::instance().pull(ref);
    const AttributeDef* def = attributeDef(compound);
    if (!slot || i < 0 || i >= static_cast<int>(slot->children.size()))
        return 0.0;
    return slot->children[static_cast<size_t>(i)].get(def->children[static_cast<size_t>(i)].get());
}

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

    matrix = matrixOutput("matrix", "m", false);
    inverseMatrix = matrixOutput("inverseMatrix", "im", false);
    xformMatrix = matrixOutput("xformMatrix", "xm", false);
    worldMatrix = matrixOutput("worldMatrix", "wm", true);
    worldInverseMatrix = matrixOutput("worldInverseMatrix", "wim", true);
    parentMatrix = matrixOutput("parentMatrix", "pm", true);
    parentInverseMatrix = matrixOutput("parentInverseMatrix", "pim", true);
    for (const MObject* input :
         {&translate, &rotate, &rotateOrder, &scale, &shear, &rotatePivot, &rotatePivotTranslate,
          &scalePivot, &scalePivotTranslate, &rotateAxis, &inheritsTransform})
        affectMatrices(*input);
}

void TransformNode::affectMatrices(const MObject& input) {
    for (const MObject* output : {&matrix, &inverseMatrix, &xformMatrix, &worldMatrix,
                                  &worldInverseMatrix, &parentMatrix, &parentInverseMatrix})
        attributeAffects(input, *output);
}

MStatus TransformNode::compute(const MPlug& plug, MDataBlock& data) {
    Node* node = hostNode();
    if (!node)
        return MS::kUnknownParameter;
    const AttributeDef* asked = attributeDef(plug.attribute());
    auto is = [asked](const MObject& attribute) { return asked == attributeDef(attribute); };
    MMatrix value;
    if (is(matrix) || is(xformMatrix))
        value = localMatrix(*node);
    else if (is(inverseMatrix))
        value = localMatrix(*node).inverse();
    else if (is(worldMatrix))
        value = host::worldMatrix(*node);
    else if (is(worldInverseMatrix))
        value = host::worldMatrix(*node).inverse();
    else if (is(parentMatrix))
        value = parentWorld(*node);
    else if (is(parentInverseMatrix))
        value = parentWorld(*node).inverse();
    else
        return MS::kUnknownParameter;
    const MPlug whole(thisMObject(), plug.attribute());
    if (asked->array) {
        // One instance: element 0.
        MPlug element = whole.elementByLogicalIndex(0);
        data.outputValue(element).set(value);
        data.setClean(element);
    } else {
        data.outputValue(whole).set(value);
    }
    data.setClean(whole);
    return MS::kSuccess;
}

void addWorldMatrixOutputs(NodeType& type) {
    for (const MObject* output :
         {&TransformNode::worldMatrix, &TransformNode::worldInverseMatrix,
          &TransformNode::parentMatrix, &TransformNode::parentInverseMatrix})
        type.worldOutputs.push_back(attributeDef(*output));
}

MMatrix scaleOf(Node& node) {
    return scaleMatrix(component(node, TransformNode::scale, 0),
                       component(node, TransformNode::scale, 1),
                       component(node, TransformNode::scale, 2));
}

MMatrix rotateAxisOf(Node& node) {
    return MEulerRotation(component(node, TransformNode::rotateAxis, 0),
                          component(node, TransformNode::rotateAxis, 1),
                          component(node, TransformNode::rotateAxis, 2))
        .asMatrix();
}

int rotateOrderOf(Node& node) {
    PlugRef orderRef{&node, attributeDef(TransformNode::rotateOrder), {}};
    Slot* orderSlot = Graph::instance().pull(orderRef);
    const int order = orderSlot ? static_cast<int>(orderSlot->get(orderRef.attribute)) : 0;
    return order < 0 || order > 5 ? 0 : order;
}

MMatrix rotateOf(Node& node) {
    return MEulerRotation(component(node, TransformNode::rotate, 0),
                          component(node, TransformNode::rotate, 1),
                          component(node, TransformNode::rotate, 2),
                          static_cast<MEulerRotation::RotationOrder>(rotateOrderOf(node)))
        .asMatrix();
}

MMatrix translateOf(Node& node) {
    return fromTriple(node, TransformNode::translate);
}

MMatrix localMatrix(Node& node) {
    if (node.type()->api == MFn::kJoint)
        return jointLocalMatrix(node);
    if (node.type()->api != MFn::kTransform)
        return MMatrix();
    // The plugs into the API's transformation, which composes them as Maya does.
    auto vector = [&node](const MObject& attribute) {
        return MVector(component(node, attribute, 0), component(node, attribute, 1),
                       component(node, attribute, 2));
    };
    double scale[3], shear[3], rotate[3];
    vector(TransformNode::scale).get(scale);
    vector(TransformNode::shear).get(shear);
    vector(TransformNode::rotate).get(rotate);
    MTransformationMatrix m;
    m.setScale(scale, MSpace::kTransform);
    m.setShear(shear, MSpace::kTransform);
    m.setScalePivot(vector(TransformNode::scalePivot), MSpace::kTransform, false);
    m.setScalePivotTranslation(vector(TransformNode::scalePivotTranslate), MSpace::kTransform);
    m.setRotatePivot(vector(TransformNode::rotatePivot), MSpace::kTransform, false);
    m.setRotatePivotTranslation(vector(TransformNode::rotatePivotTranslate), MSpace::kTransform);
    m.setRotationOrientation(MEulerRotation(vector(TransformNode::rotateAxis)).asQuaternion());
    m.setRotation(rotate,
                  static_cast<MTransformationMatrix::RotationOrder>(rotateOrderOf(node) + 1));
    m.setTranslation(vector(TransformNode::translate), MSpace::kTransform);
    return m.asMatrix();
}

MMatrix worldMatrix(Node& node) {
    MMatrix m = localMatrix(node);
    for (Node* n = &node; n->parent() && inherits(*n); n = n->parent())
        m = m * localMatrix(*n->parent());
    return m;
}

} // namespace host

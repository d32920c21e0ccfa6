#pragma once
// The built-in transform: a DAG node that places its children. Its matrix outputs ("matrix",
// "inverseMatrix", "xformMatrix", and per instance "worldMatrix", "worldInverseMatrix",
// "parentMatrix", "parentInverseMatrix") follow its channels and those of the nodes above it.

#include <maya/MMatrix.h>
#include <maya/MPxNode.h>

namespace host {

class Node;
struct NodeType;

class TransformNode : public MPxNode {
  public:
    static void* creator() { return new TransformNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject translate, rotate, rotateOrder, scale, shear, rotatePivot, rotatePivotTranslate,
        scalePivot, scalePivotTranslate, rotateAxis, inheritsTransform;
    static MObject matrix, inverseMatrix, xformMatrix, worldMatrix, worldInverseMatrix,
        parentMatrix, parentInverseMatrix;

  protected:
    // Makes the matrix outputs follow the given inputs (the channels of the type).
    static void affectMatrices(const MObject& input);
};

// Marks the per-instance matrix outputs as depending on where the node sits in the world.
void addWorldMatrixOutputs(NodeType& type);

// The node's own matrix (identity for anything but a transform or joint), with row vectors:
// SP^-1 S SH SP ST RP^-1 RA R RP RT T for a transform (see jointNode.h for a joint).
MMatrix localMatrix(Node& node);
// The node's matrix times those of the nodes above it, up to the world or to the first node
// that does not inherit its parent's transform ("inheritsTransform" off).
MMatrix worldMatrix(Node& node);
// Adds a keyable double3 channel to the type being initialized: "name" with children nameX,
// nameY, nameZ ("jo": jox, joy, joz).
MObject addChannelTriple(const char* name, const char* shortName, double value);
MMatrix translationMatrix(double x, double y, double z);
MMatrix scaleMatrix(double x, double y, double z);
// The matrices of a transform's (or joint's) channels: scale, rotate axis (xyz), rotate in the
// node's rotate order, translate.
MMatrix scaleOf(Node& node);
MMatrix rotateAxisOf(Node& node);
// The node's "rotateOrder", 0 (xyz) to 5 (zyx); 0 for anything else.
int rotateOrderOf(Node& node);
MMatrix rotateOf(Node& node);
MMatrix translateOf(Node& node);
// A channel of a transform: component i of a numeric compound (translate, scale, ...).
double transformComponent(Node& node, const MObject& compound, int i);

} // namespace host

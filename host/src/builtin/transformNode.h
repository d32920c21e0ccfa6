#pragma once
// The built-in transform: a DAG node that places its children.

#include <maya/MMatrix.h>
#include <maya/MPxNode.h>

namespace host {

class Node;

class TransformNode : public MPxNode {
  public:
    static void* creator() { return new TransformNode; }
    static void initialize();

    static MObject translate, rotate, rotateOrder, scale, shear, rotatePivot, rotatePivotTranslate,
        scalePivot, scalePivotTranslate, rotateAxis, inheritsTransform;
};

// The node's own matrix (identity for anything but a transform), with row vectors:
// SP^-1 S SH SP ST RP^-1 RA R RP RT T.
MMatrix localMatrix(Node& node);
// The product of the local matrices from the node up to the world.
MMatrix worldMatrix(Node& node);

} // namespace host

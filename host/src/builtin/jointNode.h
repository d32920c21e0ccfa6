#pragma once
// The built-in joint: a transform whose matrix is S · RA · R · JO · IS · T (row vectors): scale,
// rotate axis (the joint's rotate orient), rotate in its order, joint orient (xyz), the inverse
// of the parent joint's scale when "segmentScaleCompensate" is on, then translate. Pivots and
// shear are not part of a joint's matrix.

#include "builtin/transformNode.h"

namespace host {

class TypeRegistry;

class JointNode : public TransformNode {
  public:
    static void* creator() { return new JointNode; }
    static void initialize();

    static MObject jointOrient, segmentScaleCompensate, inverseScale;
};

void registerJointType(TypeRegistry& registry);

MMatrix jointLocalMatrix(Node& node);

} // namespace host

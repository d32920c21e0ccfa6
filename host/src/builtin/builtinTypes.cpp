// The node types the host knows without any plug-in.

#include "anim/animCurveNode.h"
#include "anim/timeNode.h"
#include "anim/unitConversionNode.h"
#include "builtin/jointNode.h"
#include "builtin/transformNode.h"
#include "deform/deformerTypes.h"
#include "geometry/meshNode.h"
#include "geometry/nurbsSurfaceNode.h"
#include "graph/nodeType.h"
#include "sets/objectSetNode.h"
#include "shading/textureTypes.h"
#include "view/cameraNode.h"

namespace host {

namespace {
// A node of a type the host does not implement: it keeps raw attribute values so that a
// scene saves back without losing them.
class GenericNode : public MPxNode {
  public:
    static void* creator() { return new GenericNode; }
};
} // namespace

// Host-reserved ids, outside the range plug-ins are given.
void registerBuiltinTypes(TypeRegistry& registry) {
    NodeType* transform = registry.registerBuiltin(
        "transform", MTypeId(0x0fff0001), &TransformNode::creator, MPxNode::kTransformNode,
        MFn::kTransform, true, false, &TransformNode::initialize);
    addWorldMatrixOutputs(*transform);
    registerJointType(registry);
    NodeType* generic =
        registry.registerBuiltin("unknown", MTypeId(0x0fff0002), &GenericNode::creator,
                                 MPxNode::kDependNode, MFn::kDependencyNode, false, false, nullptr);
    generic->generic = true;
    registerNurbsSurfaceType(registry);
    registerMeshType(registry);
    registerSetTypes(registry);
    registerCameraType(registry);
    registerTextureTypes(registry);
    registerTimeType(registry);
    registerAnimCurveTypes(registry);
    registerUnitConversionType(registry);
    registerDeformerTypes(registry);
}

} // namespace host

// MFnTransform: the parts of a transform node's transformation, through its attributes.

#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "graph/statusOut.h"

#include <maya/MFnTransform.h>
#include <maya/MPlug.h>

using host::Node;
using host::report;
using host::TransformNode;

namespace {

Node* transformNode(const MObject& object) {
    Node* node = host::nodeOf(object);
    return node && node->hasFn(MFn::kTransform) ? node : nullptr;
}

MVector readTriple(const MObject& node, const MObject& attribute) {
    MPlug plug(node, attribute);
    return MVector(plug.child(0).asDouble(), plug.child(1).asDouble(), plug.child(2).asDouble());
}

MStatus writeTriple(const MObject& node, const MObject& attribute, double x, double y, double z) {
    MPlug plug(node, attribute);
    const double values[3] = {x, y, z};
    for (unsigned int i = 0; i < 3; ++i) {
        MStatus status = plug.child(i).setValue(values[i]);
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

MEulerRotation::RotationOrder nodeOrder(const MObject& node) {
    int order = MPlug(node, TransformNode::rotateOrder).asShort();
    return order >= 0 && order <= 5 ? static_cast<MEulerRotation::RotationOrder>(order)
                                    : MEulerRotation::kXYZ;
}

} // namespace

MFnTransform::MFnTransform(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MFnTransform::MFnTransform(const MDagPath& path, MStatus* status) {
    report(status, setObject(path));
}

MStatus MFnTransform::setObject(const MObject& object) {
    MStatus status = MFnDagNode::setObject(object);
    return status && transformNode(object) ? MS::kSuccess : MS::kInvalidParameter;
}

MStatus MFnTransform::setObject(const MDagPath& path) {
    MStatus status = MFnDagNode::setObject(path);
    return status && transformNode(object_) ? MS::kSuccess : MS::kInvalidParameter;
}

MObject MFnTransform::create(MObject& parent, MStatus* status) {
    return MFnDagNode::create("transform", parent, status);
}

MTransformationMatrix MFnTransform::transformation(MStatus* status) const {
    MTransformationMatrix result;
    if (!transformNode(object_)) {
        report(status, MS::kFailure);
        return result;
    }
    result.setTranslation(readTriple(object_, TransformNode::translate), MSpace::kTransform);
    MEulerRotation rotation;
    getRotation(rotation);
    result.rotateTo(rotation);
    double values[3];
    getScale(values);
    result.setScale(values, MSpace::kTransform);
    getShear(values);
    result.setShear(values, MSpace::kTransform);
    result.setScalePivot(scalePivot(MSpace::kTransform), MSpace::kTransform, false);
    result.setRotatePivot(rotatePivot(MSpace::kTransform), MSpace::kTransform, false);
    result.setScalePivotTranslation(scalePivotTranslation(MSpace::kTransform), MSpace::kTransform);
    result.setRotatePivotTranslation(rotatePivotTranslation(MSpace::kTransform),
                                     MSpace::kTransform);
    result.setRotationOrientation(rotateOrientation(MSpace::kTransform));
    report(status, MS::kSuccess);
    return result;
}

MStatus MFnTransform::set(const MTransformationMatrix& transform) {
    if (!transformNode(object_))
        return MS::kFailure;
    const MSpace::Space space = MSpace::kTransform;
    MStatus status = setTranslation(transform.getTranslation(space), space);
    double values[3];
    if (status && (status = transform.getScale(values, space)))
        status = setScale(values);
    if (status && (status = transform.getShear(values, space)))
        status = setShear(values);
    if (status)
        status = setRotation(transform.eulerRotation());
    const MPoint sp = transform.scalePivot(space), rp = transform.rotatePivot(space);
    const MVector st = transform.scalePivotTranslation(space),
                  rt = transform.rotatePivotTranslation(space);
    if (status)
        status = writeTriple(object_, TransformNode::scalePivot, sp.x, sp.y, sp.z);
    if (status)
        status = writeTriple(object_, TransformNode::rotatePivot, rp.x, rp.y, rp.z);
    if (status)
        status = writeTriple(object_, TransformNode::scalePivotTranslate, st.x, st.y, st.z);
    if (status)
        status = writeTriple(object_, TransformNode::rotatePivotTranslate, rt.x, rt.y, rt.z);
    if (status) {
        MEulerRotation axis = MEulerRotation::decompose(transform.rotationOrientation().asMatrix(),
                                                        MEulerRotation::kXYZ);
        status = writeTriple(object_, TransformNode::rotateAxis, axis.x, axis.y, axis.z);
    }
    return status;
}

MVector MFnTransform::getTranslation(MSpace::Space space, MStatus* status) const {
    if (!transformNode(object_)) {
        report(status, MS::kFailure);
        return MVector();
    }
    report(status, MS::kSuccess);
    if (space == MSpace::kWorld && hasPath_) {
        MMatrix world = path_.inclusiveMatrix();
        return MVector(world(3, 0), world(3, 1), world(3, 2));
    }
    return readTriple(object_, TransformNode::translate);
}

MStatus MFnTransform::setTranslation(const MVector& vector, MSpace::Space) {
    if (!transformNode(object_))
        return MS::kFailure;
    return writeTriple(object_, TransformNode::translate, vector.x, vector.y, vector.z);
}

MStatus MFnTransform::translateBy(const MVector& vector, MSpace::Space space) {
    MStatus status;
    MVector current = getTranslation(MSpace::kTransform, &status);
    return status ? setTranslation(current + vector, space) : status;
}

MStatus MFnTransform::getScale(double scale[3]) const {
    if (!transformNode(object_))
        return MS::kFailure;
    MVector s = readTriple(object_, TransformNode::scale);
    scale[0] = s.x;
    scale[1] = s.y;
    scale[2] = s.z;
    return MS::kSuccess;
}

MStatus MFnTransform::setScale(const double scale[3]) {
    if (!transformNode(object_))
        return MS::kFailure;
    return writeTriple(object_, TransformNode::scale, scale[0], scale[1], scale[2]);
}

MStatus MFnTransform::getShear(double shear[3]) const {
    if (!transformNode(object_))
        return MS::kFailure;
    MVector s = readTriple(object_, TransformNode::shear);
    shear[0] = s.x;
    shear[1] = s.y;
    shear[2] = s.z;
    return MS::kSuccess;
}

MStatus MFnTransform::setShear(const double shear[3]) {
    if (!transformNode(object_))
        return MS::kFailure;
    return writeTriple(object_, TransformNode::shear, shear[0], shear[1], shear[2]);
}

MStatus MFnTransform::getRotation(MEulerRotation& rotation) const {
    if (!transformNode(object_))
        return MS::kFailure;
    MVector r = readTriple(object_, TransformNode::rotate);
    rotation = MEulerRotation(r.x, r.y, r.z, nodeOrder(object_));
    return MS::kSuccess;
}

MStatus MFnTransform::setRotation(const MEulerRotation& rotation) {
    if (!transformNode(object_))
        return MS::kFailure;
    MStatus status =
        MPlug(object_, TransformNode::rotateOrder).setValue(static_cast<short>(rotation.order));
    return status ? writeTriple(object_, TransformNode::rotate, rotation.x, rotation.y, rotation.z)
                  : status;
}

MStatus MFnTransform::getRotation(MQuaternion& quaternion, MSpace::Space) const {
    MEulerRotation rotation;
    MStatus status = getRotation(rotation);
    if (status)
        quaternion = rotation.asQuaternion();
    return status;
}

MStatus MFnTransform::setRotation(const MQuaternion& quaternion, MSpace::Space) {
    if (!transformNode(object_))
        return MS::kFailure;
    // Keeps the node's rotation order.
    return setRotation(MEulerRotation::decompose(quaternion.asMatrix(), nodeOrder(object_)));
}

MStatus MFnTransform::getRotation(double rotation[3],
                                  MTransformationMatrix::RotationOrder& order) const {
    MEulerRotation euler;
    MStatus status = getRotation(euler);
    if (!status)
        return status;
    rotation[0] = euler.x;
    rotation[1] = euler.y;
    rotation[2] = euler.z;
    order = static_cast<MTransformationMatrix::RotationOrder>(euler.order + 1);
    return MS::kSuccess;
}

MTransformationMatrix::RotationOrder MFnTransform::rotationOrder(MStatus* status) const {
    if (!transformNode(object_)) {
        report(status, MS::kFailure);
        return MTransformationMatrix::kInvalid;
    }
    report(status, MS::kSuccess);
    return static_cast<MTransformationMatrix::RotationOrder>(nodeOrder(object_) + 1);
}

MQuaternion MFnTransform::rotateOrientation(MSpace::Space, MStatus* status) const {
    if (!transformNode(object_)) {
        report(status, MS::kFailure);
        return MQuaternion();
    }
    report(status, MS::kSuccess);
    return MEulerRotation(readTriple(object_, TransformNode::rotateAxis)).asQuaternion();
}

MPoint MFnTransform::rotatePivot(MSpace::Space, MStatus* status) const {
    report(status, transformNode(object_) ? MS::kSuccess : MS::kFailure);
    return transformNode(object_) ? MPoint(readTriple(object_, TransformNode::rotatePivot))
                                  : MPoint();
}

MPoint MFnTransform::scalePivot(MSpace::Space, MStatus* status) const {
    report(status, transformNode(object_) ? MS::kSuccess : MS::kFailure);
    return transformNode(object_) ? MPoint(readTriple(object_, TransformNode::scalePivot))
                                  : MPoint();
}

MVector MFnTransform::rotatePivotTranslation(MSpace::Space, MStatus* status) const {
    report(status, transformNode(object_) ? MS::kSuccess : MS::kFailure);
    return transformNode(object_) ? readTriple(object_, TransformNode::rotatePivotTranslate)
                                  : MVector();
}

MVector MFnTransform::scalePivotTranslation(MSpace::Space, MStatus* status) const {
    report(status, transformNode(object_) ? MS::kSuccess : MS::kFailure);
    return transformNode(object_) ? readTriple(object_, TransformNode::scalePivotTranslate)
                                  : MVector();
}

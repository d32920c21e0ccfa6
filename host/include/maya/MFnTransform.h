#pragma once
// Function set for transform nodes: reads and writes the parts of their transformation (see
// MTransformationMatrix for how they combine). Angles are in radians. Getters and setters work
// in the transform's own space; getTranslation(MSpace::kWorld) through a DAG path gives the
// transform's origin in world space.

#include <maya/MEulerRotation.h>
#include <maya/MFnDagNode.h>
#include <maya/MQuaternion.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

class OPENMAYA_EXPORT MFnTransform : public MFnDagNode {
  public:
    MFnTransform() = default;
    MFnTransform(const MObject& object, MStatus* status = nullptr);
    MFnTransform(const MDagPath& path, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kTransform; }
    MStatus setObject(const MObject& object) override;
    MStatus setObject(const MDagPath& path);

    // A new transform under parent (null: the world), attached to this function set.
    MObject create(MObject& parent = MObject::kNullObj, MStatus* status = nullptr);

    MTransformationMatrix transformation(MStatus* status = nullptr) const;
    // Writes every part of the transformation into the node.
    MStatus set(const MTransformationMatrix& transform);

    MVector getTranslation(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setTranslation(const MVector& vector, MSpace::Space space);
    MStatus translateBy(const MVector& vector, MSpace::Space space);
    MStatus getScale(double scale[3]) const;
    MStatus setScale(const double scale[3]);
    MStatus getShear(double shear[3]) const;
    MStatus setShear(const double shear[3]);
    MStatus getRotation(MEulerRotation& rotation) const;
    MStatus setRotation(const MEulerRotation& rotation);
    MStatus getRotation(MQuaternion& quaternion, MSpace::Space space = MSpace::kTransform) const;
    MStatus setRotation(const MQuaternion& quaternion, MSpace::Space space = MSpace::kTransform);
    MStatus getRotation(double rotation[3], MTransformationMatrix::RotationOrder& order) const;
    MTransformationMatrix::RotationOrder rotationOrder(MStatus* status = nullptr) const;
    MQuaternion rotateOrientation(MSpace::Space space, MStatus* status = nullptr) const;
    MPoint rotatePivot(MSpace::Space space, MStatus* status = nullptr) const;
    MPoint scalePivot(MSpace::Space space, MStatus* status = nullptr) const;
    MVector rotatePivotTranslation(MSpace::Space space, MStatus* status = nullptr) const;
    MVector scalePivotTranslation(MSpace::Space space, MStatus* status = nullptr) const;
};

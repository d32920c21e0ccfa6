#pragma once
// A transformation as its parts, combined (row vectors) in the order of the transform node:
//   SP^-1 * S * SH * SP * ST * RP^-1 * RA * R * RP * RT * T
// S scale, SH shear (xy, xz, yz), SP scale pivot, ST scale pivot translation, RP rotate pivot,
// RA rotation orientation (the rotate axis), R rotation in its order, RT rotate pivot
// translation, T translation. Angles are in radians.
//
// The space arguments are kept for the API's form: every part is read and written in the
// transformation's own (kTransform) space whatever space is named. Pivot setters do not
// balance the pivot translations.

#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#define MTransformationMatrix_kTol 1.0e-10

class OPENMAYA_EXPORT MTransformationMatrix {
  public:
    enum RotationOrder { kInvalid, kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX, kLast };

    MTransformationMatrix() = default;
    MTransformationMatrix(const MTransformationMatrix&) = default;
    MTransformationMatrix& operator=(const MTransformationMatrix&) = default;
    // Splits a matrix into translation, rotation (kXYZ), scale and shear; pivots are zero. A
    // matrix with a negative determinant gets a negative z scale.
    MTransformationMatrix(const MMatrix& source);
    MTransformationMatrix& operator=(const MMatrix& source);

    MMatrix asMatrix() const;
    // The parts scaled by percent: translation, shear and rotation angles times percent, scale
    // 1 + (s - 1) * percent; pivots stay.
    MMatrix asMatrix(double percent) const;
    MMatrix asMatrixInverse() const;
    MMatrix asScaleMatrix() const;
    MMatrix asRotateMatrix() const;

    MVector getTranslation(MSpace::Space space, MStatus* status = nullptr) const;
    MVector translation(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setTranslation(const MVector& vector, MSpace::Space space);
    MStatus addTranslation(const MVector& vector, MSpace::Space space);

    MStatus getScale(double scale[3], MSpace::Space space) const;
    MStatus setScale(const double scale[3], MSpace::Space space);
    MStatus getShear(double shear[3], MSpace::Space space) const;
    MStatus setShear(const double shear[3], MSpace::Space space);

    MQuaternion rotation() const;
    MEulerRotation eulerRotation() const;
    MTransformationMatrix& rotateTo(const MQuaternion& q);
    MTransformationMatrix& rotateTo(const MEulerRotation& rotation);
    MStatus getRotation(double rotation[3], RotationOrder& order) const;
    MStatus setRotation(const double rotation[3], RotationOrder order);
    RotationOrder rotationOrder(MStatus* status = nullptr) const;
    // Changes the order; with reorder the angles change so the rotation stays the same.
    MStatus reorderRotation(const RotationOrder& order);
    MQuaternion rotationOrientation() const;
    MTransformationMatrix& setRotationOrientation(const MQuaternion& q);

    MPoint scalePivot(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setScalePivot(const MPoint& point, MSpace::Space space, bool balance);
    MPoint rotatePivot(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setRotatePivot(const MPoint& point, MSpace::Space space, bool balance);
    MVector scalePivotTranslation(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setScalePivotTranslation(const MVector& vector, MSpace::Space space);
    MVector rotatePivotTranslation(MSpace::Space space, MStatus* status = nullptr) const;
    MStatus setRotatePivotTranslation(const MVector& vector, MSpace::Space space);

    // The matrices agree within tolerance, component by component.
    bool isEquivalent(const MTransformationMatrix& other,
                      double tolerance = MTransformationMatrix_kTol) const;
    bool operator==(const MTransformationMatrix& other) const;
    bool operator!=(const MTransformationMatrix& other) const { return !(*this == other); }

    static const MTransformationMatrix identity;

  private:
    MVector translate_, scalePivotTranslate_, rotatePivotTranslate_;
    MPoint scalePivot_, rotatePivot_;
    double scale_[3] = {1.0, 1.0, 1.0};
    double shear_[3] = {0.0, 0.0, 0.0};
    MEulerRotation rotation_;
    MQuaternion orientation_;
};

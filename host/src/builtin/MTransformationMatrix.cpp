// MTransformationMatrix: a transformation kept as its parts.

#include "builtin/transformNode.h"
#include "graph/statusOut.h"

#include <maya/MTransformationMatrix.h>

#include <cmath>

using host::report;
using host::scaleMatrix;
using host::translationMatrix;

namespace {

MMatrix shearing(const double sh[3]) {
    MMatrix m;
    m(1, 0) = sh[0];
    m(2, 0) = sh[1];
    m(2, 1) = sh[2];
    return m;
}

MVector row(const MMatrix& m, unsigned int r) {
    return MVector(m(r, 0), m(r, 1), m(r, 2));
}

// A unit vector along v, or `fallback` when v has no length.
MVector unitOr(const MVector& v, const MVector& fallback, double& length) {
    length = v.length();
    return length > 1e-300 ? v / length : fallback;
}

} // namespace

const MTransformationMatrix MTransformationMatrix::identity;

MTransformationMatrix::MTransformationMatrix(const MMatrix& source) {
    *this = source;
}

MTransformationMatrix& MTransformationMatrix::operator=(const MMatrix& source) {
    *this = MTransformationMatrix();
    translate_ = MVector(source(3, 0), source(3, 1), source(3, 2));
    // Rows: r0 = sx R0, r1 = sy (xy R0 + R1), r2 = sz (xz R0 + yz R1 + R2).
    const MVector r0 = row(source, 0), r1 = row(source, 1), r2 = row(source, 2);
    double sx = 0.0, sy = 0.0, sz = 0.0;
    MVector x = unitOr(r0, MVector::xAxis, sx);
    const double a = r1 * x;
    MVector y = unitOr(r1 - x * a,
                       (MVector::zAxis ^ x).length() > 0.5 ? (MVector::zAxis ^ x).normal()
                                                           : (x ^ MVector::xAxis).normal(),
                       sy);
    const double b = r2 * x, c = r2 * y;
    MVector z = unitOr(r2 - x * b - y * c, x ^ y, sz);
    if (((x ^ y) * z) < 0.0) {
        sz = -sz;
        z = -z;
    }
    scale_[0] = sx;
    scale_[1] = sy;
    scale_[2] = sz;
    shear_[0] = sy != 0.0 ? a / sy : 0.0;
    shear_[1] = sz != 0.0 ? b / sz : 0.0;
    shear_[2] = sz != 0.0 ? c / sz : 0.0;
    MMatrix rotationMatrix;
    const MVector axes[3] = {x, y, z};
    for (unsigned int r = 0; r < 3; ++r) {
        rotationMatrix(r, 0) = axes[r].x;
        rotationMatrix(r, 1) = axes[r].y;
        rotationMatrix(r, 2) = axes[r].z;
    }
    rotation_ = MEulerRotation::decompose(rotationMatrix, MEulerRotation::kXYZ);
    return *this;
}

MMatrix MTransformationMatrix::asMatrix() const {
    return asMatrix(1.0);
}

MMatrix MTransformationMatrix::asMatrix(double percent) const {
    const double s[3] = {1.0 + (scale_[0] - 1.0) * percent, 1.0 + (scale_[1] - 1.0) * percent,
                         1.0 + (scale_[2] - 1.0) * percent};
    const double sh[3] = {shear_[0] * percent, shear_[1] * percent, shear_[2] * percent};
    const MMatrix SP = translationMatrix(scalePivot_.x, scalePivot_.y, scalePivot_.z);
    const MMatrix RP = translationMatrix(rotatePivot_.x, rotatePivot_.y, rotatePivot_.z);
    const MMatrix ST =
        translationMatrix(scalePivotTranslate_.x, scalePivotTranslate_.y, scalePivotTranslate_.z);
    const MMatrix RT = translationMatrix(rotatePivotTranslate_.x, rotatePivotTranslate_.y,
                                         rotatePivotTranslate_.z);
    const MMatrix T =
        translationMatrix(translate_.x * percent, translate_.y * percent, translate_.z * percent);
    const MMatrix R = (rotation_ * percent).asMatrix();
    const MMatrix RA = orientation_.asMatrix();
    return SP.inverse() * scaleMatrix(s[0], s[1], s[2]) * shearing(sh) * SP * ST * RP.inverse() *
           RA * R * RP * RT * T;
}

MMatrix MTransformationMatrix::asMatrixInverse() const {
    return asMatrix().inverse();
}

MMatrix MTransformationMatrix::asScaleMatrix() const {
    const MMatrix SP = translationMatrix(scalePivot_.x, scalePivot_.y, scalePivot_.z);
    const MMatrix ST =
        translationMatrix(scalePivotTranslate_.x, scalePivotTranslate_.y, scalePivotTranslate_.z);
    return SP.inverse() * scaleMatrix(scale_[0], scale_[1], scale_[2]) * shearing(shear_) * SP * ST;
}

MMatrix MTransformationMatrix::asRotateMatrix() const {
    const MMatrix RP = translationMatrix(rotatePivot_.x, rotatePivot_.y, rotatePivot_.z);
    const MMatrix RT = translationMatrix(rotatePivotTranslate_.x, rotatePivotTranslate_.y,
                                         rotatePivotTranslate_.z);
    return RP.inverse() * orientation_.asMatrix() * rotation_.asMatrix() * RP * RT;
}

MVector MTransformationMatrix::getTranslation(MSpace::Space, MStatus* status) const {
    report(status, MS::kSuccess);
    return translate_;
}

MVector MTransformationMatrix::translation(MSpace::Space space, MStatus* status) const {
    return getTranslation(space, status);
}

MStatus MTransformationMatrix::setTranslation(const MVector& vector, MSpace::Space) {
    translate_ = vector;
    return MS::kSuccess;
}

MStatus MTransformationMatrix::addTranslation(const MVector& vector, MSpace::Space) {
    translate_ += vector;
    return MS::kSuccess;
}

MStatus MTransformationMatrix::getScale(double scale[3], MSpace::Space) const {
    for (int i = 0; i < 3; ++i)
        scale[i] = scale_[i];
    return MS::kSuccess;
}

MStatus MTransformationMatrix::setScale(const double scale[3], MSpace::Space) {
    for (int i = 0; i < 3; ++i)
        scale_[i] = scale[i];
    return MS::kSuccess;
}

MStatus MTransformationMatrix::getShear(double shear[3], MSpace::Space) const {
    for (int i = 0; i < 3; ++i)
        shear[i] = shear_[i];
    return MS::kSuccess;
}

MStatus MTransformationMatrix::setShear(const double shear[3], MSpace::Space) {
    for (int i = 0; i < 3; ++i)
        shear_[i] = shear[i];
    return MS::kSuccess;
}

MQuaternion MTransformationMatrix::rotation() const {
    return rotation_.asQuaternion();
}

MEulerRotation MTransformationMatrix::eulerRotation() const {
    return rotation_;
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MQuaternion& q) {
    rotation_ = MEulerRotation::decompose(q.asMatrix(), rotation_.order);
    return *this;
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MEulerRotation& rotation) {
    rotation_ = rotation;
    return *this;
}

MStatus MTransformationMatrix::getRotation(double rotation[3], RotationOrder& order) const {
    rotation[0] = rotation_.x;
    rotation[1] = rotation_.y;
    rotation[2] = rotation_.z;
    order = static_cast<RotationOrder>(rotation_.order + 1);
    return MS::kSuccess;
}

MStatus MTransformationMatrix::setRotation(const double rotation[3], RotationOrder order) {
    if (order <= kInvalid || order >= kLast)
        return MS::kInvalidParameter;
    rotation_ = MEulerRotation(rotation[0], rotation[1], rotation[2],
                               static_cast<MEulerRotation::RotationOrder>(order - 1));
    return MS::kSuccess;
}

MTransformationMatrix::RotationOrder MTransformationMatrix::rotationOrder(MStatus* status) const {
    report(status, MS::kSuccess);
    return static_cast<RotationOrder>(rotation_.order + 1);
}

MStatus MTransformationMatrix::reorderRotation(const RotationOrder& order) {
    if (order <= kInvalid || order >= kLast)
        return MS::kInvalidParameter;
    rotation_.reorderIt(static_cast<MEulerRotation::RotationOrder>(order - 1));
    return MS::kSuccess;
}

MQuaternion MTransformationMatrix::rotationOrientation() const {
    return orientation_;
}

MTransformationMatrix& MTransformationMatrix::setRotationOrientation(const MQuaternion& q) {
    orientation_ = q;
    return *this;
}

MPoint MTransformationMatrix::scalePivot(MSpace::Space, MStatus* status) const {
    report(status, MS::kSuccess);
    return scalePivot_;
}

MStatus MTransformationMatrix::setScalePivot(const MPoint& point, MSpace::Space, bool) {
    scalePivot_ = point;
    return MS::kSuccess;
}

MPoint MTransformationMatrix::rotatePivot(MSpace::Space, MStatus* status) const {
    report(status, MS::kSuccess);
    return rotatePivot_;
}

MStatus MTransformationMatrix::setRotatePivot(const MPoint& point, MSpace::Space, bool) {
    rotatePivot_ = point;
    return MS::kSuccess;
}

MVector MTransformationMatrix::scalePivotTranslation(MSpace::Space, MStatus* status) const {
    report(status, MS::kSuccess);
    return scalePivotTranslate_;
}

MStatus MTransformationMatrix::setScalePivotTranslation(const MVector& vector, MSpace::Space) {
    scalePivotTranslate_ = vector;
    return MS::kSuccess;
}

MVector MTransformationMatrix::rotatePivotTranslation(MSpace::Space, MStatus* status) const {
    report(status, MS::kSuccess);
    return rotatePivotTranslate_;
}

MStatus MTransformationMatrix::setRotatePivotTranslation(const MVector& vector, MSpace::Space) {
    rotatePivotTranslate_ = vector;
    return MS::kSuccess;
}

bool MTransformationMatrix::isEquivalent(const MTransformationMatrix& other,
                                         double tolerance) const {
    return asMatrix().isEquivalent(other.asMatrix(), tolerance);
}

bool MTransformationMatrix::operator==(const MTransformationMatrix& other) const {
    return asMatrix() == other.asMatrix();
}

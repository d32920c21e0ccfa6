#include <maya/MVector.h>

#include <maya/MEulerRotation.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>

#include <cmath>
#include <ostream>

const MVector MVector::zero(0.0, 0.0, 0.0);
const MVector MVector::one(1.0, 1.0, 1.0);
const MVector MVector::xAxis(1.0, 0.0, 0.0);
const MVector MVector::yAxis(0.0, 1.0, 0.0);
const MVector MVector::zAxis(0.0, 0.0, 1.0);
const MVector MVector::xNegAxis(-1.0, 0.0, 0.0);
const MVector MVector::yNegAxis(0.0, -1.0, 0.0);
const MVector MVector::zNegAxis(0.0, 0.0, -1.0);

MVector::MVector(const MFloatVector& other) : x(other.x), y(other.y), z(other.z) {}
MVector::MVector(const MPoint& other) : x(other.x), y(other.y), z(other.z) {}
MVector::MVector(const MFloatPoint& other) : x(other.x), y(other.y), z(other.z) {}

MVector MVector::operator*(const MMatrix& m) const {
    const auto& a = m.matrix;
    return MVector(x * a[0][0] + y * a[1][0] + z * a[2][0], x * a[0][1] + y * a[1][1] + z * a[2][1],
                   x * a[0][2] + y * a[1][2] + z * a[2][2]);
}

MVector& MVector::operator*=(const MMatrix& m) {
    return *this = *this * m;
}

MVector operator*(const MMatrix& m, const MVector& v) {
    const auto& a = m.matrix;
    return MVector(a[0][0] * v.x + a[0][1] * v.y + a[0][2] * v.z,
                   a[1][0] * v.x + a[1][1] * v.y + a[1][2] * v.z,
                   a[2][0] * v.x + a[2][1] * v.y + a[2][2] * v.z);
}

MVector MVector::rotateBy(double qx, double qy, double qz, double qw) const {
    // q v q* expanded; exact for any q, so a non-unit q also scales by |q|^2.
    const MVector u(qx, qy, qz);
    const MVector& v = *this;
    return v * (qw * qw - u * u) + u * (2.0 * (u * v)) + (u ^ v) * (2.0 * qw);
}

MVector MVector::rotateBy(Axis axis, double angle) const {
    switch (axis) {
    case kXaxis:
        return rotateBy(MQuaternion(angle, xAxis));
    case kYaxis:
        return rotateBy(MQuaternion(angle, yAxis));
    case kZaxis:
        return rotateBy(MQuaternion(angle, zAxis));
    default:
        return *this;
    }
}

MVector MVector::rotateBy(const MQuaternion& q) const {
    return rotateBy(q.x, q.y, q.z, q.w);
}

MVector MVector::rotateBy(const MEulerRotation& e) const {
    return *this * e.asMatrix();
}

MQuaternion MVector::rotateTo(const MVector& target) const {
    return MQuaternion(*this, target);
}

MStatus MVector::get(double dest[3]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    return MS::kSuccess;
}

double MVector::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

MVector MVector::normal() const {
    MVector n(*this);
    n.normalize();
    return n;
}

MStatus MVector::normalize() {
    const double sq = x * x + y * y + z * z;
    if (sq > 1e-20) {
        const double inv = 1.0 / std::sqrt(sq);
        x *= inv;
        y *= inv;
        z *= inv;
    }
    return MS::kSuccess;
}

double MVector::angle(const MVector& other) const {
    // atan2 keeps precision near 0 and pi, where acos of the dot product does not.
    const double c = (*this ^ other).length();
    const double d = *this * other;
    if (c == 0.0 && d == 0.0)
        return 0.0;
    return std::atan2(c, d);
}

bool MVector::isEquivalent(const MVector& other, double tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance;
}

bool MVector::isParallel(const MVector& other, double tolerance) const {
    const MVector a = normal();
    const MVector b = other.normal();
    return (a ^ b).length() <= tolerance && a * a > 0.0 && b * b > 0.0;
}

MVector MVector::transformAsNormal(const MMatrix& matrix) const {
    return (*this * matrix.inverse().transpose()).normal();
}

std::ostream& operator<<(std::ostream& os, const MVector& v) {
    return os << '[' << v.x << ", " << v.y << ", " << v.z << ']';
}

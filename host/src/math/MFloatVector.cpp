#include <maya/MFloatVector.h>

#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MFloatVector MFloatVector::zero(0.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::one(1.0f, 1.0f, 1.0f);
const MFloatVector MFloatVector::xAxis(1.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::yAxis(0.0f, 1.0f, 0.0f);
const MFloatVector MFloatVector::zAxis(0.0f, 0.0f, 1.0f);
const MFloatVector MFloatVector::xNegAxis(-1.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::yNegAxis(0.0f, -1.0f, 0.0f);
const MFloatVector MFloatVector::zNegAxis(0.0f, 0.0f, -1.0f);

MFloatVector::MFloatVector(const MVector& other)
    : x(float(other.x)), y(float(other.y)), z(float(other.z)) {}
MFloatVector::MFloatVector(const MFloatPoint& other) : x(other.x), y(other.y), z(other.z) {}

MFloatVector MFloatVector::operator*(const MFloatMatrix& m) const {
    const auto& a = m.matrix;
    return MFloatVector(x * a[0][0] + y * a[1][0] + z * a[2][0],
                        x * a[0][1] + y * a[1][1] + z * a[2][1],
                        x * a[0][2] + y * a[1][2] + z * a[2][2]);
}

MFloatVector& MFloatVector::operator*=(const MFloatMatrix& m) {
    return *this = *this * m;
}

MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v) {
    const auto& a = m.matrix;
    return MFloatVector(a[0][0] * v.x + a[0][1] * v.y + a[0][2] * v.z,
                        a[1][0] * v.x + a[1][1] * v.y + a[1][2] * v.z,
                        a[2][0] * v.x + a[2][1] * v.y + a[2][2] * v.z);
}

MStatus MFloatVector::get(float dest[3]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    return MS::kSuccess;
}

float MFloatVector::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

MFloatVector MFloatVector::normal() const {
    MFloatVector n(*this);
    n.normalize();
    return n;
}

MStatus MFloatVector::normalize() {
    const float sq = x * x + y * y + z * z;
    if (sq > 1e-20f) {
        const float inv = 1.0f / std::sqrt(sq);
        x *= inv;
        y *= inv;
        z *= inv;
    }
    return MS::kSuccess;
}

float MFloatVector::angle(const MFloatVector& other) const {
    // atan2 keeps precision near 0 and pi, where acos of the dot product does not.
    const float c = (*this ^ other).length();
    const float d = *this * other;
    if (c == 0.0f && d == 0.0f)
        return 0.0f;
    return std::atan2(c, d);
}

bool MFloatVector::isEquivalent(const MFloatVector& other, float tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance;
}

bool MFloatVector::isParallel(const MFloatVector& other, float tolerance) const {
    const MFloatVector a = normal();
    const MFloatVector b = other.normal();
    return (a ^ b).length() <= tolerance && a * a > 0.0f && b * b > 0.0f;
}

MFloatVector MFloatVector::transformAsNormal(const MFloatMatrix& matrix) const {
    return (*this * matrix.inverse().transpose()).normal();
}

std::ostream& operator<<(std::ostream& os, const MFloatVector& v) {
    return os << '[' << v.x << ", " << v.y << ", " << v.z << ']';
}

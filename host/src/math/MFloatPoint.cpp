#include <maya/MFloatPoint.h>

#include <maya/MFloatMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MFloatPoint MFloatPoint::origin(0.0f, 0.0f, 0.0f, 1.0f);

MStatus MFloatPoint::setCast(const MPoint& p) {
    x = float(p.x);
    y = float(p.y);
    z = float(p.z);
    w = float(p.w);
    return MS::kSuccess;
}

MStatus MFloatPoint::setCast(const MVector& v) {
    x = float(v.x);
    y = float(v.y);
    z = float(v.z);
    w = 1.0f;
    return MS::kSuccess;
}

MStatus MFloatPoint::setCast(const double d[4]) {
    if (!d)
        return MS::kInvalidParameter;
    *this = MFloatPoint(d);
    return MS::kSuccess;
}

MFloatPoint MFloatPoint::operator*(const MFloatMatrix& m) const {
    const auto& a = m.matrix;
    return MFloatPoint(x * a[0][0] + y * a[1][0] + z * a[2][0] + w * a[3][0],
                       x * a[0][1] + y * a[1][1] + z * a[2][1] + w * a[3][1],
                       x * a[0][2] + y * a[1][2] + z * a[2][2] + w * a[3][2],
                       x * a[0][3] + y * a[1][3] + z * a[2][3] + w * a[3][3]);
}

MFloatPoint& MFloatPoint::operator*=(const MFloatMatrix& m) {
    return *this = *this * m;
}

MFloatPoint operator*(const MFloatMatrix& m, const MFloatPoint& p) {
    const auto& a = m.matrix;
    return MFloatPoint(a[0][0] * p.x + a[0][1] * p.y + a[0][2] * p.z + a[0][3] * p.w,
                       a[1][0] * p.x + a[1][1] * p.y + a[1][2] * p.z + a[1][3] * p.w,
                       a[2][0] * p.x + a[2][1] * p.y + a[2][2] * p.z + a[2][3] * p.w,
                       a[3][0] * p.x + a[3][1] * p.y + a[3][2] * p.z + a[3][3] * p.w);
}

MStatus MFloatPoint::get(float dest[4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    dest[3] = w;
    return MS::kSuccess;
}

MStatus MFloatPoint::get(double dest[4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    dest[3] = w;
    return MS::kSuccess;
}

MFloatPoint& MFloatPoint::cartesianize() {
    // w = 0 is a direction: there is nothing to divide by.
    if (w != 0.0f && w != 1.0f) {
        x /= w;
        y /= w;
        z /= w;
        w = 1.0f;
    }
    return *this;
}

MFloatPoint& MFloatPoint::rationalize() {
    if (w != 0.0f && w != 1.0f) {
        x /= w;
        y /= w;
        z /= w;
    }
    return *this;
}

MFloatPoint& MFloatPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}

float MFloatPoint::distanceTo(const MFloatPoint& other) const {
    return (*this - other).length();
}

bool MFloatPoint::isEquivalent(const MFloatPoint& other, float tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance && std::fabs(w - other.w) <= tolerance;
}

std::ostream& operator<<(std::ostream& os, const MFloatPoint& p) {
    return os << '[' << p.x << ", " << p.y << ", " << p.z << ", " << p.w << ']';
}

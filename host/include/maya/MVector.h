#pragma once
// Double-precision 3D vector. Vectors are rows: v * M transforms by M and ignores translation.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MFloatVector;
class MPoint;
class MFloatPoint;
class MMatrix;
class MQuaternion;
class MEulerRotation;

#define MVector_kTol 1.0e-10

class OPENMAYA_EXPORT MVector {
  public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MVector() : x(0.0), y(0.0), z(0.0) {}
    constexpr MVector(double xx, double yy, double zz = 0.0) : x(xx), y(yy), z(zz) {}
    MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MVector(const float d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MVector(const MFloatVector& other);
    // Drops w: a point with w != 1 is not divided through first.
    MVector(const MPoint& other);
    MVector(const MFloatPoint& other);
    MVector(const MVector&) = default;
    MVector& operator=(const MVector&) = default;

    double operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    double operator[](unsigned int i) const { return (*this)(i); }
    double& operator[](unsigned int i) { return (*this)(i); }

    // Cross product.
    MVector operator^(const MVector& r) const {
        return MVector(y * r.z - z * r.y, z * r.x - x * r.z, x * r.y - y * r.x);
    }
    // Dot product.
    double operator*(const MVector& r) const { return x * r.x + y * r.y + z * r.z; }

    MVector operator*(double s) const { return MVector(x * s, y * s, z * s); }
    MVector& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    MVector operator/(double s) const { return MVector(x / s, y / s, z / s); }
    MVector& operator/=(double s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    MVector operator+(const MVector& r) const { return MVector(x + r.x, y + r.y, z + r.z); }
    MVector& operator+=(const MVector& r) {
        x += r.x;
        y += r.y;
        z += r.z;
        return *this;
    }
    MVector operator-() const { return MVector(-x, -y, -z); }
    MVector operator-(const MVector& r) const { return MVector(x - r.x, y - r.y, z - r.z); }
    MVector& operator-=(const MVector& r) {
        x -= r.x;
        y -= r.y;
        z -= r.z;
        return *this;
    }

    // Row vector times matrix: the upper 3x3 only.
    MVector operator*(const MMatrix& m) const;
    MVector& operator*=(const MMatrix& m);

    bool operator==(const MVector& r) const { return x == r.x && y == r.y && z == r.z; }
    bool operator!=(const MVector& r) const { return !(*this == r); }

    // q v q*, with (x, y, z, w) the quaternion's components.
    MVector rotateBy(double qx, double qy, double qz, double qw) const;
    MVector rotateBy(Axis axis, double angle) const;
    MVector rotateBy(const MQuaternion& q) const;
    MVector rotateBy(const MEulerRotation& e) const;
    // The shortest-arc rotation taking this direction onto target.
    MQuaternion rotateTo(const MVector& target) const;

    MStatus get(double dest[3]) const;
    double length() const;
    MVector normal() const;
    // Leaves a (near) zero vector as it is; always succeeds.
    MStatus normalize();
    // Angle to other in radians, 0..pi; 0 when either is zero.
    double angle(const MVector& other) const;
    // Component-wise absolute tolerance.
    bool isEquivalent(const MVector& other, double tolerance = MVector_kTol) const;
    bool isParallel(const MVector& other, double tolerance = MVector_kTol) const;
    // Transformed by the inverse transpose of matrix, then normalised.
    MVector transformAsNormal(const MMatrix& matrix) const;

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;

    double x;
    double y;
    double z;
};

inline MVector operator*(int s, const MVector& v) {
    return v * double(s);
}
inline MVector operator*(short s, const MVector& v) {
    return v * double(s);
}
inline MVector operator*(unsigned int s, const MVector& v) {
    return v * double(s);
}
inline MVector operator*(unsigned short s, const MVector& v) {
    return v * double(s);
}
inline MVector operator*(float s, const MVector& v) {
    return v * double(s);
}
inline MVector operator*(double s, const MVector& v) {
    return v * s;
}
// Column-vector form: M * v uses the matrix's transpose.
OPENMAYA_EXPORT MVector operator*(const MMatrix& m, const MVector& v);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MVector& v);

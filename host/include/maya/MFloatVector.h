#pragma once
// Single-precision 3D vector; all arithmetic stays in float, as in Maya.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MVector;
class MFloatPoint;
class MFloatMatrix;

#define MFloatVector_kTol 1.0e-5F

class OPENMAYA_EXPORT MFloatVector {
  public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MFloatVector() : x(0.0f), y(0.0f), z(0.0f) {}
    constexpr MFloatVector(float xx, float yy, float zz = 0.0f) : x(xx), y(yy), z(zz) {}
    MFloatVector(const float d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MFloatVector(const double d[3]) : x(float(d[0])), y(float(d[1])), z(float(d[2])) {}
    MFloatVector(const MVector& other);
    // Drops w.
    MFloatVector(const MFloatPoint& other);
    MFloatVector(const MFloatVector&) = default;
    MFloatVector& operator=(const MFloatVector&) = default;

    float operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    float& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](unsigned int i) const { return (*this)(i); }
    float& operator[](unsigned int i) { return (*this)(i); }

    // Cross product.
    MFloatVector operator^(const MFloatVector& r) const {
        return MFloatVector(y * r.z - z * r.y, z * r.x - x * r.z, x * r.y - y * r.x);
    }
    // Dot product.
    float operator*(const MFloatVector& r) const { return x * r.x + y * r.y + z * r.z; }

    MFloatVector operator*(float s) const { return MFloatVector(x * s, y * s, z * s); }
    MFloatVector& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    MFloatVector operator/(float s) const { return MFloatVector(x / s, y / s, z / s); }
    MFloatVector& operator/=(float s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    MFloatVector operator+(const MFloatVector& r) const {
        return MFloatVector(x + r.x, y + r.y, z + r.z);
    }
    MFloatVector& operator+=(const MFloatVector& r) {
        x += r.x;
        y += r.y;
        z += r.z;
        return *this;
    }
    MFloatVector operator-() const { return MFloatVector(-x, -y, -z); }
    MFloatVector operator-(const MFloatVector& r) const {
        return MFloatVector(x - r.x, y - r.y, z - r.z);
    }
    MFloatVector& operator-=(const MFloatVector& r) {
        x -= r.x;
        y -= r.y;
        z -= r.z;
        return *this;
    }

    // Row vector times matrix: the upper 3x3 only.
    MFloatVector operator*(const MFloatMatrix& m) const;
    MFloatVector& operator*=(const MFloatMatrix& m);

    bool operator==(const MFloatVector& r) const { return x == r.x && y == r.y && z == r.z; }
    bool operator!=(const MFloatVector& r) const { return !(*this == r); }

    MStatus get(float dest[3]) const;
    float length() const;
    MFloatVector normal() const;
    // Leaves a (near) zero vector as it is; always succeeds.
    MStatus normalize();
    // Angle to other in radians, 0..pi; 0 when either is zero.
    float angle(const MFloatVector& other) const;
    // Component-wise absolute tolerance.
    bool isEquivalent(const MFloatVector& other, float tolerance = MFloatVector_kTol) const;
    bool isParallel(const MFloatVector& other, float tolerance = MFloatVector_kTol) const;
    // Transformed by the inverse transpose of matrix, then normalised.
    MFloatVector transformAsNormal(const MFloatMatrix& matrix) const;

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;
    static const MFloatVector xNegAxis;
    static const MFloatVector yNegAxis;
    static const MFloatVector zNegAxis;

    float x;
    float y;
    float z;
};

inline MFloatVector operator*(int s, const MFloatVector& v) {
    return v * float(s);
}
inline MFloatVector operator*(short s, const MFloatVector& v) {
    return v * float(s);
}
inline MFloatVector operator*(unsigned int s, const MFloatVector& v) {
    return v * float(s);
}
inline MFloatVector operator*(unsigned short s, const MFloatVector& v) {
    return v * float(s);
}
inline MFloatVector operator*(float s, const MFloatVector& v) {
    return v * s;
}
inline MFloatVector operator*(double s, const MFloatVector& v) {
    return v * float(s);
}
// Column-vector form: M * v uses the matrix's transpose.
OPENMAYA_EXPORT MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatVector& v);

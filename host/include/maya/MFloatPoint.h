#pragma once
// Single-precision homogeneous point (x, y, z, w), w = 1 for ordinary points; arithmetic stays
// in float, as in Maya.

#include <maya/MFloatVector.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MPoint;
class MVector;
class MFloatMatrix;

#define MFloatPoint_kTol 1.0e-5F

class OPENMAYA_EXPORT MFloatPoint {
  public:
    constexpr MFloatPoint() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    constexpr MFloatPoint(float xx, float yy, float zz = 0.0f, float ww = 1.0f)
        : x(xx), y(yy), z(zz), w(ww) {}
    MFloatPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MFloatPoint(const double d[4])
        : x(float(d[0])), y(float(d[1])), z(float(d[2])), w(float(d[3])) {}
    MFloatPoint(const MFloatVector& v) : x(v.x), y(v.y), z(v.z), w(1.0f) {}
    MFloatPoint(const MFloatPoint&) = default;
    MFloatPoint& operator=(const MFloatPoint&) = default;

    // The 2011-2013 devkits convert from double precision only through setCast.
    MStatus setCast(const MPoint& p);
    // w = 1.
    MStatus setCast(const MVector& v);
    MStatus setCast(const double d[4]);

    float operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    float& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    float operator[](unsigned int i) const { return (*this)(i); }
    float& operator[](unsigned int i) { return (*this)(i); }

    // Cartesian difference; w is not consulted.
    MFloatVector operator-(const MFloatPoint& r) const {
        return MFloatVector(x - r.x, y - r.y, z - r.z);
    }
    // Moving a point keeps its w.
    MFloatPoint operator+(const MFloatVector& v) const {
        return MFloatPoint(x + v.x, y + v.y, z + v.z, w);
    }
    MFloatPoint operator-(const MFloatVector& v) const {
        return MFloatPoint(x - v.x, y - v.y, z - v.z, w);
    }
    MFloatPoint& operator+=(const MFloatVector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    MFloatPoint& operator-=(const MFloatVector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    // Scales x, y, z; w is kept.
    MFloatPoint operator*(float s) const { return MFloatPoint(x * s, y * s, z * s, w); }
    MFloatPoint& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    MFloatPoint operator/(float s) const { return MFloatPoint(x / s, y / s, z / s, w); }
    MFloatPoint& operator/=(float s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    // Full homogeneous product: all four components, no division by w.
    MFloatPoint operator*(const MFloatMatrix& m) const;
    MFloatPoint& operator*=(const MFloatMatrix& m);

    bool operator==(const MFloatPoint& r) const {
        return x == r.x && y == r.y && z == r.z && w == r.w;
    }
    bool operator!=(const MFloatPoint& r) const { return !(*this == r); }

    MStatus get(float dest[4]) const;
    MStatus get(double dest[4]) const;
    // Divides x, y, z by w and sets w to 1.
    MFloatPoint& cartesianize();
    // Divides x, y, z by w, keeping w.
    MFloatPoint& rationalize();
    // Multiplies x, y, z by w, keeping w.
    MFloatPoint& homogenize();
    float distanceTo(const MFloatPoint& other) const;
    // Component-wise absolute tolerance, w included.
    bool isEquivalent(const MFloatPoint& other, float tolerance = MFloatPoint_kTol) const;

    static const MFloatPoint origin;

    float x;
    float y;
    float z;
    float w;
};

// Column-vector form: M * p uses the matrix's transpose.
OPENMAYA_EXPORT MFloatPoint operator*(const MFloatMatrix& m, const MFloatPoint& p);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatPoint& p);

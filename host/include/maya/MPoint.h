#pragma once
// Double-precision homogeneous point (x, y, z, w); w is 1 for ordinary points. Points are rows:
// p * M applies the matrix, translation included.

#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <iosfwd>

class MFloatPoint;
class MFloatVector;
class MMatrix;

#define MPoint_kTol 1.0e-10

class OPENMAYA_EXPORT MPoint {
  public:
    constexpr MPoint() : x(0.0), y(0.0), z(0.0), w(1.0) {}
    constexpr MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0)
        : x(xx), y(yy), z(zz), w(ww) {}
    MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MPoint(const MVector& v) : x(v.x), y(v.y), z(v.z), w(1.0) {}
    MPoint(const MFloatVector& v);
    MPoint(const MFloatPoint& p);
    MPoint(const MPoint&) = default;
    MPoint& operator=(const MPoint&) = default;

    double operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    double& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    double operator[](unsigned int i) const { return (*this)(i); }
    double& operator[](unsigned int i) { return (*this)(i); }

    // Cartesian difference; w is not consulted.
    MVector operator-(const MPoint& r) const { return MVector(x - r.x, y - r.y, z - r.z); }
    // Moving a point keeps its w.
    MPoint operator+(const MVector& v) const { return MPoint(x + v.x, y + v.y, z + v.z, w); }
    MPoint operator-(const MVector& v) const { return MPoint(x - v.x, y - v.y, z - v.z, w); }
    MPoint& operator+=(const MVector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    MPoint& operator-=(const MVector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    // Scales x, y, z; w is kept.
    MPoint operator*(double s) const { return MPoint(x * s, y * s, z * s, w); }
    MPoint& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    MPoint operator/(double s) const { return MPoint(x / s, y / s, z / s, w); }
    MPoint& operator/=(double s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    // Full homogeneous product: all four components, no division by w.
    MPoint operator*(const MMatrix& m) const;
    MPoint& operator*=(const MMatrix& m);

    bool operator==(const MPoint& r) const { return x == r.x && y == r.y && z == r.z && w == r.w; }
    bool operator!=(const MPoint& r) const { return !(*this == r); }

    MStatus get(double dest[4]) const;
    MStatus get(float dest[4]) const;
    // Divides x, y, z by w and sets w to 1.
    MPoint& cartesianize();
    // Divides x, y, z by w, keeping w.
    MPoint& rationalize();
    // Multiplies x, y, z by w, keeping w.
    MPoint& homogenize();
    double distanceTo(const MPoint& other) const;
    // Component-wise absolute tolerance, w included.
    bool isEquivalent(const MPoint& other, double tolerance = MPoint_kTol) const;

    static const MPoint origin;

    double x;
    double y;
    double z;
    double w;
};

// Column-vector form: M * p uses the matrix's transpose.
OPENMAYA_EXPORT MPoint operator*(const MMatrix& m, const MPoint& p);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MPoint& p);

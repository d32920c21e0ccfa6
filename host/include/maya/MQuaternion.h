#pragma once
// Rotation quaternion (x, y, z, w), w the scalar part. MQuaternion(angle, axis) is a right-handed
// rotation of angle radians. As with matrices acting on row vectors, a * b means "a, then b":
// v.rotateBy(a * b) == v.rotateBy(a).rotateBy(b) and (a * b).asMatrix() == a.asMatrix() *
// b.asMatrix().

#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <iosfwd>

class MMatrix;
class MEulerRotation;

#define kQuaternionEpsilon 1.0e-10

class OPENMAYA_EXPORT MQuaternion {
  public:
    constexpr MQuaternion() : x(0.0), y(0.0), z(0.0), w(1.0) {}
    constexpr MQuaternion(double xx, double yy, double zz, double ww)
        : x(xx), y(yy), z(zz), w(ww) {}
    MQuaternion(const double q[4]) : x(q[0]), y(q[1]), z(q[2]), w(q[3]) {}
    // The shortest-arc rotation taking direction a onto direction b.
    MQuaternion(const MVector& a, const MVector& b);
    // That rotation with its angle scaled by angleFactor.
    MQuaternion(const MVector& a, const MVector& b, double angleFactor);
    // Right-handed rotation of angle radians; an axis shorter than 1e-10 gives the identity.
    MQuaternion(double angle, const MVector& axis);
    MQuaternion(const MQuaternion&) = default;
    MQuaternion& operator=(const MQuaternion&) = default;
    // The rotation part of a matrix (scale is divided out).
    MQuaternion& operator=(const MMatrix& matrix);
    MQuaternion& operator=(const MEulerRotation& rotation);

    // Row-vector rotation matrix of the normalised quaternion.
    MMatrix asMatrix() const;
    MEulerRotation asEulerRotation() const;
    MQuaternion& setAxisAngle(const MVector& axis, double theta);
    // False for the identity (no unique axis); axis is then (0, 0, 1) and theta 0.
    bool getAxisAngle(MVector& axis, double& theta) const;
    MQuaternion& setToXAxis(double theta);
    MQuaternion& setToYAxis(double theta);
    MQuaternion& setToZAxis(double theta);
    MStatus get(double dest[4]) const;

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }

    MQuaternion operator+(const MQuaternion& r) const {
        return MQuaternion(x + r.x, y + r.y, z + r.z, w + r.w);
    }
    MQuaternion operator-(const MQuaternion& r) const {
        return MQuaternion(x - r.x, y - r.y, z - r.z, w - r.w);
    }
    MQuaternion operator-() const { return MQuaternion(-x, -y, -z, -w); }
    // This rotation followed by r.
    MQuaternion operator*(const MQuaternion& r) const;
    MQuaternion& operator*=(const MQuaternion& r);

    bool operator==(const MQuaternion& r) const {
        return x == r.x && y == r.y && z == r.z && w == r.w;
    }
    bool operator!=(const MQuaternion& r) const { return !(*this == r); }
    // Component-wise; q and -q are the same rotation but not equivalent here.
    bool isEquivalent(const MQuaternion& other, double tolerance = kQuaternionEpsilon) const;

    MQuaternion& negateIt();
    MQuaternion& scaleIt(double scale);
    MQuaternion normal() const;
    // Leaves a zero quaternion as it is.
    MQuaternion& normalizeIt();
    MQuaternion conjugate() const { return MQuaternion(-x, -y, -z, w); }
    MQuaternion& conjugateIt();
    MQuaternion inverse() const;
    MQuaternion& invertIt();
    MQuaternion log() const;
    MQuaternion exp() const;

    static const MQuaternion identity;

    double x;
    double y;
    double z;
    double w;
};

OPENMAYA_EXPORT MQuaternion operator*(double scale, const MQuaternion& q);
// Spherical interpolation along the arc from p to q as given (no hemisphere flip); each spin
// adds a half turn of the quaternion arc, i.e. a full extra turn of the rotation.
OPENMAYA_EXPORT MQuaternion slerp(const MQuaternion& p, const MQuaternion& q, double t,
                                  short spin = 0);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MQuaternion& q);

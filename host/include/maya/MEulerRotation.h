#pragma once
// Euler angles in radians with an order: kXYZ rotates about x first, then y, then z, so its
// row-vector matrix is Rx * Ry * Rz.

#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <iosfwd>

class MMatrix;
class MQuaternion;

#define kEulerRotationEpsilon 1.0e-10

class OPENMAYA_EXPORT MEulerRotation {
  public:
    enum RotationOrder { kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX };

    constexpr MEulerRotation() : x(0.0), y(0.0), z(0.0), order(kXYZ) {}
    constexpr MEulerRotation(double xx, double yy, double zz, RotationOrder ord = kXYZ)
        : x(xx), y(yy), z(zz), order(ord) {}
    MEulerRotation(const MVector& v, RotationOrder ord = kXYZ)
        : x(v.x), y(v.y), z(v.z), order(ord) {}
    MEulerRotation(const double v[3], RotationOrder ord = kXYZ)
        : x(v[0]), y(v[1]), z(v[2]), order(ord) {}
    MEulerRotation(const MEulerRotation&) = default;
    MEulerRotation& operator=(const MEulerRotation&) = default;
    // These keep this rotation's order.
    MEulerRotation& operator=(const MQuaternion& q);
    MEulerRotation& operator=(const MMatrix& m);
    MEulerRotation& operator=(const MVector& v);

    MEulerRotation& setValue(const MVector& v, RotationOrder ord = kXYZ);
    MEulerRotation& setValue(double xx, double yy, double zz, RotationOrder ord = kXYZ);

    MQuaternion asQuaternion() const;
    MMatrix asMatrix() const;
    MVector asVector() const { return MVector(x, y, z); }

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    // Angle-wise sums and differences; the result has this rotation's order.
    MEulerRotation operator+(const MEulerRotation& r) const;
    MEulerRotation& operator+=(const MEulerRotation& r);
    MEulerRotation operator-(const MEulerRotation& r) const;
    MEulerRotation& operator-=(const MEulerRotation& r);
    MEulerRotation operator-() const { return MEulerRotation(-x, -y, -z, order); }
    // Composition (this, then r), expressed in this rotation's order.
    MEulerRotation operator*(const MEulerRotation& r) const;
    MEulerRotation operator*(const MQuaternion& r) const;
    MEulerRotation& operator*=(const MEulerRotation& r);
    MEulerRotation& operator*=(const MQuaternion& r);
    MEulerRotation operator*(double s) const { return MEulerRotation(x * s, y * s, z * s, order); }
    MEulerRotation& operator*=(double s);

    bool operator==(const MEulerRotation& r) const {
        return x == r.x && y == r.y && z == r.z && order == r.order;
    }
    bool operator!=(const MEulerRotation& r) const { return !(*this == r); }
    // Same order and angles within tolerance (not the same rotation by other angles).
    bool isEquivalent(const MEulerRotation& other, double tolerance = kEulerRotationEpsilon) const;
    bool isZero(double tolerance = kEulerRotationEpsilon) const;

    // Rotates further by angle about a world axis, keeping the angles close to the current ones.
    MEulerRotation& incrementalRotateBy(const MVector& axis, double angle);
    // The reverse rotation, in the reverse order.
    MEulerRotation inverse() const;
    MEulerRotation& invertIt();
    // The same rotation expressed in another order.
    MEulerRotation reorder(RotationOrder ord) const;
    MEulerRotation& reorderIt(RotationOrder ord);
    // Each angle brought into (-pi, pi].
    MEulerRotation bound() const;
    MEulerRotation& boundIt();
    // The other triple (same order, angles in (-pi, pi]) giving the same rotation.
    MEulerRotation alternateSolution() const;
    MEulerRotation& setToAlternateSolution();
    // The triple for this rotation closest, angle by angle, to dst (whole turns added freely).
    MEulerRotation closestSolution(const MEulerRotation& dst) const;
    MEulerRotation& setToClosestSolution(const MEulerRotation& dst);
    // This triple with whole turns added per angle to come closest to dst.
    MEulerRotation closestCut(const MEulerRotation& dst) const;
    MEulerRotation& setToClosestCut(const MEulerRotation& dst);

    // Angles in (-pi, pi] for the rotation part of a matrix; scale is divided out.
    static MEulerRotation decompose(const MMatrix& matrix, RotationOrder ord);

    static const MEulerRotation identity;

    double x;
    double y;
    double z;
    RotationOrder order;
};

OPENMAYA_EXPORT MEulerRotation operator*(double s, const MEulerRotation& r);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MEulerRotation& r);

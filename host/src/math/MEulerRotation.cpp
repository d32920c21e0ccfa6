#include <maya/MEulerRotation.h>

#include <maya/MMatrix.h>
#include <maya/MQuaternion.h>

#include <cfloat>
#include <cmath>
#include <ostream>

const MEulerRotation MEulerRotation::identity(0.0, 0.0, 0.0, MEulerRotation::kXYZ);

namespace {

struct AxisOrder {
    int first, second, third;
    bool even; // (first, second, third) is a cyclic shift of (x, y, z)
};

AxisOrder axesOf(MEulerRotation::RotationOrder ord) {
    switch (ord) {
    case MEulerRotation::kYZX:
        return {1, 2, 0, true};
    case MEulerRotation::kZXY:
        return {2, 0, 1, true};
    case MEulerRotation::kXZY:
        return {0, 2, 1, false};
    case MEulerRotation::kYXZ:
        return {1, 0, 2, false};
    case MEulerRotation::kZYX:
        return {2, 1, 0, false};
    case MEulerRotation::kXYZ:
    default:
        return {0, 1, 2, true};
    }
}

MEulerRotation::RotationOrder reversed(MEulerRotation::RotationOrder ord) {
    switch (ord) {
    case MEulerRotation::kXYZ:
        return MEulerRotation::kZYX;
    case MEulerRotation::kZYX:
        return MEulerRotation::kXYZ;
    case MEulerRotation::kYZX:
        return MEulerRotation::kXZY;
    case MEulerRotation::kXZY:
        return MEulerRotation::kYZX;
    case MEulerRotation::kZXY:
        return MEulerRotation::kYXZ;
    case MEulerRotation::kYXZ:
    default:
        return MEulerRotation::kZXY;
    }
}

// Row-vector rotation of angle radians about axis 0, 1 or 2.
MMatrix axisMatrix(int axis, double angle) {
    MMatrix m;
    const double c = std::cos(angle), s = std::sin(angle);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    m.matrix[a][a] = c;
    m.matrix[a][b] = s;
    m.matrix[b][a] = -s;
    m.matrix[b][b] = c;
    return m;
}

const MVector& axisVector(int axis) {
    return axis == 0 ? MVector::xAxis : (axis == 1 ? MVector::yAxis : MVector::zAxis);
}

// Into (-pi, pi].
double boundAngle(double a) {
    double r = std::remainder(a, 2.0 * M_PI);
    if (r <= -M_PI)
        r += 2.0 * M_PI;
    return r;
}

// a plus the whole number of turns that brings it closest to target.
double closestCutAngle(double a, double target) {
    return a + 2.0 * M_PI * std::round((target - a) / (2.0 * M_PI));
}

double distance(const MEulerRotation& a, const MEulerRotation& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
}

} // namespace

MEulerRotation& MEulerRotation::operator=(const MQuaternion& q) {
    return *this = decompose(q.asMatrix(), order);
}

MEulerRotation& MEulerRotation::operator=(const MMatrix& m) {
    return *this = decompose(m, order);
}

MEulerRotation& MEulerRotation::operator=(const MVector& v) {
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

MEulerRotation& MEulerRotation::setValue(const MVector& v, RotationOrder ord) {
    return setValue(v.x, v.y, v.z, ord);
}

MEulerRotation& MEulerRotation::setValue(double xx, double yy, double zz, RotationOrder ord) {
    x = xx;
    y = yy;
    z = zz;
    order = ord;
    return *this;
}

MQuaternion MEulerRotation::asQuaternion() const {
    const AxisOrder a = axesOf(order);
    return MQuaternion((*this)[a.first], axisVector(a.first)) *
           MQuaternion((*this)[a.second], axisVector(a.second)) *
           MQuaternion((*this)[a.third], axisVector(a.third));
}

MMatrix MEulerRotation::asMatrix() const {
    const AxisOrder a = axesOf(order);
    return axisMatrix(a.first, (*this)[a.first]) * axisMatrix(a.second, (*this)[a.second]) *
           axisMatrix(a.third, (*this)[a.third]);
}

MEulerRotation MEulerRotation::operator+(const MEulerRotation& r) const {
    return MEulerRotation(x + r.x, y + r.y, z + r.z, order);
}

MEulerRotation& MEulerRotation::operator+=(const MEulerRotation& r) {
    return *this = *this + r;
}

MEulerRotation MEulerRotation::operator-(const MEulerRotation& r) const {
    return MEulerRotation(x - r.x, y - r.y, z - r.z, order);
}

MEulerRotation& MEulerRotation::operator-=(const MEulerRotation& r) {
    return *this = *this - r;
}

MEulerRotation MEulerRotation::operator*(const MEulerRotation& r) const {
    return decompose(asMatrix() * r.asMatrix(), order);
}

MEulerRotation MEulerRotation::operator*(const MQuaternion& r) const {
    return decompose(asMatrix() * r.asMatrix(), order);
}

MEulerRotation& MEulerRotation::operator*=(const MEulerRotation& r) {
    return *this = *this * r;
}
MEulerRotation& MEulerRotation::operator*=(const MQuaternion& r) {
    return *this = *this * r;
}
MEulerRotation& MEulerRotation::operator*=(double s) {
    return *this = *this * s;
}

MEulerRotation operator*(double s, const MEulerRotation& r) {
    return r * s;
}

bool MEulerRotation::isEquivalent(const MEulerRotation& other, double tolerance) const {
    return order == other.order && std::fabs(x - other.x) <= tolerance &&
           std::fabs(y - other.y) <= tolerance && std::fabs(z - other.z) <= tolerance;
}

bool MEulerRotation::isZero(double tolerance) const {
    return std::fabs(x) <= tolerance && std::fabs(y) <= tolerance && std::fabs(z) <= tolerance;
}

MEulerRotation& MEulerRotation::incrementalRotateBy(const MVector& axis, double angle) {
    const MEulerRotation previous(*this);
    *this = decompose(asMatrix() * MQuaternion(angle, axis).asMatrix(), order);
    return setToClosestSolution(previous);
}

MEulerRotation MEulerRotation::inverse() const {
    return MEulerRotation(-x, -y, -z, reversed(order));
}

MEulerRotation& MEulerRotation::invertIt() {
    return *this = inverse();
}

MEulerRotation MEulerRotation::reorder(RotationOrder ord) const {
    return decompose(asMatrix(), ord).closestSolution(*this);
}

MEulerRotation& MEulerRotation::reorderIt(RotationOrder ord) {
    return *this = reorder(ord);
}

MEulerRotation MEulerRotation::bound() const {
    return MEulerRotation(boundAngle(x), boundAngle(y), boundAngle(z), order);
}

MEulerRotation& MEulerRotation::boundIt() {
    return *this = bound();
}

MEulerRotation MEulerRotation::alternateSolution() const {
    // R3(c + pi) R2(pi - b) R1(a + pi) equals R3(c) R2(b) R1(a) for every axis order.
    const AxisOrder a = axesOf(order);
    MEulerRotation alt(*this);
    alt[a.first] += M_PI;
    alt[a.second] = M_PI - alt[a.second];
    alt[a.third] += M_PI;
    return alt.bound();
}

MEulerRotation& MEulerRotation::setToAlternateSolution() {
    return *this = alternateSolution();
}

MEulerRotation MEulerRotation::closestSolution(const MEulerRotation& dst) const {
    const MEulerRotation one = bound().closestCut(dst);
    const MEulerRotation two = alternateSolution().closestCut(dst);
    return distance(two, dst) < distance(one, dst) ? two : one;
}

MEulerRotation& MEulerRotation::setToClosestSolution(const MEulerRotation& dst) {
    return *this = closestSolution(dst);
}

MEulerRotation MEulerRotation::closestCut(const MEulerRotation& dst) const {
    return MEulerRotation(closestCutAngle(x, dst.x), closestCutAngle(y, dst.y),
                          closestCutAngle(z, dst.z), order);
}

MEulerRotation& MEulerRotation::setToClosestCut(const MEulerRotation& dst) {
    return *this = closestCut(dst);
}

MEulerRotation MEulerRotation::decompose(const MMatrix& matrix, RotationOrder ord) {
    // Column-vector form with the rows' scale divided out: r[i][j] = M[j][i] / |row j|.
    double r[3][3];
    for (int j = 0; j < 3; ++j) {
        const MVector row(matrix.matrix[j][0], matrix.matrix[j][1], matrix.matrix[j][2]);
        const double len = row.length();
        for (int i = 0; i < 3; ++i)
            r[i][j] = len > 0.0 ? matrix.matrix[j][i] / len : 0.0;
    }
    // r = R3(c) R2(b) R1(a); an odd axis order mirrors the signs of the off-diagonal terms.
    const AxisOrder ax = axesOf(ord);
    const int i = ax.first, j = ax.second, k = ax.third;
    const double sgn = ax.even ? 1.0 : -1.0;
    const double cb = std::sqrt(r[i][i] * r[i][i] + r[j][i] * r[j][i]);
    double a, b, c;
    b = std::atan2(-sgn * r[k][i], cb);
    if (cb > 16.0 * DBL_EPSILON) {
        a = std::atan2(sgn * r[k][j], r[k][k]);
        c = std::atan2(sgn * r[j][i], r[i][i]);
    } else {
        // Gimbal lock: only a combination of the first and last angles is fixed; put it all
        // in the first.
        a = std::atan2(-sgn * r[j][k], r[j][j]);
        c = 0.0;
    }
    MEulerRotation e(0.0, 0.0, 0.0, ord);
    e[i] = a;
    e[j] = b;
    e[k] = c;
    return e;
}

std::ostream& operator<<(std::ostream& os, const MEulerRotation& r) {
    static const char* const names[] = {"xyz", "yzx", "zxy", "xzy", "yxz", "zyx"};
    const int o = int(r.order);
    return os << '[' << r.x << ", " << r.y << ", " << r.z << ", "
              << (o >= 0 && o < 6 ? names[o] : "?") << ']';
}

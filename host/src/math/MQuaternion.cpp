#include <maya/MQuaternion.h>

#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>

#include <algorithm>
#include <cmath>
#include <ostream>

const MQuaternion MQuaternion::identity(0.0, 0.0, 0.0, 1.0);

namespace {

// A unit vector perpendicular to v (v nonzero): v crossed with the axis it leans on least.
MVector perpendicular(const MVector& v) {
    const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
    const MVector& least =
        (ax <= ay && ax <= az) ? MVector::xAxis : (ay <= az ? MVector::yAxis : MVector::zAxis);
    return (v ^ least).normal();
}

double norm(const MQuaternion& q) {
    return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
}

} // namespace

MQuaternion::MQuaternion(const MVector& a, const MVector& b) : MQuaternion() {
    const double la = a.length(), lb = b.length();
    if (la < 1e-10 || lb < 1e-10)
        return;
    const MVector c = a ^ b;
    const double d = a * b;
    if (d < 0.0 && c.length() <= 1e-12 * la * lb) {
        // Opposite: any half turn about an axis perpendicular to a will do.
        const MVector axis = perpendicular(a);
        *this = MQuaternion(axis.x, axis.y, axis.z, 0.0);
        return;
    }
    // (a x b, |a||b| + a.b) is twice-the-half-angle form; normalising halves the angle.
    *this = MQuaternion(c.x, c.y, c.z, la * lb + d);
    normalizeIt();
}

MQuaternion::MQuaternion(const MVector& a, const MVector& b, double angleFactor)
    : MQuaternion(a, b) {
    MVector axis;
    double theta = 0.0;
    if (getAxisAngle(axis, theta))
        setAxisAngle(axis, theta * angleFactor);
}

MQuaternion::MQuaternion(double angle, const MVector& axis) : MQuaternion() {
    setAxisAngle(axis, angle);
}

MQuaternion& MQuaternion::operator=(const MMatrix& matrix) {
    // Rows are the images of the axes; dividing out their lengths removes scale.
    double r[3][3];
    for (int i = 0; i < 3; ++i) {
        const MVector row(matrix.matrix[i][0], matrix.matrix[i][1], matrix.matrix[i][2]);
        const double len = row.length();
        for (int j = 0; j < 3; ++j)
            r[i][j] = len > 0.0 ? matrix.matrix[i][j] / len : 0.0;
    }
    // Shepperd's method on the column-vector form c[i][j] = r[j][i].
    auto c = [&r](int i, int j) { return r[j][i]; };
    const double trace = c(0, 0) + c(1, 1) + c(2, 2);
    if (trace > 0.0) {
        const double s = 0.5 / std::sqrt(trace + 1.0);
        w = 0.25 / s;
        x = (c(2, 1) - c(1, 2)) * s;
        y = (c(0, 2) - c(2, 0)) * s;
        z = (c(1, 0) - c(0, 1)) * s;
    } else if (c(0, 0) > c(1, 1) && c(0, 0) > c(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + c(0, 0) - c(1, 1) - c(2, 2));
        w = (c(2, 1) - c(1, 2)) / s;
        x = 0.25 * s;
        y = (c(0, 1) + c(1, 0)) / s;
        z = (c(0, 2) + c(2, 0)) / s;
    } else if (c(1, 1) > c(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + c(1, 1) - c(0, 0) - c(2, 2));
        w = (c(0, 2) - c(2, 0)) / s;
        x = (c(0, 1) + c(1, 0)) / s;
        y = 0.25 * s;
        z = (c(1, 2) + c(2, 1)) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + c(2, 2) - c(0, 0) - c(1, 1));
        w = (c(1, 0) - c(0, 1)) / s;
        x = (c(0, 2) + c(2, 0)) / s;
        y = (c(1, 2) + c(2, 1)) / s;
        z = 0.25 * s;
    }
    return normalizeIt();
}

MQuaternion& MQuaternion::operator=(const MEulerRotation& rotation) {
    return *this = rotation.asQuaternion();
}

MMatrix MQuaternion::asMatrix() const {
    MMatrix m;
    const double n2 = x * x + y * y + z * z + w * w;
    if (n2 == 0.0)
        return m;
    const double s = 2.0 / n2;
    const double xx = x * x * s, yy = y * y * s, zz = z * z * s;
    const double xy = x * y * s, xz = x * z * s, yz = y * z * s;
    const double wx = w * x * s, wy = w * y * s, wz = w * z * s;
    // Row i is the image of axis i (the transpose of the column-vector form).
    m.matrix[0][0] = 1.0 - (yy + zz);
    m.matrix[0][1] = xy + wz;
    m.matrix[0][2] = xz - wy;
    m.matrix[1][0] = xy - wz;
    m.matrix[1][1] = 1.0 - (xx + zz);
    m.matrix[1][2] = yz + wx;
    m.matrix[2][0] = xz + wy;
    m.matrix[2][1] = yz - wx;
    m.matrix[2][2] = 1.0 - (xx + yy);
    return m;
}

MEulerRotation MQuaternion::asEulerRotation() const {
    return MEulerRotation::decompose(asMatrix(), MEulerRotation::kXYZ);
}

MQuaternion& MQuaternion::setAxisAngle(const MVector& axis, double theta) {
    const double len = axis.length();
    if (len < 1e-10) {
        *this = identity;
        return *this;
    }
    const double s = std::sin(0.5 * theta) / len;
    x = axis.x * s;
    y = axis.y * s;
    z = axis.z * s;
    w = std::cos(0.5 * theta);
    return *this;
}

bool MQuaternion::getAxisAngle(MVector& axis, double& theta) const {
    const MQuaternion q = normal();
    const double s = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    if (s < 1e-12) {
        axis = MVector::zAxis;
        theta = 0.0;
        return false;
    }
    axis = MVector(q.x / s, q.y / s, q.z / s);
    theta = 2.0 * std::atan2(s, q.w);
    return true;
}

MQuaternion& MQuaternion::setToXAxis(double theta) {
    return setAxisAngle(MVector::xAxis, theta);
}
MQuaternion& MQuaternion::setToYAxis(double theta) {
    return setAxisAngle(MVector::yAxis, theta);
}
MQuaternion& MQuaternion::setToZAxis(double theta) {
    return setAxisAngle(MVector::zAxis, theta);
}

MStatus MQuaternion::get(double dest[4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    dest[3] = w;
    return MS::kSuccess;
}

MQuaternion MQuaternion::operator*(const MQuaternion& r) const {
    // "this, then r" is the Hamilton product r (x) this.
    return MQuaternion(
        r.w * x + w * r.x + (r.y * z - r.z * y), r.w * y + w * r.y + (r.z * x - r.x * z),
        r.w * z + w * r.z + (r.x * y - r.y * x), r.w * w - (r.x * x + r.y * y + r.z * z));
}

MQuaternion& MQuaternion::operator*=(const MQuaternion& r) {
    return *this = *this * r;
}

bool MQuaternion::isEquivalent(const MQuaternion& other, double tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance && std::fabs(w - other.w) <= tolerance;
}

MQuaternion& MQuaternion::negateIt() {
    return *this = -*this;
}

MQuaternion& MQuaternion::scaleIt(double scale) {
    x *= scale;
    y *= scale;
    z *= scale;
    w *= scale;
    return *this;
}

MQuaternion MQuaternion::normal() const {
    MQuaternion q(*this);
    return q.normalizeIt();
}

MQuaternion& MQuaternion::normalizeIt() {
    const double n = norm(*this);
    if (n > 0.0)
        scaleIt(1.0 / n);
    return *this;
}

MQuaternion& MQuaternion::conjugateIt() {
    return *this = conjugate();
}

MQuaternion MQuaternion::inverse() const {
    const double n2 = x * x + y * y + z * z + w * w;
    if (n2 == 0.0)
        return *this;
    return MQuaternion(-x / n2, -y / n2, -z / n2, w / n2);
}

MQuaternion& MQuaternion::invertIt() {
    return *this = inverse();
}

MQuaternion MQuaternion::log() const {
    const double n = norm(*this);
    const double s = std::sqrt(x * x + y * y + z * z);
    const double lw = n > 0.0 ? std::log(n) : 0.0;
    if (s < 1e-300)
        return MQuaternion(0.0, 0.0, 0.0, lw);
    const double k = std::atan2(s, w) / s;
    return MQuaternion(x * k, y * k, z * k, lw);
}

MQuaternion MQuaternion::exp() const {
    const double s = std::sqrt(x * x + y * y + z * z);
    const double e = std::exp(w);
    if (s < 1e-300)
        return MQuaternion(0.0, 0.0, 0.0, e);
    const double k = e * std::sin(s) / s;
    return MQuaternion(x * k, y * k, z * k, e * std::cos(s));
}

MQuaternion operator*(double scale, const MQuaternion& q) {
    return MQuaternion(q.x * scale, q.y * scale, q.z * scale, q.w * scale);
}

MQuaternion slerp(const MQuaternion& p, const MQuaternion& q, double t, short spin) {
    const double cosom = std::clamp(p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w, -1.0, 1.0);
    const double omega = std::acos(cosom);
    const double sinom = std::sin(omega);
    double s0 = 1.0 - t, s1 = t;
    if (std::fabs(sinom) > 1e-10) {
        const double phi = omega + spin * M_PI;
        s0 = std::sin(omega - t * phi) / sinom;
        s1 = std::sin(t * phi) / sinom;
    }
    return MQuaternion(s0 * p.x + s1 * q.x, s0 * p.y + s1 * q.y, s0 * p.z + s1 * q.z,
                       s0 * p.w + s1 * q.w);
}

std::ostream& operator<<(std::ostream& os, const MQuaternion& q) {
    return os << '[' << q.x << ", " << q.y << ", " << q.z << ", " << q.w << ']';
}

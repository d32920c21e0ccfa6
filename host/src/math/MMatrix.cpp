#include <maya/MMatrix.h>

#include "math/Matrix4.h"

#include <cmath>
#include <ostream>

const MMatrix MMatrix::identity;

MMatrix::MMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

MMatrix::MMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

MStatus MMatrix::get(double dest[4][4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            dest[i][j] = matrix[i][j];
    return MS::kSuccess;
}

MStatus MMatrix::get(float dest[4][4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            dest[i][j] = float(matrix[i][j]);
    return MS::kSuccess;
}

MMatrix MMatrix::transpose() const {
    MMatrix t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            t.matrix[i][j] = matrix[j][i];
    return t;
}

MMatrix& MMatrix::setToIdentity() {
    matrix4::setIdentity(matrix);
    return *this;
}

MMatrix& MMatrix::setToProduct(const MMatrix& left, const MMatrix& right) {
    matrix4::multiply(left.matrix, right.matrix, matrix);
    return *this;
}

MMatrix& MMatrix::operator+=(const MMatrix& r) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] += r.matrix[i][j];
    return *this;
}

MMatrix MMatrix::operator+(const MMatrix& r) const {
    return MMatrix(*this) += r;
}

MMatrix& MMatrix::operator-=(const MMatrix& r) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] -= r.matrix[i][j];
    return *this;
}

MMatrix MMatrix::operator-(const MMatrix& r) const {
    return MMatrix(*this) -= r;
}

MMatrix& MMatrix::operator*=(const MMatrix& r) {
    matrix4::multiply(matrix, r.matrix, matrix);
    return *this;
}

MMatrix MMatrix::operator*(const MMatrix& r) const {
    MMatrix p;
    matrix4::multiply(matrix, r.matrix, p.matrix);
    return p;
}

MMatrix& MMatrix::operator*=(double s) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] *= s;
    return *this;
}

MMatrix MMatrix::operator*(double s) const {
    return MMatrix(*this) *= s;
}

MMatrix operator*(double s, const MMatrix& m) {
    return m * s;
}

bool MMatrix::operator==(const MMatrix& r) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != r.matrix[i][j])
                return false;
    return true;
}

MMatrix MMatrix::inverse() const {
    MMatrix inv;
    matrix4::inverse(matrix, inv.matrix);
    return inv;
}

MMatrix MMatrix::adjoint() const {
    MMatrix a;
    matrix4::adjoint(matrix, a.matrix);
    return a;
}

MMatrix MMatrix::homogenize() const {
    MMatrix h(*this);
    for (int i = 0; i < 4; ++i) {
        const double w = h.matrix[i][3];
        if (w != 0.0)
            for (int j = 0; j < 4; ++j)
                h.matrix[i][j] /= w;
    }
    return h;
}

double MMatrix::det4x4() const {
    return matrix4::det4(matrix);
}

double MMatrix::det3x3() const {
    const auto& m = matrix;
    return matrix4::det3(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1],
                         m[2][2]);
}

bool MMatrix::isEquivalent(const MMatrix& other, double tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - other.matrix[i][j]) <= tolerance))
                return false;
    return true;
}

bool MMatrix::isSingular() const {
    double unused[4][4];
    return !matrix4::inverse(matrix, unused);
}

std::ostream& operator<<(std::ostream& os, const MMatrix& m) {
    os << '[';
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j)
            os << (j ? ", " : "") << m.matrix[i][j];
        os << ']';
    }
    return os << ']';
}

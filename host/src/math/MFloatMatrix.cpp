#include <maya/MFloatMatrix.h>

#include "math/Matrix4.h"

#include <cmath>
#include <ostream>

MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = m[i][j];
}

MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = float(m[i][j]);
}

MStatus MFloatMatrix::get(float dest[4][4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            dest[i][j] = matrix[i][j];
    return MS::kSuccess;
}

MStatus MFloatMatrix::get(double dest[4][4]) const {
    if (!dest)
        return MS::kInvalidParameter;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            dest[i][j] = matrix[i][j];
    return MS::kSuccess;
}

MFloatMatrix MFloatMatrix::transpose() const {
    MFloatMatrix t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            t.matrix[i][j] = matrix[j][i];
    return t;
}

MFloatMatrix& MFloatMatrix::setToIdentity() {
    matrix4::setIdentity(matrix);
    return *this;
}

MFloatMatrix& MFloatMatrix::setToProduct(const MFloatMatrix& left, const MFloatMatrix& right) {
    matrix4::multiply(left.matrix, right.matrix, matrix);
    return *this;
}

MFloatMatrix& MFloatMatrix::operator+=(const MFloatMatrix& r) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] += r.matrix[i][j];
    return *this;
}

MFloatMatrix MFloatMatrix::operator+(const MFloatMatrix& r) const {
    return MFloatMatrix(*this) += r;
}

MFloatMatrix& MFloatMatrix::operator-=(const MFloatMatrix& r) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] -= r.matrix[i][j];
    return *this;
}

MFloatMatrix MFloatMatrix::operator-(const MFloatMatrix& r) const {
    return MFloatMatrix(*this) -= r;
}

MFloatMatrix& MFloatMatrix::operator*=(const MFloatMatrix& r) {
    matrix4::multiply(matrix, r.matrix, matrix);
    return *this;
}

MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix& r) const {
    MFloatMatrix p;
    matrix4::multiply(matrix, r.matrix, p.matrix);
    return p;
}

MFloatMatrix& MFloatMatrix::operator*=(float s) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] *= s;
    return *this;
}

MFloatMatrix MFloatMatrix::operator*(float s) const {
    return MFloatMatrix(*this) *= s;
}

MFloatMatrix operator*(float s, const MFloatMatrix& m) {
    return m * s;
}

bool MFloatMatrix::operator==(const MFloatMatrix& r) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != r.matrix[i][j])
                return false;
    return true;
}

MFloatMatrix MFloatMatrix::inverse() const {
    MFloatMatrix inv;
    matrix4::inverse(matrix, inv.matrix);
    return inv;
}

MFloatMatrix MFloatMatrix::adjoint() const {
    MFloatMatrix a;
    matrix4::adjoint(matrix, a.matrix);
    return a;
}

MFloatMatrix MFloatMatrix::homogenize() const {
    MFloatMatrix h(*this);
    for (int i = 0; i < 4; ++i) {
        const float w = h.matrix[i][3];
        if (w != 0.0f)
            for (int j = 0; j < 4; ++j)
                h.matrix[i][j] /= w;
    }
    return h;
}

float MFloatMatrix::det4x4() const {
    return matrix4::det4(matrix);
}

float MFloatMatrix::det3x3() const {
    const auto& m = matrix;
    return matrix4::det3(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1],
                         m[2][2]);
}

bool MFloatMatrix::isEquivalent(const MFloatMatrix& other, float tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - other.matrix[i][j]) <= tolerance))
                return false;
    return true;
}

bool MFloatMatrix::isSingular() const {
    float unused[4][4];
    return !matrix4::inverse(matrix, unused);
}

std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m) {
    os << '[';
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j)
            os << (j ? ", " : "") << m.matrix[i][j];
        os << ']';
    }
    return os << ']';
}

#pragma once
// Double-precision 4x4 matrix acting on row vectors (p * M), translation in row 3, as in Maya.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

#define MMatrix_kTol 1.0e-10

class OPENMAYA_EXPORT MMatrix {
  public:
    // The identity.
    constexpr MMatrix()
        : matrix{{1.0, 0.0, 0.0, 0.0},
                 {0.0, 1.0, 0.0, 0.0},
                 {0.0, 0.0, 1.0, 0.0},
                 {0.0, 0.0, 0.0, 1.0}} {}
    MMatrix(const double m[4][4]);
    MMatrix(const float m[4][4]);
    MMatrix(const MMatrix&) = default;
    MMatrix& operator=(const MMatrix&) = default;

    double operator()(unsigned int row, unsigned int col) const { return matrix[row][col]; }
    double& operator()(unsigned int row, unsigned int col) { return matrix[row][col]; }
    const double* operator[](unsigned int row) const { return matrix[row]; }
    double* operator[](unsigned int row) { return matrix[row]; }

    MStatus get(double dest[4][4]) const;
    MStatus get(float dest[4][4]) const;
    MMatrix transpose() const;
    MMatrix& setToIdentity();
    MMatrix& setToProduct(const MMatrix& left, const MMatrix& right);

    MMatrix& operator+=(const MMatrix& r);
    MMatrix operator+(const MMatrix& r) const;
    MMatrix& operator-=(const MMatrix& r);
    MMatrix operator-(const MMatrix& r) const;
    // this * r: applies this, then r.
    MMatrix& operator*=(const MMatrix& r);
    MMatrix operator*(const MMatrix& r) const;
    MMatrix& operator*=(double s);
    MMatrix operator*(double s) const;
    bool operator==(const MMatrix& r) const;
    bool operator!=(const MMatrix& r) const { return !(*this == r); }

    // A singular matrix has no inverse; the identity is returned for it.
    MMatrix inverse() const;
    MMatrix adjoint() const;
    // Each row divided by its last element (rows ending in 0 are kept).
    MMatrix homogenize() const;
    double det4x4() const;
    double det3x3() const;
    // Component-wise absolute tolerance.
    bool isEquivalent(const MMatrix& other, double tolerance = MMatrix_kTol) const;
    bool isSingular() const;

    static const MMatrix identity;

    double matrix[4][4];
};

OPENMAYA_EXPORT MMatrix operator*(double s, const MMatrix& m);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MMatrix& m);

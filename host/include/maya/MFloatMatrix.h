#pragma once
// Single-precision 4x4 matrix acting on row vectors (p * M), translation in row 3, as in Maya;
// arithmetic stays in float.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

#define MFloatMatrix_kTol 1.0e-5F

class OPENMAYA_EXPORT MFloatMatrix {
  public:
    // The identity.
    constexpr MFloatMatrix()
        : matrix{{1.0f, 0.0f, 0.0f, 0.0f},
                 {0.0f, 1.0f, 0.0f, 0.0f},
                 {0.0f, 0.0f, 1.0f, 0.0f},
                 {0.0f, 0.0f, 0.0f, 1.0f}} {}
    MFloatMatrix(const float m[4][4]);
    MFloatMatrix(const double m[4][4]);
    MFloatMatrix(const MFloatMatrix&) = default;
    MFloatMatrix& operator=(const MFloatMatrix&) = default;

    float operator()(unsigned int row, unsigned int col) const { return matrix[row][col]; }
    float& operator()(unsigned int row, unsigned int col) { return matrix[row][col]; }
    const float* operator[](unsigned int row) const { return matrix[row]; }
    float* operator[](unsigned int row) { return matrix[row]; }

    MStatus get(float dest[4][4]) const;
    MStatus get(double dest[4][4]) const;
    MFloatMatrix transpose() const;
    MFloatMatrix& setToIdentity();
    MFloatMatrix& setToProduct(const MFloatMatrix& left, const MFloatMatrix& right);

    MFloatMatrix& operator+=(const MFloatMatrix& r);
    MFloatMatrix operator+(const MFloatMatrix& r) const;
    MFloatMatrix& operator-=(const MFloatMatrix& r);
    MFloatMatrix operator-(const MFloatMatrix& r) const;
    // this * r: applies this, then r.
    MFloatMatrix& operator*=(const MFloatMatrix& r);
    MFloatMatrix operator*(const MFloatMatrix& r) const;
    MFloatMatrix& operator*=(float s);
    MFloatMatrix operator*(float s) const;
    bool operator==(const MFloatMatrix& r) const;
    bool operator!=(const MFloatMatrix& r) const { return !(*this == r); }

    // A singular matrix has no inverse; the identity is returned for it.
    MFloatMatrix inverse() const;
    MFloatMatrix adjoint() const;
    // Each row divided by its last element (rows ending in 0 are kept).
    MFloatMatrix homogenize() const;
    float det4x4() const;
    float det3x3() const;
    // Component-wise absolute tolerance.
    bool isEquivalent(const MFloatMatrix& other, float tolerance = MFloatMatrix_kTol) const;
    bool isSingular() const;

    float matrix[4][4];
};

OPENMAYA_EXPORT MFloatMatrix operator*(float s, const MFloatMatrix& m);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m);

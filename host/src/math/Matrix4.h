#pragma once
// 4x4 matrix algebra shared by MMatrix (double) and MFloatMatrix (float); each works in its own
// precision.

#include <cmath>
#include <type_traits>

namespace matrix4 {

template <typename T> void setIdentity(T m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = i == j ? T(1) : T(0);
}

template <typename T> void multiply(const T a[4][4], const T b[4][4], T out[4][4]) {
    T r[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = r[i][j];
}

template <typename T> T det3(T a, T b, T c, T d, T e, T f, T g, T h, T i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// Cofactor of element (r, c): the signed determinant of the 3x3 minor.
template <typename T> T cofactor(const T m[4][4], int r, int c) {
    T v[9];
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == r)
            continue;
        for (int j = 0; j < 4; ++j)
            if (j != c)
                v[k++] = m[i][j];
    }
    const T d = det3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    return ((r + c) % 2) ? -d : d;
}

template <typename T> T det4(const T m[4][4]) {
    T d = T(0);
    for (int j = 0; j < 4; ++j)
        d += m[0][j] * cofactor(m, 0, j);
    return d;
}

// Transposed cofactor matrix: m * adjoint(m) = det(m) * I.
template <typename T> void adjoint(const T m[4][4], T out[4][4]) {
    T r[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[j][i] = cofactor(m, i, j);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = r[i][j];
}

// False (out = identity) when m is singular relative to its own scale.
template <typename T> bool inverse(const T m[4][4], T out[4][4]) {
    T scale = T(0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            scale = std::fmax(scale, std::fabs(m[i][j]));
    const T d = det4(m);
    const T tiny = std::is_same<T, float>::value ? T(1e-12) : T(1e-30);
    if (scale == T(0) || !(std::fabs(d) > tiny * scale * scale * scale * scale)) {
        setIdentity(out);
        return false;
    }
    adjoint(m, out);
    const T inv = T(1) / d;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] *= inv;
    return true;
}

} // namespace matrix4

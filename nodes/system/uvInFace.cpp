#include "nodes/system/uvInFace.h"

#include <cmath>

uvLocation uvInFace(double u, double v, const double* polygonU, const double* polygonV,
                    unsigned int count) {
    // An infinite or NaN query (from a damaged UV info file) would otherwise count crossings
    // at infinity and could land "on an edge" of any face.
    if (count == 0 || !std::isfinite(u) || !std::isfinite(v))
        return uvLocation::outside;

    // The query is the origin: vertices are read relative to it.
    for (unsigned int k = 0; k < count; ++k)
        if (polygonU[k] - u == 0.0 && polygonV[k] - v == 0.0)
            return uvLocation::onVertex;

    unsigned int right = 0, left = 0;
    for (unsigned int k = 0; k < count; ++k) {
        const unsigned int previous = k == 0 ? count - 1 : k - 1;
        const double xk = polygonU[k] - u, yk = polygonV[k] - v;
        const double xp = polygonU[previous] - u, yp = polygonV[previous] - v;
        // Half-open rules on y, one for each direction, so that a ray through a vertex counts
        // once; a point on an edge is crossed by exactly one of the two rays.
        const bool straddlesUp = (yk > 0.0 && yp <= 0.0) || (yp > 0.0 && yk <= 0.0);
        const bool straddlesDown = (yk < 0.0 && yp >= 0.0) || (yp < 0.0 && yk >= 0.0);
        if (!straddlesUp && !straddlesDown)
            continue;
        const double x = (xk * yp - xp * yk) / (yp - yk);
        if (straddlesUp && x > 0.0)
            ++right;
        if (straddlesDown && x < 0.0)
            ++left;
    }
    if ((right % 2) != (left % 2))
        return uvLocation::onEdge;
    return right % 2 == 1 ? uvLocation::inside : uvLocation::outside;
}

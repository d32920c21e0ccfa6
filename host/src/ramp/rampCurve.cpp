#include "ramp/rampCurve.h"

#include <maya/MRampAttribute.h>

#include <algorithm>

namespace host {

namespace {

// Slope of the segment from point j to j + 1. Two entries at one position make a step, not a
// slope: such a segment counts as flat.
double segmentSlope(const std::vector<RampPoint>& p, size_t j, int k) {
    double width = double(p[j + 1].position) - double(p[j].position);
    return width > 0.0 ? (double(p[j + 1].value[k]) - double(p[j].value[k])) / width : 0.0;
}

// Spline slope at point i: the mean of the two neighbouring segments inside the ramp, the one
// segment there is at either end.
double splineSlope(const std::vector<RampPoint>& p, size_t i, int k) {
    if (p.size() < 2)
        return 0.0;
    if (i == 0)
        return segmentSlope(p, 0, k);
    if (i + 1 == p.size())
        return segmentSlope(p, i - 1, k);
    return 0.5 * (segmentSlope(p, i - 1, k) + segmentSlope(p, i, k));
}

} // namespace

void evaluateRamp(std::vector<RampPoint> points, float position, int components, float* result) {
    for (int k = 0; k < components; ++k)
        result[k] = 0.0f;
    if (points.empty())
        return;
    std::stable_sort(points.begin(), points.end(), [](const RampPoint& a, const RampPoint& b) {
        return a.position < b.position;
    });
    const RampPoint& first = points.front();
    const RampPoint& last = points.back();
    if (position < first.position || position >= last.position) {
        const RampPoint& end = position < first.position ? first : last;
        for (int k = 0; k < components; ++k)
            result[k] = end.value[k];
        return;
    }
    // The last entry at or below the position; the next one lies strictly above it.
    size_t i = 0;
    while (i + 1 < points.size() && points[i + 1].position <= position)
        ++i;
    const RampPoint& a = points[i];
    const RampPoint& b = points[i + 1];
    double width = double(b.position) - double(a.position);
    double u = (double(position) - double(a.position)) / width;
    for (int k = 0; k < components; ++k) {
        double v1 = a.value[k], v2 = b.value[k];
        double value;
        switch (a.interp) {
        case MRampAttribute::kNone:
            value = v1;
            break;
        case MRampAttribute::kSmooth:
            value = v1 + (v2 - v1) * (3.0 * u * u - 2.0 * u * u * u);
            break;
        case MRampAttribute::kSpline: {
            double u2 = u * u, u3 = u2 * u;
            double m1 = splineSlope(points, i, k) * width;
            double m2 = splineSlope(points, i + 1, k) * width;
            value = (2.0 * u3 - 3.0 * u2 + 1.0) * v1 + (u3 - 2.0 * u2 + u) * m1 +
                    (-2.0 * u3 + 3.0 * u2) * v2 + (u3 - u2) * m2;
            break;
        }
        default: // kLinear, and codes no ramp writes
            value = v1 + (v2 - v1) * u;
            break;
        }
        result[k] = static_cast<float>(value);
    }
}

} // namespace host

#pragma once
// Evaluation of a ramp from its entries, independent of where the entries are stored.

#include <vector>

namespace host {

struct RampPoint {
    float position = 0.0f;
    float value[3] = {0.0f, 0.0f, 0.0f}; // a curve ramp uses value[0] only
    int interp = 1;                      // MRampAttribute::MInterpolation
};

// The ramp's value at a position for the first `components` (1 or 3) values. Points may come
// in any order; they are sorted by position (keeping the given order among equal positions).
// No points gives zeros.
void evaluateRamp(std::vector<RampPoint> points, float position, int components, float* result);

} // namespace host

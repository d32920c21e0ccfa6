#include "feather/rampSnapshot.h"

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>

#include <algorithm>
#include <cmath>

namespace {

// The operations below mirror the host's evaluation step by step (same precision, same order)
// so that a snapshot and getValueAtPosition agree to the bit.
template <typename Entry> double segmentSlope(const std::vector<Entry>& e, size_t j) {
    const double width = double(e[j + 1].position) - double(e[j].position);
    return width > 0.0 ? (double(e[j + 1].value) - double(e[j].value)) / width : 0.0;
}

} // namespace

bool rampSnapshot::read(const MRampAttribute& ramp) {
    entries_.clear();
    MIntArray indexes;
    MFloatArray positions;
    MFloatArray values;
    MIntArray interps;
    MStatus status;
    // getEntries is not const in the devkit.
    MRampAttribute readable(ramp);
    readable.getEntries(indexes, positions, values, interps, &status);
    if (status != MS::kSuccess) {
        return true;
    }
    const unsigned int n = std::min({positions.length(), values.length(), interps.length()});
    entries_.reserve(n);
    for (unsigned int i = 0; i < n; ++i) {
        if (!std::isfinite(positions[i]) || !std::isfinite(values[i])) {
            entries_.clear();
            return false;
        }
        entries_.push_back({positions[i], values[i], interps[i], 0.0});
    }
    // getEntries lists entries by index; equal positions keep that order.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const entry& a, const entry& b) { return a.position < b.position; });
    const size_t count = entries_.size();
    for (size_t i = 0; i < count && count >= 2; ++i) {
        if (i == 0) {
            entries_[i].slope = segmentSlope(entries_, 0);
        } else if (i + 1 == count) {
            entries_[i].slope = segmentSlope(entries_, i - 1);
        } else {
            entries_[i].slope = 0.5 * (segmentSlope(entries_, i - 1) + segmentSlope(entries_, i));
        }
    }
    return true;
}

void rampSnapshot::setConstant(float value) {
    entries_.assign(1, entry{0.0f, value, MRampAttribute::kLinear, 0.0});
}

float rampSnapshot::value(float position) const {
    if (entries_.empty()) {
        return 0.0f;
    }
    const entry& first = entries_.front();
    const entry& last = entries_.back();
    if (position < first.position) {
        return first.value;
    }
    if (position >= last.position) {
        return last.value;
    }
    size_t i = 0;
    while (i + 1 < entries_.size() && entries_[i + 1].position <= position) {
        ++i;
    }
    const entry& a = entries_[i];
    const entry& b = entries_[i + 1];
    const double width = double(b.position) - double(a.position);
    const double u = (double(position) - double(a.position)) / width;
    const double v1 = a.value;
    const double v2 = b.value;
    double value;
    switch (a.interp) {
    case MRampAttribute::kNone:
        value = v1;
        break;
    case MRampAttribute::kSmooth:
        value = v1 + (v2 - v1) * (3.0 * u * u - 2.0 * u * u * u);
        break;
    case MRampAttribute::kSpline: {
        const double u2 = u * u;
        const double u3 = u2 * u;
        const double m1 = a.slope * width;
        const double m2 = b.slope * width;
        value = (2.0 * u3 - 3.0 * u2 + 1.0) * v1 + (u3 - 2.0 * u2 + u) * m1 +
                (-2.0 * u3 + 3.0 * u2) * v2 + (u3 - u2) * m2;
        break;
    }
    default:
        value = v1 + (v2 - v1) * u;
        break;
    }
    return static_cast<float>(value);
}

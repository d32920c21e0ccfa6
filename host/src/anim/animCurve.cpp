#include "anim/animCurve.h"

#include <algorithm>
#include <cmath>

namespace host {

bool tangent::known(int type) {
    switch (type) {
    case kFixed:
    case kLinear:
    case kFlat:
    case kStep:
    case kSpline:
    case kClamped:
    case kPlateau:
    case kStepNext:
    case kAuto:
    case kAutoMix:
    case kAutoEase:
        return true;
    default:
        return false;
    }
}

namespace {

double chordSlope(const AnimCurveKey& a, const AnimCurveKey& b) {
    const double dt = b.time - a.time;
    return dt > 0.0 ? (b.value - a.value) / dt : 0.0;
}

// Sign with sgn(0) = +1, as the auto tangents compare directions.
int sign(double v) {
    return v < 0.0 ? -1 : 1;
}

double cubicBezier(double p0, double p1, double p2, double p3, double u) {
    const double v = 1.0 - u;
    return v * v * v * p0 + 3.0 * v * v * u * p1 + 3.0 * v * u * u * p2 + u * u * u * p3;
}

// The parameter where the Bezier with x controls 0, a, 1 - b, 1 reaches x (monotone by the
// caller's clamping): Newton steps kept inside a shrinking bracket.
double solveBezierParameter(double a, double b, double x) {
    double lo = 0.0, hi = 1.0, u = x;
    for (int i = 0; i < 64; ++i) {
        const double value = cubicBezier(0.0, a, 1.0 - b, 1.0, u) - x;
        if (std::fabs(value) < 1e-14)
            break;
        if (value < 0.0)
            lo = u;
        else
            hi = u;
        const double v = 1.0 - u;
        const double slope = 3.0 * (v * v * a + 2.0 * v * u * (1.0 - b - a) + u * u * b);
        double next = slope > 0.0 ? u - value / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        u = next;
    }
    return u;
}

} // namespace

AnimCurve::AnimCurve(AnimCurveDefinition definition)
    : keys_(std::move(definition.keys)), settings_(definition) {
    settings_.keys.clear();
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const AnimCurveKey& a, const AnimCurveKey& b) { return a.time < b.time; });
    resolveTangents();
}

double AnimCurve::slopeOf(size_t k, bool in, int type) const {
    const AnimCurveKey& key = keys_[k];
    const bool hasPrev = k > 0, hasNext = k + 1 < keys_.size();
    const double slopeIn = hasPrev ? chordSlope(keys_[k - 1], key) : 0.0;
    const double slopeOut = hasNext ? chordSlope(key, keys_[k + 1]) : 0.0;
    auto spline = [&] {
        if (hasPrev && hasNext)
            return chordSlope(keys_[k - 1], keys_[k + 1]);
        return hasPrev ? slopeIn : slopeOut;
    };
    switch (type) {
    case tangent::kFixed:
    case tangent::kFlat:
    case tangent::kStep:
    case tangent::kStepNext:
        return 0.0;
    case tangent::kLinear:
        // An end key continues its one segment on the side that has no neighbour.
        if (in)
            return hasPrev ? slopeIn : slopeOut;
        return hasNext ? slopeOut : slopeIn;
    case tangent::kClamped: {
        const double tolerance = settings_.clampTolerance;
        if ((hasPrev && std::fabs(keys_[k - 1].value - key.value) <= tolerance) ||
            (hasNext && std::fabs(keys_[k + 1].value - key.value) <= tolerance))
            return 0.0;
        return spline();
    }
    case tangent::kPlateau: {
        if (!hasPrev || !hasNext)
            return 0.0;
        const AnimCurveKey &prev = keys_[k - 1], &next = keys_[k + 1];
        if ((prev.value - key.value) * (next.value - key.value) >= 0.0)
            return 0.0;
        const double m = spline();
        // The Bezier control point on either side must not pass the neighbour's value.
        const double before = key.value - m * (key.time - prev.time) / 3.0;
        const double after = key.value + m * (next.time - key.time) / 3.0;
        const bool rising = next.value > key.value;
        if (rising ? (before < prev.value || after > next.value)
                   : (before > prev.value || after < next.value))
            return 0.0;
        return m;
    }
    case tangent::kAuto:
    case tangent::kAutoMix:
    case tangent::kAutoEase:
    case tangent::kAutoCustom: {
        if (!hasPrev || !hasNext)
            return 0.0;
        double target = spline();
        if (type != tangent::kAuto) {
            const double span = keys_[k + 1].time - keys_[k - 1].time;
            double f = span > 0.0 ? (key.time - keys_[k - 1].time) / span : 0.5;
            if (type != tangent::kAutoMix) {
                const double c = -0.5;
                f = 0.5 + (f - 0.5) * (1.0 - c + 4.0 * c * (f - 0.5) * (f - 0.5));
            }
            target = (1.0 - f) * slopeIn + f * slopeOut;
        }
        const double p3 = 3.0 * slopeIn, n3 = 3.0 * slopeOut;
        if (sign(p3) != sign(n3) || sign(target) != sign(n3))
            return 0.0;
        return n3 >= 0.0 ? std::min({target, n3, p3}) : std::max({target, n3, p3});
    }
    default:
        return spline();
    }
}

void AnimCurve::resolveTangents() {
    tangents_.assign(keys_.size(), Tangents());
    for (size_t k = 0; k < keys_.size(); ++k) {
        const AnimCurveKey& key = keys_[k];
        const double dtIn = k > 0 ? key.time - keys_[k - 1].time : 0.0;
        const double dtOut = k + 1 < keys_.size() ? keys_[k + 1].time - key.time : 0.0;
        // A weighted tangent spans its side's interval (the other side's at an end key).
        const double spanIn = dtIn > 0.0 ? dtIn : (dtOut > 0.0 ? dtOut : 1.0);
        const double spanOut = dtOut > 0.0 ? dtOut : (dtIn > 0.0 ? dtIn : 1.0);
        // A stored tangent is used as it is; otherwise its type gives the slope.
        auto resolve = [&](bool in, bool stored, double storedX, double storedY, int type,
                           double span, double& x, double& y) {
            if (stored) {
                x = storedX;
                y = storedY;
                return;
            }
            x = settings_.weighted ? span : 1.0;
            y = slopeOf(k, in, type) * x;
        };
        Tangents& t = tangents_[k];
        resolve(true, key.hasIn, key.inX, key.inY, key.inType, spanIn, t.inX, t.inY);
        resolve(false, key.hasOut, key.outX, key.outY, key.outType, spanOut, t.outX, t.outY);
    }
}

double AnimCurve::evaluate(double time) const {
    if (keys_.empty())
        return 0.0;
    if (time < keys_.front().time && settings_.preInfinity != infinity::kConstant)
        return evaluateInfinity(false, time);
    if (time > keys_.back().time && settings_.postInfinity != infinity::kConstant)
        return evaluateInfinity(true, time);
    return evaluateInside(time);
}

double AnimCurve::evaluateInside(double time) const {
    if (time <= keys_.front().time)
        return keys_.front().value;
    if (time >= keys_.back().time)
        return keys_.back().value;
    auto after = std::upper_bound(keys_.begin(), keys_.end(), time,
                                  [](double t, const AnimCurveKey& key) { return t < key.time; });
    const size_t k = static_cast<size_t>(after - keys_.begin()) - 1;
    if (keys_[k].time == time)
        return keys_[k].value;
    return evaluateSegment(k, time);
}

double AnimCurve::evaluateSegment(size_t k, double time) const {
    const AnimCurveKey &from = keys_[k], &to = keys_[k + 1];
    if (from.outType == tangent::kStep)
        return from.value;
    if (from.outType == tangent::kStepNext)
        return to.value;
    const double dx = to.time - from.time;
    if (dx <= 0.0)
        return from.value;
    const double s = time - from.time;
    const double dy = to.value - from.value;
    if (from.outType == tangent::kLinear && to.inType == tangent::kLinear)
        return from.value + dy * (s / dx);
    const Tangents &out = tangents_[k], &in = tangents_[k + 1];
    if (!settings_.weighted) {
        const double m0 = out.outX == 0.0 ? 0.0 : out.outY / out.outX;
        const double m1 = in.inX == 0.0 ? 0.0 : in.inY / in.inX;
        const double a = (dx * (m0 + m1) - 2.0 * dy) / (dx * dx * dx);
        const double b = (3.0 * dy - dx * (2.0 * m0 + m1)) / (dx * dx);
        return ((a * s + b) * s + m0) * s + from.value;
    }
    // Bezier segment: x controls at a and 1 - b of the span, kept where x stays monotone.
    double a = out.outX / 3.0 / dx, b = in.inX / 3.0 / dx;
    double y1 = out.outY / 3.0, y2 = in.inY / 3.0; // offsets from their keys
    auto rescale = [](double& x, double& y, double wanted) {
        y = x != 0.0 ? y * wanted / x : 0.0;
        x = wanted;
    };
    if (a < 0.0)
        rescale(a, y1, 0.0);
    if (b < 0.0)
        rescale(b, y2, 0.0);
    if (a > 1.0 || b > 1.0) {
        if (a > 4.0 / 3.0)
            rescale(a, y1, 4.0 / 3.0);
        const double root =
            std::sqrt(std::max(0.0, (2.0 - a) * (2.0 - a) - 4.0 * (a - 1.0) * (a - 1.0)));
        const double most = 0.5 * ((2.0 - a) + root);
        if (b > most)
            rescale(b, y2, most);
    }
    const double x = s / dx;
    const double u = std::fabs(a - 1.0 / 3.0) < 1e-6 && std::fabs(b - 1.0 / 3.0) < 1e-6
                         ? x
                         : solveBezierParameter(a, b, x);
    return cubicBezier(from.value, from.value + y1, to.value - y2, to.value, u);
}

double AnimCurve::evaluateInfinity(bool post, double time) const {
    const AnimCurveKey &first = keys_.front(), &last = keys_.back();
    const int type = post ? settings_.postInfinity : settings_.preInfinity;
    const double range = last.time - first.time;
    if (type == infinity::kLinear) {
        const Tangents& t = post ? tangents_.back() : tangents_.front();
        const double x = post ? t.outX : t.inX, y = post ? t.outY : t.inY;
        if (x == 0.0)
            return post ? last.value : first.value;
        return post ? last.value + (time - last.time) * (y / x)
                    : first.value - (first.time - time) * (y / x);
    }
    if (range <= 0.0)
        return first.value;
    const double d = post ? time - last.time : time - first.time;
    const double ratio = d / range;
    const double cycles = std::fabs(std::trunc(ratio)) + 1.0;
    const double along = range * std::fabs(ratio - std::trunc(ratio));
    const bool odd = std::fmod(cycles, 2.0) == 1.0;
    double mapped;
    if (type == infinity::kOscillate)
        mapped = post ? (odd ? last.time - along : first.time + along)
                      : (odd ? first.time + along : last.time - along);
    else
        mapped = post ? first.time + along : last.time - along;
    if (settings_.timeResolution > 0.0)
        mapped = std::round(mapped * settings_.timeResolution) / settings_.timeResolution;
    double value = evaluateInside(mapped);
    if (type == infinity::kCycleRelative)
        value += (post ? cycles : -cycles) * (last.value - first.value);
    return value;
}

} // namespace host

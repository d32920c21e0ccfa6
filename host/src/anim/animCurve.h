#pragma once
// Evaluation of an animation curve from its keys, independent of where the keys are stored.
//
// Units: key times are in seconds for time-driven curves and in the driver's own unit for
// driven keys; values in the unit the host stores the output in (radians for angles). Stored
// tangents are (x, y) in those same units: x a time span, y a value change. Unweighted curves
// only use the slope y / x; weighted curves place the Bezier control points at (x / 3, y / 3)
// from their key.
//
// Tangent types and infinity types carry the numbers Maya ASCII files store (not the API's).

#include <cstddef>
#include <vector>

namespace host {

namespace tangent {
enum Type {
    kFixed = 1,
    kLinear = 2,
    kFlat = 3,
    kDefault = 4, // only ever an attribute default: evaluated as spline
    kStep = 5,
    kSlow = 6, // obsolete: evaluated as spline
    kFast = 7, // obsolete: evaluated as spline
    kSpline = 9,
    kClamped = 10,
    kPlateau = 16,
    kStepNext = 17,
    kAuto = 18,
    kAutoMix = 27,
    kAutoEase = 28,
    kAutoCustom = 29, // evaluated as autoEase
};
// True for the numbers the host evaluates as what they say (the others fall back to spline).
bool known(int type);
} // namespace tangent

namespace infinity {
enum Type { kConstant = 0, kLinear = 1, kCycle = 3, kCycleRelative = 4, kOscillate = 5 };
} // namespace infinity

struct AnimCurveKey {
    double time = 0.0;
    double value = 0.0;
    int inType = tangent::kSpline, outType = tangent::kSpline;
    // Tangents as the file stores them; used instead of computing one from the type.
    bool hasIn = false, hasOut = false;
    double inX = 0.0, inY = 0.0, outX = 0.0, outY = 0.0;
};

struct AnimCurveDefinition {
    std::vector<AnimCurveKey> keys; // any order; sorted by time (stable) when built
    bool weighted = false;
    int preInfinity = infinity::kConstant, postInfinity = infinity::kConstant;
    // Neighbouring values closer than this make a clamped key flat (in value units).
    double clampTolerance = 1e-9;
    // Rounds times mapped back into the keyed range by cycling to this many steps per time
    // unit (Maya's ticks for time-driven curves); 0 leaves them as they are.
    double timeResolution = 0.0;
};

class AnimCurve {
  public:
    explicit AnimCurve(AnimCurveDefinition definition);

    // The curve's value at a time; 0 for a curve without keys.
    double evaluate(double time) const;

    // Resolved tangents of key k (after sorting): (x, y) per side, as evaluation uses them.
    struct Tangents {
        double inX = 1.0, inY = 0.0, outX = 1.0, outY = 0.0;
    };
    const std::vector<AnimCurveKey>& keys() const { return keys_; }
    const Tangents& tangents(size_t k) const { return tangents_[k]; }

  private:
    double evaluateInside(double time) const;
    double evaluateSegment(size_t k, double time) const;
    double evaluateInfinity(bool post, double time) const;
    void resolveTangents();
    double slopeOf(size_t k, bool in, int type) const;

    std::vector<AnimCurveKey> keys_;
    std::vector<Tangents> tangents_;
    AnimCurveDefinition settings_;
};

} // namespace host

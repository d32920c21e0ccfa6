// Animation curve evaluation: values a hand computes for linear, flat, step and fixed keys, the
// documented special cases of the computed tangents, weighted segments and infinity.

#include "anim/animCurve.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace host;

namespace {

AnimCurveKey key(double time, double value, int type) {
    AnimCurveKey k;
    k.time = time;
    k.value = value;
    k.inType = k.outType = type;
    return k;
}

AnimCurve curveOf(std::vector<AnimCurveKey> keys, bool weighted = false, int pre = 0,
                  int post = 0) {
    AnimCurveDefinition definition;
    definition.keys = std::move(keys);
    definition.weighted = weighted;
    definition.preInfinity = pre;
    definition.postInfinity = post;
    return AnimCurve(std::move(definition));
}

double highest(const AnimCurve& curve, double from, double to) {
    double most = -1e300;
    for (int i = 0; i <= 1000; ++i)
        most = std::fmax(most, curve.evaluate(from + (to - from) * i / 1000.0));
    return most;
}

} // namespace

TEST(AnimCurveTest, LinearFlatStepAndFixedKeysGiveTheirHandValues) {
    const AnimCurve linear = curveOf(
        {key(0, 0, tangent::kLinear), key(1, 10, tangent::kLinear), key(3, 0, tangent::kLinear)});
    EXPECT_DOUBLE_EQ(linear.evaluate(0.5), 5.0);
    EXPECT_DOUBLE_EQ(linear.evaluate(2.0), 5.0);
    EXPECT_DOUBLE_EQ(linear.evaluate(-1.0), 0.0); // constant before the first key
    EXPECT_DOUBLE_EQ(linear.evaluate(7.0), 0.0);

    // Flat tangents: v0 + dy (3s² - 2s³).
    const AnimCurve flat = curveOf({key(0, 0, tangent::kFlat), key(1, 10, tangent::kFlat)});
    EXPECT_NEAR(flat.evaluate(0.25), 10.0 * (3 * 0.0625 - 2 * 0.015625), 1e-12);

    AnimCurveKey held = key(0, 2, tangent::kSpline);
    held.outType = tangent::kStep;
    const AnimCurve step = curveOf({held, key(1, 10, tangent::kSpline)});
    EXPECT_DOUBLE_EQ(step.evaluate(0.999), 2.0);
    EXPECT_DOUBLE_EQ(step.evaluate(1.0), 10.0);
    held.outType = tangent::kStepNext;
    EXPECT_DOUBLE_EQ(curveOf({held, key(1, 10, tangent::kSpline)}).evaluate(0.001), 10.0);

    // Fixed tangents with stored vectors: Hermite with slopes y / x (any length).
    AnimCurveKey a = key(0, 0, tangent::kFixed), b = key(2, 4, tangent::kFixed);
    a.hasOut = true;
    a.outX = 0.5;
    a.outY = 1.5; // slope 3
    b.hasIn = true;
    b.inX = 2.0;
    b.inY = -2.0; // slope -1
    const double s = 0.5, dx = 2.0, dy = 4.0, m0 = 3.0, m1 = -1.0;
    const double c3 = (dx * (m0 + m1) - 2 * dy) / (dx * dx * dx);
    const double c2 = (3 * dy - dx * (2 * m0 + m1)) / (dx * dx);
    EXPECT_NEAR(curveOf({a, b}).evaluate(s), ((c3 * s + c2) * s + m0) * s, 1e-12);
}

TEST(AnimCurveTest, ComputedTangentsFollowTheirRules) {
    // Spline: an inner key takes the slope between its neighbours and the curve is smooth.
    const AnimCurve spline = curveOf(
        {key(0, 0, tangent::kSpline), key(1, 3, tangent::kSpline), key(3, 1, tangent::kSpline)});
    EXPECT_DOUBLE_EQ(spline.tangents(1).outY / spline.tangents(1).outX, 1.0 / 3.0);
    const double h = 1e-6;
    EXPECT_NEAR((spline.evaluate(1 + h) - spline.evaluate(1)) / h,
                (spline.evaluate(1) - spline.evaluate(1 - h)) / h, 1e-4);

    // Clamped: a neighbour at the same value makes the key flat, so the hold between two
    // equal keys stays level where a spline overshoots.
    std::vector<AnimCurveKey> hold = {key(0, 0, tangent::kSpline), key(1, 10, tangent::kSpline),
                                      key(2, 10, tangent::kSpline), key(3, 0, tangent::kSpline)};
    EXPECT_GT(highest(curveOf(hold), 1, 2), 10.01);
    for (AnimCurveKey& k : hold)
        k.inType = k.outType = tangent::kClamped;
    EXPECT_DOUBLE_EQ(highest(curveOf(hold), 0, 3), 10.0);

    // Plateau: a key at a local extreme is flat; a spline passes over it.
    std::vector<AnimCurveKey> peak = {key(0, 0, tangent::kSpline), key(1, 10, tangent::kSpline),
                                      key(2, 4, tangent::kSpline)};
    EXPECT_GT(highest(curveOf(peak), 0, 2), 10.01);
    for (AnimCurveKey& k : peak)
        k.inType = k.outType = tangent::kPlateau;
    EXPECT_DOUBLE_EQ(highest(curveOf(peak), 0, 2), 10.0);

    // Auto: the spline slope, limited to three times the steeper-side chord's smaller one;
    // ends are flat.
    const AnimCurve automatic =
        curveOf({key(0, 0, tangent::kAuto), key(1, 9, tangent::kAuto), key(2, 10, tangent::kAuto)});
    EXPECT_DOUBLE_EQ(automatic.tangents(1).inY / automatic.tangents(1).inX, 3.0);
    EXPECT_DOUBLE_EQ(automatic.tangents(0).outY, 0.0);
    EXPECT_LE(highest(automatic, 0, 2), 10.0);

    // Linear in and out: the one segment continues at an end key.
    const AnimCurve ends = curveOf({key(0, 0, tangent::kLinear), key(2, 4, tangent::kLinear)});
    EXPECT_DOUBLE_EQ(ends.tangents(0).inY / ends.tangents(0).inX, 2.0);
}

TEST(AnimCurveTest, WeightedSegmentsSolveForTheParameter) {
    // Default weights (a third of the span) make the Bezier the Hermite with the same slopes.
    std::vector<AnimCurveKey> keys = {key(0, 0, tangent::kSpline), key(1, 2, tangent::kSpline),
                                      key(4, -1, tangent::kSpline)};
    const AnimCurve hermite = curveOf(keys), bezier = curveOf(keys, true);
    for (double t : {0.1, 0.5, 0.9, 1.5, 2.5, 3.9})
        EXPECT_NEAR(bezier.evaluate(t), hermite.evaluate(t), 1e-9) << t;

    // Control points on the line y = x with longer weights: the curve is that line, which
    // only holds when x(u) = t is solved for u.
    AnimCurveKey a = key(0, 0, tangent::kFixed), b = key(1, 1, tangent::kFixed);
    a.hasOut = b.hasIn = true;
    a.outX = a.outY = b.inX = b.inY = 2.0;
    const AnimCurve line = curveOf({a, b}, true);
    for (double t : {0.1, 0.25, 0.6})
        EXPECT_NEAR(line.evaluate(t), t, 1e-9) << t;
}

TEST(AnimCurveTest, InfinityRepeatsOffsetsMirrorsOrExtends) {
    std::vector<AnimCurveKey> ramp = {key(0, 0, tangent::kLinear), key(1, 1, tangent::kLinear)};
    EXPECT_DOUBLE_EQ(curveOf(ramp, false, 0, infinity::kConstant).evaluate(5), 1.0);
    EXPECT_NEAR(curveOf(ramp, false, 0, infinity::kCycle).evaluate(1.25), 0.25, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, infinity::kCycle, 0).evaluate(-0.25), 0.75, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, 0, infinity::kCycleRelative).evaluate(2.5), 2.5, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, infinity::kCycleRelative, 0).evaluate(-1.25), -1.25, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, 0, infinity::kOscillate).evaluate(1.25), 0.75, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, 0, infinity::kOscillate).evaluate(2.25), 0.25, 1e-9);
    EXPECT_NEAR(curveOf(ramp, false, infinity::kOscillate, 0).evaluate(-0.25), 0.25, 1e-9);
    // Linear infinity follows the end key's tangent, not the last segment.
    AnimCurveKey last = key(1, 1, tangent::kFixed);
    last.hasOut = true;
    last.outX = 1.0;
    last.outY = -2.0;
    EXPECT_NEAR(curveOf({ramp[0], last}, false, 0, infinity::kLinear).evaluate(3), -3.0, 1e-12);
    // One key has no range to cycle over: its value.
    EXPECT_DOUBLE_EQ(curveOf({key(2, 7, tangent::kAuto)}, false, 4, 4).evaluate(-9), 7.0);
    EXPECT_DOUBLE_EQ(curveOf({}).evaluate(1), 0.0);
}

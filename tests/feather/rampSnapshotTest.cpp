// A ramp read once must evaluate exactly as the ramp itself does.

#include "featherFixtures.h"

#include "feather/rampSnapshot.h"

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using fixtures::rampEntry;

// Bit-for-bit equality, with NaN equal to itself.
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSnapshotMatches(MRampAttribute ramp, const char* what) {
    rampSnapshot snapshot;
    ASSERT_TRUE(snapshot.read(ramp)) << what;
    std::vector<float> positions = {-1.0f, -1e-7f, 0.0f,  1e-7f, 0.1f, 0.2f,        0.25f, 0.5f,
                                    0.6f,  0.7f,   0.75f, 0.8f,  0.9f, 0.99999994f, 1.0f,  2.0f};
    for (int i = 0; i <= 1000; ++i) {
        positions.push_back(static_cast<float>(i) / 1000.0f);
    }
    for (float x : positions) {
        float expected = -123.0f;
        MStatus status;
        ramp.getValueAtPosition(x, expected, &status);
        ASSERT_EQ(status, MS::kSuccess);
        const float got = snapshot.value(x);
        EXPECT_TRUE(sameBits(got, expected))
            << what << " at " << x << ": snapshot " << got << ", ramp " << expected;
    }
}

} // namespace

TEST(RampSnapshot, EvaluatesExactlyAsTheRampForEveryInterpolation) {
    const MObject node = fixtures::createRampNode();
    MRampAttribute r = fixtures::ramp(node, 1);
    const int kinds[] = {MRampAttribute::kNone, MRampAttribute::kLinear, MRampAttribute::kSmooth,
                         MRampAttribute::kSpline};
    for (int kind : kinds) {
        fixtures::setRamp(r, {{0.8f, 0.1f, kind},
                              {0.1f, 0.9f, kind},
                              {0.5f, -0.4f, kind},
                              {0.3f, 0.35f, kind},
                              {0.95f, 1.7f, kind}});
        expectSnapshotMatches(r, "one interpolation throughout");
    }
    // Mixed interpolations, entries given out of order, and two entries at one position (a
    // step: the spline slope across it counts as flat).
    fixtures::setRamp(r, {{0.6f, 0.2f, MRampAttribute::kSpline},
                          {0.2f, 1.0f, MRampAttribute::kSmooth},
                          {0.6f, 0.7f, MRampAttribute::kSpline},
                          {0.0f, 0.0f, MRampAttribute::kNone},
                          {0.9f, 0.4f, MRampAttribute::kLinear},
                          {0.4f, 0.3f, MRampAttribute::kSpline}});
    expectSnapshotMatches(r, "mixed");
}

TEST(RampSnapshot, RandomRampsMatch) {
    const MObject node = fixtures::createRampNode();
    MRampAttribute r = fixtures::ramp(node, 4);
    std::mt19937 engine(77);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 20; ++trial) {
        MFloatArray positions;
        MFloatArray values;
        MIntArray interps;
        MIntArray indexes;
        MFloatArray oldPositions;
        MFloatArray oldValues;
        MIntArray oldInterps;
        r.getEntries(indexes, oldPositions, oldValues, oldInterps);
        r.deleteEntries(indexes);
        const int n = 1 + trial % 7;
        for (int i = 0; i < n; ++i) {
            positions.append(unit(engine));
            values.append(unit(engine) * 4.0f - 2.0f);
            interps.append(static_cast<int>(engine() % 4));
        }
        r.addEntries(positions, values, interps);
        expectSnapshotMatches(r, "random");
    }
}

TEST(RampSnapshot, EmptyAndUnboundRampsGiveZero) {
    const MObject node = fixtures::createRampNode();
    MRampAttribute r = fixtures::ramp(node, 2);
    MIntArray indexes;
    MFloatArray positions;
    MFloatArray values;
    MIntArray interps;
    r.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 1u) << "a new ramp holds one default entry";
    r.deleteEntries(indexes);

    rampSnapshot empty;
    empty.setConstant(3.0f);
    ASSERT_TRUE(empty.read(r));
    EXPECT_EQ(empty.entryCount(), 0u);
    EXPECT_EQ(empty.value(0.5f), 0.0f);

    rampSnapshot unbound;
    EXPECT_TRUE(unbound.read(MRampAttribute()));
    EXPECT_EQ(unbound.value(0.25f), 0.0f);
}

// Key-barbule previews along a path and on a surface.

#include "featherFixtures.h"

#include "feather/keyBarbules.h"
#include "feather/rachis.h"

#include <maya/MFnNurbsSurface.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double degrees = 180.0 / 3.14159265358979323846;

class KeyBarbulePreview : public ::testing::Test {
  protected:
    void SetUp() override {
        node = fixtures::createRampNode();
        fixtures::defaultDescription(info, node);
        generator.info = &info;
    }

    MObject node;
    featherInfo info;
    featherGenerator generator;
};

} // namespace

TEST_F(KeyBarbulePreview, WorldBuildPutsEightCurvesInLeftBarbulesStartingOnTheRachis) {
    const turtlePath path = fixtures::curvedPath(6);
    featherGeometry g;
    generator.seed(3);
    const unsigned int before = generator.nextRandom();
    generator.seed(3);
    ASSERT_TRUE(buildKeyBarbules(generator, path, g));
    EXPECT_EQ(generator.nextRandom(), before) << "previews draw no random numbers";
    EXPECT_FALSE(generator.clampToUnitSquare);
    ASSERT_EQ(g.leftBarbules.size(), 8u);
    EXPECT_TRUE(g.rightBarbules.empty());
    EXPECT_EQ(g.rachisPoints.length(), 6u);
    for (unsigned int k = 0; k < 8; ++k) {
        ASSERT_EQ(g.leftBarbules[k].length(), 9u);
        turtleState frame;
        linearFrame(path, info.keyBarbuleSet.keyPositions[k % 4], frame);
        EXPECT_EQ(g.leftBarbules[k][0], frame.position) << k;
        EXPECT_TRUE(g.proxyBox.contains(MPoint(g.leftBarbules[k][0]))) << k;
    }

    // One side only at the ends of rachisPosition.
    info.rachisPosition = 0.0f;
    featherGeometry leftOnly;
    ASSERT_TRUE(buildKeyBarbules(generator, path, leftOnly));
    EXPECT_EQ(leftOnly.leftBarbules.size(), 4u);
    info.rachisPosition = 1.0f;
    featherGeometry rightOnly;
    ASSERT_TRUE(buildKeyBarbules(generator, path, rightOnly));
    ASSERT_EQ(rightOnly.leftBarbules.size(), 4u);
    // Right key barbules turn the other way: they mirror the left ones of the full build.
    EXPECT_EQ(rightOnly.leftBarbules[0][0], g.leftBarbules[4][0]);
    EXPECT_EQ(rightOnly.leftBarbules[0][8], g.leftBarbules[4][8]);
    EXPECT_NE(rightOnly.leftBarbules[0][8], g.leftBarbules[0][8]);
}

TEST_F(KeyBarbulePreview, FlatRotationRampsGiveStraightBarbulesAtTheirStartAngles) {
    const turtlePath path = fixtures::straightPath(3, 4.0f);
    featherGeometry g;
    ASSERT_TRUE(buildKeyBarbules(generator, path, g));
    const float step = 0.2f * 4.0f / 8.0f; // barbuleLength * rachisLength / (P - 1)
    for (unsigned int k = 0; k < 8; ++k) {
        const double angle =
            k < 4 ? info.keyBarbuleSet.startAngles[k] : -info.keyBarbuleSet.startAngles[k - 4];
        const MFloatPointArray& curve = g.leftBarbules[k];
        for (unsigned int j = 1; j < curve.length(); ++j) {
            const MFloatVector d = curve[j] - curve[j - 1];
            EXPECT_NEAR(std::atan2(-d.z, d.x) * degrees, angle, 1e-3) << k << "/" << j;
            EXPECT_NEAR(d.length(), step, 1e-6f);
        }
    }

    // A turning ramp bends them: after the first point, each point turns by the ramp at j / P.
    fixtures::setConstant(info.keyBarbuleSet.rotateRamps[0], 1.0f);
    featherGeometry bent;
    ASSERT_TRUE(buildKeyBarbules(generator, path, bent));
    const MFloatPointArray& curve = bent.leftBarbules[0];
    for (unsigned int j = 1; j < curve.length(); ++j) {
        const MFloatVector d = curve[j] - curve[j - 1];
        // Segment j was walked after j - 1 turns of -(1 - 0.5) * 10 degrees.
        EXPECT_NEAR(std::atan2(-d.z, d.x) * degrees, 60.0 - 5.0 * (j - 1), 1e-3) << j;
    }
}

TEST_F(KeyBarbulePreview, SurfaceBuildPutsFourCurvesOnEachSide) {
    const MObject plane = fixtures::planeSurface(2.0, 2.0);
    featherGeometry g;
    ASSERT_TRUE(buildSurfaceKeyBarbules(generator, plane, g));
    EXPECT_TRUE(generator.clampToUnitSquare);
    ASSERT_EQ(g.leftBarbules.size(), 4u);
    ASSERT_EQ(g.rightBarbules.size(), 4u);
    EXPECT_EQ(g.rachisPoints.length(), 5u);
    EXPECT_EQ(g.rachisNormals.length(), 0u) << "points only";
    for (unsigned int k = 0; k < 4; ++k) {
        // The first point is the surface point at (key position, rachisPosition).
        const float u = info.keyBarbuleSet.keyPositions[k];
        EXPECT_EQ(g.leftBarbules[k][0], MFloatPoint(2.0f * u, 0.0f, 1.0f)) << k;
        EXPECT_EQ(g.rightBarbules[k][0], MFloatPoint(2.0f * u, 0.0f, 1.0f)) << k;
        EXPECT_EQ(g.leftBarbules[k].length(), 9u);
        for (unsigned int j = 0; j < 9; ++j) {
            EXPECT_TRUE(g.proxyBox.contains(MPoint(g.rightBarbules[k][j])));
        }
    }
    // Flat ramps: straight in parameter space at the start angle (left +, right -).
    const MFloatVector d = g.leftBarbules[1][4] - g.leftBarbules[1][3];
    EXPECT_NEAR(std::atan2(-d.z, d.x) * degrees, 40.0, 1e-3);
    const MFloatVector e = g.rightBarbules[2][2] - g.rightBarbules[2][1];
    EXPECT_NEAR(std::atan2(-e.z, e.x) * degrees, -20.0, 1e-3);

    // A rachis on the v = 0 edge leaves room on the left only, on the v = 1 edge right only.
    info.rachisPosition = 0.0f;
    featherGeometry leftOnly;
    ASSERT_TRUE(buildSurfaceKeyBarbules(generator, plane, leftOnly));
    EXPECT_EQ(leftOnly.leftBarbules.size(), 4u);
    EXPECT_TRUE(leftOnly.rightBarbules.empty());
    info.rachisPosition = 1.0f;
    featherGeometry rightOnly;
    ASSERT_TRUE(buildSurfaceKeyBarbules(generator, plane, rightOnly));
    EXPECT_TRUE(rightOnly.leftBarbules.empty());
    EXPECT_EQ(rightOnly.rightBarbules.size(), 4u);
}

TEST_F(KeyBarbulePreview, NoLengthNoPathOrBadInputBuildNoBarbules) {
    const turtlePath path = fixtures::curvedPath(4);
    info.barbuleLength = 0.0f;
    featherGeometry g;
    EXPECT_FALSE(buildKeyBarbules(generator, path, g));
    EXPECT_TRUE(g.leftBarbules.empty());
    featherGeometry s;
    EXPECT_TRUE(buildSurfaceKeyBarbules(generator, fixtures::domeSurface(), s));
    EXPECT_EQ(s.rachisPoints.length(), 5u);
    EXPECT_TRUE(s.leftBarbules.empty());
    info.barbuleLength = 0.2f;
    EXPECT_FALSE(buildKeyBarbules(generator, turtlePath(), g));

    info.keyBarbuleSet.startAngles[1] = std::numeric_limits<float>::quiet_NaN();
    featherGeometry bad;
    bad.name = "stale";
    EXPECT_FALSE(buildKeyBarbules(generator, path, bad));
    EXPECT_EQ(bad.name, MString(""));
    EXPECT_EQ(bad.rachisPoints.length(), 0u);
    featherGeometry badSurface;
    badSurface.rachisPoints.append(MFloatPoint());
    EXPECT_FALSE(buildSurfaceKeyBarbules(generator, fixtures::domeSurface(), badSurface));
    EXPECT_EQ(badSurface.rachisPoints.length(), 0u);
}

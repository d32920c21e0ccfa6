// Guide paths, rachis sampling, frames, tube and extent box.

#include "featherFixtures.h"

#include "feather/buildInputs.h"
#include "feather/rachis.h"

#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectPoint(const MFloatPoint& p, float x, float y, float z, float tolerance,
                 const std::string& what) {
    EXPECT_NEAR(p.x, x, tolerance) << what;
    EXPECT_NEAR(p.y, y, tolerance) << what;
    EXPECT_NEAR(p.z, z, tolerance) << what;
}

void expectVector(const MFloatVector& v, float x, float y, float z, float tolerance,
                  const std::string& what) {
    EXPECT_NEAR(v.x, x, tolerance) << what;
    EXPECT_NEAR(v.y, y, tolerance) << what;
    EXPECT_NEAR(v.z, z, tolerance) << what;
}

} // namespace

TEST(TurtlePath, StepFollowsTheFrameCount) {
    turtlePath path;
    EXPECT_EQ(path.step, 1.0f);
    path.append(MFloatPoint(0, 0, 0), MFloatVector(0, 1, 0));
    EXPECT_EQ(path.step, 1.0f);
    path.append(MFloatPoint(1, 0, 0), MFloatVector(0, 1, 0));
    EXPECT_EQ(path.step, 1.0f);
    path.append(MFloatPoint(2, 0, 0), MFloatVector(0, 1, 0));
    path.append(MFloatPoint(3, 0, 0), MFloatVector(0, 1, 0));
    path.append(MFloatPoint(4, 0, 0), MFloatVector(0, 1, 0));
    EXPECT_EQ(path.step, 0.25f);
    path.scale = 3.0f;
    path.growVertexID = 9;
    path.reset();
    EXPECT_EQ(path.frameCount(), 0u);
    EXPECT_EQ(path.step, 1.0f);
    EXPECT_EQ(path.scale, 1.0f);
    EXPECT_EQ(path.growVertexID, 0);
}

TEST(TurtlePath, FromDataRejectsShortOrUnequalArraysAndKeepsThePath) {
    MVectorArray points;
    MVectorArray normals;
    points.append(MVector(1, 2, 3));
    normals.append(MVector(0, 1, 0));
    turtlePath path;
    EXPECT_FALSE(turtleFromData(points, normals, path));
    points.append(MVector(4, 5, 6));
    EXPECT_FALSE(turtleFromData(points, normals, path));
    EXPECT_EQ(path.frameCount(), 0u);
    normals.append(MVector(0, 0, 1));
    points.append(MVector(7, 8, 9));
    normals.append(MVector(1, 0, 0));
    ASSERT_TRUE(turtleFromData(points, normals, path));
    ASSERT_EQ(path.frameCount(), 3u);
    EXPECT_EQ(path.frames[1].position, MFloatPoint(4, 5, 6, 1));
    EXPECT_EQ(path.frames[2].normal, MFloatVector(1, 0, 0));
    EXPECT_EQ(path.step, 0.5f);
}

TEST(RachisSampling, FullPathOfEnoughFramesIsCopiedOtherwiseResampled) {
    const turtlePath path = fixtures::curvedPath(5);
    featherGeometry copied;
    sampleRachis(path, 0.0f, 1.0f, 5, copied);
    ASSERT_EQ(copied.rachisPoints.length(), 5u);
    for (unsigned int i = 0; i < 5; ++i) {
        EXPECT_EQ(copied.rachisPoints[i], path.frames[i].position) << i;
        EXPECT_EQ(copied.rachisNormals[i], path.frames[i].normal) << i;
    }
    // More frames than points asked for: still copied whole.
    featherGeometry more;
    sampleRachis(fixtures::curvedPath(12), 0.0f, 1.0f, 5, more);
    EXPECT_EQ(more.rachisPoints.length(), 12u);

    featherGeometry half;
    sampleRachis(path, 0.0f, 0.5f, 5, half);
    ASSERT_EQ(half.rachisPoints.length(), 5u);
    EXPECT_EQ(half.rachisPoints[0], path.frames[0].position);
    EXPECT_EQ(half.rachisPoints[4], path.frames[2].position);
    // e = 0.5 -> halfway between frames 0 and 1, with frame 0's normal.
    const MFloatPoint mid =
        path.frames[0].position + (path.frames[1].position - path.frames[0].position) * 0.5f;
    EXPECT_EQ(half.rachisPoints[1], mid);
    EXPECT_EQ(half.rachisNormals[1], path.frames[0].normal);
    EXPECT_NEAR(half.rachisLength, polylineLength(half.rachisPoints), 0.0f);
}

TEST(RachisSampling, TwoFramesIntoFivePointsAreEvenAndCarryTheLowerNormal) {
    turtlePath path;
    path.append(MFloatPoint(0, 0, 0), MFloatVector(0, 1, 0));
    path.append(MFloatPoint(4, 0, 0), MFloatVector(0, 0, 1));
    featherGeometry g;
    sampleRachis(path, 0.0f, 1.0f, 5, g);
    ASSERT_EQ(g.rachisPoints.length(), 5u);
    for (unsigned int i = 0; i < 5; ++i) {
        expectPoint(g.rachisPoints[i], static_cast<float>(i), 0, 0, 0.0f, "even spacing");
        // Only the last point reaches frame 1.
        EXPECT_EQ(g.rachisNormals[i], i < 4 ? MFloatVector(0, 1, 0) : MFloatVector(0, 0, 1)) << i;
    }
    EXPECT_EQ(g.rachisLength, 4.0f);
}

TEST(RachisSampling, OutOfRangeEndsAndTinyCountsNeverLeaveThePath) {
    const turtlePath path = fixtures::straightPath(3, 2.0f);
    featherGeometry beyond;
    sampleRachis(path, 0.5f, 7.0f, 6, beyond);
    ASSERT_EQ(beyond.rachisPoints.length(), 6u);
    EXPECT_EQ(beyond.rachisPoints[5], path.frames[2].position);
    featherGeometry one;
    sampleRachis(path, 0.2f, 0.8f, 0, one);
    EXPECT_EQ(one.rachisPoints.length(), 2u) << "counts below 2 are clamped to 2";
    turtlePath single;
    single.append(MFloatPoint(1, 2, 3), MFloatVector(0, 1, 0));
    featherGeometry point;
    sampleRachis(single, 0.0f, 0.5f, 4, point);
    ASSERT_EQ(point.rachisPoints.length(), 4u);
    EXPECT_EQ(point.rachisPoints[3], MFloatPoint(1, 2, 3));
    EXPECT_EQ(point.rachisLength, 0.0f);
}

TEST(RachisThickness, RampIsReadAtIOverM) {
    const MObject node = fixtures::createRampNode();
    rampSnapshot scale;
    fixtures::setRamp(fixtures::ramp(node, 0), {{0.0f, 0.0f, MRampAttribute::kLinear},
                                                {1.0f, 1.0f, MRampAttribute::kLinear}});
    ASSERT_TRUE(scale.read(fixtures::ramp(node, 0)));
    featherGeometry g;
    sampleRachis(fixtures::straightPath(4, 3.0f), 0.0f, 1.0f, 4, g);
    fillRachisThickness(scale, 2.0f, g);
    ASSERT_EQ(g.rachisThickness.length(), 4u);
    EXPECT_EQ(g.rachisThickness[0], 0.0f);
    EXPECT_EQ(g.rachisThickness[3], 0.75f * 2.0f) << "the last point reads 3/4, not 1";
}

TEST(RachisFrames, LinearFrameInterpolatesAndTheEndTakesTheLastSegment) {
    turtlePath path;
    path.append(MFloatPoint(0, 0, 0), MFloatVector(0, 1, 0));
    path.append(MFloatPoint(2, 0, 0), MFloatVector(0, 1, 0));
    path.append(MFloatPoint(2, 0, 2), MFloatVector(1, 0, 0));
    turtleState frame;
    linearFrame(path, 0.25f, frame);
    expectPoint(frame.position, 1, 0, 0, 0.0f, "quarter");
    expectVector(frame.heading, 1, 0, 0, 0.0f, "quarter");
    linearFrame(path, 0.75f, frame);
    expectPoint(frame.position, 2, 0, 1, 0.0f, "three quarters");
    expectVector(frame.heading, 0, 0, 1, 0.0f, "three quarters");
    expectVector(frame.up, std::sqrt(0.5f), std::sqrt(0.5f), 0, 1e-6f, "blended normal");
    linearFrame(path, 1.0f, frame);
    expectPoint(frame.position, 2, 0, 2, 0.0f, "end");
    expectVector(frame.heading, 0, 0, 1, 0.0f, "end");
    expectVector(frame.up, 1, 0, 0, 0.0f, "end");

    turtlePath single;
    single.append(MFloatPoint(1, 1, 1), MFloatVector(0, 2, 0));
    linearFrame(single, 0.5f, frame);
    expectPoint(frame.position, 1, 1, 1, 0.0f, "single");
    expectVector(frame.heading, 0, 0, 0, 0.0f, "single frame has no heading");
    expectVector(frame.up, 0, 1, 0, 0.0f, "single");
}

TEST(RachisFrames, CubicSamplesPassThroughTheFrames) {
    const turtlePath path = fixtures::curvedPath(5);
    MFloatPoint p;
    MFloatVector n;
    for (int k = 0; k < 5; ++k) {
        cubicSample(path, k * 0.25f, p, n);
        expectPoint(p, path.frames[k].position.x, path.frames[k].position.y,
                    path.frames[k].position.z, 1e-5f, "frame " + std::to_string(k));
    }
    // On a straight evenly spaced path the spline is the line itself.
    const turtlePath straight = fixtures::straightPath(5, 4.0f);
    cubicSample(straight, 0.3f, p, n);
    expectPoint(p, 1.2f, 0, 0, 1e-5f, "straight");
}

TEST(RachisFrames, CubicWindowEndsUseOneSidedDifferences) {
    const turtlePath path = fixtures::curvedPath(6);
    const int c = 4;
    MFloatPoint s[c + 1];
    MFloatVector n[c + 1];
    for (int i = 0; i <= c; ++i) {
        cubicSample(path, static_cast<float>(i) / c, s[i], n[i]);
    }
    cubicWindow window;
    turtleState frame;
    for (int i = 0; i <= c; ++i) {
        window.advance(path, i, c);
        window.frame(frame);
        MFloatVector expected = i == 0   ? s[1] - s[0]
                                : i == c ? s[c] - s[c - 1]
                                         : s[i + 1] - s[i - 1];
        expected.normalize();
        expectPoint(frame.position, s[i].x, s[i].y, s[i].z, 0.0f, "window " + std::to_string(i));
        expectVector(frame.heading, expected.x, expected.y, expected.z, 1e-6f,
                     "window " + std::to_string(i));
        // up is the heading turned towards the normal: perpendicular to the heading.
        EXPECT_NEAR(frame.up * frame.heading, 0.0f, 1e-5f) << i;
        EXPECT_GT(frame.up * n[i], 0.0f) << i;
    }
}

TEST(RachisMesh, FourSidesTenPointsMake40Vertices36QuadsAnd50Uvs) {
    featherGeometry g;
    sampleRachis(fixtures::curvedPath(10), 0.0f, 1.0f, 10, g);
    for (unsigned int i = 0; i < 10; ++i) {
        g.rachisThickness.append(0.5f);
    }
    buildRachisMesh(g, 0.4f, 4);
    const featherMeshData& m = g.rachisMesh;
    EXPECT_EQ(m.points.length(), 40u);
    EXPECT_EQ(m.polygonCounts.length(), 36u);
    EXPECT_EQ(m.polygonConnects.length(), 144u);
    EXPECT_EQ(m.uvIds.length(), 144u);
    EXPECT_EQ(m.uArray.length(), 50u);
    EXPECT_EQ(m.vArray.length(), 50u);
    // Quad 3 of ring pair 0 wraps to vertex 0; its UVs use the repeated seam column.
    const int connects[] = {3, 0, 4, 7};
    const int uvs[] = {3, 4, 9, 8};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(m.polygonConnects[12 + k], connects[k]);
        EXPECT_EQ(m.uvIds[12 + k], uvs[k]);
    }
    EXPECT_EQ(m.uArray[4], 1.0f);
    EXPECT_EQ(m.vArray[49], 1.0f);
    // Ring radius is thickness * rachisThick, around the rachis point, across the tangent.
    for (unsigned int i = 0; i < 10; ++i) {
        const MFloatVector tangent = i < 9 ? g.rachisPoints[i + 1] - g.rachisPoints[i]
                                           : g.rachisPoints[9] - g.rachisPoints[8];
        for (unsigned int k = 0; k < 4; ++k) {
            const MFloatVector spoke = m.points[i * 4 + k] - g.rachisPoints[i];
            EXPECT_NEAR(spoke.length(), 0.2f, 1e-6f);
            EXPECT_NEAR(spoke * tangent, 0.0f, 1e-6f);
        }
    }
    EXPECT_TRUE(g.meshBox.contains(MPoint(m.points[17])));

    featherGeometry few;
    few.rachisPoints.append(MFloatPoint(0, 0, 0));
    few.rachisThickness.append(1.0f);
    buildRachisMesh(few, 1.0f, 4);
    EXPECT_EQ(few.rachisMesh.points.length(), 0u) << "one point has no tangent";
    buildRachisMesh(g, 1.0f, 2);
    EXPECT_EQ(g.rachisMesh.points.length(), 0u) << "fewer than 3 sides make no tube";
}

TEST(ExtentBox, CoversBarbuleReachMarginsAndTheEnds) {
    featherGeometry g;
    sampleRachis(fixtures::straightPath(3, 2.0f), 0.0f, 1.0f, 3, g);
    const float margins[3] = {0.5f, 0.25f, 0.125f};
    expandExtentBox(g, 1.0f, 2.0f, margins);
    // Across: (1 + 0.5) * 2 each way along z (tangent x ^ normal y = z). Along: 0.25 * 2 times
    // the unit-length tangent beyond each end. Normal: 0.125 * 2.
    EXPECT_EQ(g.proxyBox.min().x, -0.5);
    EXPECT_EQ(g.proxyBox.max().x, 2.5);
    EXPECT_EQ(g.proxyBox.min().z, -3.0);
    EXPECT_EQ(g.proxyBox.max().z, 3.0);
    EXPECT_EQ(g.proxyBox.min().y, -0.25);
    EXPECT_EQ(g.proxyBox.max().y, 0.25);

    featherGeometry single;
    single.rachisPoints.append(MFloatPoint(1, 2, 3));
    single.rachisNormals.append(MFloatVector(0, 1, 0));
    expandExtentBox(single, 5.0f, 1.0f, margins);
    EXPECT_EQ(single.proxyBox.min(), MPoint(1, 2, 3));
    EXPECT_EQ(single.proxyBox.max(), MPoint(1, 2, 3));
}

TEST(SurfacePath, WalksTheWholeRangeAlongTheRachisDirection) {
    const MObject plane = fixtures::planeSurface(4.0, 2.0);
    featherGenerator generator;
    featherInfo info;
    info.rachisPointCount = 5;
    info.rachisPosition = 0.25f;
    info.rachisStart = 0.5f; // applied at sampling, not here
    generator.info = &info;
    generator.clampToUnitSquare = false;
    turtlePath path;
    path.scale = 7.0f;
    ASSERT_TRUE(turtleFromSurface(generator, plane, path));
    EXPECT_TRUE(generator.clampToUnitSquare);
    EXPECT_EQ(path.scale, 1.0f);
    ASSERT_EQ(path.frameCount(), 5u);
    for (unsigned int i = 0; i < 5; ++i) {
        expectPoint(path.frames[i].position, static_cast<float>(i), 0.0f, 0.5f, 1e-6f, "U");
        expectVector(path.frames[i].normal, 0, -1, 0, 1e-6f, "U");
    }
    info.direction = 1;
    ASSERT_TRUE(turtleFromSurface(generator, plane, path));
    for (unsigned int i = 0; i < 5; ++i) {
        expectPoint(path.frames[i].position, 1.0f, 0.0f, 0.5f * i, 1e-6f, "V");
    }

    // Not a surface, or no description: no path.
    EXPECT_FALSE(turtleFromSurface(generator, MObject(), path));
    EXPECT_EQ(path.frameCount(), 0u);
    generator.info = nullptr;
    EXPECT_FALSE(turtleFromSurface(generator, plane, path));
}

TEST(SurfacePath, DomeSamplesMatchTheSurface) {
    const MObject dome = fixtures::domeSurface();
    featherGenerator generator;
    featherInfo info;
    info.rachisPointCount = 3;
    info.rachisPosition = 0.5f;
    generator.info = &info;
    turtlePath path;
    ASSERT_TRUE(turtleFromSurface(generator, dome, path));
    MFnNurbsSurface fn(dome);
    for (unsigned int i = 0; i < 3; ++i) {
        MPoint p;
        ASSERT_EQ(fn.getPointAtParam(0.5 * i, 0.5, p, MSpace::kWorld), MS::kSuccess);
        expectPoint(path.frames[i].position, float(p.x), float(p.y), float(p.z), 0.0f, "dome");
        EXPECT_NEAR(path.frames[i].normal.length(), 1.0f, 1e-6f);
    }
}

// The host's value types: rotation conventions, row-vector matrices, float/double pairs, arrays.

#include <maya/MBoundingBox.h>
#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MEulerRotation.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVector.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

namespace {

const double kHalfPi = M_PI / 2.0;

::testing::AssertionResult near(const MVector& a, const MVector& b, double tol = 1e-12) {
    if (a.isEquivalent(b, tol))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b;
}

::testing::AssertionResult near(const MMatrix& a, const MMatrix& b, double tol = 1e-12) {
    if (a.isEquivalent(b, tol))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << "\nvs\n" << b;
}

MMatrix rows(std::initializer_list<std::initializer_list<double>> values) {
    MMatrix m;
    int i = 0;
    for (const auto& row : values) {
        int j = 0;
        for (double v : row)
            m[i][j++] = v;
        ++i;
    }
    return m;
}

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return m;
}

} // namespace

TEST(Quaternion, RotatesRightHandedAboutAxis) {
    const MQuaternion aboutY(kHalfPi, MVector::yAxis);
    const MQuaternion aboutZ(kHalfPi, MVector::zAxis);
    const MQuaternion aboutX(kHalfPi, MVector::xAxis);
    EXPECT_TRUE(near(MVector::xAxis.rotateBy(aboutY), MVector(0, 0, -1)));
    EXPECT_TRUE(near(MVector::xAxis.rotateBy(aboutZ), MVector(0, 1, 0)));
    EXPECT_TRUE(near(MVector::yAxis.rotateBy(aboutX), MVector(0, 0, 1)));
    // The axis need not be unit length.
    EXPECT_TRUE(
        near(MVector::xAxis.rotateBy(MQuaternion(kHalfPi, MVector(0, 5, 0))), MVector(0, 0, -1)));
    EXPECT_TRUE(near(MVector::xAxis.rotateBy(MVector::kYaxis, kHalfPi), MVector(0, 0, -1)));

    // The matrix form acts on row vectors the same way.
    const MVector v(0.3, -1.2, 2.5);
    for (const MQuaternion& q : {aboutX, aboutY, aboutZ, MQuaternion(1.1, MVector(1, 2, 3))})
        EXPECT_TRUE(near(v * q.asMatrix(), v.rotateBy(q)));
}

TEST(Quaternion, ProductAppliesLeftOperandFirst) {
    const MQuaternion a(kHalfPi, MVector::zAxis);
    const MQuaternion b(kHalfPi, MVector::xAxis);
    const MVector v(1, 0, 0);
    // x -> y about z, then y -> z about x.
    EXPECT_TRUE(near(v.rotateBy(a * b), MVector(0, 0, 1)));
    EXPECT_TRUE(near(v.rotateBy(a * b), v.rotateBy(a).rotateBy(b)));
    EXPECT_TRUE(near((a * b).asMatrix(), a.asMatrix() * b.asMatrix()));
    EXPECT_TRUE(near(v.rotateBy(a * a.inverse()), v));
}

TEST(Quaternion, AxisShorterThanThresholdGivesIdentity) {
    EXPECT_EQ(MQuaternion(1.0, MVector(1e-11, 0, 0)), MQuaternion::identity);
    EXPECT_EQ(MQuaternion(2.0, MVector::zero), MQuaternion::identity);
    EXPECT_TRUE(
        near(MVector(1, 2, 3).rotateBy(MQuaternion(0.7, MVector(0, 5e-11, 0))), MVector(1, 2, 3)));
    // Just above the threshold the axis is still a direction.
    EXPECT_TRUE(
        near(MVector::xAxis.rotateBy(MQuaternion(kHalfPi, MVector(0, 0, 1e-9))), MVector(0, 1, 0)));
}

TEST(Quaternion, RotateToTakesShortestArc) {
    const MVector a(1, 2, 3), b(-2, 0.5, 1);
    const MQuaternion q = a.rotateTo(b);
    EXPECT_TRUE(near(a.normal().rotateBy(q), b.normal()));
    // Shortest arc: the rotation angle is the angle between the vectors, about a x b.
    MVector axis;
    double theta = 0.0;
    ASSERT_TRUE(q.getAxisAngle(axis, theta));
    EXPECT_NEAR(theta, a.angle(b), 1e-12);
    EXPECT_TRUE(near(axis, (a ^ b).normal()));

    EXPECT_EQ(MVector(0, 0, 2).rotateTo(MVector(0, 0, 7)), MQuaternion::identity);
    // Scaling the angle gives partway rotations.
    EXPECT_TRUE(near(MVector::xAxis.rotateBy(MQuaternion(MVector::xAxis, MVector::yAxis, 0.5)),
                     MVector(std::sqrt(0.5), std::sqrt(0.5), 0)));
}

TEST(Quaternion, RotateToOppositeIsHalfTurnAboutPerpendicular) {
    for (const MVector& a : {MVector(1, 0, 0), MVector(0, -3, 0), MVector(0, 0, 1),
                             MVector(1, 2, 3), MVector(-0.2, 0.1, 5)}) {
        const MVector b = a * -2.0;
        const MQuaternion q = a.rotateTo(b);
        EXPECT_NEAR(q.w, 0.0, 1e-12) << a;
        const MVector axis(q.x, q.y, q.z);
        EXPECT_NEAR(axis.length(), 1.0, 1e-12) << a;
        EXPECT_NEAR(axis * a, 0.0, 1e-12) << a;
        EXPECT_TRUE(near(a.rotateBy(q), -a)) << a;
    }
    // Nearly opposite still lands on the target.
    const MVector a(1, 0, 0), b(-1, 1e-9, 0);
    EXPECT_TRUE(near(a.rotateBy(a.rotateTo(b)), b.normal(), 1e-9));
}

TEST(Quaternion, FromMatrixRecoversRotation) {
    // Includes half turns, where the trace is negative and the usual formula breaks down.
    for (const MQuaternion& q :
         {MQuaternion(0.4, MVector(1, 1, 0)), MQuaternion(M_PI, MVector::xAxis),
          MQuaternion(M_PI, MVector::yAxis), MQuaternion(M_PI, MVector(0, 1, 1)),
          MQuaternion(3.0, MVector(-1, 2, 0.5))}) {
        MMatrix scaled = q.asMatrix();
        for (int j = 0; j < 3; ++j)
            scaled[1][j] *= 3.0; // scale is divided out
        MQuaternion back;
        back = scaled;
        const MQuaternion sameSign = (back.w * q.w + back.x * q.x < 0.0) ? -back : back;
        EXPECT_TRUE(sameSign.isEquivalent(q.normal(), 1e-12)) << q << " vs " << back;
    }
}

TEST(Quaternion, SlerpHalfwayHalvesAngle) {
    const MQuaternion a = MQuaternion::identity;
    const MQuaternion b(kHalfPi, MVector::zAxis);
    EXPECT_TRUE(slerp(a, b, 0.5).isEquivalent(MQuaternion(M_PI / 4.0, MVector::zAxis), 1e-12));
    EXPECT_TRUE(slerp(a, b, 0.0).isEquivalent(a, 1e-12));
    EXPECT_TRUE(slerp(a, b, 1.0).isEquivalent(b, 1e-12));
}

TEST(Vector, NormalizeLeavesNearZeroUnchanged) {
    MVector tiny(1e-11, -1e-11, 0);
    EXPECT_EQ(tiny.normalize(), MS::kSuccess);
    EXPECT_EQ(tiny, MVector(1e-11, -1e-11, 0));
    EXPECT_EQ(MVector::zero.normal(), MVector::zero);
    MVector small(1e-9, 0, 0); // squared length 1e-18: still a direction
    EXPECT_EQ(small.normalize(), MS::kSuccess);
    EXPECT_TRUE(near(small, MVector::xAxis));

    MFloatVector ftiny(1e-11f, 0.0f, 0.0f);
    EXPECT_EQ(ftiny.normalize(), MS::kSuccess);
    EXPECT_EQ(ftiny, MFloatVector(1e-11f, 0.0f, 0.0f));
    MFloatVector fsmall(0.0f, 1e-9f, 0.0f);
    fsmall.normalize();
    EXPECT_TRUE(fsmall.isEquivalent(MFloatVector::yAxis));
    EXPECT_NEAR(MFloatVector(3, 4, 0).normal().length(), 1.0f, 1e-6f);
}

TEST(Vector, AngleIsAccurateNearZeroAndPi) {
    EXPECT_NEAR(MVector(1, 0, 0).angle(MVector(1, 1e-9, 0)), 1e-9, 1e-18);
    EXPECT_NEAR(MVector(1, 0, 0).angle(MVector(-1, 0, 0)), M_PI, 1e-15);
    EXPECT_NEAR(MVector(2, 0, 0).angle(MVector(0, 0, 3)), kHalfPi, 1e-15);
    EXPECT_EQ(MVector::zero.angle(MVector::xAxis), 0.0);
    EXPECT_NEAR(MFloatVector(1, 0, 0).angle(MFloatVector(0, 1, 0)), float(kHalfPi), 1e-6f);
}

TEST(Matrix, PointsTranslateAndVectorsDoNot) {
    const MMatrix m = MQuaternion(kHalfPi, MVector::zAxis).asMatrix() * translation(10, 20, 30);
    EXPECT_TRUE((MPoint(1, 0, 0) * m).isEquivalent(MPoint(10, 21, 30), 1e-12));
    EXPECT_TRUE(near(MVector(1, 0, 0) * m, MVector(0, 1, 0)));
    // Column form uses the transpose.
    EXPECT_TRUE((m.transpose() * MPoint(1, 0, 0)).isEquivalent(MPoint(10, 21, 30), 1e-12));
    EXPECT_TRUE(near(m.transpose() * MVector(1, 0, 0), MVector(0, 1, 0)));

    float fm[4][4];
    m.get(fm);
    const MFloatMatrix f(fm);
    EXPECT_TRUE((MFloatPoint(1, 0, 0) * f).isEquivalent(MFloatPoint(10, 21, 30)));
    EXPECT_TRUE((MFloatVector(1, 0, 0) * f).isEquivalent(MFloatVector(0, 1, 0)));

    // The product is homogeneous: w comes out of the last column, nothing is divided.
    MMatrix projective;
    projective[2][3] = 1.0;
    projective[3][3] = 0.0;
    const MPoint p = MPoint(1, 2, 4) * projective;
    EXPECT_EQ(p, MPoint(1, 2, 4, 4));
    EXPECT_TRUE(MPoint(p).cartesianize().isEquivalent(MPoint(0.25, 0.5, 1.0)));
}

TEST(Matrix, InverseRoundTripsAndSingularFallsBack) {
    MMatrix scale;
    scale[0][0] = 2.0;
    scale[1][1] = 0.5;
    scale[2][2] = -3.0;
    const MMatrix m = scale * MEulerRotation(0.3, -1.1, 2.0, MEulerRotation::kZXY).asMatrix() *
                      translation(4, -5, 6);
    EXPECT_NEAR(m.det4x4(), -3.0, 1e-12);
    EXPECT_NEAR(scale.det3x3(), -3.0, 1e-12);
    EXPECT_TRUE(near(m * m.inverse(), MMatrix::identity));
    EXPECT_TRUE(near(m.inverse() * m, MMatrix::identity));
    const MPoint p(0.5, 7, -2);
    EXPECT_TRUE((p * m * m.inverse()).isEquivalent(p, 1e-12));
    EXPECT_FALSE(m.isSingular());

    MMatrix flat;
    flat[2][2] = 0.0;
    EXPECT_TRUE(flat.isSingular());
    EXPECT_EQ(flat.inverse(), MMatrix::identity);

    float fm[4][4];
    m.get(fm);
    const MFloatMatrix f(fm);
    const MFloatMatrix fi = f * f.inverse();
    EXPECT_TRUE(fi.isEquivalent(MFloatMatrix(), 1e-5f));
}

TEST(Matrix, IndexingIsRowThenColumn) {
    MMatrix m;
    m[3][0] = 7.0; // translation x
    m(1, 2) = 5.0;
    EXPECT_EQ(m(3, 0), 7.0);
    EXPECT_EQ(m.matrix[1][2], 5.0);
    EXPECT_EQ(m.transpose()[0][3], 7.0);
    EXPECT_TRUE((MPoint::origin * m).isEquivalent(MPoint(7, 0, 0)));
}

TEST(EulerRotation, OrdersMatchHandComputedMatrices) {
    // x = 90, z = 90 degrees: x first then z, or z first then x.
    const MMatrix xyz = MEulerRotation(kHalfPi, 0, kHalfPi, MEulerRotation::kXYZ).asMatrix();
    EXPECT_TRUE(near(xyz, rows({{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}})));
    const MMatrix zyx = MEulerRotation(kHalfPi, 0, kHalfPi, MEulerRotation::kZYX).asMatrix();
    EXPECT_TRUE(near(zyx, rows({{0, 0, 1, 0}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}})));

    // y-axis under x = y = 90: rotate about x first (-> z), then about y (-> x); or y first
    // (no change), then x (-> z).
    const MVector up(0, 1, 0);
    EXPECT_TRUE(near(up * MEulerRotation(kHalfPi, kHalfPi, 0, MEulerRotation::kXYZ).asMatrix(),
                     MVector(1, 0, 0)));
    EXPECT_TRUE(near(up * MEulerRotation(kHalfPi, kHalfPi, 0, MEulerRotation::kYXZ).asMatrix(),
                     MVector(0, 0, 1)));

    // Each order composes its three axis rotations first to last.
    const double x = 0.3, y = -0.7, z = 1.9;
    const MMatrix rx = MQuaternion(x, MVector::xAxis).asMatrix();
    const MMatrix ry = MQuaternion(y, MVector::yAxis).asMatrix();
    const MMatrix rz = MQuaternion(z, MVector::zAxis).asMatrix();
    const struct {
        MEulerRotation::RotationOrder order;
        MMatrix expected;
    } cases[] = {{MEulerRotation::kXYZ, rx * ry * rz}, {MEulerRotation::kYZX, ry * rz * rx},
                 {MEulerRotation::kZXY, rz * rx * ry}, {MEulerRotation::kXZY, rx * rz * ry},
                 {MEulerRotation::kYXZ, ry * rx * rz}, {MEulerRotation::kZYX, rz * ry * rx}};
    for (const auto& c : cases) {
        const MEulerRotation e(x, y, z, c.order);
        EXPECT_TRUE(near(e.asMatrix(), c.expected)) << e;
        EXPECT_TRUE(near(e.asQuaternion().asMatrix(), c.expected)) << e;
    }
}

TEST(EulerRotation, DecomposeRecoversEveryOrder) {
    const MEulerRotation::RotationOrder orders[] = {MEulerRotation::kXYZ, MEulerRotation::kYZX,
                                                    MEulerRotation::kZXY, MEulerRotation::kXZY,
                                                    MEulerRotation::kYXZ, MEulerRotation::kZYX};
    // Indices of each order's first, middle and last axis.
    const int first[] = {0, 1, 2, 0, 1, 2}, middle[] = {1, 2, 0, 2, 0, 1},
              last[] = {2, 0, 1, 1, 2, 0};
    for (auto order : orders) {
        // Decomposition returns the middle angle in [-pi/2, pi/2], the others in (-pi, pi].
        MEulerRotation e(0, 0, 0, order);
        e[first[order]] = 2.9;
        e[middle[order]] = -1.2;
        e[last[order]] = -3.0;
        const MEulerRotation back = MEulerRotation::decompose(e.asMatrix(), order);
        EXPECT_TRUE(back.isEquivalent(e, 1e-12)) << e << " -> " << back;
        // Gimbal lock: the middle angle at 90 degrees; only the matrix must survive.
        MEulerRotation locked(0, 0, 0, order);
        locked[first[order]] = 0.3;
        locked[middle[order]] = kHalfPi;
        locked[last[order]] = 0.9;
        const MEulerRotation lockedBack = MEulerRotation::decompose(locked.asMatrix(), order);
        EXPECT_TRUE(near(lockedBack.asMatrix(), locked.asMatrix())) << locked;

        EXPECT_TRUE(near(e.alternateSolution().asMatrix(), e.asMatrix())) << e;
        EXPECT_TRUE(near(e.asMatrix() * e.inverse().asMatrix(), MMatrix::identity)) << e;
        for (auto other : orders)
            EXPECT_TRUE(near(e.reorder(other).asMatrix(), e.asMatrix())) << e << " " << other;
        EXPECT_TRUE(e.reorder(order).isEquivalent(e, 1e-12));
    }
}

TEST(EulerRotation, IncrementalRotationDoesNotWrap) {
    MEulerRotation e(0, 0, 3.0);
    for (int i = 0; i < 4; ++i)
        e.incrementalRotateBy(MVector::zAxis, 0.1);
    EXPECT_NEAR(e.z, 3.4, 1e-12);
    EXPECT_NEAR(e.x, 0.0, 1e-12);
}

TEST(BoundingBox, ExpandsFromEmpty) {
    MBoundingBox box;
    EXPECT_FALSE(box.contains(MPoint::origin));
    EXPECT_EQ(box.width(), 0.0);
    box.expand(MPoint(1, 2, 3));
    EXPECT_TRUE(box.contains(MPoint(1, 2, 3)));
    EXPECT_EQ(box.width(), 0.0);
    box.expand(MPoint(-1, 4, 3));
    box.expand(MBoundingBox()); // empty adds nothing
    EXPECT_EQ(box.min(), MPoint(-1, 2, 3));
    EXPECT_EQ(box.max(), MPoint(1, 4, 3));
    box.expand(MBoundingBox(MPoint(0, 0, 10), MPoint(0.5, 1, 5))); // corners in any order
    EXPECT_EQ(box.min(), MPoint(-1, 0, 3));
    EXPECT_EQ(box.max(), MPoint(1, 4, 10));
    EXPECT_EQ(box.center(), MPoint(0, 2, 6.5));
    EXPECT_DOUBLE_EQ(box.depth(), 7.0);
    EXPECT_TRUE(box.contains(MPoint(1, 4, 10)));
    EXPECT_FALSE(box.contains(MPoint(1, 4, 10.001)));
    const MBoundingBox beside(MPoint(1.5, 0, 3), MPoint(2, 1, 4)); // 0.5 away in x
    EXPECT_TRUE(box.intersects(beside, 0.6));
    EXPECT_FALSE(box.intersects(beside));
    box.clear();
    EXPECT_FALSE(box.contains(MPoint::origin));
}

TEST(BoundingBox, TransformBoundsRotatedCorners) {
    MBoundingBox box(MPoint(0, 0, 0), MPoint(1, 1, 1));
    const MMatrix m = MQuaternion(M_PI / 4.0, MVector::zAxis).asMatrix() * translation(5, 0, 0);
    EXPECT_EQ(box.transformUsing(m), MS::kSuccess);
    const double r = std::sqrt(0.5);
    EXPECT_TRUE(box.min().isEquivalent(MPoint(5 - r, 0, 0), 1e-12));
    EXPECT_TRUE(box.max().isEquivalent(MPoint(5 + r, 2 * r, 1), 1e-12));
    EXPECT_NEAR(box.width(), 2 * r, 1e-12);

    MBoundingBox empty;
    empty.transformUsing(m);
    EXPECT_FALSE(empty.contains(MPoint(5, 0, 0)));
}

TEST(FloatDouble, PointVectorArithmeticKeepsTypesAndW) {
    static_assert(std::is_same<decltype(MPoint() - MPoint()), MVector>::value, "");
    static_assert(std::is_same<decltype(MFloatPoint() - MFloatPoint()), MFloatVector>::value, "");
    static_assert(std::is_same<decltype(MFloatPoint() + MFloatVector()), MFloatPoint>::value, "");

    EXPECT_EQ(MFloatPoint().w, 1.0f);
    EXPECT_EQ(MFloatPoint(MFloatVector(1, 2, 3)), MFloatPoint(1, 2, 3, 1));
    const MFloatPoint weighted(1, 2, 3, 2);
    EXPECT_EQ((weighted + MFloatVector(1, 1, 1)).w, 2.0f);
    EXPECT_EQ((weighted - MFloatVector(1, 1, 1)).w, 2.0f);
    EXPECT_EQ(MFloatPoint(4, 5, 6) - MFloatPoint(1, 1, 1), MFloatVector(3, 4, 5));
    EXPECT_EQ((MPoint(1, 2, 3, 2) + MVector(1, 0, 0)), MPoint(2, 2, 3, 2));
    EXPECT_EQ(MPoint(MVector(1, 2, 3)).w, 1.0);

    // Double to float and back.
    const MPoint p(0.1, 1e10, -3.5, 1);
    MFloatPoint fp;
    fp.setCast(p);
    EXPECT_EQ(fp, MFloatPoint(0.1f, 1e10f, -3.5f, 1.0f));
    EXPECT_EQ(MPoint(fp), MPoint(double(0.1f), double(1e10f), -3.5, 1));
    EXPECT_EQ(MVector(MFloatVector(1.5f, 2, 3)), MVector(1.5, 2, 3));
    EXPECT_EQ(MFloatVector(MVector(0.1, 0, 0)).x, 0.1f);
    EXPECT_EQ(MVector(MPoint(1, 2, 3, 4)), MVector(1, 2, 3));
}

TEST(Color, HsvRoundTrip) {
    const MColor green(MColor::kHSV, 120.0f, 1.0f, 1.0f);
    EXPECT_EQ(green, MColor(0, 1, 0, 1));
    float h, s, v;
    MColor(0.25f, 0.5f, 1.0f).get(MColor::kHSV, h, s, v);
    EXPECT_NEAR(h, 220.0f, 1e-4f);
    EXPECT_NEAR(s, 0.75f, 1e-6f);
    EXPECT_NEAR(v, 1.0f, 1e-6f);
    const MColor back(MColor::kHSV, h, s, v);
    EXPECT_NEAR(back.r, 0.25f, 1e-6f);
    EXPECT_NEAR(back.g, 0.5f, 1e-6f);
    EXPECT_NEAR(back.b, 1.0f, 1e-6f);
    const unsigned char full = 255, none = 0, fifth = 51;
    const MColor bytes(MColor::kRGB, full, none, fifth);
    EXPECT_EQ(bytes.r, 1.0f);
    EXPECT_NEAR(bytes.b, 0.2f, 1e-7f);
    EXPECT_EQ(bytes.a, 1.0f);
}

TEST(Arrays, OutOfRangeEditsFailWithoutEffect) {
    MIntArray a(3, 7);
    EXPECT_EQ(a.remove(3), MS::kFailure);
    EXPECT_EQ(a.insert(1, 4), MS::kFailure);
    EXPECT_EQ(a.set(1, 3), MS::kFailure);
    EXPECT_EQ(a.remove(~0u), MS::kFailure);
    ASSERT_EQ(a.length(), 3u);
    EXPECT_EQ(a[0] + a[1] + a[2], 21);

    EXPECT_EQ(a.insert(9, 3), MS::kSuccess); // at length: appends
    EXPECT_EQ(a.insert(1, 0), MS::kSuccess);
    EXPECT_EQ(a.remove(2), MS::kSuccess);
    const int expected[] = {1, 7, 7, 9};
    ASSERT_EQ(a.length(), 4u);
    int got[4];
    a.get(got);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(got[i], expected[i]);

    MVectorArray empty;
    EXPECT_EQ(empty.remove(0), MS::kFailure);
    EXPECT_EQ(empty.set(MVector::xAxis, 0), MS::kFailure);
    EXPECT_EQ(empty.insert(MVector::xAxis, 0), MS::kSuccess);
    EXPECT_EQ(empty.length(), 1u);
}

TEST(Arrays, PointArraysGrowWithOriginAndConvert) {
    const double raw[2][4] = {{1, 2, 3, 1}, {4, 5, 6, 2}};
    MPointArray points(raw, 2);
    points.setLength(3);
    EXPECT_EQ(points[2], MPoint::origin);
    points.append(7, 8);
    EXPECT_EQ(points[3], MPoint(7, 8, 0, 1));
    float out[4][4];
    points.get(out);
    EXPECT_EQ(out[1][3], 2.0f);

    MFloatPointArray fpoints(2);
    EXPECT_EQ(fpoints[1].w, 1.0f);
    fpoints.set(1, 1.0f, 2.0f);
    EXPECT_EQ(fpoints[1], MFloatPoint(1, 2, 0, 1));

    MDoubleArray copy;
    const MDoubleArray source(2, 0.5);
    copy.append(9.0);
    copy.copy(source);
    EXPECT_EQ(copy.length(), 2u);
    EXPECT_EQ(copy[1], 0.5);
}

TEST(Vector, TransformAsNormalStaysPerpendicularUnderNonUniformScale) {
    MMatrix m = MQuaternion(0.7, MVector(0, 0, 1)).asMatrix();
    for (int j = 0; j < 3; ++j)
        m[0][j] *= 3.0; // stretch x before rotating
    m[3][0] = 5.0;      // translation must not matter
    const MVector n = MVector(1, 1, 0).normal(), tangent(1, -1, 0), other(0, 0, 1);
    const MVector n2 = n.transformAsNormal(m);
    EXPECT_NEAR(n2.length(), 1.0, 1e-12);
    EXPECT_NEAR(n2 * (tangent * m), 0.0, 1e-12);
    EXPECT_NEAR(n2 * (other * m), 0.0, 1e-12);
    // Plain multiplication would tilt it.
    EXPECT_GT(std::fabs((n * m).normal() * (tangent * m).normal()), 0.1);

    float fm[4][4];
    m.get(fm);
    const MFloatVector f2 = MFloatVector(n).transformAsNormal(MFloatMatrix(fm));
    EXPECT_NEAR(f2 * (MFloatVector(tangent) * MFloatMatrix(fm)), 0.0f, 1e-5f);
}

TEST(Vector, ParallelIgnoresLengthAndDirection) {
    EXPECT_TRUE(MVector(1, 2, 3).isParallel(MVector(-2, -4, -6)));
    EXPECT_TRUE(MVector(1, 2, 3).isParallel(MVector(0.5, 1, 1.5)));
    EXPECT_FALSE(MVector(1, 2, 3).isParallel(MVector(1, 2, 3.001)));
    EXPECT_TRUE(MFloatVector(0, 0, 2).isParallel(MFloatVector(0, 0, -1)));
}

TEST(Quaternion, AxisAngleLogExpAndEulerRoundTrip) {
    const MQuaternion q(1.2, MVector(0, 3, 4));
    MVector axis;
    double theta = 0.0;
    ASSERT_TRUE(q.getAxisAngle(axis, theta));
    EXPECT_NEAR(theta, 1.2, 1e-12);
    EXPECT_TRUE(near(axis, MVector(0, 0.6, 0.8)));
    EXPECT_FALSE(MQuaternion::identity.getAxisAngle(axis, theta));
    EXPECT_EQ(theta, 0.0);

    EXPECT_TRUE(q.log().exp().isEquivalent(q, 1e-12));
    EXPECT_NEAR(q.log().w, 0.0, 1e-12); // unit quaternions have a pure log
    EXPECT_TRUE((q * q.inverse()).isEquivalent(MQuaternion::identity, 1e-12));
    EXPECT_TRUE((2.0 * q).inverse().isEquivalent(0.5 * q.inverse(), 1e-12));
    EXPECT_TRUE(MQuaternion().setToXAxis(0.3).isEquivalent(MQuaternion(0.3, MVector::xAxis)));

    const MEulerRotation e = q.asEulerRotation();
    EXPECT_EQ(e.order, MEulerRotation::kXYZ);
    EXPECT_TRUE(near(e.asMatrix(), q.asMatrix()));
    MEulerRotation zxy(0, 0, 0, MEulerRotation::kZXY);
    zxy = q; // keeps its order
    EXPECT_EQ(zxy.order, MEulerRotation::kZXY);
    EXPECT_TRUE(near(zxy.asMatrix(), q.asMatrix()));
}

TEST(EulerRotation, BoundAndClosestSolutions) {
    const MEulerRotation wrapped(3 * kHalfPi, -M_PI, 7.0);
    const MEulerRotation b = wrapped.bound();
    EXPECT_NEAR(b.x, -kHalfPi, 1e-12);
    EXPECT_NEAR(b.y, M_PI, 1e-12); // -pi maps to pi
    EXPECT_NEAR(b.z, 7.0 - 2 * M_PI, 1e-12);
    EXPECT_TRUE(near(b.asMatrix(), wrapped.asMatrix()));

    EXPECT_NEAR(MEulerRotation(0.1, 0, 0).closestCut(MEulerRotation(12.0, 0, 0)).x, 0.1 + 4 * M_PI,
                1e-12);

    // Near a target far from the angles themselves, the other triple wins.
    const MEulerRotation e(0.1, 0.2, 0.3);
    const MEulerRotation close = e.closestSolution(MEulerRotation(3.2, 2.9, 3.5));
    EXPECT_TRUE(close.isEquivalent(MEulerRotation(0.1 + M_PI, M_PI - 0.2, 0.3 + M_PI), 1e-12))
        << close;
    EXPECT_TRUE(near(close.asMatrix(), e.asMatrix()));

    // Composition applies the left rotation first and keeps its order.
    const MEulerRotation a(0.3, 0.2, -0.4, MEulerRotation::kYZX), c(1.0, -0.5, 0.25);
    const MEulerRotation ac = a * c;
    EXPECT_EQ(ac.order, MEulerRotation::kYZX);
    EXPECT_TRUE(near(ac.asMatrix(), a.asMatrix() * c.asMatrix()));
}

TEST(Point, HomogeneousForms) {
    EXPECT_EQ(MPoint(2, 4, 6, 2).cartesianize(), MPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(2, 4, 6, 2).rationalize(), MPoint(1, 2, 3, 2));
    EXPECT_EQ(MPoint(1, 2, 3, 2).homogenize(), MPoint(2, 4, 6, 2));
    EXPECT_EQ(MPoint(1, 2, 3, 0).cartesianize(), MPoint(1, 2, 3, 0)); // a direction stays put
    EXPECT_EQ(MFloatPoint(2, 4, 6, 2).cartesianize(), MFloatPoint(1, 2, 3, 1));
    EXPECT_DOUBLE_EQ(MPoint(1, 1, 1).distanceTo(MPoint(4, 5, 1)), 5.0);
    EXPECT_FLOAT_EQ(MFloatPoint(1, 1, 1).distanceTo(MFloatPoint(4, 5, 1)), 5.0f);
    EXPECT_EQ(MPoint(1, 2, 3) * 2.0, MPoint(2, 4, 6, 1));

    // Single-precision maths stays single: float results, not doubles narrowed afterwards.
    static_assert(std::is_same<decltype(MFloatVector() * MFloatVector()), float>::value, "");
    static_assert(std::is_same<decltype(MFloatVector().length()), float>::value, "");
}

TEST(Arrays, ResizingAndElementForms) {
    MIntArray ints(4, 9);
    ints.setLength(1);
    ints.setLength(3); // regrown elements are zero, not the old values
    EXPECT_EQ(ints[0], 9);
    EXPECT_EQ(ints[1], 0);
    EXPECT_EQ(ints[2], 0);
    ints.clear();
    EXPECT_EQ(ints.length(), 0u);

    MColorArray colors(2);
    EXPECT_EQ(colors[0], MColor(0, 0, 0, 1));
    colors.set(1, 0.5f, 0.25f, 1.0f);
    float rgba[2][4];
    colors.get(rgba);
    EXPECT_EQ(rgba[1][1], 0.25f);
    EXPECT_EQ(rgba[1][3], 1.0f);

    const float rowsIn[2][3] = {{1, 2, 3}, {4, 5, 6}};
    MVectorArray vectors(rowsIn, 2);
    EXPECT_EQ(vectors[1], MVector(4, 5, 6));
    vectors.remove(0);
    EXPECT_EQ(vectors[0], MVector(4, 5, 6));

    const double values[] = {0.1, 2.5};
    const MFloatArray floats(values, 2);
    EXPECT_EQ(floats[0], 0.1f);
}

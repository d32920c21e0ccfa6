// NURBS surfaces: exact evaluation against hand-written formulas, the knot domain, world space
// through transforms, the nurbsSurface shape and the "nurbsSurface" text form of files.

#include "geometry/nurbsSurfaceFormat.h"
#include "graph/nodeType.h"
#include "scene/typedValues.h"

#include "../sharedScenes.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MDagPath.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnNurbsSurfaceData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kTol = 1e-12;

// Compares x, y, z with a tolerance and says by how much they differ.
template <class P>
::testing::AssertionResult near(const P& a, double x, double y, double z, double tolerance) {
    const double error = std::max({std::fabs(a.x - x), std::fabs(a.y - y), std::fabs(a.z - z)});
    if (error <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ") is " << error << " away from (" << x
           << ", " << y << ", " << z << ")";
}
#define EXPECT_POINT_NEAR(actual, x, y, z, tolerance)                                              \
    EXPECT_TRUE(near((actual), (x), (y), (z), (tolerance)))

MDoubleArray doubles(const std::vector<double>& values) {
    MDoubleArray array;
    for (double v : values)
        array.append(v);
    return array;
}

// A new surface data object holding the surface; fails the test if create refuses it.
MObject surfaceData(const MPointArray& cvs, const std::vector<double>& knotsU,
                    const std::vector<double>& knotsV, unsigned int degreeU, unsigned int degreeV,
                    MFnNurbsSurface::Form formU = MFnNurbsSurface::kOpen,
                    MFnNurbsSurface::Form formV = MFnNurbsSurface::kOpen, bool rational = false) {
    MFnNurbsSurfaceData dataFn;
    MObject data = dataFn.create();
    MFnNurbsSurface fn;
    MStatus status;
    fn.create(cvs, doubles(knotsU), doubles(knotsV), degreeU, degreeV, formU, formV, rational, data,
              &status);
    EXPECT_TRUE(status) << "create refused the surface";
    return data;
}

// The corners of a twisted (non-planar) bilinear patch, index u * 2 + v.
const MPoint P00(0, 0, 0), P01(0, 2, 1), P10(3, 0, 2), P11(4, 3, -1);

MObject bilinearPatch(double startU = 0.0, double endU = 1.0) {
    MPointArray cvs;
    for (const MPoint& p : {P00, P01, P10, P11})
        cvs.append(p);
    return surfaceData(cvs, {startU, endU}, {0, 1}, 1, 1);
}

MVector bilinear(double s, double t) {
    return MVector(P00) * ((1 - s) * (1 - t)) + MVector(P01) * ((1 - s) * t) +
           MVector(P10) * (s * (1 - t)) + MVector(P11) * (s * t);
}

double bernstein3(int i, double t) {
    const double c[] = {1, 3, 3, 1};
    return c[i] * std::pow(t, i) * std::pow(1 - t, 3 - i);
}

// Uniform cubic B-spline weights of the four CVs of a span at t in [0, 1], and their slopes.
void uniformCubic(double t, double w[4], double dw[4]) {
    w[0] = std::pow(1 - t, 3) / 6;
    w[1] = (3 * t * t * t - 6 * t * t + 4) / 6;
    w[2] = (-3 * t * t * t + 3 * t * t + 3 * t + 1) / 6;
    w[3] = t * t * t / 6;
    dw[0] = -3 * (1 - t) * (1 - t) / 6;
    dw[1] = (9 * t * t - 12 * t) / 6;
    dw[2] = (-9 * t * t + 6 * t + 3) / 6;
    dw[3] = 3 * t * t / 6;
}

std::vector<std::string> tokenize(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    return tokens;
}

// The tokens after -type "nurbsSurface" in the first ".cc" of the file, up to the ';'.
std::vector<std::string> ccTokensOf(const std::string& path) {
    std::ifstream file(path);
    std::stringstream all;
    all << file.rdbuf();
    const std::string text = all.str();
    const std::string marker = "setAttr \".cc\" -type \"nurbsSurface\"";
    size_t start = text.find(marker);
    if (start == std::string::npos)
        return {};
    start += marker.size();
    return tokenize(text.substr(start, text.find(';', start) - start));
}

// Reads a surface input in world space, as a feather node reads its guide surfaces.
class SurfaceReader : public MPxNode {
  public:
    static MObject inSurface, cornerY;
    static int computeCount;
    static void* creator() { return new SurfaceReader; }
    static MStatus initialize() {
        MFnTypedAttribute typed;
        inSurface = typed.create("inSurface", "ins", MFnData::kNurbsSurface);
        MFnNumericAttribute numeric;
        cornerY = numeric.create("cornerY", "cy", MFnNumericData::kDouble, -1.0);
        numeric.setWritable(false);
        addAttribute(inSurface);
        addAttribute(cornerY);
        attributeAffects(inSurface, cornerY);
        return MS::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != cornerY)
            return MS::kUnknownParameter;
        ++computeCount;
        MPoint corner(0, -100, 0);
        MFnNurbsSurface(data.inputValue(inSurface).data())
            .getPointAtParam(0, 0, corner, MSpace::kWorld);
        data.outputValue(cornerY).set(corner.y);
        data.setClean(plug);
        return MS::kSuccess;
    }
};
MObject SurfaceReader::inSurface, SurfaceReader::cornerY;
int SurfaceReader::computeCount = 0;

class NurbsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(host::TypeRegistry::instance().registerNode(
            "testSurfaceReader", MTypeId(0x7f301), &SurfaceReader::creator,
            &SurfaceReader::initialize, MPxNode::kDependNode, nullptr, &error))
            << error;
    }
    void SetUp() override {
        host::TypeRegistry::instance(); // built-in types and formats
        scene.fileNew();
    }
    void TearDown() override { scene.fileNew(); }

    std::string create(const std::string& type, const std::string& name,
                       const std::string& parent = "") {
        std::string created;
        EXPECT_TRUE(scene.createNode(type, name, parent, &created)) << scene.lastError();
        return created;
    }
    void setSurface(const std::string& plugName, MObject data) {
        MPlug plug;
        ASSERT_TRUE(scene.findPlug(plugName, plug));
        ASSERT_TRUE(plug.setValue(data));
    }
    MObject valueOf(const std::string& plugName) {
        MPlug plug;
        EXPECT_TRUE(scene.findPlug(plugName, plug));
        return plug.asMObject();
    }

    host::Scene& scene = host::Scene::current();
    host::MessageCapture capture;
};

TEST_F(NurbsTest, BilinearPatchMatchesTheBilinearFormula) {
    // U runs over [2, 5]: parameters map to s = (u - 2) / 3 of the patch.
    MFnNurbsSurface fn(bilinearPatch(2.0, 5.0));
    for (double s : {0.0, 0.3, 1.0})
        for (double t : {0.0, 0.6, 1.0}) {
            MPoint p;
            ASSERT_TRUE(fn.getPointAtParam(2.0 + 3.0 * s, t, p));
            const MVector e = bilinear(s, t);
            EXPECT_POINT_NEAR(p, e.x, e.y, e.z, kTol) << "s " << s << " t " << t;
        }
    MPoint p;
    MVector du, dv;
    ASSERT_TRUE(fn.getDerivativesAtParm(2.0 + 3.0 * 0.3, 0.6, p, du, dv, MSpace::kObject));
    const MVector edu = ((P10 - P00) * 0.4 + (P11 - P01) * 0.6) / 3.0; // d/du = (d/ds) / 3
    const MVector edv = (P01 - P00) * 0.7 + (P11 - P10) * 0.3;
    EXPECT_POINT_NEAR(du, edu.x, edu.y, edu.z, kTol);
    EXPECT_POINT_NEAR(dv, edv.x, edv.y, edv.z, kTol);
    EXPECT_EQ(fn.numCVsInU(), 2);
    EXPECT_EQ(fn.numKnotsInU(), 2);
    EXPECT_EQ(fn.degreeU(), 1);
    EXPECT_EQ(fn.numSpansInV(), 1);
}

TEST_F(NurbsTest, BicubicPatchesMatchBernsteinSums) {
    // A flat patch with unevenly spaced CVs, and the same grid with a bumpy z.
    const double xs[] = {0, 0.5, 2, 3}, ys[] = {0, 1, 1.5, 4};
    const double zs[4][4] = {{0, 1, -1, 0}, {2, 0, 3, 1}, {-2, 1, 0, 0}, {1, -1, 2, 0}};
    for (bool bumpy : {false, true}) {
        MPointArray cvs;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                cvs.append(xs[i], ys[j], bumpy ? zs[i][j] : 0.0);
        MFnNurbsSurface fn(surfaceData(cvs, {0, 0, 0, 1, 1, 1}, {0, 0, 0, 1, 1, 1}, 3, 3));
        for (double u : {0.0, 0.2, 0.5, 0.9, 1.0})
            for (double v : {0.0, 0.35, 0.7, 1.0}) {
                double ex = 0, ey = 0, ez = 0;
                for (int i = 0; i < 4; ++i)
                    for (int j = 0; j < 4; ++j) {
                        const double b = bernstein3(i, u) * bernstein3(j, v);
                        ex += b * xs[i];
                        ey += b * ys[j];
                        ez += b * (bumpy ? zs[i][j] : 0.0);
                    }
                MPoint p;
                ASSERT_TRUE(fn.getPointAtParam(u, v, p));
                EXPECT_POINT_NEAR(p, ex, ey, ez, kTol)
                    << "bumpy " << bumpy << " at " << u << ", " << v;
                if (!bumpy) {
                    MStatus status;
                    MVector n = fn.normal(u, v, MSpace::kObject, &status);
                    ASSERT_TRUE(status);
                    EXPECT_POINT_NEAR(n, 0.0, 0.0, 1.0, kTol);
                }
            }
    }
}

TEST_F(NurbsTest, MultiSpanCubicFollowsTheUniformBasisSpanBySpan) {
    // Open in U with five CVs (two spans, knots 0 0 0 1 2 2 2), linear in V.
    const double zs[] = {0, 2, -1, 3, 1};
    MPointArray cvs;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 2; ++j)
            cvs.append(i, j, zs[i]);
    MFnNurbsSurface fn(surfaceData(cvs, {0, 0, 0, 1, 2, 2, 2}, {0, 1}, 3, 1));
    // End CVs are interpolated; the join at u = 1 weighs CVs 1..3 as 1/4, 1/2, 1/4.
    MPoint p;
    ASSERT_TRUE(fn.getPointAtParam(0.0, 0.0, p));
    EXPECT_NEAR(p.z, zs[0], kTol);
    ASSERT_TRUE(fn.getPointAtParam(2.0, 1.0, p));
    EXPECT_NEAR(p.z, zs[4], kTol);
    EXPECT_NEAR(p.y, 1.0, kTol);
    ASSERT_TRUE(fn.getPointAtParam(1.0, 0.5, p));
    EXPECT_NEAR(p.z, zs[1] / 4 + zs[2] / 2 + zs[3] / 4, kTol);
    EXPECT_NEAR(p.x, 1.0 / 4 + 2.0 / 2 + 3.0 / 4, kTol);
    EXPECT_NEAR(p.y, 0.5, kTol);

    // A knot repeated at the end of the domain (knots 0 1 1): the last non-empty span ends on
    // CV 1, and CV 2 has no say there.
    MPointArray line;
    for (const MPoint& q : {MPoint(0, 0, 0), MPoint(0, 1, 0), MPoint(2, 0, 0), MPoint(2, 1, 0),
                            MPoint(9, 0, 9), MPoint(9, 1, 9)})
        line.append(q);
    MFnNurbsSurface repeated(surfaceData(line, {0, 1, 1}, {0, 1}, 1, 1));
    ASSERT_TRUE(repeated.getPointAtParam(1.0, 1.0, p));
    EXPECT_POINT_NEAR(p, 2.0, 1.0, 0.0, kTol);
    ASSERT_TRUE(repeated.getPointAtParam(0.25, 0.0, p));
    EXPECT_POINT_NEAR(p, 0.5, 0.0, 0.0, kTol);
}

TEST_F(NurbsTest, RationalCylinderSectionLiesOnItsCircle) {
    // A quarter circle of radius R in U (weights 1, sqrt(2)/2, 1), straight up to H in V.
    const double R = 2.5, H = 3.0, w = std::sqrt(0.5);
    MPointArray cvs;
    for (const MPoint& p : {MPoint(R, 0, 0, 1), MPoint(R, R, 0, w), MPoint(0, R, 0, 1)}) {
        cvs.append(p);
        cvs.append(MPoint(p.x, p.y, H, p.w));
    }
    MFnNurbsSurface fn(surfaceData(cvs, {0, 0, 1, 1}, {0, 1}, 2, 1, MFnNurbsSurface::kOpen,
                                   MFnNurbsSurface::kOpen, true));
    for (double u : {0.0, 0.1, 0.25, 0.5, 0.8, 1.0})
        for (double v : {0.0, 0.4, 1.0}) {
            MPoint p;
            MVector du, dv;
            ASSERT_TRUE(fn.getDerivativesAtParm(u, v, p, du, dv, MSpace::kObject));
            EXPECT_NEAR(std::hypot(p.x, p.y), R, kTol) << "u " << u;
            EXPECT_NEAR(p.z, v * H, kTol);
            // The rational quadratic written out.
            const double b0 = (1 - u) * (1 - u), b1 = 2 * u * (1 - u) * w, b2 = u * u;
            const double den = b0 + b1 + b2;
            EXPECT_NEAR(p.x, (b0 * R + b1 * R) / den, kTol);
            EXPECT_NEAR(p.y, (b1 * R + b2 * R) / den, kTol);
            EXPECT_NEAR(du * MVector(p.x, p.y, 0), 0.0, 1e-9) << "tangent to the circle";
            EXPECT_POINT_NEAR(dv, 0.0, 0.0, H, kTol);
            MVector n = fn.normal(u, v);
            EXPECT_POINT_NEAR(n, p.x / R, p.y / R, 0.0, 1e-12) << "points outwards";
        }
    MPoint mid;
    ASSERT_TRUE(fn.getPointAtParam(0.5, 0.0, mid));
    EXPECT_POINT_NEAR(mid, R * w, R * w, 0.0, kTol);
    MPointArray back;
    ASSERT_TRUE(fn.getCVs(back));
    EXPECT_EQ(back[2].w, w) << "weights come back with the CVs";
    EXPECT_EQ(back[2].x, R) << "CVs are stored as points, not premultiplied";
}

// The standard rational quarter circle from (1, 0) to (0, 1), written out: its two coordinates
// and their first and second derivatives at t.
struct Quarter {
    double c[2], d1[2], d2[2];
};
Quarter quarterCircle(double t) {
    const double w = std::sqrt(0.5);
    const double b[3] = {(1 - t) * (1 - t), 2 * t * (1 - t) * w, t * t};
    const double db[3] = {-2 * (1 - t), 2 * w * (1 - 2 * t), 2 * t};
    const double ddb[3] = {2, -4 * w, 2};
    const double D = b[0] + b[1] + b[2], dD = db[0] + db[1] + db[2], ddD = ddb[0] + ddb[1] + ddb[2];
    Quarter q;
    for (int k = 0; k < 2; ++k) { // x = (b0 + b1) / D, y = (b1 + b2) / D
        const double N = b[k] + b[k + 1], dN = db[k] + db[k + 1], ddN = ddb[k] + ddb[k + 1];
        q.c[k] = N / D;
        q.d1[k] = (dN * D - N * dD) / (D * D);
        q.d2[k] = (ddN * D - N * ddD) / (D * D) - 2 * dD * (dN * D - N * dD) / (D * D * D);
    }
    return q;
}

TEST_F(NurbsTest, RationalSphereOctantHasExactSecondDerivatives) {
    // Circle in U times circle in V (product weights): S = R (r(v) x(u), r(v) y(u), z(v)).
    const double R = 1.5, w = std::sqrt(0.5);
    const double cx[3] = {1, 1, 0}, cy[3] = {0, 1, 1}, cw[3] = {1, w, 1};
    MPointArray cvs;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) // profile (r, z) = (cx[j], cy[j])
            cvs.append(R * cx[j] * cx[i], R * cx[j] * cy[i], R * cy[j], cw[i] * cw[j]);
    MFnNurbsSurface fn(surfaceData(cvs, {0, 0, 1, 1}, {0, 0, 1, 1}, 2, 2, MFnNurbsSurface::kOpen,
                                   MFnNurbsSurface::kOpen, true));
    for (double u : {0.0, 0.3, 0.8})
        for (double v : {0.1, 0.5, 0.9}) {
            const Quarter a = quarterCircle(u), b = quarterCircle(v);
            MPoint p;
            MVector du, dv, duu, dvv, duv;
            ASSERT_TRUE(
                fn.getDerivativesAtParm(u, v, p, du, dv, MSpace::kObject, &duu, &dvv, &duv));
            EXPECT_NEAR(MVector(p).length(), R, kTol);
            EXPECT_POINT_NEAR(p, R * b.c[0] * a.c[0], R * b.c[0] * a.c[1], R * b.c[1], kTol);
            EXPECT_POINT_NEAR(du, R * b.c[0] * a.d1[0], R * b.c[0] * a.d1[1], 0.0, 1e-11);
            EXPECT_POINT_NEAR(dv, R * b.d1[0] * a.c[0], R * b.d1[0] * a.c[1], R * b.d1[1], 1e-11);
            EXPECT_POINT_NEAR(duu, R * b.c[0] * a.d2[0], R * b.c[0] * a.d2[1], 0.0, 1e-10);
            EXPECT_POINT_NEAR(dvv, R * b.d2[0] * a.c[0], R * b.d2[0] * a.c[1], R * b.d2[1], 1e-10);
            EXPECT_POINT_NEAR(duv, R * b.d1[0] * a.d1[0], R * b.d1[0] * a.d1[1], 0.0, 1e-10)
                << "u " << u << " v " << v;
            MVector n = fn.normal(u, v);
            EXPECT_POINT_NEAR(n, p.x / R, p.y / R, p.z / R, 1e-12) << "outwards";
        }
}

TEST_F(NurbsTest, PeriodicSurfaceIsUniformCubicAndMatchesAtTheSeam) {
    // Six ring points, the first three repeated at the end; knots -2..8, domain [0, 6].
    const MPoint ring[6] = {MPoint(2, 0, 0),     MPoint(1, 2, 0.5), MPoint(-1, 2, 0),
                            MPoint(-3, 0, -0.5), MPoint(-1, -2, 0), MPoint(1, -1.5, 1)};
    MPointArray cvs;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 2; ++j)
            cvs.append(ring[i % 6] + MVector(0, 0, 4.0 * j));
    std::vector<double> knots;
    for (int k = -2; k <= 8; ++k)
        knots.push_back(k);
    MFnNurbsSurface fn(surfaceData(cvs, knots, {0, 1}, 3, 1, MFnNurbsSurface::kPeriodic));
    EXPECT_EQ(fn.formInU(), MFnNurbsSurface::kPeriodic);
    EXPECT_EQ(fn.formInV(), MFnNurbsSurface::kOpen);
    EXPECT_EQ(fn.numCVsInU(), 9);
    EXPECT_EQ(fn.numSpansInU(), 6);
    double u0, u1, v0, v1;
    ASSERT_TRUE(fn.getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u0, 0.0);
    EXPECT_EQ(u1, 6.0);

    for (int k = 0; k < 6; ++k)
        for (double t : {0.0, 0.3, 0.75}) {
            double b[4], db[4];
            uniformCubic(t, b, db);
            MVector e, de;
            for (int i = 0; i < 4; ++i) {
                e += MVector(ring[(k + i) % 6]) * b[i];
                de += MVector(ring[(k + i) % 6]) * db[i];
            }
            MPoint p;
            MVector du, dv;
            ASSERT_TRUE(fn.getDerivativesAtParm(k + t, 0.5, p, du, dv, MSpace::kObject));
            EXPECT_POINT_NEAR(p, e.x, e.y, e.z + 2.0, kTol) << "span " << k << " t " << t;
            EXPECT_POINT_NEAR(du, de.x, de.y, de.z, kTol) << "span " << k << " t " << t;
        }
    // Position and first and second derivatives agree across the seam.
    MPoint a, b;
    MVector da, db, dva, dvb, daa, dbb;
    ASSERT_TRUE(fn.getDerivativesAtParm(0.0, 0.3, a, da, dva, MSpace::kObject, &daa));
    ASSERT_TRUE(fn.getDerivativesAtParm(6.0, 0.3, b, db, dvb, MSpace::kObject, &dbb));
    EXPECT_POINT_NEAR(a, b.x, b.y, b.z, kTol);
    EXPECT_POINT_NEAR(da, db.x, db.y, db.z, kTol);
    EXPECT_POINT_NEAR(daa, dbb.x, dbb.y, dbb.z, 1e-10);
}

TEST_F(NurbsTest, ParametersOutsideTheKnotDomainAreInvalid) {
    MFnNurbsSurface fn(bilinearPatch(2.0, 5.0));
    double u0, u1, v0, v1;
    ASSERT_TRUE(fn.getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u0, 2.0);
    EXPECT_EQ(u1, 5.0);
    EXPECT_EQ(v0, 0.0);
    EXPECT_EQ(v1, 1.0);
    MPoint p(7, 7, 7);
    EXPECT_EQ(fn.getPointAtParam(1.99, 0.5, p), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPointAtParam(3.0, 1.01, p), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPointAtParam(NAN, 0.5, p), MS::kInvalidParameter);
    EXPECT_EQ(p, MPoint(7, 7, 7)) << "a failed evaluation leaves the point alone";
    MStatus status;
    fn.normal(5.5, 0.5, MSpace::kObject, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_TRUE(fn.getPointAtParam(5.0, 1.0, p)) << "the domain's ends belong to it";
    EXPECT_FALSE(fn.isParamOnSurface(0.0, 0.0));
    EXPECT_TRUE(fn.isParamOnSurface(2.0, 0.0));

    // Maya's short knot lists, with the domain from knot[degree - 1] to knot[n - degree].
    MPointArray cvs(5 * 2);
    for (unsigned int i = 0; i < cvs.length(); ++i)
        cvs[i] = MPoint(i / 2, i % 2, 0);
    MFnNurbsSurface cubic(surfaceData(cvs, {-1, 0, 0.5, 2, 3, 7, 8}, {0, 1}, 3, 1));
    ASSERT_TRUE(cubic.getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u0, 0.5);
    EXPECT_EQ(u1, 3.0);
}

TEST_F(NurbsTest, NormalsAreUnitAlongDuCrossDvAndFailWhereDegenerate) {
    // A tilted plane: u along (1, 0, 1), v along y; du x dv points along (-1, 0, 1).
    MPointArray cvs;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            cvs.append(3.0 * i, 2.0 * j, 3.0 * i);
    MFnNurbsSurface plane(surfaceData(cvs, {0, 1}, {0, 1}, 1, 1));
    MStatus status;
    MVector n = plane.normal(0.3, 0.8, MSpace::kObject, &status);
    ASSERT_TRUE(status);
    EXPECT_POINT_NEAR(n, -std::sqrt(0.5), 0.0, std::sqrt(0.5), kTol);

    // Swapping the roles of u and v turns it over.
    MPointArray swapped;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            swapped.append(3.0 * j, 2.0 * i, 3.0 * j);
    n = MFnNurbsSurface(surfaceData(swapped, {0, 1}, {0, 1}, 1, 1)).normal(0.3, 0.8);
    EXPECT_POINT_NEAR(n, std::sqrt(0.5), 0.0, -std::sqrt(0.5), kTol);

    // A triangle: the u = 0 edge collapsed to one point has no normal there.
    MPointArray apex;
    for (const MPoint& p : {MPoint(0, 0, 0), MPoint(0, 0, 0), MPoint(1, 0, 0), MPoint(1, 1, 0)})
        apex.append(p);
    MFnNurbsSurface triangle(surfaceData(apex, {0, 1}, {0, 1}, 1, 1));
    n = triangle.normal(0.0, 0.5, MSpace::kObject, &status);
    EXPECT_EQ(status, MS::kFailure);
    EXPECT_EQ(n.length(), 0.0);
    n = triangle.normal(0.5, 0.5, MSpace::kObject, &status);
    EXPECT_TRUE(status);
    EXPECT_POINT_NEAR(n, 0.0, 0.0, 1.0, kTol);
}

TEST_F(NurbsTest, CreateRefusesInconsistentSurfaces) {
    MPointArray four(4);
    MFnNurbsSurfaceData dataFn;
    MObject data = dataFn.create();
    MFnNurbsSurface fn;
    MStatus status;
    auto attempt = [&](const MPointArray& cvs, const std::vector<double>& ku,
                       const std::vector<double>& kv, unsigned int du, unsigned int dv,
                       MFnNurbsSurface::Form formU, bool rational) {
        status = MS::kSuccess;
        fn.create(cvs, doubles(ku), doubles(kv), du, dv, formU, MFnNurbsSurface::kOpen, rational,
                  data, &status);
        return status;
    };
    EXPECT_EQ(attempt(four, {0, 1, 2}, {0, 1}, 1, 1, MFnNurbsSurface::kOpen, false),
              MS::kInvalidParameter)
        << "3 knots make 3 CVs in U: 6 CVs, not 4";
    EXPECT_EQ(attempt(four, {1, 0}, {0, 1}, 1, 1, MFnNurbsSurface::kOpen, false),
              MS::kInvalidParameter)
        << "decreasing knots";
    EXPECT_EQ(attempt(four, {0, 1}, {0, 1}, 0, 1, MFnNurbsSurface::kOpen, false),
              MS::kInvalidParameter);
    MPointArray weighted(4, MPoint(0, 0, 0, 0));
    EXPECT_EQ(attempt(weighted, {0, 1}, {0, 1}, 1, 1, MFnNurbsSurface::kOpen, true),
              MS::kInvalidParameter)
        << "zero weights";
    EXPECT_TRUE(attempt(weighted, {0, 1}, {0, 1}, 1, 1, MFnNurbsSurface::kOpen, false))
        << "w is ignored unless rational";
    // Periodic in U with degree 1 needs the last CV row to repeat the first.
    MPointArray ring;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            ring.append(i == 2 ? 0 : i + 1, j, 0);
    EXPECT_EQ(attempt(ring, {0, 1, 2}, {0, 1}, 1, 1, MFnNurbsSurface::kPeriodic, false),
              MS::kInvalidParameter);
    ring[4] = MPoint(1, 0, 0);
    ring[5] = MPoint(1, 1, 0);
    EXPECT_TRUE(attempt(ring, {0, 1, 2}, {0, 1}, 1, 1, MFnNurbsSurface::kPeriodic, false));
    EXPECT_EQ(MFnNurbsSurface(data).numCVsInU(), 3) << "the last good surface is kept";
    EXPECT_EQ(attempt(four, {0, 1}, {0, 1}, 1, 1, MFnNurbsSurface::kOpen, false), MS::kSuccess);
    EXPECT_EQ(MFnNurbsSurface(data).numCVsInU(), 2);

    // An empty data object has no surface to read.
    MObject empty = dataFn.create();
    MFnNurbsSurface none(empty, &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(none.numCVsInU(&status), 0);
    EXPECT_FALSE(status);
    EXPECT_TRUE(empty.hasFn(MFn::kNurbsSurface));
    EXPECT_EQ(empty.apiType(), MFn::kNurbsSurfaceData);
}

TEST_F(NurbsTest, WorldSpaceGoesThroughTheTransformChain) {
    create("transform", "grand");
    create("transform", "wing", "grand");
    create("nurbsSurface", "wingShape", "wing");
    ASSERT_TRUE(scene.setAttr("grand.translate", std::vector<double>{10, 0, 0}));
    ASSERT_TRUE(scene.setAttr("wing.translate", std::vector<double>{1, 2, 3}));
    ASSERT_TRUE(scene.setAttr("wing.rotate", std::vector<double>{0, M_PI / 2, 0}));
    ASSERT_TRUE(scene.setAttr("wing.scale", std::vector<double>{2, 3, 4}));
    setSurface("wingShape.cc", bilinearPatch());
    // Scale, then a right-handed quarter turn about y ((x, y, z) -> (z, y, -x)), then both moves.
    auto toWorld = [](const MVector& p) {
        return MVector(4 * p.z + 11, 3 * p.y + 2, -2 * p.x + 3);
    };
    auto linear = [](const MVector& d) { return MVector(4 * d.z, 3 * d.y, -2 * d.x); };
    const double s = 0.25, t = 0.75;
    const MVector local = bilinear(s, t), world = toWorld(local);
    const MVector du = (P10 - P00) * (1 - t) + (P11 - P01) * t;
    const MVector dv = (P01 - P00) * (1 - s) + (P11 - P10) * s;
    const MVector normal = (linear(du) ^ linear(dv)).normal();

    MDagPath path;
    ASSERT_TRUE(MDagPath::getAPathTo(scene.findNode("wingShape"), path));
    MStatus status;
    MFnNurbsSurface fn(path, &status);
    ASSERT_TRUE(status);
    MPoint p;
    ASSERT_TRUE(fn.getPointAtParam(s, t, p, MSpace::kWorld));
    EXPECT_POINT_NEAR(p, world.x, world.y, world.z, 1e-12);
    ASSERT_TRUE(fn.getPointAtParam(s, t, p, MSpace::kObject));
    EXPECT_POINT_NEAR(p, local.x, local.y, local.z, 1e-12);
    MVector n = fn.normal(s, t, MSpace::kWorld, &status);
    ASSERT_TRUE(status);
    EXPECT_POINT_NEAR(n, normal.x, normal.y, normal.z, 1e-12);
    MPoint cv;
    ASSERT_TRUE(fn.getCV(1, 1, cv, MSpace::kWorld));
    const MVector cvWorld = toWorld(P11);
    EXPECT_POINT_NEAR(cv, cvWorld.x, cvWorld.y, cvWorld.z, 1e-12);
    // A path to the transform reaches the shape below it.
    MDagPath toTransform;
    ASSERT_TRUE(MDagPath::getAPathTo(scene.findNode("wing"), toTransform));
    ASSERT_TRUE(MFnNurbsSurface(toTransform).getPointAtParam(s, t, p, MSpace::kWorld));
    EXPECT_POINT_NEAR(p, world.x, world.y, world.z, 1e-12);
    // Without a path there is no world space.
    MFnNurbsSurface byNode(scene.findNode("wingShape"));
    EXPECT_EQ(byNode.getPointAtParam(s, t, p, MSpace::kWorld), MS::kInvalidParameter);

    // worldSpace[0] carries the surface already moved: object and world space read alike.
    MFnNurbsSurface output(valueOf("wingShape.worldSpace[0]"), &status);
    ASSERT_TRUE(status);
    for (MSpace::Space space : {MSpace::kObject, MSpace::kWorld}) {
        ASSERT_TRUE(output.getPointAtParam(s, t, p, space));
        EXPECT_POINT_NEAR(p, world.x, world.y, world.z, 1e-12);
        n = output.normal(s, t, space);
        EXPECT_POINT_NEAR(n, normal.x, normal.y, normal.z, 1e-12);
    }
    MFnNurbsSurface localOut(valueOf("wingShape.local"));
    ASSERT_TRUE(localOut.getPointAtParam(s, t, p));
    EXPECT_POINT_NEAR(p, local.x, local.y, local.z, 1e-12);

    // Moving a transform later moves the world-space output and what reads it.
    ASSERT_TRUE(scene.setAttr("grand.translateY", 5.0));
    ASSERT_TRUE(MFnNurbsSurface(valueOf("wingShape.ws[0]")).getPointAtParam(s, t, p));
    EXPECT_POINT_NEAR(p, world.x, world.y + 5, world.z, 1e-12);
    ASSERT_TRUE(fn.getPointAtParam(s, t, p, MSpace::kWorld));
    EXPECT_NEAR(p.y, world.y + 5, 1e-12);
}

TEST_F(NurbsTest, WorldSpaceReadersFollowTransformsAndReparenting) {
    create("transform", "wing");
    create("nurbsSurface", "wingShape", "wing");
    create("transform", "lift");
    create("testSurfaceReader", "reader");
    setSurface("wingShape.cc", bilinearPatch());
    ASSERT_TRUE(scene.setAttr("wing.ty", 2.0));
    ASSERT_TRUE(scene.setAttr("lift.ty", 10.0));
    ASSERT_TRUE(scene.connectAttr("wingShape.worldSpace[0]", "reader.inSurface"));
    double y = 0;
    SurfaceReader::computeCount = 0;
    ASSERT_TRUE(scene.getAttr("reader.cy", y));
    EXPECT_EQ(y, 2.0);
    ASSERT_TRUE(scene.getAttr("reader.cy", y));
    EXPECT_EQ(SurfaceReader::computeCount, 1) << "nothing moved: no new compute";

    ASSERT_TRUE(scene.setAttr("wing.ty", 7.0));
    ASSERT_TRUE(scene.getAttr("reader.cy", y));
    EXPECT_EQ(y, 7.0);
    ASSERT_TRUE(scene.parent("wing", "lift"));
    ASSERT_TRUE(scene.getAttr("reader.cy", y));
    EXPECT_EQ(y, 17.0);
    ASSERT_TRUE(scene.setAttr("lift.ty", 20.0));
    ASSERT_TRUE(scene.getAttr("reader.cy", y));
    EXPECT_EQ(y, 27.0) << "a transform two levels up moves it too";
    EXPECT_EQ(SurfaceReader::computeCount, 4);
}

TEST_F(NurbsTest, ClosestPointFindsTheFootOfThePerpendicular) {
    const double R = 2.0, w = std::sqrt(0.5);
    MPointArray cvs;
    for (const MPoint& p : {MPoint(R, 0, 0, 1), MPoint(R, R, 0, w), MPoint(0, R, 0, 1)}) {
        cvs.append(p);
        cvs.append(MPoint(p.x, p.y, 5, p.w));
    }
    MFnNurbsSurface fn(surfaceData(cvs, {0, 0, 1, 1}, {0, 1}, 2, 1, MFnNurbsSurface::kOpen,
                                   MFnNurbsSurface::kOpen, true));
    for (double angle : {0.1, 0.7, 1.3}) {
        const MPoint from(3 * std::cos(angle), 3 * std::sin(angle), 1.5);
        double u = -1, v = -1;
        MStatus status;
        MPoint c = fn.closestPoint(from, &u, &v, false, kMFnNurbsEpsilon, MSpace::kObject, &status);
        ASSERT_TRUE(status);
        EXPECT_POINT_NEAR(c, R * std::cos(angle), R * std::sin(angle), 1.5, 1e-9) << angle;
        EXPECT_NEAR(v, 0.3, 1e-9);
        MPoint at;
        ASSERT_TRUE(fn.getPointAtParam(u, v, at));
        EXPECT_NEAR(at.distanceTo(c), 0.0, 1e-12) << "the parameters name the point";
    }
    // Beyond the corner the nearest point is the corner itself.
    double u, v;
    MPoint c = fn.closestPoint(MPoint(4, -1, 9), &u, &v);
    EXPECT_POINT_NEAR(c, R, 0.0, 5.0, 1e-9);
    EXPECT_NEAR(u, 0.0, 1e-9);
    EXPECT_NEAR(v, 1.0, 1e-9);
}

TEST_F(NurbsTest, ShapeOutputsFollowCreateWhenConnectedElseCached) {
    create("nurbsSurface", "upShape");
    create("nurbsSurface", "downShape");
    setSurface("upShape.cc", bilinearPatch(0.0, 2.0));
    setSurface("downShape.cc", bilinearPatch(0.0, 1.0));
    double u0, u1, v0, v1;
    ASSERT_TRUE(MFnNurbsSurface(valueOf("downShape.l")).getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u1, 1.0);
    ASSERT_TRUE(scene.connectAttr("upShape.local", "downShape.create"));
    ASSERT_TRUE(MFnNurbsSurface(scene.findNode("downShape")).getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u1, 2.0) << "history wins over the cached surface";
    ASSERT_TRUE(scene.disconnectAttr("upShape.local", "downShape.create"));
    ASSERT_TRUE(MFnNurbsSurface(valueOf("downShape.l")).getKnotDomain(u0, u1, v0, v1));
    EXPECT_EQ(u1, 1.0);

    // A shape with nothing in it evaluates to no surface rather than failing.
    create("nurbsSurface", "emptyShape");
    MStatus status;
    MFnNurbsSurface(scene.findNode("emptyShape")).numCVsInU(&status);
    EXPECT_EQ(status, MS::kFailure);
    EXPECT_TRUE(valueOf("emptyShape.ws[0]").isNull());

    // Settings files put on the shape are kept.
    for (const char* plug : {"upShape.dvu", "upShape.cpr", "upShape.nufa", "upShape.vir",
                             "upShape.covm[0].covmp", "upShape.cdvm[0].cdvmi"})
        EXPECT_TRUE(scene.setAttr(plug, 1.0)) << plug;

    // create() with no owner makes a transform with a shape under it.
    MPointArray cvs;
    for (const MPoint& p : {P00, P01, P10, P11})
        cvs.append(p);
    MFnNurbsSurface fn;
    MObject transform =
        fn.create(cvs, doubles({0, 1}), doubles({0, 1}), 1, 1, MFnNurbsSurface::kOpen,
                  MFnNurbsSurface::kOpen, false, MObject::kNullObj, &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(transform.apiType(), MFn::kTransform);
    EXPECT_EQ(fn.object().apiType(), MFn::kNurbsSurface);
    MPoint p;
    ASSERT_TRUE(fn.getPointAtParam(1, 1, p));
    EXPECT_EQ(p, P11);
}

TEST_F(NurbsTest, FileSurfaceParsesAndSitsInItsTransform) {
    SKIP_WITHOUT_SHARED_SCENES();
    const std::vector<std::string> tokens = ccTokensOf(sharedScenePath("mayatools_setupCPOS.ma"));
    ASSERT_EQ(tokens.size(), 5u + 7 + 7 + 1 + 48) << "the .cc of the test scene";
    const host::TypedValueFormat* format = host::findTypedValueFormat("nurbsSurface");
    ASSERT_NE(format, nullptr);
    size_t pos = 0;
    MObject data;
    std::string error;
    ASSERT_TRUE(format->parse(tokens, pos, data, error)) << error;
    EXPECT_EQ(pos, tokens.size());
    MFnNurbsSurface fn(data);
    EXPECT_EQ(fn.degreeU(), 3);
    EXPECT_EQ(fn.degreeV(), 3);
    EXPECT_EQ(fn.formInU(), MFnNurbsSurface::kOpen);
    EXPECT_EQ(fn.numCVsInU(), 4);
    EXPECT_EQ(fn.numCVsInV(), 4);
    MDoubleArray knots;
    ASSERT_TRUE(fn.getKnotsInV(knots));
    ASSERT_EQ(knots.length(), 6u);
    EXPECT_EQ(knots[2], 0.0);
    EXPECT_EQ(knots[3], 1.0);
    MPointArray cvs;
    ASSERT_TRUE(fn.getCVs(cvs));
    ASSERT_EQ(cvs.length(), 16u);
    EXPECT_EQ(cvs[1], MPoint(1.0000000000000002, 1.1666213747282392, -0.49986412418471743));
    EXPECT_EQ(cvs[15], MPoint(1.0000000000000004, 0.50013587581528274, 0.49986412418471754));
    // A Bezier patch: it meets its corner CVs and its middle is the Bernstein average.
    MPoint p;
    ASSERT_TRUE(fn.getPointAtParam(1, 0, p));
    EXPECT_EQ(p.distanceTo(cvs[12]), 0.0);
    ASSERT_TRUE(fn.getPointAtParam(0.5, 0.5, p));
    MVector mid;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            mid += MVector(cvs[static_cast<unsigned int>(i * 4 + j)]) *
                   (bernstein3(i, 0.5) * bernstein3(j, 0.5));
    EXPECT_POINT_NEAR(p, mid.x, mid.y, mid.z, kTol);

    // In the scene the shape's transform scales by 4 about the pivot (1, 1, 0).
    create("transform", "plane");
    create("nurbsSurface", "planeShape", "plane");
    ASSERT_TRUE(scene.setAttr("plane.s", std::vector<double>{4, 4, 4}));
    ASSERT_TRUE(scene.setAttr("plane.rp", std::vector<double>{1.0000000000000002, 1, 0}));
    ASSERT_TRUE(scene.setAttr("plane.sp", std::vector<double>{1.0000000000000002, 1, 0}));
    setSurface("planeShape.cc", data);
    ASSERT_TRUE(MFnNurbsSurface(valueOf("planeShape.ws[0]")).getPointAtParam(0.5, 0.5, p));
    EXPECT_POINT_NEAR(p, (mid.x - 1) * 4 + 1, (mid.y - 1) * 4 + 1, mid.z * 4, 1e-12);
}

TEST_F(NurbsTest, FormatThenParseGivesTheSameSurface) {
    host::NurbsSurface s;
    s.degreeU = 2;
    s.degreeV = 1;
    s.formU = MFnNurbsSurface::kPeriodic;
    s.formV = MFnNurbsSurface::kClosed;
    s.rational = true;
    s.knotsU = {-1, 0, 1, 2, 3};
    s.knotsV = {0, 0.1, 1.0 / 3};
    s.numCVsU = 4;
    s.numCVsV = 3;
    const MPoint a(0.1, 2, 3, 0.7), b(-1e-7, 5.5, 1e20, 2);
    for (int i = 0; i < 4; ++i) {
        const MPoint row = i % 2 ? b : a; // periodic degree 2: rows 2, 3 repeat rows 0, 1
        s.cvs.push_back(row);
        s.cvs.push_back(MPoint(row.x + i % 2, M_PI, row.z, row.w));
        s.cvs.push_back(row);
    }
    std::string error;
    ASSERT_TRUE(host::validateNurbsSurface(s, error)) << error;
    const std::string text = host::formatNurbsSurface(s);
    EXPECT_EQ(text.substr(0, 14), "2 1 2 1 yes\n\t\t");
    std::vector<std::string> tokens = tokenize(text);
    tokens.push_back("-next"); // what follows is left for the reader
    size_t pos = 0;
    host::NurbsSurface back;
    ASSERT_TRUE(host::parseNurbsSurface(tokens, pos, back, error)) << error;
    EXPECT_EQ(pos, tokens.size() - 1);
    EXPECT_EQ(back.degreeU, 2);
    EXPECT_EQ(back.formU, MFnNurbsSurface::kPeriodic);
    EXPECT_EQ(back.formV, MFnNurbsSurface::kClosed);
    EXPECT_TRUE(back.rational);
    EXPECT_EQ(back.knotsU, s.knotsU);
    EXPECT_EQ(back.knotsV, s.knotsV) << "1/3 reads back exactly";
    ASSERT_EQ(back.cvs.size(), s.cvs.size());
    for (size_t i = 0; i < s.cvs.size(); ++i)
        EXPECT_EQ(back.cvs[i], s.cvs[i]) << "CV " << i;

    // The registered format writes the data objects it reads.
    const host::TypedValueFormat* format = host::findTypedValueFormat("nurbsSurface");
    ASSERT_NE(format, nullptr);
    MObject data;
    pos = 0;
    ASSERT_TRUE(format->parse(tokens, pos, data, error));
    EXPECT_TRUE(format->owns(data));
    EXPECT_EQ(format->format(data), text);
    EXPECT_EQ(host::formatOwning(data), format);
}

TEST_F(NurbsTest, MalformedTextSaysWhatWasExpected) {
    const std::string header = "1 1 0 0 no 2 0 1 2 0 1 ";
    const struct {
        std::string text, expected;
    } cases[] = {
        {"", "expected degree in U, but the data ends there"},
        {"1 1 0", "expected the form in V, but the data ends there"},
        {"1 1 3 0 no", "to be 0 (open), 1 (closed) or 2 (periodic), got 3"},
        {"1 1 0 0 maybe", "expected the rational flag (yes or no), got 'maybe'"},
        {"1 1 0 0 no 2 0 x", "expected knot 1 in U (a number), got 'x'"},
        {"1 1 0 0 no 6 0 1", "expected 6 knots in U, only 2 values follow"},
        {"1 1 0 0 no 2 0 1 2 0", "expected 2 knots in V, only 1 values follow"},
        {header + "3 0 0 0 1 0 0 0 1 0",
         "expected 4 CVs (2 x 2 from the knot counts), the count says 3"},
        {header + "4 0 0 0 1 0 0 0 1 0",
         "expected 4 CVs of 3 numbers (12 values), only 9 values follow"},
        {header + "4 0 0 0 1 0 0 0 1 0 1 1 z", "expected z of CV 3 (a number), got 'z'"},
        {"1 1 0 0 no 2 1 0 2 0 1 4 0 0 0 1 0 0 0 1 0 1 1 0", "expected non-decreasing knots in U"},
        {"1 1 0 0 yes 2 0 1 2 0 1 4 0 0 0 1 0 1 0 1 1 0 0 1 1 1 0 -1",
         "CV 3 needs a positive weight"},
        {"3 1 0 0 no 1 0 2 0 1 0", "expected at least 6 knots in U for degree 3, got 1"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tokens = tokenize(c.text);
        size_t pos = 0;
        host::NurbsSurface s;
        std::string error;
        EXPECT_FALSE(host::parseNurbsSurface(tokens, pos, s, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos)
            << "'" << c.text << "' gave: " << error;
        EXPECT_EQ(pos, 0u) << "a failed parse consumes nothing";
    }
    // The trim marker is accepted either way.
    for (const char* marker : {"TRIM", "NOTRIM"}) {
        std::vector<std::string> tokens = tokenize(header + marker + " 4 0 0 0 1 0 0 0 1 0 1 1 0");
        size_t pos = 0;
        host::NurbsSurface s;
        std::string error;
        EXPECT_TRUE(host::parseNurbsSurface(tokens, pos, s, error)) << marker << ": " << error;
        EXPECT_EQ(pos, tokens.size());
    }
}

} // namespace

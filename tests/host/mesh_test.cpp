// Meshes: MFnMesh::create and its queries against hand-worked values, the mesh shape built from
// the attributes a real scene file sets (cgkit_objects.ma), the "polyFaces" text form, closest
// points and UVs, MItMeshPolygon, world space through transforms, and the DAG function sets.

#include "geometry/meshPolyFaces.h"
#include "scene/typedValues.h"

#include "../sharedScenes.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTransform.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MTransformationMatrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kTol = 1e-6; // meshes keep float points and UVs

template <class P>
::testing::AssertionResult near(const P& a, double x, double y, double z, double tolerance) {
    const double error = std::max({std::fabs(a.x - x), std::fabs(a.y - y), std::fabs(a.z - z)});
    if (error <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ") is " << error << " away from (" << x
           << ", " << y << ", " << z << ")";
}
#define EXPECT_POINT_NEAR(actual, x, y, z) EXPECT_TRUE(near((actual), (x), (y), (z), kTol))

std::vector<int> ints(const MIntArray& array) {
    std::vector<int> values;
    for (unsigned int i = 0; i < array.length(); ++i)
        values.push_back(array[i]);
    return values;
}

MIntArray intArray(const std::vector<int>& values) {
    MIntArray array;
    for (int v : values)
        array.append(v);
    return array;
}

MFloatPointArray pointArray(const std::vector<std::vector<float>>& points) {
    MFloatPointArray array;
    for (const auto& p : points)
        array.append(p[0], p[1], p[2]);
    return array;
}

MFloatArray floatArray(const std::vector<float>& values) {
    MFloatArray array;
    for (float v : values)
        array.append(v);
    return array;
}

// The unit cube around the origin; every face counter-clockwise seen from outside.
const std::vector<std::vector<float>> kCubePoints = {
    {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f},
    {-0.5f, -0.5f, 0.5f},  {0.5f, -0.5f, 0.5f},  {0.5f, 0.5f, 0.5f},  {-0.5f, 0.5f, 0.5f}};
const std::vector<int> kCubeConnects = {0, 3, 2, 1, 4, 5, 6, 7, 0, 1, 5, 4,
                                        2, 3, 7, 6, 0, 4, 7, 3, 1, 2, 6, 5};
// Outward normals of the six faces, in order: -z, +z, -y, +y, -x, +x.
const double kCubeNormals[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                   {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};

MObject cubeData() {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus status;
    fn.create(8, 6, pointArray(kCubePoints), intArray({4, 4, 4, 4, 4, 4}), intArray(kCubeConnects),
              data, &status);
    EXPECT_TRUE(status);
    return data;
}

// Two quads side by side in the xy plane, x in [0, 2] and [2, 4], y in [0, 1], facing +z, with
// u = x / 4 and v = y.
MObject stripData() {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus status;
    fn.create(6, 2, pointArray({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {0, 1, 0}, {2, 1, 0}, {4, 1, 0}}),
              intArray({4, 4}), intArray({0, 1, 4, 3, 1, 2, 5, 4}),
              floatArray({0, 0.5f, 1, 0, 0.5f, 1}), floatArray({0, 0, 0, 1, 1, 1}), data, &status);
    EXPECT_TRUE(status);
    EXPECT_TRUE(fn.assignUVs(intArray({4, 4}), intArray({0, 1, 4, 3, 1, 2, 5, 4})));
    return data;
}

// Tokens of text, with quotes taken off as the scene reader does.
std::vector<std::string> tokenize(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) {
        if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
            token = token.substr(1, token.size() - 2);
        tokens.push_back(token);
    }
    return tokens;
}

class MeshTest : public ::testing::Test {
  protected:
    void SetUp() override { scene.fileNew(); }
    void TearDown() override { scene.fileNew(); }

    // Sets one or more elements of a typed plug from file text, as the scene reader does.
    ::testing::AssertionResult setTyped(const std::string& node, const std::string& attribute,
                                        int first, int last, const std::string& type,
                                        const std::string& text) {
        const host::TypedValueFormat* format = host::findTypedValueFormat(type);
        if (!format)
            return ::testing::AssertionFailure() << "no format " << type;
        std::vector<std::string> tokens = tokenize(text);
        size_t pos = 0;
        for (int i = first; i <= last; ++i) {
            MObject value;
            std::string error;
            if (!format->parse(tokens, pos, value, error))
                return ::testing::AssertionFailure() << error;
            MPlug plug;
            const std::string name = node + "." + attribute + "[" + std::to_string(i) + "]";
            if (!scene.findPlug(name, plug) || !plug.setValue(value))
                return ::testing::AssertionFailure() << "cannot set " << name;
        }
        if (pos != tokens.size())
            return ::testing::AssertionFailure() << "tokens left over at " << pos;
        return ::testing::AssertionSuccess();
    }

    MObject node(const std::string& name) { return scene.findNode(name); }
    MDagPath path(const std::string& name) {
        MDagPath result;
        EXPECT_TRUE(MDagPath::getAPathTo(node(name), result));
        return result;
    }
    MObject valueOf(const std::string& plugName) {
        MPlug plug;
        EXPECT_TRUE(scene.findPlug(plugName, plug));
        return plug.asMObject();
    }

    host::Scene& scene = host::Scene::current();
    host::MessageCapture capture;
};

// ---------------------------------------------------------------------------------------------
// MFnMesh::create and plain queries

TEST_F(MeshTest, CubeCountsVerticesAndNormals) {
    MObject data = cubeData();
    MStatus status;
    MFnMesh fn(data, &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(fn.numVertices(), 8);
    EXPECT_EQ(fn.numPolygons(), 6);
    EXPECT_EQ(fn.numEdges(), 12);
    EXPECT_EQ(fn.numFaceVertices(), 24);
    EXPECT_EQ(fn.polygonVertexCount(3), 4);
    MIntArray vertices;
    ASSERT_TRUE(fn.getPolygonVertices(3, vertices));
    EXPECT_EQ(ints(vertices), (std::vector<int>{2, 3, 7, 6}));
    MIntArray counts, all;
    ASSERT_TRUE(fn.getVertices(counts, all));
    EXPECT_EQ(ints(all), kCubeConnects);

    for (int p = 0; p < 6; ++p) {
        MVector n;
        ASSERT_TRUE(fn.getPolygonNormal(p, n));
        EXPECT_POINT_NEAR(n, kCubeNormals[p][0], kCubeNormals[p][1], kCubeNormals[p][2]);
    }
    // Every corner's normal points out along its diagonal: the average of three face normals.
    const double d = 1.0 / std::sqrt(3.0);
    for (int v = 0; v < 8; ++v) {
        MVector n;
        ASSERT_TRUE(fn.getVertexNormal(v, false, n));
        const auto& p = kCubePoints[static_cast<size_t>(v)];
        EXPECT_POINT_NEAR(n, p[0] > 0 ? d : -d, p[1] > 0 ? d : -d, p[2] > 0 ? d : -d)
            << "vertex " << v;
    }
    MPoint point;
    ASSERT_TRUE(fn.getPoint(6, point));
    EXPECT_POINT_NEAR(point, 0.5, 0.5, 0.5);
    // create gives the default UV set, empty.
    EXPECT_EQ(fn.currentUVSetName(), MString("map1"));
    EXPECT_EQ(fn.numUVs(), 0);
    int2 edge;
    ASSERT_TRUE(fn.getEdgeVertices(0, edge));
    EXPECT_EQ(edge[0], 0);
    EXPECT_EQ(edge[1], 3);
}

TEST_F(MeshTest, VertexNormalIsThePlainOrAngleWeightedAverage) {
    // Vertex 0 at the origin joins a square (90 degrees there, normal +z) and a triangle
    // (60 degrees there, normal -y).
    const float c = 0.5f, s = static_cast<float>(std::sqrt(3.0) / 2);
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    ASSERT_TRUE(fn.create(5, 2,
                          pointArray({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {c, 0, -s}}),
                          intArray({4, 3}), intArray({0, 1, 2, 3, 1, 0, 4}), data)
                    .hasFn(MFn::kMeshData));
    MVector plain, weighted;
    ASSERT_TRUE(fn.getVertexNormal(0, false, plain));
    const double r = std::sqrt(0.5);
    EXPECT_POINT_NEAR(plain, 0, -r, r);
    ASSERT_TRUE(fn.getVertexNormal(0, true, weighted));
    const double length = std::sqrt(60.0 * 60.0 + 90.0 * 90.0);
    EXPECT_POINT_NEAR(weighted, 0, -60.0 / length, 90.0 / length);
    // The overload without the flag is the plain average.
    MVector byDefault;
    ASSERT_TRUE(fn.getVertexNormal(0, byDefault));
    EXPECT_POINT_NEAR(byDefault, 0, -r, r);
    // Vertex 2 is on the square only.
    ASSERT_TRUE(fn.getVertexNormal(2, false, plain));
    EXPECT_POINT_NEAR(plain, 0, 0, 1);
}

TEST_F(MeshTest, CreateRefusesBadInputAndChangesNothing) {
    MObject data = cubeData();
    MFnMesh fn(data);
    const MFloatPointArray points = pointArray(kCubePoints);
    struct Case {
        const char* what;
        int numPolygons;
        std::vector<int> counts, connects;
    };
    const Case cases[] = {
        {"a polygon of two vertices", 1, {2}, {0, 1}},
        {"a vertex id out of range", 1, {3}, {0, 1, 8}},
        {"a negative vertex id", 1, {3}, {0, -1, 2}},
        {"counts adding up to more ids than given", 1, {4}, {0, 1, 2}},
        {"more ids than the counts take", 1, {3}, {0, 1, 2, 3}},
        {"a vertex twice in one polygon", 1, {4}, {0, 1, 0, 2}},
        {"fewer counts than polygons", 2, {3}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        MStatus status;
        MObject result = fn.create(8, c.numPolygons, points, intArray(c.counts),
                                   intArray(c.connects), data, &status);
        EXPECT_EQ(status, MS::kInvalidParameter) << c.what;
        EXPECT_TRUE(result.isNull()) << c.what;
        EXPECT_EQ(MFnMesh(data).numPolygons(), 6) << c.what << " changed the mesh";
    }
    EXPECT_GE(capture.count(host::MessageKind::kError), 1u);
    // Too few points for numVertices, and UV arrays of different lengths.
    MStatus status;
    fn.create(9, 6, points, intArray({4, 4, 4, 4, 4, 4}), intArray(kCubeConnects), data, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    fn.create(8, 6, points, intArray({4, 4, 4, 4, 4, 4}), intArray(kCubeConnects),
              floatArray({0, 1}), floatArray({0}), data, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    // An owner that is neither mesh data nor a transform.
    ASSERT_TRUE(scene.createNode("mesh", "notAnOwner"));
    MObject shape = node("notAnOwner");
    EXPECT_TRUE(fn.create(8, 6, points, intArray({4, 4, 4, 4, 4, 4}), intArray(kCubeConnects),
                          shape, &status)
                    .isNull());
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(MFnMesh(shape).numPolygons(), 0);
}

TEST_F(MeshTest, OutOfRangeIdsAndEmptyMeshesFailWithoutHarm) {
    MFnMesh fn(cubeData());
    MPoint p;
    MVector n;
    MIntArray list;
    float u = 0, v = 0;
    EXPECT_EQ(fn.getPoint(8, p), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPoint(-1, p), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPolygonVertices(6, list), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPolygonNormal(-2, n), MS::kInvalidParameter);
    EXPECT_EQ(fn.getVertexNormal(100, false, n), MS::kInvalidParameter);
    EXPECT_EQ(fn.getPolygonUV(0, 0, u, v), MS::kFailure); // no UVs assigned
    EXPECT_EQ(fn.getPolygonUV(0, 4, u, v), MS::kInvalidParameter);
    MString missing("noSuchSet");
    EXPECT_EQ(fn.getPolygonUV(0, 0, u, v, &missing), MS::kInvalidParameter);

    MFnMeshData dataFn;
    MObject empty = dataFn.create();
    MFnMesh none(empty);
    EXPECT_EQ(none.numVertices(), 0);
    EXPECT_EQ(none.numPolygons(), 0);
    EXPECT_EQ(none.getClosestPoint(MPoint(1, 2, 3), p), MS::kFailure);
    float2 uv = {0, 0};
    EXPECT_EQ(none.getUVAtPoint(MPoint(1, 2, 3), uv), MS::kInvalidParameter); // no UV set
    EXPECT_EQ(none.getPointAtUV(0, p, uv), MS::kInvalidParameter);

    // Not a mesh at all.
    MStatus status;
    MFnMesh wrong(MObject(), &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.numVertices(&status), 0);
    EXPECT_FALSE(status);
}

TEST_F(MeshTest, UVEditsCheckTheirInput) {
    MObject data = stripData();
    MFnMesh fn(data);
    EXPECT_EQ(fn.numUVs(), 6);
    MIntArray counts, ids;
    ASSERT_TRUE(fn.getAssignedUVs(counts, ids));
    EXPECT_EQ(ints(counts), (std::vector<int>{4, 4}));
    EXPECT_EQ(ints(ids), (std::vector<int>{0, 1, 4, 3, 1, 2, 5, 4}));
    // A count that is not the polygon's vertex count, and an id beyond the UVs.
    EXPECT_EQ(fn.assignUVs(intArray({3, 4}), intArray({0, 1, 4, 1, 2, 5, 4})),
              MS::kInvalidParameter);
    EXPECT_EQ(fn.assignUVs(intArray({4, 4}), intArray({0, 1, 4, 3, 1, 2, 5, 6})),
              MS::kInvalidParameter);
    // Fewer UVs than assigned ids refer to.
    EXPECT_EQ(fn.setUVs(floatArray({0, 1}), floatArray({0, 1})), MS::kInvalidParameter);
    ASSERT_TRUE(fn.getAssignedUVs(counts, ids));
    EXPECT_EQ(ints(ids), (std::vector<int>{0, 1, 4, 3, 1, 2, 5, 4}));
    // Unmapping the second polygon.
    ASSERT_TRUE(fn.assignUVs(intArray({4, 0}), intArray({0, 1, 4, 3})));
    float u = 0, v = 0;
    EXPECT_EQ(fn.getPolygonUV(1, 0, u, v), MS::kFailure);
    ASSERT_TRUE(fn.getPolygonUV(0, 2, u, v));
    EXPECT_FLOAT_EQ(u, 0.5f);
    EXPECT_FLOAT_EQ(v, 1.0f);
    // New sets get unique names; the current set can be changed.
    MString name("map1");
    ASSERT_TRUE(fn.createUVSet(name));
    EXPECT_EQ(name, MString("map11"));
    MStringArray names;
    ASSERT_TRUE(fn.getUVSetNames(names));
    ASSERT_EQ(names.length(), 2u);
    EXPECT_EQ(names[1], MString("map11"));
    ASSERT_TRUE(fn.setCurrentUVSetName(name));
    EXPECT_EQ(fn.currentUVSetName(), name);
    EXPECT_EQ(fn.numUVs(), 0);
    EXPECT_EQ(fn.setCurrentUVSetName("nothing"), MS::kInvalidParameter);
}

// ---------------------------------------------------------------------------------------------
// Closest points, UVs at points and points at UVs

TEST_F(MeshTest, ClosestPointAndUVAtPoint) {
    MFnMesh strip(stripData());
    struct Case {
        MPoint query;
        MPoint expected;
        int polygon;
        float u, v;
    };
    const Case cases[] = {
        {MPoint(1, 0.5, 3), MPoint(1, 0.5, 0), 0, 0.25f, 0.5f},          // above the first quad
        {MPoint(3, -1, 0), MPoint(3, 0, 0), 1, 0.75f, 0.0f},             // beside an edge
        {MPoint(5, 2, -1), MPoint(4, 1, 0), 1, 1.0f, 1.0f},              // beyond a corner
        {MPoint(3.5, 0.25, -2), MPoint(3.5, 0.25, 0), 1, 0.875f, 0.25f}, // below the second
    };
    for (const Case& c : cases) {
        MPoint found;
        int polygon = -1;
        ASSERT_TRUE(strip.getClosestPoint(c.query, found, MSpace::kObject, &polygon));
        EXPECT_POINT_NEAR(found, c.expected.x, c.expected.y, c.expected.z);
        EXPECT_EQ(polygon, c.polygon);
        float2 uv = {-1, -1};
        polygon = -1;
        ASSERT_TRUE(strip.getUVAtPoint(c.query, uv, MSpace::kObject, nullptr, &polygon));
        EXPECT_NEAR(uv[0], c.u, kTol);
        EXPECT_NEAR(uv[1], c.v, kTol);
        EXPECT_EQ(polygon, c.polygon);
    }
    // On a closed mesh the nearest point may be on any face.
    MFnMesh cube(cubeData());
    MPoint found;
    int polygon = -1;
    ASSERT_TRUE(cube.getClosestPoint(MPoint(0.1, 0.2, 2), found, MSpace::kObject, &polygon));
    EXPECT_POINT_NEAR(found, 0.1, 0.2, 0.5);
    EXPECT_EQ(polygon, 1);
    ASSERT_TRUE(cube.getClosestPoint(MPoint(3, 3, 3), found));
    EXPECT_POINT_NEAR(found, 0.5, 0.5, 0.5);
    // A point inside is nearest to the closest face.
    ASSERT_TRUE(cube.getClosestPoint(MPoint(0.05, -0.4, 0.1), found, MSpace::kObject, &polygon));
    EXPECT_POINT_NEAR(found, 0.05, -0.5, 0.1);
    EXPECT_EQ(polygon, 2);
    MVector normal;
    ASSERT_TRUE(cube.getClosestPointAndNormal(MPoint(0, 0, -4), found, normal));
    EXPECT_POINT_NEAR(normal, 0, 0, -1);
    // No UVs on the cube.
    float2 uv;
    EXPECT_EQ(cube.getUVAtPoint(MPoint(0, 0, 2), uv), MS::kFailure);
}

// The distance from p to triangle abc, worked out independently of the host: the projection
// onto the plane when it falls inside, else the nearest of the three edges.
double referenceDistance(const MPoint& p, const MPoint& a, const MPoint& b, const MPoint& c) {
    auto segment = [&](const MPoint& s, const MPoint& e) {
        const MVector d = e - s;
        double t = d * d > 0 ? ((p - s) * d) / (d * d) : 0.0;
        t = std::min(1.0, std::max(0.0, t));
        return (s + d * t).distanceTo(p);
    };
    const MVector n = (b - a) ^ (c - a);
    double best = std::min({segment(a, b), segment(b, c), segment(c, a)});
    if (n.length() > 0) {
        const MVector unit = n.normal();
        const MPoint q = p - unit * ((p - a) * unit);
        const bool inside = (((b - a) ^ (q - a)) * n) >= 0 && (((c - b) ^ (q - b)) * n) >= 0 &&
                            (((a - c) ^ (q - c)) * n) >= 0;
        if (inside)
            best = std::min(best, q.distanceTo(p));
    }
    return best;
}

TEST_F(MeshTest, ClosestPointOnALargeMeshAgreesWithAFullScan) {
    // A 30 x 30 grid of quads over a bumpy height field: large enough for the search tree.
    const int n = 30;
    MFloatPointArray points;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            points.append(static_cast<float>(i) * 0.1f, static_cast<float>(j) * 0.1f,
                          static_cast<float>(0.3 * std::sin(i * 0.7) * std::cos(j * 0.4)));
    MIntArray counts, connects;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            counts.append(4);
            const int v = j * (n + 1) + i;
            for (int corner : {v, v + 1, v + n + 2, v + n + 1})
                connects.append(corner);
        }
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus status;
    fn.create(points.length(), n * n, points, counts, connects, data, &status);
    ASSERT_TRUE(status);
    MIntArray triangleCounts, triangleVertices;
    ASSERT_TRUE(fn.getTriangles(triangleCounts, triangleVertices));
    MPointArray all;
    ASSERT_TRUE(fn.getPoints(all));

    unsigned int seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) & 0xffff) / 65535.0;
    };
    for (int q = 0; q < 300; ++q) {
        const MPoint query(next() * 4 - 0.5, next() * 4 - 0.5, next() * 2 - 1);
        double reference = std::numeric_limits<double>::infinity();
        unsigned int t = 0;
        for (unsigned int p = 0; p < triangleCounts.length(); ++p)
            for (int k = 0; k < triangleCounts[p]; ++k, t += 3)
                reference = std::min(
                    reference,
                    referenceDistance(query, all[static_cast<unsigned int>(triangleVertices[t])],
                                      all[static_cast<unsigned int>(triangleVertices[t + 1])],
                                      all[static_cast<unsigned int>(triangleVertices[t + 2])]));
        MPoint found;
        int polygon = -1;
        ASSERT_TRUE(fn.getClosestPoint(query, found, MSpace::kObject, &polygon));
        EXPECT_NEAR(found.distanceTo(query), reference, 1e-9) << "query " << q;
        ASSERT_GE(polygon, 0);
        ASSERT_LT(polygon, n * n);
    }
    // Grid vertices are shared by four quads: the lowest one is reported, as a scan in polygon
    // order finds it.
    for (int j = 1; j < n; ++j)
        for (int i = 1; i < n; ++i) {
            const MPoint vertex = all[static_cast<unsigned int>(j * (n + 1) + i)];
            MPoint found;
            int polygon = -1;
            ASSERT_TRUE(fn.getClosestPoint(vertex, found, MSpace::kObject, &polygon));
            EXPECT_EQ(found, vertex);
            EXPECT_EQ(polygon, (j - 1) * n + (i - 1)) << "vertex " << i << ", " << j;
        }
}

TEST_F(MeshTest, PointAtUVInsideAndOutsideAFace) {
    MFnMesh fn(stripData());
    MPoint p;
    float2 inside = {0.25f, 0.5f};
    ASSERT_TRUE(fn.getPointAtUV(0, p, inside));
    EXPECT_POINT_NEAR(p, 1, 0.5, 0);
    // On the shared edge: in both faces.
    float2 edge = {0.5f, 0.5f};
    ASSERT_TRUE(fn.getPointAtUV(0, p, edge));
    EXPECT_POINT_NEAR(p, 2, 0.5, 0);
    ASSERT_TRUE(fn.getPointAtUV(1, p, edge));
    EXPECT_POINT_NEAR(p, 2, 0.5, 0);
    // (0.75, 0.5) lies in the second face, 0.25 beyond the first one's UVs.
    float2 beyond = {0.75f, 0.5f};
    ASSERT_TRUE(fn.getPointAtUV(1, p, beyond));
    EXPECT_POINT_NEAR(p, 3, 0.5, 0);
    const MPoint untouched(-7, -7, -7);
    p = untouched;
    EXPECT_EQ(fn.getPointAtUV(0, p, beyond), MS::kFailure);
    EXPECT_EQ(fn.getPointAtUV(0, p, beyond, MSpace::kObject, nullptr, 0.2f), MS::kFailure);
    EXPECT_EQ(p, untouched);
    // A tolerance that reaches the face takes its nearest UV.
    ASSERT_TRUE(fn.getPointAtUV(0, p, beyond, MSpace::kObject, nullptr, 0.3f));
    EXPECT_POINT_NEAR(p, 2, 0.5, 0);
    float2 corner = {-0.1f, -0.1f};
    EXPECT_EQ(fn.getPointAtUV(0, p, corner, MSpace::kObject, nullptr, 0.1f), MS::kFailure);
    ASSERT_TRUE(fn.getPointAtUV(0, p, corner, MSpace::kObject, nullptr, 0.15f));
    EXPECT_POINT_NEAR(p, 0, 0, 0);
    EXPECT_EQ(fn.getPointAtUV(2, p, inside), MS::kInvalidParameter);
    MString missing("uvSet9");
    EXPECT_EQ(fn.getPointAtUV(0, p, inside, MSpace::kObject, &missing), MS::kInvalidParameter);
}

TEST_F(MeshTest, ConcavePolygonsAndHolesAreNotFilledIn) {
    // An L whose first corner is the one beside the notch: a fan from it would cover the notch
    // (1..2, 1..2). UVs are x / 2, y / 2.
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    ASSERT_TRUE(
        fn.create(6, 1,
                  pointArray({{2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}}),
                  intArray({6}), intArray({0, 1, 2, 3, 4, 5}), floatArray({1, 0.5f, 0.5f, 0, 0, 1}),
                  floatArray({0.5f, 0.5f, 1, 1, 0, 0}), data)
            .hasFn(MFn::kMeshData));
    ASSERT_TRUE(fn.assignUVs(intArray({6}), intArray({0, 1, 2, 3, 4, 5})));
    MIntArray triangleCounts, triangleVertices;
    ASSERT_TRUE(fn.getTriangles(triangleCounts, triangleVertices));
    EXPECT_EQ(ints(triangleCounts), (std::vector<int>{4}));
    MPoint found;
    ASSERT_TRUE(fn.getClosestPoint(MPoint(1.3, 1.4, 1), found));
    EXPECT_POINT_NEAR(found, 1, 1.4, 0);
    MVector normal;
    ASSERT_TRUE(fn.getPolygonNormal(0, normal));
    EXPECT_POINT_NEAR(normal, 0, 0, 1);
    float2 notch = {0.65f, 0.7f}, arm = {0.25f, 0.75f};
    EXPECT_EQ(fn.getPointAtUV(0, found, notch), MS::kFailure);
    ASSERT_TRUE(fn.getPointAtUV(0, found, arm));
    EXPECT_POINT_NEAR(found, 0.5, 1.5, 0);

    // A 4 x 4 square with a 2 x 2 hole, through the mesh attributes as files hold it.
    ASSERT_TRUE(scene.createNode("mesh", "holed"));
    const double square[8][2] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {1, 1}, {3, 1}, {3, 3}, {1, 3}};
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(scene.setAttr("holed.vt[" + std::to_string(i) + "]",
                                  std::vector<double>{square[i][0], square[i][1], 0}));
    const int edges[8][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(
            scene.setAttr("holed.ed[" + std::to_string(i) + "]",
                          std::vector<double>{double(edges[i][0]), double(edges[i][1]), 0}));
    ASSERT_TRUE(setTyped("holed", "fc", 0, 0, "polyFaces", "f 4 0 1 2 3 h 4 -8 -7 -6 -5"));
    MFnMesh holed(node("holed"));
    ASSERT_EQ(holed.numPolygons(), 1);
    EXPECT_EQ(holed.polygonVertexCount(0), 4);
    ASSERT_TRUE(holed.getClosestPoint(MPoint(2, 1.9, 1), found));
    EXPECT_NEAR(found.distanceTo(MPoint(2, 1.9, 0)), 0.9, kTol);
    ASSERT_TRUE(holed.getClosestPoint(MPoint(0.5, 2, 1), found));
    EXPECT_POINT_NEAR(found, 0.5, 2, 0);
    MItMeshPolygon faces(node("holed"));
    EXPECT_TRUE(faces.isHoled());
    double area = 0;
    ASSERT_TRUE(faces.getArea(area));
    EXPECT_NEAR(area, 12.0, kTol);
}

// ---------------------------------------------------------------------------------------------
// The mesh shape and the file form

// The setAttr statements of one node in a .ma file: plug, type and value tokens.
struct FileValue {
    std::string plug, type;
    std::vector<std::string> values;
};

std::vector<FileValue> fileValuesOf(const std::string& path, const std::string& createLine) {
    std::ifstream file(path);
    std::stringstream all;
    all << file.rdbuf();
    std::string text = all.str();
    size_t start = text.find(createLine);
    if (start == std::string::npos)
        return {};
    start = text.find(';', start) + 1;
    size_t end = text.find("createNode", start);
    std::vector<FileValue> values;
    for (size_t at = start; at < end;) {
        size_t semicolon = text.find(';', at);
        if (semicolon == std::string::npos || semicolon > end)
            break;
        std::vector<std::string> tokens = tokenize(text.substr(at, semicolon - at));
        at = semicolon + 1;
        if (tokens.empty() || tokens[0] != "setAttr")
            continue;
        FileValue value;
        size_t k = 1;
        while (k < tokens.size() && tokens[k][0] == '-') {
            if (tokens[k] == "-type" && k + 1 < tokens.size())
                value.type = tokens[k + 1];
            k += 2;
        }
        if (k >= tokens.size())
            continue;
        value.plug = tokens[k].substr(1); // ".vt[0:7]" -> "vt[0:7]"
        ++k;
        if (k + 1 < tokens.size() && tokens[k] == "-type") {
            value.type = tokens[k + 1];
            k += 2;
        }
        value.values.assign(tokens.begin() + static_cast<long>(k), tokens.end());
        values.push_back(value);
    }
    return values;
}

TEST_F(MeshTest, ShapeFromTheAttributesOfARealFile) {
    SKIP_WITHOUT_SHARED_SCENES();
    const std::string path = sharedScenePath("cgkit_objects.ma");
    std::vector<FileValue> values = fileValuesOf(path, "createNode mesh -n \"meshShape\"");
    ASSERT_FALSE(values.empty()) << path;
    ASSERT_TRUE(scene.createNode("transform", "mesh"));
    ASSERT_TRUE(scene.createNode("mesh", "meshShape", "mesh"));
    int applied = 0;
    for (const FileValue& value : values) {
        std::string plug = value.plug;
        int first = -1, last = -1;
        size_t open = plug.rfind('['), colon = plug.rfind(':');
        if (open != std::string::npos && plug.back() == ']') {
            first = std::stoi(plug.substr(open + 1));
            last = colon != std::string::npos && colon > open ? std::stoi(plug.substr(colon + 1))
                                                              : first;
            plug = plug.substr(0, open);
        }
        if (value.type == "string") {
            ASSERT_TRUE(scene.setAttr("meshShape." + value.plug, value.values.at(0)));
            ++applied;
        } else if (value.type == "polyFaces") {
            std::string text;
            for (const std::string& token : value.values)
                text += token + " ";
            ASSERT_TRUE(setTyped("meshShape", plug, first, last, "polyFaces", text));
            ++applied;
        } else if ((plug == "vt" || plug == "pt" || plug == "ed" || plug == "uvst[0].uvsp") &&
                   !value.values.empty()) {
            const size_t size = plug == "uvst[0].uvsp" ? 2 : 3;
            ASSERT_EQ(value.values.size(), size * static_cast<size_t>(last - first + 1))
                << value.plug;
            for (int i = first; i <= last; ++i) {
                std::vector<double> element;
                for (size_t k = 0; k < size; ++k)
                    element.push_back(
                        std::stod(value.values[static_cast<size_t>(i - first) * size + k]));
                ASSERT_TRUE(
                    scene.setAttr("meshShape." + plug + "[" + std::to_string(i) + "]", element));
            }
            ++applied;
        }
    }
    // uvsn, cuvs, dcc, uvsp, four pt, vt, ed, fc.
    EXPECT_EQ(applied, 11);

    MFnMesh fn(node("meshShape"));
    ASSERT_EQ(fn.numVertices(), 8);
    ASSERT_EQ(fn.numPolygons(), 6);
    EXPECT_EQ(fn.numEdges(), 12);
    // .vt plus the .pt tweaks: the top four corners pulled in to +-0.25.
    const double expected[8][3] = {{-0.25, 0.5, 0.25},  {-0.5, -0.5, 0.5},  {0.25, 0.5, 0.25},
                                   {0.5, -0.5, 0.5},    {0.25, 0.5, -0.25}, {0.5, -0.5, -0.5},
                                   {-0.25, 0.5, -0.25}, {-0.5, -0.5, -0.5}};
    for (int v = 0; v < 8; ++v) {
        MPoint p;
        ASSERT_TRUE(fn.getPoint(v, p));
        EXPECT_POINT_NEAR(p, expected[v][0], expected[v][1], expected[v][2]) << "vertex " << v;
    }
    // Signed edge ids resolved by hand: e >= 0 starts at the edge's first vertex, e < 0 walks
    // edge -e - 1 from its second vertex.
    const std::vector<std::vector<int>> loops = {{0, 1, 3, 2}, {2, 3, 5, 4}, {4, 5, 7, 6},
                                                 {6, 7, 1, 0}, {1, 7, 5, 3}, {6, 0, 2, 4}};
    for (int p = 0; p < 6; ++p) {
        MIntArray vertices;
        ASSERT_TRUE(fn.getPolygonVertices(p, vertices));
        EXPECT_EQ(ints(vertices), loops[static_cast<size_t>(p)]) << "face " << p;
    }
    // Face 0 leans back over the front: normal along (0, 0.25, 1).
    MVector normal;
    ASSERT_TRUE(fn.getPolygonNormal(0, normal));
    const double length = std::sqrt(0.25 * 0.25 + 1);
    EXPECT_POINT_NEAR(normal, 0, 0.25 / length, 1 / length);
    // The UV set and the "mu" ids.
    EXPECT_EQ(fn.currentUVSetName(), MString("map1"));
    EXPECT_EQ(fn.numUVs(), 14);
    const std::vector<std::vector<int>> uvIds = {{0, 1, 3, 2}, {2, 3, 5, 4},   {4, 5, 7, 6},
                                                 {6, 7, 9, 8}, {1, 10, 11, 3}, {12, 0, 2, 13}};
    MFloatArray us, vs;
    ASSERT_TRUE(fn.getUVs(us, vs));
    for (int p = 0; p < 6; ++p)
        for (int k = 0; k < 4; ++k) {
            int id = -1;
            float u = 0, v = 0;
            ASSERT_TRUE(fn.getPolygonUVid(p, k, id));
            EXPECT_EQ(id, uvIds[static_cast<size_t>(p)][static_cast<size_t>(k)]);
            ASSERT_TRUE(fn.getPolygonUV(p, k, u, v));
            EXPECT_EQ(u, us[static_cast<unsigned int>(id)]);
            EXPECT_EQ(v, vs[static_cast<unsigned int>(id)]);
        }
    float u = 0, v = 0;
    ASSERT_TRUE(fn.getPolygonUV(4, 1, u, v)); // uv 10 is (2, 0)
    EXPECT_EQ(u, 2.0f);
    EXPECT_EQ(v, 0.0f);

    // The faces write back as the file has them.
    MPlug face;
    ASSERT_TRUE(scene.findPlug("meshShape.fc[3]", face));
    const host::TypedValueFormat* format = host::findTypedValueFormat("polyFaces");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->format(face.asMObject()), "f 4 3 11 -1 -11\n\t\tmu 0 4 6 7 9 8");

    // The outMesh plug carries the same mesh; a tweak changes it.
    MFnMesh out(valueOf("meshShape.outMesh"));
    MPoint p;
    ASSERT_TRUE(out.getPoint(0, p));
    EXPECT_POINT_NEAR(p, -0.25, 0.5, 0.25);
    ASSERT_TRUE(scene.setAttr("meshShape.pt[1]", std::vector<double>{0, 1, 0}));
    ASSERT_TRUE(MFnMesh(valueOf("meshShape.o")).getPoint(1, p));
    EXPECT_POINT_NEAR(p, -0.5, 0.5, 0.5);
}

TEST_F(MeshTest, PolyFacesTextFailsSayingWhatWasExpected) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"f 2 0 1", "at least 3 edge ids"},
        {"f 4 0 5 -2", "announces 4 edge ids but only 3"},
        {"f 4 0 5 x -5", "got 'x'"},
        {"mu 0 4 0 1 3 2", "expected a face ('f') to start, got 'mu'"},
        {"f 4 0 5 -2 -5 mu 0 3 0 1 3", "expected 4 UV ids"},
        {"f 4 0 5 -2 -5 mu -1 4 0 1 3 2", "set index of 0 or more"},
        {"f 4 0 5 -2 -5 mu 0 4 0 1 -3 2", "UV ids of 0 or more"},
        {"f 3 0 1 2 h", "a count of edge ids in 'h', got the end"},
        {"", "got the end of the data"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> tokens = tokenize(c.text);
        size_t pos = 0;
        host::PolyFace face;
        std::string error;
        EXPECT_FALSE(host::parsePolyFace(tokens, pos, face, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << "'" << c.text << "' gave: " << error;
        EXPECT_EQ(pos, 0u) << c.text;
    }
    // A good face stops at the next one, and prints back as it was read.
    std::vector<std::string> tokens =
        tokenize("f 4 0 1 2 3 mu 0 4 0 1 2 3 mc 1 4 5 6 7 8 h 3 4 5 6 fc 3 1 2 3 f 3 7 8 9");
    size_t pos = 0;
    host::PolyFace face;
    std::string error;
    ASSERT_TRUE(host::parsePolyFace(tokens, pos, face, error)) << error;
    EXPECT_EQ(pos, 30u);
    ASSERT_EQ(face.loops.size(), 2u);
    EXPECT_EQ(face.loops[1].faceColors, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(host::formatPolyFace(face), "f 4 0 1 2 3\n\t\tmu 0 4 0 1 2 3\n\t\tmc 1 4 5 6 7 8"
                                          "\n\t\th 3 4 5 6\n\t\tfc 3 1 2 3");
}

TEST_F(MeshTest, FacesThatDoNotFitTheEdgesReportTheFace) {
    // A unit square: vertices 0..3, edges around it.
    ASSERT_TRUE(scene.createNode("mesh", "square"));
    const double corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(scene.setAttr("square.vt[" + std::to_string(i) + "]",
                                  std::vector<double>{corners[i][0], corners[i][1], 0}));
        ASSERT_TRUE(scene.setAttr("square.ed[" + std::to_string(i) + "]",
                                  std::vector<double>{double(i), double((i + 1) % 4), 0}));
    }
    ASSERT_TRUE(scene.setAttr("square.uvst[0].uvsn", std::string("map1")));
    ASSERT_TRUE(scene.setAttr("square.uvst[0].uvsp[0]", std::vector<double>{0, 0}));
    ASSERT_TRUE(setTyped("square", "fc", 0, 0, "polyFaces", "f 4 0 1 2 3"));
    ASSERT_EQ(MFnMesh(node("square")).numPolygons(), 1);

    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"f 4 0 1 2 4", "fc[0]: edge id 4 refers to edge 4, which does not exist; expected ids "
                        "from -4 to 3"},
        {"f 4 0 1 2 -6", "edge id -6 refers to edge 5"},
        {"f 3 0 1 3", "expected the edges to form a closed loop"},
        {"f 4 0 1 2 3 mu 1 4 0 0 0 0", "'mu 1' refers to UV set 1, which does not exist"},
        {"f 4 0 1 2 3 mu 0 4 0 0 0 1", "UV id 1 of set 0 is out of range; expected 0 to 0"},
    };
    for (const Case& c : cases) {
        capture.clear();
        ASSERT_TRUE(setTyped("square", "fc", 0, 0, "polyFaces", c.text));
        MFnMesh fn(node("square"));
        EXPECT_EQ(fn.numPolygons(), 0) << c.text;
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "Mesh 'square': ")) << c.text;
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, c.message))
            << "'" << c.text << "' gave: "
            << (capture.messages().empty() ? std::string("nothing")
                                           : capture.messages().back().text);
    }
    // An edge naming a vertex that .vt does not have.
    ASSERT_TRUE(setTyped("square", "fc", 0, 0, "polyFaces", "f 4 0 1 2 3"));
    ASSERT_TRUE(scene.setAttr("square.ed[2]", std::vector<double>{2, 9, 0}));
    capture.clear();
    EXPECT_EQ(MFnMesh(node("square")).numPolygons(), 0);
    EXPECT_TRUE(capture.contains(host::MessageKind::kError,
                                 "edge 2 uses vertex 9; expected a vertex id from 0 to 3"));
}

TEST_F(MeshTest, ShapeTakesItsInputWhenConnectedAndStoresWhatCreateMakes) {
    // create under a transform stores the mesh in a new shape's attributes.
    ASSERT_TRUE(scene.createNode("transform", "box"));
    MObject box = node("box");
    MFnMesh fn;
    MStatus status;
    MObject shape = fn.create(8, 6, pointArray(kCubePoints), intArray({4, 4, 4, 4, 4, 4}),
                              intArray(kCubeConnects), box, &status);
    ASSERT_TRUE(status);
    ASSERT_TRUE(shape.hasFn(MFn::kMesh));
    ASSERT_TRUE(shape.hasFn(MFn::kShape));
    const std::string name = MFnDependencyNode(shape).name().asChar();
    EXPECT_EQ(scene.parentOf(name), "box");
    std::vector<double> values;
    ASSERT_TRUE(scene.getAttr(name + ".vt[6]", values));
    EXPECT_EQ(values, (std::vector<double>{0.5, 0.5, 0.5}));
    EXPECT_EQ(fn.numPolygons(), 6);
    EXPECT_EQ(fn.fullPathName(), MString(("|box|" + name).c_str()));

    // Another shape fed from the first: its own attributes no longer count.
    ASSERT_TRUE(scene.createNode("mesh", "copy"));
    ASSERT_TRUE(scene.connectAttr(name + ".outMesh", "copy.inMesh"));
    MFnMesh copy(node("copy"));
    EXPECT_EQ(copy.numPolygons(), 6);
    // Edits go to the shape that holds the mesh, and reach the one downstream.
    ASSERT_TRUE(fn.setPoint(6, MPoint(1, 1, 1)));
    ASSERT_TRUE(scene.getAttr(name + ".vt[6]", values));
    EXPECT_EQ(values, (std::vector<double>{1, 1, 1}));
    MPoint p;
    ASSERT_TRUE(copy.getPoint(6, p));
    EXPECT_POINT_NEAR(p, 1, 1, 1);
    EXPECT_EQ(copy.setPoint(0, MPoint(2, 2, 2)), MS::kFailure); // its mesh is upstream's
    ASSERT_TRUE(scene.disconnectAttr(name + ".outMesh", "copy.inMesh"));
    EXPECT_EQ(copy.numPolygons(), 0);

    // With no owner, create makes a transform and a shape and returns the transform.
    MObject top = fn.create(3, 1, pointArray({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), intArray({3}),
                            intArray({0, 1, 2}), MObject::kNullObj, &status);
    ASSERT_TRUE(status);
    EXPECT_TRUE(top.hasFn(MFn::kTransform));
    EXPECT_EQ(MFnDagNode(top).childCount(), 1u);
    EXPECT_EQ(fn.numPolygons(), 1);
    EXPECT_TRUE(MObject::kNullObj.isNull());
}

// ---------------------------------------------------------------------------------------------
// Iterating polygons, world space

TEST_F(MeshTest, PolygonIteratorOverAComponent) {
    ASSERT_TRUE(scene.createNode("transform", "box"));
    ASSERT_TRUE(scene.setAttr("box.translate", std::vector<double>{10, 0, 0}));
    MObject box = node("box");
    MFnMesh fn;
    fn.create(8, 6, pointArray(kCubePoints), intArray({4, 4, 4, 4, 4, 4}), intArray(kCubeConnects),
              box);
    MDagPath shapePath = fn.dagPath();

    MFnSingleIndexedComponent faces;
    MStatus status;
    MObject component = faces.create(MFn::kMeshPolygonComponent, &status);
    ASSERT_TRUE(status);
    MIntArray wanted = intArray({4, 1, 4});
    ASSERT_TRUE(faces.addElements(wanted));
    EXPECT_EQ(faces.elementCount(), 2);
    EXPECT_EQ(faces.addElement(-1), MS::kInvalidParameter);

    // A path to the transform reaches the shape below it.
    MDagPath boxPath = path("box");
    MItMeshPolygon it(boxPath, component, &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(it.count(), 2u);
    std::vector<unsigned int> visited;
    for (; !it.isDone(); it.next()) {
        visited.push_back(it.index());
        EXPECT_EQ(it.polygonVertexCount(), 4u);
    }
    EXPECT_EQ(visited, (std::vector<unsigned int>{4, 1}));
    ASSERT_TRUE(it.reset());
    EXPECT_EQ(it.vertexIndex(0), 0);
    EXPECT_EQ(it.vertexIndex(4, &status), -1);
    EXPECT_EQ(status, MS::kInvalidParameter);
    MIntArray vertices;
    ASSERT_TRUE(it.getVertices(vertices));
    EXPECT_EQ(ints(vertices), (std::vector<int>{0, 4, 7, 3}));
    EXPECT_POINT_NEAR(it.center(), -0.5, 0, 0);
    EXPECT_POINT_NEAR(it.center(MSpace::kWorld), 9.5, 0, 0);
    MVector normal;
    ASSERT_TRUE(it.getNormal(normal, MSpace::kWorld));
    EXPECT_POINT_NEAR(normal, -1, 0, 0);
    int previous = -1;
    ASSERT_TRUE(it.setIndex(1, previous));
    EXPECT_EQ(previous, 4);
    EXPECT_EQ(it.index(), 1u);
    it.next();
    EXPECT_TRUE(it.isDone());
    double area = 0;
    EXPECT_EQ(it.getArea(area), MS::kFailure); // past the end
    // setIndex takes any face of the mesh, as Maya's does; next() then goes on with the
    // iteration where it was.
    ASSERT_TRUE(it.reset());
    ASSERT_TRUE(it.setIndex(2, previous));
    EXPECT_EQ(previous, 4);
    EXPECT_FALSE(it.isDone());
    EXPECT_EQ(it.index(), 2u);
    EXPECT_EQ(it.polygonVertexCount(), 4u);
    it.next();
    EXPECT_EQ(it.index(), 1u);
    EXPECT_EQ(it.setIndex(6, previous), MS::kInvalidParameter); // the mesh has 6 faces

    // Over the whole shape, by node: no world space without a path.
    MItMeshPolygon all(shapePath.node(), &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(all.count(), 6u);
    ASSERT_TRUE(all.getNormal(normal));
    EXPECT_POINT_NEAR(normal, 0, 0, -1);
    EXPECT_EQ(all.getNormal(normal, MSpace::kWorld), MS::kInvalidParameter);
    MObject current = all.currentItem();
    EXPECT_TRUE(current.hasFn(MFn::kMeshPolygonComponent));
    EXPECT_EQ(MFnSingleIndexedComponent(current).element(0), 0);

    // Wrong kinds of component, and faces the mesh does not have.
    MFnSingleIndexedComponent verts;
    MObject vertexComponent = verts.create(MFn::kMeshVertComponent);
    MItMeshPolygon wrong(shapePath, vertexComponent, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_TRUE(wrong.isDone());
    faces.addElement(6);
    MItMeshPolygon beyond(shapePath, component, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_TRUE(beyond.isDone());
}

TEST_F(MeshTest, PolygonIteratorReadsUVs) {
    MObject data = stripData();
    MItMeshPolygon it(data);
    int previous = -1;
    ASSERT_TRUE(it.setIndex(1, previous));
    EXPECT_EQ(previous, 0);
    EXPECT_TRUE(it.hasUVs());
    MFloatArray us, vs;
    ASSERT_TRUE(it.getUVs(us, vs));
    ASSERT_EQ(us.length(), 4u);
    EXPECT_FLOAT_EQ(us[1], 1.0f);
    EXPECT_FLOAT_EQ(vs[2], 1.0f);
    MPoint p;
    float2 uv = {0.75f, 0.5f};
    ASSERT_TRUE(it.getPointAtUV(p, uv));
    EXPECT_POINT_NEAR(p, 3, 0.5, 0);
    uv[0] = 0.25f;
    EXPECT_EQ(it.getPointAtUV(p, uv), MS::kFailure);
    ASSERT_TRUE(it.getPointAtUV(p, uv, MSpace::kObject, nullptr, 0.3f));
    EXPECT_POINT_NEAR(p, 2, 0.5, 0);
}

TEST_F(MeshTest, WorldSpaceGoesThroughEveryTransformAbove) {
    // A quad in the plane x = z, under a transform that doubles z, under one that moves +10 x.
    ASSERT_TRUE(scene.createNode("transform", "grand"));
    ASSERT_TRUE(scene.createNode("transform", "parent", "grand"));
    ASSERT_TRUE(scene.setAttr("grand.translate", std::vector<double>{10, 0, 0}));
    ASSERT_TRUE(scene.setAttr("parent.scale", std::vector<double>{1, 1, 2}));
    MObject parent = node("parent");
    MFnMesh fn;
    MObject shape = fn.create(4, 1, pointArray({{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 0}}),
                              intArray({4}), intArray({0, 1, 2, 3}), parent);
    MDagPath shapePath;
    ASSERT_TRUE(MDagPath::getAPathTo(shape, shapePath));
    MFnMesh world(shapePath);

    MPoint p;
    ASSERT_TRUE(world.getPoint(2, p, MSpace::kWorld));
    EXPECT_POINT_NEAR(p, 11, 1, 2);
    MPointArray points;
    ASSERT_TRUE(world.getPoints(points, MSpace::kWorld));
    EXPECT_POINT_NEAR(points[1], 11, 0, 2);
    // In world space the quad lies in z = 2 (x - 10); the foot of the perpendicular from
    // (10.5, 0.5, 0) is (10.1, 0.5, 0.2). Working in object space would give (10.25, 0.5, 0.5).
    MPoint found;
    ASSERT_TRUE(world.getClosestPoint(MPoint(10.5, 0.5, 0), found, MSpace::kWorld));
    EXPECT_POINT_NEAR(found, 10.1, 0.5, 0.2);
    MVector normal;
    ASSERT_TRUE(world.getPolygonNormal(0, normal, MSpace::kWorld));
    const double r5 = std::sqrt(5.0);
    EXPECT_POINT_NEAR(normal, -2 / r5, 0, 1 / r5);
    ASSERT_TRUE(world.getVertexNormal(0, false, normal, MSpace::kWorld));
    EXPECT_POINT_NEAR(normal, -2 / r5, 0, 1 / r5);
    ASSERT_TRUE(world.getPolygonNormal(0, normal, MSpace::kObject));
    EXPECT_POINT_NEAR(normal, -std::sqrt(0.5), 0, std::sqrt(0.5));
    // A point set in world space goes back through the transforms.
    ASSERT_TRUE(world.setPoint(3, MPoint(10, 1, 4), MSpace::kWorld));
    ASSERT_TRUE(world.getPoint(3, p, MSpace::kObject));
    EXPECT_POINT_NEAR(p, 0, 1, 2);

    // Attached by node there is no world space.
    MFnMesh byNode(shape);
    EXPECT_EQ(byNode.getPoint(2, p, MSpace::kWorld), MS::kInvalidParameter);
    EXPECT_EQ(byNode.getClosestPoint(MPoint(), found, MSpace::kWorld), MS::kInvalidParameter);

    // worldMesh[0] holds the moved mesh; moving a transform later moves it again.
    const std::string name = MFnDependencyNode(shape).name().asChar();
    ASSERT_TRUE(MFnMesh(valueOf(name + ".worldMesh[0]")).getPoint(2, p));
    EXPECT_POINT_NEAR(p, 11, 1, 2);
    ASSERT_TRUE(scene.setAttr("grand.translateY", 5.0));
    ASSERT_TRUE(MFnMesh(valueOf(name + ".worldMesh[0]")).getPoint(2, p));
    EXPECT_POINT_NEAR(p, 11, 6, 2);
    ASSERT_TRUE(world.getPoint(2, p, MSpace::kWorld));
    EXPECT_POINT_NEAR(p, 11, 6, 2);
    // ... and "shape.worldMesh" connects as its first element.
    ASSERT_TRUE(scene.createNode("mesh", "follower"));
    ASSERT_TRUE(scene.connectAttr(name + ".worldMesh", "follower.inMesh"));
    ASSERT_TRUE(MFnMesh(node("follower")).getPoint(2, p));
    EXPECT_POINT_NEAR(p, 11, 6, 2);
}

// ---------------------------------------------------------------------------------------------
// The DAG function sets

TEST_F(MeshTest, DagNodesParentsChildrenAndPaths) {
    ASSERT_TRUE(scene.createNode("transform", "root"));
    ASSERT_TRUE(scene.createNode("transform", "arm", "root"));
    ASSERT_TRUE(scene.createNode("mesh", "armShape", "arm"));
    ASSERT_TRUE(scene.createNode("mesh", "armShapeOrig", "arm"));
    ASSERT_TRUE(scene.setAttr("armShapeOrig.intermediateObject", 1.0));

    MFnDagNode arm(node("arm"));
    EXPECT_EQ(arm.parentCount(), 1u);
    EXPECT_EQ(arm.parent(0), node("root"));
    EXPECT_EQ(arm.childCount(), 2u);
    EXPECT_EQ(arm.child(1), node("armShapeOrig"));
    MStatus status;
    arm.child(2, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(arm.fullPathName(), MString("|root|arm"));
    EXPECT_TRUE(arm.hasChild(node("armShape")));
    EXPECT_TRUE(MFnDagNode(node("armShape")).isChildOf(node("arm")));
    EXPECT_EQ(MFnDagNode(node("root")).parentCount(), 0u);
    EXPECT_TRUE(MFnDagNode(node("armShapeOrig")).isIntermediateObject());
    EXPECT_FALSE(MFnDagNode(node("armShape")).isIntermediateObject());

    // extendToShape passes over the intermediate object.
    MDagPath toArm = path("arm");
    EXPECT_EQ(toArm.childCount(), 2u);
    unsigned int shapes = 0;
    ASSERT_TRUE(toArm.numberOfShapesDirectlyBelow(shapes));
    EXPECT_EQ(shapes, 2u);
    MDagPath extended = toArm;
    ASSERT_TRUE(extended.extendToShape());
    EXPECT_EQ(extended.node(), node("armShape"));
    EXPECT_EQ(extended.fullPathName(), MString("|root|arm|armShape"));
    EXPECT_TRUE(extended.hasFn(MFn::kMesh));
    EXPECT_TRUE(extended.hasFn(MFn::kShape));
    EXPECT_FALSE(toArm.hasFn(MFn::kShape));
    ASSERT_TRUE(extended.pop());
    EXPECT_EQ(extended, toArm);
    ASSERT_TRUE(extended.extendToShapeDirectlyBelow(1));
    EXPECT_EQ(extended.node(), node("armShapeOrig"));
    EXPECT_EQ(toArm.extendToShapeDirectlyBelow(2), MS::kInvalidParameter);
    // Two shapes that both count: no single shape to extend to.
    ASSERT_TRUE(scene.setAttr("armShapeOrig.intermediateObject", 0.0));
    MDagPath ambiguous = path("arm");
    EXPECT_EQ(ambiguous.extendToShape(), MS::kInvalidParameter);
    EXPECT_EQ(ambiguous.node(), node("arm"));
    MDagPath rootPath = path("root");
    EXPECT_EQ(rootPath.extendToShape(), MS::kInvalidParameter);
    ASSERT_TRUE(rootPath.push(node("arm")));
    EXPECT_EQ(rootPath, toArm);
    EXPECT_EQ(rootPath.push(node("root")), MS::kInvalidParameter);

    // Reparenting through the function set.
    MFnDagNode root(node("root"));
    MObject shape = node("armShape");
    ASSERT_TRUE(root.addChild(shape));
    EXPECT_EQ(scene.parentOf("armShape"), "root");
    ASSERT_TRUE(root.removeChild(shape));
    EXPECT_EQ(scene.parentOf("armShape"), "");
    MObject created = root.create("mesh", "made", MObject::kNullObj, &status);
    ASSERT_TRUE(status);
    EXPECT_TRUE(created.hasFn(MFn::kTransform)); // a shape without a parent gets a transform
    EXPECT_EQ(MFnDagNode(created).child(0), node("made"));
    EXPECT_TRUE(root.create("noSuchType").isNull());
}

TEST_F(MeshTest, TransformPartsMatchTheNodesMatrix) {
    ASSERT_TRUE(scene.createNode("transform", "t"));
    ASSERT_TRUE(scene.setAttr("t.translate", std::vector<double>{1, 2, 3}));
    ASSERT_TRUE(scene.setAttr("t.rotate", std::vector<double>{0.3, -0.2, 1.1}));
    ASSERT_TRUE(scene.setAttr("t.rotateOrder", 4.0)); // yxz
    ASSERT_TRUE(scene.setAttr("t.scale", std::vector<double>{2, 0.5, 3}));
    ASSERT_TRUE(scene.setAttr("t.shear", std::vector<double>{0.1, 0, 0.2}));
    ASSERT_TRUE(scene.setAttr("t.rotatePivot", std::vector<double>{0.5, 0, -1}));
    ASSERT_TRUE(scene.setAttr("t.scalePivot", std::vector<double>{-1, 1, 0}));
    ASSERT_TRUE(scene.setAttr("t.rotateAxis", std::vector<double>{0.1, 0.2, 0.3}));
    ASSERT_TRUE(scene.setAttr("t.rotatePivotTranslate", std::vector<double>{0, 0.25, 0}));

    MFnTransform fn(node("t"));
    MTransformationMatrix parts = fn.transformation();
    const MMatrix nodeMatrix = MFnDagNode(node("t")).transformationMatrix();
    EXPECT_TRUE(parts.asMatrix().isEquivalent(nodeMatrix, 1e-12))
        << parts.asMatrix() << " vs " << nodeMatrix;
    EXPECT_POINT_NEAR(fn.getTranslation(MSpace::kTransform), 1, 2, 3);
    MEulerRotation rotation;
    ASSERT_TRUE(fn.getRotation(rotation));
    EXPECT_EQ(rotation.order, MEulerRotation::kYXZ);
    EXPECT_EQ(fn.rotationOrder(), MTransformationMatrix::kYXZ);
    EXPECT_NEAR(rotation.z, 1.1, 1e-12);
    double scale[3];
    ASSERT_TRUE(fn.getScale(scale));
    EXPECT_EQ(scale[1], 0.5);

    // Writing the parts back into another transform gives the same matrix.
    ASSERT_TRUE(scene.createNode("transform", "u"));
    MFnTransform other(node("u"));
    ASSERT_TRUE(other.set(parts));
    EXPECT_TRUE(MFnDagNode(node("u")).transformationMatrix().isEquivalent(nodeMatrix, 1e-9));

    // A matrix splits into parts that rebuild it (no pivots).
    MMatrix plain = MTransformationMatrix().asMatrix();
    EXPECT_TRUE(plain.isEquivalent(MMatrix::identity));
    MTransformationMatrix noPivots;
    const double s[3] = {2, 3, 0.5}, sh[3] = {0.3, -0.1, 0.2};
    noPivots.setScale(s, MSpace::kTransform);
    noPivots.setShear(sh, MSpace::kTransform);
    noPivots.rotateTo(MEulerRotation(0.4, 0.1, -0.7));
    noPivots.setTranslation(MVector(-4, 5, 6), MSpace::kTransform);
    const MMatrix composed = noPivots.asMatrix();
    MTransformationMatrix split(composed);
    EXPECT_TRUE(split.asMatrix().isEquivalent(composed, 1e-9));
    EXPECT_POINT_NEAR(split.getTranslation(MSpace::kTransform), -4, 5, 6);
    double splitScale[3], splitShear[3];
    split.getScale(splitScale, MSpace::kTransform);
    split.getShear(splitShear, MSpace::kTransform);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(splitScale[i], s[i], 1e-9) << i;
        EXPECT_NEAR(splitShear[i], sh[i], 1e-9) << i;
    }
    EXPECT_TRUE(split.eulerRotation().isEquivalent(MEulerRotation(0.4, 0.1, -0.7), 1e-9));
    // A mirror still rebuilds, with a negative z scale.
    MMatrix mirror = composed;
    for (unsigned int c = 0; c < 3; ++c)
        mirror(0, c) = -mirror(0, c);
    MTransformationMatrix mirrored(mirror);
    EXPECT_TRUE(mirrored.asMatrix().isEquivalent(mirror, 1e-9));
    mirrored.getScale(splitScale, MSpace::kTransform);
    EXPECT_LT(splitScale[2], 0.0);

    // Setters reach the node; a world-space translation goes through the parents.
    ASSERT_TRUE(scene.createNode("transform", "child", "t"));
    MFnTransform child(path("child"));
    ASSERT_TRUE(child.setTranslation(MVector(1, 0, 0), MSpace::kTransform));
    MPoint expected = MPoint(1, 0, 0) * nodeMatrix;
    EXPECT_POINT_NEAR(child.getTranslation(MSpace::kWorld), expected.x, expected.y, expected.z);
    ASSERT_TRUE(child.setRotation(MEulerRotation(0, 0, 0.5, MEulerRotation::kZXY)));
    double order = -1;
    ASSERT_TRUE(scene.getAttr("child.rotateOrder", order));
    EXPECT_EQ(order, 2.0);
    MQuaternion q;
    ASSERT_TRUE(child.getRotation(q));
    EXPECT_NEAR(q.z, std::sin(0.25), 1e-12);
    EXPECT_EQ(MFnTransform(node("child")).setObject(cubeData()), MS::kInvalidParameter);
}

} // namespace

// Feather placement: the jittered grid, roots on a NURBS surface and on mesh faces (grid and
// UV info file, shared edges, gaps, missing u/v, components), and display thinning.

#include "nodes/system/featherPlacement.h"

#include "feather/featherGenerator.h"
#include "feather/systemParams.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MDagPath.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MIntArray.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPointArray.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

const float nan = std::numeric_limits<float>::quiet_NaN();

gridSettings unjittered(int uSegment, int vSegment) {
    gridSettings grid;
    grid.uSegment = uSegment;
    grid.vSegment = vSegment;
    grid.jitterDistance = 0.0;
    return grid;
}

std::vector<std::pair<float, float>> pairs(const MFloatArray& u, const MFloatArray& v) {
    std::vector<std::pair<float, float>> result;
    for (unsigned int k = 0; k < u.length() && k < v.length(); ++k)
        result.push_back({u[k], v[k]});
    return result;
}

std::vector<std::pair<float, float>> pairs(const featherRoots& roots) {
    return pairs(roots.rootU, roots.rootV);
}

TEST(FeatherPlacementGrid, DefaultsJitterAroundTheCellCentres) {
    MFloatArray u, v;
    placementGrid(gridSettings(), 0.0, 1.0, 0.0, 1.0, u, v);
    ASSERT_EQ(u.length(), 100u);
    ASSERT_EQ(v.length(), 100u);
    // Half a cell times the jitter distance, times the noise's reach (a little over 1).
    const float reach = 0.05f * 0.1f * 1.5f;
    int moved = 0;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const unsigned int k = static_cast<unsigned int>(i * 10 + j); // u-major
            EXPECT_NEAR(u[k], 0.05f + 0.1f * i, reach) << "cell " << i << ", " << j;
            EXPECT_NEAR(v[k], 0.05f + 0.1f * j, reach) << "cell " << i << ", " << j;
            if (std::fabs(u[k] - (0.05f + 0.1f * i)) > 1e-5f)
                ++moved;
        }
    EXPECT_GT(moved, 50);
    // Pinned: the grid must not drift (noise, seeds, order of the two jitters).
    EXPECT_FLOAT_EQ(u[0], 0.049971733f);
    EXPECT_FLOAT_EQ(v[0], 0.047571205f);
    EXPECT_FLOAT_EQ(u[57], 0.54979056f);
    EXPECT_FLOAT_EQ(v[57], 0.74791944f);

    // Same settings, same grid; another seed moves the roots.
    MFloatArray u2, v2;
    placementGrid(gridSettings(), 0.0, 1.0, 0.0, 1.0, u2, v2);
    EXPECT_EQ(pairs(u, v), pairs(u2, v2));
    gridSettings reseeded;
    reseeded.randomSeed = 6;
    placementGrid(reseeded, 0.0, 1.0, 0.0, 1.0, u2, v2);
    EXPECT_NE(pairs(u, v), pairs(u2, v2));
}

TEST(FeatherPlacementGrid, NoJitterGivesCentresShiftedByTheStagger) {
    gridSettings grid = unjittered(4, 3);
    MFloatArray u, v;
    placementGrid(grid, 2.0, 4.0, -1.0, 0.5, u, v);
    ASSERT_EQ(u.length(), 12u);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) {
            const unsigned int k = static_cast<unsigned int>(i * 3 + j);
            EXPECT_FLOAT_EQ(u[k], 2.25f + 0.5f * i);
            EXPECT_FLOAT_EQ(v[k], -0.75f + 0.5f * j);
        }

    // Rows (by v index) alternate in u, columns (by u index) in v.
    grid.uvOffset[0] = 0.1;
    grid.uvOffset[1] = 0.0;
    MFloatArray su, sv;
    placementGrid(grid, 2.0, 4.0, -1.0, 0.5, su, sv);
    for (unsigned int k = 0; k < 12; ++k) {
        const int j = static_cast<int>(k % 3);
        EXPECT_FLOAT_EQ(su[k], u[k] + (j % 2 == 0 ? -0.1f : 0.1f)) << k;
        EXPECT_EQ(sv[k], v[k]) << k;
    }
    grid.uvOffset[0] = 0.0;
    grid.uvOffset[1] = -0.2;
    placementGrid(grid, 2.0, 4.0, -1.0, 0.5, su, sv);
    for (unsigned int k = 0; k < 12; ++k) {
        const int i = static_cast<int>(k / 3);
        EXPECT_EQ(su[k], u[k]) << k;
        EXPECT_FLOAT_EQ(sv[k], v[k] + (i % 2 == 0 ? 0.2f : -0.2f)) << k;
    }
}

TEST(FeatherPlacementGrid, UnusableCountsAndRangesGiveNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    struct unusable {
        int uSegment, vSegment;
        double uMin, uMax, vMin, vMax;
    };
    for (const unusable& c : std::vector<unusable>{
             {0, 10, 0, 1, 0, 1},
             {10, 0, 0, 1, 0, 1},
             {-3, 10, 0, 1, 0, 1},
             {10, -1, 0, 1, 0, 1},
             {10, 10, 0.5, 0.5, 0, 1}, // coincident u
             {10, 10, 0, 1, 0.3, 0.3}, // coincident v
             {10, 10, 1, 0, 0, 1},     // reversed
             {2000000, 1, 0, 1, 0, 1}, // cells narrower than 1e-6
             {10, 10, 0, inf, 0, 1},
             {10, 10, 0, 1, std::nan(""), 1},
             {100000, 100000, 0, 1e6, 0, 1e6}, // far too many cells to hold
         }) {
        gridSettings grid;
        grid.uSegment = c.uSegment;
        grid.vSegment = c.vSegment;
        MFloatArray u, v;
        u.append(1.0f); // stale content is cleared
        v.append(1.0f);
        // Counts that cannot be met on a usable range are refused, so that they are reported.
        const bool countsRefused = c.uSegment == 2000000 || c.uSegment == 100000;
        EXPECT_EQ(placementGrid(grid, c.uMin, c.uMax, c.vMin, c.vMax, u, v), !countsRefused);
        EXPECT_EQ(u.length(), 0u) << c.uSegment << " x " << c.vSegment << " over " << c.uMin << ".."
                                  << c.uMax << ", " << c.vMin << ".." << c.vMax;
        EXPECT_EQ(v.length(), 0u);
    }
}

// Placement over scene geometry; each test starts from an empty scene.
class FeatherPlacementTest : public ::testing::Test {
  protected:
    void SetUp() override { scene.fileNew(); }
    void TearDown() override {
        std::remove(path.c_str());
        scene.fileNew();
    }

    // A flat patch over parameters [0, 1]^2: P(u, v) = (2u, 0, v), its transform moved to y 5.
    MDagPath createSurface() {
        MPointArray cvs; // index u * 2 + v
        cvs.append(MPoint(0, 0, 0));
        cvs.append(MPoint(0, 0, 1));
        cvs.append(MPoint(2, 0, 0));
        cvs.append(MPoint(2, 0, 1));
        MDoubleArray knots;
        knots.append(0.0);
        knots.append(1.0);
        MFnNurbsSurface fn;
        MStatus status;
        MObject transform = fn.create(cvs, knots, knots, 1, 1, MFnNurbsSurface::kOpen,
                                      MFnNurbsSurface::kOpen, false, MObject::kNullObj, &status);
        EXPECT_TRUE(status);
        moveUp(transform);
        return shapeUnder(transform);
    }

    static MDagPath shapeUnder(const MObject& transform) {
        MDagPath path;
        EXPECT_TRUE(MDagPath::getAPathTo(transform, path));
        EXPECT_TRUE(path.extendToShape());
        return path;
    }

    // One face of a test mesh: its points and, per point, its u/v (none: no u/v in the set).
    struct testFace {
        std::vector<MFloatPoint> points;
        std::vector<std::pair<float, float>> uv;
    };
    // A face in the plane y = height whose point at u/v is (u, height, v).
    static testFace flatFace(const std::vector<std::pair<float, float>>& uv, float height = 0) {
        testFace face;
        for (const auto& p : uv)
            face.points.push_back(MFloatPoint(p.first, height, p.second));
        face.uv = uv;
        return face;
    }
    static std::vector<std::pair<float, float>> box(float u0, float u1, float v0, float v1) {
        return {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    }

    // A mesh of these faces (no shared vertices), u/v in `uvSet`, its transform moved to y 5.
    MDagPath createMesh(const std::vector<testFace>& faces, MString uvSet = "map1") {
        MFloatPointArray points;
        MIntArray counts, connects, uvCounts, uvIds;
        MFloatArray u, v;
        for (const testFace& face : faces) {
            counts.append(static_cast<int>(face.points.size()));
            uvCounts.append(static_cast<int>(face.uv.size()));
            for (size_t k = 0; k < face.points.size(); ++k) {
                connects.append(static_cast<int>(points.length()));
                points.append(face.points[k]);
            }
            for (const auto& p : face.uv) {
                uvIds.append(static_cast<int>(u.length()));
                u.append(p.first);
                v.append(p.second);
            }
        }
        MFnMesh fn;
        MStatus status;
        MObject transform =
            fn.create(static_cast<int>(points.length()), static_cast<int>(counts.length()), points,
                      counts, connects, MObject::kNullObj, &status);
        EXPECT_TRUE(status) << "test mesh refused";
        if (uvSet != "map1") {
            EXPECT_TRUE(fn.createUVSet(uvSet));
        }
        EXPECT_TRUE(fn.setUVs(u, v, &uvSet));
        EXPECT_TRUE(fn.assignUVs(uvCounts, uvIds, &uvSet));
        moveUp(transform);
        return shapeUnder(transform);
    }

    void moveUp(const MObject& transform) {
        const std::string name = MFnDependencyNode(transform).name().asChar();
        EXPECT_TRUE(scene.setAttr(name + ".ty", 5.0)) << scene.lastError();
    }

    MStatus placeMesh(const MDagPath& mesh, featherRoots& roots) {
        MItMeshPolygon faces(mesh);
        return placeOnMesh(faces, grid, params, roots);
    }

    // Writes a UV info file and points the parameters at it.
    void writeRootsFile(const std::vector<std::pair<double, double>>& uv,
                        const std::vector<int>& faceIds) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        auto int32 = [&](std::int32_t value) { out.write(reinterpret_cast<char*>(&value), 4); };
        int32(static_cast<std::int32_t>(uv.size()));
        int32(faceIds.empty() ? 0 : 1);
        for (int id : faceIds)
            int32(id);
        for (const auto& p : uv) {
            out.write(reinterpret_cast<const char*>(&p.first), 8);
            out.write(reinterpret_cast<const char*>(&p.second), 8);
        }
        params.useUVIFile = true;
        params.uviFile = path.c_str();
    }

    host::Scene& scene = host::Scene::current();
    gridSettings grid;
    systemParams params = [] {
        systemParams p;
        p.uvSetName = "map1";
        return p;
    }();
    featherRoots roots;
    // One file per test: ctest runs the tests of this suite side by side.
    std::string path = ::testing::TempDir() + "featherPlacementTest_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".uvi";
};

void expectPoint(const MFloatPoint& p, float x, float y, float z, const std::string& what) {
    EXPECT_NEAR(p.x, x, 1e-5f) << what;
    EXPECT_NEAR(p.y, y, 1e-5f) << what;
    EXPECT_NEAR(p.z, z, 1e-5f) << what;
    EXPECT_EQ(p.w, 1.0f) << what;
}

TEST_F(FeatherPlacementTest, SurfaceRootsFollowTheGridInWorldSpace) {
    const MDagPath surface = createSurface();
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    ASSERT_EQ(roots.length(), 100u);
    MFloatArray u, v;
    placementGrid(grid, 0, 1, 0, 1, u, v);
    EXPECT_EQ(pairs(roots), pairs(u, v));
    for (unsigned int k = 0; k < roots.length(); ++k)
        expectPoint(roots.rootPositions[k], 2 * roots.rootU[k], 5, roots.rootV[k],
                    "root " + std::to_string(k));

    // Staggered off the surface: parameters outside [0, 1] are skipped, the order kept.
    grid = unjittered(10, 10);
    grid.uvOffset[0] = 0.1;
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    EXPECT_EQ(roots.length(), 90u);
    EXPECT_FLOAT_EQ(roots.rootU[0], 0.15f); // cell (0, 1), moved right
    EXPECT_FLOAT_EQ(roots.rootV[0], 0.15f);
    EXPECT_FLOAT_EQ(roots.rootU[1], 0.15f); // cell (0, 3)
    EXPECT_FLOAT_EQ(roots.rootV[1], 0.35f);

    // The shift applies to the grid.
    grid = unjittered(4, 1);
    params.uvTranslate[0] = 0.25f;
    params.uvTranslate[1] = -0.25f;
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    EXPECT_EQ(pairs(roots), (std::vector<std::pair<float, float>>{
                                {0.375f, 0.25f}, {0.625f, 0.25f}, {0.875f, 0.25f}}));

    grid.uSegment = 0;
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    EXPECT_EQ(roots.length(), 0u);
}

TEST_F(FeatherPlacementTest, SurfaceRefusesOtherShapesAndUnusableFiles) {
    const MDagPath mesh = createMesh({flatFace(box(0, 1, 0, 1))});
    roots.append(MFloatPoint(), 0, 0);
    EXPECT_FALSE(placeOnSurface(mesh, grid, params, roots));
    EXPECT_EQ(roots.length(), 0u);

    const MDagPath surface = createSurface();
    params.useUVIFile = true;
    params.uviFile = "";
    {
        host::MessageCapture capture;
        EXPECT_FALSE(placeOnSurface(surface, grid, params, roots));
        EXPECT_EQ(capture.count(host::MessageKind::kError), 0u);
    }
    params.uviFile = (path + ".missing").c_str();
    {
        host::MessageCapture capture;
        EXPECT_FALSE(placeOnSurface(surface, grid, params, roots));
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "Can't open file " + path));
    }
    EXPECT_EQ(roots.length(), 0u);
}

TEST_F(FeatherPlacementTest, SurfaceTakesFileRootsAsTheyStand) {
    const MDagPath surface = createSurface();
    params.uvTranslate[0] = 0.5f; // not applied to file roots
    const std::vector<std::pair<double, double>> uv = {{0.25, 0.5}, {1.5, 0.5}, {0.75, 0.125}};
    writeRootsFile(uv, {});
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    const std::vector<std::pair<float, float>> expected = {{0.25f, 0.5f}, {0.75f, 0.125f}};
    EXPECT_EQ(pairs(roots), expected);
    expectPoint(roots.rootPositions[1], 1.5f, 5, 0.125f, "second file root");

    // Face ids make no difference on a surface, even ids no surface has.
    writeRootsFile(uv, {7, -1, 123456});
    ASSERT_TRUE(placeOnSurface(surface, grid, params, roots));
    EXPECT_EQ(pairs(roots), expected);
}

TEST_F(FeatherPlacementTest, MeshGridSpansTheFacesUvRange) {
    // Two shells in space that meet along u = 0.5 in u/v; the second is lifted to y = 1.
    const MDagPath mesh =
        createMesh({flatFace(box(0, 0.5f, 0, 2)), flatFace(box(0.5f, 1, 0, 2), 1)});
    grid = unjittered(4, 2);
    ASSERT_TRUE(placeMesh(mesh, roots));
    ASSERT_EQ(roots.length(), 8u);
    const float us[4] = {0.125f, 0.375f, 0.625f, 0.875f}, vs[2] = {0.5f, 1.5f};
    for (unsigned int k = 0; k < 8; ++k) {
        const float u = us[k / 2], v = vs[k % 2];
        EXPECT_EQ(roots.rootU[k], u);
        EXPECT_EQ(roots.rootV[k], v);
        expectPoint(roots.rootPositions[k], u, u < 0.5f ? 5 : 6, v, "root " + std::to_string(k));
    }

    // Shifted past the range: the last column falls off the mesh.
    params.uvTranslate[0] = 0.25f;
    ASSERT_TRUE(placeMesh(mesh, roots));
    ASSERT_EQ(roots.length(), 6u);
    EXPECT_EQ(roots.rootU[5], 0.875f);

    // A grid u/v on the shared edge goes to the face visited first.
    params.uvTranslate[0] = 0.125f;
    ASSERT_TRUE(placeMesh(mesh, roots));
    ASSERT_EQ(roots.length(), 8u);
    expectPoint(roots.rootPositions[2], 0.5f, 5, 0.5f, "on the shared edge");
}

TEST_F(FeatherPlacementTest, MeshSharedEdgesGapsAndManyVertexFaces) {
    // The shared edge at u = 0.5 and the vertex at (0.5, 0): the first face in iteration order
    // takes them, whichever face that is.
    writeRootsFile({{0.5, 0.5}, {0.5, 0.0}, {0.25, 0.25}}, {});
    for (bool lowerFirst : {true, false}) {
        scene.fileNew();
        const testFace lower = flatFace(box(0, 0.5f, 0, 1)),
                       upper = flatFace(box(0.5f, 1, 0, 1), 1);
        const MDagPath mesh = createMesh(lowerFirst ? std::vector<testFace>{lower, upper}
                                                    : std::vector<testFace>{upper, lower});
        ASSERT_TRUE(placeMesh(mesh, roots));
        ASSERT_EQ(roots.length(), 3u);
        const float height = lowerFirst ? 5 : 6;
        expectPoint(roots.rootPositions[0], 0.5f, height, 0.5f, "edge");
        expectPoint(roots.rootPositions[1], 0.5f, height, 0.0f, "vertex");
        expectPoint(roots.rootPositions[2], 0.25f, 5, 0.25f, "inside the lower face");
    }

    // A gap between shells: the middle column of the grid finds no face.
    scene.fileNew();
    params.useUVIFile = false;
    grid = unjittered(5, 1);
    const MDagPath gapped =
        createMesh({flatFace(box(0, 0.4f, 0, 1)), flatFace(box(0.6f, 1, 0, 1))});
    ASSERT_TRUE(placeMesh(gapped, roots));
    EXPECT_EQ(pairs(roots), (std::vector<std::pair<float, float>>{
                                {0.1f, 0.5f}, {0.3f, 0.5f}, {0.7f, 0.5f}, {0.9f, 0.5f}}));

    // One face of 40 u/v vertices on a circle.
    scene.fileNew();
    std::vector<std::pair<float, float>> circle;
    for (int k = 0; k < 40; ++k)
        circle.push_back(
            {0.5f + 0.5f * std::cos(k * 0.15707963f), 0.5f + 0.5f * std::sin(k * 0.15707963f)});
    const MDagPath round = createMesh({flatFace(circle)});
    grid = unjittered(3, 3);
    ASSERT_TRUE(placeMesh(round, roots));
    ASSERT_EQ(roots.length(), 9u);
    expectPoint(roots.rootPositions[4], 0.5f, 5, 0.5f, "the centre");
}

TEST_F(FeatherPlacementTest, MeshWithoutUsableUvs) {
    // No u/v at all: the last face's read fails, and so does the placement.
    const MDagPath bare = createMesh(
        {testFace{{MFloatPoint(0, 0, 0), MFloatPoint(1, 0, 0), MFloatPoint(1, 0, 1)}, {}}});
    EXPECT_FALSE(placeMesh(bare, roots));
    EXPECT_EQ(roots.length(), 0u);

    // Only the first of two faces has u/v: the last face decides, so this fails too ...
    scene.fileNew();
    testFace unmapped = flatFace(box(2, 3, 0, 1));
    unmapped.uv.clear();
    const MDagPath firstMapped = createMesh({flatFace(box(0, 1, 0, 1)), unmapped});
    EXPECT_FALSE(placeMesh(firstMapped, roots));

    // ... while a mapped last face makes the grid span the mapped faces only.
    scene.fileNew();
    grid = unjittered(2, 1);
    const MDagPath lastMapped = createMesh({unmapped, flatFace(box(0, 1, 0, 1))});
    ASSERT_TRUE(placeMesh(lastMapped, roots));
    EXPECT_EQ(pairs(roots), (std::vector<std::pair<float, float>>{{0.25f, 0.5f}, {0.75f, 0.5f}}));

    // A set the mesh does not have.
    params.uvSetName = "noSuchSet";
    EXPECT_FALSE(placeMesh(lastMapped, roots));

    // u/v that all coincide: no range, no roots, no failure.
    scene.fileNew();
    params.uvSetName = "map1";
    testFace collapsed = flatFace(box(0, 1, 0, 1));
    collapsed.uv.assign(4, {0.5f, 0.5f});
    ASSERT_TRUE(placeMesh(createMesh({collapsed}), roots));
    EXPECT_EQ(roots.length(), 0u);
}

TEST_F(FeatherPlacementTest, MeshUsesTheNamedUvSetAndTheComponentsFaces) {
    grid = unjittered(2, 1);
    params.uvSetName = "feathers";
    const MDagPath mesh = createMesh(
        {flatFace(box(0, 1, 0, 1)), flatFace(box(1, 2, 0, 1), 1), flatFace(box(2, 3, 0, 1), 2)},
        "feathers");
    ASSERT_TRUE(placeMesh(mesh, roots));
    EXPECT_EQ(roots.length(), 2u); // u 0.75 and 2.25 over [0, 3]

    // Only face 1: the range is that face's.
    MFnSingleIndexedComponent componentFn;
    MObject component = componentFn.create(MFn::kMeshPolygonComponent);
    componentFn.addElement(1);
    MItMeshPolygon faces(mesh, component);
    ASSERT_TRUE(placeOnMesh(faces, grid, params, roots));
    ASSERT_EQ(roots.length(), 2u);
    expectPoint(roots.rootPositions[0], 1.25f, 6, 0.5f, "on face 1");
    expectPoint(roots.rootPositions[1], 1.75f, 6, 0.5f, "on face 1");
}

TEST_F(FeatherPlacementTest, MeshFileRoots) {
    const MDagPath mesh =
        createMesh({flatFace(box(0, 0.5f, 0, 1)), flatFace(box(0.5f, 1, 0, 1), 1)});
    params.uvTranslate[0] = 0.5f; // not applied to file roots

    // Face ids choose the face, even for a u/v the other face would take first; ids the mesh
    // lacks, and u/v the named face does not hold, are skipped.
    writeRootsFile({{0.5, 0.5}, {0.25, 0.5}, {0.75, 0.5}, {0.75, 0.5}, {0.25, 0.25}},
                   {1, 7, -1, 1, 1});
    ASSERT_TRUE(placeMesh(mesh, roots));
    ASSERT_EQ(roots.length(), 2u);
    expectPoint(roots.rootPositions[0], 0.5f, 6, 0.5f, "face 1 by id");
    expectPoint(roots.rootPositions[1], 0.75f, 6, 0.5f, "face 1 by id");
    // Ids index the whole mesh, also when the system grows on a face set without that face.
    MFnSingleIndexedComponent componentFn;
    MObject faceSet = componentFn.create(MFn::kMeshPolygonComponent);
    componentFn.addElement(0);
    MItMeshPolygon setFaces(mesh, faceSet);
    ASSERT_TRUE(placeOnMesh(setFaces, grid, params, roots));
    ASSERT_EQ(roots.length(), 2u);
    expectPoint(roots.rootPositions[0], 0.5f, 6, 0.5f, "face 1 outside the set");

    // Damaged coordinates are outside every face.
    const double inf = std::numeric_limits<double>::infinity();
    writeRootsFile({{std::nan(""), 0.5}, {0.25, inf}, {1e300, 0.5}, {0.25, 0.5}}, {});
    ASSERT_TRUE(placeMesh(mesh, roots));
    EXPECT_EQ(pairs(roots), (std::vector<std::pair<float, float>>{{0.25f, 0.5f}}));
    writeRootsFile({{std::nan(""), 0.5}, {0.25, inf}}, {0, 0});
    ASSERT_TRUE(placeMesh(mesh, roots));
    EXPECT_EQ(roots.length(), 0u);

    // An empty file: no roots, no failure; an unnamed file fails.
    writeRootsFile({}, {});
    ASSERT_TRUE(placeMesh(mesh, roots));
    EXPECT_EQ(roots.length(), 0u);
    params.uviFile = "";
    EXPECT_FALSE(placeMesh(mesh, roots));
}

featherRoots numberedRoots(unsigned int count) {
    featherRoots roots;
    for (unsigned int k = 0; k < count; ++k)
        roots.append(MFloatPoint(static_cast<float>(k), 0, 0), static_cast<float>(k), 0.5f);
    return roots;
}

TEST(FeatherPlacementThinning, FullQualityKeepsEverythingAndDrawsNothing) {
    featherGenerator generator, reference;
    for (float q : {1.0f, 1.5f}) {
        generator.seed(77);
        reference.seed(77);
        featherRoots roots = numberedRoots(50);
        thinForDisplay(roots, q, 5, generator);
        EXPECT_EQ(roots.length(), 50u);
        EXPECT_EQ(generator.nextRandom(), reference.nextRandom()) << "the engine moved";
    }
}

TEST(FeatherPlacementThinning, KeepsAShareInOrderFromSeededDraws) {
    featherGenerator generator, reference;
    featherRoots half = numberedRoots(1000);
    thinForDisplay(half, 0.5f, 5, generator);
    EXPECT_GT(half.length(), 400u);
    EXPECT_LT(half.length(), 600u);

    // Root k stays exactly when 0.5 > the k-th draw after seeding with seed + 3584, and all
    // 1000 draws are made.
    reference.seed(5 + 3584);
    std::vector<float> kept;
    for (unsigned int k = 0; k < 1000; ++k)
        if (0.5f > reference.randomFloat())
            kept.push_back(static_cast<float>(k));
    ASSERT_EQ(half.length(), kept.size());
    for (unsigned int k = 0; k < half.length(); ++k) {
        EXPECT_EQ(half.rootU[k], kept[k]);
        EXPECT_EQ(half.rootPositions[k].x, kept[k]);
        EXPECT_EQ(half.rootV[k], 0.5f);
    }
    EXPECT_EQ(generator.nextRandom(), reference.nextRandom());

    // The same seed keeps the same half; another seed another.
    featherRoots again = numberedRoots(1000), reseeded = numberedRoots(1000);
    thinForDisplay(again, 0.5f, 5, generator);
    thinForDisplay(reseeded, 0.5f, 6, generator);
    EXPECT_EQ(pairs(again), pairs(half));
    EXPECT_NE(pairs(reseeded), pairs(half));

    featherRoots none = numberedRoots(100);
    thinForDisplay(none, 0.0f, 5, generator);
    EXPECT_EQ(none.length(), 0u);
    featherRoots empty;
    thinForDisplay(empty, 0.5f, 5, generator);
    EXPECT_EQ(empty.length(), 0u);
}

} // namespace

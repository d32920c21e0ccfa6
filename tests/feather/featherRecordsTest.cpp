// Description, geometry and mesh records, and the texture sampler.

#include "featherFixtures.h"

#include "feather/featherGeometry.h"
#include "feather/featherInfo.h"
#include "feather/featherMeshData.h"

#include <host/scene.h>

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>

#include <gtest/gtest.h>

#include <string>

namespace {

featherMeshData quadMesh(int points, int quads) {
    featherMeshData mesh;
    for (int i = 0; i < points; ++i) {
        mesh.points.append(MFloatPoint(static_cast<float>(i), 0.0f, 0.0f));
        mesh.uArray.append(0.1f * i);
        mesh.vArray.append(0.2f * i);
    }
    for (int q = 0; q < quads; ++q) {
        mesh.polygonCounts.append(4);
        for (int k = 0; k < 4; ++k) {
            mesh.polygonConnects.append((q + k) % points);
            mesh.uvIds.append((q + k + 1) % points);
        }
    }
    return mesh;
}

turtleState frameAt(float x) {
    turtleState t;
    t.position = MFloatPoint(x, 0.0f, 0.0f);
    t.heading = MFloatVector(1.0f, 0.0f, 0.0f);
    t.up = MFloatVector(0.0f, 1.0f, 0.0f);
    return t;
}

} // namespace

TEST(FeatherMeshData, AppendOffsetsConnectsAndUvIdsByTheExistingCounts) {
    featherMeshData a = quadMesh(10, 3);
    const featherMeshData b = quadMesh(4, 1);
    a.append(b);
    EXPECT_EQ(a.points.length(), 14u);
    EXPECT_EQ(a.polygonCounts.length(), 4u);
    EXPECT_EQ(a.uArray.length(), 14u);
    EXPECT_EQ(a.vArray.length(), 14u);
    ASSERT_EQ(a.polygonConnects.length(), 16u);
    for (unsigned int k = 0; k < 4; ++k) {
        EXPECT_EQ(a.polygonConnects[12 + k], b.polygonConnects[k] + 10) << k;
        EXPECT_EQ(a.uvIds[12 + k], b.uvIds[k] + 10) << k;
    }
    EXPECT_EQ(a.points[13].x, 3.0f);

    a.clear();
    EXPECT_EQ(a.points.length() + a.polygonCounts.length() + a.polygonConnects.length() +
                  a.uArray.length() + a.vArray.length() + a.uvIds.length(),
              0u);
}

TEST(FeatherMeshData, StripOfPPointsHas2PVerticesAndPMinus1Quads) {
    const int p = 6;
    featherMeshData strip;
    for (int j = 0; j < p; ++j) {
        appendStripPair(strip, frameAt(static_cast<float>(j)), j / 5.0f, 0.5f);
    }
    appendStripFaces(strip);
    ASSERT_EQ(strip.points.length(), 2u * p);
    EXPECT_EQ(strip.polygonCounts.length(), static_cast<unsigned int>(p - 1));
    // side = up ^ heading = (0, 1, 0) ^ (1, 0, 0) = (0, 0, -1): the u = 0 point lies at -z.
    EXPECT_EQ(strip.points[0].z, -0.25f);
    EXPECT_EQ(strip.points[1].z, 0.25f);
    EXPECT_EQ(strip.uArray[0], 0.0f);
    EXPECT_EQ(strip.uArray[1], 1.0f);
    EXPECT_EQ(strip.vArray[3], 0.2f);
    const int firstQuad[] = {0, 1, 3, 2};
    const int lastQuad[] = {8, 9, 11, 10};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(strip.polygonConnects[k], firstQuad[k]);
        EXPECT_EQ(strip.uvIds[k], firstQuad[k]);
        EXPECT_EQ(strip.polygonConnects[16 + k], lastQuad[k]);
    }
}

TEST(FeatherMeshData, CombinedSheetOfKBarbulesHasKMinus1TimesPMinus1Quads) {
    const unsigned int k = 5;
    const unsigned int p = 4;
    MFloatArray kept(k, 1.0f);
    featherMeshData sheet;
    appendCombinedFaces(sheet, k, p, kept, 0.5f);
    EXPECT_EQ(sheet.polygonCounts.length(), (k - 1) * (p - 1));
    // Barbule 1 to barbule 2, first segment.
    const int expected[] = {4, 5, 9, 8};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sheet.polygonConnects[12 + i], expected[i]);
    }

    // A barbule below the threshold starts no faces; one point per barbule makes none at all.
    kept[1] = 0.25f;
    featherMeshData thinned;
    appendCombinedFaces(thinned, k, p, kept, 0.5f);
    EXPECT_EQ(thinned.polygonCounts.length(), (k - 2) * (p - 1));
    featherMeshData points;
    appendCombinedFaces(points, k, 1, kept, 0.0f);
    EXPECT_EQ(points.polygonCounts.length(), 0u);
}

TEST(FeatherGeometry, ClearedGeometryIsWhiteAndEmptyAndCopiesAreDeep) {
    featherGeometry g;
    EXPECT_EQ(g.mainColor, MColor(1.0f, 1.0f, 1.0f, 1.0f));
    g.rachisPoints.append(MFloatPoint(1.0f, 2.0f, 3.0f));
    g.leftBarbules.push_back(MFloatPointArray(3));
    g.rightPositions.append(1.5f);
    g.barbuleMesh = quadMesh(4, 1);
    g.proxyBox.expand(MPoint(1.0, 1.0, 1.0));
    g.meshBox.expand(MPoint(2.0, 1.0, 1.0));
    g.mainColor = MColor(0.1f, 0.2f, 0.3f, 1.0f);
    g.name = "feather";
    g.seed = 7;
    g.rachisLength = 3.0f;
    g.u = 0.5f;

    featherGeometry copy(g);
    featherGeometry assigned;
    assigned = g;
    g.clear();
    for (const featherGeometry* c : {&copy, &assigned}) {
        EXPECT_EQ(c->rachisPoints.length(), 1u);
        EXPECT_EQ(c->leftBarbules.size(), 1u);
        EXPECT_EQ(c->barbuleMesh.polygonCounts.length(), 1u);
        EXPECT_EQ(c->seed, 7);
        EXPECT_EQ(c->name, MString("feather"));
        EXPECT_EQ(c->proxyBox.max().x, 1.0);
    }

    EXPECT_EQ(g.mainColor, MColor(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(g.rachisPoints.length(), 0u);
    EXPECT_TRUE(g.leftBarbules.empty());
    EXPECT_EQ(g.rightPositions.length(), 0u);
    EXPECT_EQ(g.barbuleMesh.points.length(), 0u);
    EXPECT_EQ(g.barbuleMesh.polygonConnects.length(), 0u);
    EXPECT_EQ(g.seed, 0);
    EXPECT_EQ(g.rachisLength, 0.0f);
    EXPECT_EQ(g.u, 0.0f);
    EXPECT_EQ(g.name, MString(""));
    // Empty boxes take the next point as they are.
    g.proxyBox.expand(MPoint(5.0, 5.0, 5.0));
    g.meshBox.expand(MPoint(5.0, 5.0, 5.0));
    EXPECT_EQ(g.proxyBox.min().x, 5.0);
    EXPECT_EQ(g.meshBox.min().x, 5.0);
}

TEST(FeatherInfo, ResetEmptiesTheListsAndRestoresTheResetValues) {
    featherInfo info;
    info.turtleIds = {3, 4};
    info.keyBarbuleSet.stepAngle = 12.0f;
    info.keyBarbuleSet.startAngles = {1.0f, 2.0f, 3.0f, 4.0f};
    info.rachisPointCount = 77;
    info.proxyBoundingBoxScale[1] = 9.0f;
    info.rootColor = MColor(0.0f, 0.0f, 0.0f);
    info.outputFeatherMesh = true;
    info.reset();
    EXPECT_TRUE(info.turtleIds.empty());
    EXPECT_EQ(info.keyBarbuleSet.stepAngle, 0.0f);
    EXPECT_EQ(info.keyBarbuleSet.keyCount(), 0u);
    EXPECT_EQ(info.rachisPointCount, 10);
    // The reset margins are (1, 1, 1), unlike the node attribute's default (0, 0, 0.1).
    EXPECT_EQ(info.proxyBoundingBoxScale[1], 1.0f);
    EXPECT_EQ(info.rootColor, MColor(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_FALSE(info.outputFeatherMesh);
}

TEST(FeatherInfo, KeyCountIsTheShortestListCappedAtFour) {
    keyBarbuleSettings keys;
    keys.startAngles = {1, 2, 3, 4, 5};
    keys.keyPositions = {0, 0.5f, 1, 1, 1};
    keys.rotateRamps.resize(3);
    EXPECT_EQ(keys.keyCount(), 3u);
    keys.rotateRamps.resize(6);
    EXPECT_EQ(keys.keyCount(), 4u);
}

TEST(SampleTexture, PlainColourPlugGivesItsValueAtEverySample) {
    host::Scene& scene = host::Scene::current();
    std::string camera;
    ASSERT_TRUE(scene.createNode("camera", "", "", &camera));
    MDagPath cameraPath;
    ASSERT_EQ(MDagPath::getAPathTo(scene.findNode(camera), cameraPath), MS::kSuccess);
    M3dView view = M3dView::active3dView();
    ASSERT_EQ(view.setCamera(cameraPath), MS::kSuccess);
    const MObject node = fixtures::createRampNode();
    const std::string name = MFnDependencyNode(node).name().asChar();
    ASSERT_TRUE(scene.setAttr(name + ".tint", std::vector<double>{0.25, 0.5, 0.75}));
    MFloatArray u(3, 0.5f);
    MFloatArray v(3, 0.25f);
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;
    testing::internal::CaptureStderr();
    const MStatus status =
        sampleTexture(MString((name + ".tint").c_str()), u, v, colors, transparencies);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, MS::kSuccess);
    EXPECT_EQ(report, "") << "nothing failed, so nothing is reported";
    scene.deleteNode(camera);
    ASSERT_EQ(colors.length(), 3u);
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(colors[i], MFloatVector(0.25f, 0.5f, 0.75f)) << i;
    }
}

TEST(SampleTexture, FailureIsReportedAsAnApiErrorOfTheModuleAndReturned) {
    const MObject node = fixtures::createRampNode();
    const std::string name = MFnDependencyNode(node).name().asChar();
    MFloatArray u(2, 0.5f);
    MFloatArray v(2, 0.5f);
    MFloatVectorArray colors;
    MFloatVectorArray transparencies;

    testing::internal::CaptureStderr();
    const MStatus missing =
        sampleTexture(MString((name + ".noSuchPlug").c_str()), u, v, colors, transparencies);
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(missing, MS::kSuccess);
    EXPECT_NE(report.find("\nAPI error detected in featherInfo at line "), std::string::npos)
        << report;

    // Unequal sample lists are refused before sampling.
    MFloatArray shortV(1, 0.5f);
    testing::internal::CaptureStderr();
    const MStatus unequal =
        sampleTexture(MString((name + ".tint").c_str()), u, shortV, colors, transparencies);
    report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(unequal, MS::kInvalidParameter);
    EXPECT_NE(report.find("API error detected in featherInfo"), std::string::npos);
}

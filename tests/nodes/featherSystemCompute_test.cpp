// The feather system as a node in a scene: borrowing a feather node's description, growing on
// a NURBS surface or a mesh (whole or some faces) named by a growth set, passing its input mesh
// on, drawing its feathers and reporting their bounds.

#include "componentMeshes.h"
#include "featherNodeFixture.h"
#include "locatorFeedback.h"

#include "feather/featherInfo.h"
#include "nodes/system/quilloSystem.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnSet.h>
#include <maya/MSelectionList.h>
#include <maya/MPlug.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class FeatherSystemNodeTest : public FeatherNodeTest, protected locatorFeedback {
  protected:
    void SetUp() override {
        FeatherNodeTest::SetUp();
        feather = createFeatherNode("feather");
        // One guide, 1 wide along x and 2 deep along z, its root edge at the origin.
        connectGuide(createGuide("guide", MPoint(0, 0, 0), 1.0, 2.0), feather, 0);
        build(feather);
    }

    // A system under its own transform, borrowing the test's feather node.
    std::string createSystem(const std::string& name = "system") {
        EXPECT_TRUE(scene.createNode("transform", name + "Transform")) << scene.lastError();
        EXPECT_TRUE(scene.createNode("quilloSystem", name, name + "Transform"))
            << scene.lastError();
        EXPECT_TRUE(scene.connectAttr(feather + ".featherInfoID", name + ".inRenderFeather"))
            << scene.lastError();
        EXPECT_TRUE(scene.setAttr(name + ".displayQuality", 100.0));
        return name;
    }

    // A set holding `member` (a node, or some of its components as "shape.f[1]"), feeding
    // the system's "growthSet".
    void growOn(const std::string& system, const std::string& member) {
        const std::string set = system + "GrowthSet";
        ASSERT_TRUE(scene.createNode("objectSet", set)) << scene.lastError();
        MSelectionList members;
        ASSERT_TRUE(members.add(MString(member.c_str())));
        ASSERT_TRUE(MFnSet(scene.findNode(set)).addMembers(members));
        ASSERT_TRUE(scene.connectAttr(set + ".message", system + ".growthSet"))
            << scene.lastError();
    }

    void evaluate(const std::string& system) {
        ASSERT_TRUE(scene.evaluate(system + ".outFeatherMesh")) << scene.lastError();
    }

    quilloSystem& node(const std::string& system) {
        return *static_cast<quilloSystem*>(MFnDependencyNode(scene.findNode(system)).userNode());
    }
    const std::vector<featherGeometry>& feathersOf(const std::string& system) {
        return node(system).builtFeathers();
    }

    // A flat growth surface over x in [-2, 2], z in [-4, -2]; its shape's name.
    std::string growthSurface() { return createGuide("growth", MPoint(-2, 0, -4), 4.0, 2.0); }

    std::string feather;
};

TEST_F(FeatherSystemNodeTest, GrowsOneFeatherPerGridCellOnASurfaceEachStartingAtItsRoot) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    evaluate(system);

    const std::vector<featherGeometry>& feathers = feathersOf(system);
    ASSERT_EQ(feathers.size(), 100u);
    for (const featherGeometry& f : feathers) {
        ASSERT_GT(f.rachisPoints.length(), 1u);
        // u runs along x over the surface's four units, v along z over two.
        const MFloatPoint root = f.rachisPoints[0];
        EXPECT_NEAR(root.x, -2.0f + 4.0f * f.u, 1e-4f);
        EXPECT_NEAR(root.z, -4.0f + 2.0f * f.v, 1e-4f);
        EXPECT_NEAR(root.y, 0.0f, 1e-5f);
        EXPECT_FALSE(f.leftBarbules.empty());
        // Trimmed after the build: drawing does not need them.
        EXPECT_EQ(f.leftPositions.length() + f.rightLengths.length(), 0u);
    }
    // The draw colours come from the borrowed description.
    const featherInfo& info = *featherNode(feather).description();
    EXPECT_EQ(node(system).drawColors().length(), 4u);
    EXPECT_EQ(node(system).drawColors()[0], info.rachisRootColor);
    EXPECT_EQ(node(system).drawColors()[3], info.tipColor);

    // The same scene evaluated again gives the same feathers.
    const std::vector<featherGeometry> first = feathers;
    ASSERT_TRUE(scene.setAttr(system + ".radius", 10.0)); // dirties, same value
    evaluate(system);
    ASSERT_EQ(feathersOf(system).size(), first.size());
    for (size_t k = 0; k < first.size(); ++k) {
        const MFloatPointArray& again = feathersOf(system)[k].rachisPoints;
        ASSERT_EQ(again.length(), first[k].rachisPoints.length()) << k;
        for (unsigned int i = 0; i < again.length(); ++i)
            EXPECT_EQ(again[i], first[k].rachisPoints[i]) << k << " " << i;
    }
}

TEST_F(FeatherSystemNodeTest, DisplayQualityThinsTheRootsAndZeroEmptiesTheNodeLikeInactive) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    ASSERT_TRUE(scene.setAttr(system + ".displayQuality", 50.0));
    evaluate(system);
    const size_t half = feathersOf(system).size();
    EXPECT_GT(half, 25u);
    EXPECT_LT(half, 75u);

    ASSERT_TRUE(scene.setAttr(system + ".displayQuality", 0.0));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());

    ASSERT_TRUE(scene.setAttr(system + ".displayQuality", 50.0));
    evaluate(system);
    EXPECT_EQ(feathersOf(system).size(), half) << "the same half for the same seed";
    ASSERT_TRUE(scene.setAttr(system + ".active", 0.0));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());
}

TEST_F(FeatherSystemNodeTest, BarbuleQualityLowersTheCountForTheBuildOnlyAndNeverChangesTheNode) {
    ASSERT_TRUE(scene.setAttr(feather + ".barbuleNum", 100.0));
    build(feather);
    const int own = featherNode(feather).description()->barbuleCount;
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    ASSERT_TRUE(scene.setAttr(system + ".displayBarbuleQuality", 10.0));
    evaluate(system);

    ASSERT_FALSE(feathersOf(system).empty());
    for (const featherGeometry& f : feathersOf(system)) {
        EXPECT_LE(f.leftBarbules.size(), 11u); // indices 0 to 10
        EXPECT_LE(f.rightBarbules.size(), 11u);
    }
    EXPECT_EQ(featherNode(feather).description()->barbuleCount, own);
    EXPECT_GT(featherNode(feather).builtFeathers()[0].leftBarbules.size(), 11u);
}

TEST_F(FeatherSystemNodeTest, WithoutADescriptionNothingGrowsButTheInputMeshIsPassedOn) {
    ASSERT_TRUE(scene.createNode("quilloSystem", "lonely")) << scene.lastError();
    const std::string strip = addMeshShape(scene, "passed", stripMesh(3));
    ASSERT_TRUE(scene.connectAttr(strip + ".worldMesh[0]", "lonely.inFeatherMesh"));
    evaluate("lonely");
    EXPECT_TRUE(feathersOf("lonely").empty());
    EXPECT_EQ(node("lonely").boundingBox().width(), 0.0);

    MPlug output;
    ASSERT_TRUE(scene.findPlug("lonely.outFeatherMesh", output));
    MFnMesh passed(output.asMObject());
    EXPECT_EQ(passed.numVertices(), 8);
    EXPECT_EQ(passed.numPolygons(), 3);
}

TEST_F(FeatherSystemNodeTest, ASurfaceMemberWithOnlyTheMeshInputConnectedGrowsNothing) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    const std::string mesh = addMeshShape(scene, "other", stripMesh(2));
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", system + ".inputGrowMesh"));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());
}

TEST_F(FeatherSystemNodeTest, AMeshTransformMemberGrowsOnItsShapeAndAFaceSetOnlyOnThoseFaces) {
    // Three unit quads along x, placed behind the guide; uv spans the strip.
    const std::string mesh = addMeshShape(scene, "body", stripMesh(3), MVector(-1, 0, -3));

    const std::string whole = createSystem("whole");
    growOn(whole, "body"); // the transform: extended to its mesh
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", whole + ".inputGrowMesh"));
    ASSERT_TRUE(scene.setAttr(whole + ".uSegment", 6.0));
    ASSERT_TRUE(scene.setAttr(whole + ".vSegment", 2.0));
    ASSERT_TRUE(scene.setAttr(whole + ".jitterDistance", 0.0));
    evaluate(whole);
    ASSERT_EQ(feathersOf(whole).size(), 12u);
    float xMin = 1e9f, xMax = -1e9f;
    for (const featherGeometry& f : feathersOf(whole)) {
        xMin = std::min(xMin, f.rachisPoints[0].x);
        xMax = std::max(xMax, f.rachisPoints[0].x);
        EXPECT_NEAR(f.rachisPoints[0].z, -3.0f + f.v, 1e-4f);
    }
    EXPECT_NEAR(xMin, -1.0f + 0.25f, 1e-4f);
    EXPECT_NEAR(xMax, -1.0f + 2.75f, 1e-4f);

    // Only the middle face: the grid spans that face's u/v range alone.
    const std::string part = createSystem("part");
    growOn(part, mesh + ".f[1]");
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", part + ".inputGrowMesh"));
    ASSERT_TRUE(scene.setAttr(part + ".jitterDistance", 0.0));
    evaluate(part);
    ASSERT_EQ(feathersOf(part).size(), 100u);
    for (const featherGeometry& f : feathersOf(part)) {
        EXPECT_GT(f.rachisPoints[0].x, -1.0f + 1.0f);
        EXPECT_LT(f.rachisPoints[0].x, -1.0f + 2.0f);
    }
}

TEST_F(FeatherSystemNodeTest, DrawsShadedByStatusUndoesItsTransformAndBoundsItsFeathers) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    ASSERT_TRUE(scene.setAttr(system + ".uSegment", 2.0));
    ASSERT_TRUE(scene.setAttr(system + ".vSegment", 1.0));
    evaluate(system);
    const std::vector<featherGeometry>& feathers = feathersOf(system);
    ASSERT_EQ(feathers.size(), 2u);

    MBoundingBox expected;
    for (const featherGeometry& f : feathers)
        expected.expand(f.proxyBox);
    const MBoundingBox box = node(system).boundingBox();
    EXPECT_EQ(box.min(), expected.min());
    EXPECT_EQ(box.max(), expected.max());

    const std::vector<const MFloatPointArray*> strips = stripsOf(feathers);
    const MObject object = scene.findNode(system);
    const MColorArray& colours = node(system).drawColors();
    // The rachis keeps its colours; dormant barbules are dimmed to 60 %.
    const std::vector<std::vector<fedVertex>> lead =
        group(drawAndFeedBack(node(system), object, M3dView::kLead), strips);
    const std::vector<std::vector<fedVertex>> dormant =
        group(drawAndFeedBack(node(system), object, M3dView::kDormant), strips);
    ASSERT_EQ(lead.size(), strips.size());
    expectColour(lead[0][0], colours[0].r, colours[0].g, colours[0].b, "rachis root, lead");
    expectColour(dormant[0][0], colours[0].r, colours[0].g, colours[0].b, "rachis root, dormant");
    expectColour(lead[1][0], colours[2].r, colours[2].g, colours[2].b, "barbule root, lead");
    expectColour(dormant[1][0], colours[2].r * 0.6f, colours[2].g * 0.6f, colours[2].b * 0.6f,
                 "barbule root, dormant");
    const MColor active = node(system).colorRGB(M3dView::kActive);
    for (const fedSegment& s : drawAndFeedBack(node(system), object, M3dView::kActive))
        expectColour(s.a, active.r, active.g, active.b, "active");

    // Moving the system's transform leaves the feathers where the surface is.
    ASSERT_TRUE(scene.setAttr("systemTransform.t", std::vector<double>{5, 3, -2}));
    const std::vector<std::vector<fedVertex>> moved =
        group(drawAndFeedBack(node(system), object, M3dView::kLead), strips);
    for (size_t s = 0; s < strips.size(); ++s)
        for (size_t k = 0; k < moved[s].size(); ++k) {
            EXPECT_NEAR(moved[s][k].x, lead[s][k].x, 1e-3f);
            EXPECT_NEAR(moved[s][k].y, lead[s][k].y, 1e-3f);
        }
}

TEST_F(FeatherSystemNodeTest, AnEmptySystemDrawsNothingNotEvenProxyBoxes) {
    const std::string system = createSystem();
    ASSERT_TRUE(scene.setAttr(system + ".displayProxyBoundingBox", 1.0));
    evaluate(system);
    EXPECT_TRUE(drawAndFeedBack(node(system), scene.findNode(system), M3dView::kLead).empty());
    EXPECT_EQ(node(system).boundingBox().width(), 0.0);
}

TEST_F(FeatherSystemNodeTest, GrowsOnTheFacesOfAFaceSetReadFromASceneFile) {
    host::MessageCapture quiet;
    ASSERT_TRUE(scene.openFile(QUILLO_SOURCE_DIR "/tests/data/maya/featherSystemOnFaces.ma"))
        << scene.lastError();
    build("featherShape");
    evaluate("systemShape");
    // A 4 x 4 grid over the face's own u/v range (0.5 to 1 by 0 to 1): x from 1 to 2.
    const std::vector<featherGeometry>& feathers = feathersOf("systemShape");
    ASSERT_EQ(feathers.size(), 16u);
    for (const featherGeometry& f : feathers) {
        EXPECT_GT(f.rachisPoints[0].x, 1.0f);
        EXPECT_LT(f.rachisPoints[0].x, 2.0f);
        EXPECT_NEAR(f.rachisPoints[0].x, 2.0f * f.u, 1e-5f);
        EXPECT_NEAR(f.rachisPoints[0].z, f.v, 1e-5f);
    }
}

TEST_F(FeatherSystemNodeTest, UnusableGrowthInputsGrowNothingAndNeverFail) {
    const std::string system = createSystem();
    const std::string mesh = addMeshShape(scene, "body", stripMesh(2));
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", system + ".inputGrowMesh"));

    // An empty set.
    ASSERT_TRUE(scene.createNode("objectSet", "empty"));
    ASSERT_TRUE(scene.connectAttr("empty.message", system + ".growthSet"));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());

    // A set whose member is no shape at all.
    ASSERT_TRUE(scene.createNode("quilloGlobals", "globals"));
    ASSERT_TRUE(scene.createNode("objectSet", "odd"));
    MSelectionList odd;
    ASSERT_TRUE(odd.add("globals"));
    ASSERT_TRUE(MFnSet(scene.findNode("odd")).addMembers(odd));
    ASSERT_TRUE(scene.connectAttr("odd.message", system + ".growthSet", true));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());

    // The mesh, but a UV set it does not have.
    ASSERT_TRUE(scene.disconnectAttr("odd.message", system + ".growthSet"));
    growOn(system, mesh);
    ASSERT_TRUE(scene.setAttr(system + ".uvSetName", std::string("noSuchSet")));
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());
    // An empty name means "map1".
    ASSERT_TRUE(scene.setAttr(system + ".uvSetName", std::string("")));
    evaluate(system);
    EXPECT_EQ(feathersOf(system).size(), 100u);
}

TEST_F(FeatherSystemNodeTest, RadiusZeroFallsBackToTheNearestGuideAndAMissingUvFileSaysSo) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    ASSERT_TRUE(scene.setAttr(system + ".radius", 0.0));
    evaluate(system);
    EXPECT_EQ(feathersOf(system).size(), 100u);

    const std::string missing = ::testing::TempDir() + "noSuchRoots_systemNode.uvi";
    ASSERT_TRUE(scene.setAttr(system + ".uviFile", missing));
    ASSERT_TRUE(scene.setAttr(system + ".useUVIFile", 1.0));
    host::MessageCapture capture;
    evaluate(system);
    EXPECT_TRUE(feathersOf(system).empty());
    EXPECT_EQ(capture.texts(host::MessageKind::kError),
              (std::vector<std::string>{
                  "Can't open file " + missing + ".",
                  "UV info file " + missing + ": No such file or directory.",
                  "system: the UV info file '" + missing +
                      "' named by \"uviFile\" could not be read; no feathers were placed."}));
}

// Whatever a system was asked for but cannot build is an error naming the node, the attribute
// and the limit, never an empty result alone.
TEST_F(FeatherSystemNodeTest, WhatCannotBeBuiltIsAnErrorNamingTheAttributeAndTheLimit) {
    const std::string system = createSystem();
    const std::string surface = growthSurface();
    growOn(system, surface);
    ASSERT_TRUE(scene.connectAttr(surface + ".worldSpace[0]", system + ".inputGrowSurface"));
    const auto firstError = [&]() {
        host::MessageCapture capture;
        evaluate(system);
        EXPECT_TRUE(feathersOf(system).empty());
        const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
        return errors.empty() ? std::string("(no error)") : errors.front();
    };
    const auto expectError = [&](const std::string& expected) {
        SCOPED_TRACE(expected);
        const std::string error = firstError();
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    };

    ASSERT_TRUE(scene.setAttr(system + ".uSegment", 100000.0));
    ASSERT_TRUE(scene.setAttr(system + ".vSegment", 100000.0));
    expectError("system: \"uSegment\" x \"vSegment\" is 100000 x 100000 = 10000000000 cells, "
                "more than the limit of 67108864");

    ASSERT_TRUE(scene.setAttr(system + ".uSegment", 2000000.0));
    ASSERT_TRUE(scene.setAttr(system + ".vSegment", 1.0));
    expectError("system: \"uSegment\" x \"vSegment\" (2000000 x 1) makes cells narrower than "
                "the limit of 1e-06");

    // More points than the build budget: the count and the limit, before anything is built.
    ASSERT_TRUE(scene.setAttr(system + ".uSegment", 10.0));
    ASSERT_TRUE(scene.setAttr(system + ".vSegment", 10.0));
    setenv("QUILLO_MAX_POINTS", "1000", 1);
    const std::string budget = firstError();
    unsetenv("QUILLO_MAX_POINTS");
    EXPECT_NE(budget.find("100 feathers of up to "), std::string::npos) << budget;
    EXPECT_NE(budget.find("more than the build budget of 1000 points (QUILLO_MAX_POINTS)"),
              std::string::npos)
        << budget;

    // A scale so large that every position overflows single precision.
    ASSERT_TRUE(scene.setAttr(system + ".gloalScale", 3e38));
    expectError("100 of 100 feathers have positions that are not finite numbers in single "
                "precision (\"gloalScale\" ");
    ASSERT_TRUE(scene.setAttr(system + ".gloalScale", 1.0));

    // A growth surface moved beyond single precision.
    ASSERT_TRUE(scene.setAttr("growth.translateX", 1e300));
    expectError("100 of 100 feather roots lie where the growth shape's positions are not finite");
    ASSERT_TRUE(scene.setAttr("growth.translateX", 0.0));

    // The borrowed description cannot be built.
    ASSERT_TRUE(scene.setAttr(feather + ".barbuleNum", 1e8));
    ASSERT_TRUE(scene.setAttr(system + ".displayBarbuleQuality", 100.0));
    build(feather); // the description is refilled by its node's compute
    expectError("system: the feather description it borrows cannot be built: \"barbuleNum\" "
                "(times the quality) gives 100000000 barbules per side, more than the limit of "
                "1048576");
    ASSERT_TRUE(scene.setAttr(feather + ".barbuleNum", 10.0));
    build(feather);

    ASSERT_TRUE(scene.setAttr(system + ".useUVIFile", 1.0));
    expectError("\"useUVIFile\" is on but \"uviFile\" names no file");
    ASSERT_TRUE(scene.setAttr(system + ".useUVIFile", 0.0));
    evaluate(system);
    EXPECT_EQ(feathersOf(system).size(), 100u) << "nothing else was wrong";
}

} // namespace

// The feather node's build: the description it reads, one feather per input with its seed,
// sample point and colour, every build mode, "active", the bounds, and refused descriptions.

#include "featherNodeFixture.h"

#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "feather/turtlePath.h"
#include "plugin/sharedObjects.h"

#include <maya/MFnMesh.h>
#include <maya/MRampAttribute.h>

#include <cmath>
#include <limits>

namespace {

class FeatherNodeComputeTest : public FeatherNodeTest {
  protected:
    const std::vector<featherGeometry>& feathersOf(const std::string& feather) {
        return featherNode(feather).builtFeathers();
    }
    void set(const std::string& plug, double value) {
        ASSERT_TRUE(scene.setAttr(plug, value)) << scene.lastError();
    }
    static bool sameGeometry(const featherGeometry& a, const featherGeometry& b) {
        if (a.rachisPoints.length() != b.rachisPoints.length() ||
            a.leftBarbules.size() != b.leftBarbules.size() ||
            a.rightBarbules.size() != b.rightBarbules.size())
            return false;
        for (unsigned int k = 0; k < a.rachisPoints.length(); ++k)
            if (!(a.rachisPoints[k] == b.rachisPoints[k]))
                return false;
        for (size_t k = 0; k < a.leftBarbules.size(); ++k) {
            if (a.leftBarbules[k].length() != b.leftBarbules[k].length())
                return false;
            for (unsigned int j = 0; j < a.leftBarbules[k].length(); ++j)
                if (!(a.leftBarbules[k][j] == b.leftBarbules[k][j]))
                    return false;
        }
        return true;
    }
    static void expectColour(const MColor& c, float r, float g, float b, const char* what) {
        EXPECT_FLOAT_EQ(c.r, r) << what;
        EXPECT_FLOAT_EQ(c.g, g) << what;
        EXPECT_FLOAT_EQ(c.b, b) << what;
        EXPECT_FLOAT_EQ(c.a, 1.0f) << what;
    }
};

TEST_F(FeatherNodeComputeTest, ANodeWithoutInputsBuildsNothingAndCarriesAnEmptyMesh) {
    const std::string feather = createFeatherNode();
    build(feather);
    EXPECT_TRUE(feathersOf(feather).empty());
    MPlug mesh;
    ASSERT_TRUE(scene.findPlug(feather + ".outputMesh", mesh));
    MObject meshData = mesh.asMObject();
    ASSERT_TRUE(meshData.hasFn(MFn::kMeshData));
    MFnMesh meshFn(meshData);
    EXPECT_EQ(meshFn.numVertices(), 0);
    EXPECT_EQ(meshFn.numPolygons(), 0);
    MBoundingBox box = featherNode(feather).boundingBox();
    EXPECT_EQ(box.width() + box.height() + box.depth(), 0.0);
    EXPECT_FALSE(box.contains(MPoint(0, 0, 0))) << "an empty box";
}

TEST_F(FeatherNodeComputeTest, TheDescriptionIsReadAsTheTableSays) {
    const std::string feather = createFeatherNode();
    set(feather + ".rachisSegment", 6);
    set(feather + ".barbuleSegments", 3);
    set(feather + ".displayQuality", 30);
    set(feather + ".barbuleNum", 70);
    set(feather + ".barbuleLengthRandScale", 0.5);
    set(feather + ".rachisRenderAs", 3);
    set(feather + ".direction", 1);
    set(feather + ".keyBarbuleStartAngle3", 33);
    ASSERT_TRUE(scene.setAttr(feather + ".noisePhase", std::vector<double>{0.25, -2.5}));
    ASSERT_TRUE(scene.setAttr(feather + ".tipColor", std::vector<double>{0.1, 0.2, 0.3}));
    build(feather);
    const featherInfo& info = *featherNode(feather).description();
    EXPECT_EQ(info.rachisPointCount, 7);
    EXPECT_EQ(info.barbulePointCount, 4);
    EXPECT_FLOAT_EQ(info.quality, 0.3f);
    EXPECT_EQ(info.barbuleCount, 21) << "int(70 * 0.3f)";
    EXPECT_EQ(info.barbuleNum, 70);
    EXPECT_FLOAT_EQ(info.barbuleLengthRandScale, 0.501f);
    EXPECT_EQ(info.rachisRenderAs, 3);
    EXPECT_EQ(info.direction, 1);
    EXPECT_EQ(info.curveType, 1);
    EXPECT_FLOAT_EQ(info.rachisThick, 0.5f);
    EXPECT_FLOAT_EQ(info.barbuleLength, 0.2f);
    EXPECT_FLOAT_EQ(info.noisePhase[0], 0.25f);
    EXPECT_FLOAT_EQ(info.noisePhase[1], -2.5f);
    EXPECT_FLOAT_EQ(info.proxyBoundingBoxScale[0], 0.0f);
    EXPECT_FLOAT_EQ(info.proxyBoundingBoxScale[2], 0.1f);
    expectColour(info.tipColor, 0.1f, 0.2f, 0.3f, "tipColor");
    expectColour(info.rootColor, 0.7f, 0.7f, 0.7f, "rootColor");
    expectColour(info.rachisRootColor, 0.3f, 0.3f, 0.3f, "rachisRootColor");
    EXPECT_EQ(info.randSeed, 4352);
    EXPECT_EQ(info.keyBarbuleSet.keyPositions, (std::vector<float>{0.0f, 0.2f, 0.8f, 1.0f}));
    EXPECT_EQ(info.keyBarbuleSet.startAngles, (std::vector<float>{60.0f, 40.0f, 33.0f, 10.0f}));
    EXPECT_EQ(info.keyBarbuleSet.rotateRamps.size(), 4u);
    EXPECT_FLOAT_EQ(info.keyBarbuleSet.stepAngle, 10.0f);

    // The length-scale ramps are the node's own: with "shapeSymmetry" the right one reads the
    // left ramp.
    ASSERT_TRUE(scene.setAttr(
        feather + ".rightBarbuleLengthScale[0].rightBarbuleLengthScale_FloatValue", 0.05));
    build(feather);
    float right = 0.0f, left = 0.0f;
    MRampAttribute(featherNode(feather).description()->rightBarbuleLengthScale)
        .getValueAtPosition(0.0f, right);
    MRampAttribute(featherNode(feather).description()->leftBarbuleLengthScale)
        .getValueAtPosition(0.0f, left);
    EXPECT_FLOAT_EQ(right, left);
    set(feather + ".shapeSymmetry", 0);
    build(feather);
    MRampAttribute(featherNode(feather).description()->rightBarbuleLengthScale)
        .getValueAtPosition(0.0f, right);
    EXPECT_FLOAT_EQ(right, 0.05f);
}

TEST_F(FeatherNodeComputeTest, GuideSeedsAddTheLogicalIndexAndWithMultiInstancesTheCounter) {
    const std::string feather = createFeatherNode();
    connectGuide(createGuide("near"), feather, 0);
    connectGuide(createArchedGuide("far"), feather, 5);
    set(feather + ".multiInstances", 0);
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 2u);
    EXPECT_EQ(feathersOf(feather)[0].seed, 4352 + 0);
    EXPECT_EQ(feathersOf(feather)[1].seed, 4352 + 5);
    const std::vector<featherGeometry> single = feathersOf(feather);

    set(feather + ".multiInstances", 1);
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 2u);
    EXPECT_EQ(feathersOf(feather)[0].seed, 4352 + 0 + 0);
    EXPECT_EQ(feathersOf(feather)[1].seed, 4352 + 1 + 5);
    EXPECT_TRUE(sameGeometry(feathersOf(feather)[0], single[0])) << "input 0 is unchanged";
    EXPECT_FALSE(sameGeometry(feathersOf(feather)[1], single[1]));
    EXPECT_EQ(featherNode(feather).description()->randSeed, 4352) << "restored after the build";

    set(feather + ".randSeed", 100);
    build(feather);
    EXPECT_EQ(feathersOf(feather)[1].seed, 100 + 1 + 5);
}

TEST_F(FeatherNodeComputeTest, GuideFeathersTakeTheirUvAndTheColourSampledThere) {
    const std::string feather = createFeatherNode();
    const std::string guide = createGuide("guide", MPoint(1, 2, 3));
    connectGuide(guide, feather, 4);
    ASSERT_TRUE(
        scene.setAttr(feather + ".guidSurfaceInfo[4].guidUV", std::vector<double>{0.25, 0.75}));
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 1u);
    EXPECT_FLOAT_EQ(feathersOf(feather)[0].u, 0.25f);
    EXPECT_FLOAT_EQ(feathersOf(feather)[0].v, 0.75f);
    expectColour(feathersOf(feather)[0].mainColor, 1, 1, 1, "white without a texture");

    connectUvTexture(feather);
    build(feather);
    expectColour(feathersOf(feather)[0].mainColor, 0.25f, 0.75f, 0.25f, "sampled at the uv");

    // The guide path follows the surface in world space: 5 rachis frames from (1, 2, 3.5) to
    // (3, 2, 3.5) along u at rachisPosition 0.5 across.
    const quillo& node = featherNode(feather);
    const int id = node.guidePaths().at(4);
    const turtlePath* path = static_cast<const turtlePath*>(turtleRegistry->find(&id));
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->frameCount(), 5u);
    EXPECT_FLOAT_EQ(path->frames[0].position.x, 1.0f);
    EXPECT_FLOAT_EQ(path->frames[0].position.z, 3.5f);
    EXPECT_FLOAT_EQ(path->frames[4].position.x, 3.0f);
    EXPECT_FLOAT_EQ(path->frames[4].position.y, 2.0f);
    const MFloatPointArray& rachis = feathersOf(feather)[0].rachisPoints;
    ASSERT_EQ(rachis.length(), 5u);
    EXPECT_FLOAT_EQ(rachis[2].x, 2.0f);
}

TEST_F(FeatherNodeComputeTest, ATurtleArrayOfThreeBuildsThreeFeathersWithTheirColours) {
    const std::string feather = createFeatherNode();
    connectUvTexture(feather);
    std::vector<testTurtle> turtles(3);
    for (int k = 0; k < 3; ++k) {
        turtles[k].root = MVector(0.0, 0.0, 2.0 * k);
        turtles[k].u = 0.1f + 0.4f * static_cast<float>(k);
        turtles[k].v = 0.2f * static_cast<float>(k + 1);
        turtles[k].growVertexID = 10 + k;
    }
    setTurtleArray(feather, 0, turtles);
    set(feather + ".multiInstances", 0);
    build(feather);

    const quillo& node = featherNode(feather);
    ASSERT_EQ(feathersOf(feather).size(), 3u);
    ASSERT_EQ(node.turtleArrayPaths().size(), 3u);
    EXPECT_EQ(node.description()->turtleIds.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const featherGeometry& f = feathersOf(feather)[static_cast<size_t>(k)];
        EXPECT_EQ(f.seed, 4352) << "the same seed for every turtle of an array";
        EXPECT_FLOAT_EQ(f.u, turtles[k].u);
        EXPECT_FLOAT_EQ(f.v, turtles[k].v);
        expectColour(f.mainColor, turtles[k].u, turtles[k].v, 0.25f, "the turtle's sample");
        ASSERT_GT(f.rachisPoints.length(), 0u);
        EXPECT_FLOAT_EQ(f.rachisPoints[0].z, 2.0f * k) << "built on its own turtle";
        const int id = node.turtleArrayPaths().at({0, k});
        const turtlePath* path = static_cast<const turtlePath*>(turtleRegistry->find(&id));
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(path->growVertexID, 10 + k);
        EXPECT_EQ(path->frameCount(), 5u);
    }

    // Rebuilt from scratch at every build: the same number of paths, no leak.
    set(feather + ".multiInstances", 1);
    build(feather);
    EXPECT_EQ(turtleEntries(), 3);
    EXPECT_EQ(node.description()->turtleIds.size(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(feathersOf(feather)[static_cast<size_t>(k)].seed, 4352 + k)
            << "with multiInstances the counter is added";
    setTurtleArray(feather, 0, {turtles[0]});
    build(feather);
    EXPECT_EQ(feathersOf(feather).size(), 1u);
    EXPECT_EQ(turtleEntries(), 1);
    EXPECT_EQ(node.description()->turtleIds.size(), 1u);
}

TEST_F(FeatherNodeComputeTest, AFailedSingleTurtleShiftsTheLaterSamples) {
    const std::string feather = createFeatherNode();
    connectUvTexture(feather);
    testTurtle turtles[3];
    for (int k = 0; k < 3; ++k) {
        turtles[k].root = MVector(0.0, 0.0, 2.0 * k);
        turtles[k].u = 0.1f * static_cast<float>(k + 1);
        turtles[k].v = 0.5f;
    }
    turtles[1].points = 1; // too short to be a path
    for (int k = 0; k < 3; ++k)
        connectComponentTurtle(turtles[k], feather, k);
    build(feather);

    const std::vector<featherGeometry>& built = feathersOf(feather);
    ASSERT_EQ(built.size(), 3u) << "a failed build still leaves a feather record";
    EXPECT_FLOAT_EQ(built[0].u, 0.1f);
    expectColour(built[0].mainColor, 0.1f, 0.5f, 0.25f, "first turtle");
    EXPECT_EQ(built[1].rachisPoints.length(), 0u) << "the failed turtle builds nothing";
    EXPECT_FLOAT_EQ(built[1].u, 0.3f) << "it takes the next input's sample";
    expectColour(built[1].mainColor, 0.3f, 0.5f, 0.25f, "failed turtle");
    EXPECT_FLOAT_EQ(built[2].u, 0.0f) << "the last input has no sample left";
    expectColour(built[2].mainColor, 1, 1, 1, "last turtle");
    EXPECT_GT(built[2].rachisPoints.length(), 0u);
    EXPECT_FLOAT_EQ(built[2].rachisPoints[0].z, 4.0f);
    EXPECT_EQ(built[0].seed, 4352 + 0);
    EXPECT_EQ(built[2].seed, 4352 + 2 + 2) << "multiInstances: counter and index";
}

TEST_F(FeatherNodeComputeTest, ActiveOffEmptiesTheDrawingUntilItIsOnAgain) {
    const std::string feather = createFeatherNode();
    connectGuide(createGuide("guide"), feather, 0);
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 1u);
    set(feather + ".active", 0);
    build(feather);
    EXPECT_TRUE(feathersOf(feather).empty());
    MBoundingBox box = featherNode(feather).boundingBox();
    EXPECT_EQ(box.width(), 0.0);
    double id = -1;
    ASSERT_TRUE(scene.getAttr(feather + ".featherInfoID", id));
    EXPECT_EQ(id, 0.0) << "the id is still written";
    set(feather + ".active", 1);
    build(feather);
    EXPECT_EQ(feathersOf(feather).size(), 1u);
}

TEST_F(FeatherNodeComputeTest, EveryBuildModeMakesItsOwnKindOfFeather) {
    const std::string feather = createFeatherNode();
    connectGuide(createArchedGuide("guide"), feather, 0);
    // 100 barbules at quality 20: 20 indices; the final world build makes 21 a side, the
    // surface build 20.
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 1u);
    EXPECT_EQ(feathersOf(feather)[0].leftBarbules.size(), 21u);
    EXPECT_EQ(feathersOf(feather)[0].rightBarbules.size(), 21u);
    EXPECT_EQ(feathersOf(feather)[0].leftBarbules[0].length(), 9u);
    for (const featherGeometry& f : feathersOf(feather)) {
        EXPECT_EQ(f.leftPositions.length() + f.rightPositions.length(), 0u)
            << "working lists emptied after the build";
        EXPECT_EQ(f.leftLengths.length() + f.rightLengths.length(), 0u);
        EXPECT_EQ(f.leftNormals.size(), 21u) << "the rest is kept";
    }

    set(feather + ".surfaceFeather", 1);
    build(feather);
    EXPECT_EQ(feathersOf(feather)[0].leftBarbules.size(), 20u);
    EXPECT_EQ(feathersOf(feather)[0].rightBarbules.size(), 20u);

    set(feather + ".displayAs", 1);
    build(feather);
    EXPECT_EQ(feathersOf(feather)[0].leftBarbules.size(), 4u) << "surface key barbules";
    EXPECT_EQ(feathersOf(feather)[0].rightBarbules.size(), 4u);

    set(feather + ".surfaceFeather", 0);
    build(feather);
    EXPECT_EQ(feathersOf(feather)[0].leftBarbules.size(), 8u) << "world key barbules";
    EXPECT_EQ(feathersOf(feather)[0].rightBarbules.size(), 0u);
}

TEST_F(FeatherNodeComputeTest, TheBoundingBoxHoldsEveryFeatherInWorldSpace) {
    const std::string feather = createFeatherNode();
    connectGuide(createGuide("a", MPoint(10, 0, 0)), feather, 0);
    connectGuide(createGuide("b", MPoint(-5, 3, 1), 1.0, 1.0), feather, 1);
    ASSERT_TRUE(scene.setAttr("a.translate", std::vector<double>{0, 0, 20}));
    build(feather);
    ASSERT_EQ(feathersOf(feather).size(), 2u);
    MBoundingBox expected;
    for (const featherGeometry& f : feathersOf(feather))
        expected.expand(f.proxyBox);
    const MBoundingBox box = featherNode(feather).boundingBox();
    EXPECT_EQ(box.min(), expected.min());
    EXPECT_EQ(box.max(), expected.max());
    for (const featherGeometry& f : feathersOf(feather))
        for (unsigned int k = 0; k < f.rachisPoints.length(); ++k)
            EXPECT_TRUE(box.contains(MPoint(f.rachisPoints[k])));
    EXPECT_GE(box.max().z, 20.5) << "guide a sits at z = 20 in the world";
    EXPECT_LE(box.min().x, -5.0);
    EXPECT_GE(box.max().x, 12.0);
}

TEST_F(FeatherNodeComputeTest, ADescriptionBeyondTheLimitsIsRefusedWithOneError) {
    const std::string feather = createFeatherNode();
    connectGuide(createGuide("guide"), feather, 0);
    std::string numbers;
    ASSERT_TRUE(scene.createNode("testNotANumber", "", "", &numbers));
    // Counts set from outside; values that are not numbers can only flow in through
    // connections (setting them is refused).
    const struct {
        const char* attribute;
        double count;
        const char* source;
    } extremes[] = {
        {"barbuleNum", 2000000000.0, nullptr},    {"barbuleSegments", 10000000.0, nullptr},
        {"rachisSegment", 2147483647.0, nullptr}, {"barbuleLength", 0.0, "nan"},
        {"rachisThick", 0.0, "infinity"},
    };
    for (const auto& extreme : extremes) {
        SCOPED_TRACE(extreme.attribute);
        const std::string plug = feather + "." + extreme.attribute;
        double before = 0.0;
        ASSERT_TRUE(scene.getAttr(plug, before));
        if (extreme.source) {
            ASSERT_TRUE(scene.connectAttr(numbers + "." + extreme.source, plug))
                << scene.lastError();
        } else {
            set(plug, extreme.count);
        }
        {
            host::MessageCapture capture;
            build(feather);
            EXPECT_EQ(capture.count(host::MessageKind::kError), 1u);
            // The error names the node and the attribute.
            EXPECT_TRUE(capture.contains(host::MessageKind::kError,
                                         feather + ": the feather description cannot be built: "));
            EXPECT_TRUE(capture.contains(host::MessageKind::kError,
                                         std::string("\"") + extreme.attribute + "\""));
        }
        ASSERT_EQ(feathersOf(feather).size(), 1u);
        EXPECT_EQ(feathersOf(feather)[0].rachisPoints.length(), 0u);
        EXPECT_TRUE(feathersOf(feather)[0].leftBarbules.empty());

        if (extreme.source) {
            ASSERT_TRUE(scene.disconnectAttr(numbers + "." + extreme.source, plug));
        }
        set(plug, before);
        host::MessageCapture capture;
        build(feather);
        EXPECT_EQ(capture.count(host::MessageKind::kError), 0u);
        ASSERT_EQ(feathersOf(feather).size(), 1u);
        EXPECT_EQ(feathersOf(feather)[0].leftBarbules.size(), 21u) << "built again";
    }
}

TEST_F(FeatherNodeComputeTest, ABuildBeyondTheBudgetOrOutOfRangeGuidesAreErrors) {
    const std::string feather = createFeatherNode();
    connectGuide(createGuide("guideA"), feather, 0);
    connectGuide(createGuide("guideB", MPoint(0, 0, 3)), feather, 1);
    // Two feathers, and a budget below what any one feather holds.
    setenv("QUILLO_MAX_POINTS", "3", 1);
    {
        host::MessageCapture capture;
        build(feather);
        unsetenv("QUILLO_MAX_POINTS");
        const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind(feather + ": 2 feathers of up to ", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find("more than the build budget of 3 points (QUILLO_MAX_POINTS)"),
                  std::string::npos)
            << errors[0];
        EXPECT_TRUE(feathersOf(feather).empty());
    }
    // A rachis mesh too large to build is said, the feathers are built.
    set(feather + ".rachisRenderAs", 1.0);
    set(feather + ".rachisSegment", 100000.0);
    set(feather + ".rachisSides", 100.0);
    {
        host::MessageCapture capture;
        build(feather);
        EXPECT_EQ(capture.texts(host::MessageKind::kError),
                  std::vector<std::string>{
                      feather + ": \"rachisSegment\" and \"rachisSides\" give 10000100 rachis "
                                "tube vertices, more than the limit of 4194304; the rachis "
                                "meshes are not built."});
        ASSERT_EQ(feathersOf(feather).size(), 2u);
        EXPECT_EQ(feathersOf(feather)[0].rachisMesh.points.length(), 0u);
    }
    set(feather + ".rachisRenderAs", 0.0);
    set(feather + ".rachisSegment", 16.0);

    // A guide moved beyond single precision: its feather stays empty, with an error.
    ASSERT_TRUE(scene.setAttr("guideB.translateX", 1e300));
    host::MessageCapture capture;
    build(feather);
    EXPECT_EQ(capture.texts(host::MessageKind::kError),
              std::vector<std::string>{feather +
                                       ": 1 of 2 guides have positions that are not finite "
                                       "numbers in single precision (beyond about 3.4e38); "
                                       "their feathers stay empty."});
    ASSERT_EQ(feathersOf(feather).size(), 2u);
    EXPECT_GT(feathersOf(feather)[0].rachisPoints.length(), 0u);
    EXPECT_EQ(feathersOf(feather)[1].rachisPoints.length(), 0u);
}

} // namespace

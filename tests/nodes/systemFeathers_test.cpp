// The feather system's build pass: guide blending (nearest shape, equal and Gaussian weights,
// clamped far guides, short guides, missing guides), the guide search (radius, nearest
// fallback), refusals, per-feather seeds, random shortening, the four textures, and passes
// that repeat exactly.

#include "nodes/system/systemFeathers.h"

#include "nodes/system/systemBuildPlan.h"

#include "feather/featherInfo.h"
#include "feather/idRegistry.h"

#include <host/messages.h>
#include <host/scene.h>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr float tolerance = 1e-5f;

void expectNear(const MFloatPoint& actual, const MFloatPoint& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

void expectNear(const MFloatVector& actual, const MFloatVector& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

// A path of `frames` frames from `root`, each segment `segment`, all normals `normal`.
turtlePath straightPath(const MFloatPoint& root, const MFloatVector& segment, int frames,
                        const MFloatVector& normal = MFloatVector(0.0f, 1.0f, 0.0f)) {
    turtlePath path;
    MFloatPoint position = root;
    for (int i = 0; i < frames; ++i) {
        path.append(position, normal);
        position += segment;
    }
    return path;
}

class SystemFeathersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        generator.info = &info;
        // Linear rachis without barbules: a feather's rachis then retraces its path exactly.
        info.curveType = 0;
        info.barbuleCount = 0;
        info.rachisPointCount = 9;
        params().radius = 1.0f + 1e-8f;
    }

    systemParams& params() { return generator.systemParams; }

    // Registers the path; lists it among the description's guides unless told otherwise.
    int addGuide(const turtlePath& path, bool listed = true) {
        const int id = registry.allocateId();
        keys.push_back(id);
        paths.push_back(path);
        EXPECT_TRUE(registry.insert(&keys.back(), &paths.back()));
        if (listed)
            info.turtleIds.push_back(id);
        return id;
    }

    void addRoot(float x, float y, float z, float u = 0.0f, float v = 0.0f) {
        roots.append(MFloatPoint(x, y, z), u, v);
    }

    void build() {
        feathers.clear();
        buildSystemFeathers(generator, registry, roots, feathers);
    }

    bool interpolate(const std::vector<guideNeighbour>& neighbours, float scaleFactor,
                     const MFloatPoint& root = MFloatPoint(0.0f, 0.0f, 0.0f)) {
        path.reset();
        return interpolateGuides(params(), registry, root, neighbours, scaleFactor, path);
    }

    idRegistry registry{16};
    std::deque<int> keys; // the registry holds its keys by pointer
    std::deque<turtlePath> paths;
    featherGenerator generator;
    featherInfo info;
    featherRoots roots;
    std::vector<featherGeometry> feathers;
    turtlePath path;
};

TEST_F(SystemFeathersTest, OneGuidePerFeatherCopiesTheNearestShapeMovedToTheRoot) {
    turtlePath bent;
    bent.append(MFloatPoint(3.0f, 0.0f, 0.0f), MFloatVector(0.0f, 2.0f, 0.0f));
    bent.append(MFloatPoint(4.0f, 0.0f, 0.0f), MFloatVector(0.0f, 0.0f, 3.0f));
    bent.append(MFloatPoint(4.0f, 2.0f, 0.0f), MFloatVector(1.0f, 1.0f, 0.0f));
    bent.append(MFloatPoint(4.0f, 2.0f, 0.5f), MFloatVector(0.0f, 1.0f, 0.0f));
    const int nearest = addGuide(bent);
    const int other = addGuide(straightPath(MFloatPoint(), MFloatVector(0.0f, 0.0f, 9.0f), 6));
    params().globalScale = 2.0f;

    const MFloatPoint root(5.0f, 5.0f, 5.0f);
    ASSERT_TRUE(interpolate({{nearest, 0.1f}, {other, 0.2f}}, 0.75f, root));
    ASSERT_EQ(path.frameCount(), 4u);
    for (unsigned int i = 0; i < 4; ++i) {
        const MFloatVector offset = bent.frames[i].position - bent.frames[0].position;
        expectNear(path.frames[i].position, root + offset * 1.5f, "frame " + std::to_string(i));
        expectNear(path.frames[i].normal, bent.frames[i].normal.normal(),
                   "normal " + std::to_string(i));
    }
    EXPECT_FLOAT_EQ(path.step, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(path.scale, 1.5f);
}

TEST_F(SystemFeathersTest, EqualOrClampedWeightsBlendToThePlainMean) {
    const int alongX = addGuide(
        straightPath(MFloatPoint(), MFloatVector(1.0f, 0.0f, 0.0f), 3, MFloatVector(0, 0, 1)));
    const int alongY = addGuide(
        straightPath(MFloatPoint(), MFloatVector(0.0f, 3.0f, 0.0f), 3, MFloatVector(1, 0, 0)));
    params().guidsPerFeather = 2;

    struct weighting {
        const char* name;
        float power;
        float nearDistance, farDistance;
    };
    for (const weighting& w :
         {weighting{"power 0", 0.0f, 0.3f, 7.0f}, weighting{"equidistant", 1.0f, 0.5f, 0.5f},
          weighting{"far, clamped", 1.0f, 400.0f, 900.0f}}) {
        params().power = w.power;
        ASSERT_TRUE(interpolate({{alongX, w.nearDistance}, {alongY, w.farDistance}}, 1.0f))
            << w.name;
        ASSERT_EQ(path.frameCount(), 3u) << w.name;
        const MFloatVector step = MFloatVector(1.0f, 3.0f, 0.0f).normal() * 2.0f;
        expectNear(path.frames[0].position, MFloatPoint(0, 0, 0), w.name);
        expectNear(path.frames[1].position, MFloatPoint() + step, w.name);
        expectNear(path.frames[2].position, MFloatPoint() + step * 2.0f, w.name);
        expectNear(path.frames[2].normal, MFloatVector(1.0f, 0.0f, 1.0f).normal(), w.name);
    }
}

TEST_F(SystemFeathersTest, WeightsFallOffAsAGaussianWithPowerAsInverseWidth) {
    const int shortGuide = addGuide(straightPath(MFloatPoint(), MFloatVector(1, 0, 0), 2));
    const int longGuide = addGuide(straightPath(MFloatPoint(), MFloatVector(3, 0, 0), 2));
    params().guidsPerFeather = 2;
    params().power = 2.0f;

    // exp(-(2 * 0.25 * 2)) = exp(-1) for the long guide, 1 for the short one.
    ASSERT_TRUE(interpolate({{shortGuide, 0.0f}, {longGuide, 0.25f}}, 1.0f));
    const float far = std::exp(-1.0f);
    EXPECT_NEAR(path.frames[1].position.x, (1.0f + 3.0f * far) / (1.0f + far), tolerance);

    // A far guide still pulls at 1e-7 of the near one's weight.
    ASSERT_TRUE(interpolate({{shortGuide, 0.0f}, {longGuide, 1e6f}}, 1.0f));
    EXPECT_NEAR(path.frames[1].position.x, (1.0f + 3.0f * 1e-7f) / (1.0f + 1e-7f), 1e-7f);
    EXPECT_GT(path.frames[1].position.x, 1.0f);
}

TEST_F(SystemFeathersTest, OnlyTheNeighboursGivenAreBlendedAndMissingGuidesFail) {
    const int alongX = addGuide(straightPath(MFloatPoint(), MFloatVector(1, 0, 0), 2));
    const int alongY = addGuide(straightPath(MFloatPoint(), MFloatVector(0, 3, 0), 2));
    addGuide(straightPath(MFloatPoint(), MFloatVector(0, 0, 50), 2)); // not a neighbour
    params().power = 0.0f;

    params().guidsPerFeather = 5;
    ASSERT_TRUE(interpolate({{alongX, 0.0f}, {alongY, 0.0f}}, 1.0f));
    expectNear(path.frames[1].position, MFloatPoint() + MFloatVector(1, 3, 0).normal() * 2.0f,
               "two of five");

    params().guidsPerFeather = 1;
    ASSERT_TRUE(interpolate({{alongX, 0.0f}, {999, 0.0f}}, 1.0f))
        << "a missing guide beyond guidsPerFeather is never looked at";
    expectNear(path.frames[1].position, MFloatPoint(1, 0, 0), "nearest only");

    params().guidsPerFeather = 2;
    EXPECT_FALSE(interpolate({{alongX, 0.0f}, {999, 0.0f}}, 1.0f)) << "a blended guide is gone";
    EXPECT_FALSE(interpolate({{999, 0.0f}, {alongX, 0.0f}}, 1.0f)) << "the nearest is gone";
    EXPECT_FALSE(interpolate({}, 1.0f)) << "no neighbours";
    params().guidsPerFeather = 0;
    EXPECT_FALSE(interpolate({{alongX, 0.0f}}, 1.0f)) << "guidsPerFeather 0";
    params().guidsPerFeather = -4;
    EXPECT_FALSE(interpolate({{alongX, 0.0f}}, 1.0f)) << "guidsPerFeather negative";
}

TEST_F(SystemFeathersTest, ShorterGuidesBlendOnlyTheFramesTheyHave) {
    const int longNearest =
        addGuide(straightPath(MFloatPoint(), MFloatVector(1, 0, 0), 4, MFloatVector(0, 0, 1)));
    const int shortOther =
        addGuide(straightPath(MFloatPoint(), MFloatVector(0, 1, 0), 2, MFloatVector(1, 0, 0)));
    params().guidsPerFeather = 2;
    params().power = 0.0f;

    ASSERT_TRUE(interpolate({{longNearest, 0.0f}, {shortOther, 0.0f}}, 1.0f));
    ASSERT_EQ(path.frameCount(), 4u);
    const MFloatPoint first = MFloatPoint() + MFloatVector(1, 1, 0).normal();
    expectNear(path.frames[1].position, first, "both guides");
    expectNear(path.frames[1].normal, MFloatVector(1, 0, 1).normal(), "both normals");
    expectNear(path.frames[2].position, first + MFloatVector(1, 0, 0), "nearest only");
    expectNear(path.frames[3].position, first + MFloatVector(2, 0, 0), "nearest only");
    expectNear(path.frames[3].normal, MFloatVector(0, 0, 1), "nearest normal only");

    // The nearest guide decides the frame count, also when it is the shorter one.
    ASSERT_TRUE(interpolate({{shortOther, 0.0f}, {longNearest, 0.0f}}, 1.0f));
    EXPECT_EQ(path.frameCount(), 2u);
}

TEST_F(SystemFeathersTest, NothingIsBuiltWithoutGuidesRootsRadiusOrScale) {
    addRoot(0.0f, 0.0f, 0.0f);
    params().outputFeatherMesh = true;

    build();
    EXPECT_TRUE(feathers.empty()) << "no guides";
    EXPECT_FALSE(info.outputFeatherMesh) << "left alone when the description has no guides";

    info.turtleIds = {41, 42};
    build();
    EXPECT_TRUE(feathers.empty()) << "no guide registered";
    EXPECT_TRUE(info.outputFeatherMesh) << "the system's flag reaches the description";

    addGuide(turtlePath());
    build();
    EXPECT_TRUE(feathers.empty()) << "a guide without frames";

    addGuide(straightPath(MFloatPoint(5, 0, 0), MFloatVector(0, 0, 1), 3));
    build();
    EXPECT_EQ(feathers.size(), 1u) << "one usable guide";

    params().radius = 0.0f;
    build();
    EXPECT_TRUE(feathers.empty()) << "radius 0";
    params().radius = -1.0f;
    build();
    EXPECT_TRUE(feathers.empty()) << "negative radius";
    params().radius = 1.0f;
    params().globalScale = 0.0f;
    build();
    EXPECT_TRUE(feathers.empty()) << "globalScale 0";
    params().globalScale = 1.0f;
    roots.clear();
    build();
    EXPECT_TRUE(feathers.empty()) << "no roots";

    generator.info = nullptr;
    addRoot(0.0f, 0.0f, 0.0f);
    build();
    EXPECT_TRUE(feathers.empty()) << "no description";
}

TEST_F(SystemFeathersTest, ARootWithoutGuidesInRangeTakesTheNearest) {
    addGuide(straightPath(MFloatPoint(10, 0, 0), MFloatVector(0, 0, 1), 3));  // length 2
    addGuide(straightPath(MFloatPoint(20, 0, 0), MFloatVector(0, 0, 2), 4));  // length 6
    addGuide(straightPath(MFloatPoint(-30, 0, 0), MFloatVector(0, 0, 4), 4)); // length 12
    addRoot(0.0f, 1.0f, 0.0f);
    addRoot(19.5f, 0.0f, 0.0f);

    build();
    ASSERT_EQ(feathers.size(), 2u);
    EXPECT_NEAR(feathers[0].rachisLength, 2.0f, tolerance) << "nearest guide, out of range";
    expectNear(feathers[0].rachisPoints[0], MFloatPoint(0, 1, 0), "starts at the root");
    const unsigned int last = feathers[0].rachisPoints.length() - 1;
    expectNear(feathers[0].rachisPoints[last], MFloatPoint(0, 1, 2), "ends along the guide");
    EXPECT_NEAR(feathers[1].rachisLength, 6.0f, tolerance) << "guide in range";
}

TEST_F(SystemFeathersTest, FeatherSeedsCountRootsAndSkippedRootsKeepTheirPlace) {
    addGuide(straightPath(MFloatPoint(), MFloatVector(1, 0, 0), 3));
    params().randomSeed = 100;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    addRoot(0.0f, 0.0f, 0.0f, 0.1f, 0.6f);
    addRoot(nan, 0.0f, 0.0f, 0.2f, 0.7f); // finds no guide at all
    addRoot(0.5f, 0.0f, 0.0f, 0.3f, 0.8f);

    build();
    ASSERT_EQ(feathers.size(), 2u);
    EXPECT_EQ(feathers[0].seed, 100);
    EXPECT_EQ(feathers[1].seed, 102);
    EXPECT_FLOAT_EQ(feathers[0].u, 0.1f);
    EXPECT_FLOAT_EQ(feathers[1].u, 0.3f);
    EXPECT_FLOAT_EQ(feathers[1].v, 0.8f);
    EXPECT_EQ(feathers[1].mainColor, MColor(1.0f, 1.0f, 1.0f, 1.0f));

    roots.rootU.append(0.9f); // lists of unequal length are used up to the shortest
    build();
    EXPECT_EQ(feathers.size(), 2u);
}

TEST_F(SystemFeathersTest, RandScaleShortensByDrawsFromTheSystemSeed) {
    addGuide(straightPath(MFloatPoint(), MFloatVector(0, 1, 0), 3)); // length 2
    for (int k = 0; k < 6; ++k)
        addRoot(0.1f * k, 0.0f, 0.0f);
    params().globalScale = 1.5f;
    params().randomSeed = 9;

    build();
    ASSERT_EQ(feathers.size(), 6u);
    for (const featherGeometry& feather : feathers)
        EXPECT_NEAR(feather.rachisLength, 3.0f, tolerance) << "randScale 0 keeps every length";

    params().randScale = 1.0f;
    build();
    ASSERT_EQ(feathers.size(), 6u);
    featherGenerator reference;
    reference.seed(9);
    for (unsigned int k = 0; k < 6; ++k) {
        const float scaleFactor = 1.0f - reference.randomFloat();
        EXPECT_NEAR(feathers[k].rachisLength, 3.0f * scaleFactor, tolerance) << "root " << k;
        EXPECT_GT(feathers[k].rachisLength, 0.0f);
        EXPECT_LE(feathers[k].rachisLength, 3.0f + tolerance);
    }
}

// Texture cases: plain colour plugs give one colour everywhere; a checker's outColor gives
// color1 where floor(2u) + floor(2v) is even and color2 elsewhere.
class SystemFeatherTexturesTest : public SystemFeathersTest {
  protected:
    void SetUp() override {
        SystemFeathersTest::SetUp();
        scene.fileNew();
        // Sampling looks through the view's camera, as in a scene Maya made.
        ASSERT_TRUE(scene.createNode("transform", "persp")) << scene.lastError();
        ASSERT_TRUE(scene.createNode("camera", "perspShape", "persp")) << scene.lastError();
        ASSERT_TRUE(scene.createNode("checker", "paint")) << scene.lastError();
    }
    void TearDown() override { scene.fileNew(); }

    void setColor(const std::string& plug, double r, double g, double b) {
        ASSERT_TRUE(scene.setAttr(plug, std::vector<double>{r, g, b})) << scene.lastError();
    }

    // Roots near one guide, alternating between checker squares: even k at u = 0.25 (color1),
    // odd k at u = 0.75 (color2).
    void addAlternatingRoots(int count) {
        for (int k = 0; k < count; ++k)
            addRoot(0.01f * k, 0.0f, 0.0f, k % 2 == 0 ? 0.25f : 0.75f, 0.01f * k);
    }

    void useTexture(int slot, const std::string& plug) {
        params().textureNames[slot] = plug.c_str();
    }

    host::Scene& scene = host::Scene::current();
};

TEST_F(SystemFeatherTexturesTest, BaldnessKeepsRootsWhoseDrawIsAtMostTheTexture) {
    addGuide(straightPath(MFloatPoint(), MFloatVector(0, 1, 0), 3));
    addAlternatingRoots(10);
    params().randomSeed = 30;
    useTexture(1, "paint.color1");

    setColor("paint.color1", 0.0, 0.0, 0.0);
    build();
    EXPECT_TRUE(feathers.empty()) << "black";

    setColor("paint.color1", 1.0, 1.0, 1.0);
    build();
    EXPECT_EQ(feathers.size(), 10u) << "white";

    setColor("paint.color1", 0.5, 0.5, 0.5);
    build();
    featherGenerator reference;
    reference.seed(30 + 661);
    std::vector<float> keptV;
    for (unsigned int k = 0; k < roots.length(); ++k)
        if (reference.randomFloat() <= 0.5f)
            keptV.push_back(roots.rootV[k]);
    ASSERT_GT(keptV.size(), 0u);
    ASSERT_LT(keptV.size(), 10u) << "pick a seed that drops some roots";
    ASSERT_EQ(feathers.size(), keptV.size()) << "grey";
    for (unsigned int k = 0; k < keptV.size(); ++k) {
        EXPECT_FLOAT_EQ(feathers[k].v, keptV[k]) << "kept root " << k;
        EXPECT_EQ(feathers[k].seed, static_cast<int>(30 + k)) << "seeds count kept roots";
    }

    // White squares keep everything, black ones nothing; seeds stay consecutive.
    setColor("paint.color1", 1.0, 1.0, 1.0);
    setColor("paint.color2", 0.0, 0.0, 0.0);
    useTexture(1, "paint.outColor");
    build();
    ASSERT_EQ(feathers.size(), 5u) << "checker";
    for (unsigned int k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(feathers[k].u, 0.25f);
        EXPECT_EQ(feathers[k].seed, static_cast<int>(30 + k));
    }

    host::MessageCapture quiet;
    useTexture(1, "nowhere.outColor");
    build();
    EXPECT_EQ(feathers.size(), 10u) << "a texture that fails to sample keeps every root";
}

TEST_F(SystemFeatherTexturesTest, ColourAndScaleTexturesApplyPerKeptRoot) {
    addGuide(straightPath(MFloatPoint(), MFloatVector(0, 1, 0), 3)); // length 2
    addAlternatingRoots(4);
    setColor("paint.color1", 1.0, 0.0, 0.0);
    setColor("paint.color2", 0.0, 0.25, 1.0);
    useTexture(2, "paint.outColor");
    ASSERT_TRUE(scene.createNode("checker", "size")) << scene.lastError();
    setColor("size.color1", 0.5, 0.25, 0.75);
    setColor("size.color2", 1.0, 1.0, 0.7);
    useTexture(0, "size.outColor");

    build();
    ASSERT_EQ(feathers.size(), 4u);
    for (unsigned int k = 0; k < 4; ++k) {
        const bool first = k % 2 == 0;
        EXPECT_EQ(feathers[k].mainColor,
                  first ? MColor(1.0f, 0.0f, 0.0f, 1.0f) : MColor(0.0f, 0.25f, 1.0f, 1.0f))
            << "root " << k;
        EXPECT_NEAR(feathers[k].rachisLength, first ? 1.0f : 1.8f, tolerance) << "root " << k;
    }
}

TEST_F(SystemFeatherTexturesTest, RadiusTextureScalesTheSearchRadius) {
    // Guide roots 1 and 2 away from the feather root; blended equally they give length 2.
    addGuide(straightPath(MFloatPoint(1, 0, 0), MFloatVector(0, 1, 0), 2));
    addGuide(straightPath(MFloatPoint(0, 0, 2), MFloatVector(0, 3, 0), 2));
    addRoot(0.0f, 0.0f, 0.0f);
    params().radius = 5.0f;
    params().guidsPerFeather = 2;
    params().power = 0.0f;
    useTexture(3, "paint.color1");

    struct radiusCase {
        double grey;
        float length;
        const char* what;
    };
    for (const radiusCase& c : {radiusCase{1.0, 2.0f, "white: both guides"},
                                radiusCase{0.5, 2.0f, "radius 2.5: both guides"},
                                radiusCase{0.3, 1.0f, "radius 1.5: the near guide"},
                                radiusCase{0.0, 1.0f, "black: nearest guide only"}}) {
        setColor("paint.color1", c.grey, c.grey, c.grey);
        build();
        ASSERT_EQ(feathers.size(), 1u) << c.what;
        EXPECT_NEAR(feathers[0].rachisLength, c.length, tolerance) << c.what;
    }
}

TEST_F(SystemFeatherTexturesTest, APassRepeatsExactlyWhateverWasDrawnBefore) {
    addGuide(straightPath(MFloatPoint(), MFloatVector(0, 1, 0), 4, MFloatVector(1, 0, 0)));
    addGuide(straightPath(MFloatPoint(0.3f, 0, 0), MFloatVector(0.2f, 1, 0), 4));
    addAlternatingRoots(12);
    params().randScale = 0.7f;
    params().guidsPerFeather = 2;
    params().randomSeed = 5;
    setColor("paint.color1", 0.6, 0.6, 0.6);
    setColor("paint.color2", 0.9, 0.8, 0.7);
    useTexture(1, "paint.outColor");
    useTexture(2, "paint.outColor");

    build();
    const std::vector<featherGeometry> first = feathers;
    ASSERT_GT(first.size(), 0u);
    generator.seed(12345);
    for (int k = 0; k < 1000; ++k)
        generator.randomFloat();
    build();
    ASSERT_EQ(feathers.size(), first.size());
    for (size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(feathers[k].seed, first[k].seed);
        EXPECT_EQ(feathers[k].u, first[k].u);
        EXPECT_EQ(feathers[k].mainColor, first[k].mainColor);
        ASSERT_EQ(feathers[k].rachisPoints.length(), first[k].rachisPoints.length());
        for (unsigned int i = 0; i < first[k].rachisPoints.length(); ++i)
            EXPECT_TRUE(feathers[k].rachisPoints[i] == first[k].rachisPoints[i])
                << "feather " << k << " point " << i;
    }
}

// A plan prepared once builds any range of roots, in any order and after the scene's guides
// have changed, exactly as the whole pass: what a streamed or split export relies on.
TEST_F(SystemFeatherTexturesTest, APlanBuildsAnyRangeAloneExactlyAsTheWholePass) {
    addGuide(straightPath(MFloatPoint(0.3f, 0, 0), MFloatVector(0.2f, 1, 0), 4));
    addGuide(straightPath(MFloatPoint(-0.2f, 0, 0), MFloatVector(0, 1, 0.3f), 5));
    addAlternatingRoots(12);
    params().randScale = 0.7f;
    params().guidsPerFeather = 2;
    setColor("paint.color1", 0.2, 0.2, 0.2);
    setColor("paint.color2", 0.9, 0.8, 0.7);
    useTexture(1, "paint.outColor"); // baldness: some roots go
    useTexture(2, "paint.outColor");
    build();
    const std::vector<featherGeometry> whole = feathers;
    ASSERT_GT(whole.size(), 2u);

    systemBuildPlan plan;
    ASSERT_TRUE(plan.prepare(generator, registry, roots));
    ASSERT_EQ(plan.slotCount(), whole.size());
    for (turtlePath& guide : paths) // the scene's guides change; the plan keeps its own
        guide.frames[1].position.x += 5.0f;
    std::vector<featherGeometry> pieces(plan.slotCount());
    for (const size_t first : {size_t(5), size_t(0), size_t(2)})
        plan.build(first, std::min(first + 3, plan.slotCount()),
                   [&](size_t slot, const featherGeometry& feather, unsigned int) {
                       pieces[slot] = feather;
                   });
    plan.build(8, plan.slotCount(), [&](size_t slot, const featherGeometry& feather, unsigned int) {
        pieces[slot] = feather;
    });
    for (size_t k = 0; k < whole.size(); ++k) {
        EXPECT_EQ(pieces[k].seed, whole[k].seed) << k;
        EXPECT_EQ(pieces[k].mainColor, whole[k].mainColor) << k;
        ASSERT_EQ(pieces[k].rachisPoints.length(), whole[k].rachisPoints.length()) << k;
        for (unsigned int i = 0; i < whole[k].rachisPoints.length(); ++i)
            EXPECT_TRUE(pieces[k].rachisPoints[i] == whole[k].rachisPoints[i])
                << "feather " << k << " point " << i;
    }
}

} // namespace

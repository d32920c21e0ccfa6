// The built-in texture nodes (checker, ramp, file, place2dTexture) sampled through
// MRenderUtil::sampleShadingNetwork.

#include "pngFiles.h"

#include <host/image.h>
#include <host/messages.h>
#include <host/scene.h>

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MRenderUtil.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using host::MessageKind;
using UV = std::pair<float, float>;

struct Rgb {
    float r, g, b;
};

constexpr float kTolerance = 1e-5f;

class TextureTest : public ::testing::Test {
  protected:
    void SetUp() override { scene.fileNew(); }
    void TearDown() override {
        scene.fileNew();
        if (!scratch_.empty())
            std::filesystem::remove_all(scratch_);
    }

    std::string scratchDir() {
        if (scratch_.empty()) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "textureTestXXXXXX").string();
            scratch_ = mkdtemp(pattern.data()) ? pattern : std::string();
        }
        return scratch_;
    }

    std::string create(const std::string& type) {
        std::string name;
        EXPECT_TRUE(scene.createNode(type, "", "", &name)) << type;
        return name;
    }
    void set(const std::string& plug, std::vector<double> values) {
        ASSERT_TRUE(scene.setAttr(plug, values)) << plug;
    }
    void set(const std::string& plug, double value) {
        ASSERT_TRUE(scene.setAttr(plug, value)) << plug;
    }
    void connect(const std::string& source, const std::string& destination) {
        ASSERT_TRUE(scene.connectAttr(source, destination)) << source << " -> " << destination;
    }

    MStatus sample(const std::string& network, const std::vector<UV>& uvs) {
        MFloatArray u, v;
        for (const UV& uv : uvs) {
            u.append(uv.first);
            v.append(uv.second);
        }
        MFloatMatrix camera;
        return MRenderUtil::sampleShadingNetwork(
            network.c_str(), static_cast<int>(uvs.size()), false, false, camera, nullptr, &u, &v,
            nullptr, nullptr, nullptr, nullptr, nullptr, colors, transparencies);
    }
    // Samples the network at the uvs and compares with the expected colours.
    void expectColors(const std::string& network, const std::vector<UV>& uvs,
                      const std::vector<Rgb>& expected, float tolerance = kTolerance) {
        ASSERT_TRUE(sample(network, uvs)) << network;
        ASSERT_EQ(colors.length(), uvs.size()) << network;
        for (size_t i = 0; i < uvs.size(); ++i) {
            unsigned int s = static_cast<unsigned int>(i);
            const std::string where = network + " at (" + std::to_string(uvs[i].first) + ", " +
                                      std::to_string(uvs[i].second) + ")";
            EXPECT_NEAR(colors[s].x, expected[i].r, tolerance) << where;
            EXPECT_NEAR(colors[s].y, expected[i].g, tolerance) << where;
            EXPECT_NEAR(colors[s].z, expected[i].b, tolerance) << where;
            EXPECT_EQ(transparencies[s].x + transparencies[s].y + transparencies[s].z, 0.0f)
                << where;
        }
    }
    static Rgb grey(float value) { return {value, value, value}; }

    // A 2 × 2 image: red and green on the top row, blue and a 20 % opaque white below.
    std::string writeQuadPng(const std::string& name) {
        host::Image image;
        image.width = 2;
        image.height = 2;
        image.pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 51};
        std::string path = scratchDir() + "/" + name;
        EXPECT_TRUE(writeTestPng(path, image));
        return path;
    }

    host::Scene scene;
    MFloatVectorArray colors, transparencies;

  private:
    std::string scratch_;
};

TEST_F(TextureTest, CheckerAlternatesHalfSquaresAndContrastPullsToTheMean) {
    const std::string checker = create("checker");
    const std::vector<UV> quarters = {
        {0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}, {1.25f, 0.25f}};
    // Squares repeat every unit.
    expectColors(checker + ".outColor", quarters, {grey(1), grey(0), grey(0), grey(1), grey(1)});

    set(checker + ".c1", {1.0, 0.0, 0.0});
    set(checker + ".c2", {0.0, 0.0, 1.0});
    expectColors(checker + ".oc", quarters,
                 {{1, 0, 0}, {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {1, 0, 0}});
    // The alpha of a procedural texture is its luminance, sampled as grey.
    expectColors(checker + ".outAlpha", quarters,
                 {grey(0.3f), grey(0.11f), grey(0.11f), grey(0.3f), grey(0.3f)});
    expectColors(checker + ".outColorB", quarters, {grey(0), grey(1), grey(1), grey(0), grey(0)});

    set(checker + ".ct", 0.5);
    expectColors(checker + ".oc", {{0.25f, 0.25f}, {0.75f, 0.25f}},
                 {{0.75f, 0, 0.25f}, {0.25f, 0, 0.75f}});
    set(checker + ".ct", 0.0);
    expectColors(checker + ".oc", quarters, std::vector<Rgb>(5, Rgb{0.5f, 0, 0.5f}));
}

TEST_F(TextureTest, CheckerColoursFedByAnotherTextureFollowIt) {
    const std::string ramp = create("ramp");
    set(ramp + ".t", 1.0); // black to white along u
    set(ramp + ".cel[0].ep", 0.0);
    set(ramp + ".cel[1].ep", 1.0);
    set(ramp + ".cel[1].ec", {1.0, 1.0, 1.0});
    const std::string checker = create("checker");
    connect(ramp + ".oc", checker + ".c1");
    // The checker's color1 squares show the ramp at the same uv.
    expectColors(checker + ".oc", {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}},
                 {grey(0.25f), grey(0), grey(0.75f)});
}

class TextureRampTest : public TextureTest {
  protected:
    // Entries sparse, their logical indices in the opposite order to their positions: black at
    // 0, (1, 0.5, 0.25) at 1.
    std::string linearRamp() {
        const std::string ramp = create("ramp");
        set(ramp + ".cel[2].ep", 1.0);
        set(ramp + ".cel[2].ec", {1.0, 0.5, 0.25});
        set(ramp + ".cel[7].ep", 0.0);
        set(ramp + ".cel[7].ec", {0.0, 0.0, 0.0});
        set(ramp + ".in", 1.0);
        return ramp;
    }
    static Rgb along(float t) { return {t, t / 2.0f, t / 4.0f}; }
};

TEST_F(TextureRampTest, EachTypeMapsUvToItsDocumentedParameter) {
    const std::string ramp = linearRamp();
    struct Case {
        int type;
        UV uv;
        float t;
    };
    const Case cases[] = {
        {0, {0.2f, 0.7f}, 0.7f},           // V
        {1, {0.2f, 0.7f}, 0.2f},           // U
        {2, {0.2f, 0.7f}, 0.45f},          // diagonal
        {3, {0.5f, 0.9f}, 0.25f},          // radial: a quarter turn from +u
        {3, {0.5f, 0.1f}, 0.75f},          // radial: three quarters
        {4, {0.65f, 0.7f}, 0.5f},          // circular: 0.25 from the centre
        {4, {1.0f, 1.0f}, 1.0f},           // circular: corners beyond the last entry
        {5, {0.2f, 0.6f}, 0.6f},           // box
        {6, {0.5f, 0.6f}, 0.3f},           // UV
        {7, {0.25f, 0.75f}, 7.0f / 12.0f}, // four corner
        {8, {0.2f, 0.6f}, 0.4f},           // tartan
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        set(ramp + ".t", c.type);
        expectColors(ramp + ".outColor", {c.uv}, {along(c.t)});
    }
}

TEST_F(TextureRampTest, InterpolationsBlendBetweenSortedEntries) {
    const std::string ramp = create("ramp");
    // Logical indices out of the order of positions.
    set(ramp + ".cel[1].ep", 0.7);
    set(ramp + ".cel[1].ec", {0.0, 0.0, 1.0});
    set(ramp + ".cel[9].ep", 0.2);
    set(ramp + ".cel[9].ec", {1.0, 0.0, 0.0});
    set(ramp + ".cel[4].ep", 0.4);
    set(ramp + ".cel[4].ec", {0.0, 1.0, 0.0});
    const std::vector<UV> along = {{0, 0.1f}, {0, 0.3f}, {0, 0.4f}, {0, 0.55f}, {0, 0.9f}};

    set(ramp + ".in", 0.0); // none: each entry holds until the next one
    expectColors(ramp + ".oc", along, {{1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}});
    set(ramp + ".in", 1.0);
    expectColors(ramp + ".oc", along,
                 {{1, 0, 0}, {0.5f, 0.5f, 0}, {0, 1, 0}, {0, 0.5f, 0.5f}, {0, 0, 1}});

    // At a quarter of the way from red to green.
    const std::vector<UV> quarter = {{0, 0.25f}};
    set(ramp + ".in", 2.0);
    expectColors(ramp + ".oc", quarter, {{1 - 0.0625f, 0.0625f, 0}});
    set(ramp + ".in", 3.0);
    expectColors(ramp + ".oc", quarter, {{1 - 0.4375f, 0.4375f, 0}});
    set(ramp + ".in", 4.0);
    expectColors(ramp + ".oc", quarter, {{1 - 0.15625f, 0.15625f, 0}});
    const float hump = 0.5f * std::sin(3.14159265f * 0.25f);
    set(ramp + ".in", 5.0);
    expectColors(ramp + ".oc", quarter, {{0.75f + hump, 0.25f + hump, 0}});
    set(ramp + ".in", 6.0);
    expectColors(ramp + ".oc", quarter, {{0.75f - hump, 0.25f - hump, 0}});
}

TEST_F(TextureRampTest, WithoutEntriesARampIsBlackAndItsAlphaIsItsLuminance) {
    const std::string empty = create("ramp");
    expectColors(empty + ".oc", {{0.5f, 0.5f}}, {grey(0)});
    const std::string ramp = linearRamp();
    expectColors(ramp + ".oa", {{0.5f, 0.8f}}, {grey(0.3f * 0.8f + 0.59f * 0.4f + 0.11f * 0.2f)});
}

TEST_F(TextureTest, FileTexturesBlendTexelsBilinearlyAndWrap) {
    const std::string file = create("file");
    ASSERT_TRUE(scene.setAttr(file + ".ftn", writeQuadPng("quad.png")));
    // Texel centres: row 0 is the top of the picture, at v = 0.75.
    expectColors(file + ".outColor",
                 {{0.25f, 0.75f}, {0.75f, 0.75f}, {0.25f, 0.25f}, {0.75f, 0.25f}},
                 {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}});
    // Halfway between red and green; a quarter of the way from red to blue.
    expectColors(file + ".oc", {{0.5f, 0.75f}, {0.25f, 0.625f}},
                 {{0.5f, 0.5f, 0}, {0.75f, 0, 0.25f}}, 1e-4f);
    // Near the left edge the last column blends in.
    expectColors(file + ".oc", {{0.125f, 0.75f}, {1.25f, 0.75f}}, {{0.75f, 0.25f, 0}, {1, 0, 0}},
                 1e-4f);
    expectColors(file + ".outAlpha", {{0.25f, 0.75f}, {0.75f, 0.25f}}, {grey(1), grey(0.2f)});
    expectColors(file + ".outTransparency", {{0.75f, 0.25f}}, {grey(0.8f)}, 1e-4f);
}

TEST_F(TextureTest, FileColourGainAndOffsetApply) {
    const std::string file = create("file");
    ASSERT_TRUE(scene.setAttr(file + ".ftn", writeQuadPng("quad.png")));
    set(file + ".cg", {0.5, 1.0, 1.0});
    set(file + ".co", {0.0, 0.0, 0.25});
    expectColors(file + ".oc", {{0.25f, 0.75f}}, {{0.5f, 0, 0.25f}});
}

TEST_F(TextureTest, UnreadableImagesFailWithOneWarningNamingFileAndNode) {
    const std::string file = create("file");
    const std::string missing = scratchDir() + "/missing.png";
    const std::string text = scratchDir() + "/notAnImage.png";
    std::ofstream(text) << "plain text, not an image\n";
    for (const std::string& path : {missing, text}) {
        ASSERT_TRUE(scene.setAttr(file + ".ftn", path));
        host::MessageCapture capture;
        EXPECT_FALSE(sample(file + ".outColor", {{0.5f, 0.5f}})) << path;
        ASSERT_EQ(capture.count(MessageKind::kWarning), 1u) << path;
        EXPECT_EQ(capture.count(MessageKind::kError), 0u) << path;
        const std::string warning = capture.texts(MessageKind::kWarning)[0];
        EXPECT_NE(warning.find(path), std::string::npos) << warning;
        EXPECT_NE(warning.find("'" + file + "'"), std::string::npos) << warning;
        EXPECT_EQ(colors.length(), 0u);
    }
}

TEST_F(TextureTest, Place2dTextureRepeatOffsetAndRotationMoveTheTexture) {
    const std::string checker = create("checker");
    const std::string place = create("place2dTexture");
    connect(place + ".outUV", checker + ".uvCoord");
    const std::vector<UV> uvs = {{0.3f, 0.1f}, {0.1f, 0.1f}};
    expectColors(checker + ".oc", uvs, {grey(1), grey(1)});
    set(place + ".re", {2.0, 2.0});
    expectColors(checker + ".oc", uvs, {grey(0), grey(1)});
    set(place + ".re", {1.0, 1.0});
    set(place + ".of", {0.5, 0.0});
    expectColors(checker + ".oc", uvs, {grey(0), grey(0)});

    set(place + ".re", {2.0, 3.0});
    set(place + ".of", {0.1, 0.0});
    expectColors(place + ".outUV", {{0.3f, 0.4f}}, {{0.7f, 0.2f, 0}}, 1e-5f);
    expectColors(place + ".outV", {{0.3f, 0.4f}}, {grey(0.2f)}, 1e-5f);

    set(place + ".re", {1.0, 1.0});
    set(place + ".of", {0.0, 0.0});
    set(place + ".r", 1.5707963267948966); // a quarter turn about the centre
    expectColors(place + ".o", {{0.75f, 0.5f}}, {{0.5f, 0.75f, 0}}, 1e-5f);
}

TEST_F(TextureTest, WithWrapOffSamplesBeyondTheTextureTakeTheDefaultColour) {
    const std::string checker = create("checker");
    const std::string place = create("place2dTexture");
    connect(place + ".o", checker + ".uv");
    set(place + ".re", {2.0, 1.0});
    set(checker + ".dc", {0.1, 0.2, 0.3});
    set(place + ".wu", 0.0);
    const std::vector<UV> uvs = {{0.2f, 0.1f}, {0.8f, 0.1f}};
    expectColors(checker + ".oc", uvs, {grey(1), {0.1f, 0.2f, 0.3f}});
    expectColors(checker + ".oa", uvs, {grey(1), grey(0)});
    set(place + ".wu", 1.0); // 1.6 wraps to 0.6, a black square
    expectColors(checker + ".oc", uvs, {grey(1), grey(0)});
}

TEST_F(TextureTest, CoverageBelowOneShrinksTheTextureIntoPartOfEachUnit) {
    const std::string checker = create("checker");
    const std::string place = create("place2dTexture");
    connect(place + ".o", checker + ".uv");
    set(checker + ".dc", {0.1, 0.2, 0.3});
    set(place + ".c", {0.5, 1.0});
    set(place + ".tf", {0.0, 0.25});
    // u 0.3 lies at 0.6 of the covered half: black; u 0.7 is beyond the coverage; the frame
    // repeats every unit, so u 1.1 is at 0.2: white. v moves by translateFrame: 0.5 → 0.25.
    expectColors(checker + ".oc", {{0.3f, 0.5f}, {0.7f, 0.5f}, {1.1f, 0.5f}, {0.1f, 0.8f}},
                 {grey(0), {0.1f, 0.2f, 0.3f}, grey(1), grey(0)});
}

TEST_F(TextureTest, TexturesFedByTheirOwnOutputFailInsteadOfRecursing) {
    const std::string checker = create("checker");
    if (!scene.connectAttr(checker + ".oc", checker + ".c1"))
        GTEST_SKIP() << "the graph refuses the cycle";
    host::MessageCapture capture;
    EXPECT_FALSE(sample(checker + ".oc", {{0.25f, 0.25f}}));
    ASSERT_EQ(capture.count(MessageKind::kWarning), 1u);
    EXPECT_TRUE(capture.contains(MessageKind::kWarning, "cycle"))
        << capture.texts(MessageKind::kWarning)[0];
}

TEST_F(TextureTest, SceneFilesConnectFileTexturesToTheirPlacement) {
    const std::string image = writeQuadPng("quad.png");
    const std::string path = scratchDir() + "/textured.ma";
    std::ofstream(path) << "//Maya ASCII 2020 scene\n"
                           "requires maya \"2020\";\n"
                           "currentUnit -l centimeter -a degree -t film;\n"
                           "createNode file -n \"file1\";\n"
                           "\tsetAttr \".ftn\" -type \"string\" \""
                        << image
                        << "\";\n"
                           "createNode place2dTexture -n \"place2dTexture1\";\n"
                           "\tsetAttr \".re\" -type \"float2\" 2 2 ;\n"
                           "connectAttr \"place2dTexture1.c\" \"file1.c\";\n"
                           "connectAttr \"place2dTexture1.tf\" \"file1.tf\";\n"
                           "connectAttr \"place2dTexture1.wu\" \"file1.wu\";\n"
                           "connectAttr \"place2dTexture1.re\" \"file1.re\";\n"
                           "connectAttr \"place2dTexture1.r\" \"file1.ro\";\n"
                           "connectAttr \"place2dTexture1.o\" \"file1.uv\";\n"
                           "connectAttr \"place2dTexture1.ofs\" \"file1.fs\";\n";
    host::MessageCapture capture;
    ASSERT_TRUE(scene.openFile(path));
    EXPECT_EQ(capture.count(MessageKind::kError), 0u);
    EXPECT_EQ(capture.count(MessageKind::kWarning), 0u);
    // Repeated twice, (0.125, 0.375) lands on the red texel's centre and (0.625, 0.875) too.
    expectColors("file1.outColor", {{0.125f, 0.375f}, {0.625f, 0.875f}, {0.375f, 0.125f}},
                 {{1, 0, 0}, {1, 0, 0}, {1, 1, 1}}, 1e-4f);
}

TEST_F(TextureTest, PlacementRotationsReadFromFilesAreInTheFilesAngleUnit) {
    const std::string path = scratchDir() + "/rotated.ma";
    std::ofstream(path) << "//Maya ASCII 2020 scene\n"
                           "currentUnit -l centimeter -a degree -t film;\n"
                           "createNode place2dTexture -n \"turned\";\n"
                           "\tsetAttr \".r\" 90;\n"
                           "\tsetAttr \".rf\" 45;\n";
    ASSERT_TRUE(scene.openFile(path));
    double rotateUV = 0.0, rotateFrame = 0.0;
    ASSERT_TRUE(scene.getAttr("turned.rotateUV", rotateUV));
    ASSERT_TRUE(scene.getAttr("turned.rotateFrame", rotateFrame));
    EXPECT_NEAR(rotateUV, M_PI / 2, 1e-12);
    EXPECT_NEAR(rotateFrame, M_PI / 4, 1e-12);
}

} // namespace

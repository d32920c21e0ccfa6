// Sampling shading networks (MRenderUtil::sampleShadingNetwork) on nodes driven through the
// host's scene.

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "shading/samplerRegistry.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>
#include <maya/MRenderUtil.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Plain attributes of every kind a network name may point at, and a computed output.
class ShadedNode : public MPxNode {
  public:
    static MObject baseColor, density, count, label, weights, outGlow;
    static void* creator() { return new ShadedNode; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        baseColor = n.createColor("baseColor", "bc");
        n.setDefault(0.2f, 0.4f, 0.6f);
        density = n.create("density", "den", MFnNumericData::kFloat, 0.5);
        count = n.create("count", "cnt", MFnNumericData::kInt, 3);
        weights = n.create("weights", "wt", MFnNumericData::kFloat, 0.0);
        n.setArray(true);
        outGlow = n.createColor("outGlow", "ogl");
        n.setWritable(false);
        MFnTypedAttribute t;
        label = t.create("label", "lb", MFnData::kString);
        for (MObject* attribute : {&baseColor, &density, &count, &weights, &outGlow, &label})
            addAttribute(*attribute);
        attributeAffects(baseColor, outGlow);
        return MS::kSuccess;
    }
};
MObject ShadedNode::baseColor, ShadedNode::density, ShadedNode::count, ShadedNode::label,
    ShadedNode::weights, ShadedNode::outGlow;

// A texture-like node: its outputs mean something only through a registered sampler.
class TextureNode : public MPxNode {
  public:
    static MObject outColor, outAlpha;
    static void* creator() { return new TextureNode; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        outColor = n.createColor("outColor", "oc");
        n.setWritable(false);
        outAlpha = n.create("outAlpha", "oa", MFnNumericData::kFloat, 0.0);
        n.setWritable(false);
        addAttribute(outColor);
        addAttribute(outAlpha);
        return MS::kSuccess;
    }
};
MObject TextureNode::outColor, TextureNode::outAlpha;

// outColor is (u, v, 0.25) with transparency (0.1, 0.2, 0.3); other plugs are refused.
MStatus sampleTexture(const host::PlugRef& plug, const host::ShadingInputs& inputs,
                      MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                      std::string* error) {
    if (plug.attribute != host::attributeDef(TextureNode::outColor) || !inputs.u || !inputs.v) {
        *error = "only outColor at given uvs";
        return MS::kFailure;
    }
    for (unsigned int i = 0; i < static_cast<unsigned int>(inputs.count); ++i) {
        colors[i] = MFloatVector((*inputs.u)[i], (*inputs.v)[i], 0.25f);
        transparencies[i] = MFloatVector(0.1f, 0.2f, 0.3f);
    }
    return MS::kSuccess;
}

class ShadingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        auto& types = host::TypeRegistry::instance();
        ASSERT_TRUE(types.registerNode("testShadedNode", MTypeId(0x7f201), &ShadedNode::creator,
                                       &ShadedNode::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
        ASSERT_TRUE(types.registerNode("testTexture", MTypeId(0x7f202), &TextureNode::creator,
                                       &TextureNode::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
    }
    void SetUp() override {
        scene.fileNew();
        for (int i = 0; i < 4; ++i) {
            u.append(0.1f * float(i));
            v.append(1.0f - 0.2f * float(i));
        }
        // Left over from an earlier call: sampling must replace it.
        colors.setLength(9);
        transparencies.setLength(9);
        for (unsigned int i = 0; i < 9; ++i)
            transparencies[i] = MFloatVector(7.0f, 7.0f, 7.0f);
    }
    void TearDown() override {
        host::SamplerRegistry::instance().remove("testTexture");
        scene.fileNew();
    }

    std::string create(const std::string& type) {
        std::string name;
        EXPECT_TRUE(scene.createNode(type, "", "", &name));
        return name;
    }
    MStatus sample(const std::string& network, int count = 4) {
        MFloatMatrix camera;
        return MRenderUtil::sampleShadingNetwork(network.c_str(), count, false, false, camera,
                                                 nullptr, &u, &v, nullptr, nullptr, nullptr,
                                                 nullptr, nullptr, colors, transparencies);
    }
    // Every sample is this colour, with no transparency.
    void expectEverywhere(float r, float g, float b) {
        ASSERT_EQ(colors.length(), 4u);
        ASSERT_EQ(transparencies.length(), 4u);
        for (unsigned int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(colors[i].x, r) << "sample " << i;
            EXPECT_FLOAT_EQ(colors[i].y, g) << "sample " << i;
            EXPECT_FLOAT_EQ(colors[i].z, b) << "sample " << i;
            EXPECT_EQ(transparencies[i].x + transparencies[i].y + transparencies[i].z, 0.0f);
        }
    }
    // The call failed with exactly one warning, naming the network, and no results.
    void expectFailureNaming(MStatus status, const host::MessageCapture& capture,
                             const std::string& network, const std::string& reason) {
        EXPECT_FALSE(status) << network;
        ASSERT_EQ(capture.count(host::MessageKind::kWarning), 1u) << network;
        EXPECT_TRUE(capture.contains(host::MessageKind::kWarning, "'" + network + "'"))
            << capture.texts(host::MessageKind::kWarning)[0];
        EXPECT_TRUE(capture.contains(host::MessageKind::kWarning, reason))
            << capture.texts(host::MessageKind::kWarning)[0];
        EXPECT_EQ(colors.length(), 0u);
        EXPECT_EQ(transparencies.length(), 0u);
    }

    host::Scene& scene = host::Scene::current();
    MFloatArray u, v;
    MFloatVectorArray colors, transparencies;
};

TEST_F(ShadingTest, PlainAttributesGiveTheirOwnValueAtEverySample) {
    std::string node = create("testShadedNode");
    ASSERT_TRUE(sample(node + ".baseColor"));
    expectEverywhere(0.2f, 0.4f, 0.6f);

    ASSERT_TRUE(scene.setAttr(node + ".baseColor", std::vector<double>{0.9, 0.1, 0.3}));
    ASSERT_TRUE(sample(node + ".bc"));
    expectEverywhere(0.9f, 0.1f, 0.3f);

    ASSERT_TRUE(sample(node + ".density"));
    expectEverywhere(0.5f, 0.5f, 0.5f);
    ASSERT_TRUE(sample(node + ".baseColorG"));
    expectEverywhere(0.1f, 0.1f, 0.1f);
    ASSERT_TRUE(sample(node + ".count"));
    expectEverywhere(3.0f, 3.0f, 3.0f);
    ASSERT_TRUE(scene.setAttr(node + ".weights[2]", 0.75));
    ASSERT_TRUE(sample(node + ".weights[2]"));
    expectEverywhere(0.75f, 0.75f, 0.75f);

    ASSERT_TRUE(sample(node + ".density", 0));
    EXPECT_EQ(colors.length(), 0u);
    EXPECT_EQ(transparencies.length(), 0u);
}

TEST_F(ShadingTest, ConnectedPlugsAreSampledThroughTheirSources) {
    std::string source = create("testShadedNode");
    std::string node = create("testShadedNode");
    ASSERT_TRUE(scene.setAttr(source + ".baseColor", std::vector<double>{1.0, 0.5, 0.25}));
    ASSERT_TRUE(scene.connectAttr(source + ".baseColor", node + ".baseColor"));
    ASSERT_TRUE(sample(node + ".baseColor"));
    expectEverywhere(1.0f, 0.5f, 0.25f);
    ASSERT_TRUE(sample(node + ".baseColorB"));
    expectEverywhere(0.25f, 0.25f, 0.25f);

    // One connected component: the other two keep their own values.
    std::string other = create("testShadedNode");
    ASSERT_TRUE(scene.setAttr(source + ".density", 0.8));
    ASSERT_TRUE(scene.connectAttr(source + ".density", other + ".baseColorG"));
    ASSERT_TRUE(sample(other + ".baseColor"));
    expectEverywhere(0.2f, 0.8f, 0.6f);
}

TEST_F(ShadingTest, RegisteredSamplersEvaluateTheirNodeTypePerSample) {
    std::string texture = create("testTexture");
    std::string node = create("testShadedNode");
    ASSERT_TRUE(scene.connectAttr(texture + ".outColor", node + ".baseColor"));
    {
        host::MessageCapture capture;
        expectFailureNaming(sample(node + ".baseColor"), capture, node + ".baseColor",
                            "'testTexture'");
    }

    host::SamplerRegistry::instance().add("testTexture", &sampleTexture);
    for (const std::string& network : {texture + ".outColor", node + ".baseColor"}) {
        ASSERT_TRUE(sample(network)) << network;
        ASSERT_EQ(colors.length(), 4u);
        for (unsigned int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(colors[i].x, u[i]);
            EXPECT_FLOAT_EQ(colors[i].y, v[i]);
            EXPECT_FLOAT_EQ(colors[i].z, 0.25f);
            EXPECT_FLOAT_EQ(transparencies[i].y, 0.2f);
        }
    }
    ASSERT_TRUE(sample(node + ".baseColorG"));
    for (unsigned int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(colors[i].x, v[i]);
        EXPECT_FLOAT_EQ(colors[i].z, v[i]);
        EXPECT_FLOAT_EQ(transparencies[i].x, 0.2f);
    }

    // A sampler's refusal is reported with the plug it was asked for.
    host::MessageCapture capture;
    expectFailureNaming(sample(texture + ".outAlpha"), capture, texture + ".outAlpha",
                        "only outColor");
}

TEST_F(ShadingTest, UnsampleablePlugsFailWithOneWarningNamingThem) {
    std::string node = create("testShadedNode");
    ASSERT_TRUE(scene.createNode("lambert", "lambert1", "", nullptr, true));
    const std::pair<std::string, std::string> cases[] = {
        {"nowhere.outColor", "no node named 'nowhere'"},
        {node + ".noSuchAttribute", "no attribute 'noSuchAttribute'"},
        {"justAName", "not a plug name"},
        {node + ".outGlow", "'testShadedNode'"},
        {node + ".label", "neither a colour nor a float"},
        {node + ".weights", "is an array"},
        {"lambert1.color", "cannot sample nodes of type 'lambert'"},
    };
    for (const auto& [network, reason] : cases) {
        host::MessageCapture capture;
        expectFailureNaming(sample(network), capture, network, reason);
    }

    host::MessageCapture capture;
    MFloatArray shortU(2, 0.5f);
    MFloatMatrix camera;
    MStatus status = MRenderUtil::sampleShadingNetwork(
        (node + ".density").c_str(), 4, false, false, camera, nullptr, &shortU, &v, nullptr,
        nullptr, nullptr, nullptr, nullptr, colors, transparencies);
    EXPECT_EQ(status, MS::kInvalidParameter);
    expectFailureNaming(status, capture, node + ".density", "fewer than 4");
}

} // namespace

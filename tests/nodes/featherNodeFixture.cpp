#include "featherNodeFixture.h"

#include "feather/idRegistry.h"
#include "graph/nodeType.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/featherTurtleData.h"
#include "plugin/plugin.h"
#include "plugin/sharedObjects.h"
#include "shading/samplerRegistry.h"

#include <host/mel.h>

#include <maya/MDoubleArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnNurbsSurfaceData.h>
#include <maya/MFnPluginData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

#include <limits>
#include <memory>

extern "C" MStatus initializePlugin(MObject obj);
extern "C" MStatus uninitializePlugin(MObject obj);

namespace {

// A texture node for colour sampling: its colour at (u, v) is (u, v, 0.25).
class uvTexture : public MPxNode {
  public:
    static MObject outColor;
    static void* creator() { return new uvTexture; }
    static MStatus initialize() {
        MFnNumericAttribute fn;
        outColor = fn.createColor("outColor", "oc");
        fn.setWritable(false);
        return addAttribute(outColor);
    }
};
MObject uvTexture::outColor;

// A source of numbers that plugs refuse from outside: its outputs are NaN and infinity.
class notANumber : public MPxNode {
  public:
    static MObject nan, infinity;
    static void* creator() { return new notANumber; }
    static MStatus initialize() {
        MFnNumericAttribute fn;
        nan = fn.create("nan", "nan", MFnNumericData::kDouble, 0.0);
        fn.setWritable(false);
        infinity = fn.create("infinity", "inf", MFnNumericData::kDouble, 0.0);
        fn.setWritable(false);
        addAttribute(nan);
        return addAttribute(infinity);
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != nan && plug != infinity)
            return MS::kUnknownParameter;
        data.outputValue(plug).set(plug == nan ? std::numeric_limits<double>::quiet_NaN()
                                               : std::numeric_limits<double>::infinity());
        data.setClean(plug);
        return MS::kSuccess;
    }
};
MObject notANumber::nan, notANumber::infinity;

MStatus sampleUvTexture(const host::PlugRef&, const host::ShadingInputs& inputs,
                        MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                        std::string*) {
    for (unsigned int i = 0; i < static_cast<unsigned int>(inputs.count); ++i) {
        colors[i] = MFloatVector((*inputs.u)[i], (*inputs.v)[i], 0.25f);
        transparencies[i] = MFloatVector(0.0f, 0.0f, 0.0f);
    }
    return MS::kSuccess;
}

MDoubleArray doubles(std::initializer_list<double> values) {
    MDoubleArray array;
    for (double v : values)
        array.append(v);
    return array;
}

turtleRecord recordOf(const testTurtle& turtle) {
    turtleRecord record;
    for (unsigned int k = 0; k < turtle.points; ++k) {
        record.points.append(turtle.root + turtle.along * static_cast<double>(k));
        record.normals.append(MVector(0.0, 1.0, 0.0));
    }
    record.u = turtle.u;
    record.v = turtle.v;
    record.growVertexID = turtle.growVertexID;
    return record;
}

// Puts the turtle on a new "testTurtle" attribute of the node and connects it.
void connectTurtleFrom(host::Scene& scene, const std::string& node, const testTurtle& turtle,
                       const std::string& feather, int element) {
    MFnTypedAttribute typed;
    MObject attribute = typed.create("testTurtle", "tstt", featherTurtleData::id);
    MFnDependencyNode fn(scene.findNode(node));
    ASSERT_TRUE(fn.addAttribute(attribute));
    MFnPluginData dataFn;
    MObject data = dataFn.create(featherTurtleData::id);
    static_cast<featherTurtleData*>(dataFn.data())->turtle = recordOf(turtle);
    MPlug plug;
    ASSERT_TRUE(scene.findPlug(node + ".testTurtle", plug));
    ASSERT_TRUE(plug.setValue(data));
    ASSERT_TRUE(scene.connectAttr(node + ".testTurtle", feather + ".inFeatherTurtleData[" +
                                                            std::to_string(element) + "]"))
        << scene.lastError();
}

} // namespace

int turtleEntries() {
    return turtleRegistry ? turtleRegistry->entryCount() : -1;
}

int descriptionEntries() {
    return descriptionRegistry ? descriptionRegistry->entryCount() : -1;
}

void FeatherNodeTest::SetUpTestSuite() {
    host::addScriptPath(QUILLO_SOURCE_DIR "/mel");
    auto& types = host::TypeRegistry::instance();
    if (!types.findNode("testUvTexture")) {
        std::string error;
        ASSERT_TRUE(types.registerNode("testUvTexture", MTypeId(0x7f501), &uvTexture::creator,
                                       &uvTexture::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
    }
    if (!types.findNode("testNotANumber")) {
        std::string error;
        ASSERT_TRUE(types.registerNode("testNotANumber", MTypeId(0x7f502), &notANumber::creator,
                                       &notANumber::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
    }
    host::SamplerRegistry::instance().add("testUvTexture", &sampleUvTexture);
}

void FeatherNodeTest::SetUp() {
    scene.fileNew();
    plugin = MObject(std::make_shared<host::Plugin>());
    host::MessageCapture quiet;
    host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
    ASSERT_TRUE(initializePlugin(plugin));
    host::Plugin::setActive(nullptr);
}

void FeatherNodeTest::TearDown() {
    host::MessageCapture quiet;
    scene.fileNew();
    uninitializePlugin(plugin);
}

std::string FeatherNodeTest::createFeatherNode(const std::string& name) {
    std::string created;
    EXPECT_TRUE(scene.createNode("quillo", name, "", &created)) << scene.lastError();
    return created;
}

quillo& FeatherNodeTest::featherNode(const std::string& name) {
    MFnDependencyNode fn(scene.findNode(name));
    MPxNode* node = fn.userNode();
    EXPECT_NE(node, nullptr) << name;
    return *static_cast<quillo*>(node);
}

MObject FeatherNodeTest::surfaceData(const MPointArray& cvs, unsigned int degreeU) {
    MFnNurbsSurfaceData dataFn;
    MObject data = dataFn.create();
    MFnNurbsSurface fn;
    MStatus status;
    const MDoubleArray knotsU = degreeU == 1 ? doubles({0, 1}) : doubles({0, 0, 1, 1});
    fn.create(cvs, knotsU, doubles({0, 1}), degreeU, 1, MFnNurbsSurface::kOpen,
              MFnNurbsSurface::kOpen, false, data, &status);
    EXPECT_TRUE(status) << "the guide surface is refused";
    return data;
}

std::string FeatherNodeTest::createGuide(const std::string& name, const MPoint& origin,
                                         double width, double depth) {
    MPointArray cvs; // index u * 2 + v
    cvs.append(origin);
    cvs.append(origin + MVector(0.0, 0.0, depth));
    cvs.append(origin + MVector(width, 0.0, 0.0));
    cvs.append(origin + MVector(width, 0.0, depth));
    const std::string shape = name + "Shape";
    EXPECT_TRUE(scene.createNode("transform", name)) << scene.lastError();
    EXPECT_TRUE(scene.createNode("nurbsSurface", shape, name)) << scene.lastError();
    MPlug plug;
    EXPECT_TRUE(scene.findPlug(shape + ".cc", plug));
    MObject data = surfaceData(cvs, 1);
    EXPECT_TRUE(plug.setValue(data));
    return shape;
}

std::string FeatherNodeTest::createArchedGuide(const std::string& name) {
    MPointArray cvs;
    for (const MPoint& p : {MPoint(0, 0, 0), MPoint(0, 0, 1), MPoint(1, 1.5, 0), MPoint(1, 1.5, 1),
                            MPoint(2, 0, 0), MPoint(2, 0, 1)})
        cvs.append(p);
    const std::string shape = name + "Shape";
    EXPECT_TRUE(scene.createNode("transform", name)) << scene.lastError();
    EXPECT_TRUE(scene.createNode("nurbsSurface", shape, name)) << scene.lastError();
    MPlug plug;
    EXPECT_TRUE(scene.findPlug(shape + ".cc", plug));
    MObject data = surfaceData(cvs, 2);
    EXPECT_TRUE(plug.setValue(data));
    return shape;
}

void FeatherNodeTest::connectGuide(const std::string& shape, const std::string& feather,
                                   int element) {
    ASSERT_TRUE(scene.connectAttr(shape + ".worldSpace[0]", feather + ".guidSurfaceInfo[" +
                                                                std::to_string(element) +
                                                                "].guidSurface"))
        << scene.lastError();
}

void FeatherNodeTest::disconnectGuide(const std::string& shape, const std::string& feather,
                                      int element) {
    ASSERT_TRUE(scene.disconnectAttr(shape + ".worldSpace[0]", feather + ".guidSurfaceInfo[" +
                                                                   std::to_string(element) +
                                                                   "].guidSurface"))
        << scene.lastError();
}

std::string FeatherNodeTest::connectComponentTurtle(const testTurtle& turtle,
                                                    const std::string& feather, int element) {
    std::string component;
    EXPECT_TRUE(scene.createNode("quilloComponent", "", "", &component)) << scene.lastError();
    connectTurtleFrom(scene, component, turtle, feather, element);
    return component;
}

std::string FeatherNodeTest::connectForeignTurtle(const testTurtle& turtle,
                                                  const std::string& feather, int element) {
    std::string node;
    EXPECT_TRUE(scene.createNode("transform", "", "", &node)) << scene.lastError();
    connectTurtleFrom(scene, node, turtle, feather, element);
    return node;
}

void FeatherNodeTest::setTurtleArray(const std::string& feather, int element,
                                     const std::vector<testTurtle>& turtles) {
    MFnPluginData dataFn;
    MObject data = dataFn.create(featherTurtleArrayData::id);
    auto* list = static_cast<featherTurtleArrayData*>(dataFn.data());
    for (const testTurtle& turtle : turtles)
        list->turtles.push_back(recordOf(turtle));
    MPlug plug;
    ASSERT_TRUE(scene.findPlug(
        feather + ".inFeatherTurtleArrayData[" + std::to_string(element) + "]", plug));
    ASSERT_TRUE(plug.setValue(data));
}

std::string FeatherNodeTest::connectUvTexture(const std::string& feather) {
    // Sampling looks through the view's camera, as in a scene Maya made.
    if (scene.findNode("perspShape").isNull()) {
        EXPECT_TRUE(scene.createNode("transform", "persp")) << scene.lastError();
        EXPECT_TRUE(scene.createNode("camera", "perspShape", "persp")) << scene.lastError();
    }
    std::string texture;
    EXPECT_TRUE(scene.createNode("testUvTexture", "", "", &texture)) << scene.lastError();
    EXPECT_TRUE(scene.connectAttr(texture + ".outColor", feather + ".mainColor"))
        << scene.lastError();
    return texture;
}

void FeatherNodeTest::build(const std::string& feather) {
    ASSERT_TRUE(scene.evaluate(feather + ".outputMesh")) << scene.lastError();
}

// Curve and colour ramps (MRampAttribute) on nodes driven through the host's scene.

#include "graph/attributeDef.h"
#include "graph/nodeType.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MFileIO.h>
#include <maya/MFloatArray.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPxNode.h>
#include <maya/MRampAttribute.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace host {
extern bool readingFile; // set by the file reader while it works
}

namespace {

// A curve ramp "falloff"/"fo" and a colour ramp "tint"/"ti", left as the host creates them.
class RampNode : public MPxNode {
  public:
    static MObject falloff, tint, plain;
    static void* creator() { return new RampNode; }
    static MStatus initialize() {
        falloff = MRampAttribute::createCurveRamp("falloff", "fo");
        tint = MRampAttribute::createColorRamp("tint", "ti");
        MFnNumericAttribute n;
        plain = n.create("plain", "pl", MFnNumericData::kFloat, 0.0);
        addAttribute(falloff);
        addAttribute(tint);
        addAttribute(plain);
        return MS::kSuccess;
    }
};
MObject RampNode::falloff, RampNode::tint, RampNode::plain;

// Sets its own default entries in postConstructor, as a plug-in does.
class DefaultsNode : public MPxNode {
  public:
    static MObject width;
    static void* creator() { return new DefaultsNode; }
    static MStatus initialize() {
        width = MRampAttribute::createCurveRamp("width", "wd");
        addAttribute(width);
        return MS::kSuccess;
    }
    void postConstructor() override {
        if (MFileIO::isReadingFile())
            return;
        MFloatArray positions, values;
        MIntArray interps;
        positions.append(0.0f);
        values.append(1.0f);
        interps.append(MRampAttribute::kLinear);
        positions.append(1.0f);
        values.append(0.5f);
        interps.append(MRampAttribute::kSmooth);
        MRampAttribute(thisMObject(), width).addEntries(positions, values, interps);
    }
};
MObject DefaultsNode::width;

struct Point {
    float position, value;
    int interp;
};

class RampTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        auto& types = host::TypeRegistry::instance();
        ASSERT_TRUE(types.registerNode("testRampNode", MTypeId(0x7f101), &RampNode::creator,
                                       &RampNode::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
        ASSERT_TRUE(types.registerNode("testRampDefaults", MTypeId(0x7f102), &DefaultsNode::creator,
                                       &DefaultsNode::initialize, MPxNode::kDependNode, nullptr,
                                       &error))
            << error;
    }
    void SetUp() override { scene.fileNew(); }
    void TearDown() override {
        host::readingFile = false;
        scene.fileNew();
    }

    std::string create(const std::string& type) {
        std::string name;
        EXPECT_TRUE(scene.createNode(type, "", "", &name));
        return name;
    }
    MRampAttribute ramp(const std::string& node, const MObject& attribute) {
        MStatus status;
        MRampAttribute result(scene.findNode(node), attribute, &status);
        EXPECT_TRUE(status);
        return result;
    }
    // A node whose falloff holds exactly these entries, at indices 0, 1, ...
    MRampAttribute curve(const std::vector<Point>& points) {
        MRampAttribute result = ramp(create("testRampNode"), RampNode::falloff);
        MIntArray indexes, interps;
        MFloatArray positions, values;
        result.getEntries(indexes, positions, values, interps);
        result.deleteEntries(indexes);
        positions.clear();
        values.clear();
        interps.clear();
        for (const Point& p : points) {
            positions.append(p.position);
            values.append(p.value);
            interps.append(p.interp);
        }
        MStatus status;
        result.addEntries(positions, values, interps, &status);
        EXPECT_TRUE(status);
        return result;
    }
    static float at(MRampAttribute& ramp, float position) {
        float value = -1234.0f;
        MStatus status;
        ramp.getValueAtPosition(position, value, &status);
        EXPECT_TRUE(status) << "at " << position;
        return value;
    }

    host::Scene& scene = host::Scene::current();
};

TEST_F(RampTest, CreatedRampsHaveTheNamedEntryLayout) {
    const host::AttributeDef* curve = host::attributeDef(RampNode::falloff);
    ASSERT_NE(curve, nullptr);
    EXPECT_TRUE(curve->array);
    ASSERT_EQ(curve->children.size(), 3u);
    const char* names[3][2] = {
        {"falloff_Position", "fop"}, {"falloff_FloatValue", "fofv"}, {"falloff_Interp", "foi"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(curve->children[i]->name, names[i][0]);
        EXPECT_EQ(curve->children[i]->shortName, names[i][1]);
    }
    MFnEnumAttribute interp(host::attributeObject(curve->children[2].get()));
    EXPECT_EQ(interp.fieldIndex("None"), 0);
    EXPECT_EQ(interp.fieldIndex("Linear"), 1);
    EXPECT_EQ(interp.fieldIndex("Smooth"), 2);
    EXPECT_EQ(interp.fieldIndex("Spline"), 3);

    const host::AttributeDef* color = host::attributeDef(RampNode::tint);
    ASSERT_NE(color, nullptr);
    ASSERT_EQ(color->children.size(), 3u);
    EXPECT_EQ(color->children[0]->name, "tint_Position");
    EXPECT_EQ(color->children[1]->name, "tint_Color");
    EXPECT_EQ(color->children[1]->shortName, "tic");
    EXPECT_EQ(color->children[1]->children.size(), 3u);
    EXPECT_EQ(color->children[2]->name, "tint_Interp");

    std::string node = create("testRampNode");
    MRampAttribute curveRamp = ramp(node, RampNode::falloff);
    MRampAttribute colorRamp = ramp(node, RampNode::tint);
    EXPECT_TRUE(curveRamp.isCurveRamp());
    EXPECT_FALSE(curveRamp.isColorRamp());
    EXPECT_TRUE(colorRamp.isColorRamp());
    EXPECT_FALSE(colorRamp.isCurveRamp());

    MStatus status;
    MRampAttribute::createCurveRamp("", "x", &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    MRampAttribute notARamp(scene.findNode(node), RampNode::plain, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    notARamp.getNumEntries(&status);
    EXPECT_FALSE(status);
    float value = 0.0f;
    MRampAttribute().getValueAtPosition(0.5f, value, &status);
    EXPECT_FALSE(status);
}

TEST_F(RampTest, NewNodesGetOneDefaultEntryUnlessReadFromAFile) {
    std::string node = create("testRampNode");
    MRampAttribute falloff = ramp(node, RampNode::falloff);
    MIntArray indexes, interps;
    MFloatArray positions, values;
    falloff.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 1u);
    EXPECT_EQ(indexes[0], 0);
    EXPECT_EQ(positions[0], 0.0f);
    EXPECT_EQ(values[0], 0.0f);
    EXPECT_EQ(interps[0], MRampAttribute::kLinear);

    MRampAttribute tint = ramp(node, RampNode::tint);
    MColorArray colors;
    tint.getEntries(indexes, positions, colors, interps);
    ASSERT_EQ(colors.length(), 1u);
    EXPECT_EQ(colors[0].r + colors[0].g + colors[0].b, 0.0f);
    EXPECT_EQ(interps[0], MRampAttribute::kLinear);

    // Entries a plug-in adds in postConstructor are the whole ramp.
    MRampAttribute width = ramp(create("testRampDefaults"), DefaultsNode::width);
    width.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 2u);
    EXPECT_EQ(positions[0], 0.0f);
    EXPECT_EQ(values[0], 1.0f);
    EXPECT_EQ(values[1], 0.5f);
    EXPECT_EQ(interps[1], MRampAttribute::kSmooth);
    EXPECT_FLOAT_EQ(at(width, 0.5f), 0.75f);

    // A file brings its own entries: nothing is added while it is read.
    host::readingFile = true;
    std::string fromFile = create("testRampNode");
    std::string defaultsFromFile = create("testRampDefaults");
    host::readingFile = false;
    MRampAttribute empty = ramp(fromFile, RampNode::falloff);
    EXPECT_EQ(empty.getNumEntries(), 0u);
    EXPECT_EQ(at(empty, 0.5f), 0.0f);
    EXPECT_EQ(ramp(defaultsFromFile, DefaultsNode::width).getNumEntries(), 0u);
    MColor color(1.0f, 1.0f, 1.0f);
    MStatus status;
    ramp(fromFile, RampNode::tint).getColorAtPosition(0.5f, color, &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(color.r + color.g + color.b, 0.0f);
}

TEST_F(RampTest, EachInterpolationModeMatchesHandComputedValues) {
    // One segment from (0.2, 1) to (0.7, 3), evaluated a quarter of the way along.
    for (auto [mode, expected] : std::vector<std::pair<int, float>>{
             {MRampAttribute::kNone, 1.0f},
             {MRampAttribute::kLinear, 1.5f},
             {MRampAttribute::kSmooth, 1.3125f}, // 1 + 2 (3/16 - 2/64)
             {MRampAttribute::kSpline, 1.5f}}) { // both end slopes are the segment's
        MRampAttribute r = curve({{0.2f, 1.0f, mode}, {0.7f, 3.0f, MRampAttribute::kLinear}});
        EXPECT_NEAR(at(r, 0.325f), expected, 1e-6f) << "mode " << mode;
        EXPECT_NEAR(at(r, 0.2f), 1.0f, 1e-6f) << "mode " << mode;
    }

    // Unequal segments: inner slopes are the mean of the neighbouring segment slopes (5, -1.25,
    // 3.75 give 1.875 and 1.25), the ends take their one segment (5 and 3.75), and every slope
    // is scaled by the width of the segment it is used in.
    MRampAttribute spline = curve({{0.0f, 0.0f, MRampAttribute::kSpline},
                                   {0.2f, 1.0f, MRampAttribute::kSpline},
                                   {0.6f, 0.5f, MRampAttribute::kSpline},
                                   {1.0f, 2.0f, MRampAttribute::kSpline}});
    EXPECT_NEAR(at(spline, 0.1f), 0.578125f, 1e-5f);   // first segment, u = 1/2
    EXPECT_NEAR(at(spline, 0.3f), 1.00390625f, 1e-5f); // inner segment, u = 1/4
    EXPECT_NEAR(at(spline, 0.9f), 1.578125f, 1e-5f);   // last segment, u = 3/4
    EXPECT_NEAR(at(spline, 0.6f), 0.5f, 1e-6f);        // passes through its entries

    // The lower entry of a segment decides: none on [0, 0.5), linear on [0.5, 1).
    MRampAttribute mixed = curve({{0.0f, 0.0f, MRampAttribute::kNone},
                                  {0.5f, 1.0f, MRampAttribute::kLinear},
                                  {1.0f, 0.0f, MRampAttribute::kSmooth}});
    EXPECT_EQ(at(mixed, 0.25f), 0.0f);
    EXPECT_EQ(at(mixed, 0.49f), 0.0f);
    EXPECT_NEAR(at(mixed, 0.875f), 0.25f, 1e-6f);
}

TEST_F(RampTest, EndsHoldTheFirstAndLastValues) {
    MRampAttribute r =
        curve({{0.6f, 5.0f, MRampAttribute::kSpline}, {0.3f, 2.0f, MRampAttribute::kSpline}});
    EXPECT_EQ(at(r, -1.0f), 2.0f);
    EXPECT_EQ(at(r, 0.0f), 2.0f);
    EXPECT_EQ(at(r, 0.3f), 2.0f);
    EXPECT_EQ(at(r, 0.6f), 5.0f);
    EXPECT_EQ(at(r, 0.61f), 5.0f);
    EXPECT_EQ(at(r, 7.0f), 5.0f);

    MRampAttribute one = curve({{0.4f, 0.75f, MRampAttribute::kSpline}});
    for (float x : {-0.5f, 0.0f, 0.4f, 0.9f})
        EXPECT_EQ(at(one, x), 0.75f) << "at " << x;

    MRampAttribute none = curve({});
    EXPECT_EQ(none.getNumEntries(), 0u);
    EXPECT_EQ(at(none, 0.5f), 0.0f);
}

TEST_F(RampTest, EntriesSetThroughPlugsAreSortedAndMayBeSparse) {
    // As a file sets them: element by element, out of order, with gaps in the indices.
    host::readingFile = true;
    std::string node = create("testRampNode");
    const std::vector<std::pair<std::string, double>> values = {
        {"[7].fop", 0.1}, {"[7].fofv", 1.0}, {"[7].foi", 1},    {"[2].fop", 0.8}, {"[2].fofv", 4.0},
        {"[2].foi", 1},   {"[4].fop", 0.5},  {"[4].fofv", 3.0}, {"[4].foi", 0}};
    for (const auto& [path, value] : values)
        ASSERT_TRUE(scene.setAttr(node + ".fo" + path, value)) << path;
    host::readingFile = false;

    MRampAttribute r = ramp(node, RampNode::falloff);
    MIntArray indexes, interps;
    MFloatArray positions, entryValues;
    r.getEntries(indexes, positions, entryValues, interps);
    ASSERT_EQ(indexes.length(), 3u);
    EXPECT_EQ(indexes[0], 2);
    EXPECT_EQ(indexes[1], 4);
    EXPECT_EQ(indexes[2], 7);
    EXPECT_FLOAT_EQ(positions[0], 0.8f);
    EXPECT_FLOAT_EQ(positions[2], 0.1f);
    EXPECT_EQ(interps[1], MRampAttribute::kNone);

    EXPECT_EQ(at(r, 0.05f), 1.0f);
    EXPECT_FLOAT_EQ(at(r, 0.3f), 2.0f); // linear from index 7 to index 4
    EXPECT_EQ(at(r, 0.7f), 3.0f);       // index 4 holds (none) up to index 2
    EXPECT_EQ(at(r, 0.9f), 4.0f);

    // A later change through a plug is seen by the next evaluation.
    ASSERT_TRUE(scene.setAttr(node + ".fo[4].foi", 1));
    EXPECT_FLOAT_EQ(at(r, 0.65f), 3.5f);
}

TEST_F(RampTest, AddedEntriesRoundTripAndBadInputAddsNothing) {
    MRampAttribute r = curve({{0.5f, 0.25f, MRampAttribute::kSmooth},
                              {0.0f, 1.0f, MRampAttribute::kSpline},
                              {1.0f, 0.0f, MRampAttribute::kNone}});
    MIntArray indexes, interps;
    MFloatArray positions, values;
    r.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 3u);
    const float wantPositions[] = {0.5f, 0.0f, 1.0f}, wantValues[] = {0.25f, 1.0f, 0.0f};
    const int wantInterps[] = {MRampAttribute::kSmooth, MRampAttribute::kSpline,
                               MRampAttribute::kNone};
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(indexes[i], static_cast<int>(i));
        EXPECT_EQ(positions[i], wantPositions[i]);
        EXPECT_EQ(values[i], wantValues[i]);
        EXPECT_EQ(interps[i], wantInterps[i]);
    }

    // New entries go above the highest index in use, even with gaps below it.
    MIntArray drop;
    drop.append(1);
    r.deleteEntries(drop);
    MFloatArray morePositions(1, 0.75f), moreValues(1, 2.0f);
    MIntArray moreInterps(1, MRampAttribute::kLinear);
    r.addEntries(morePositions, moreValues, moreInterps);
    r.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 3u);
    EXPECT_EQ(indexes[2], 3);
    EXPECT_EQ(positions[2], 0.75f);

    MStatus status;
    MFloatArray two(2, 0.5f);
    r.addEntries(two, moreValues, moreInterps, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    MIntArray badInterp(1, 7);
    r.addEntries(morePositions, moreValues, badInterp, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(r.getNumEntries(), 3u);
    MColorArray colors(1, MColor(1.0f, 0.0f, 0.0f));
    r.addEntries(morePositions, colors, moreInterps, &status);
    EXPECT_FALSE(status);
    EXPECT_EQ(r.getNumEntries(), 3u);
}

TEST_F(RampTest, EntriesAreEditedAndDeletedByIndex) {
    MRampAttribute r =
        curve({{0.0f, 0.0f, MRampAttribute::kLinear}, {1.0f, 1.0f, MRampAttribute::kLinear}});
    MStatus status;
    r.setValueAtIndex(3.0f, 1, &status);
    EXPECT_TRUE(status);
    EXPECT_FLOAT_EQ(at(r, 0.5f), 1.5f);
    r.setPositionAtIndex(0.5f, 1, &status);
    EXPECT_TRUE(status);
    EXPECT_FLOAT_EQ(at(r, 0.25f), 1.5f);
    r.setInterpolationAtIndex(MRampAttribute::kNone, 0, &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(at(r, 0.25f), 0.0f);

    EXPECT_TRUE(r.hasIndex(1));
    EXPECT_FALSE(r.hasIndex(2));
    r.setValueAtIndex(1.0f, 2, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    r.setPositionAtIndex(1.0f, 9, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);

    MIntArray missing;
    missing.append(0);
    missing.append(5);
    r.deleteEntries(missing, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(r.getNumEntries(), 2u);

    MIntArray first(1, 0);
    r.deleteEntries(first, &status);
    EXPECT_TRUE(status);
    EXPECT_FALSE(r.hasIndex(0));
    EXPECT_EQ(at(r, 0.0f), 3.0f); // the remaining entry holds everywhere
    MIntArray last(1, 1);
    r.deleteEntries(last);
    EXPECT_EQ(r.getNumEntries(), 0u);
    EXPECT_EQ(at(r, 0.5f), 0.0f);
}

TEST_F(RampTest, ConnectedEntryPlugsGiveTheirSourcesValues) {
    std::string source = create("testRampNode");
    std::string node = create("testRampNode");
    MRampAttribute r = ramp(node, RampNode::falloff); // the default entry (0, 0) and (1, 1)
    MFloatArray positions(1, 1.0f), values(1, 1.0f);
    MIntArray interps(1, MRampAttribute::kLinear);
    r.addEntries(positions, values, interps);

    ASSERT_TRUE(scene.setAttr(source + ".plain", 0.25));
    ASSERT_TRUE(scene.connectAttr(source + ".plain", node + ".fo[1].fofv"));
    EXPECT_FLOAT_EQ(at(r, 0.5f), 0.125f);
    ASSERT_TRUE(scene.setAttr(source + ".plain", 2.0));
    EXPECT_FLOAT_EQ(at(r, 0.5f), 1.0f);
    EXPECT_EQ(at(r, 1.0f), 2.0f);

    {
        host::MessageCapture capture;
        MStatus status;
        r.setValueAtIndex(0.5f, 1, &status);
        EXPECT_FALSE(status);
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "incoming connection"));
        r.sort(true, &status);
        EXPECT_FALSE(status);
    }
    EXPECT_FLOAT_EQ(at(r, 0.5f), 1.0f);
    MStatus status;

    // Deleting a connected entry breaks its connection.
    MIntArray connected(1, 1);
    r.deleteEntries(connected, &status);
    EXPECT_TRUE(status);
    EXPECT_EQ(r.getNumEntries(), 1u);
    MPlug plain;
    ASSERT_TRUE(scene.findPlug(source + ".plain", plain));
    EXPECT_FALSE(plain.isConnected());
}

TEST_F(RampTest, SortRenumbersEntriesByPosition) {
    MRampAttribute r = curve({{0.9f, 3.0f, MRampAttribute::kNone},
                              {0.1f, 1.0f, MRampAttribute::kSmooth},
                              {0.5f, 2.0f, MRampAttribute::kLinear}});
    MIntArray drop(1, 1);
    r.deleteEntries(drop); // leave a gap: indices 0 and 2
    MStatus status;
    r.sort(true, &status);
    ASSERT_TRUE(status);
    MIntArray indexes, interps;
    MFloatArray positions, values;
    r.getEntries(indexes, positions, values, interps);
    ASSERT_EQ(indexes.length(), 2u);
    EXPECT_EQ(indexes[1], 1);
    EXPECT_EQ(positions[0], 0.5f);
    EXPECT_EQ(interps[0], MRampAttribute::kLinear);
    EXPECT_EQ(positions[1], 0.9f);
    EXPECT_EQ(values[1], 3.0f);
    r.sort(false);
    r.getEntries(indexes, positions, values, interps);
    EXPECT_EQ(positions[0], 0.9f);
    EXPECT_FLOAT_EQ(at(r, 0.7f), 2.5f);
}

TEST_F(RampTest, ColourRampsInterpolateEachChannel) {
    MRampAttribute r = ramp(create("testRampNode"), RampNode::tint);
    MIntArray first(1, 0);
    r.deleteEntries(first);
    MFloatArray positions;
    MColorArray colors;
    MIntArray interps;
    positions.append(0.75f);
    colors.append(MColor(0.0f, 1.0f, 0.5f));
    interps.append(MRampAttribute::kLinear);
    positions.append(0.25f);
    colors.append(MColor(1.0f, 0.0f, 0.5f));
    interps.append(MRampAttribute::kSmooth);
    MStatus status;
    r.addEntries(positions, colors, interps, &status);
    ASSERT_TRUE(status);

    MColor color;
    r.getColorAtPosition(0.375f, color, &status); // u = 1/4 of the smooth segment
    ASSERT_TRUE(status);
    EXPECT_NEAR(color.r, 1.0f - 0.15625f, 1e-6f);
    EXPECT_NEAR(color.g, 0.15625f, 1e-6f);
    EXPECT_NEAR(color.b, 0.5f, 1e-6f);
    r.getColorAtPosition(0.0f, color);
    EXPECT_EQ(color.r, 1.0f);
    r.getColorAtPosition(1.0f, color);
    EXPECT_EQ(color.g, 1.0f);

    MColor blue(0.0f, 0.0f, 1.0f);
    r.setColorAtIndex(blue, 1, &status);
    EXPECT_TRUE(status);
    r.getColorAtPosition(0.0f, color);
    EXPECT_EQ(color.b, 1.0f);

    float value = 0.0f;
    r.getValueAtPosition(0.5f, value, &status);
    EXPECT_FALSE(status);
    r.setValueAtIndex(1.0f, 1, &status);
    EXPECT_FALSE(status);
    MFloatArray curveValues;
    MIntArray indexes;
    r.getEntries(indexes, positions, curveValues, interps, &status);
    EXPECT_FALSE(status);
}

} // namespace

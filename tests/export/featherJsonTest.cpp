// The JSON writer on a hand-built feather: the document parses, every field is where the format
// says, floats read back to the same bits, NaN and infinities become null, strings are escaped,
// and meshes appear only when built.

#include "export/featherJson.h"

#include "../jsonReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace {

using testjson::Value;

// Values whose shortest printing needs all nine digits, a subnormal, and extremes.
const float awkward[] = {0.1f,          1.0f / 3.0f, 16777215.0f, 1e-45f,
                         3.4028235e38f, -2.5e-7f,    0.0f,        -0.0f};

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

featherGeometry handBuilt() {
    featherGeometry f;
    f.name = "wing \"left\"\\\n\t\x01";
    f.seed = -42;
    f.u = 0.1f;
    f.v = 1.0f / 3.0f;
    f.mainColor = MColor(0.25f, 0.5f, 0.75f, 1.0f);
    for (int i = 0; i < 3; ++i) {
        f.rachisPoints.append(MFloatPoint(awkward[i], awkward[i + 1], awkward[i + 2]));
        f.rachisNormals.append(MFloatVector(0.0f, 1.0f, awkward[i + 3]));
        f.rachisThickness.append(awkward[i + 4]);
    }
    f.rachisLength = std::numeric_limits<float>::quiet_NaN();
    MFloatPointArray curve;
    curve.append(MFloatPoint(1.0f, 2.0f, 3.0f));
    curve.append(MFloatPoint(std::numeric_limits<float>::infinity(), 0.0f, 0.0f));
    MFloatVectorArray normals;
    normals.append(MFloatVector(0.0f, 0.0f, 1.0f));
    normals.append(MFloatVector(0.0f, 1.0f, 0.0f));
    f.leftBarbules = {curve, curve};
    f.leftNormals = {normals}; // the second curve has none
    f.leftPositions.append(0.25f);
    f.leftLengths.append(0.5f);
    f.leftThickness.append(0.75f);
    f.leftThickness.append(1.0f);
    f.rightBarbules = {curve};
    f.rightNormals = {normals};
    f.rightPositions.append(1.5f);
    f.rightThickness.append(2.0f);
    f.barbuleThickness.append(0.3f);
    f.barbuleThickness.append(-std::numeric_limits<float>::infinity());
    f.proxyBox.expand(MPoint(-1.0, -2.0, -3.0));
    f.proxyBox.expand(MPoint(0.1, 0.2, 0.3));
    f.rachisMesh.points.append(MFloatPoint(1.0f, 1.0f, 1.0f));
    f.rachisMesh.polygonCounts.append(4);
    for (int k = 0; k < 4; ++k) {
        f.rachisMesh.polygonConnects.append(k);
        f.rachisMesh.uvIds.append(k);
    }
    f.rachisMesh.uArray.append(0.5f);
    f.rachisMesh.vArray.append(0.125f);
    return f;
}

Value parsed(const std::string& text) {
    Value root;
    testjson::Reader reader;
    EXPECT_TRUE(reader.parse(text, root))
        << "not JSON at offset " << reader.where() << ": "
        << text.substr(reader.where() > 20 ? reader.where() - 20 : 0, 60);
    return root;
}

void expectPoint(const Value& p, float x, float y, float z, const char* what) {
    ASSERT_EQ(p.size(), 3u) << what;
    EXPECT_TRUE(sameBits(p[0].asFloat(), x)) << what << " x " << p[0].text;
    EXPECT_TRUE(sameBits(p[1].asFloat(), y)) << what << " y " << p[1].text;
    EXPECT_TRUE(sameBits(p[2].asFloat(), z)) << what << " z " << p[2].text;
}

TEST(FeatherJson, FloatsReadBackBitForBitAndNonFiniteValuesAreNull) {
    for (float value : awkward)
        EXPECT_TRUE(sameBits(std::strtof(jsonFloat(value).c_str(), nullptr), value))
            << jsonFloat(value);
    EXPECT_EQ(jsonFloat(std::numeric_limits<float>::quiet_NaN()), "null");
    EXPECT_EQ(jsonFloat(-std::numeric_limits<float>::infinity()), "null");
    const double third = 1.0 / 3.0;
    EXPECT_EQ(std::strtod(jsonDouble(third).c_str(), nullptr), third);
    EXPECT_EQ(jsonDouble(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(jsonString("a\"b\\c\nd\x1f"
                         "\xc3\xa9"),
              "\"a\\\"b\\\\c\\nd\\u001f\xc3\xa9\"");
}

TEST(FeatherJson, AHandBuiltFeatherIsWrittenWithEveryFieldInPlace) {
    std::vector<featherGeometry> feathers = {handBuilt()};
    std::ostringstream out;
    ASSERT_TRUE(writeFeatherJson(
        out, {{"quilloShape", "quillo", &feathers}, {"empty", "quillo", nullptr}}));
    const Value root = parsed(out.str());
    EXPECT_EQ(root["format"].text, "quillo-feathers");
    EXPECT_EQ(root["version"].text, "1");
    EXPECT_EQ(root["space"].text, "world");
    ASSERT_EQ(root["nodes"].size(), 2u);
    EXPECT_EQ(root["nodes"][1]["name"].text, "empty");
    EXPECT_EQ(root["nodes"][1]["feathers"].size(), 0u);
    const Value& node = root["nodes"][0];
    EXPECT_EQ(node["name"].text, "quilloShape");
    EXPECT_EQ(node["type"].text, "quillo");
    ASSERT_EQ(node["feathers"].size(), 1u);
    const Value& f = node["feathers"][0];

    EXPECT_EQ(f["name"].text, "wing \"left\"\\\n\t\x01");
    EXPECT_EQ(f["seed"].text, "-42");
    EXPECT_TRUE(sameBits(f["u"].asFloat(), 0.1f));
    EXPECT_TRUE(sameBits(f["v"].asFloat(), 1.0f / 3.0f));
    ASSERT_EQ(f["mainColor"].size(), 4u);
    EXPECT_EQ(f["mainColor"][2].asFloat(), 0.75f);

    const Value& rachis = f["rachis"];
    ASSERT_EQ(rachis["points"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        expectPoint(rachis["points"][i], awkward[i], awkward[i + 1], awkward[i + 2], "rachis");
        expectPoint(rachis["normals"][i], 0.0f, 1.0f, awkward[i + 3], "rachis normal");
        EXPECT_TRUE(sameBits(rachis["thickness"][i].asFloat(), awkward[i + 4]));
    }
    EXPECT_TRUE(rachis["length"].isNull()) << "NaN is written as null";
    EXPECT_TRUE(rachis.has("length"));

    const Value& left = f["left"];
    ASSERT_EQ(left["curves"].size(), 2u);
    expectPoint(left["curves"][0]["points"][0], 1.0f, 2.0f, 3.0f, "left curve");
    EXPECT_TRUE(left["curves"][0]["points"][1][0].isNull()) << "infinity is written as null";
    EXPECT_EQ(left["curves"][0]["normals"].size(), 2u);
    EXPECT_EQ(left["curves"][1]["normals"].type, Value::Type::kArray);
    EXPECT_EQ(left["curves"][1]["normals"].size(), 0u);
    EXPECT_EQ(left["positions"][0].asFloat(), 0.25f);
    EXPECT_EQ(left["lengths"][0].asFloat(), 0.5f);
    EXPECT_EQ(left["thickness"].size(), 2u);
    const Value& right = f["right"];
    EXPECT_EQ(right["curves"].size(), 1u);
    EXPECT_EQ(right["positions"][0].asFloat(), 1.5f);
    EXPECT_EQ(right["lengths"].size(), 0u);
    EXPECT_EQ(f["barbuleThickness"].size(), 2u);
    EXPECT_TRUE(f["barbuleThickness"][1].isNull());

    EXPECT_EQ(f["proxyBox"]["min"][2].number(), -3.0);
    EXPECT_EQ(f["proxyBox"]["max"][0].number(), 0.1) << "doubles keep 17 digits";
    EXPECT_EQ(f["meshBox"]["max"][1].number(), 0.0);

    ASSERT_TRUE(f.has("rachisMesh"));
    const Value& mesh = f["rachisMesh"];
    EXPECT_EQ(mesh["polygonCounts"][0].text, "4");
    EXPECT_EQ(mesh["polygonConnects"].size(), 4u);
    EXPECT_EQ(mesh["uvIds"].size(), 4u);
    expectPoint(mesh["points"][0], 1.0f, 1.0f, 1.0f, "mesh point");
    EXPECT_EQ(mesh["u"][0].asFloat(), 0.5f);
    EXPECT_EQ(mesh["v"][0].asFloat(), 0.125f);
    EXPECT_FALSE(f.has("barbuleMesh")) << "an unbuilt mesh is left out";
}

TEST(FeatherJson, AFailedStreamIsReported) {
    std::vector<featherGeometry> feathers = {handBuilt()};
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(writeFeatherJson(out, {{"n", "quillo", &feathers}}));
}

} // namespace

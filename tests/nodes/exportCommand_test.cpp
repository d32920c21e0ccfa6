// quilloExportFeathers inside the plug-in: registered at load and gone at unload, it writes the
// feathers the nodes hold, bit for bit, builds dirty feathers first, and refuses a call without
// a file or with a flag it does not know.

#include "featherNodeFixture.h"

#include "../jsonReader.h"

#include "plugin/plugin.h"

#include <host/mel.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

extern "C" MStatus initializePlugin(MObject obj);
extern "C" MStatus uninitializePlugin(MObject obj);

namespace {

using testjson::Value;

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Value readJson(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    Value root;
    testjson::Reader reader;
    EXPECT_TRUE(reader.parse(text.str(), root)) << path << " at offset " << reader.where();
    return root;
}

class ExportCommandTest : public FeatherNodeTest {};

TEST_F(ExportCommandTest, WritesEveryFeatherOfEveryFeatherNodeExactly) {
    EXPECT_TRUE(host::melCommandExists("quilloExportFeathers"));
    const std::string first = createFeatherNode("first");
    const std::string second = createFeatherNode("second");
    connectGuide(createGuide("flat"), first, 0);
    connectGuide(createArchedGuide("arched"), first, 3);
    connectGuide(createGuide("other", MPoint(0.0, 0.0, 5.0)), second, 0);
    // No build yet: the command builds what is dirty.
    const std::string path = testing::TempDir() + "export_command.json";
    std::remove(path.c_str());
    host::MelValue result;
    ASSERT_TRUE(host::melExecute("quilloExportFeathers -file \"" + path + "\"", &result));
    EXPECT_EQ(result, host::MelValue(3));

    const Value root = readJson(path);
    ASSERT_EQ(root["nodes"].size(), 2u);
    EXPECT_EQ(root["nodes"][0]["name"].text, first);
    EXPECT_EQ(root["nodes"][1]["name"].text, second);
    const std::vector<featherGeometry>& built = featherNode(first).builtFeathers();
    ASSERT_EQ(built.size(), 2u);
    ASSERT_EQ(root["nodes"][0]["feathers"].size(), 2u);
    for (size_t i = 0; i < built.size(); ++i) {
        const Value& f = root["nodes"][0]["feathers"][i];
        const featherGeometry& g = built[i];
        ASSERT_EQ(f["rachis"]["points"].size(), g.rachisPoints.length());
        for (unsigned int k = 0; k < g.rachisPoints.length(); ++k)
            EXPECT_TRUE(sameBits(f["rachis"]["points"][k][2].asFloat(), g.rachisPoints[k].z))
                << "feather " << i << " point " << k;
        ASSERT_EQ(f["left"]["curves"].size(), g.leftBarbules.size());
        ASSERT_EQ(f["right"]["curves"].size(), g.rightBarbules.size());
        const MFloatPointArray& curve = g.rightBarbules.back();
        const Value& written = f["right"]["curves"][g.rightBarbules.size() - 1]["points"];
        ASSERT_EQ(written.size(), curve.length());
        EXPECT_TRUE(
            sameBits(written[curve.length() - 1][0].asFloat(), curve[curve.length() - 1].x));
        EXPECT_EQ(f["seed"].text, std::to_string(g.seed));
    }
}

TEST_F(ExportCommandTest, RefusesACallWithoutAFileOrWithAnUnknownFlag) {
    const struct {
        const char* call;
        const char* message;
    } cases[] = {
        {"quilloExportFeathers", "quilloExportFeathers: no file given"},
        {"quilloExportFeathers -file \"\"", "quilloExportFeathers: no file given"},
        {"quilloExportFeathers -file", "Flag '-file' needs 1 value."},
        {"quilloExportFeathers -f a.json -pretty", "Invalid flag '-pretty'."},
    };
    for (const auto& c : cases) {
        host::MessageCapture capture;
        EXPECT_FALSE(host::melExecute(c.call)) << c.call;
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, c.message)) << c.call;
    }
    EXPECT_FALSE(std::ifstream("a.json").good());
}

TEST_F(ExportCommandTest, UnloadTakesTheCommandAwayAndLoadBringsItBack) {
    host::MessageCapture quiet;
    scene.fileNew();
    ASSERT_TRUE(uninitializePlugin(plugin));
    EXPECT_FALSE(host::melCommandExists("quilloExportFeathers"));
    EXPECT_FALSE(host::melExecute("quilloExportFeathers -file \"x.json\""));
    EXPECT_EQ(quiet.count(host::MessageKind::kWarning), 0u) << "nothing was left registered";
    host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
    ASSERT_TRUE(initializePlugin(plugin));
    host::Plugin::setActive(nullptr);
    EXPECT_TRUE(host::melCommandExists("quilloExportFeathers"));
}

} // namespace

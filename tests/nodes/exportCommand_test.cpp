// quilloExportFeathers inside the plug-in: registered at load and gone at unload, it writes the
// feathers the nodes hold, bit for bit, builds dirty feathers first, and refuses a call without
// a file or with a flag it does not know. As RIB it follows the feather node's curve settings
// and the scene's quilloGlobals node, refusing an empty shader text without touching the file;
// as OBJ it writes one group per feather. -node and -part pick the nodes and the slice written.

#include "featherNodeFixture.h"

#include "../jsonReader.h"
#include "../ribReader.h"

#include "plugin/plugin.h"

#include <host/mel.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

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

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<testrib::Request> readRib(const std::string& text) {
    std::vector<testrib::Request> requests;
    std::string error;
    EXPECT_TRUE(testrib::read(text, requests, &error)) << error << "\n" << text.substr(0, 2000);
    return requests;
}

std::vector<const testrib::Request*> named(const std::vector<testrib::Request>& requests,
                                           const std::string& name) {
    std::vector<const testrib::Request*> found;
    for (const testrib::Request& r : requests)
        if (r.name == name)
            found.push_back(&r);
    return found;
}

// A file name no other test process uses.
std::string uniquePath(const std::string& name) {
    return testing::TempDir() + "export_command_" + std::to_string(::getpid()) + "_" + name;
}

// Curves of at least 2 points: the ones the writers keep.
size_t drawableCurves(const std::vector<MFloatPointArray>& curves) {
    size_t count = 0;
    for (const MFloatPointArray& curve : curves)
        count += curve.length() >= 2;
    return count;
}

class ExportCommandTest : public FeatherNodeTest {
  protected:
    // A feather node "wing" with two guides, built by the export itself.
    std::string createWing() {
        const std::string wing = createFeatherNode("wing");
        connectGuide(createGuide("flat"), wing, 0);
        connectGuide(createArchedGuide("arched"), wing, 1);
        return wing;
    }

    std::string createGlobals() {
        std::string globals;
        EXPECT_TRUE(scene.createNode("quilloGlobals", "renderGlobals", "", &globals))
            << scene.lastError();
        return globals;
    }

    // Runs the export; the feathers written, or -1 when the command failed.
    int exportAs(const std::string& format, const std::string& path) {
        host::MelValue result;
        if (!host::melExecute("quilloExportFeathers -format " + format + " -file \"" + path + "\"",
                              &result))
            return -1;
        return result.asInt();
    }
};

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

TEST_F(ExportCommandTest, RibWritesOneBlockPerFeatherWithItsBarbulesAndRachisAsCurves) {
    const std::string wing = createWing();
    ASSERT_TRUE(scene.setAttr(wing + ".curveType", 0.0)) << scene.lastError();
    ASSERT_TRUE(scene.setAttr(wing + ".preFeatherRib", std::string("Color [1 0 0]")));
    const std::string path = uniquePath("linear.rib");
    ASSERT_EQ(exportAs("rib", path), 2);

    const std::vector<testrib::Request> requests = readRib(readFile(path));
    const std::vector<featherGeometry>& built = featherNode(wing).builtFeathers();
    ASSERT_EQ(built.size(), 2u);
    const auto curves = named(requests, "Curves");
    ASSERT_EQ(curves.size(), 4u) << "barbules and rachis of each feather";
    for (size_t i = 0; i < built.size(); ++i) {
        SCOPED_TRACE("feather " + std::to_string(i));
        const testrib::Request& barbules = *curves[2 * i];
        const testrib::Request& rachis = *curves[2 * i + 1];
        EXPECT_EQ(barbules.args[0].text, "linear");
        EXPECT_EQ(barbules.args[1].numbers.size(),
                  drawableCurves(built[i].leftBarbules) + drawableCurves(built[i].rightBarbules));
        ASSERT_EQ(rachis.args[1].numbers,
                  std::vector<double>{double(built[i].rachisPoints.length())});
        // The rachis ends where the build ended it, in world space.
        const std::vector<double>& p = rachis.param("P")->numbers;
        const MFloatPoint& tip = built[i].rachisPoints[built[i].rachisPoints.length() - 1];
        EXPECT_FLOAT_EQ(static_cast<float>(p[p.size() - 1]), tip.z);
        // The globals' defaults: barbule UVs on, normals off.
        EXPECT_NE(barbules.param("s"), nullptr);
        EXPECT_EQ(barbules.param("N"), nullptr);
    }
    EXPECT_TRUE(named(requests, "Basis").empty());
    const auto surfaces = named(requests, "Surface");
    ASSERT_EQ(surfaces.size(), 2u) << "the default shader text heads each feather";
    EXPECT_EQ(surfaces[0]->args[0].text, "quillo");
    EXPECT_EQ(named(requests, "Color").size(), 2u) << "the node's preFeatherRib";

    // Cubic (the node's default): Catmull-Rom curves two vertices longer than the points.
    ASSERT_TRUE(scene.setAttr(wing + ".curveType", 1.0));
    ASSERT_EQ(exportAs("rib", path), 2);
    const std::vector<testrib::Request> cubic = readRib(readFile(path));
    ASSERT_EQ(named(cubic, "Basis").size(), 2u);
    const auto cubicCurves = named(cubic, "Curves");
    ASSERT_EQ(cubicCurves.size(), 4u);
    EXPECT_EQ(cubicCurves[1]->args[0].text, "cubic");
    EXPECT_EQ(cubicCurves[1]->args[1].numbers,
              std::vector<double>{double(built[0].rachisPoints.length() + 2)});
    std::remove(path.c_str());
}

TEST_F(ExportCommandTest, TheGlobalsNodeChangesTheRib) {
    const std::string wing = createWing();
    const std::string globals = createGlobals();
    ASSERT_TRUE(scene.setAttr(globals + ".featherRibText",
                              std::string("Surface \"plumage\" \"float Kd\" [0.7]")));
    ASSERT_TRUE(scene.setAttr(globals + ".exportBarbuleUV", 0.0));
    ASSERT_TRUE(scene.setAttr(globals + ".exportNormal", 1.0));
    ASSERT_TRUE(scene.setAttr(globals + ".gzipCompression", 1.0));
    ASSERT_TRUE(scene.setAttr(wing + ".rachisRenderAs", 1.0)) << "a subdivision mesh";
    const std::string path = uniquePath("globals.rib");
    ASSERT_EQ(exportAs("rib", path), 2);

    const std::string raw = readFile(path);
    ASSERT_GT(raw.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 0x1f) << "gzip";
    EXPECT_EQ(static_cast<unsigned char>(raw[1]), 0x8b) << "gzip";
    const std::vector<testrib::Request> requests = readRib(testrib::gunzip(path));
    std::vector<std::string> shaders;
    for (const testrib::Request* s : named(requests, "Surface"))
        shaders.push_back(s->args[0].text);
    EXPECT_EQ(shaders,
              (std::vector<std::string>{"plumage", "qoRachisMesh", "plumage", "qoRachisMesh"}));
    const auto curves = named(requests, "Curves");
    ASSERT_EQ(curves.size(), 2u) << "the rachis went to the meshes";
    for (const testrib::Request* c : curves) {
        EXPECT_EQ(c->param("s"), nullptr);
        EXPECT_NE(c->param("N"), nullptr);
    }
    EXPECT_EQ(named(requests, "SubdivisionMesh").size(), 2u);

    // Only the first globals node in scene order counts.
    std::string second;
    ASSERT_TRUE(scene.createNode("quilloGlobals", "laterGlobals", "", &second));
    ASSERT_TRUE(scene.setAttr(second + ".featherRibText", std::string("")));
    EXPECT_EQ(exportAs("rib", path), 2);
    std::remove(path.c_str());
}

TEST_F(ExportCommandTest, AnEmptyShaderTextIsRefusedByNameAndTheFileIsLeftAsItWas) {
    const std::string wing = createWing();
    const std::string globals = createGlobals();
    const std::string path = uniquePath("refused.rib");
    std::ofstream(path) << "earlier";
    ASSERT_TRUE(scene.setAttr(globals + ".featherRibText", std::string("  ")));
    {
        host::MessageCapture capture;
        EXPECT_EQ(exportAs("rib", path), -1);
        EXPECT_TRUE(capture.contains(host::MessageKind::kError,
                                     "quilloExportFeathers: cannot write '" + path + "'"));
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "\"featherRibText\" is empty"));
    }
    EXPECT_EQ(readFile(path), "earlier");

    // The rachis mesh's shader text matters only when a rachis is drawn as a mesh.
    ASSERT_TRUE(scene.setAttr(globals + ".featherRibText", std::string("Surface \"quillo\"")));
    ASSERT_TRUE(scene.setAttr(globals + ".rachisMeshRibText", std::string("")));
    EXPECT_EQ(exportAs("rib", path), 2);
    EXPECT_NE(readFile(path), "earlier");
    ASSERT_TRUE(scene.setAttr(wing + ".rachisRenderAs", 1.0));
    std::remove(path.c_str());
    {
        host::MessageCapture capture;
        EXPECT_EQ(exportAs("rib", path), -1);
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "\"rachisMeshRibText\" is empty"));
    }
    EXPECT_FALSE(std::ifstream(path).good()) << "no file under the final name";
}

TEST_F(ExportCommandTest, ObjWritesOneGroupOfPolylinesPerFeather) {
    const std::string wing = createWing();
    const std::string path = uniquePath("feathers.obj");
    ASSERT_EQ(exportAs("obj", path), 2);
    const std::vector<featherGeometry>& built = featherNode(wing).builtFeathers();
    ASSERT_EQ(built.size(), 2u);
    std::vector<std::string> groups;
    size_t lines = 0, vertices = 0, faces = 0;
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (line.rfind("g ", 0) == 0)
            groups.push_back(line.substr(2));
        lines += line.rfind("l ", 0) == 0;
        vertices += line.rfind("v ", 0) == 0;
        faces += line.rfind("f ", 0) == 0;
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"wing_feather0", "wing_feather1"}));
    // Each polyline is the chain of its segments.
    size_t expectedLines = 0, expectedVertices = 0;
    for (const featherGeometry& g : built) {
        expectedLines += g.rachisPoints.length() - 1;
        expectedVertices += g.rachisPoints.length();
        for (const auto* side : {&g.leftBarbules, &g.rightBarbules})
            for (const MFloatPointArray& curve : *side)
                if (curve.length() >= 2) {
                    expectedVertices += curve.length();
                    expectedLines += curve.length() - 1;
                }
    }
    EXPECT_EQ(lines, expectedLines);
    EXPECT_EQ(vertices, expectedVertices);
    EXPECT_EQ(faces, 0u) << "meshes only with outputFeatherMesh";
    std::remove(path.c_str());
}

TEST_F(ExportCommandTest, NodeAndPartPickWhatIsWrittenAndBadValuesAreRefused) {
    createWing();
    const std::string tail = createFeatherNode("tail");
    connectGuide(createGuide("other", MPoint(0.0, 0.0, 5.0)), tail, 0);
    const std::string path = uniquePath("picked.json");
    host::MelValue result;
    ASSERT_TRUE(host::melExecute("quilloExportFeathers -node " + tail + " -file \"" + path + "\"",
                                 &result));
    EXPECT_EQ(result, host::MelValue(1));
    const Value only = readJson(path);
    ASSERT_EQ(only["nodes"].size(), 1u);
    EXPECT_EQ(only["nodes"][0]["name"].text, tail);

    // Part 1 of 2 holds the second of the wing's two feathers and the tail's only one.
    ASSERT_TRUE(
        host::melExecute("quilloExportFeathers -part \"1/2\" -file \"" + path + "\"", &result));
    EXPECT_EQ(result, host::MelValue(2));
    const Value part = readJson(path);
    EXPECT_EQ(part["part"][0].text, "1");
    EXPECT_EQ(part["part"][1].text, "2");
    EXPECT_EQ(part["nodes"][0]["slots"][0].text, "1");
    EXPECT_EQ(part["nodes"][1]["slots"][0].text, "0");
    EXPECT_EQ(part["nodes"][1]["slots"][1].text, "1");

    const std::string before = readFile(path);
    for (const std::string flags : {"-part \"2/2\"", "-part 1", "-node nothing"}) {
        host::MessageCapture capture;
        EXPECT_FALSE(host::melExecute("quilloExportFeathers " + flags + " -file \"" + path + "\""))
            << flags;
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "quilloExportFeathers: ")) << flags;
    }
    EXPECT_EQ(readFile(path), before) << "a refused export leaves the file alone";
    std::remove(path.c_str());
}

TEST_F(ExportCommandTest, AnUnknownFormatIsRefusedAndTheShortFlagWorks) {
    createWing();
    const std::string path = uniquePath("bogus.out");
    {
        host::MessageCapture capture;
        EXPECT_FALSE(host::melExecute("quilloExportFeathers -format bogus -file \"" + path + "\""));
        EXPECT_TRUE(capture.contains(host::MessageKind::kError,
                                     "quilloExportFeathers: unknown format 'bogus'"));
        EXPECT_FALSE(host::melExecute("quilloExportFeathers -format RIB -file \"" + path + "\""));
        EXPECT_TRUE(capture.contains(host::MessageKind::kError, "unknown format 'RIB'"));
    }
    EXPECT_FALSE(std::ifstream(path).good());
    ASSERT_TRUE(host::melExecute("quilloExportFeathers -fmt obj -f \"" + path + "\""));
    EXPECT_EQ(readFile(path).rfind("# quillo feathers", 0), 0u);
    std::remove(path.c_str());
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

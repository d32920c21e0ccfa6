// quillo export and the feather example: the export of examples/featherGuides.ma is JSON with
// one feather per guide and the documented fields, or RIB / OBJ with one block or group per
// feather; the example's render shows feather-coloured strokes along each of its three guides;
// an export that cannot be written, or that a scene's globals node forbids, fails by name and
// leaves no file.

#include "../jsonReader.h"
#include "../ribReader.h"

#include <host/image.h>

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testjson::Value;

const std::string featherScene = QUILLO_SOURCE_DIR "/examples/featherGuides.ma";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(QuilloExport, TheExampleExportsItsFeatherNodeAndItsSystemWithTheDocumentedFields) {
    const std::string out = testing::TempDir() + "quillo_feathers.json";
    std::remove(out.c_str());
    const RunResult run = runQuillo("export " + featherScene + " -o " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Wrote " + out + " (103 feathers)"), std::string::npos) << run.output;

    const std::string text = readFile(out);
    Value root;
    testjson::Reader reader;
    ASSERT_TRUE(reader.parse(text, root)) << "not JSON at offset " << reader.where();
    EXPECT_EQ(root["format"].text, "quillo-feathers");
    EXPECT_EQ(root["version"].text, "1");
    ASSERT_EQ(root["nodes"].size(), 2u);
    const Value& node = root["nodes"][0];
    EXPECT_EQ(node["name"].text, "quilloShape");
    EXPECT_EQ(node["type"].text, "quillo");
    ASSERT_EQ(node["feathers"].size(), 3u) << "one feather per guide";

    // Guides lie around x = -3, 0 and 3 (flat, arched, twisted), running along +z from 0 to 4.
    const double guideX[] = {-3.0, 0.0, 3.0};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("feather " + std::to_string(i));
        const Value& f = node["feathers"][i];
        for (const char* field : {"name", "seed", "u", "v", "mainColor", "rachis", "left", "right",
                                  "barbuleThickness", "proxyBox", "meshBox"})
            EXPECT_TRUE(f.has(field)) << field;
        const Value& rachis = f["rachis"];
        ASSERT_GE(rachis["points"].size(), 2u);
        EXPECT_EQ(rachis["normals"].size(), rachis["points"].size());
        EXPECT_EQ(rachis["thickness"].size(), rachis["points"].size());
        EXPECT_GT(rachis["length"].number(), 3.0);
        for (size_t k = 0; k < rachis["points"].size(); ++k) {
            const Value& p = rachis["points"][k];
            ASSERT_EQ(p.size(), 3u);
            EXPECT_NEAR(p[0].number(), guideX[i], 0.6) << "rachis point " << k;
            EXPECT_GE(p[2].number(), -0.01);
            EXPECT_LE(p[2].number(), 4.01);
        }
        for (const char* side : {"left", "right"}) {
            const Value& curves = f[side]["curves"];
            EXPECT_GT(curves.size(), 20u) << side;
            for (size_t c = 0; c < curves.size(); ++c) {
                ASSERT_GE(curves[c]["points"].size(), 2u) << side << " curve " << c;
                ASSERT_EQ(curves[c]["normals"].size(), curves[c]["points"].size())
                    << side << " curve " << c;
            }
            EXPECT_EQ(f[side]["thickness"].size(), curves.size()) << side;
        }
        const Value& box = f["proxyBox"];
        EXPECT_LT(box["min"][0].number(), box["max"][0].number());
        EXPECT_LT(box["min"][2].number(), box["max"][2].number());
    }

    // The system: a 10 x 10 grid over the growth surface (x from -4 to 4, z from -8 to -1.5,
    // raised up to 1.25 in the middle), every feather rooted on it.
    const Value& system = root["nodes"][1];
    EXPECT_EQ(system["name"].text, "quilloSystemShape1");
    EXPECT_EQ(system["type"].text, "quilloSystem");
    ASSERT_EQ(system["feathers"].size(), 100u);
    for (size_t i = 0; i < 100; ++i) {
        const Value& start = system["feathers"][i]["rachis"]["points"][0];
        EXPECT_GE(start[0].number(), -4.0) << i;
        EXPECT_LE(start[0].number(), 4.0) << i;
        EXPECT_GE(start[1].number(), 0.0) << i;
        EXPECT_LE(start[1].number(), 1.3) << i;
        EXPECT_GE(start[2].number(), -8.0) << i;
        EXPECT_LE(start[2].number(), -1.5) << i;
    }
}

// Feather strokes drawn dormant: the root-to-tip colours of the example (a brown to a pale
// gold) at 0.6 brightness, so red well above blue. The wireframes are dark blue or black and
// the background grey, none of which passes.
bool isFeatherColoured(const unsigned char* p) {
    return p[0] > p[2] + 30 && p[0] >= p[1] && p[0] > 40;
}

TEST(QuilloExport, TheExampleRenderShowsFeathersAlongEachGuide) {
    const std::string out = testing::TempDir() + "quillo_feathers.png";
    std::remove(out.c_str());
    const RunResult run = runQuillo("render " + featherScene + " -o " + out + " --size 320x240");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    host::Image image;
    ASSERT_TRUE(host::readPng(out, image));
    // The three guides sit side by side across the picture: each third holds feather strokes.
    int thirds[3] = {0, 0, 0};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (isFeatherColoured(image.pixel(x, y)))
                ++thirds[x * 3 / image.width];
    for (int t = 0; t < 3; ++t)
        EXPECT_GT(thirds[t], 150) << "third " << t;
    EXPECT_LT(thirds[0] + thirds[1] + thirds[2], image.width * image.height / 2);
}

TEST(QuilloExport, AnUnwritablePathFailsByNameAndLeavesNoFile) {
    const std::string missing = testing::TempDir() + "no_such_folder_quillo/out.json";
    RunResult run = runQuillo("export " + featherScene + " -o " + missing);
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("cannot write '" + missing + "'"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(missing));

    // The destination is a folder: the file is written beside it, the rename fails, and the
    // temporary file is gone afterwards.
    const std::filesystem::path folder = testing::TempDir() + "quillo_export_folder";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "target");
    const std::string target = (folder / "target").string();
    run = runQuillo("export " + featherScene + " -o " + target);
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("cannot write '" + target + "'"), std::string::npos) << run.output;
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++entries;
        EXPECT_EQ(entry.path().filename(), "target") << "left behind: " << entry.path();
    }
    EXPECT_EQ(entries, 1u);
    EXPECT_TRUE(std::filesystem::is_empty(folder / "target"));

    // A good export over an existing file replaces it whole.
    const std::string out = (folder / "feathers.json").string();
    std::ofstream(out) << "old";
    run = runQuillo("export " + featherScene + " -o " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string text = readFile(out);
    EXPECT_EQ(text.rfind("{\"format\":\"quillo-feathers\"", 0), 0u);
    Value root;
    EXPECT_TRUE(testjson::Reader().parse(text, root));
    std::filesystem::remove_all(folder);
}

// A file name no other test process uses.
std::string uniquePath(const std::string& name) {
    return testing::TempDir() + "quillo_export_" + std::to_string(::getpid()) + "_" + name;
}

// The example with a render globals node appended, its attributes set by the lines given.
std::string exampleWithGlobals(const std::string& name, const std::string& globalsLines) {
    const std::string path = uniquePath(name);
    std::ofstream(path) << readFile(featherScene) << "createNode quilloGlobals -n \"globals\";\n"
                        << globalsLines;
    return path;
}

std::vector<std::string> identifiers(const std::vector<testrib::Request>& requests) {
    std::vector<std::string> names;
    for (const testrib::Request& r : requests)
        if (r.name == "Attribute" && r.args.size() == 3 && r.args[0].text == "identifier")
            names.push_back(r.args[2].strings.at(0));
    return names;
}

// The feather node's part of the example (other holders may follow it): its three feathers.
TEST(QuilloExport, TheExampleExportsAsRibAndObjOneBlockOrGroupPerFeather) {
    const std::string rib = uniquePath("feathers.rib");
    RunResult run = runQuillo("export " + featherScene + " --format rib -o " + rib);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Wrote " + rib + " ("), std::string::npos) << run.output;
    std::vector<testrib::Request> requests;
    std::string error;
    ASSERT_TRUE(testrib::read(readFile(rib), requests, &error)) << error;
    std::vector<std::string> names = identifiers(requests);
    ASSERT_GE(names.size(), 4u);
    names.resize(4);
    EXPECT_EQ(names, (std::vector<std::string>{"quilloShape", "quilloShape.feather0",
                                               "quilloShape.feather1", "quilloShape.feather2"}));
    // Each feather block of the node: its barbules (over 20 a side), then its rachis.
    std::vector<size_t> curveCounts;
    for (const testrib::Request& r : requests)
        if (r.name == "Curves" && curveCounts.size() < 6)
            curveCounts.push_back(r.args[1].numbers.size());
    ASSERT_EQ(curveCounts.size(), 6u);
    for (size_t f = 0; f < 3; ++f) {
        EXPECT_GT(curveCounts[2 * f], 40u) << "feather " << f;
        EXPECT_EQ(curveCounts[2 * f + 1], 1u) << "feather " << f;
    }
    std::remove(rib.c_str());

    const std::string obj = uniquePath("feathers.obj");
    run = runQuillo("export " + featherScene + " --format obj -o " + obj);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::string> groups;
    std::istringstream text(readFile(obj));
    std::string line;
    while (std::getline(text, line))
        if (line.rfind("g quilloShape_", 0) == 0)
            groups.push_back(line.substr(2));
    EXPECT_EQ(groups, (std::vector<std::string>{"quilloShape_feather0", "quilloShape_feather1",
                                                "quilloShape_feather2"}));
    std::remove(obj.c_str());
}

TEST(QuilloExport, TheScenesGlobalsNodeSteersTheRibAndCanRefuseIt) {
    const std::string zipped =
        exampleWithGlobals("gzip.ma", "\tsetAttr \".gzipCompression\" yes;\n"
                                      "\tsetAttr \".featherRibText\" -type \"string\" "
                                      "\"Surface \\\"plumage\\\"\";\n");
    const std::string rib = uniquePath("globals.rib");
    RunResult run = runQuillo("export " + zipped + " --format rib -o " + rib);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string raw = readFile(rib);
    ASSERT_GT(raw.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 0x1f) << "gzip";
    EXPECT_EQ(static_cast<unsigned char>(raw[1]), 0x8b) << "gzip";
    std::remove(zipped.c_str());

    // An empty shader text: exit 5, the reason on the terminal, the earlier file untouched.
    const std::string empty =
        exampleWithGlobals("empty.ma", "\tsetAttr \".featherRibText\" -type \"string\" \"\";\n");
    run = runQuillo("export " + empty + " --format rib -o " + rib);
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("cannot write '" + rib + "'"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"featherRibText\" is empty"), std::string::npos) << run.output;
    EXPECT_EQ(readFile(rib), raw);
    // The globals node has no say over OBJ.
    const std::string obj = uniquePath("globals.obj");
    run = runQuillo("export " + empty + " --format obj -o " + obj);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::remove(obj.c_str());
    std::remove(empty.c_str());
    std::remove(rib.c_str());
}

TEST(QuilloExport, AnUnwritableRibOrObjFailsByNameAndLeavesNoFile) {
    for (const char* format : {"rib", "obj"}) {
        const std::string missing = uniquePath("no_such_folder") + "/out." + format;
        const RunResult run =
            runQuillo("export " + featherScene + " --format " + format + " -o " + missing);
        EXPECT_EQ(run.exitCode, 5) << format << "\n" << run.output;
        EXPECT_NE(run.output.find("cannot write '" + missing + "'"), std::string::npos)
            << run.output;
        EXPECT_FALSE(std::filesystem::exists(missing));
    }
}

TEST(QuilloExport, CommandLineMistakesAreUsageErrors) {
    {
        const RunResult run = runQuillo("export a.ma -o c.rib --format bogus");
        EXPECT_EQ(run.exitCode, 2) << run.output;
        EXPECT_NE(run.output.find("unknown format 'bogus' (json, rib or obj)"), std::string::npos)
            << run.output;
    }
    for (const char* arguments :
         {"export", "export a.ma", "export a.ma b.ma -o c.json", "export a.ma -o c.json --bogus",
          "export a.ma -o c.rib --format", "export a.ma -o c.rib --format RIB"}) {
        const RunResult run = runQuillo(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: quillo"), std::string::npos) << arguments;
    }
    const RunResult run = runQuillo("export /no/such/scene.ma -o x.json");
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(run.output.find("/no/such/scene.ma"), std::string::npos) << run.output;
}

} // namespace

// A job split over processes: quillo export --part K/N writes the K-th slice of every node,
// quillo join puts JSON and OBJ parts back into exactly the whole export's file and writes a
// RIB main file that reads each part as an archive, and refuses parts that are missing, given
// twice, from another split or not parts at all. --node writes one node;
// info --build lists what each node builds without writing anything.

#include "../testFiles.h"
#include "runQuillo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string featherScene = QUILLO_SOURCE_DIR "/examples/featherGuides.ma";

class QuilloSplitExport : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Exports the example with extra arguments into the folder; the file's path.
    std::string exportAs(const std::string& name, const std::string& extra) {
        const std::string path = folder + name;
        const RunResult run = runQuillo("export " + featherScene + " -o " + path + extra);
        EXPECT_EQ(run.exitCode, 0) << extra << ": " << run.output;
        return path;
    }
    RunResult join(const std::string& parts, const std::string& output) {
        return runQuillo("join " + parts + " -o " + folder + output);
    }

    const std::string folder =
        ::testing::TempDir() + "quilloSplit_" + std::to_string(getpid()) + "/";
};

// Each node's body in a RIB file with every feather inline: the text between the node's
// AttributeBegin with its name and its closing AttributeEnd.
std::vector<std::string> ribNodeBodies(const std::string& text) {
    std::vector<std::string> bodies;
    std::vector<size_t> starts, ends;
    for (const std::string node : {"quilloShape", "quilloSystemShape1"}) {
        const std::string header =
            "AttributeBegin\nAttribute \"identifier\" \"string name\" [\"" + node + "\"]\n";
        starts.push_back(text.find(header));
        ends.push_back(starts.back() == std::string::npos ? 0 : starts.back() + header.size());
    }
    const size_t trailer = text.find("# part bound");
    for (size_t n = 0; n < starts.size(); ++n) {
        EXPECT_NE(starts[n], std::string::npos) << "node " << n;
        const size_t stop = n + 1 < starts.size() ? starts[n + 1] : std::min(trailer, text.size());
        std::string body = text.substr(ends[n], stop - ends[n]);
        EXPECT_EQ(body.substr(body.size() - 13), "AttributeEnd\n");
        bodies.push_back(body.substr(0, body.size() - 13));
    }
    return bodies;
}

// The example holds a feather node of 3 feathers and a system of 100: 7 parts leave some of
// the feather node's slices empty.
TEST_F(QuilloSplitExport, PartsJoinToExactlyTheWholeExportInEveryFormat) {
    for (const std::string format : {"json", "obj"}) {
        const std::string whole =
            testfiles::read(exportAs("whole." + format, " --format " + format));
        ASSERT_GT(whole.size(), 1000u);
        for (const int count : {1, 3, 7}) {
            std::string parts;
            // Given in reverse order: join orders them by their own index.
            for (int index = count - 1; index >= 0; --index) {
                const std::string part = std::to_string(index) + "/" + std::to_string(count);
                parts += " " + exportAs("part" + std::to_string(index) + "." + format,
                                        " --format " + format + " --part " + part);
            }
            const RunResult run = join(parts, "joined." + format);
            ASSERT_EQ(run.exitCode, 0) << run.output;
            EXPECT_TRUE(testfiles::read(folder + "joined." + format) == whole)
                << format << ", " << count << " parts";
        }
    }
}

// RIB parts are archives that a joined main file reads; between them they hold each node's
// feather blocks exactly as the whole inline export does.
TEST_F(QuilloSplitExport, RibPartsHoldTheWholeExportAndTheMainFileReadsEachOne) {
    const std::vector<std::string> whole =
        ribNodeBodies(testfiles::read(exportAs("whole.rib", " --format rib")));
    for (const int count : {1, 3, 7}) {
        std::string parts;
        std::vector<std::string> joined(whole.size());
        for (int index = 0; index < count; ++index) {
            const std::string part = exportAs("part" + std::to_string(index) + ".rib",
                                              " --format rib --part " + std::to_string(index) +
                                                  "/" + std::to_string(count));
            parts += " " + part;
            const std::vector<std::string> bodies = ribNodeBodies(testfiles::read(part));
            for (size_t n = 0; n < bodies.size() && n < joined.size(); ++n)
                joined[n] += bodies[n];
        }
        EXPECT_TRUE(joined == whole) << count << " parts";
        const RunResult run = join(parts, "main.rib");
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::string main = testfiles::read(folder + "main.rib");
        for (int index = 0; index < count; ++index) {
            const std::string archive = "Procedural \"DelayedReadArchive\" [\"" + folder + "part" +
                                        std::to_string(index) + ".rib\"] [";
            EXPECT_NE(main.find(archive), std::string::npos) << index << "\n" << main;
        }
    }
}

TEST_F(QuilloSplitExport, JoinRefusesPartsThatDoNotMakeOneWhole) {
    const std::string p0 = exportAs("p0.json", " --part 0/3");
    const std::string p1 = exportAs("p1.json", " --part 1/3");
    const std::string p2 = exportAs("p2.json", " --part 2/3");
    const std::string other = exportAs("other.json", " --part 1/2");
    const std::string whole = exportAs("whole.json", "");
    const std::string obj = exportAs("p2.obj", " --format obj --part 2/3");
    const struct {
        std::string parts, says;
    } cases[] = {
        {p0 + " " + p1, "part 2 of 3 is missing"},
        {p0 + " " + p1 + " " + p1 + " " + p2, "given twice"},
        {p0 + " " + other + " " + p2, "is not one of 3 parts"},
        {whole, "not a part"},
        {p0 + " " + p1 + " " + obj, "not a JSON part"},
        {p0 + " " + folder + "missing.json", "No such file"},
    };
    for (const auto& c : cases) {
        const RunResult run = join(c.parts, "joined.json");
        EXPECT_EQ(run.exitCode, 7) << c.parts << ": " << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(folder + "joined.json"));
    }
    // A cut-short part is no part either.
    std::filesystem::resize_file(p1, std::filesystem::file_size(p1) / 2);
    EXPECT_EQ(join(p0 + " " + p1 + " " + p2, "joined.json").exitCode, 7);
    EXPECT_EQ(runQuillo("join " + p0 + " " + p2 + " -o " + p0).exitCode, 7) << "a part as output";
}

TEST_F(QuilloSplitExport, NodePicksOneNodeAndBadPartsOrNamesAreUsageErrors) {
    const std::string only = testfiles::read(exportAs("only.json", " --node quilloShape"));
    EXPECT_NE(only.find("\"quilloShape\""), std::string::npos);
    EXPECT_EQ(only.find("quilloSystemShape1"), std::string::npos);
    for (const std::string extra :
         {" --part 3/3", " --part 1", " --node nothing", " --node back"}) {
        const RunResult run =
            runQuillo("export " + featherScene + " -o " + folder + "bad.json" + extra);
        EXPECT_EQ(run.exitCode, 2) << extra << ": " << run.output;
        EXPECT_FALSE(std::filesystem::exists(folder + "bad.json")) << extra;
    }
}

TEST_F(QuilloSplitExport, InfoBuildListsWhatEachNodeBuildsAndWritesNothing) {
    const RunResult run = runQuillo("info " + featherScene + " --build");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::istringstream lines(run.output);
    std::string line, feather, system;
    while (std::getline(lines, line)) {
        if (line.rfind("quilloShape ", 0) == 0)
            feather = line;
        if (line.rfind("quilloSystemShape1 ", 0) == 0)
            system = line;
    }
    // name, type, feathers, barbule points, seconds, megabytes held
    std::istringstream featherRow(feather), systemRow(system);
    std::string name, type;
    long feathers = 0, points = 0;
    featherRow >> name >> type >> feathers >> points;
    EXPECT_EQ(type, "quillo") << run.output;
    EXPECT_EQ(feathers, 3);
    EXPECT_GT(points, 1000);
    systemRow >> name >> type >> feathers >> points;
    EXPECT_EQ(type, "quilloSystem") << run.output;
    EXPECT_EQ(feathers, 100);
    EXPECT_GT(points, 10000);
    EXPECT_NE(run.output.find(" MB"), std::string::npos);
}

} // namespace

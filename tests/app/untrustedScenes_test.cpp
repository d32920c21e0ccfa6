// The hostile scenes of tests/data/hostile, opened by the real program: by default a scene runs
// only what describes it; trusted, it runs everything, yet a file that opens or sources itself is
// refused; connections must name real attributes; no depth of hierarchy brings quillo down.

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string corpus = QUILLO_SOURCE_DIR "/tests/data/hostile";

class UntrustedScenes : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "untrustedXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch = pattern;
    }
    void TearDown() override {
        if (!scratch.empty())
            std::filesystem::remove_all(scratch);
    }
    static bool contains(const RunResult& run, const std::string& text) {
        return run.output.find(text) != std::string::npos;
    }
    std::string scratch;
};

} // namespace

TEST_F(UntrustedScenes, AFileRunsOnlyWhatDescribesItUnlessTrusted) {
    const std::string scene = corpus + "/writesAFile.ma";
    RunResult run = runQuillo("info " + scene, scratch);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(contains(run, "'quilloExportFeathers' was not run (1 time, first at line 47)"))
        << run.output;
    EXPECT_TRUE(contains(run, "quilloSystemShape1")) << run.output;
    EXPECT_FALSE(std::filesystem::exists(scratch + "/written.rib"));

    run = runQuillo("info " + scene + " --trust-scene", scratch);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(contains(run, "was not run")) << run.output;
    EXPECT_TRUE(std::filesystem::exists(scratch + "/written.rib"));
}

TEST_F(UntrustedScenes, AFileThatOpensOrSourcesItselfIsRefusedWhenTrusted) {
    for (const char* file : {"opensItself.ma", "sourcesItself.ma"}) {
        RunResult run = runQuillo(std::string("info ") + file, corpus);
        EXPECT_EQ(run.exitCode, 0) << file << "\n" << run.output;
        EXPECT_TRUE(contains(run, "was not run")) << run.output;
        run = runQuillo(std::string("info --trust-scene ") + file, corpus);
        EXPECT_EQ(run.exitCode, 3) << file << "\n" << run.output;
        EXPECT_TRUE(contains(run, "is already being read")) << run.output;
        EXPECT_TRUE(contains(run, "|last")) << file << ": reading went on\n" << run.output;
    }
}

TEST_F(UntrustedScenes, ConnectionsNameRealAttributesAndDeleteNothingTheFileMade) {
    const std::string output = scratch + "/feathers.json";
    RunResult run = runQuillo("export " + corpus + "/missingAttribute.ma -o " + output);
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_TRUE(contains(run, "missingAttribute.ma line 47: connectAttr: no attribute "
                              "'noSuchAttribute' on 'quilloSystemShape1'."))
        << run.output;
    // The real input stayed: the system still grows feathers.
    EXPECT_TRUE(contains(run, "Wrote " + output + " (")) << run.output;
    EXPECT_FALSE(contains(run, "(0 feathers)")) << run.output;

    run = runQuillo("info " + corpus + "/rewiresAFeather.ma");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(contains(run, "line 49: 'quilloShape' (quillo) has no outgoing connection left; "
                              "it is kept"))
        << run.output;
    EXPECT_TRUE(contains(run, "|quillo1|quilloShape")) << run.output;
}

TEST_F(UntrustedScenes, AHundredThousandNestedParentsDrawAndExit) {
    const std::string scene = scratch + "/deep.ma", image = scratch + "/deep.png";
    {
        std::ofstream out(scene);
        out << "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n"
               "createNode transform -n \"t0\";\n";
        for (int i = 1; i < 100000; ++i)
            out << "createNode transform -n \"t" << i << "\" -p \"t" << i - 1 << "\";\n";
        out << "createNode locator -n \"tipShape\" -p \"t99999\";\n";
    }
    const RunResult run = runQuillo("render " + scene + " -o " + image + " --size 32x24");
    EXPECT_EQ(run.exitCode, 0) << run.output.substr(0, 4000);
    EXPECT_TRUE(std::filesystem::exists(image));
}

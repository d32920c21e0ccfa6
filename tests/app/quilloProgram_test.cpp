// The quillo program as a user runs it: each plug-in build loads, reports its types and
// unloads (quillo plugins, or quillo with no command); bad plug-in files are refused with a
// message naming them.

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

std::string plugin(const std::string& build) {
    return std::string(QUILLO_BINARY_DIR "/lib/") + build + ".so";
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

TEST(QuilloProgram, EveryBuildLoadsListsItsTypesAndUnloads) {
    const char* const apiVersions[][3] = {{"quillo2011", "201100", "2011"},
                                          {"quillo2012", "201204", "2012"},
                                          {"quillo2013", "201300", "2013"}};
    for (const auto& [build, api, required] : apiVersions) {
        RunResult run = runQuillo("--plugin " + plugin(build));
        EXPECT_NE(run.output.find(std::string(build) + " 1.6.5 by Varrow, built for API " + api +
                                  " (requires " + required + ")"),
                  std::string::npos)
            << run.output;
        EXPECT_EQ(run.exitCode, 0) << build << "\n" << run.output;
        EXPECT_EQ(occurrences(run.output, "quillo 1.6.5 loaded!\n"), 1u) << run.output;
        EXPECT_NE(run.output.find(std::string(build) +
                                  " registered 5 node types: quillo quilloGlobals quilloSystem "
                                  "quilloComponent quilloComponentArray"),
                  std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find(std::string(build) +
                                  " registered 2 data types: featherTurtleData "
                                  "featherTurtleArrayData"),
                  std::string::npos)
            << run.output;
        EXPECT_EQ(occurrences(run.output, "quillo 1.6.5 unloaded!\n"), 1u) << run.output;
        EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("API error"), std::string::npos) << run.output;
    }
}

TEST(QuilloProgram, ThePluginsCommandIsWhatRunsWithoutACommand) {
    RunResult plain = runQuillo("--plugin " + plugin("quillo2013"));
    RunResult named = runQuillo("plugins --plugin " + plugin("quillo2013"));
    EXPECT_EQ(named.exitCode, 0) << named.output;
    EXPECT_EQ(named.output, plain.output);
    EXPECT_NE(named.output.find("quillo2013 registered 5 node types"), std::string::npos)
        << named.output;
}

TEST(QuilloProgram, LoadingTwiceInOneProcessShowsTheLinesTwice) {
    RunResult run =
        runQuillo("--plugin " + plugin("quillo2012") + " --plugin " + plugin("quillo2012"));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(occurrences(run.output, "quillo 1.6.5 loaded!"), 2u) << run.output;
    EXPECT_EQ(occurrences(run.output, "quillo 1.6.5 unloaded!"), 2u) << run.output;
}

TEST(QuilloProgram, FilesThatAreNotPluginsAreRefusedByName) {
    std::string text = testing::TempDir() + "not_a_plugin.so";
    std::ofstream(text) << "this is not a shared library\n";
    RunResult run = runQuillo("--plugin " + text);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(text), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("loaded!"), std::string::npos);

    // A real shared library without the plug-in entry points.
    std::string host = QUILLO_BINARY_DIR "/lib/libmayahost.so";
    run = runQuillo("--plugin " + host);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("initializePlugin"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(host), std::string::npos) << run.output;

    run = runQuillo("--plugin /no/such/file.so");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("/no/such/file.so"), std::string::npos) << run.output;
}

TEST(QuilloProgram, UnknownArgumentsShowTheUsage) {
    RunResult run = runQuillo("--frobnicate");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("usage: quillo"), std::string::npos);
}

} // namespace

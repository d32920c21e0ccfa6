// quillo --workers: the example's export is the same file for any worker count, whether the
// count comes from the option or from QUILLO_WORKERS; a count that is not a whole number from 1
// up is a usage error.

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const std::string featherScene = QUILLO_SOURCE_DIR "/examples/featherGuides.ma";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "quilloWorkers_" + std::to_string(getpid()) + "_" + name;
}

// The example's JSON export, built with these extra arguments.
std::string exportWith(const std::string& extra, const std::string& name) {
    const std::string out = tempPath(name);
    const RunResult run = runQuillo("export " + featherScene + " -o " + out + extra);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string text = readFile(out);
    std::remove(out.c_str());
    return text;
}

TEST(QuilloWorkers, TheExportIsTheSameFileForAnyWorkerCount) {
    const std::string one = exportWith(" --workers 1", "one.json");
    ASSERT_NE(one.find("{\"points\":"), std::string::npos) << "barbule curves exported";
    EXPECT_TRUE(exportWith(" --workers 2", "two.json") == one);
    EXPECT_TRUE(exportWith(" --workers 8", "eight.json") == one);

    setenv("QUILLO_WORKERS", "3", 1);
    const std::string fromEnvironment = exportWith("", "environment.json");
    unsetenv("QUILLO_WORKERS");
    EXPECT_TRUE(fromEnvironment == one);
}

TEST(QuilloWorkers, ACountThatIsNotAWholeNumberFromOneUpIsAUsageError) {
    for (const char* count : {"0", "-2", "many", "2.5", ""}) {
        const RunResult run = runQuillo("export " + featherScene + " -o " + tempPath("bad.json") +
                                        " --workers '" + count + "'");
        EXPECT_EQ(run.exitCode, 2) << '"' << count << "\": " << run.output;
        EXPECT_NE(run.output.find("--workers"), std::string::npos) << run.output;
    }
    const RunResult missing = runQuillo("info " + featherScene + " --workers");
    EXPECT_EQ(missing.exitCode, 2) << missing.output;
}

} // namespace

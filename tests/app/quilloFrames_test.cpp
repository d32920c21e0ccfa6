// Frame ranges: how --frames and --frame read and name their files, and the animated wing
// example exported frame by frame: its feathers' roots lie on the bending growth surface, and a
// frame comes out the same alone, inside a range or with another worker count.

#include "../jsonReader.h"
#include "frameRange.h"
#include "runQuillo.h"

#include <host/image.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using testjson::Value;

const std::string wingScene = QUILLO_SOURCE_DIR "/examples/animatedWing.ma";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder for a test's files, removed when the test ends.
class FramesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testing::TempDir() + "quillo_frames_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

// The distance in the xy plane from a point to the wing's middle line with the elbow turned by
// `degrees`: the surface is that line swept along z, from (0, 0) through the elbow (2, 0) to the
// tip.
double offWing(const Value& point, double degrees) {
    const double a = degrees * M_PI / 180.0;
    const double line[3][2] = {{0, 0}, {2, 0}, {2 + 2 * std::cos(a), 2 * std::sin(a)}};
    const double x = point[0].number(), y = point[1].number();
    double best = 1e300;
    for (int s = 0; s < 2; ++s) {
        const double dx = line[s + 1][0] - line[s][0], dy = line[s + 1][1] - line[s][1];
        double t = ((x - line[s][0]) * dx + (y - line[s][1]) * dy) / (dx * dx + dy * dy);
        t = std::fmin(1.0, std::fmax(0.0, t));
        best = std::fmin(best, std::hypot(x - line[s][0] - t * dx, y - line[s][1] - t * dy));
    }
    return best;
}

} // namespace

TEST(FrameRange, RangesStepsAndFileNames) {
    std::vector<double> frames;
    std::string error;
    ASSERT_TRUE(quillo::parseFrameRange("1:24:11", frames, error)) << error;
    EXPECT_EQ(frames, (std::vector<double>{1, 12, 23}));
    ASSERT_TRUE(quillo::parseFrameRange("-1:0:0.5", frames, error)) << error;
    EXPECT_EQ(frames, (std::vector<double>{-1, -0.5, 0}));
    ASSERT_TRUE(quillo::parseFrameRange("0:0.3:0.1", frames, error)) << error;
    EXPECT_EQ(frames.size(), 4u); // 0.1 steps reach 0.3 despite rounding
    for (const char* bad : {"5:1", "1:5:0", "1:5:-1", "1", "1:", "a:3", "1:2:3:4", "0:1e8:0.01"})
        EXPECT_FALSE(quillo::parseFrameRange(bad, frames, error)) << bad;

    EXPECT_EQ(quillo::frameFileName("out.####.rib", 12), "out.0012.rib");
    EXPECT_EQ(quillo::frameFileName("out.#.rib", 120), "out.120.rib");
    EXPECT_EQ(quillo::frameFileName("out.####.rib", -3), "out.-003.rib");
    EXPECT_EQ(quillo::frameFileName("out_##.####.rib", 1.5), "out_##.0001.5.rib");
    EXPECT_EQ(quillo::frameFileName("shots#1/out.rib", 7), "shots#1/out.rib");
    EXPECT_FALSE(quillo::hasFramePlaceholder("shots#1/out.rib"));
}

TEST_F(FramesTest, FeathersFollowTheBendingWingFrameByFrame) {
    const RunResult range =
        runQuillo("export " + wingScene + " -o " + folder + "/wing.####.json --frames 1:24:23");
    ASSERT_EQ(range.exitCode, 0) << range.output;
    const RunResult middle =
        runQuillo("export " + wingScene + " -o " + folder + "/wing.##.json --frame 12");
    ASSERT_EQ(middle.exitCode, 0) << middle.output;
    EXPECT_NE(middle.output.find("Wrote " + folder + "/wing.12.json (101 feathers)"),
              std::string::npos)
        << middle.output;

    const std::pair<std::string, double> frames[] = {
        {"wing.0001.json", 0.0}, {"wing.12.json", 60.0 * 11 / 23}, {"wing.0024.json", 60.0}};
    for (const auto& [name, degrees] : frames) {
        SCOPED_TRACE(name);
        Value root;
        testjson::Reader reader;
        ASSERT_TRUE(reader.parse(readFile(folder + "/" + name), root));
        const Value& system = root["nodes"][1];
        ASSERT_EQ(system["feathers"].size(), 100u);
        for (size_t i = 0; i < system["feathers"].size(); ++i)
            EXPECT_LT(offWing(system["feathers"][i]["rachis"]["points"][0], degrees), 1e-5) << i;
        // The guide's feather rides on the outer joint: its root turns about the elbow.
        const Value& guideRoot = root["nodes"][0]["feathers"][0]["rachis"]["points"][0];
        const double a = degrees * M_PI / 180.0;
        EXPECT_NEAR(guideRoot[0].number(), 2 + 1.5 * std::cos(a), 1e-5);
        EXPECT_NEAR(guideRoot[1].number(), 1.5 * std::sin(a), 1e-5);
    }
}

TEST_F(FramesTest, AFrameIsTheSameAloneInARangeAndWithAnyWorkerCount) {
    const RunResult range = runQuillo("export " + wingScene + " -o " + folder +
                                      "/range.####.rib --format rib --frames 10:14 --workers 2");
    ASSERT_EQ(range.exitCode, 0) << range.output;
    const RunResult alone = runQuillo("export " + wingScene + " -o " + folder +
                                      "/alone.####.rib --format rib --frame 12 --workers 1");
    ASSERT_EQ(alone.exitCode, 0) << alone.output;
    const std::string fromRange = readFile(folder + "/range.0012.rib");
    ASSERT_FALSE(fromRange.empty());
    EXPECT_TRUE(fromRange == readFile(folder + "/alone.0012.rib"));
    EXPECT_FALSE(fromRange == readFile(folder + "/range.0011.rib"));
}

TEST_F(FramesTest, RenderWritesAPicturePerFrameAndRangesAreChecked) {
    const RunResult run = runQuillo("render " + wingScene + " -o " + folder +
                                    "/wing.###.png --frames 1:24:23 --size 160x120");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    host::Image first, last;
    ASSERT_TRUE(host::readPng(folder + "/wing.001.png", first));
    ASSERT_TRUE(host::readPng(folder + "/wing.024.png", last));
    EXPECT_NE(first.pixels, last.pixels);

    const RunResult unnamed =
        runQuillo("export " + wingScene + " -o " + folder + "/wing.json --frames 1:3");
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_NE(unnamed.output.find("need a '#'"), std::string::npos) << unnamed.output;
    const RunResult backwards =
        runQuillo("export " + wingScene + " -o " + folder + "/w.#.json --frames 5:1");
    EXPECT_EQ(backwards.exitCode, 2);
    EXPECT_NE(backwards.output.find("--frames: the last frame comes before the first"),
              std::string::npos)
        << backwards.output;
    EXPECT_FALSE(std::filesystem::exists(folder + "/wing.json"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/w.5.json"));
}

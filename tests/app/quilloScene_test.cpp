// The quillo program's scene commands on the example scene: render writes a PNG of the size
// asked for that shows the scene, info lists its nodes, and bad input is refused by name with
// the documented exit codes.

#include <host/image.h>

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

const std::string exampleScene = QUILLO_SOURCE_DIR "/examples/planeAndCube.ma";

// The host's background, within a step of rounding.
bool isBackground(const unsigned char* p) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(static_cast<int>(p[c]) - 161) > 1)
            return false;
    return true;
}

TEST(QuilloScene, RenderWritesAnImageOfTheRequestedSizeThatShowsTheScene) {
    const std::string out = testing::TempDir() + "quillo_example.png";
    std::remove(out.c_str());
    RunResult run = runQuillo("render " + exampleScene + " -o " + out + " --size 160x120");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Wrote " + out + " (160x120)"), std::string::npos) << run.output;
    // stdout is a pipe here: no progress bar.
    EXPECT_EQ(run.output.find('\r'), std::string::npos) << run.output;

    host::Image image;
    ASSERT_TRUE(host::readPng(out, image));
    ASSERT_EQ(image.width, 160);
    ASSERT_EQ(image.height, 120);
    // The wireframes of the plane (dark blue) and of the cube (black) cover some pixels; the
    // rest is background. Both halves of the picture hold something.
    int drawn[2] = {0, 0};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (!isBackground(image.pixel(x, y)))
                ++drawn[x < image.width / 2 ? 0 : 1];
    EXPECT_GT(drawn[0], 50) << "the plane's half";
    EXPECT_GT(drawn[1], 50) << "the cube's half";
    EXPECT_LT(drawn[0] + drawn[1], image.width * image.height / 2);

    // Through another camera the picture changes; an unknown camera is refused by name.
    const std::string top = testing::TempDir() + "quillo_example_top.png";
    run = runQuillo("render " + exampleScene + " -o " + top + " --camera nowhere");
    EXPECT_EQ(run.exitCode, 4) << run.output;
    EXPECT_NE(run.output.find("'nowhere'"), std::string::npos) << run.output;
    EXPECT_FALSE(std::ifstream(top).good()) << "no image for a failed render";
}

TEST(QuilloScene, InfoListsEveryNodeWithItsType) {
    RunResult run = runQuillo("info " + exampleScene);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const char* const rows[][2] = {
        {"|persp ", "transform"},     {"|persp|perspShape ", "camera"},
        {"|wavyPlane ", "transform"}, {"|wavyPlane|wavyPlaneShape ", "nurbsSurface"},
        {"|cube ", "transform"},      {"|cube|cubeShape ", "mesh"}};
    for (const auto& row : rows) {
        size_t at = run.output.find(std::string("\n") + row[0]);
        ASSERT_NE(at, std::string::npos) << row[0] << "\n" << run.output;
        size_t end = run.output.find('\n', at + 1);
        std::string line = run.output.substr(at + 1, end - at - 1);
        EXPECT_EQ(line.substr(line.find_last_of(' ') + 1), row[1]) << line;
    }
    EXPECT_NE(run.output.find("6 nodes in " + exampleScene), std::string::npos) << run.output;
}

TEST(QuilloScene, BadInputIsRefusedByNameWithItsExitCode) {
    RunResult run = runQuillo("render /no/such/scene.ma -o " + testing::TempDir() + "x.png");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.output.find("/no/such/scene.ma"), std::string::npos) << run.output;
    run = runQuillo("info /no/such/scene.ma");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.output.find("/no/such/scene.ma"), std::string::npos) << run.output;

    // A scene with an error: the reader names the file and the line, render still draws.
    const std::string broken = testing::TempDir() + "broken_scene.ma";
    std::ofstream(broken) << "//Maya ASCII 2013 scene\n"
                          << "createNode transform -n \"box\";\n"
                          << "createNode transform -n \"other\";\n"
                          << "setAttr \"box.t\" -type \"double3\" 1 2;\n";
    const std::string out = testing::TempDir() + "broken.png";
    run = runQuillo("render " + broken + " -o " + out + " --size 8x8");
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(run.output.find(broken + " line 4"), std::string::npos) << run.output;
    EXPECT_TRUE(std::ifstream(out).good()) << "the image of what was read";

    // The output cannot be written.
    run = runQuillo("render " + exampleScene + " -o /no/such/folder/out.png --size 8x8");
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("/no/such/folder/out.png"), std::string::npos) << run.output;

    // Command lines that make no sense.
    const char* const wrong[] = {"render",
                                 "render " QUILLO_SOURCE_DIR "/examples/planeAndCube.ma",
                                 "render a.ma -o b.png --size 0x10",
                                 "render a.ma -o b.png --size 10",
                                 "render a.ma b.ma -o c.png",
                                 "info",
                                 "frobnicate"};
    for (const char* arguments : wrong) {
        run = runQuillo(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: quillo"), std::string::npos) << arguments;
    }
}

TEST(QuilloScene, HelpListsTheCommandsAndExitCodes) {
    RunResult run = runQuillo("--help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* piece :
         {"render SCENE.ma -o OUT.png", "info SCENE.ma", "plugins", "Exit codes:",
          "  5    the output (image or export file) cannot be written", "  6    a feather node",
          "  129  interrupted by SIGHUP, 130 by SIGINT, 143 by SIGTERM", "QUILLO_MAX_POINTS"})
        EXPECT_NE(run.output.find(piece), std::string::npos) << piece;
}

} // namespace

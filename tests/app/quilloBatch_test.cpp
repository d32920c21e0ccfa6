// quillo batch: a scene changed by the user's MEL commands, then saved, rendered and exported in
// one run; and a shot whose feathers come from a rig it references, rendered and exported.

#include "../jsonReader.h"

#include "runQuillo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string examples = QUILLO_SOURCE_DIR "/examples/";
const std::string birdShot = QUILLO_SOURCE_DIR "/tests/data/maya/references/birdShot.ma";

class QuilloBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = testing::TempDir() + "quilloBatch_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string file(const std::string& name) const { return folder_ + "/" + name; }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The feathers of each node of a JSON export, in node order.
    static std::vector<size_t> feathersPerNode(const std::string& path) {
        testjson::Value root;
        testjson::Reader reader;
        std::vector<size_t> counts;
        if (!reader.parse(read(path), root))
            return counts;
        for (size_t k = 0; k < root["nodes"].size(); ++k)
            counts.push_back(root["nodes"][k]["feathers"].size());
        return counts;
    }

  private:
    std::string folder_;
};

TEST_F(QuilloBatch, SetsAnAttributeThenExports) {
    const RunResult plain =
        runQuillo("export " + examples + "featherGuides.ma -o " + file("plain.json"));
    ASSERT_EQ(plain.exitCode, 0) << plain.output;
    const RunResult run =
        runQuillo("batch " + examples +
                  "featherGuides.ma -c 'setAttr quilloSystemShape1.dispqua 50' "
                  "-c 'print (`getAttr quilloSystemShape1.dispqua` + \" percent\\n\")' "
                  "--export " +
                  file("half.json"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("50 percent"), std::string::npos) << run.output;
    const std::vector<size_t> before = feathersPerNode(file("plain.json"));
    const std::vector<size_t> after = feathersPerNode(file("half.json"));
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_LT(after[1], before[1]);
    EXPECT_GT(after[1], 0u);
}

TEST_F(QuilloBatch, CommandsMoveTheSceneInTime) {
    // joint2.rz is keyed 0 at frame 1 and 60 at frame 24.
    const RunResult run =
        runQuillo("batch " + examples +
                  "animatedWing.ma -c 'print (`getAttr joint2.rz` + \" \"); currentTime 12; "
                  "print (`currentTime -q` + \" \" + `getAttr joint2.rz` + \"\\n\")'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("0 12 28.69565217"), std::string::npos) << run.output;
    EXPECT_EQ(runQuillo("batch " + examples + "animatedWing.ma -c 'currentTime soon'").exitCode, 8);
}

TEST_F(QuilloBatch, BuildsAFeatherSystemWithTheMenuProceduresAndSaves) {
    const RunResult run = runQuillo(
        "batch " + examples +
        "planeAndCube.ma -c 'select -r wavyPlane; string $f = `quilloCreateFeather`; select -r $f "
        "wavyPlane; quilloConnectGuideSurfaces; select -r wavyPlane; quilloCreateFeatherSystem;' "
        "--save " +
        file("grown.ma") + " --render " + file("grown.png"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(file("grown.png")));
    const RunResult info = runQuillo("export " + file("grown.ma") + " -o " + file("grown.json"));
    ASSERT_EQ(info.exitCode, 0) << info.output;
    const std::vector<size_t> counts = feathersPerNode(file("grown.json"));
    ASSERT_EQ(counts.size(), 2u) << info.output;
    EXPECT_GT(counts[1], 0u);
}

TEST_F(QuilloBatch, AFailingCommandStopsEverything) {
    const RunResult run =
        runQuillo("batch " + examples + "planeAndCube.ma -c 'setAttr nothingHere.tx 1' --save " +
                  file("never.ma") + " --export " + file("never.json"));
    EXPECT_EQ(run.exitCode, 8) << run.output;
    EXPECT_NE(run.output.find("quillo batch: the command 'setAttr nothingHere.tx 1' failed; "
                              "nothing was saved, rendered or exported"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(file("never.ma")));
    EXPECT_FALSE(std::filesystem::exists(file("never.json")));
    EXPECT_EQ(runQuillo("batch " + examples + "planeAndCube.ma -c").exitCode, 2);
    // The scene may be saved over itself, never over a file it reads.
    std::filesystem::copy(QUILLO_SOURCE_DIR "/tests/data/maya/references", file("refs"));
    const RunResult over =
        runQuillo("batch " + file("refs/birdShot.ma") + " --save " + file("refs/birdRig.ma"));
    EXPECT_EQ(over.exitCode, 5) << over.output;
    EXPECT_NE(over.output.find("is the file the reference birdRN reads"), std::string::npos)
        << over.output;
    const RunResult itself =
        runQuillo("batch " + file("refs/birdShot.ma") + " -c 'setAttr persp.tx 4' --save " +
                  file("refs/birdShot.ma"));
    EXPECT_EQ(itself.exitCode, 0) << itself.output;
    EXPECT_NE(read(file("refs/birdShot.ma")).find("setAttr \".t\" -type \"double3\" 4 11 10"),
              std::string::npos);
}

TEST_F(QuilloBatch, AShotRendersAndExportsTheFeathersOfTheRigItReferences) {
    const RunResult exported = runQuillo("export " + birdShot + " -o " + file("shot.json"));
    ASSERT_EQ(exported.exitCode, 0) << exported.output;
    const std::vector<size_t> counts = feathersPerNode(file("shot.json"));
    ASSERT_EQ(counts.size(), 2u) << exported.output;
    EXPECT_EQ(counts[1], 9u); // the referenced system's 3 x 3 grid on the referenced back
    const RunResult rendered = runQuillo("render " + birdShot + " -o " + file("shot.png"));
    ASSERT_EQ(rendered.exitCode, 0) << rendered.output;
    EXPECT_TRUE(std::filesystem::exists(file("shot.png")));
}

} // namespace

// What quillo writes and how it ends, tried as a careless user and a render farm would: builds
// that fail give exit 6 and a last line naming the nodes; no output replaces an input; images
// and exports are written whole or not at all (a file-size limit, a device, a link, kept
// permissions); an interrupted export leaves no temporary file; FIFOs never block; running out
// of memory is an error, not an abort.

#include "runQuillo.h"

#include "../testFiles.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string featherScene = QUILLO_SOURCE_DIR "/examples/featherGuides.ma";

using testfiles::read;

std::string lastLine(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("quillo 1.", 0) != 0) // the plug-in's own unload line
            lines.push_back(line);
    return lines.empty() ? std::string() : lines.back();
}

class QuilloOutputs : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::path(testing::TempDir()) /
                 ("quilloOutputs_" + std::to_string(getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The example scene with extra lines, as a file of the test's own.
    std::string scene(const std::string& extra, const std::string& name = "scene.ma") {
        const std::string path = (folder / name).string();
        std::ofstream(path) << read(featherScene) << extra;
        return path;
    }
    std::vector<std::string> entries() const { return testfiles::names(folder); }
    fs::path folder;
};

TEST_F(QuilloOutputs, BuildFailuresExitSixWithALastLineNamingTheNodes) {
    const std::string grid = scene("setAttr \"quilloSystemShape1.useg\" 100000;\n"
                                   "setAttr \"quilloSystemShape1.vseg\" 100000;\n");
    const std::string out = (folder / "out.json").string();
    RunResult run = runQuillo("export " + grid + " -o " + out);
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_EQ(lastLine(run.output),
              "quillo: 1 of 2 feather nodes failed to build: quilloSystemShape1 (\"uSegment\" x "
              "\"vSegment\" is 100000 x 100000 = 10000000000 cells, more than the limit of "
              "67108864; no feathers were placed.); " +
                  out + " was not written");
    EXPECT_FALSE(fs::exists(out));

    // render draws what did build, writes it and says what did not.
    const std::string missing = (folder / "missing.uvi").string();
    const std::string file = scene("setAttr \"quilloSystemShape1.uuvi\" 1;\n"
                                   "setAttr \"quilloSystemShape1.uvif\" -type \"string\" \"" +
                                       missing + "\";\n",
                                   "uvFile.ma");
    const std::string image = (folder / "out.png").string();
    run = runQuillo("render " + file + " -o " + image + " --size 16x16");
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_TRUE(fs::exists(image));
    EXPECT_EQ(lastLine(run.output),
              "quillo: 1 of 2 feather nodes failed to build: quilloSystemShape1 (Can't open file " +
                  missing + ".); " + image + " shows the others");
    EXPECT_NE(run.output.find("UV info file " + missing + ": No such file or directory."),
              std::string::npos)
        << run.output;

    // CR-only line ends read as Maya reads them: the same feathers.
    std::string text = read(featherScene);
    std::replace(text.begin(), text.end(), '\n', '\r');
    std::ofstream((folder / "mac.ma").string(), std::ios::binary) << text;
    run = runQuillo("export " + (folder / "mac.ma").string() + " -o " + out);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("(103 feathers)"), std::string::npos) << run.output;
}

TEST_F(QuilloOutputs, NoOutputReplacesAFileTheSceneReads) {
    const std::string uvi = (folder / "roots.uvi").string();
    const std::string texture = (folder / "colour.png").string();
    std::ofstream(uvi) << "not read";
    std::ofstream(texture) << "not read";
    const std::string path = scene("setAttr \"quilloSystemShape1.uvif\" -type \"string\" \"" + uvi +
                                   "\";\ncreateNode file -n \"tex\";\nsetAttr \".ftn\" "
                                   "-type \"string\" \"" +
                                   texture + "\";\n");
    const std::string before = read(path);
    fs::create_symlink(path, folder / "link.ma");
    const struct {
        std::string command, output, says;
    } cases[] = {
        {"export", path, "is the scene being read"},
        {"render", path, "is the scene being read"},
        {"export", (folder / "link.ma").string(), "is the scene being read"},
        {"export", uvi, "is the UV info file of quilloSystemShape1"},
        {"render", texture, "is the texture of tex"},
    };
    for (const auto& c : cases) {
        const RunResult run = runQuillo(c.command + " " + path + " -o " + c.output);
        EXPECT_EQ(run.exitCode, 5) << c.command << " " << c.output << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says + " ('"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("nothing was written"), std::string::npos) << run.output;
    }
    EXPECT_EQ(read(path), before);
    EXPECT_TRUE(fs::is_symlink(folder / "link.ma"));
    EXPECT_EQ(read(uvi), "not read");
    EXPECT_EQ(read(texture), "not read");
}

TEST_F(QuilloOutputs, ImagesAndExportsAreWrittenWholeOrNotAtAll) {
    const fs::path image = folder / "view.png";
    std::ofstream(image.string()) << "yesterday's image";
    ASSERT_EQ(chmod(image.c_str(), 0600), 0);
    // A full disk (ulimit -f: 8 blocks) fails the write with the system's reason, and the
    // earlier image and folder are as they were.
    RunResult run = runShell("ulimit -f 8; exec " + quilloProgram() + " render " + featherScene +
                             " -o " + image.string() + " --size 400x300");
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("quillo render: cannot write '" + image.string() +
                              "': writing failed: File too large"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(read(image), "yesterday's image");
    EXPECT_EQ(entries(), std::vector<std::string>{"view.png"});

    // A good write replaces it whole, keeping its permissions; through a link the link stays.
    run = runQuillo("render " + featherScene + " -o " + image.string() + " --size 40x30");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(fs::status(image).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("view.png", folder / "latest.png");
    run = runQuillo("export " + featherScene + " --format obj -o " +
                    (folder / "latest.png").string());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::is_symlink(folder / "latest.png"));
    EXPECT_EQ(read(image).rfind("# quillo", 0), 0u) << "the link's target was written";

    // A device is refused, never replaced or written (as root it used to be deleted).
    run = runQuillo("render " + featherScene + " -o /dev/full --size 8x8");
    EXPECT_EQ(run.exitCode, 5) << run.output;
    EXPECT_NE(run.output.find("'/dev/full': it is a device, not a regular file"), std::string::npos)
        << run.output;
    struct stat device;
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
}

TEST_F(QuilloOutputs, AnInterruptedExportExits143AndLeavesNoTemporaryFile) {
    // About fifty megabytes of JSON, so that the write is long enough to be interrupted.
    const std::string big = scene("setAttr \"quilloSystemShape1.useg\" 12;\n"
                                  "setAttr \"quilloSystemShape1.vseg\" 12;\n"
                                  "setAttr \"quilloSystemShape1.dispbarqua\" 100;\n");
    const fs::path out = folder / "out.json";
    std::ofstream(out.string()) << "the good export";
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execl(quilloProgram().c_str(), "quillo", "export", big.c_str(), "-o", out.c_str(),
              "--workers", "2", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Waits for the temporary file to appear: the program is then writing.
    bool writing = false;
    int status = 0;
    while (!writing && waitpid(child, &status, WNOHANG) == 0) {
        for (const std::string& name : entries())
            writing = writing || name.rfind(".quillo-", 0) == 0;
        if (!writing)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(writing) << "the export ended before it could be interrupted";
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 143) << "status " << status;
    EXPECT_EQ(entries(), (std::vector<std::string>{"out.json", "scene.ma"}));
    EXPECT_EQ(read(out), "the good export");
}

TEST_F(QuilloOutputs, FifosAreRefusedWithoutBlockingAndOptionsStateTheirRange) {
    const std::string fifo = (folder / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // "timeout" only guards the suite: the program must answer at once.
    RunResult run = runShell("timeout 60 " + quilloProgram() + " info " + fifo);
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(run.output.find("'" + fifo + "': it is a FIFO (named pipe), not a regular file"),
              std::string::npos)
        << run.output;
    run = runShell("timeout 60 " + quilloProgram() + " plugins --plugin " + fifo);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("it is a FIFO (named pipe), not a regular file"), std::string::npos)
        << run.output;
    const std::string uvi = scene("setAttr \"quilloSystemShape1.uuvi\" 1;\n"
                                  "setAttr \"quilloSystemShape1.uvif\" -type \"string\" \"" +
                                  fifo + "\";\n");
    run = runShell("timeout 60 " + quilloProgram() + " export " + uvi + " -o " +
                   (folder / "out.json").string());
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_NE(run.output.find("UV info file " + fifo + ": it is a FIFO"), std::string::npos)
        << run.output;

    run = runQuillo("info " + featherScene + " --workers 100000");
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_NE(run.output.find("--workers takes a whole number from 1 to 1024, not '100000'"),
              std::string::npos)
        << run.output;
}

TEST_F(QuilloOutputs, RunningOutOfMemoryIsABuildErrorNotAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
    // 90,000 feathers, past the budget on purpose, in 400 MB of address space. An export
    // streams them and would fit; the build report holds them all, as drawing does.
    const std::string big = scene("setAttr \"quilloSystemShape1.useg\" 300;\n"
                                  "setAttr \"quilloSystemShape1.vseg\" 300;\n"
                                  "setAttr \"quilloSystemShape1.dispbarqua\" 100;\n");
    const RunResult run = runShell("ulimit -v 400000; QUILLO_MAX_POINTS=100000000000 exec " +
                                   quilloProgram() + " info " + big + " --build --workers 2");
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_NE(run.output.find("quilloSystemShape1: out of memory while building 90000 "
                              "feathers; its feathers stay empty."),
              std::string::npos)
        << run.output;
}

} // namespace

// Output files are all or nothing: a stream that fails part way (plainly or under gzip), a
// file-size limit, a missing or read-only folder, a special file in the way or a signal fail
// the write with the system's reason, leave any earlier file as it was and no temporary file
// behind. A replaced file keeps its permissions and owner, and a link stays a link.

#include "export/outputFile.h"

#include "../testFiles.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A stream buffer that takes `room` bytes, then refuses everything, like a disk filling up.
class fillingBuffer : public std::streambuf {
  public:
    explicit fillingBuffer(size_t room) : room_(room) {}
    size_t taken = 0;

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (taken >= room_)
            return traits_type::eof();
        ++taken;
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::streamsize fit =
            std::min<std::streamsize>(n, static_cast<std::streamsize>(room_ - taken));
        taken += static_cast<size_t>(fit);
        (void)s;
        return fit;
    }

  private:
    size_t room_;
};

// A megabyte of varied text, so that gzip output is large too.
bool manyLines(std::ostream& out) {
    for (int i = 0; i < 40000; ++i)
        out << "line " << i * 7919 % 100003 << " of the content\n";
    return out.good();
}

using testfiles::read;

// A fresh folder per test, removed at the end whatever happens.
class OutputFile : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::path(testing::TempDir()) /
                 ("outputFile_" + std::to_string(::getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }
    std::vector<std::string> entries() const { return testfiles::names(folder); }
    // Runs `body` in a child process and returns its wait status.
    static int inChild(const std::function<int()>& body) {
        const pid_t child = fork();
        if (child == 0)
            _exit(body());
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }
    fs::path folder;
};

TEST_F(OutputFile, AStreamThatFillsUpFailsTheWritePlainOrCompressed) {
    for (const bool gzip : {false, true}) {
        SCOPED_TRACE(gzip ? "gzip" : "plain");
        fillingBuffer buffer(1000);
        std::ostream out(&buffer);
        EXPECT_FALSE(writeContent(out, gzip, manyLines));
        EXPECT_EQ(buffer.taken, 1000u);

        fillingBuffer roomy(100000000);
        std::ostream fine(&roomy);
        EXPECT_TRUE(writeContent(fine, gzip, manyLines));
    }
    // Content that gives up fails the write even though the stream is fine.
    std::ostringstream out;
    EXPECT_FALSE(writeContent(out, false, [](std::ostream&) { return false; }));
}

TEST_F(OutputFile, SpecialFilesAreRefusedAndStayAsTheyWere) {
    std::string why;
    struct stat device;
    if (stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode)) {
        EXPECT_FALSE(writeFileAtomically("/dev/full", false, manyLines, &why));
        EXPECT_EQ(why, "it is a device, not a regular file");
        ASSERT_EQ(stat("/dev/full", &device), 0);
        EXPECT_TRUE(S_ISCHR(device.st_mode)) << "the device was replaced by a file";
    }
    const fs::path fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(writeFileAtomically(fifo.string(), false, manyLines, &why));
    EXPECT_EQ(why, "it is a FIFO (named pipe), not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::create_directory(folder / "target");
    EXPECT_FALSE(writeFileAtomically((folder / "target").string(), false, manyLines, &why));
    EXPECT_EQ(why, "it is a folder");
    EXPECT_EQ(entries(), (std::vector<std::string>{"pipe", "target"}));
}

TEST_F(OutputFile, UnwritablePlacesFailByReasonAndLeaveNothingBehind) {
    std::string why;
    EXPECT_FALSE(
        writeFileAtomically((folder / "missing" / "out.rib").string(), false, manyLines, &why));
    EXPECT_EQ(why, "cannot create a temporary file in the folder '" +
                       (folder / "missing").string() + "/': No such file or directory");
    std::ofstream((folder / "plain").string()) << "x";
    EXPECT_FALSE(
        writeFileAtomically((folder / "plain" / "out.rib").string(), false, manyLines, &why));
    EXPECT_EQ(why, "looking it up failed: Not a directory");

    // A read-only folder: the folder is named, not the file (as root, in a child without root).
    const fs::path locked = folder / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string expected = "cannot create a temporary file in the folder '" +
                                 locked.string() + "/': Permission denied";
    const int status = inChild([&]() {
        if (geteuid() == 0 && setuid(65534) != 0)
            return 3;
        std::string reason;
        if (writeFileAtomically((locked / "out.rib").string(), false, manyLines, &reason))
            return 1;
        return reason == expected ? 0 : 2;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;

    // A content that gives up half way leaves the earlier file whole and no temporary file.
    const fs::path out = folder / "out.rib";
    std::ofstream(out.string()) << "earlier";
    EXPECT_FALSE(writeFileAtomically(
        out.string(), true,
        [](std::ostream& o) {
            o << "half";
            return false;
        },
        &why));
    EXPECT_EQ(read(out), "earlier");
    EXPECT_EQ(entries(), (std::vector<std::string>{"locked", "out.rib", "plain"}));

    ASSERT_TRUE(writeFileAtomically(out.string(), false, manyLines, &why)) << why;
    EXPECT_GT(fs::file_size(out), 500000u);
}

TEST_F(OutputFile, AFileSizeLimitFailsTheWriteAndKeepsTheEarlierFile) {
    // ulimit -f: past the limit write() fails with EFBIG (SIGXFSZ ignored, as quillo does).
    const fs::path out = folder / "out.json";
    std::ofstream(out.string()) << "earlier";
    for (const bool gzip : {false, true}) {
        const int status = inChild([&]() {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{65536, 65536};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::string why;
            if (writeFileAtomically(out.string(), gzip, manyLines, &why))
                return 1;
            return why == "writing failed: File too large" ? 0 : 2;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
        EXPECT_EQ(read(out), "earlier");
        EXPECT_EQ(entries(), std::vector<std::string>{"out.json"});
    }
}

TEST_F(OutputFile, ASignalDuringTheWriteRemovesTheTemporaryFileThenActsAsBefore) {
    const fs::path out = folder / "out.json";
    std::ofstream(out.string()) << "earlier";
    const auto interrupted = [&](int signal) {
        return [signal](std::ostream& stream) {
            manyLines(stream);
            stream.flush();
            raise(signal);
            return manyLines(stream);
        };
    };
    // No handler before: the process ends by the signal.
    int status = inChild([&]() {
        std::string why;
        writeFileAtomically(out.string(), false, interrupted(SIGTERM), &why);
        return 1;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    // The program's own handler runs after the removal (quillo exits with 128 + the number).
    status = inChild([&]() {
        signal(SIGHUP, [](int number) { _exit(128 + number); });
        std::string why;
        writeFileAtomically(out.string(), true, interrupted(SIGHUP), &why);
        return 1;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 129) << "status " << status;
    EXPECT_EQ(read(out), "earlier");
    EXPECT_EQ(entries(), std::vector<std::string>{"out.json"});

    // Once the write is over, the handler before is back.
    struct sigaction now;
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(OutputFile, AReplacedFileKeepsPermissionsAndOwnerALinkStaysALinkAnyLegalNameWorks) {
    std::string why;
    const fs::path out = folder / "private.json";
    std::ofstream(out.string()) << "earlier";
    ASSERT_EQ(chmod(out.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(out.c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(writeFileAtomically(out.string(), false, manyLines, &why)) << why;
    struct stat info;
    ASSERT_EQ(stat(out.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }

    // Through a chain of links, one relative: the last target is replaced, the links stay.
    fs::create_directory(folder / "real");
    std::ofstream((folder / "real" / "image.png").string()) << "earlier";
    fs::create_symlink("real/image.png", folder / "inner");
    fs::create_symlink(folder / "inner", folder / "outer");
    ASSERT_TRUE(writeFileAtomically((folder / "outer").string(), false,
                                    [](std::ostream& o) { return (o << "new").good(); }, &why))
        << why;
    EXPECT_TRUE(fs::is_symlink(folder / "outer"));
    EXPECT_TRUE(fs::is_symlink(folder / "inner"));
    EXPECT_EQ(read(folder / "real" / "image.png"), "new");
    // A dangling link gets its target made.
    fs::create_symlink("real/made.png", folder / "dangling");
    ASSERT_TRUE(writeFileAtomically((folder / "dangling").string(), false,
                                    [](std::ostream& o) { return (o << "made").good(); }, &why))
        << why;
    EXPECT_EQ(read(folder / "real" / "made.png"), "made");

    const std::string longest(255, 'n');
    ASSERT_TRUE(writeFileAtomically((folder / longest).string(), false, manyLines, &why)) << why;
    EXPECT_TRUE(fs::exists(folder / longest));
}

} // namespace

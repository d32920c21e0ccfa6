// Export files are all or nothing: a stream that fails part way (plainly or under gzip), a
// full disk, a missing folder or a folder in the way fail with the system's reason, and no file
// is left under the final name; devices are written in place, never replaced.

#include "export/outputFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

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

std::string uniquePath(const std::string& name) {
    return testing::TempDir() + "outputFile_" + std::to_string(::getpid()) + "_" + name;
}

TEST(OutputFile, AStreamThatFillsUpFailsTheWritePlainOrCompressed) {
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

TEST(OutputFile, AFullDiskFailsByReasonAndTheDeviceStaysADevice) {
    struct stat device;
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode))
        GTEST_SKIP() << "/dev/full is not available here";
    for (const bool gzip : {false, true}) {
        std::string why;
        EXPECT_FALSE(writeFileAtomically("/dev/full", gzip, manyLines, &why));
        EXPECT_EQ(why, "No space left on device");
    }
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "the device was replaced by a file";
}

TEST(OutputFile, UnwritablePlacesFailAndLeaveNothingBehind) {
    namespace fs = std::filesystem;
    const fs::path folder = uniquePath("folder");
    fs::remove_all(folder);
    fs::create_directories(folder / "target");
    std::string why;
    EXPECT_FALSE(
        writeFileAtomically((folder / "missing" / "out.rib").string(), false, manyLines, &why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_FALSE(writeFileAtomically((folder / "target").string(), false, manyLines, &why));
    EXPECT_EQ(why, "it is a folder");
    std::ofstream((folder / "plain").string()) << "x";
    EXPECT_FALSE(
        writeFileAtomically((folder / "plain" / "out.rib").string(), false, manyLines, &why));
    EXPECT_EQ(why, "Not a directory");

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
    std::ifstream in(out.string());
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "earlier");
    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3u) << "target, plain and out.rib only";

    ASSERT_TRUE(writeFileAtomically(out.string(), false, manyLines, &why)) << why;
    EXPECT_GT(fs::file_size(out), 500000u);
    fs::remove_all(folder);
}

} // namespace

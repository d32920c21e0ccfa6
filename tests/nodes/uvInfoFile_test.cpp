// The UV info file reader: files with and without face ids, the face-id flag, empty lists,
// and files that are missing, empty, truncated, junk or announce impossible counts.

#include "nodes/system/uvInfoFile.h"

#include <host/messages.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

// Builds a file's bytes, little-endian.
struct fileBytes {
    std::vector<unsigned char> bytes;
    fileBytes& int32(std::int32_t value) {
        std::uint32_t raw;
        std::memcpy(&raw, &value, 4);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<unsigned char>(raw >> (8 * i)));
        return *this;
    }
    fileBytes& real(double value) {
        std::uint64_t raw;
        std::memcpy(&raw, &value, 8);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<unsigned char>(raw >> (8 * i)));
        return *this;
    }
};

class UvInfoFileTest : public ::testing::Test {
  protected:
    void TearDown() override { std::remove(path.c_str()); }

    void write(const fileBytes& file) { write(std::string(file.bytes.begin(), file.bytes.end())); }
    void write(const std::string& content) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    bool read() { return readUVInfoFile(path.c_str(), u, v, faces); }

    std::vector<float> list(const MFloatArray& values) const {
        std::vector<float> result;
        for (unsigned int i = 0; i < values.length(); ++i)
            result.push_back(values[i]);
        return result;
    }
    std::vector<int> list(const MIntArray& values) const {
        std::vector<int> result;
        for (unsigned int i = 0; i < values.length(); ++i)
            result.push_back(values[i]);
        return result;
    }
    // A refused file: false, one error naming the file, nothing appended.
    void expectRefused(const std::string& fragment) {
        host::MessageCapture capture;
        EXPECT_FALSE(read());
        ASSERT_EQ(capture.count(host::MessageKind::kError), 1u);
        const std::string error = capture.texts(host::MessageKind::kError)[0];
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(fragment), std::string::npos) << error;
        EXPECT_EQ(u.length() + v.length() + faces.length(), 0u);
    }

    // One file per test: ctest runs the tests of this suite side by side.
    std::string path = ::testing::TempDir() + "uvInfoFileTest_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".uvi";
    MFloatArray u, v;
    MIntArray faces;
};

TEST_F(UvInfoFileTest, PositionsWithFaceIds) {
    write(
        fileBytes().int32(2).int32(1).int32(7).int32(9).real(0.25).real(0.5).real(0.75).real(0.5));
    host::MessageCapture capture;
    ASSERT_TRUE(read());
    EXPECT_EQ(list(u), (std::vector<float>{0.25f, 0.75f}));
    EXPECT_EQ(list(v), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(list(faces), (std::vector<int>{7, 9}));
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(UvInfoFileTest, PositionsWithoutFaceIds) {
    write(fileBytes().int32(2).int32(0).real(0.25).real(0.5).real(0.75).real(0.5));
    ASSERT_TRUE(read());
    EXPECT_EQ(list(u), (std::vector<float>{0.25f, 0.75f}));
    EXPECT_EQ(list(v), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(faces.length(), 0u);
}

TEST_F(UvInfoFileTest, OnlyFlagOneMeansFaceIds) {
    // Flag 2: the bytes after the header are coordinates.
    write(fileBytes().int32(1).int32(2).real(0.125).real(0.875));
    ASSERT_TRUE(read());
    EXPECT_EQ(list(u), (std::vector<float>{0.125f}));
    EXPECT_EQ(list(v), (std::vector<float>{0.875f}));
    EXPECT_EQ(faces.length(), 0u);
}

TEST_F(UvInfoFileTest, ResultsAreAppendedAndNarrowed) {
    u.append(-1.0f);
    v.append(-2.0f);
    faces.append(-3);
    write(fileBytes()
              .int32(3)
              .int32(1)
              .int32(-4)
              .int32(0)
              .int32(2147483647)
              .real(0.1)
              .real(1e300)
              .real(-1e300)
              .real(std::numeric_limits<double>::quiet_NaN())
              .real(1.0 / 3.0)
              .real(2.0));
    ASSERT_TRUE(read());
    ASSERT_EQ(u.length(), 4u);
    ASSERT_EQ(v.length(), 4u);
    EXPECT_EQ(list(faces), (std::vector<int>{-3, -4, 0, 2147483647})) << "ids as written";
    EXPECT_EQ(u[0], -1.0f);
    EXPECT_EQ(u[1], 0.1f);
    EXPECT_EQ(v[1], std::numeric_limits<float>::infinity());
    EXPECT_EQ(u[2], -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(v[2]));
    EXPECT_EQ(u[3], static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(v[3], 2.0f);
}

TEST_F(UvInfoFileTest, ACountOfZeroIsNoRoots) {
    write(fileBytes().int32(0).int32(1));
    host::MessageCapture capture;
    EXPECT_TRUE(read());
    EXPECT_EQ(u.length() + v.length() + faces.length(), 0u);
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(UvInfoFileTest, NegativeCountsAreRefusedNamingTheFile) {
    for (int count : {-1, -2147483647 - 1}) {
        write(fileBytes().int32(count).int32(1).real(0.5).real(0.5));
        host::MessageCapture capture;
        EXPECT_FALSE(read()) << count;
        EXPECT_EQ(u.length() + v.length() + faces.length(), 0u) << count;
        const auto errors = capture.texts(host::MessageKind::kError);
        ASSERT_EQ(errors.size(), 1u) << count;
        EXPECT_NE(errors[0].find(path), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(std::to_string(count)), std::string::npos) << errors[0];
    }
}

TEST_F(UvInfoFileTest, BytesAfterTheDataAreIgnored) {
    write(fileBytes().int32(1).int32(0).real(0.5).real(0.25).real(9.0).int32(4));
    ASSERT_TRUE(read());
    EXPECT_EQ(list(u), (std::vector<float>{0.5f}));
    EXPECT_EQ(list(v), (std::vector<float>{0.25f}));
}

TEST_F(UvInfoFileTest, MissingFilesFoldersAndFifosCannotBeOpenedAndSayWhy) {
    const auto expectCannotOpen = [&](const std::string& why) {
        host::MessageCapture capture;
        EXPECT_FALSE(read());
        EXPECT_EQ(capture.texts(host::MessageKind::kError),
                  (std::vector<std::string>{"Can't open file " + path + ".",
                                            "UV info file " + path + ": " + why + "."}));
    };
    path = ::testing::TempDir() + "noSuchUvInfoFile.uvi";
    expectCannotOpen("No such file or directory");
    path = ::testing::TempDir();
    expectCannotOpen("it is a folder");
    // A FIFO without a writer: refused at once instead of blocking the open forever.
    path = ::testing::TempDir() + "uvInfoFileTest_fifo.uvi";
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    expectCannotOpen("it is a FIFO (named pipe), not a regular file");
}

TEST_F(UvInfoFileTest, FilesShorterThanTheHeaderAreRefused) {
    write("");
    expectRefused("8-byte header (0 bytes)");
    write(fileBytes().int32(1));
    expectRefused("(4 bytes)");
}

TEST_F(UvInfoFileTest, TruncatedFilesAreRefused) {
    // Three positions with face ids need 8 + 60 bytes; the last coordinates are missing.
    write(fileBytes().int32(3).int32(1).int32(1).int32(2).int32(3).real(0).real(0).real(1).real(1));
    expectRefused("3 positions with face ids need 68 bytes, the file holds 52.");
    // Without face ids, one double short.
    write(fileBytes().int32(2).int32(0).real(0).real(0).real(1));
    expectRefused("2 positions need 40 bytes, the file holds 32.");
}

TEST_F(UvInfoFileTest, ImpossibleCountsAreRefusedWithoutAllocating) {
    // Reading these as announced would allocate tens of gigabytes.
    write(fileBytes().int32(2147483647).int32(1).real(0.5).real(0.5));
    expectRefused("2147483647 positions with face ids need 42949672948 bytes");
    write(fileBytes().int32(2147483647).int32(0));
    expectRefused("the file holds 8.");
}

TEST_F(UvInfoFileTest, ASparseFileAnnouncingMoreThanTheBudgetIsRefusedBeforeReading) {
    // 2^31 - 1 positions in a file that is as large as they need, but sparse: nothing is
    // allocated for them beyond what the caller's share of the build budget allows.
    write(fileBytes().int32(2147483647).int32(0));
    if (truncate(path.c_str(), 8 + 16 * 2147483647LL) != 0)
        GTEST_SKIP() << "no sparse files here";
    host::MessageCapture capture;
    EXPECT_FALSE(readUVInfoFile(path.c_str(), u, v, faces, 1000));
    const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("its 2147483647 positions are more than the 1000 the build budget "
                             "allows (QUILLO_MAX_POINTS)"),
              std::string::npos)
        << errors[0];
    EXPECT_EQ(u.length(), 0u);
}

TEST_F(UvInfoFileTest, JunkIsRefused) {
    write("This is not a UV info file at all, just some text.\n");
    expectRefused("positions");
}

} // namespace

// The streaming writer and its number text: every float and double reads back to the same
// bits from the shortest text, a file is the same bytes for any worker count and chunking,
// whether its feathers were held or built while writing, and the parts of a split export
// cover every slot once.

#include "featherExportSamples.h"

#include "export/exportPart.h"
#include "export/exportText.h"
#include "export/featherJoin.h"
#include "export/featherJson.h"
#include "export/featherObj.h"
#include "export/featherSource.h"
#include "export/featherStream.h"
#include "feather/buildWorkers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {

template <typename Number> bool readsBack(Number value) {
    textBuffer text;
    appendNumber(text, value);
    const std::string written = text.str();
    const Number read = sizeof(Number) == 4 ? std::strtof(written.c_str(), nullptr)
                                            : std::strtod(written.c_str(), nullptr);
    return std::memcmp(&read, &value, sizeof value) == 0;
}

TEST(ExportText, EveryFiniteValueReadsBackBitForBitFromItsShortestText) {
    std::mt19937 random(17);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (std::isfinite(f)) {
            ASSERT_TRUE(readsBack(f)) << bits;
        }
        const uint64_t wide = (uint64_t(random()) << 32) | random();
        double d;
        std::memcpy(&d, &wide, sizeof d);
        if (std::isfinite(d)) {
            ASSERT_TRUE(readsBack(d)) << wide;
        }
    }
    for (float f : {0.0f, -0.0f, 1e-45f, std::numeric_limits<float>::max(), 16777215.0f})
        EXPECT_TRUE(readsBack(f)) << f;
    EXPECT_EQ(finiteFloatText(0.1f), "0.1") << "shortest among floats, not doubles";
    EXPECT_EQ(finiteFloatText(-2.5e-7f), "-2.5e-07");
    EXPECT_EQ(finiteFloatText(std::numeric_limits<float>::infinity()), "0");
}

TEST(ExportPart, PartsAreParsedStrictlyAndTheirSlicesCoverEverySlotOnce) {
    exportPart part;
    EXPECT_TRUE(parseExportPart("2/7", part));
    EXPECT_EQ(part.index, 2u);
    EXPECT_EQ(part.count, 7u);
    for (const char* bad :
         {"7/7", "1/0", "-1/3", "+1/3", " 1/3", "1/3 ", "1/", "/3", "a/3", "13", "1/2000000"}) {
        EXPECT_FALSE(parseExportPart(bad, part)) << bad;
        EXPECT_EQ(part.index, 2u) << bad << " leaves the part alone";
    }
    for (size_t slots : {0, 1, 3, 10, 1001})
        for (unsigned int count : {1u, 3u, 7u}) {
            size_t next = 0;
            for (unsigned int index = 0; index < count; ++index) {
                const slotRange range = partSlots(slots, {index, count});
                EXPECT_EQ(range.first, next) << slots << " slots, part " << index << "/" << count;
                EXPECT_LE(range.size(), slots / count + 1);
                next = range.end;
            }
            EXPECT_EQ(next, slots);
        }
}

// A feather per slot made on demand, different per slot; every fifth slot fails to build.
class madeFeathers : public featherSource {
  public:
    madeFeathers(size_t slots, unsigned int workers) : slots_(slots), workers_(workers) {}
    size_t slotCount() const override { return slots_; }
    unsigned int workerCount() const override { return workers_; }
    void build(size_t first, size_t end, const delivery& deliver) const override {
        runOnWorkers(end - first, workers_, [&](size_t item, unsigned int worker) {
            const size_t slot = first + item;
            if (slot % 5 != 4)
                deliver(slot, feather(slot), worker);
        });
    }
    static featherGeometry feather(size_t slot) {
        featherGeometry g = samples::featherAlongX(2 + slot % 4, slot % 3, 1 + slot % 2);
        g.u = static_cast<float>(slot) / 7.0f;
        g.seed = static_cast<int>(slot);
        return g;
    }

  private:
    size_t slots_;
    unsigned int workers_;
};

std::string streamed(featherFileFormat& format, const featherExportNode& node,
                     const exportPart& part = exportPart()) {
    std::ostringstream out;
    EXPECT_TRUE(streamFeathers(out, format, {node}, part));
    return out.str();
}

class FeatherStream : public ::testing::Test {
  protected:
    void TearDown() override { setBuildWorkerCount(0); }
};

TEST_F(FeatherStream, FilesAreTheSameBytesForAnyWorkerCountHeldOrBuiltWhileWriting) {
    // More slots than two chunks, so that chunks and the writing thread take turns.
    const size_t slots = 3 * streamChunkSlots(8) + 5;
    std::vector<featherGeometry> held;
    for (size_t slot = 0; slot < slots; ++slot)
        if (slot % 5 != 4)
            held.push_back(madeFeathers::feather(slot));
    featherExportNode fromList;
    fromList.name = "wing";
    fromList.type = "quillo";
    fromList.feathers = &held;

    featherJsonFormat json;
    setBuildWorkerCount(1);
    const std::string expected = streamed(json, fromList);
    std::vector<featherJsonNode> plain = {{"wing", "quillo", &held}};
    std::ostringstream direct;
    ASSERT_TRUE(writeFeatherJson(direct, plain));
    EXPECT_EQ(direct.str(), expected);
    for (unsigned int workers : {1u, 2u, 8u}) {
        setBuildWorkerCount(workers);
        EXPECT_EQ(streamed(json, fromList), expected) << workers << " workers, held";
        const madeFeathers source(slots, workers);
        featherExportNode fromSource = fromList;
        fromSource.feathers = nullptr;
        fromSource.source = &source;
        EXPECT_EQ(streamed(json, fromSource), expected) << workers << " workers, streamed";
    }
}

// Feathers keep their slot in a part: an OBJ part names them as the whole file does, and the
// parts hold every built feather once, in order.
TEST_F(FeatherStream, PartsWriteTheirOwnSlotsUnderTheirWholeExportNames) {
    const madeFeathers source(23, 2);
    featherExportNode node;
    node.name = "tail";
    node.source = &source;
    featherObjFormat obj;
    const std::string whole = streamed(obj, node);
    std::string objects;
    for (unsigned int index = 0; index < 3; ++index) {
        const std::string part = streamed(obj, node, {index, 3});
        const slotRange range = partSlots(23, {index, 3});
        EXPECT_NE(part.find("# node tail (): slots " + std::to_string(range.first) + " to " +
                            std::to_string(range.end) + " of 23\n"),
                  std::string::npos)
            << part.substr(0, 200);
        for (size_t at = part.find("\no "); at != std::string::npos; at = part.find("\no ", at + 1))
            objects += part.substr(at + 3, part.find('\n', at + 1) - at - 3) + " ";
    }
    std::string wholeObjects;
    for (size_t at = whole.find("\no "); at != std::string::npos; at = whole.find("\no ", at + 1))
        wholeObjects += whole.substr(at + 3, whole.find('\n', at + 1) - at - 3) + " ";
    EXPECT_EQ(objects, wholeObjects);
    EXPECT_EQ(wholeObjects.find("tail_feather4 "), std::string::npos) << "slot 4 failed";
    EXPECT_NE(wholeObjects.find("tail_feather22 "), std::string::npos);
}

// Names with quotes, escapes, control characters and UTF-8 survive the join, which reads them
// from the parts and writes them again, in both formats that join whole files.
TEST_F(FeatherStream, JoinedPartsEqualTheWholeFileWhateverTheNodesAreCalled) {
    const madeFeathers source(11, 2);
    featherExportNode odd, empty;
    odd.name = "wing \"left\"\\\n\t\x01 \xc3\xa9";
    odd.type = "quillo";
    odd.source = &source;
    empty.name = "bare";
    empty.type = "quilloSystem";
    const std::string folder = ::testing::TempDir() + "featherJoin_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    featherJsonFormat json;
    featherObjFormat obj;
    for (featherFileFormat* format :
         {static_cast<featherFileFormat*>(&json), static_cast<featherFileFormat*>(&obj)}) {
        std::ostringstream whole;
        ASSERT_TRUE(streamFeathers(whole, *format, {odd, empty}, exportPart()));
        std::vector<std::string> parts;
        for (unsigned int index = 0; index < 4; ++index) {
            parts.push_back(folder + "/part" + std::to_string(index));
            std::ofstream out(parts.back(), std::ios::binary);
            ASSERT_TRUE(streamFeathers(out, *format, {odd, empty}, {index, 4}));
        }
        std::string why;
        ASSERT_TRUE(joinExportParts(parts, folder + "/joined", &why)) << why;
        std::ifstream in(folder + "/joined", std::ios::binary);
        const std::string joined((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        EXPECT_TRUE(joined == whole.str()) << joined.substr(0, 300);
    }
    std::filesystem::remove_all(folder);
}

// A build that runs out of memory half way stops the writing with a reason, after the writing
// thread has let go of the chunks, and throws nothing at the caller.
TEST_F(FeatherStream, RunningOutOfMemoryFailsTheStreamWithAReason) {
    class failingFeathers : public madeFeathers {
      public:
        failingFeathers() : madeFeathers(1000, 2) {}
        void build(size_t first, size_t end, const delivery& deliver) const override {
            if (end > 600)
                throw std::bad_alloc();
            madeFeathers::build(first, end, deliver);
        }
    } source;
    featherExportNode node;
    node.name = "wing";
    node.source = &source;
    featherJsonFormat json;
    std::ostringstream out;
    std::string problem;
    EXPECT_FALSE(streamFeathers(out, json, {node}, exportPart(), nullptr, &problem));
    EXPECT_EQ(problem, "not enough memory to build and write the feathers");
}

} // namespace

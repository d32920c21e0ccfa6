// The build's workers: how many there are (set, environment, machine) and how items are handed
// to them.

#include "feather/buildWorkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

class BuildWorkerCountTest : public ::testing::Test {
  protected:
    void SetUp() override { unsetenv(buildWorkersVariable); }
    void TearDown() override {
        unsetenv(buildWorkersVariable);
        setBuildWorkerCount(0);
    }
    static unsigned int machine() {
        const unsigned int hardware = std::thread::hardware_concurrency();
        return hardware > 0 ? hardware : 1;
    }
};

TEST_F(BuildWorkerCountTest, DefaultsToTheMachineAndFollowsTheEnvironment) {
    EXPECT_EQ(buildWorkerCount(), machine());
    setenv(buildWorkersVariable, "1", 1);
    EXPECT_EQ(buildWorkerCount(), 1u);
    setenv(buildWorkersVariable, "7", 1);
    EXPECT_EQ(buildWorkerCount(), 7u) << "read again on every call";
    setenv(buildWorkersVariable, "100000", 1);
    EXPECT_EQ(buildWorkerCount(), 1024u) << "capped";
}

TEST_F(BuildWorkerCountTest, IgnoresEnvironmentValuesThatAreNotACount) {
    for (const char* text : {"", "0", "-3", "two", "3x", " 3", "99999999999999999999999"}) {
        setenv(buildWorkersVariable, text, 1);
        EXPECT_EQ(buildWorkerCount(), machine()) << '"' << text << '"';
    }
}

TEST_F(BuildWorkerCountTest, ASetCountWinsOverTheEnvironmentUntilCleared) {
    setenv(buildWorkersVariable, "5", 1);
    setBuildWorkerCount(3);
    EXPECT_EQ(buildWorkerCount(), 3u);
    setBuildWorkerCount(0);
    EXPECT_EQ(buildWorkerCount(), 5u);
}

TEST(RunOnWorkersTest, OneWorkerRunsEveryItemInOrderOnTheCallingThread) {
    std::vector<size_t> items;
    std::set<std::thread::id> threads;
    runOnWorkers(6, 1, [&](size_t item, unsigned int worker) {
        EXPECT_EQ(worker, 0u);
        items.push_back(item);
        threads.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(items, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST(RunOnWorkersTest, ManyWorkersRunEveryItemOnceWithTheirOwnNumbers) {
    for (unsigned int workers : {2u, 3u, 8u, 64u}) {
        constexpr size_t count = 1000;
        std::vector<std::atomic<int>> runs(count);
        std::mutex mutex;
        std::set<std::pair<unsigned int, std::thread::id>> seen;
        runOnWorkers(count, workers, [&](size_t item, unsigned int worker) {
            EXPECT_LT(worker, workers);
            ++runs[item];
            const std::lock_guard<std::mutex> lock(mutex);
            seen.insert({worker, std::this_thread::get_id()});
        });
        for (size_t item = 0; item < count; ++item)
            ASSERT_EQ(runs[item].load(), 1) << "item " << item << ", " << workers << " workers";
        // Each worker number stays on one thread: scratch indexed by worker is never shared.
        std::set<unsigned int> numbers;
        for (const auto& entry : seen)
            numbers.insert(entry.first);
        EXPECT_EQ(numbers.size(), seen.size()) << workers << " workers";
    }
}

TEST(RunOnWorkersTest, NothingToDoCallsNothing) {
    int calls = 0;
    runOnWorkers(0, 4, [&](size_t, unsigned int) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(RunOnWorkersTest, ATaskExceptionReachesTheCaller) {
    for (unsigned int workers : {1u, 4u}) {
        std::atomic<int> calls{0};
        EXPECT_THROW(runOnWorkers(100, workers,
                                  [&](size_t item, unsigned int) {
                                      ++calls;
                                      if (item == 10)
                                          throw std::runtime_error("refused");
                                  }),
                     std::runtime_error)
            << workers << " workers";
        // One worker stops at the failing item. Several may skip items fetched just before the
        // failure was seen, so only the one-worker count is exact.
        if (workers == 1) {
            EXPECT_EQ(calls.load(), 11);
        }
    }
}

} // namespace

#include "feather/buildWorkers.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace {

unsigned int chosenWorkers = 0;

// QUILLO_WORKERS as a count, or 0 when unset or not a whole number from 1 up.
unsigned int workersFromEnvironment() {
    const char* text = std::getenv(buildWorkersVariable);
    if (!text || *text < '0' || *text > '9') {
        return 0; // strtoul would skip spaces and accept a sign
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1) {
        return 0;
    }
    return static_cast<unsigned int>(value < maxBuildWorkers ? value : maxBuildWorkers);
}

} // namespace

unsigned int buildWorkerCount() {
    if (chosenWorkers > 0) {
        return chosenWorkers;
    }
    if (const unsigned int fromEnvironment = workersFromEnvironment()) {
        return fromEnvironment;
    }
    const unsigned int hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? hardware : 1;
}

void setBuildWorkerCount(unsigned int workers) {
    chosenWorkers = workers < maxBuildWorkers ? workers : maxBuildWorkers;
}

void runOnWorkers(size_t count, unsigned int workers,
                  const std::function<void(size_t item, unsigned int worker)>& task) {
    if (workers <= 1 || count <= 1) {
        for (size_t item = 0; item < count; ++item) {
            task(item, 0);
        }
        return;
    }
    if (workers > count) {
        workers = static_cast<unsigned int>(count);
    }

    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr firstError;
    std::mutex errorMutex;
    auto work = [&](unsigned int worker) {
        try {
            for (size_t item = next.fetch_add(1); item < count && !failed.load();
                 item = next.fetch_add(1)) {
                task(item, worker);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(errorMutex);
            if (!firstError) {
                firstError = std::current_exception();
            }
            failed.store(true);
        }
    };

    std::vector<std::thread> threads;
    try {
        threads.reserve(workers - 1);
    } catch (const std::bad_alloc&) {
        workers = 1; // the calling thread alone
    }
    for (unsigned int worker = 1; worker < workers; ++worker) {
        try {
            threads.emplace_back(work, worker);
        } catch (...) {
            // No thread (system_error) or no memory for one (bad_alloc): the threads already
            // running and the calling thread take over its share, and every started thread is
            // still joined below.
            break;
        }
    }
    work(0);
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }
}

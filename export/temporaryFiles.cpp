#include "export/temporaryFiles.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

// Held names live in fixed slots, so that the signal handler reads them without locks or
// allocation. More files at once than slots are still written, only not removed on a signal.
constexpr int slotCount = 64;
enum slotState : int { kFree = 0, kFilling = 1, kHeld = 2 };
struct slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
slot slots[slotCount];

const int handledSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int handledCount = sizeof handledSignals / sizeof handledSignals[0];
struct sigaction earlierActions[handledCount];
bool installed[handledCount];

std::mutex installMutex;
int heldCount = 0;

void removeHeldFilesThenPassOn(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    for (slot& s : slots)
        if (s.state.load() == kHeld)
            unlink(s.path);
    for (int i = 0; i < handledCount; ++i) {
        if (handledSignals[i] != signal)
            continue;
        const struct sigaction& earlier = earlierActions[i];
        if (earlier.sa_flags & SA_SIGINFO) {
            earlier.sa_sigaction(signal, info, context);
        } else if (earlier.sa_handler == SIG_DFL) {
            // The default action, once this handler returns and the signal is unblocked.
            sigaction(signal, &earlier, nullptr);
            raise(signal);
        } else if (earlier.sa_handler != SIG_IGN) {
            earlier.sa_handler(signal);
        }
    }
    errno = savedErrno;
}

void installHandlers() {
    for (int i = 0; i < handledCount; ++i) {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_sigaction = &removeHeldFilesThenPassOn;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        installed[i] = false;
        if (sigaction(handledSignals[i], nullptr, &earlierActions[i]) != 0)
            continue;
        if (!(earlierActions[i].sa_flags & SA_SIGINFO) && earlierActions[i].sa_handler == SIG_IGN)
            continue;
        installed[i] = sigaction(handledSignals[i], &action, nullptr) == 0;
    }
}

void restoreHandlers() {
    for (int i = 0; i < handledCount; ++i) {
        if (!installed[i])
            continue;
        // Put back only if nobody replaced ours meanwhile.
        struct sigaction current;
        if (sigaction(handledSignals[i], nullptr, &current) == 0 &&
            (current.sa_flags & SA_SIGINFO) && current.sa_sigaction == &removeHeldFilesThenPassOn)
            sigaction(handledSignals[i], &earlierActions[i], nullptr);
        installed[i] = false;
    }
}

// Blocks the handled signals on this thread for its lifetime.
class signalsBlocked {
  public:
    signalsBlocked() {
        sigset_t blocked;
        sigemptyset(&blocked);
        for (const int signal : handledSignals)
            sigaddset(&blocked, signal);
        pthread_sigmask(SIG_BLOCK, &blocked, &before_);
    }
    ~signalsBlocked() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    signalsBlocked(const signalsBlocked&) = delete;
    signalsBlocked& operator=(const signalsBlocked&) = delete;

  private:
    sigset_t before_;
};

void hold(const std::string& name) {
    if (name.size() >= PATH_MAX)
        return;
    for (slot& s : slots) {
        int expected = kFree;
        if (!s.state.compare_exchange_strong(expected, kFilling))
            continue;
        std::memcpy(s.path, name.c_str(), name.size() + 1);
        s.state.store(kHeld);
        return;
    }
}

} // namespace

int createTemporaryFile(const std::string& folder, std::string& name) {
    std::string pattern = folder + temporaryFilePattern;
    const signalsBlocked blocked;
    {
        const std::lock_guard<std::mutex> lock(installMutex);
        if (heldCount++ == 0)
            installHandlers();
    }
    const int fd = mkostemp(&pattern[0], O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const std::lock_guard<std::mutex> lock(installMutex);
        if (--heldCount == 0)
            restoreHandlers();
        errno = error;
        return -1;
    }
    name = pattern;
    hold(name);
    return fd;
}

void releaseTemporaryFile(const std::string& name, bool removeIt) {
    if (removeIt)
        unlink(name.c_str());
    for (slot& s : slots)
        if (s.state.load() == kHeld && name == s.path) {
            s.state.store(kFree);
            break;
        }
    const std::lock_guard<std::mutex> lock(installMutex);
    if (heldCount > 0 && --heldCount == 0)
        restoreHandlers();
}

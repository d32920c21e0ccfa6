#include "exitOnSignal.h"

#include "exitCodes.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

namespace quillo {

namespace {

void exitWithSignalNumber(int signal) {
    _exit(kExitSignalBase + signal);
}

} // namespace

void exitOnSignal() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action;
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN)
            continue;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = &exitWithSignalNumber;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace quillo

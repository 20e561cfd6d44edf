#include "platform/StopRequest.h"

#ifndef _WIN32
#include <signal.h>
#include <unistd.h>

#include <initializer_list>

namespace platform {
namespace {

volatile sig_atomic_t requestedSignal = 0;

void NoteStopRequest(int signal) { requestedSignal = signal; }

}  // namespace

void PrepareProcessSignals() {
    ::signal(SIGXFSZ, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = NoteStopRequest;
    // Interrupted reads and writes go on; the next request takes the default way at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT}) ::sigaction(signal, &action, nullptr);
}

bool StopRequested() { return requestedSignal != 0; }

void EndAsStopRequested() {
    const int signal = requestedSignal;
    if (signal == 0) return;
    ::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

}  // namespace platform
#endif

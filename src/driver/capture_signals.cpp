#include "driver/capture_signals.h"

#include <csignal>

namespace {
// A signal handler can reach nothing but a flag like this one.
volatile std::sig_atomic_t caughtSignal = 0;

struct sigaction previousInt;
struct sigaction previousTerm;

void NoteSignal(int signal)
{
    caughtSignal = signal;
}
} // namespace

InterruptGuard::InterruptGuard()
{
    caughtSignal = 0;
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // The first signal restores the default action, so a second one ends the process.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

InterruptGuard::~InterruptGuard()
{
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

int InterruptSignal()
{
    return caughtSignal;
}

#pragma once

// Ctrl+C (SIGINT) and SIGTERM during a capture end it after the frame in
// hand, so the file is completed and plays to its last frame. While a guard
// lives the first such signal is only noted; a second one acts as usual and
// ends the process at once.
class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard &) = delete;
    InterruptGuard &operator=(const InterruptGuard &) = delete;
};

// The signal that asked the capture to stop, or 0.
int InterruptSignal();

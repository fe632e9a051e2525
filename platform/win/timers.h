#pragma once
// Window timers: a control asks for a tick every so many milliseconds on the
// thread of the host's windows (a redraw at full quality after a pause, a
// blinking caret). The host installs what runs them: Qt timers in the
// program, a manual clock in tests (manual_timers.h). Without a host no timer
// starts.
//
// A tick may stop its own timer or start others.
#include <cstdint>
#include <functional>

namespace win {

using TimerTick = std::function<void()>;

class TimerHost {
public:
    virtual ~TimerHost() = default;
    // Calls `tick` every `milliseconds` until stopped; the timer's ID, never 0.
    virtual uint64_t startTimer(uint32_t milliseconds, TimerTick tick) = 0;
    // Stopping an ID that is not running does nothing.
    virtual void stopTimer(uint64_t id) = 0;
};

// Installs the host's timers (not owned; null removes them).
void SetTimerHost(TimerHost* host);
TimerHost* CurrentTimerHost();

// A timer of the installed host; 0 when no host is installed.
uint64_t StartTimer(uint32_t milliseconds, TimerTick tick);
void StopTimer(uint64_t id);

}  // namespace win

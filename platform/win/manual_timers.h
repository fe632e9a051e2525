#pragma once
// Timers on a clock that moves only when told (headless tests and hosts
// without an event loop): advance() runs every tick that falls due, in time
// order, each repeating timer as often as its interval fits.
#include <cstdint>
#include <map>

#include "platform/win/timers.h"

namespace win {

class ManualTimers : public TimerHost {
public:
    uint64_t startTimer(uint32_t milliseconds, TimerTick tick) override;
    void stopTimer(uint64_t id) override;

    // Moves the clock on by `milliseconds`, running the ticks due on the way.
    void advance(uint32_t milliseconds);
    uint64_t now() const { return now_; }
    size_t running() const { return timers_.size(); }
    // The interval of a running timer; 0 when it is not running.
    uint32_t intervalOf(uint64_t id) const;

private:
    struct Timer {
        uint32_t interval;
        uint64_t due;
        TimerTick tick;
    };
    std::map<uint64_t, Timer> timers_;
    uint64_t nextId_ = 1;
    uint64_t now_ = 0;
};

// Installs manual timers for the life of the object, then puts back the host there was.
class ScopedManualTimers : public ManualTimers {
public:
    ScopedManualTimers() : previous_(CurrentTimerHost()) { SetTimerHost(this); }
    ~ScopedManualTimers() override { SetTimerHost(previous_); }
    ScopedManualTimers(const ScopedManualTimers&) = delete;
    ScopedManualTimers& operator=(const ScopedManualTimers&) = delete;

private:
    TimerHost* previous_;
};

}  // namespace win

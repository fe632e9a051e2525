#include "platform/win/manual_timers.h"

#include <algorithm>

namespace win {

uint64_t ManualTimers::startTimer(uint32_t milliseconds, TimerTick tick) {
    // A zero interval would fall due for ever within one advance.
    const uint32_t interval = std::max<uint32_t>(milliseconds, 1);
    const uint64_t id = nextId_++;
    timers_[id] = Timer{interval, now_ + interval, std::move(tick)};
    return id;
}

void ManualTimers::stopTimer(uint64_t id) { timers_.erase(id); }

uint32_t ManualTimers::intervalOf(uint64_t id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.interval;
}

void ManualTimers::advance(uint32_t milliseconds) {
    const uint64_t until = now_ + milliseconds;
    for (;;) {
        // The earliest due timer; of equal ones the one started first.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= until && (next == timers_.end() || it->second.due < next->second.due)) next = it;
        if (next == timers_.end()) break;
        now_ = next->second.due;
        next->second.due += next->second.interval;
        // A copy: the tick may stop its own timer.
        const TimerTick tick = next->second.tick;
        if (tick) tick();
    }
    now_ = until;
}

}  // namespace win

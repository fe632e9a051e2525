#include "platform/forms_qt/qt_timers.h"

#include <algorithm>
#include <cstdint>

namespace forms_qt {

ScopedQtTimers::ScopedQtTimers() : previous_(win::CurrentTimerHost()) { win::SetTimerHost(this); }

ScopedQtTimers::~ScopedQtTimers() {
    win::SetTimerHost(previous_);
    for (auto& [id, timer] : timers_) delete timer.data();
}

uint64_t ScopedQtTimers::startTimer(uint32_t milliseconds, win::TimerTick tick) {
    const uint64_t id = nextId_++;
    auto* timer = new QTimer();
    timer->setInterval(static_cast<int>(std::min<uint32_t>(milliseconds, INT32_MAX)));
    // A copy per tick: the tick may stop its own timer, which goes once control is back in the loop.
    QObject::connect(timer, &QTimer::timeout, timer, [tick = std::move(tick)] {
        const win::TimerTick copy = tick;
        if (copy) copy();
    });
    timers_[id] = timer;
    timer->start();
    return id;
}

void ScopedQtTimers::stopTimer(uint64_t id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    if (QTimer* timer = it->second.data()) {
        timer->stop();
        timer->deleteLater();
    }
    timers_.erase(it);
}

}  // namespace forms_qt

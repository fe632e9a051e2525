#pragma once
// The host's timers (platform/win/timers.h) as Qt timers on the thread of the
// windows, installed for the life of the object (a QApplication must exist);
// the timers still running stop at its end.
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <map>

#include "platform/win/timers.h"

namespace forms_qt {

class ScopedQtTimers : public win::TimerHost {
public:
    ScopedQtTimers();
    ~ScopedQtTimers() override;
    ScopedQtTimers(const ScopedQtTimers&) = delete;
    ScopedQtTimers& operator=(const ScopedQtTimers&) = delete;

    uint64_t startTimer(uint32_t milliseconds, win::TimerTick tick) override;
    void stopTimer(uint64_t id) override;
    size_t running() const { return timers_.size(); }

private:
    std::map<uint64_t, QPointer<QTimer>> timers_;
    uint64_t nextId_ = 1;
    win::TimerHost* previous_;
};

}  // namespace forms_qt

#include "platform/win/timers.h"

#include <mutex>

#include "platform/win/host_services.h"

namespace win {
namespace {

struct TimerService {
    std::mutex mutex;
    TimerHost* host = nullptr;
};

TimerService& service() { return HostService<TimerService>("win.timers"); }

}  // namespace

void SetTimerHost(TimerHost* host) {
    std::lock_guard lock(service().mutex);
    service().host = host;
}

TimerHost* CurrentTimerHost() {
    std::lock_guard lock(service().mutex);
    return service().host;
}

uint64_t StartTimer(uint32_t milliseconds, TimerTick tick) {
    // Outside the lock: a host may run ticks (and so further requests) at once.
    TimerHost* host = CurrentTimerHost();
    return host ? host->startTimer(milliseconds, std::move(tick)) : 0;
}

void StopTimer(uint64_t id) {
    if (TimerHost* host = CurrentTimerHost(); host && id != 0) host->stopTimer(id);
}

}  // namespace win

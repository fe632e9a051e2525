#include "platform/vb/clock.h"

#include <atomic>
#include <ctime>

namespace vb {

namespace {

const SystemClock& systemClock() {
    static const SystemClock instance;
    return instance;
}

std::atomic<const Clock*>& installedClock() {
    static std::atomic<const Clock*> current{&systemClock()};
    return current;
}

}  // namespace

DateTime SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    // tm_sec may be 60 on a leap second; the Date value holds at most 59.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return *DateTime::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                local.tm_min, second);
}

const Clock& clock() { return *installedClock().load(); }

void setClock(const Clock* clock) { installedClock().store(clock ? clock : &systemClock()); }

ScopedClock::ScopedClock(const Clock& clock) : previous_(installedClock().exchange(&clock)) {}

ScopedClock::~ScopedClock() { installedClock().store(previous_); }

DateTime now() { return clock().now(); }

DateTime today() { return now().dateOnly(); }

DateTime timeOfDay() { return now().timeOnly(); }

}  // namespace vb

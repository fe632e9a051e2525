#pragma once
// Where "now" comes from. VB's Now, Date and Time read the process-wide clock,
// which is the machine's local time unless a test puts a FixedClock in its place.
#include <chrono>

#include "platform/vb/date_time.h"

namespace vb {

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time, to the second.
    virtual DateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// A clock that stands still until it is set or advanced.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime start) : now_(start) {}
    DateTime now() const override { return now_; }
    void set(DateTime value) { now_ = value; }
    void advance(std::chrono::seconds by) { now_ = now_.addSeconds(by.count()); }

private:
    DateTime now_;
};

// The process-wide clock. setClock does not take ownership: the clock must
// outlive its use; nullptr puts the system clock back.
const Clock& clock();
void setClock(const Clock* clock);

// Puts a clock in place for the lifetime of this object, then restores the one before.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    const Clock* previous_;
};

DateTime now();       // VB's Now
DateTime today();     // VB's Date: today at midnight
DateTime timeOfDay(); // VB's Time: the present time on VB's zero date

}  // namespace vb

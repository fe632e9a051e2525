#pragma once
// Watching a runtime object (a form or a control) for property changes, for as
// long as this object lives.
//
// The runtime tells its observers from a copy of its list, so an observer
// removed while others are being told may still be called once: the callback
// is therefore guarded by a flag that dies with this object.
#include <functional>
#include <memory>

#include "platform/forms/property.h"

namespace forms_qt {

class Observation {
public:
    Observation() = default;
    Observation(forms::Observable& target, std::function<void(forms::Property)> callback);
    ~Observation() { stop(); }
    Observation(Observation&& other) noexcept;
    Observation& operator=(Observation&& other) noexcept;
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;

    // Stops observing; the target must still exist.
    void stop();
    // Stops calling back without touching the target, which is gone or going.
    void abandon();
    bool active() const { return target_ != nullptr; }

private:
    forms::Observable* target_ = nullptr;
    int id_ = 0;
    std::shared_ptr<bool> live_;
};

}  // namespace forms_qt

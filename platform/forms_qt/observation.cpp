#include "platform/forms_qt/observation.h"

#include <utility>

namespace forms_qt {

Observation::Observation(forms::Observable& target, std::function<void(forms::Property)> callback)
    : target_(&target), live_(std::make_shared<bool>(true)) {
    id_ = target.observe([live = live_, callback = std::move(callback)](forms::Property p) {
        if (*live) callback(p);
    });
}

Observation::Observation(Observation&& other) noexcept
    : target_(std::exchange(other.target_, nullptr)), id_(other.id_), live_(std::move(other.live_)) {}

Observation& Observation::operator=(Observation&& other) noexcept {
    if (this != &other) {
        stop();
        target_ = std::exchange(other.target_, nullptr);
        id_ = other.id_;
        live_ = std::move(other.live_);
    }
    return *this;
}

void Observation::stop() {
    if (!target_) return;
    target_->unobserve(id_);
    abandon();
}

void Observation::abandon() {
    if (live_) *live_ = false;
    target_ = nullptr;
}

}  // namespace forms_qt

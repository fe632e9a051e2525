#include "platform/forms/property.h"

#include <algorithm>

namespace forms {

int Observable::observe(Observer observer) {
    const int id = nextId_++;
    observers_.push_back({id, std::move(observer)});
    return id;
}

void Observable::unobserve(int id) {
    std::erase_if(observers_, [id](const Entry& e) { return e.id == id; });
}

void Observable::notify(Property p) const {
    // A copy: an observer may add or remove observers while being told.
    const auto observers = observers_;
    for (const auto& e : observers) e.observer(p);
}

}  // namespace forms

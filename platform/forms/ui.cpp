#include "platform/forms/ui.h"

#include <stdexcept>

namespace forms {

namespace {
Ui* current = nullptr;
}

Ui& ui() {
    if (!current) throw std::logic_error("no user-interface service installed");
    return *current;
}

void setUi(Ui* service) { current = service; }

ScopedUi::ScopedUi(Ui& service) : previous_(current) { current = &service; }
ScopedUi::~ScopedUi() { current = previous_; }

}  // namespace forms

#include "platform/forms/controls/scroll_bar.h"

#include <algorithm>

#include "platform/forms/error.h"

namespace forms {

void ScrollBar::setRange(int min, int max) {
    if (min > max) throw errors::invalidPropertyValue();
    min_ = min;
    max_ = max;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Value);
}

void ScrollBar::setValue(int value) {
    if (value < min_ || value > max_) throw errors::invalidPropertyValue();
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
}

void ScrollBar::setSteps(int smallChange, int largeChange) {
    if (smallChange < 1 || largeChange < 1) throw errors::invalidPropertyValue();
    smallChange_ = smallChange;
    largeChange_ = largeChange;
    changed(Property::Value);
}

}  // namespace forms

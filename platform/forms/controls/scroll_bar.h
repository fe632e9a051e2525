#pragma once
// A horizontal scroll bar: a whole-number value within its range. The user
// moves it (scrollTo) by an arrow (SmallChange), the track (LargeChange) or
// the thumb; each move that changes the value raises Change.
#include <functional>

#include "platform/forms/control.h"

namespace forms {

class ScrollBar : public Control {
public:
    ScrollBar(Form& form, std::string name, int index = -1)
        : Control(form, ControlKind::HScrollBar, std::move(name), index) {}

    int min() const { return min_; }
    int max() const { return max_; }
    // The range; the value is brought into it. Error 380 when min > max.
    void setRange(int min, int max);
    int value() const { return value_; }
    // Error 380 for a value outside the range.
    void setValue(int value);
    int smallChange() const { return smallChange_; }
    int largeChange() const { return largeChange_; }
    // Error 380 for a step below 1.
    void setSteps(int smallChange, int largeChange);

    bool canTakeFocus() const override { return true; }

    std::function<void()> onChange;

private:
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

}  // namespace forms

#pragma once
// A control array: controls of one kind that share a name and differ by index
// (`Textpcash(0)` to `Textpcash(22)`); indexes may leave gaps. Elements are
// created on the form in the order they are added.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/error.h"

namespace forms {

class Form;

template <class ControlType>
class ControlArray {
public:
    ControlArray(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

    // Creates the element with this index (VB's design-time element or Load).
    template <class... Args>
    ControlType& add(int index, Args&&... args) {
        auto control = std::make_unique<ControlType>(form_, name_, index, std::forward<Args>(args)...);
        ControlType& ref = *control;
        elements_[index] = std::move(control);
        return ref;
    }

    bool contains(int index) const { return elements_.count(index) != 0; }
    // The element with this index; error 340 when there is none.
    ControlType& operator[](int index) const {
        auto it = elements_.find(index);
        if (it == elements_.end()) throw errors::controlArrayElement();
        return *it->second;
    }
    ControlType& operator()(int index) const { return (*this)[index]; }

    std::vector<int> indexes() const {
        std::vector<int> out;
        for (const auto& [i, c] : elements_) out.push_back(i);
        return out;
    }
    size_t count() const { return elements_.size(); }
    const std::string& name() const { return name_; }

    // Iterates the elements in index order.
    template <class F>
    void forEach(F&& f) const {
        for (const auto& [i, c] : elements_) f(*c);
    }

private:
    Form& form_;
    std::string name_;
    std::map<int, std::unique_ptr<ControlType>> elements_;
};

}  // namespace forms

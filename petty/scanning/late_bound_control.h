#pragma once
// A control of another library that the program reaches only through
// IDispatch, by the dispatch IDs it has compiled in: never through the
// library's headers. A call that fails (no control, an error the member
// raised) throws ControlCallFailed, as a late-bound call raises a run-time
// error; the windows decide whether to skip it.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <variant>

#include "platform/com/interfaces.h"

namespace petty {

class ControlCallFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An argument of a call: a whole number, a flag or a text.
class CallArgument {
public:
    CallArgument(int32_t value) : value_(value) {}
    CallArgument(bool value) : value_(value) {}
    CallArgument(const char* text) : value_(std::string(text)) {}
    CallArgument(std::string text) : value_(std::move(text)) {}
    const std::variant<int32_t, bool, std::string>& value() const { return value_; }

private:
    std::variant<int32_t, bool, std::string> value_;
};

class LateBoundControl {
public:
    // No control: every call fails.
    LateBoundControl() = default;
    // Holds a reference of its own to `control`.
    explicit LateBoundControl(com::IDispatch* control);
    ~LateBoundControl();
    LateBoundControl(LateBoundControl&& other) noexcept;
    LateBoundControl& operator=(LateBoundControl&& other) noexcept;
    LateBoundControl(const LateBoundControl&) = delete;
    LateBoundControl& operator=(const LateBoundControl&) = delete;

    bool available() const { return control_ != nullptr; }

    // Calls the method `id` with `args` in their order and drops its result.
    void call(com::DISPID id, std::initializer_list<CallArgument> args = {}) const;
    // The result as a whole number or a flag (a result of another type is converted).
    int32_t callLong(com::DISPID id, std::initializer_list<CallArgument> args = {}) const;
    bool callBool(com::DISPID id, std::initializer_list<CallArgument> args = {}) const;
    // Sets the property `id` to `value`.
    void put(com::DISPID id, CallArgument value) const;

    // The control itself, for a form that places it in a window; null without one.
    com::IDispatch* object() const { return control_; }

private:
    // The result, converted to `type`.
    com::VARIANT invoke(com::DISPID id, std::initializer_list<CallArgument> args, com::VARTYPE type,
                        uint16_t kind = com::DISPATCH_METHOD) const;

    com::IDispatch* control_ = nullptr;
};

}  // namespace petty

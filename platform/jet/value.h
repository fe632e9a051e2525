#pragma once
// A field or parameter value as the database layer hands it over: Null or one
// of the types a column can hold. Conversions follow VB's (CStr, CCur, CLng,
// CBool, CDate): a Null raises "Invalid use of Null" except in asText, which
// gives the empty text a bound box shows for it.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/vb/currency.h"
#include "platform/vb/date_time.h"

namespace jet {

class Value {
public:
    Value() = default;  // Null
    Value(std::nullptr_t) {}
    Value(bool b) : v_(b) {}
    Value(int i) : v_(static_cast<int64_t>(i)) {}
    Value(long i) : v_(static_cast<int64_t>(i)) {}
    Value(long long i) : v_(static_cast<int64_t>(i)) {}
    Value(double d) : v_(d) {}
    Value(vb::Currency c) : v_(c) {}
    Value(vb::DateTime d) : v_(d) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(const char* s) : v_(std::string(s)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isLong() const { return std::holds_alternative<int64_t>(v_); }
    bool isDouble() const { return std::holds_alternative<double>(v_); }
    bool isCurrency() const { return std::holds_alternative<vb::Currency>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isDate() const { return std::holds_alternative<vb::DateTime>(v_); }

    // Null gives ""; True/False as "True"/"False"; numbers in plain decimal with
    // the locale's decimal separator; dates in the short date form, with the
    // time behind it unless it is midnight.
    std::string asText() const;
    vb::Currency asCurrency() const;  // Double rounded to four decimals, half to even
    int64_t asLong() const;           // fractions rounded half to even; True is -1
    double asDouble() const;
    bool asBool() const;              // any non-zero number is true
    vb::DateTime asDate() const;      // texts in the short date form (and ISO)

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, bool, int64_t, double, vb::Currency, std::string, vb::DateTime> v_;
};

}  // namespace jet

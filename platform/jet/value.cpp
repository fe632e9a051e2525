#include "platform/jet/value.h"

#include <charconv>
#include <cmath>

#include "platform/jet/error.h"
#include "platform/vb/amount_text.h"
#include "platform/vb/date_format.h"
#include "platform/vb/date_text.h"
#include "platform/vb/locale.h"
#include "platform/vb/numeric_text.h"
#include "platform/vb/rounding.h"
#include "platform/vb/text_compare.h"

namespace jet {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Number texts are read with the point and with the user's decimal separator.
std::string withDecimalPoint(std::string_view text) {
    std::string s(trimmed(text));
    const char sep = vb::currentLocale().decimalSeparator;
    if (sep != '.')
        for (char& c : s)
            if (c == sep) c = '.';
    return s;
}

std::string withLocaleSeparator(std::string s) {
    const char sep = vb::currentLocale().decimalSeparator;
    if (sep != '.')
        for (char& c : s)
            if (c == '.') c = sep;
    return s;
}

int64_t roundHalfEven(vb::Currency c) {
    const int64_t units = c.units();
    int64_t whole = units / vb::Currency::kScale;
    const int64_t rest = units % vb::Currency::kScale;  // same sign as units
    const int64_t half = vb::Currency::kScale / 2;
    if (rest > half || (rest == half && (whole & 1))) ++whole;
    if (rest < -half || (rest == -half && (whole & 1))) --whole;
    return whole;
}

int64_t roundHalfEven(double d) {
    const double r = vb::roundHalfEven(d);
    if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) throw errors::overflow();
    return static_cast<int64_t>(r);
}

// CDbl of a text: what IsNumeric accepts. from_chars and to_chars read and
// write a point whatever locale the process has set (printf and strtod follow
// it), so the user's separator comes from vb::Locale alone.
std::optional<double> parseDouble(std::string_view text) {
    if (!vb::isNumeric(text)) return std::nullopt;
    std::string s = withDecimalPoint(text);
    if (!s.empty() && s.front() == '+') s.erase(0, 1);
    double d = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::string doubleText(double d) {
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    std::string text(buf, written.ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';  // VB writes 1E+20
    return withLocaleSeparator(text);
}

}  // namespace

std::string Value::asText() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return std::string(); },
                          [](bool b) { return std::string(b ? "True" : "False"); },
                          [](int64_t i) { return std::to_string(i); },
                          [](double d) { return doubleText(d); },
                          [](vb::Currency c) { return vb::amountText(c); },
                          [](const std::string& s) { return s; },
                          [](const vb::DateTime& d) { return vb::generalDateText(d); },
                      },
                      v_);
}

vb::Currency Value::asCurrency() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> vb::Currency { throw errors::invalidUseOfNull(); },
                          [](bool b) { return vb::Currency::fromWhole(b ? -1 : 0); },
                          [](int64_t i) {
                              if (i > 922337203685477 || i < -922337203685477) throw errors::overflow();
                              return vb::Currency::fromWhole(i);
                          },
                          [](double d) {
                              const auto c = vb::Currency::fromDouble(d);
                              if (!c) throw errors::overflow();
                              return *c;
                          },
                          [](vb::Currency c) { return c; },
                          [](const std::string& s) {
                              const auto c = vb::currencyFromText(s);
                              if (!c) throw errors::typeMismatch();
                              return *c;
                          },
                          [](const vb::DateTime&) -> vb::Currency { throw errors::typeMismatch(); },
                      },
                      v_);
}

int64_t Value::asLong() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> int64_t { throw errors::invalidUseOfNull(); },
                          [](bool b) -> int64_t { return b ? -1 : 0; },
                          [](int64_t i) { return i; },
                          [](double d) { return roundHalfEven(d); },
                          [](vb::Currency c) { return roundHalfEven(c); },
                          [](const std::string& s) {
                              const std::string_view t = trimmed(s);
                              int64_t i = 0;
                              const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), i);
                              if (ec == std::errc() && end == t.data() + t.size() && !t.empty()) return i;
                              const auto d = parseDouble(t);
                              if (!d) throw errors::typeMismatch();
                              return roundHalfEven(*d);
                          },
                          [](const vb::DateTime&) -> int64_t { throw errors::typeMismatch(); },
                      },
                      v_);
}

double Value::asDouble() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> double { throw errors::invalidUseOfNull(); },
                          [](bool b) { return b ? -1.0 : 0.0; },
                          [](int64_t i) { return static_cast<double>(i); },
                          [](double d) { return d; },
                          [](vb::Currency c) { return c.toDouble(); },
                          [](const std::string& s) {
                              const auto d = parseDouble(s);
                              if (!d) throw errors::typeMismatch();
                              return *d;
                          },
                          [](const vb::DateTime&) -> double { throw errors::typeMismatch(); },
                      },
                      v_);
}

bool Value::asBool() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> bool { throw errors::invalidUseOfNull(); },
                          [](bool b) { return b; },
                          [](int64_t i) { return i != 0; },
                          [](double d) { return d != 0; },
                          [](vb::Currency c) { return c.units() != 0; },
                          [](const std::string& s) {
                              const std::string_view t = trimmed(s);
                              if (vb::equalIgnoringCase(t, "True")) return true;
                              if (vb::equalIgnoringCase(t, "False")) return false;
                              const auto d = parseDouble(t);
                              if (!d) throw errors::typeMismatch();
                              return *d != 0;
                          },
                          [](const vb::DateTime&) -> bool { throw errors::typeMismatch(); },
                      },
                      v_);
}

vb::DateTime Value::asDate() const {
    return std::visit(Overloaded{
                          [](std::monostate) -> vb::DateTime { throw errors::invalidUseOfNull(); },
                          [](const vb::DateTime& d) { return d; },
                          [](const std::string& s) {
                              if (auto iso = vb::DateTime::fromIso(trimmed(s))) return *iso;
                              if (auto d = vb::parseDateText(s)) return *d;
                              throw errors::typeMismatch();
                          },
                          [](const auto&) -> vb::DateTime { throw errors::typeMismatch(); },
                      },
                      v_);
}

}  // namespace jet

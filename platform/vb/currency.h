#pragma once
// VB's Currency: a fixed-point amount with four decimals, held as a 64-bit
// count of ten-thousandths so that sums are exact (0.1 + 0.2 == 0.3).
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

class Currency {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(int64_t tenThousandths) { return Currency(tenThousandths); }
    static constexpr Currency fromWhole(int64_t whole) { return Currency(whole * kScale); }
    // Rounds to four decimals, halves to the even neighbour (VB's CCur).
    // Returns nullopt for NaN, infinities and values outside the Currency range.
    // The double is first taken at 15 significant digits, so 0.00015 counts as
    // the decimal the user meant rather than its binary neighbour.
    static std::optional<Currency> fromDouble(double value);
    // Exact conversion of a plain decimal text ("-12.34567", "1e3" is not accepted);
    // digits past the fourth decimal round half to even. nullopt when malformed
    // or out of range.
    static std::optional<Currency> fromDecimalText(std::string_view text);

    constexpr int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kScale; }

    constexpr Currency operator+(Currency o) const { return Currency(units_ + o.units_); }
    constexpr Currency operator-(Currency o) const { return Currency(units_ - o.units_); }
    constexpr Currency operator-() const { return Currency(-units_); }
    constexpr Currency& operator+=(Currency o) { units_ += o.units_; return *this; }
    constexpr Currency& operator-=(Currency o) { units_ -= o.units_; return *this; }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(int64_t units) : units_(units) {}
    int64_t units_ = 0;
};

}  // namespace vb

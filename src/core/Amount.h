// Fixed-point amounts with four decimals: money, percentages, Gcal and every number kept
// in the settings files. Arithmetic is exact; where a result needs more than four
// decimals it is rounded as the caller says (halves to the even digit by default, the way
// the older installations stored such values).
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace focaris {

class Amount {
public:
    static constexpr std::int64_t kScale = 10000;

    enum class Rounding { HalfEven, HalfUp, Truncate };

    constexpr Amount() = default;
    // Whole numbers convert implicitly: WriteSettingNumber("CONST", "LASTPACK", 12).
    constexpr Amount(int whole) : units_(std::int64_t(whole) * kScale) {}

    static constexpr Amount fromUnits(std::int64_t units)
    {
        Amount a;
        a.units_ = units;
        return a;
    }
    static constexpr Amount fromWhole(std::int64_t whole) { return fromUnits(whole * kScale); }
    // Nearest amount, halves to the even digit.
    static Amount fromDouble(double value);
    // Reads "123", "-0.82", "1.0029", " 12.5 ", "1e3", ".5"; more than four decimals are
    // rounded halves to even. Anything else (empty text included) is nullopt.
    static std::optional<Amount> parse(std::string_view text);
    // Same, with 0 for text that is not a number.
    static Amount parseOrZero(std::string_view text);

    constexpr std::int64_t units() const { return units_; }
    double toDouble() const { return double(units_) / double(kScale); }
    // Integer part (towards zero), as the conversions of field values to whole numbers.
    constexpr std::int64_t truncated() const { return units_ / kScale; }
    // Nearest whole number, halves away from zero (the editor's labels).
    std::int64_t roundedHalfUp() const;
    // The amount rounded to `decimals` (0..4) decimals.
    Amount rounded(int decimals, Rounding mode = Rounding::HalfEven) const;

    // Shortest decimal form with "." and no grouping: 2053, 0.82, 1.0029, -12.5.
    std::string toString() const;

    friend constexpr Amount operator+(Amount a, Amount b) { return fromUnits(a.units_ + b.units_); }
    friend constexpr Amount operator-(Amount a, Amount b) { return fromUnits(a.units_ - b.units_); }
    friend constexpr Amount operator-(Amount a) { return fromUnits(-a.units_); }
    friend constexpr Amount operator*(Amount a, std::int64_t n) { return fromUnits(a.units_ * n); }
    friend constexpr Amount operator*(std::int64_t n, Amount a) { return fromUnits(a.units_ * n); }
    Amount &operator+=(Amount b)
    {
        units_ += b.units_;
        return *this;
    }
    Amount &operator-=(Amount b)
    {
        units_ -= b.units_;
        return *this;
    }
    friend constexpr bool operator==(Amount a, Amount b) = default;
    friend constexpr auto operator<=>(Amount a, Amount b) = default;

    // Product and quotient rounded to four decimals (halves to even unless told).
    static Amount multiply(Amount a, Amount b, Rounding mode = Rounding::HalfEven);
    static Amount divide(Amount a, std::int64_t n, Rounding mode = Rounding::HalfEven);

private:
    std::int64_t units_ = 0;
};

// Divides exactly-known integers with the given rounding (numerator may be negative,
// denominator must be positive). Used by the amount arithmetic and the aid calculation.
std::int64_t roundedQuotient(__int128 numerator, __int128 denominator, Amount::Rounding mode);

} // namespace focaris

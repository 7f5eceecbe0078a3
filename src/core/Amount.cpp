// Fixed-point amounts: parsing, rounding and the shortest decimal form.
#include "core/Amount.h"

#include <cmath>
#include <cstdlib>

namespace focaris {

std::int64_t roundedQuotient(__int128 num, __int128 den, Amount::Rounding mode)
{
    __int128 q = num / den, r = num % den; // q is truncated towards zero
    if (r == 0 || mode == Amount::Rounding::Truncate)
        return std::int64_t(q);
    __int128 twice = (r < 0 ? -r : r) * 2;
    int away = num < 0 ? -1 : 1;
    if (twice > den || (twice == den && (mode == Amount::Rounding::HalfUp || (q % 2) != 0)))
        q += away;
    return std::int64_t(q);
}

Amount Amount::fromDouble(double value)
{
    return fromUnits(std::int64_t(std::nearbyint(value * double(kScale))));
}

std::optional<Amount> Amount::parse(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    // Mantissa digits are gathered as one integer with a count of decimals.
    __int128 mantissa = 0;
    int decimals = 0, digits = 0;
    bool dot = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            if (mantissa < (__int128(1) << 100)) {
                mantissa = mantissa * 10 + (c - '0');
                if (dot)
                    ++decimals;
            } else if (!dot) {
                return std::nullopt; // far beyond any amount
            }
            ++digits;
        } else if (c == '.' && !dot) {
            dot = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    int exponent = 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool expNeg = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            expNeg = t[i++] == '-';
        if (i >= t.size())
            return std::nullopt;
        for (; i < t.size(); ++i) {
            if (t[i] < '0' || t[i] > '9')
                return std::nullopt;
            exponent = std::min(exponent * 10 + (t[i] - '0'), 100);
        }
        if (expNeg)
            exponent = -exponent;
    }
    if (i != t.size())
        return std::nullopt;
    int shift = 4 - decimals + exponent; // power of ten that turns mantissa into units
    if (negative)
        mantissa = -mantissa;
    const __int128 limit = __int128(INT64_MAX);
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k) {
            mantissa *= 10;
            if (mantissa > limit || mantissa < -limit)
                return std::nullopt;
        }
        return fromUnits(std::int64_t(mantissa));
    }
    if (shift < -38)
        return fromUnits(0);
    __int128 den = 1;
    for (int k = 0; k < -shift; ++k)
        den *= 10;
    __int128 units = mantissa / den;
    if (units > limit || units < -limit)
        return std::nullopt;
    return fromUnits(roundedQuotient(mantissa, den, Rounding::HalfEven));
}

Amount Amount::parseOrZero(std::string_view text)
{
    return parse(text).value_or(Amount());
}

std::int64_t Amount::roundedHalfUp() const
{
    return roundedQuotient(units_, kScale, Rounding::HalfUp);
}

Amount Amount::rounded(int decimals, Rounding mode) const
{
    if (decimals >= 4)
        return *this;
    std::int64_t step = 1;
    for (int k = decimals; k < 4; ++k)
        step *= 10;
    return fromUnits(roundedQuotient(units_, step, mode) * step);
}

std::string Amount::toString() const
{
    std::uint64_t magnitude = units_ < 0 ? std::uint64_t(0) - std::uint64_t(units_) : std::uint64_t(units_);
    std::string out = units_ < 0 ? "-" : "";
    out += std::to_string(magnitude / kScale);
    std::uint64_t frac = magnitude % kScale;
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0')
            f.pop_back();
        out += "." + f;
    }
    return out;
}

Amount Amount::multiply(Amount a, Amount b, Rounding mode)
{
    return fromUnits(roundedQuotient(__int128(a.units_) * b.units_, kScale, mode));
}

Amount Amount::divide(Amount a, std::int64_t n, Rounding mode)
{
    if (n == 0)
        return Amount();
    if (n < 0)
        return divide(-a, -n, mode);
    return fromUnits(roundedQuotient(a.units_, n, mode));
}

} // namespace focaris

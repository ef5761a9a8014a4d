// Every conversion between numbers and text that the payroll depends on lives here, so that the
// rounding and formatting rules are written (and tested) once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// Fixed-point money: a signed 64-bit count of ten-thousandths of a dollar. Sums of Currency values
// are exact, which is why the pay-in-dollars entry and the register's money totals use it.
class Currency {
  public:
    constexpr Currency() = default;
    static constexpr Currency FromRaw(std::int64_t tenThousandths) {
        Currency c;
        c.raw_ = tenThousandths;
        return c;
    }
    // Rounds to four decimals, ties to even (the binary value decides what a tie is). NaN gives
    // zero; anything beyond the 64-bit range saturates at the nearest end of it.
    static Currency FromDouble(double value);
    static Currency FromSingle(float value) { return FromDouble(static_cast<double>(value)); }
    // The same, but nothing for NaN, infinity or a value that does not fit: for figures that
    // must be refused rather than clipped.
    static std::optional<Currency> TryFromDouble(double value);
    // An exact sum, or nothing when it leaves the 64-bit range.
    static std::optional<Currency> TrySum(Currency a, Currency b) {
        std::int64_t sum = 0;
        if (__builtin_add_overflow(a.raw_, b.raw_, &sum)) return std::nullopt;
        return FromRaw(sum);
    }

    constexpr std::int64_t Raw() const { return raw_; }
    double ToDouble() const { return static_cast<double>(raw_) / 10000.0; }
    float ToSingle() const { return static_cast<float>(ToDouble()); }

    // Sums and differences saturate at the ends of the range instead of wrapping round to the
    // other sign; callers that must not clip check with TrySum first.
    constexpr Currency operator+(Currency other) const {
        std::int64_t sum = 0;
        if (__builtin_add_overflow(raw_, other.raw_, &sum)) return Saturated(other.raw_ > 0);
        return FromRaw(sum);
    }
    constexpr Currency operator-(Currency other) const {
        std::int64_t difference = 0;
        if (__builtin_sub_overflow(raw_, other.raw_, &difference)) return Saturated(other.raw_ < 0);
        return FromRaw(difference);
    }
    constexpr Currency& operator+=(Currency other) { return *this = *this + other; }
    constexpr bool operator==(const Currency&) const = default;
    constexpr auto operator<=>(const Currency&) const = default;

  private:
    static constexpr Currency Saturated(bool high) { return FromRaw(high ? INT64_MAX : INT64_MIN); }
    std::int64_t raw_ = 0;
};

// Formats `value` with one of the numeric patterns the program uses: "#,###.00", "$#,###.00",
// "#####.00", "###.00", "000000.00" (and its shorter forms down to "0.00"), "$#,###.#0" and
// "##.##%". The digits are decided from the exact binary value and halves round away from zero,
// so 2.675f (stored just below 2.675) gives "2.67" and 0.125 gives ".13". A '#' before the point
// prints no leading zero (0 gives ".00"); '#' after the point drops a trailing zero; '%' multiplies
// by 100. A value that rounds to zero is printed without a minus sign, and one that leaves nothing
// to print ("##.##%" of zero) is printed as "0" ("0%"). Other characters are printed as they
// stand around the number; a pattern without placeholders is returned as it is, and an empty one
// gives DoubleText. NaN and infinity are printed as zero.
std::string FormatNumber(double value, std::string_view pattern);

// The program rounds amounts to cents by formatting them with "#,###.00" and reading the text
// back; these do exactly that, without the detour through text. NaN and infinity give zero.
float RoundCents(float value);
double RoundCents(double value);

// Whole-dollar rounding of the state tax: halves go to the even dollar (12.5 -> 12, 13.5 -> 14),
// whatever the floating-point rounding mode. NaN and infinity come back unchanged.
double RoundWholeEven(double value);

// The leading number of a text, as the program reads boxes that must never fail: blanks are
// skipped wherever they appear, then an optional sign, digits, an optional point and fraction and
// an optional exponent ('E' or 'D') are taken and the rest is ignored. Empty or non-numeric text
// gives 0, and so does a number out of the double range; "12.5abc" gives 12.5 and "1 2" gives 12.
double LeadingNumber(std::string_view text);

// Strict conversions: the whole text (blanks around it allowed) must be a number, with an
// optional sign, an optional '$' after the sign, ',' grouping in the integer part and an optional
// exponent. "", "-", ".", "1-2" and "1 2" fail. Overflow of the target type fails; a magnitude
// too small for it reads as zero. A single is rounded from the text directly, never via double.
std::optional<double> StrictDouble(std::string_view text);
std::optional<float> StrictSingle(std::string_view text);
// Rounds the decimal text itself to four decimals, ties to even ("0.00015" -> 0.0002).
std::optional<Currency> StrictCurrency(std::string_view text);
// A whole number in the 16-bit range; fractions round to even as an integer conversion does
// ("2.5" -> 2, "3.5" -> 4), and the range is checked after rounding.
std::optional<std::int16_t> StrictInt16(std::string_view text);

// Shortest decimal text of a number as boxes and record files show it: at most 7 significant
// digits for a single, 15 for a double, no trailing zeros, a leading "0" before the point, and
// exponent form only for very large or very small magnitudes ("1E-05", "1.5E+07"). NaN and
// infinity give "0".
std::string SingleText(float value);
std::string DoubleText(double value);
// Up to four decimals, no trailing zeros ("1", "12.5", "0.0001").
std::string CurrencyText(Currency value);

}  // namespace kestrel

#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace kestrel {

namespace {

constexpr std::array<std::uint64_t, 28> kPowersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();

constexpr std::uint64_t kTwoToThe63 = std::uint64_t{1} << 63;

// Patterns never need more; further placeholders are printed as they stand.
constexpr int kMaxPatternDecimals = 20;

enum class Tie { kAwayFromZero, kToEven };

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsExponentMark(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// round(magnitude * 10^decimals) worked out on the exact binary value: the double is m * 2^e, so
// the product is m * 5^decimals * 2^(e + decimals), and the bits shifted out say exactly whether
// it lies below, on or above a half. Empty when the answer (or m * 5^decimals) needs more than
// 64 bits; callers then take the slow road.
std::optional<std::uint64_t> ScaleAndRound(double magnitude, int decimals, Tie tie) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biasedExponent != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    if (mantissa == 0) return 0;
    if (decimals < 0 || decimals >= static_cast<int>(kPowersOfFive.size())) return std::nullopt;
    const std::uint64_t five = kPowersOfFive[static_cast<std::size_t>(decimals)];
    if (mantissa > std::numeric_limits<std::uint64_t>::max() / five) return std::nullopt;
    const std::uint64_t scaled = mantissa * five;
    const int shift = exponent + decimals;
    if (shift >= 0) {
        if (shift >= 64 || scaled > (std::numeric_limits<std::uint64_t>::max() >> shift)) {
            return std::nullopt;
        }
        return scaled << shift;
    }
    const int dropped = -shift;
    if (dropped > 64) return 0;  // scaled < 2^64 <= half a unit
    std::uint64_t whole = 0;
    std::uint64_t rest = scaled;
    std::uint64_t half = kTwoToThe63;
    if (dropped < 64) {
        whole = scaled >> dropped;
        rest = scaled & ((std::uint64_t{1} << dropped) - 1);
        half = std::uint64_t{1} << (dropped - 1);
    }
    if (rest > half || (rest == half && (tie == Tie::kAwayFromZero || (whole & 1) != 0))) ++whole;
    return whole;
}

// The decimal digits of round(magnitude * 10^decimals), halves away from zero, without leading
// zeros (no digits at all for zero).
class ScaledDigits {
  public:
    // 309 integer digits of the largest double, the point, the decimals and the guard digits.
    static constexpr std::size_t kCapacity = 400;

    ScaledDigits(double magnitude, int decimals) {
        if (const auto whole = ScaleAndRound(magnitude, decimals, Tie::kAwayFromZero)) {
            if (*whole != 0) size_ = Length(std::to_chars(Begin(), End(), *whole).ptr);
            return;
        }
        RoundLongExpansion(magnitude, decimals);
    }

    std::string_view View() const { return {buffer_.data(), size_}; }

  private:
    // A double at least 10^-(decimals+1) that is not itself a tie lies more than 10^-(decimals+39)
    // from one, so 40 correctly rounded guard digits show which side of the half it is on; a
    // smaller one rounds to zero whatever the guard digits say.
    static constexpr int kGuardDigits = 40;

    char* Begin() { return buffer_.data(); }
    char* End() { return buffer_.data() + buffer_.size(); }
    std::size_t Length(const char* end) const {
        return static_cast<std::size_t>(end - buffer_.data());
    }

    void RoundLongExpansion(double magnitude, int decimals) {
        // One spare place in front for a carry out of the leading digit.
        char* first = Begin() + 1;
        const auto [end, error] = std::to_chars(first, End(), magnitude, std::chars_format::fixed,
                                                decimals + kGuardDigits);
        if (error != std::errc{}) return;
        char* point = std::find(first, end, '.');
        if (point == end) return;
        std::memmove(point, point + 1, static_cast<std::size_t>(decimals));
        char* last = point + decimals;
        if (point[decimals + 1] >= '5') {
            char* digit = last;
            while (digit != first && *(digit - 1) == '9')
                *--digit = '0';
            if (digit == first)
                *--first = '1';
            else
                ++*(digit - 1);
        }
        while (first != last && *first == '0')
            ++first;
        size_ = static_cast<std::size_t>(last - first);
        std::memmove(Begin(), first, size_);
    }

    std::array<char, kCapacity> buffer_;  // only the first size_ chars are ever read
    std::size_t size_ = 0;
};

struct NumberPattern {
    std::string_view prefix;
    std::string_view suffix;
    bool hasNumber = false;
    bool grouping = false;
    bool percent = false;
    int minIntegerDigits = 0;
    int decimals = 0;
    // Fraction digits up to the last '0' placeholder always print; later ones drop when zero.
    int mandatoryDecimals = 0;
};

NumberPattern ParsePattern(std::string_view pattern) {
    NumberPattern parsed;
    std::size_t i = 0;
    const auto isNumberChar = [](char c) { return c == '#' || c == '0' || c == ',' || c == '.'; };
    while (i < pattern.size() && !isNumberChar(pattern[i]))
        ++i;
    parsed.prefix = pattern.substr(0, i);
    const std::size_t start = i;
    int placeholders = 0;
    int firstZero = -1;
    for (; i < pattern.size() && pattern[i] != '.' && isNumberChar(pattern[i]); ++i) {
        if (pattern[i] == ',') {
            parsed.grouping = true;
            continue;
        }
        if (pattern[i] == '0' && firstZero < 0) firstZero = placeholders;
        ++placeholders;
    }
    if (firstZero >= 0) parsed.minIntegerDigits = placeholders - firstZero;
    if (i < pattern.size() && pattern[i] == '.') {
        for (++i; i < pattern.size() && parsed.decimals < kMaxPatternDecimals &&
                  (pattern[i] == '#' || pattern[i] == '0');
             ++i) {
            ++parsed.decimals;
            if (pattern[i] == '0') parsed.mandatoryDecimals = parsed.decimals;
        }
    }
    parsed.hasNumber = i > start;
    parsed.suffix = pattern.substr(i);
    parsed.percent = parsed.prefix.find('%') != std::string_view::npos ||
                     parsed.suffix.find('%') != std::string_view::npos;
    return parsed;
}

// Reads back the "#####.00" text of a value, which is what rounding to cents means here.
template <typename T>
T ReadBackCents(double value) {
    const ScaledDigits digits(std::fabs(value), 2);
    const std::string_view all = digits.View();
    std::array<char, ScaledDigits::kCapacity + 8> text{};
    char* out = text.data();
    if (value < 0) *out++ = '-';
    const std::size_t integerSize = all.size() > 2 ? all.size() - 2 : 0;
    *out++ = '0';
    out = std::copy_n(all.data(), integerSize, out);
    *out++ = '.';
    for (std::size_t k = all.size(); k < 2; ++k)
        *out++ = '0';
    out = std::copy(all.begin() + static_cast<std::ptrdiff_t>(integerSize), all.end(), out);
    T result{};
    std::from_chars(text.data(), out, result);
    return result == 0 ? T{0} : result;
}

// A strict number split into its parts.
struct DecimalParts {
    bool negative = false;
    std::int64_t exponent = 0;
    // The same number in the plain form from_chars reads ("-1234.5e3"), and where in it the
    // integer and fraction digits are (positions rather than views, which would not survive a
    // move of the string).
    std::string plain;
    std::size_t integerStart = 0;
    std::size_t integerSize = 0;
    std::size_t fractionStart = 0;
    std::size_t fractionSize = 0;

    std::string_view IntegerDigits() const {
        return std::string_view(plain).substr(integerStart, integerSize);
    }
    std::string_view FractionDigits() const {
        return std::string_view(plain).substr(fractionStart, fractionSize);
    }
};

std::optional<DecimalParts> ParseStrict(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    DecimalParts parts;
    parts.plain.reserve(text.size());
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (at(i) == '+' || at(i) == '-') {
        parts.negative = at(i) == '-';
        if (parts.negative) parts.plain += '-';
        ++i;
    }
    if (at(i) == '$') ++i;
    // Commas are accepted between any two digits of the integer part; the group size is not
    // checked, because people type "1,2345" and mean it.
    parts.integerStart = parts.plain.size();
    while (IsDigit(at(i)) ||
           (at(i) == ',' && parts.plain.size() > parts.integerStart && IsDigit(at(i + 1)))) {
        if (at(i) != ',') parts.plain += at(i);
        ++i;
    }
    parts.integerSize = parts.plain.size() - parts.integerStart;
    parts.fractionStart = parts.plain.size();
    if (at(i) == '.') {
        parts.plain += '.';
        parts.fractionStart = parts.plain.size();
        for (++i; IsDigit(at(i)); ++i)
            parts.plain += at(i);
    }
    parts.fractionSize = parts.plain.size() - parts.fractionStart;
    if (parts.integerSize == 0 && parts.fractionSize == 0) return std::nullopt;
    if (IsExponentMark(at(i))) {
        parts.plain += 'e';
        ++i;
        bool negativeExponent = false;
        if (at(i) == '+' || at(i) == '-') {
            negativeExponent = at(i) == '-';
            if (negativeExponent) parts.plain += '-';
            ++i;
        }
        if (!IsDigit(at(i))) return std::nullopt;
        for (; IsDigit(at(i)); ++i) {
            parts.plain += at(i);
            // Saturates far beyond any representable magnitude; that is all the callers need.
            if (parts.exponent < 1'000'000'000)
                parts.exponent = parts.exponent * 10 + (at(i) - '0');
        }
        if (negativeExponent) parts.exponent = -parts.exponent;
    }
    if (i != text.size()) return std::nullopt;
    return parts;
}

// Whether a number from_chars found out of range is too small (rather than too large).
bool IsBelowOne(const DecimalParts& parts) {
    auto power = static_cast<std::int64_t>(parts.integerSize);
    for (const std::string_view run : {parts.IntegerDigits(), parts.FractionDigits()}) {
        for (const char c : run) {
            --power;
            if (c != '0') return power + parts.exponent < 0;
        }
    }
    return true;
}

// round(|number| * 10^decimals), ties to even, done on the decimal digits themselves so no binary
// approximation gets in the way. Empty above 2^63.
std::optional<std::uint64_t> RoundDecimal(const DecimalParts& parts, int decimals) {
    const std::string_view integerDigits = parts.IntegerDigits();
    const std::string_view fractionDigits = parts.FractionDigits();
    const auto size = static_cast<std::int64_t>(integerDigits.size() + fractionDigits.size());
    const auto digitAt = [&](std::int64_t k) {
        const auto index = static_cast<std::size_t>(k);
        return index < integerDigits.size() ? integerDigits[index] - '0'
                                            : fractionDigits[index - integerDigits.size()] - '0';
    };
    // The first `whole` digits make up the result; the digit after them decides the rounding.
    const std::int64_t whole =
        static_cast<std::int64_t>(integerDigits.size()) + parts.exponent + decimals;
    std::uint64_t result = 0;
    for (std::int64_t k = 0; k < std::min(whole, size); ++k) {
        const auto digit = static_cast<std::uint64_t>(digitAt(k));
        if (result > (kTwoToThe63 - digit) / 10) return std::nullopt;
        result = result * 10 + digit;
    }
    for (std::int64_t k = size; k < whole && result != 0; ++k) {
        if (result > kTwoToThe63 / 10) return std::nullopt;
        result *= 10;
    }
    if (whole >= 0 && whole < size) {
        const int next = digitAt(whole);
        bool moreAfter = false;
        for (std::int64_t k = whole + 1; k < size && !moreAfter; ++k)
            moreAfter = digitAt(k) != 0;
        if (next > 5 || (next == 5 && (moreAfter || (result & 1) != 0))) ++result;
    }
    if (result > kTwoToThe63) return std::nullopt;
    return result;
}

// Whether `text` is already in the plain form from_chars reads: "-12.5", "7", ".25", with at least
// one digit and nothing else. Most numbers in the files are, and need no copy.
bool IsPlainDecimal(std::string_view text) {
    std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

template <typename T>
std::optional<T> StrictFloating(std::string_view text) {
    if (IsPlainDecimal(text)) {
        T value{};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        // Out of range is told apart (too small is zero) the long way.
        if (error == std::errc{} && end == text.data() + text.size() && std::isfinite(value))
            return value;
    }
    const auto parts = ParseStrict(text);
    if (!parts) return std::nullopt;
    T value{};
    const auto [end, error] =
        std::from_chars(parts->plain.data(), parts->plain.data() + parts->plain.size(), value);
    if (error == std::errc::result_out_of_range && IsBelowOne(*parts)) {
        return parts->negative ? -T{0} : T{0};
    }
    if (error != std::errc{} || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The shortest text of `value` rounded to `significant` digits, as boxes and record files show it.
template <typename T>
std::string ShortText(T value, int significant) {
    if (!std::isfinite(value) || value == 0) return "0";
    std::array<char, 48> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, significant - 1);
    if (error != std::errc{}) return "0";
    // The buffer holds "d.ddde+XX".
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t mark = scientific.find('e');
    std::array<char, 24> digits{};
    std::size_t count = 0;
    for (const char c : scientific.substr(0, mark)) {
        if (c != '.' && count < digits.size()) digits[count++] = c;
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;
    std::string_view exponentText = scientific.substr(mark + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent) exponent = -exponent;

    std::string out;
    if (value < 0) out += '-';
    if (exponent < -4 || exponent >= significant) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits.data() + 1, count - 1);
        }
        out += negativeExponent ? "E-" : "E+";
        if (exponentText.size() < 2) out += '0';
        out += exponentText;
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits.data(), count);
    } else {
        const auto integerCount = static_cast<std::size_t>(exponent + 1);
        out.append(digits.data(), std::min(count, integerCount));
        if (count <= integerCount) {
            out.append(integerCount - count, '0');
        } else {
            out += '.';
            out.append(digits.data() + integerCount, count - integerCount);
        }
    }
    return out;
}

}  // namespace

Currency Currency::FromDouble(double value) {
    if (std::isnan(value)) return {};
    const auto scaled = ScaleAndRound(std::fabs(value), 4, Tie::kToEven);
    if (std::signbit(value)) {
        if (!scaled || *scaled >= kTwoToThe63) {
            return FromRaw(std::numeric_limits<std::int64_t>::min());
        }
        return FromRaw(-static_cast<std::int64_t>(*scaled));
    }
    if (!scaled || *scaled > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return FromRaw(std::numeric_limits<std::int64_t>::max());
    }
    return FromRaw(static_cast<std::int64_t>(*scaled));
}

std::optional<Currency> Currency::TryFromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const auto scaled = ScaleAndRound(std::fabs(value), 4, Tie::kToEven);
    if (!scaled) return std::nullopt;
    if (std::signbit(value)) {
        if (*scaled > kTwoToThe63) return std::nullopt;
        if (*scaled == kTwoToThe63) return FromRaw(std::numeric_limits<std::int64_t>::min());
        return FromRaw(-static_cast<std::int64_t>(*scaled));
    }
    if (*scaled > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return FromRaw(static_cast<std::int64_t>(*scaled));
}

std::string FormatNumber(double value, std::string_view pattern) {
    if (pattern.empty()) return DoubleText(value);
    const NumberPattern parsed = ParsePattern(pattern);
    if (!parsed.hasNumber) return std::string(pattern);
    // A calculation gone wrong must not take the screen or the printout down with it.
    if (!std::isfinite(value)) value = 0;

    // Scaling by 100 for '%' is two more decimals of the same exact rounding.
    const ScaledDigits digits(std::fabs(value), parsed.decimals + (parsed.percent ? 2 : 0));
    const std::string_view all = digits.View();
    const auto decimals = static_cast<std::size_t>(parsed.decimals);
    const std::string_view integer =
        all.size() > decimals ? all.substr(0, all.size() - decimals) : std::string_view{};
    std::array<char, kMaxPatternDecimals> fraction{};
    for (std::size_t k = 0; k < decimals; ++k) {
        const std::size_t fromEnd = decimals - k;
        fraction[k] = fromEnd <= all.size() ? all[all.size() - fromEnd] : '0';
    }
    std::size_t fractionSize = decimals;
    while (fractionSize > static_cast<std::size_t>(parsed.mandatoryDecimals) &&
           fraction[fractionSize - 1] == '0') {
        --fractionSize;
    }
    const std::size_t padding =
        integer.size() < static_cast<std::size_t>(parsed.minIntegerDigits)
            ? static_cast<std::size_t>(parsed.minIntegerDigits) - integer.size()
            : 0;

    const std::size_t integerSize = padding + integer.size();
    const bool minus = value < 0 && !all.empty();
    // With nothing left to print ("##.##%" of zero) a bare "0" reads better than an empty box.
    const bool bareZero = integerSize == 0 && fractionSize == 0;
    const std::size_t commas = parsed.grouping && integerSize > 0 ? (integerSize - 1) / 3 : 0;
    std::string out(static_cast<std::size_t>(minus) + parsed.prefix.size() +
                        static_cast<std::size_t>(bareZero) + integerSize + commas +
                        (fractionSize > 0 ? fractionSize + 1 : 0) + parsed.suffix.size(),
                    '0');
    char* cursor = out.data();
    if (minus) *cursor++ = '-';
    cursor = std::copy(parsed.prefix.begin(), parsed.prefix.end(), cursor);
    if (bareZero) ++cursor;
    for (std::size_t k = 0; k < integerSize; ++k) {
        if (parsed.grouping && k > 0 && (integerSize - k) % 3 == 0) *cursor++ = ',';
        *cursor++ = k < padding ? '0' : integer[k - padding];
    }
    if (fractionSize > 0) {
        *cursor++ = '.';
        cursor = std::copy_n(fraction.data(), fractionSize, cursor);
    }
    std::copy(parsed.suffix.begin(), parsed.suffix.end(), cursor);
    return out;
}

float RoundCents(float value) {
    if (!std::isfinite(value)) return 0;
    const double wide = value;
    const auto cents = ScaleAndRound(std::fabs(wide), 2, Tie::kAwayFromZero);
    // Below 2^24 both operands are exact floats and the one division rounds correctly.
    if (cents && *cents <= (std::uint64_t{1} << 24)) {
        const float magnitude = static_cast<float>(*cents) / 100.0f;
        return value < 0 && *cents != 0 ? -magnitude : magnitude;
    }
    return ReadBackCents<float>(wide);
}

double RoundCents(double value) {
    if (!std::isfinite(value)) return 0;
    const auto cents = ScaleAndRound(std::fabs(value), 2, Tie::kAwayFromZero);
    if (cents && *cents <= (std::uint64_t{1} << 53)) {
        const double magnitude = static_cast<double>(*cents) / 100.0;
        return value < 0 && *cents != 0 ? -magnitude : magnitude;
    }
    return ReadBackCents<double>(value);
}

double RoundWholeEven(double value) {
    // Decided by hand rather than by nearbyint so that no rounding mode left behind by a library
    // can change a tax.
    const double magnitude = std::fabs(value);
    if (!(magnitude < 0x1p52)) return value;  // already whole, or not a number
    const double below = std::floor(magnitude);
    const double fraction = magnitude - below;  // exact
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0);
    return std::copysign(up ? below + 1 : below, value);
}

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    const auto next = [&] {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    };
    std::string number;
    if (next() == '+' || next() == '-') {
        if (next() == '-') number += '-';
        ++i;
    }
    bool anyDigit = false;
    for (; IsDigit(next()); ++i) {
        number += text[i];
        anyDigit = true;
    }
    if (next() == '.') {
        number += '.';
        for (++i; IsDigit(next()); ++i) {
            number += text[i];
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;
    if (IsExponentMark(next())) {
        ++i;
        std::string exponent = "e";
        if (next() == '+' || next() == '-') {
            if (next() == '-') exponent += '-';
            ++i;
        }
        bool exponentDigit = false;
        for (; IsDigit(next()); ++i) {
            exponent += text[i];
            exponentDigit = true;
        }
        if (exponentDigit) number += exponent;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || !std::isfinite(value)) return 0;
    return value == 0 ? 0.0 : value;
}

std::optional<double> StrictDouble(std::string_view text) {
    return StrictFloating<double>(text);
}

std::optional<float> StrictSingle(std::string_view text) {
    return StrictFloating<float>(text);
}

std::optional<Currency> StrictCurrency(std::string_view text) {
    const auto parts = ParseStrict(text);
    if (!parts) return std::nullopt;
    const auto raw = RoundDecimal(*parts, 4);
    if (!raw) return std::nullopt;
    if (parts->negative) {
        if (*raw == kTwoToThe63) return Currency::FromRaw(std::numeric_limits<std::int64_t>::min());
        return Currency::FromRaw(-static_cast<std::int64_t>(*raw));
    }
    if (*raw == kTwoToThe63) return std::nullopt;
    return Currency::FromRaw(static_cast<std::int64_t>(*raw));
}

std::optional<std::int16_t> StrictInt16(std::string_view text) {
    const auto parts = ParseStrict(text);
    if (!parts) return std::nullopt;
    const auto magnitude = RoundDecimal(*parts, 0);
    if (!magnitude || *magnitude > (parts->negative ? 32768u : 32767u)) return std::nullopt;
    const auto whole = static_cast<std::int32_t>(*magnitude);
    return static_cast<std::int16_t>(parts->negative ? -whole : whole);
}

std::string SingleText(float value) {
    return ShortText(value, 7);
}

std::string DoubleText(double value) {
    return ShortText(value, 15);
}

std::string CurrencyText(Currency value) {
    const std::int64_t raw = value.Raw();
    const std::uint64_t magnitude = raw < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(raw)
                                            : static_cast<std::uint64_t>(raw);
    std::string out = raw < 0 ? "-" : "";
    out += std::to_string(magnitude / 10000);
    auto fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        std::array<char, 4> digits{};
        for (std::size_t k = digits.size(); k-- > 0; fraction /= 10) {
            digits[k] = static_cast<char>('0' + fraction % 10);
        }
        std::size_t count = digits.size();
        while (digits[count - 1] == '0')
            --count;
        out += '.';
        out.append(digits.data(), count);
    }
    return out;
}

}  // namespace kestrel

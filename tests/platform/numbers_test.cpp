#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kestrel {

// Failures show the raw count rather than the object's bytes.
void PrintTo(const Currency& value, std::ostream* out) {
    *out << "Currency raw " << value.Raw();
}

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Independent reference: glibc prints the full exact expansion of a double, which is then rounded
// half away from zero by hand, with at least one integer digit ("0.00" style).
std::string ReferenceFixed(double value, int decimals) {
    std::vector<char> buffer(1500);
    std::snprintf(buffer.data(), buffer.size(), "%.1100f", std::fabs(value));
    const std::string expansion = buffer.data();
    const std::size_t point = expansion.find('.');
    std::string digits = "0" + expansion.substr(0, point) +
                         expansion.substr(point + 1, static_cast<std::size_t>(decimals));
    if (expansion[point + 1 + static_cast<std::size_t>(decimals)] >= '5') {
        std::size_t k = digits.size();
        while (digits[--k] == '9')
            digits[k] = '0';
        ++digits[k];
    }
    while (digits.size() > static_cast<std::size_t>(decimals) + 1 && digits[0] == '0') {
        digits.erase(0, 1);
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (decimals > 0) digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    return (value < 0 && !zero ? "-" : "") + digits;
}

// "12.3", "7", "-0.05": the shortest text of a whole number of cents, built with integers only.
std::string CentsText(int cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%02d", cents < 0 ? "-" : "", std::abs(cents) / 100,
                  std::abs(cents) % 100);
    std::string out = text;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

// Doubles that sit on, just below and just above cent ties, plus values of every magnitude.
std::vector<double> TieNeighbourhood() {
    std::vector<double> values;
    for (int cents = -20000; cents <= 20000; cents += 7) {
        const double tie = (cents + 0.5) / 100.0;
        values.insert(values.end(), {tie, std::nextafter(tie, -kInf), std::nextafter(tie, kInf)});
        const float single = static_cast<float>(tie);
        values.insert(values.end(), {single, std::nextafter(single, -1e30f)});
    }
    std::mt19937_64 random(20240611);
    for (int k = 0; k < 3000; ++k) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<>(-7, 22)(random));
        values.push_back(k % 2 == 0 ? magnitude : -magnitude);
    }
    values.insert(values.end(), {0.125, 0.375, 2.5, 1.005, 2.675, 0.0078125, -0.0234375, 1e300,
                                 -1.7e308, 5e-324});
    return values;
}

struct FormatCase {
    const char* name;
    double value;
    const char* pattern;
    const char* expected;
};

TEST(FormatNumberTest, Patterns) {
    const FormatCase cases[] = {
        {"float widened exactly stays below the tie", 2.675f, "#,###.00", "2.67"},
        {"exact binary tie rounds away", 0.125, "#,###.00", ".13"},
        {"negative tie rounds away", -0.125, "#,###.00", "-.13"},
        {"tie 0.375", 0.375, "#,###.00", ".38"},
        {"1.005 is stored below the tie", 1.005, "0.00", "1.00"},
        {"12.345 is stored above the tie", 12.345, "00000.00", "00012.35"},
        {"whole tie", 2.5, "#####", "3"},
        {"negative whole tie", -2.5, "#####", "-3"},
        {"zero has no leading digit", 0, "#,###.00", ".00"},
        {"half", 0.5, "#,###.00", ".50"},
        {"grouped", 1234.5, "#,###.00", "1,234.50"},
        {"ungrouped", 1234.5, "#####.00", "1234.50"},
        {"more digits than placeholders", 1234.5, "###.00", "1234.50"},
        {"large ungrouped", 1234567.891, "#####.00", "1234567.89"},
        {"large grouped", 1234567.891, "#,###.00", "1,234,567.89"},
        {"beyond 64 bits", 1e20, "#,###.00", "100,000,000,000,000,000,000.00"},
        {"dollar", 1234.5, "$#,###.00", "$1,234.50"},
        {"dollar zero", 0, "$#,###.00", "$.00"},
        {"minus before the dollar", -1234.5, "$#,###.00", "-$1,234.50"},
        {"zero padded", 1234.5, "000000.00", "001234.50"},
        {"zero padded fraction only", 0.5, "000000.00", "000000.50"},
        {"four zeros", 1.5, "0000.00", "0001.50"},
        {"three zeros overflowed", 12345.6, "000.00", "12345.60"},
        {"two zeros", 0.07, "00.00", "00.07"},
        {"one zero", 5, "0.00", "5.00"},
        {"zero padded and grouped", 12.5, "000,000.00", "000,012.50"},
        {"optional then mandatory decimal", 1234.5, "$#,###.#0", "$1,234.50"},
        {"optional then mandatory zero", 0, "$#,###.#0", "$.00"},
        {"percent whole", 0.02, "##.##%", "2%"},
        {"percent one decimal", 0.125, "##.##%", "12.5%"},
        {"percent rounded", 0.12345, "##.##%", "12.35%"},
        {"percent zero", 0, "##.##%", "0%"},
        {"percent below one", 0.005, "##.##%", ".5%"},
        {"percent hundred", 1, "##.##%", "100%"},
        {"percent negative", -0.02, "##.##%", "-2%"},
        {"rounds to zero: no minus", -0.001, "#,###.00", ".00"},
        {"rounds to zero with zero placeholder", -0.004, "0.00", "0.00"},
        {"negative zero", -0.0, "#,###.00", ".00"},
        {"NaN prints as zero", kNaN, "#,###.00", ".00"},
        {"infinity prints as zero", -kInf, "$#,###.00", "$.00"},
        {"literal suffix", 5, "#,##0.00 USD", "5.00 USD"},
        {"no placeholders", 5, "n/a", "n/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
    }
}

TEST(FormatNumberTest, MatchesExactExpansion) {
    for (const double value : TieNeighbourhood()) {
        SCOPED_TRACE(value);
        EXPECT_EQ(FormatNumber(value, "0.00"), ReferenceFixed(value, 2));
        EXPECT_EQ(FormatNumber(value, "0.000000"), ReferenceFixed(value, 6));
    }
}

TEST(RoundCentsTest, KnownValues) {
    EXPECT_EQ(RoundCents(2.675f), 2.67f);
    EXPECT_EQ(RoundCents(0.125f), 0.13f);
    EXPECT_EQ(RoundCents(-0.125f), -0.13f);
    EXPECT_EQ(RoundCents(1.005f), 1.0f);
    EXPECT_EQ(RoundCents(0.125), 0.13);
    EXPECT_EQ(RoundCents(1.005), 1.0);
    EXPECT_FALSE(std::signbit(RoundCents(-0.001f)));
    EXPECT_EQ(RoundCents(kNaN), 0.0);
}

TEST(RoundCentsTest, EqualsFormattingAndReadingBack) {
    for (const double value : TieNeighbourhood()) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundCents(value), StrictDouble(FormatNumber(value, "#####.00")));
        if (std::fabs(value) > std::numeric_limits<float>::max()) continue;
        const auto single = static_cast<float>(value);
        EXPECT_EQ(RoundCents(single), StrictSingle(FormatNumber(single, "#####.00")));
    }
}

TEST(RoundWholeEvenTest, HalvesGoToEven) {
    const std::pair<double, double> cases[] = {
        {12.5, 12},
        {13.5, 14},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {12.49, 12},
        {12.51, 13},
        {2.4999999999999996, 2},
        {2.5000000000000004, 3},
        {4503599627370495.5, 4503599627370496},
        {1e300, 1e300},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundWholeEven(value), expected);
    }
}

TEST(LeadingNumberTest, TakesWhatItCan) {
    const std::pair<const char*, double> cases[] = {
        {"12", 12},        {"1 2", 12},  {"  12.5abc", 12.5}, {"", 0},        {"abc", 0},
        {".", 0},          {"-", 0},     {"1-2", 1},          {"-.5", -0.5},  {"1,234", 1},
        {"+4", 4},         {"- 5", -5},  {"1 . 5", 1.5},      {"\t\r\n7", 7}, {"1e3", 1000},
        {"1 E - 2", 0.01}, {"2d2", 200}, {"1E", 1},           {"1e+", 1},     {"1.2.3", 1.2},
        {"$5", 0},         {"1e999", 0}, {"0x10", 0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(LeadingNumber(text), expected);
    }
}

TEST(StrictTest, RejectsAnythingButOneNumber) {
    for (const char* text :
         {"",    " ", "-",  ".",   "1-2",  "1 2",  "abc", "12abc", "--1",   "5-",  "1e",
          "1e+", "$", "-$", "$-5", ",123", "1,,2", "1,",  "1.2.3", "1.5,0", "+-1", "1,.5"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrictDouble(text), std::nullopt);
        EXPECT_EQ(StrictSingle(text), std::nullopt);
        EXPECT_EQ(StrictCurrency(text), std::nullopt);
        EXPECT_EQ(StrictInt16(text), std::nullopt);
    }
}

TEST(StrictTest, Doubles) {
    const std::pair<const char*, double> cases[] = {
        {"1,234.5", 1234.5}, {"$1,234.50", 1234.5}, {" -$12.5 ", -12.5}, {"+3", 3},
        {"1e3", 1000},       {"1.5E-2", 0.015},     {"2D2", 200},        {".5", 0.5},
        {"5.", 5},           {"\t7\r\n", 7},        {"1e-400", 0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrictDouble(text), expected);
    }
    EXPECT_EQ(StrictDouble("1e309"), std::nullopt);
    EXPECT_EQ(StrictDouble("-1e309"), std::nullopt);
}

TEST(StrictTest, SinglesRoundOnceFromTheText) {
    // Just above the midpoint of 1 and the next float; through double it lands on the midpoint
    // itself and then goes down to 1.
    EXPECT_EQ(StrictSingle("1.0000000596046448"), std::nextafter(1.0f, 2.0f));
    EXPECT_EQ(StrictSingle("3e38"), 3e38f);
    EXPECT_EQ(StrictSingle("3.5e38"), std::nullopt);
    EXPECT_EQ(StrictSingle("1e-50"), 0.0f);
    EXPECT_EQ(StrictSingle("$1,234.50"), 1234.5f);
}

TEST(StrictTest, CurrencyRoundsTheDecimalTextToEven) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"$1,234.50", 12345000},
        {"0.00005", 0},
        {"0.00015", 2},
        {"1.23455", 12346},
        {"1.234551", 12346},
        {"-1.23445", -12344},
        {"1e2", 1000000},
        {"2.5e-4", 2},
        {"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
        {"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& [text, raw] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrictCurrency(text), Currency::FromRaw(raw));
    }
    EXPECT_EQ(StrictCurrency("922337203685477.5808"), std::nullopt);
    EXPECT_EQ(StrictCurrency("-922337203685477.58086"), std::nullopt);
    EXPECT_EQ(StrictCurrency("1e20"), std::nullopt);
}

TEST(StrictTest, Int16RoundsToEvenWithinRange) {
    const std::pair<const char*, std::int16_t> cases[] = {
        {"2.5", 2},         {"3.5", 4},         {"-2.5", -2},   {"2.51", 3},     {"32767", 32767},
        {"32767.4", 32767}, {"-32768", -32768}, {"1e4", 10000}, {"1,000", 1000}, {"-0.4", 0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrictInt16(text), expected);
    }
    for (const char* text : {"32768", "32767.5", "-32769", "-32768.6", "1e5"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(StrictInt16(text), std::nullopt);
    }
}

TEST(CurrencyTest, FromDoubleRoundsTheBinaryValueToEven) {
    Currency total;
    for (int k = 0; k < 10; ++k)
        total += Currency::FromSingle(0.1f);
    EXPECT_EQ(total, Currency::FromRaw(10000));
    EXPECT_EQ(Currency::FromDouble(0.03125).Raw(), 312);  // 312.5 exactly
    EXPECT_EQ(Currency::FromDouble(0.09375).Raw(), 938);  // 937.5 exactly
    EXPECT_EQ(Currency::FromDouble(-0.03125).Raw(), -312);
    EXPECT_EQ(Currency::FromSingle(2.675f).Raw(), 26750);
    EXPECT_EQ(Currency::FromDouble(1234567.89).Raw(), 12345678900);
    EXPECT_EQ(Currency::FromDouble(1e300).Raw(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Currency::FromDouble(-kInf).Raw(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Currency::FromDouble(kNaN).Raw(), 0);
}

TEST(TextTest, SingleText) {
    const std::pair<float, const char*> cases[] = {
        {7.5f, "7.5"},
        {0.1f, "0.1"},
        {1.1f + 2.2f, "3.3"},
        {1.0f / 3, "0.3333333"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {16777216.0f, "1.677722E+07"},
        {1234567.0f, "1234567"},
        {12345678.0f, "1.234568E+07"},
        {100.0f, "100"},
        {-0.25f, "-0.25"},
        {0.0001f, "0.0001"},
        {1e-5f, "1E-05"},
        {1.5e7f, "1.5E+07"},
        {-2.5e-6f, "-2.5E-06"},
        {1e38f, "1E+38"},
        {std::numeric_limits<float>::quiet_NaN(), "0"},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(SingleText(value), expected);
    }
}

TEST(TextTest, DoubleText) {
    const std::pair<double, const char*> cases[] = {
        {0.1 + 0.2, "0.3"},
        {10 - static_cast<double>(2.2f), "7.79999995231628"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1e-300, "1E-300"},
        {-1.5, "-1.5"},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(DoubleText(value), expected);
    }
}

TEST(TextTest, CurrencyText) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {10000, "1"},
        {125000, "12.5"},
        {1, "0.0001"},
        {-32500, "-3.25"},
        {0, "0"},
        {-1, "-0.0001"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& [raw, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(CurrencyText(Currency::FromRaw(raw)), expected);
    }
}

TEST(TextTest, CentAmountsRoundTrip) {
    for (int cents = -100000; cents <= 100000; ++cents) {
        const std::string text = CentsText(cents);
        SCOPED_TRACE(text);
        const std::optional<float> single = StrictSingle(text);
        ASSERT_TRUE(single.has_value());
        EXPECT_EQ(SingleText(*single), text);
        EXPECT_EQ(StrictSingle(SingleText(*single)), single);
        EXPECT_EQ(DoubleText(cents / 100.0), text);
    }
}

}  // namespace
}  // namespace kestrel

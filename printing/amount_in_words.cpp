#include "printing/amount_in_words.h"

#include <array>

#include "platform/numbers.h"

namespace kestrel {

namespace {

constexpr std::array<const char*, 20> kUnits{
    "",         "One",     "Two",     "Three",     "Four",     "Five",    "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",  "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
constexpr std::array<const char*, 10> kTens{"",      "Ten",   "Twenty",  "Thirty", "Forty",
                                            "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

constexpr double kLargestAmount = 999999.99;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t Digit(char c) {
    return static_cast<std::size_t>(c - '0');
}

void AppendWord(std::string& words, const char* word) {
    words += ' ';
    words += word;
}

}  // namespace

void GroupInWords(std::string_view group, std::string& words) {
    if (group.size() != 3 || !IsDigit(group[0]) || !IsDigit(group[1]) || !IsDigit(group[2])) return;
    const std::size_t hundreds = Digit(group[0]);
    const std::size_t tens = Digit(group[1]);
    const std::size_t units = Digit(group[2]);
    if (hundreds != 0) {
        AppendWord(words, kUnits[hundreds]);
        words += " Hundred";
    }
    const std::size_t below100 = tens * 10 + units;
    if (below100 == 0) return;
    if (below100 < 20) {
        AppendWord(words, kUnits[below100]);
        return;
    }
    AppendWord(words, kTens[tens]);
    if (units != 0) AppendWord(words, kUnits[units]);
}

std::string AmountInWords(float amount) {
    // The comparison is made in double, as the limit is written: a single cannot hold 999999.99
    // and stores it as one million, which is too large.
    if (static_cast<double>(amount) > kLargestAmount) return "Dollar amount is too large";
    // NaN and negative amounts (a net pay below zero) write a zero check.
    if (!(amount > 0)) amount = 0;
    const std::string figure = FormatNumber(static_cast<double>(amount), "000000.00");
    // Six dollar digits, the point, two cent digits; anything else cannot come from the pattern
    // below the limit, but a short text must never be read past its end.
    if (figure.size() != 9) return "Dollar amount is too large";
    const std::string_view dollars = std::string_view(figure).substr(0, 6);
    const std::string_view cents = std::string_view(figure).substr(7, 2);

    std::string words;
    if (dollars != "000000") {
        if (dollars.substr(0, 3) != "000") {
            GroupInWords(dollars.substr(0, 3), words);
            words += " Thousand";
        }
        if (dollars.substr(3, 3) != "000") GroupInWords(dollars.substr(3, 3), words);
    } else {
        words = "Zero";
    }
    words += " and ";
    words += cents == "00" ? std::string("No") : std::string(cents);
    words += "/100";
    return words;
}

}  // namespace kestrel

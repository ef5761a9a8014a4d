#include "platform/date.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace kestrel {

namespace {

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeap(year)) return 29;
    return kDays[static_cast<std::size_t>(month - 1)];
}

// One run of digits; false when there is none or it is implausibly long.
bool TakeNumber(std::string_view& text, int& out, std::size_t& digits) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    if (n == 0 || n > 4) return false;
    std::from_chars(text.data(), text.data() + n, out);
    digits = n;
    text.remove_prefix(n);
    return true;
}

}  // namespace

bool IsValidDate(const Date& date) {
    if (date.year < 100 || date.year > 9999) return false;
    if (date.month < 1 || date.month > 12) return false;
    return date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

std::optional<Date> ParseDate(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    Date date;
    std::size_t digits = 0;
    if (!TakeNumber(text, date.month, digits)) return std::nullopt;
    if (text.empty() || (text.front() != '/' && text.front() != '-')) return std::nullopt;
    const char separator = text.front();
    text.remove_prefix(1);
    if (!TakeNumber(text, date.day, digits)) return std::nullopt;
    if (text.empty() || text.front() != separator) return std::nullopt;
    text.remove_prefix(1);
    if (!TakeNumber(text, date.year, digits) || !text.empty()) return std::nullopt;
    if (digits <= 2)
        date.year += date.year < 30 ? 2000 : 1900;
    else if (digits != 4)
        return std::nullopt;
    if (!IsValidDate(date)) return std::nullopt;
    return date;
}

std::string ShortDateText(const Date& date) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%02d/%02d/%02d", date.month % 100, date.day % 100,
                  date.year % 100);
    return buffer.data();
}

}  // namespace kestrel

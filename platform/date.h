// Calendar dates as the week-ending fields use them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
    bool operator==(const Date&) const = default;
};

bool IsValidDate(const Date& date);

// Reads month/day/year as typed in a week-ending box: "12/30/05", "1/2/2006". Two-digit years
// fall in 1930-2029, as the desktop's own date parsing takes them. "00/00/05" is not a date.
std::optional<Date> ParseDate(std::string_view text);

// The short date form of this program: "MM/dd/yy", which is exactly the eight characters a
// week-ending field holds.
std::string ShortDateText(const Date& date);

}  // namespace kestrel

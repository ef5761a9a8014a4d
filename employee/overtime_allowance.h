// A salaried employee's overtime allowance: the overtime of each pay period of the year against a
// limit of an approved percentage of the annual salary. The rows live in ".ovw" (weekly) or
// ".ovb" (bi-weekly); the other figures ride in the ".use" file.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "employee/record_file.h"

namespace kestrel {

inline constexpr int kOvertimeRows = 52;
inline constexpr float kNewEmployeeSalary = 11440;

struct OvertimeAllowance {
    float AnnualSalary = 0;
    float ApprovedPercent = 0;  // whole percent: 10 is 10 %
    float OvertimeEarned = 0;
    float PresentPercent = 0;  // a fraction: 0.02 is 2 %
    float MaxAllowable = 0;
    float OvertimeAvailable = 0;
    // Texts as typed or picked; only the rows in use are shown, totalled, stored and shifted.
    std::array<std::string, kOvertimeRows> OtWeekEnding;
    std::array<std::string, kOvertimeRows> OtAmount;
    bool operator==(const OvertimeAllowance&) const = default;
};

// 52 rows for weekly pay, the first 26 otherwise.
constexpr int OvertimeRowCount(bool weeklyPay) {
    return weeklyPay ? kOvertimeRows : kOvertimeRows / 2;
}

// ActiveUser + ".ovw" for weekly pay, ".ovb" otherwise.
std::filesystem::path OvertimeFileName(std::string_view activeUser, bool weeklyPay);

// Reads the rows in use, both lines of a row as text, whole or not at all: nullopt when read,
// else where it failed.
std::optional<ReadError> ReadOvertimeRows(const std::filesystem::path& path, bool weeklyPay,
                                          OvertimeAllowance& overtime);
// Two lines a row: the week-ending text, then the leading number of the amount text.
RecordWriter OvertimeRowRecords(const std::filesystem::path& path,
                                const OvertimeAllowance& overtime, bool weeklyPay);

}  // namespace kestrel

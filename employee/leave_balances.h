// Vacation, holiday/personal and sick leave of the open employee, kept in ActiveUser + ".hol".
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "employee/record_file.h"

namespace kestrel {

inline constexpr int kLeaveEntries = 20;
inline constexpr std::string_view kLeaveFileExtension = ".hol";

struct LeaveBalances {
    float VacationBalance = 0;
    float HolidayBalance = 0;
    float SickBalance = 0;
    float VacationStart = 0;
    float HolidayStart = 0;
    float SickStart = 0;
    std::array<float, kLeaveEntries> VacationTaken{};
    std::array<float, kLeaveEntries> HolidayTaken{};
    std::array<float, kLeaveEntries> SickTaken{};
    std::array<std::string, kLeaveEntries> VacationDates;
    std::array<std::string, kLeaveEntries> HolidayDates;
    std::array<std::string, kLeaveEntries> SickDates;
    bool operator==(const LeaveBalances&) const = default;
};

// The 41 lines of ".hol", whole or not at all: nullopt when read, else where it failed.
std::optional<ReadError> ReadLeaveFile(const std::filesystem::path& path, LeaveBalances& leave);
RecordWriter LeaveRecords(const std::filesystem::path& path, const LeaveBalances& leave);

}  // namespace kestrel

// The three files of an employee's profile: ".use" (rates, deductions, pay frequency, captions and
// the overtime figures), ".and" (identity, printing offsets and some state-tax flags) and ".cfe"
// (cafeteria plan and self-employment). Reserved fields are carried through a save untouched.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "calc/payroll_records.h"
#include "employee/overtime_allowance.h"
#include "employee/record_file.h"
#include "printing/print_offsets.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

inline constexpr std::string_view kUseFileExtension = ".use";
inline constexpr std::string_view kAndFileExtension = ".and";
inline constexpr std::string_view kCfeFileExtension = ".cfe";

// Fields no window edits. Each is kept as the text it was read as, so a file written by another
// program keeps what it put there; new files hold 0, #FALSE# and empty text.
struct ProfileReserved {
    std::array<RecordField, 16> UseLines9To12{};  // ".use" lines 9 to 12, four fields each
    std::array<RecordField, 2> AndLine2{RecordField{"0"}, RecordField{"0"}};
    std::array<RecordField, 3> AndLine3{RecordField{"0"}, RecordField{"0"}, RecordField{"0"}};
    std::array<RecordField, 3> AndLine4{RecordField{"#FALSE#"}, RecordField{"#FALSE#"},
                                        RecordField{"#FALSE#"}};
    std::array<RecordField, 2> AndLine6{RecordField{"\"\""}, RecordField{"\"\""}};
    std::array<RecordField, 2> AndLine8{RecordField{"0"}, RecordField{"0"}};
    bool operator==(const ProfileReserved&) const = default;
};

// What line 1 and 2 of ".use" take from the overtime window: the leading numbers of these texts.
// The limit and available texts are formatted money ("$5,000.00"), so they always give 0.
struct OvertimeBoxTexts {
    std::string annualSalary;
    std::string approvedPercent;
    std::string maxAllowable;
    std::string available;
};

// The number of allowances a list of "0" to "9" holds; nullopt for any other text.
std::optional<std::int16_t> AllowanceCount(std::string_view text);

// Each reader takes its whole file or nothing: nullopt when it was read, else where it failed,
// with every destination as it was.
std::optional<ReadError> ReadUseFile(const std::filesystem::path& path, EmployeeProfile& profile,
                                     OvertimeAllowance& overtime, ProfileReserved& reserved);
std::optional<ReadError> ReadAndFile(const std::filesystem::path& path, EmployeeProfile& profile,
                                     StateTaxSettings& state, PrintOffsets& offsets,
                                     ProfileReserved& reserved);
std::optional<ReadError> ReadCfeFile(const std::filesystem::path& path, EmployeeProfile& profile);

// What File, New gives the part of the records each file carries: a file that was refused when
// its employee was opened leaves its part at these values, never at another employee's.
void ResetUseFields(EmployeeProfile& profile, OvertimeAllowance& overtime,
                    ProfileReserved& reserved);
void ResetAndFields(EmployeeProfile& profile, StateTaxSettings& state, PrintOffsets& offsets,
                    ProfileReserved& reserved);
void ResetCfeFields(EmployeeProfile& profile);
void ResetOvertimeRows(OvertimeAllowance& overtime);

RecordWriter UseRecords(const std::filesystem::path& path, const EmployeeProfile& profile,
                        const OvertimeAllowance& overtime, const OvertimeBoxTexts& boxes,
                        const ProfileReserved& reserved);
RecordWriter AndRecords(const std::filesystem::path& path, const EmployeeProfile& profile,
                        const StateTaxSettings& state, const PrintOffsets& offsets,
                        const ProfileReserved& reserved);
RecordWriter CfeRecords(const std::filesystem::path& path, const EmployeeProfile& profile);

}  // namespace kestrel

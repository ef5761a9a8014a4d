// The open employee's state income-tax withholding settings and their ".sta" file.
#pragma once

#include <filesystem>
#include <string_view>

#include "calc/payroll_records.h"
#include "employee/record_file.h"
#include "settings/tax_tables.h"

namespace kestrel {

struct StateTaxSettings {
    BracketTable SingleBrackets{};
    BracketTable MarriedBrackets{};
    ExemptionColumn SingleExemptions{};
    ExemptionColumn MarriedExemptions{};
    CheckFlag NoStateTax = 0;
    float SdiPercent = 0;   // whole percent: 0.9 is 0.9 %
    float SdiWageBase = 0;  // a flat amount per period unless SdiUseBase
    CheckFlag SdiUseBase = 0;
    float SuiPercent = 0;
    float SuiWageBase = 0;
    CheckFlag SuiUseBase = 0;
    float StateAdjustment = 0;  // added to every period's state tax; negative subtracts
    float CaliforniaAllowance = 0;
    CheckFlag SpouseWorks = 0;
    CheckFlag RoundState = 0;
    CheckFlag ArizonaFlag = 0;
    CheckFlag LouisianaFlag = 0;
    CheckFlag IowaFlag = 0;
    CheckFlag MissouriFlag = 0;
    CheckFlag MassFlag = 0;
    CheckFlag OregonFlag = 0;
    CheckFlag OklahomaFlag = 0;
    CheckFlag AlabamaFlag = 0;
    CheckFlag KentuckyFlag = 0;
    CheckFlag WisconsinFlag = 0;
    CheckFlag NorthCarolinaFlag = 0;

    // True when one of the eleven states with a formula of its own is chosen.
    bool AnySpecialState() const;
    bool operator==(const StateTaxSettings&) const = default;
};

inline constexpr std::string_view kStateFileExtension = ".sta";

// The New York tables and exemptions; the SDI, SUI, adjustment and California fields are 0.
StateTaxSettings NewYorkStateDefaults();

enum class SettingsFileStatus { Loaded, Missing, Corrupted };

struct SettingsFileResult {
    SettingsFileStatus status = SettingsFileStatus::Missing;
    ReadError error;  // where a corrupted file failed
};

// What a settings file's reader reports once it has asked for every field: Corrupted with the
// first failure, otherwise Loaded.
SettingsFileResult ReadOutcome(const RecordReader& in);

// The 23 lines of the ".sta" file. The file also carries five profile fields (state status and
// allowances, federal exempt, additional federal, FICA exempt). A corrupted file stops at the
// failing field, and every field the file carries then takes a new employee's value: nothing of
// a refused file, and nothing of the employee read before, is used.
SettingsFileResult ReadStateFile(const std::filesystem::path& path, StateTaxSettings& settings,
                                 EmployeeProfile& profile);
// The lines WriteStateFile commits.
RecordWriter StateRecords(const std::filesystem::path& path, const StateTaxSettings& settings,
                          const EmployeeProfile& profile);
WriteResult WriteStateFile(const std::filesystem::path& path, const StateTaxSettings& settings,
                           const EmployeeProfile& profile);

}  // namespace kestrel

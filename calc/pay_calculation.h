// The arithmetic of one pay period, apart from any window: the records go in, every amount comes
// out, rounded and totalled the way the main window shows them.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/calc_trace.h"
#include "calc/federal_tables.h"
#include "calc/payroll_records.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

struct PayInputs {
    const EmployeeProfile& profile;
    const FederalTables& federal;
    const StateTaxSettings& state;
    const CityTaxSettings& city;
    const NonResidentTaxSettings& nonResident;
    // The register's year-to-date gross when the calculation runs: the wage bases of Social
    // Security, SDI and SUI are taken against it.
    Currency ytdGross{};
    // The register's Social Security and Medicare totals, which Massachusetts looks at.
    float ytdSocialSecurity = 0;
    float ytdMedicare = 0;
    // The state adjustment as the State Tax window's box holds it when the insurance taxes are
    // worked out; it can differ from `state` when the window is open with an unsaved edit. The
    // state routines before it use the value in memory.
    std::optional<float> windowStateAdjustment{};
    float defaultPayRate = kDefaultPayRate;
    // "(1X)" is selected; with "(2X)" the 1x/2x overtime hours count double.
    bool overtimeOneTimes = true;
    // Where the calculation records its working; none records nothing and costs nothing.
    CalcTrace* trace = nullptr;
};

// Runs the whole calculation. Amounts are single precision; each expression is evaluated in
// double and stored in single, and every piece of gross pay is taken to currency before it is
// added. With "(2X)" selected `entry.OtVar` is doubled in place, as the calculation always did,
// so after it the entry holds the hours already multiplied.
PayResult ComputePay(const PayInputs& in, PayPeriodEntry& entry);

// The entry (0 to 7, as the main window numbers them) whose part of gross pay cannot be held:
// a product beyond single precision, or a piece or the running total of gross pay beyond what
// currency holds. Nothing when the period can be calculated. Checked before `ComputePay`, which
// would otherwise clip such a total.
std::optional<int> EntryBeyondRange(const PayInputs& in, const PayPeriodEntry& entry);

// What a figure that cannot be held came from, so that a refusal can say what to put right.
enum class PaySource { Profile, FederalTables, StateTable, Sdi, Sui, CityTable, NonResidentTable };

// The source of the first figure of `result` that is infinite or not a number (a rate of 3e38 in
// a table, or deductions of the profile near the single-precision limit); nothing when every
// figure can be held. Such a period must be refused: rounding to cents would show 0 in its place.
std::optional<PaySource> UnrepresentableSource(const PayResult& result,
                                               const EmployeeProfile& profile);

// The files the settings of a calculation came from; a name is empty when they came from none.
struct PaySourceFiles {
    std::string state;
    std::string city;
    std::string nonResident;
};

// The source as a refusal names it, e.g. `the state table of "Worker1.sta"`.
std::string PaySourceText(PaySource source, const PaySourceFiles& files);

// The texts the main window shows for a result.
struct PayDisplay {
    std::string gross;  // empty when there are no taxable wages
    std::string taxes;
    std::string deductions;
    std::string net;
    std::string overtime;
    std::string tips;
    // Federal, Soc Sec, Medicare, State, City, the five deductions, K plan.
    std::array<std::string, 11> lines;
    std::string sdi;
    std::string sui;
    std::string cafeteria;
};

PayDisplay FormatPayResult(const PayResult& result);

}  // namespace kestrel

// The eleven states whose withholding has a rule of its own. Six of them read the state tables
// with a twist (Arizona, Massachusetts, Oregon, Wisconsin, North Carolina, Kentucky); Louisiana,
// Alabama, Missouri, Iowa and Oklahoma carry their schedules here and read at most a few counts or
// deductions from the exemption table, which the state's preset fills.
//
// Each formula is a pure function of its inputs. The arithmetic follows the types the payroll has
// always used: single-precision amounts stay single between themselves, and a constant with a
// fraction (or a result the program held as a dynamically typed value) carries the expression in
// double. Changing that moves results by a cent at half-cent edges.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "calc/calc_trace.h"
#include "calc/payroll_records.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

// What a table-reading state produces: the tax, or nothing when no line of its table holds the
// wages (the state tax then stays as it was), and the wages it taxed, when it computed them for
// the employee's pay frequency.
struct StateTaxResult {
    std::optional<double> tax;
    std::optional<float> taxableWages;
};

// The federal tax times line 1's rate of the single table for a "Single" federal status, of the
// married table otherwise. The state status plays no part.
float ArizonaTax(const StateTaxSettings& state, std::string_view federalStatus, float federalTax,
                 CalcTrace* trace = nullptr);

// Row 0 of the two exemption columns holds the counts of personal exemptions and dependents.
// The tax on the wages less the credit for those counts, never below 0.
double LouisianaTax(const StateTaxSettings& state, float grossPay, bool biWeeklyPay,
                    CalcTrace* trace = nullptr);

// Federal tax, the cafeteria deduction and the standard deduction of the single column come off
// the wages; the credit of the married column comes off the tax, which may go negative.
float IowaTax(const StateTaxSettings& state, std::int16_t allowances, float taxableWages,
              float federalTax, float cafeteriaStateDeduction, bool biWeeklyPay,
              CalcTrace* trace = nullptr);

// Federal tax comes off the wages only up to a limit (lower when the spouse works); then the
// "Standard" (single column) and "W4 Allowance" (married column) deductions. The caller rounds
// the result to whole dollars.
float MissouriTax(const StateTaxSettings& state, std::int16_t allowances, float taxableWages,
                  float federalTax, float cafeteriaStateDeduction, bool weeklyPay, bool biWeeklyPay,
                  CalcTrace* trace = nullptr);

// A flat rate (line 1 of the single table) on gross pay less the married-column allowance.
// This period's Social Security and Medicare come off the wages until the year's total of the
// two passes 2000.
StateTaxResult MassTax(const StateTaxSettings& state, std::int16_t allowances, float grossPay,
                       float socSecTax, float medicareTax, float ytdSocialSecurity,
                       float ytdMedicare, bool weeklyPay, CalcTrace* trace = nullptr);

// Gross pay less the federal tax, capped per period; three table lines, the exemption entry a
// credit off the tax. A single employee with 3 or more allowances uses the married figures.
// The tables already hold the figures of the employee's frequency.
StateTaxResult OregonTax(const StateTaxSettings& state, std::string_view stateStatus,
                         std::int16_t allowances, float grossPay, float federalTax,
                         bool biWeeklyPay, CalcTrace* trace = nullptr);

// The year's tax on the annualized wages, before it is divided back to the period. Any status
// but "Single" is taxed as married.
double OklahomaAnnualTax(std::string_view stateStatus, std::int16_t allowances, bool spouseWorks,
                         float grossPay, bool biWeeklyPay);
// The period's share of it in whole dollars, halves to even.
double OklahomaTax(std::string_view stateStatus, std::int16_t allowances, bool spouseWorks,
                   float grossPay, bool biWeeklyPay, CalcTrace* trace = nullptr);

// Gross pay less a capped standard deduction, the personal exemption, the federal tax and the
// dependents, through three bands. Any status but "Single" counts as married. A negative result
// is left for the calculation's clamp.
double AlabamaTax(std::string_view stateStatus, std::int16_t allowances, float grossPay,
                  float federalTax, bool biWeeklyPay, CalcTrace* trace = nullptr);

// Gross pay less the standard deduction held in line 1's Amount, through five cumulative bands
// whose Minimum is the band's top; the exemption entry is a credit.
StateTaxResult KentuckyTax(const StateTaxSettings& state, std::string_view stateStatus,
                           std::int16_t allowances, float grossPay, CalcTrace* trace = nullptr);

// The California allowance field holds a deduction off the wages (not halved weekly) and the
// exemption amount is a credit off the table's tax (halved weekly). When no line holds the
// wages the credit comes off `taxBefore`, the state tax as it stood.
StateTaxResult WisconsinTax(const StateTaxSettings& state, std::string_view stateStatus,
                            float taxableWages, float cafeteriaStateDeduction,
                            float stateExemptionAmount, bool weeklyPay, bool biWeeklyPay,
                            double taxBefore, CalcTrace* trace = nullptr);

// Lines are chosen as the generic table does, but a line's Amount is subtracted from the
// product: wages x Percent - Amount/d.
StateTaxResult NorthCarolinaTax(const StateTaxSettings& state, std::string_view stateStatus,
                                float taxableWages, float cafeteriaStateDeduction,
                                float stateExemptionAmount, bool weeklyPay, bool biWeeklyPay,
                                CalcTrace* trace = nullptr);

// Runs each special-state routine whose flag is set, in the order Arizona, Louisiana, Iowa,
// Missouri, Massachusetts, Oregon, Oklahoma, Alabama, Kentucky, Wisconsin, North Carolina.
// Reads r.GrossPay, r.TaxableWages, r.FederalTax (the federal tax as computed before the
// additional federal amount and before rounding - the caller guarantees this), r.SocSecTax,
// r.MedicareTax, r.CafeteriaStateDeduction, r.StateExemptionAmount; writes r.StateTax and
// r.StateTaxableWages. Returns true when Alabama, Missouri or Oklahoma ran (they force
// whole-dollar rounding of the state tax).
// With a trace, each formula that ran is recorded with what it read and what it gave.
bool SpecialStateWithholding(const StateTaxSettings& state, const EmployeeProfile& profile,
                             float ytdSocialSecurity, float ytdMedicare, PayResult& r,
                             CalcTrace* trace = nullptr);

}  // namespace kestrel

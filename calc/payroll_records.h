// The three records the pay calculation works on: the open employee's settings, what the user
// typed for one pay period, and every amount one calculation produces.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/numbers.h"

namespace kestrel {

// A flag taken from a check box: 0 clear, 1 set.
using CheckFlag = std::int16_t;

inline constexpr float kDefaultPayRate = 7.5f;

struct EmployeeProfile {
    std::string EmployeeName;
    std::string EmployeeAddress;
    std::string EmployeeCityStateZip;
    std::string EmployeeSsn;
    float HourlyRate1 = 0;
    float HourlyRate2 = 0;
    float TipsRate = 0;
    std::string FederalStatus;      // "Single" or "Married"
    std::string FederalAllowances;  // "0" to "9"
    std::string StateStatus;        // "Single" or "Married"
    std::int16_t StateAllowances = 0;
    CheckFlag FederalExempt = 0;
    CheckFlag FicaExempt = 0;
    float AdditionalFederal = 0;
    // The pay frequency pair; exactly one is true in a saved profile.
    bool WeeklyPay = false;
    bool BiWeeklyPay = false;
    CheckFlag NonCityResident = 0;
    float CreditUnion = 0;
    float Bond = 0;
    float Dues = 0;
    float Pension = 0;  // whole percent of gross pay
    float Misc = 0;
    float KPlan = 0;  // percent of gross when KPlanIsPercent is 1, else dollars
    CheckFlag KPlanIsPercent = 0;
    CheckFlag KPlanIsFixed = 0;
    float Cafeteria = 0;
    CheckFlag CafeteriaReducesState = 0;
    CheckFlag SelfEmployed = 0;
    // Credit union, bond, dues, pension, misc.
    std::array<std::string, 5> DeductionCaptions;
};

// The profile a new employee starts with.
EmployeeProfile NewEmployeeProfile();

struct PayPeriodEntry {
    float StrHrs = 0;
    float StrHrs2 = 0;
    // Overtime hours at one or two times rate 1; a calculation with "(2X)" doubles it in place.
    float OtVar = 0;
    float OtHrs = 0;
    float Avas = 0;
    float VacDys = 0;
    Currency Addit;
    float TipsHrs = 0;
    int OtMultiplier = 1;
    std::string WeekEnding = "00/00/05";
};

struct PayResult {
    float PayRate = 0;
    float RegularPay1 = 0;
    float RegularPay2 = 0;
    float TotalOt = 0;
    float TotalTips = 0;
    float GrossPay = 0;
    float KPlanAmount = 0;
    float PensionAmount = 0;
    float CafeteriaAmount = 0;
    float TaxableWages = 0;
    float FederalAllowanceAmount = 0;
    float FederalTaxableWages = 0;
    float FederalTax = 0;
    float SocSecTax = 0;
    float MedicareTax = 0;
    float StateExemptionAmount = 0;
    float CityExemptionAmount = 0;
    float CafeteriaStateDeduction = 0;
    float StateTaxableWages = 0;
    float CityTaxableWages = 0;
    // The state and city taxes and the tax total are exact decimal values in the calculation;
    // doubles rounded as the calculation says hold them faithfully.
    double StateTax = 0;
    double CityTax = 0;
    float SdiTax = 0;
    float SuiTax = 0;
    double TaxDeduct = 0;
    float TotDeduct = 0;
    float NetPay = 0;
    // The rounded fixed deductions of the period, as the result lines show them.
    float CreditUnion = 0;
    float Bond = 0;
    float Dues = 0;
    float Misc = 0;
};

}  // namespace kestrel

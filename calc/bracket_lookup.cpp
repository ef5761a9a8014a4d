#include "calc/bracket_lookup.h"

#include <algorithm>

namespace kestrel {

std::optional<BracketMatch> BracketLookup(float wages, const BracketTable& table, int rows,
                                          int divisor) {
    rows = std::clamp(rows, 1, static_cast<int>(table.size()));
    const auto d = static_cast<float>(divisor);
    // Halved minimums are compared as singles, as they were always stored.
    auto minimum = [&](int k) { return table[static_cast<std::size_t>(k)].Minimum / d; };
    // Wages and table figures are all singles, so each step of the tax is rounded to single.
    auto taxOf = [&](int k) {
        const BracketRow& row = table[static_cast<std::size_t>(k)];
        const float tax = (wages - minimum(k)) * row.Percent + row.Amount / d;
        return static_cast<double>(tax);
    };
    std::optional<BracketMatch> match;
    for (int k = 0; k + 1 < rows; ++k) {
        if (minimum(k) <= wages && wages < minimum(k + 1)) match = BracketMatch{k, taxOf(k)};
    }
    if (wages >= minimum(rows - 1)) match = BracketMatch{rows - 1, taxOf(rows - 1)};
    return match;
}

float ExemptionLookup(const ExemptionColumn& single, const ExemptionColumn& married,
                      const EmployeeProfile& profile) {
    const auto row = static_cast<std::size_t>(std::clamp<int>(profile.StateAllowances, 0, 9));
    if (profile.StateStatus == "Single") return single[row];
    if (profile.StateStatus == "Married") return married[row];
    return 0;
}

void StateTableWithholding(const StateTaxSettings& state, const EmployeeProfile& profile,
                           PayResult& r) {
    const BracketTable& table =
        profile.StateStatus == "Single" ? state.SingleBrackets : state.MarriedBrackets;
    const float wages = r.TaxableWages;
    // A bracket's tax is a single, and so is the tax less the allowance.
    float tax = static_cast<float>(r.StateTax);
    if (profile.BiWeeklyPay) {
        r.StateTaxableWages = wages - r.StateExemptionAmount - r.CafeteriaStateDeduction;
        if (const auto match = BracketLookup(r.StateTaxableWages, table, 10, 1)) {
            tax = static_cast<float>(match->tax);
        }
    }
    if (profile.WeeklyPay) {
        r.StateTaxableWages = wages - r.StateExemptionAmount / 2 - r.CafeteriaStateDeduction;
        if (const auto match = BracketLookup(r.StateTaxableWages, table, 10, 2)) {
            tax = static_cast<float>(match->tax);
        }
    }
    r.StateTax = tax - state.CaliforniaAllowance;
}

namespace {

// The subtract of the non-resident line whose range holds the wages; nothing when none does.
std::optional<float> NonResidentSubtract(const std::array<float, 8>& minimum,
                                         const std::array<float, 8>& subtract, float wages) {
    std::optional<float> found;
    for (std::size_t k = 0; k + 1 < minimum.size(); ++k) {
        if (minimum[k] <= wages && wages < minimum[k + 1]) found = subtract[k];
    }
    if (wages >= minimum[7]) found = subtract[7];
    return found;
}

void NonResidentWithholding(const std::array<float, 8>& minimum,
                            const std::array<float, 8>& subtract, float percent, PayResult& r) {
    // A wage below every line keeps the exemption looked up from the city table.
    if (const auto found = NonResidentSubtract(minimum, subtract, r.TaxableWages)) {
        r.CityExemptionAmount = *found;
    }
    r.CityTax = (r.TaxableWages - r.CityExemptionAmount) * percent;
}

}  // namespace

void CityWithholding(const CityTaxSettings& city, const NonResidentTaxSettings& nonResident,
                     const EmployeeProfile& profile, PayResult& r) {
    const BracketTable& table =
        profile.StateStatus == "Single" ? city.SingleBrackets : city.MarriedBrackets;
    if (profile.BiWeeklyPay) {
        if (profile.NonCityResident == 1) {
            NonResidentWithholding(nonResident.BiWeeklyMinimum, nonResident.BiWeeklySubtract,
                                   nonResident.NonResidentPercent, r);
            return;
        }
        r.CityTaxableWages = r.TaxableWages - r.CityExemptionAmount;
        if (const auto match = BracketLookup(r.CityTaxableWages, table, 8, 1)) {
            r.CityTax = match->tax;
        }
    }
    if (profile.WeeklyPay) {
        if (profile.NonCityResident == 1) {
            // The weekly columns are entered as weekly figures: nothing is halved.
            NonResidentWithholding(nonResident.WeeklyMinimum, nonResident.WeeklySubtract,
                                   nonResident.NonResidentPercent, r);
            return;
        }
        r.CityTaxableWages = r.TaxableWages - r.CityExemptionAmount / 2;
        if (const auto match = BracketLookup(r.CityTaxableWages, table, 8, 2)) {
            r.CityTax = match->tax;
        }
    }
}

}  // namespace kestrel

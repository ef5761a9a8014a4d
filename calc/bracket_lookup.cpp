#include "calc/bracket_lookup.h"

#include <algorithm>
#include <string>

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

void TraceBracket(CalcTrace* trace, TraceFigure figure, std::string_view table, float wages,
                  const BracketTable& rows, int divisor, const std::optional<BracketMatch>& match) {
    if (trace == nullptr) return;
    const std::string name(table);
    if (!match) {
        trace->Add(
            figure, "table line", {{"wages", wages}}, 0,
            name + ": wages " + TraceAmount(wages) + " below every line, the tax stays as it was");
        return;
    }
    const BracketRow& row = rows[static_cast<std::size_t>(match->row)];
    const std::string halved = divisor == 1 ? "" : "/" + std::to_string(divisor);
    trace->Add(figure, "table line",
               {{"line", static_cast<double>(match->row + 1)},
                {"wages", wages},
                {"Minimum", row.Minimum},
                {"Percent", row.Percent},
                {"Amount", row.Amount},
                {"divisor", static_cast<double>(divisor)}},
               match->tax,
               name + " line " + std::to_string(match->row + 1) + ": (" + TraceAmount(wages) +
                   " - " + TraceNumber(row.Minimum) + halved + ") x " + TracePercent(row.Percent) +
                   " + " + TraceNumber(row.Amount) + halved + " = " + TraceAmount(match->tax));
}

float ExemptionLookup(const ExemptionColumn& single, const ExemptionColumn& married,
                      const EmployeeProfile& profile) {
    const auto row = static_cast<std::size_t>(std::clamp<int>(profile.StateAllowances, 0, 9));
    if (profile.StateStatus == "Single") return single[row];
    if (profile.StateStatus == "Married") return married[row];
    return 0;
}

void StateTableWithholding(const StateTaxSettings& state, const EmployeeProfile& profile,
                           PayResult& r, CalcTrace* trace) {
    const BracketTable& table =
        profile.StateStatus == "Single" ? state.SingleBrackets : state.MarriedBrackets;
    const std::string_view tableName =
        profile.StateStatus == "Single" ? "Single table" : "Married table";
    const float wages = r.TaxableWages;
    // A bracket's tax is a single, and so is the tax less the allowance.
    float tax = static_cast<float>(r.StateTax);
    const auto lookUp = [&](float exemption, int divisor) {
        r.StateTaxableWages = wages - exemption - r.CafeteriaStateDeduction;
        const auto match = BracketLookup(r.StateTaxableWages, table, 10, divisor);
        if (match) tax = static_cast<float>(match->tax);
        if (trace == nullptr) return;
        trace->Add(
            TraceFigure::StateTax, "taxable wages",
            {{"wages", wages}, {"exemption", exemption}, {"cafeteria", r.CafeteriaStateDeduction}},
            r.StateTaxableWages,
            "wages " + TraceAmount(wages) + " less exemption " + TraceAmount(exemption) +
                (divisor == 1
                     ? ""
                     : " (" + TraceAmount(r.StateExemptionAmount) + " halved for weekly pay)") +
                " less cafeteria " + TraceAmount(r.CafeteriaStateDeduction) + " = " +
                TraceAmount(r.StateTaxableWages));
        TraceBracket(trace, TraceFigure::StateTax, tableName, r.StateTaxableWages, table, divisor,
                     match);
    };
    if (profile.BiWeeklyPay) lookUp(r.StateExemptionAmount, 1);
    if (profile.WeeklyPay) lookUp(r.StateExemptionAmount / 2, 2);
    r.StateTax = tax - state.CaliforniaAllowance;
    if (trace != nullptr && state.CaliforniaAllowance != 0) {
        trace->Add(TraceFigure::StateTax, "California allowance",
                   {{"allowance", state.CaliforniaAllowance}}, r.StateTax,
                   "less the California allowance " + TraceAmount(state.CaliforniaAllowance) +
                       " = " + TraceAmount(r.StateTax));
    }
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
                            const std::array<float, 8>& subtract, float percent, PayResult& r,
                            std::string_view columns, CalcTrace* trace) {
    // A wage below every line keeps the exemption looked up from the city table.
    const auto found = NonResidentSubtract(minimum, subtract, r.TaxableWages);
    if (found) r.CityExemptionAmount = *found;
    r.CityTax = (r.TaxableWages - r.CityExemptionAmount) * percent;
    if (trace != nullptr) {
        trace->Add(
            TraceFigure::CityTax, "non-resident",
            {{"wages", r.TaxableWages}, {"subtract", r.CityExemptionAmount}, {"percent", percent}},
            r.CityTax,
            "non-resident, " + std::string(columns) + " columns: (wages " +
                TraceAmount(r.TaxableWages) + " - " +
                (found ? "subtract " : "the city exemption ") + TraceAmount(r.CityExemptionAmount) +
                ") x " + TraceNumber(percent) + " = " + TraceAmount(r.CityTax));
    }
}

}  // namespace

void CityWithholding(const CityTaxSettings& city, const NonResidentTaxSettings& nonResident,
                     const EmployeeProfile& profile, PayResult& r, CalcTrace* trace) {
    const BracketTable& table =
        profile.StateStatus == "Single" ? city.SingleBrackets : city.MarriedBrackets;
    const std::string_view tableName =
        profile.StateStatus == "Single" ? "Single table" : "Married table";
    const auto lookUp = [&](float exemption, int divisor) {
        r.CityTaxableWages = r.TaxableWages - exemption;
        const auto match = BracketLookup(r.CityTaxableWages, table, 8, divisor);
        if (match) r.CityTax = match->tax;
        if (trace == nullptr) return;
        trace->Add(
            TraceFigure::CityTax, "taxable wages",
            {{"wages", r.TaxableWages}, {"exemption", exemption}}, r.CityTaxableWages,
            "wages " + TraceAmount(r.TaxableWages) + " less exemption " + TraceAmount(exemption) +
                (divisor == 1
                     ? ""
                     : " (" + TraceAmount(r.CityExemptionAmount) + " halved for weekly pay)") +
                " = " + TraceAmount(r.CityTaxableWages));
        TraceBracket(trace, TraceFigure::CityTax, tableName, r.CityTaxableWages, table, divisor,
                     match);
    };
    if (profile.BiWeeklyPay) {
        if (profile.NonCityResident == 1) {
            NonResidentWithholding(nonResident.BiWeeklyMinimum, nonResident.BiWeeklySubtract,
                                   nonResident.NonResidentPercent, r, "bi-weekly", trace);
            return;
        }
        lookUp(r.CityExemptionAmount, 1);
    }
    if (profile.WeeklyPay) {
        if (profile.NonCityResident == 1) {
            // The weekly columns are entered as weekly figures: nothing is halved.
            NonResidentWithholding(nonResident.WeeklyMinimum, nonResident.WeeklySubtract,
                                   nonResident.NonResidentPercent, r, "weekly", trace);
            return;
        }
        lookUp(r.CityExemptionAmount / 2, 2);
    }
}

}  // namespace kestrel

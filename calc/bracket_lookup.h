// Withholding from the tables the user keeps: the generic state table, and the city table or the
// non-resident table. The tables hold bi-weekly figures; weekly pay halves them here.
#pragma once

#include <optional>
#include <string_view>

#include "calc/calc_trace.h"
#include "calc/payroll_records.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

struct BracketMatch {
    int row = 0;  // 0-based line of the table
    double tax = 0;
};

// The line of the first `rows` lines whose range holds `wages`, and its tax
// (wages - Minimum/d) x Percent + Amount/d, with d = 1 for bi-weekly and 2 for weekly figures.
// The last line is open-ended; wages below the first line's minimum match nothing.
std::optional<BracketMatch> BracketLookup(float wages, const BracketTable& table, int rows,
                                          int divisor);

// Records the line a lookup chose (or that none held the wages) under `figure`, as
// "Married table line 3: (419.15 - 250) x 5.25% + 6.50 = 15.38". Nothing without a trace.
void TraceBracket(CalcTrace* trace, TraceFigure figure, std::string_view table, float wages,
                  const BracketTable& rows, int divisor, const std::optional<BracketMatch>& match);

// The state tax from the state tables, less the California allowance (taken whole, weekly
// too). Sets StateTaxableWages and StateTax.
void StateTableWithholding(const StateTaxSettings& state, const EmployeeProfile& profile,
                           PayResult& result, CalcTrace* trace = nullptr);

// The city tax: from the non-resident table for a non-resident, else from the city tables
// (lines 1 to 8 only; line 8 is open-ended). Sets CityTax and CityTaxableWages or
// CityExemptionAmount.
void CityWithholding(const CityTaxSettings& city, const NonResidentTaxSettings& nonResident,
                     const EmployeeProfile& profile, PayResult& result, CalcTrace* trace = nullptr);

// The exemption amount of a table for the state status and allowance count: "Single" takes the
// single column, "Married" the married one; any other status has none. A count outside 0-9
// takes the nearest row.
float ExemptionLookup(const ExemptionColumn& single, const ExemptionColumn& married,
                      const EmployeeProfile& profile);

}  // namespace kestrel

// Social Security, Medicare, SDI and SUI: the payroll taxes of fixed or employee-set rates, with
// their wage bases taken against the year-to-date gross.
#pragma once

#include "calc/calc_trace.h"
#include "platform/numbers.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

inline constexpr double kSocSecRate = 0.062;
inline constexpr double kSocSecWageBase = 90000;
inline constexpr double kMedicareRate = 0.0145;

// Social Security on gross pay less the cafeteria plan. The period that crosses the wage base
// pays only on the part below it; a self-employed person pays double.
float GetSocSec(float grossPay, float cafeteria, Currency ytdGross, bool selfEmployed,
                CalcTrace* trace = nullptr);

float MedicareTax(float grossPay, float cafeteria, bool selfEmployed, CalcTrace* trace = nullptr);

struct SdiSui {
    float sdi = 0;
    float sui = 0;
};

// SDI and SUI: a percentage of gross pay up to a wage base when "Use Base" is set, otherwise the
// wage-base field is a flat amount per period.
SdiSui GetSDI_SUI(const StateTaxSettings& state, float grossPay, Currency ytdGross,
                  CalcTrace* trace = nullptr);

}  // namespace kestrel

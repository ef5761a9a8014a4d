#include "calc/payroll_taxes.h"

namespace kestrel {

float GetSocSec(float grossPay, float cafeteria, Currency ytdGross, bool selfEmployed) {
    const float wages = grossPay - cafeteria;
    // The year-to-date figures are money: sums with them are exact.
    const Currency through = ytdGross + Currency::FromSingle(wages);
    const Currency base = Currency::FromDouble(kSocSecWageBase);
    double tax = 0;
    if (base - through > Currency()) tax = wages * kSocSecRate;
    if (through >= base && ytdGross < base) tax = (base - ytdGross).ToDouble() * kSocSecRate;
    if (tax > 0 && selfEmployed) tax *= 2;
    return static_cast<float>(tax);
}

float MedicareTax(float grossPay, float cafeteria, bool selfEmployed) {
    const float wages = grossPay - cafeteria;
    double tax = wages * kMedicareRate;
    if (selfEmployed) tax *= 2;
    return static_cast<float>(tax);
}

namespace {

// SDI forms its product as rate x 0.01 x gross and SUI as gross x (rate x 0.01); the two were
// always computed that way and differ in the last bit.
float WageBaseTax(bool useBase, float percent, float wageBase, float grossPay, Currency ytdGross,
                  bool grossLast) {
    if (!useBase) return wageBase;
    const double ytd = ytdGross.ToDouble();
    if (ytd >= wageBase) return 0;
    double tax = grossLast ? percent * 0.01 * grossPay : grossPay * (percent * 0.01);
    const Currency withPeriod = ytdGross + Currency::FromSingle(grossPay);
    if (withPeriod.ToDouble() > wageBase) tax = (wageBase - ytd) * percent * 0.01;
    return static_cast<float>(tax);
}

}  // namespace

SdiSui GetSDI_SUI(const StateTaxSettings& state, float grossPay, Currency ytdGross) {
    SdiSui taxes;
    taxes.sdi = WageBaseTax(state.SdiUseBase == 1, state.SdiPercent, state.SdiWageBase, grossPay,
                            ytdGross, true);
    taxes.sui = WageBaseTax(state.SuiUseBase == 1, state.SuiPercent, state.SuiWageBase, grossPay,
                            ytdGross, false);
    return taxes;
}

}  // namespace kestrel

#include "calc/payroll_taxes.h"

namespace kestrel {

float GetSocSec(float grossPay, float cafeteria, Currency ytdGross, bool selfEmployed,
                CalcTrace* trace) {
    const float wages = grossPay - cafeteria;
    // The year-to-date figures are money: sums with them are exact.
    const Currency through = ytdGross + Currency::FromSingle(wages);
    const Currency base = Currency::FromDouble(kSocSecWageBase);
    double tax = 0;
    if (base - through > Currency()) tax = wages * kSocSecRate;
    if (through >= base && ytdGross < base) tax = (base - ytdGross).ToDouble() * kSocSecRate;
    if (trace != nullptr) {
        const std::string test =
            "wages " + TraceAmount(wages) + " (gross " + TraceAmount(grossPay) +
            " less cafeteria " + TraceAmount(cafeteria) + "); year to date " +
            TraceAmount(ytdGross.ToDouble()) + " + wages = " + TraceAmount(through.ToDouble()) +
            " against the wage base " + TraceNumber(kSocSecWageBase);
        std::string how;
        if (base - through > Currency()) {
            how = "under it: " + TracePercent(kSocSecRate) + " of " + TraceAmount(wages);
        } else if (ytdGross < base) {
            how = "crossing it: " + TracePercent(kSocSecRate) + " of the " +
                  TraceAmount((base - ytdGross).ToDouble()) + " left below it";
        } else {
            how = "already past it: nothing";
        }
        trace->Add(TraceFigure::SocSec, "wage base",
                   {{"wages", wages},
                    {"ytdGross", ytdGross.ToDouble()},
                    {"wageBase", kSocSecWageBase},
                    {"rate", kSocSecRate}},
                   static_cast<float>(tax), test + "; " + how + " = " + TraceAmount(tax));
    }
    if (tax > 0 && selfEmployed) {
        tax *= 2;
        if (trace != nullptr) {
            trace->Add(TraceFigure::SocSec, "self-employed", {}, static_cast<float>(tax),
                       "self-employed, both shares: doubled = " + TraceAmount(tax));
        }
    }
    return static_cast<float>(tax);
}

float MedicareTax(float grossPay, float cafeteria, bool selfEmployed, CalcTrace* trace) {
    const float wages = grossPay - cafeteria;
    double tax = wages * kMedicareRate;
    if (selfEmployed) tax *= 2;
    if (trace != nullptr) {
        trace->Add(
            TraceFigure::Medicare, "rate",
            {{"wages", wages}, {"rate", kMedicareRate}, {"selfEmployed", selfEmployed ? 1.0 : 0.0}},
            static_cast<float>(tax),
            TracePercent(kMedicareRate) + " of wages " + TraceAmount(wages) + " (gross " +
                TraceAmount(grossPay) + " less cafeteria " + TraceAmount(cafeteria) + ")" +
                (selfEmployed ? ", doubled for the self-employed" : "") + " = " + TraceAmount(tax));
    }
    return static_cast<float>(tax);
}

namespace {

// SDI forms its product as rate x 0.01 x gross and SUI as gross x (rate x 0.01); the two were
// always computed that way and differ in the last bit.
float WageBaseTax(bool useBase, float percent, float wageBase, float grossPay, Currency ytdGross,
                  bool grossLast, TraceFigure figure, CalcTrace* trace) {
    if (!useBase) {
        if (trace != nullptr) {
            trace->Add(
                figure, "flat", {{"flat", wageBase}}, wageBase,
                "Use Base not set: the flat amount " + TraceAmount(wageBase) + " per period");
        }
        return wageBase;
    }
    const double ytd = ytdGross.ToDouble();
    if (ytd >= wageBase) {
        if (trace != nullptr) {
            trace->Add(figure, "wage base", {{"ytdGross", ytd}, {"wageBase", wageBase}}, 0,
                       "year to date " + TraceAmount(ytd) + " already at the wage base " +
                           TraceNumber(wageBase) + ": nothing");
        }
        return 0;
    }
    double tax = grossLast ? percent * 0.01 * grossPay : grossPay * (percent * 0.01);
    const Currency withPeriod = ytdGross + Currency::FromSingle(grossPay);
    const bool crossing = withPeriod.ToDouble() > wageBase;
    if (crossing) tax = (wageBase - ytd) * percent * 0.01;
    if (trace != nullptr) {
        trace->Add(
            figure, "wage base",
            {{"gross", grossPay}, {"ytdGross", ytd}, {"wageBase", wageBase}, {"percent", percent}},
            static_cast<float>(tax),
            crossing
                ? TraceNumber(percent) + "% of the " + TraceAmount(wageBase - ytd) +
                      " left below the wage base " + TraceNumber(wageBase) + " (year to date " +
                      TraceAmount(ytd) + ") = " + TraceAmount(tax)
                : TraceNumber(percent) + "% of gross " + TraceAmount(grossPay) + " (year to date " +
                      TraceAmount(withPeriod.ToDouble()) + " with it, within the wage base " +
                      TraceNumber(wageBase) + ") = " + TraceAmount(tax));
    }
    return static_cast<float>(tax);
}

}  // namespace

SdiSui GetSDI_SUI(const StateTaxSettings& state, float grossPay, Currency ytdGross,
                  CalcTrace* trace) {
    SdiSui taxes;
    taxes.sdi = WageBaseTax(state.SdiUseBase == 1, state.SdiPercent, state.SdiWageBase, grossPay,
                            ytdGross, true, TraceFigure::Sdi, trace);
    taxes.sui = WageBaseTax(state.SuiUseBase == 1, state.SuiPercent, state.SuiWageBase, grossPay,
                            ytdGross, false, TraceFigure::Sui, trace);
    return taxes;
}

}  // namespace kestrel

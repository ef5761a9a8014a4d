#include "calc/state_formulas.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "calc/bracket_lookup.h"
#include "platform/numbers.h"

namespace kestrel {

namespace {

// Entry number `allowances` of an exemption column. A count outside 0-9 takes the nearest row,
// as the calculation's own exemption lookup does.
float Entry(const ExemptionColumn& column, std::int16_t allowances) {
    return column[static_cast<std::size_t>(std::clamp<int>(allowances, 0, 9))];
}

const BracketTable& TableFor(const StateTaxSettings& state, std::string_view stateStatus) {
    return stateStatus == "Single" ? state.SingleBrackets : state.MarriedBrackets;
}

// The constants of a schedule's upper bands (each the tax of every lower band in full), summed
// step by step in double as the program always did; the sums differ from the rounded decimal
// figures in the last bits.
template <std::size_t N>
constexpr std::array<double, N> Accumulated(const std::array<double, N>& steps) {
    std::array<double, N> sums{};
    double sum = 0;
    for (std::size_t i = 0; i < N; ++i) {
        sum += steps[i];
        sums[i] = sum;
    }
    return sums;
}

// A schedule with M limits: band 1 is x <= limits[0] at rates[0]; the band above limits[k-1] up to
// limits[k] pays rates[k] on the excess plus bases[k-1]; above the last limit the last rate
// applies. Nothing bounds band 1 from below, so negative wages give a negative tax.
template <std::size_t M>
double ScheduleTax(double x, const std::array<double, M>& limits,
                   const std::array<double, M + 1>& rates, const std::array<double, M>& bases) {
    if (x <= limits[0]) return x * rates[0];
    for (std::size_t k = 1; k < M; ++k) {
        if (x <= limits[k]) return (x - limits[k - 1]) * rates[k] + bases[k - 1];
    }
    return (x - limits[M - 1]) * rates[M] + bases[M - 1];
}

constexpr std::array<double, 10> kMissouriRates{0.015, 0.02,  0.025, 0.03,  0.035,
                                                0.04,  0.045, 0.05,  0.055, 0.06};
constexpr std::array<double, 9> kMissouriBiWeeklyLimits{38.5, 77,    115.5, 154,  192.5,
                                                        231,  269.5, 308,   346.5};
constexpr std::array<double, 9> kMissouriWeeklyLimits{20, 40, 60, 80, 100, 120, 140, 160, 180};
constexpr auto kMissouriBiWeeklyBases =
    Accumulated<9>({0.5775, 0.77, 0.9625, 1.155, 1.3475, 1.54, 1.7325, 1.925, 2.1175});
constexpr auto kMissouriWeeklyBases = Accumulated<9>({0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1});

constexpr std::array<double, 9> kIowaRates{0.0036, 0.0072, 0.0243, 0.0486, 0.0653,
                                           0.0698, 0.0752, 0.0842, 0.0898};
constexpr std::array<double, 8> kIowaBiWeeklyLimits{42.31, 82.69,  165.38,  375,
                                                    625,   846.15, 1269.23, 1884.62};
constexpr std::array<double, 8> kIowaWeeklyLimits{21.16, 41.35,  82.69,  187.5,
                                                  312.5, 423.08, 634.62, 942.31};
constexpr auto kIowaBiWeeklyBases = Accumulated<8>(
    {0.152316, 0.290736, 2.009367, 10.187532, 16.325, 15.43627, 31.815616, 51.814996});
constexpr auto kIowaWeeklyBases = Accumulated<8>(
    {0.076176, 0.145368, 1.004805, 5.093766, 8.1625, 7.718484, 15.907808, 25.907498});

// Oklahoma's annual schedules. Band 1 starts above 0, and the top band starts at its limit.
constexpr std::array<double, 9> kOklahomaMarriedLimits{2000,  5000,  7500,  8900, 10400,
                                                       12000, 13250, 15000, 18000};
constexpr std::array<double, 10> kOklahomaMarriedRates{0.005, 0.01, 0.02, 0.03, 0.04,
                                                       0.05,  0.06, 0.07, 0.08, 0.09};
constexpr std::array<double, 9> kOklahomaMarriedBases{10, 40, 90, 132, 192, 272, 347, 469.5, 709.5};
constexpr std::array<double, 10> kOklahomaSingleLimits{1000, 2500, 3750,  4900,  6100,
                                                       7500, 9000, 10500, 12500, 16000};
constexpr std::array<double, 11> kOklahomaSingleRates{0.005, 0.01, 0.02, 0.03, 0.04, 0.05,
                                                      0.06,  0.07, 0.08, 0.09, 0.10};
constexpr std::array<double, 10> kOklahomaSingleBases{5,     20,    45,    79.5,  127.5,
                                                      197.5, 287.5, 392.5, 552.5, 867.5};
constexpr float kOklahomaWageCeiling = 22560;

template <std::size_t M>
double OklahomaSchedule(double t, const std::array<double, M>& limits,
                        const std::array<double, M + 1>& rates,
                        const std::array<double, M>& bases) {
    double tax = 0;
    if (t > 0 && t <= limits[0]) tax = t * rates[0];
    for (std::size_t k = 1; k < M; ++k) {
        if (limits[k - 1] < t && t <= limits[k])
            tax = (t - limits[k - 1]) * rates[k] + bases[k - 1];
    }
    if (t >= limits[M - 1]) tax = (t - limits[M - 1]) * rates[M] + bases[M - 1];
    return tax;
}

struct AlabamaFigures {
    double dependent;  // per allowance
    double deductionCap;
    double personal;
    double lowTop;  // top of the 2 % band
    double midTop;  // top of the 4 % band, where 5 % starts
    double lowTax;  // tax of the full 2 % band
    double midTax;  // tax of the full 4 % band
};

constexpr AlabamaFigures kAlabamaBiWeeklySingle{11.54, 76.92, 57.69, 19.23, 115.38, 0.3846, 3.846};
constexpr AlabamaFigures kAlabamaBiWeeklyMarried{11.54,  153.85, 115.38, 38.46,
                                                 230.77, 0.7692, 7.6924};
constexpr AlabamaFigures kAlabamaWeeklySingle{5.77, 38.46, 28.85, 9.62, 57.69, 0.1924, 1.9232};
constexpr AlabamaFigures kAlabamaWeeklyMarried{5.77, 76.92, 57.69, 19.23, 115.38, 0.3846, 3.846};

// One step of a formula's working, under the state tax.
void Say(CalcTrace* trace, std::string_view step, double value, std::string text) {
    if (trace != nullptr)
        trace->Add(TraceFigure::StateTax, std::string(step), {{"value", value}}, value,
                   std::move(text));
}

void Apply(const StateTaxResult& result, PayResult& r) {
    if (result.taxableWages) r.StateTaxableWages = *result.taxableWages;
    if (result.tax) r.StateTax = *result.tax;
}

}  // namespace

float ArizonaTax(const StateTaxSettings& state, std::string_view federalStatus, float federalTax,
                 CalcTrace* trace) {
    const BracketTable& table =
        federalStatus == "Single" ? state.SingleBrackets : state.MarriedBrackets;
    const float tax = federalTax * table[0].Percent;
    Say(trace, "Arizona", tax,
        "Arizona: federal tax " + TraceNumber(federalTax) + " x line 1's rate " +
            TracePercent(table[0].Percent) + " = " + TraceNumber(tax));
    return tax;
}

double LouisianaTax(const StateTaxSettings& state, float grossPay, bool biWeeklyPay,
                    CalcTrace* trace) {
    const double wages = grossPay;
    const double personal = RoundWholeEven(state.SingleExemptions[0]);
    const double dependents = RoundWholeEven(state.MarriedExemptions[0]);

    const double perPersonal = biWeeklyPay ? 173.08 : 86.54;
    const double perDependent = biWeeklyPay ? 38.46 : 19.23;
    double m1 = biWeeklyPay ? 480.77 : 240.38;
    double m2 = biWeeklyPay ? 961.54 : 480.77;
    // Two personal exemptions (a married couple) double both thresholds, for the wages and for
    // the credit alike.
    if (personal == 2) {
        m1 = biWeeklyPay ? 961.54 : 480.77;
        m2 = biWeeklyPay ? 1923.08 : 961.54;
    }

    const double a1 = wages > 0 ? wages * 0.021 : 0;
    const double a2 = wages > m1 ? (wages - m1) * 0.0135 : 0;
    const double a3 = wages > m2 ? (wages - m2) * 0.0135 : 0;

    // The exemption total has always been held, and compared, in single precision.
    const float exemptions = static_cast<float>(dependents * perDependent + personal * perPersonal);
    const double b1 = exemptions * 0.021;
    const double b2 = exemptions > static_cast<float>(m1) ? (exemptions - m1) * 0.0135 : 0;

    const double tax = (a2 + a1 + a3) - (b2 + b1);
    Say(trace, "Louisiana", tax,
        "Louisiana: " + TraceNumber(personal) + " personal and " + TraceNumber(dependents) +
            " dependent exemptions; tax on wages " + TraceAmount(wages) + " (2.1%, 1.35% above " +
            TraceNumber(m1) + " and above " + TraceNumber(m2) + ") " + TraceNumber(a1 + a2 + a3) +
            " less the credit on exemptions of " + TraceNumber(exemptions) + ", " +
            TraceNumber(b1 + b2) + " = " + TraceNumber(tax) + (tax > 0 ? "" : ", taken as 0"));
    return tax > 0 ? tax : 0;
}

float IowaTax(const StateTaxSettings& state, std::int16_t allowances, float taxableWages,
              float federalTax, float cafeteriaStateDeduction, bool biWeeklyPay, CalcTrace* trace) {
    const double x = static_cast<double>(taxableWages) - federalTax - cafeteriaStateDeduction -
                     Entry(state.SingleExemptions, allowances);
    const double tax = biWeeklyPay
                           ? ScheduleTax(x, kIowaBiWeeklyLimits, kIowaRates, kIowaBiWeeklyBases)
                           : ScheduleTax(x, kIowaWeeklyLimits, kIowaRates, kIowaWeeklyBases);
    Say(trace, "Iowa", x,
        "Iowa: wages " + TraceAmount(taxableWages) + " less federal tax " +
            TraceNumber(federalTax) + ", cafeteria " + TraceAmount(cafeteriaStateDeduction) +
            " and the standard deduction " +
            TraceNumber(Entry(state.SingleExemptions, allowances)) + " = " + TraceNumber(x) +
            "; the schedule's tax " + TraceNumber(tax) + " less the credit " +
            TraceNumber(Entry(state.MarriedExemptions, allowances)));
    return static_cast<float>(tax - Entry(state.MarriedExemptions, allowances));
}

float MissouriTax(const StateTaxSettings& state, std::int16_t allowances, float taxableWages,
                  float federalTax, float cafeteriaStateDeduction, bool weeklyPay, bool biWeeklyPay,
                  CalcTrace* trace) {
    const double yearly = state.SpouseWorks != 0 ? 5000 : 10000;
    // The limit is held in single precision, so the comparison sees the rounded quotient.
    const auto limit = static_cast<float>(yearly / (weeklyPay ? 52 : 26));
    double x = federalTax <= limit
                   ? static_cast<double>(taxableWages) - federalTax - cafeteriaStateDeduction
                   : static_cast<double>(taxableWages) - cafeteriaStateDeduction;
    x = x - Entry(state.SingleExemptions, allowances) - Entry(state.MarriedExemptions, allowances);
    const double tax =
        biWeeklyPay
            ? ScheduleTax(x, kMissouriBiWeeklyLimits, kMissouriRates, kMissouriBiWeeklyBases)
            : ScheduleTax(x, kMissouriWeeklyLimits, kMissouriRates, kMissouriWeeklyBases);
    Say(trace, "Missouri", tax,
        "Missouri: wages " + TraceAmount(taxableWages) +
            (federalTax <= limit
                 ? " less federal tax " + TraceNumber(federalTax)
                 : " (federal tax over the limit " + TraceNumber(limit) + " is not deducted)") +
            ", cafeteria " + TraceAmount(cafeteriaStateDeduction) + ", standard " +
            TraceNumber(Entry(state.SingleExemptions, allowances)) + " and W4 allowance " +
            TraceNumber(Entry(state.MarriedExemptions, allowances)) + " = " + TraceNumber(x) +
            "; the schedule's tax = " + TraceNumber(tax));
    return static_cast<float>(tax);
}

StateTaxResult MassTax(const StateTaxSettings& state, std::int16_t allowances, float grossPay,
                       float socSecTax, float medicareTax, float ytdSocialSecurity,
                       float ytdMedicare, bool weeklyPay, CalcTrace* trace) {
    const float ytdFica = ytdSocialSecurity + ytdMedicare;
    float x = ytdFica <= 2000 ? grossPay - socSecTax - medicareTax : grossPay;
    // The married column whatever the status: the allowance does not depend on it.
    float allowance = Entry(state.MarriedExemptions, allowances);
    if (weeklyPay) allowance = allowance / 2;
    x = x - allowance;
    const float tax = x * state.SingleBrackets[0].Percent;
    Say(trace, "Massachusetts", tax,
        "Massachusetts: gross " + TraceAmount(grossPay) +
            (ytdFica <= 2000 ? " less social security " + TraceNumber(socSecTax) +
                                   " and medicare " + TraceNumber(medicareTax)
                             : " (the year's social security and medicare are past 2000)") +
            " less the allowance " + TraceNumber(allowance) + " = " + TraceNumber(x) + " x " +
            TracePercent(state.SingleBrackets[0].Percent) + " = " + TraceNumber(tax));
    return {static_cast<double>(tax), x};
}

StateTaxResult OregonTax(const StateTaxSettings& state, std::string_view stateStatus,
                         std::int16_t allowances, float grossPay, float federalTax,
                         bool biWeeklyPay, CalcTrace* trace) {
    const int federalLimit = biWeeklyPay ? 135 : 67;
    const float x = federalTax <= static_cast<float>(federalLimit)
                        ? grossPay - federalTax
                        : grossPay - static_cast<float>(federalLimit);
    const bool single = stateStatus == "Single" && allowances < 3;
    const BracketTable& table = single ? state.SingleBrackets : state.MarriedBrackets;
    const float credit =
        Entry(single ? state.SingleExemptions : state.MarriedExemptions, allowances);

    StateTaxResult result;
    result.taxableWages = x;
    const BracketRow& first = table[0];
    const BracketRow& second = table[1];
    const BracketRow& third = table[2];
    if (first.Minimum <= x && x < second.Minimum) result.tax = 0.0;
    if (second.Minimum <= x && x < third.Minimum) {
        result.tax = (x - second.Minimum) * second.Percent + second.Amount - credit;
    }
    if (x >= third.Minimum)
        result.tax = (x - third.Minimum) * third.Percent + third.Amount - credit;
    Say(trace, "Oregon", result.tax.value_or(0),
        "Oregon: gross " + TraceAmount(grossPay) + " less federal tax up to " +
            std::to_string(federalLimit) + " = " + TraceNumber(x) + "; " +
            (single ? "single" : "married") + " line " +
            (x >= third.Minimum    ? "3"
             : x >= second.Minimum ? "2"
                                   : "1") +
            " less the credit " + TraceNumber(credit) + " = " +
            (result.tax ? TraceNumber(*result.tax) : "no line, the tax stays"));
    return result;
}

double OklahomaAnnualTax(std::string_view stateStatus, std::int16_t allowances, bool spouseWorks,
                         float grossPay, bool biWeeklyPay) {
    const int periods = biWeeklyPay ? 26 : 52;
    const bool single = stateStatus == "Single";

    const float annual = grossPay * static_cast<float>(periods);
    const float capped = annual > kOklahomaWageCeiling ? kOklahomaWageCeiling : annual;
    const int oklahomaAllowances = 1000 * allowances;
    const int federalAllowances = 3200 * allowances;

    double standard = 0.15 * annual;
    if (standard < 1000) standard = 1000;
    if (standard > 2000) standard = 2000;

    // An estimate of the year's federal tax, which Oklahoma lets the employee deduct.
    const float federalBase =
        capped - static_cast<float>(single ? 5000 : 10000) - static_cast<float>(federalAllowances);
    const float tenPercentTop = single ? 7300 : 14600;
    const double tenPercentTax = single ? 730 : 1460;
    double federalEstimate = federalBase <= tenPercentTop
                                 ? federalBase * 0.1
                                 : (federalBase - tenPercentTop) * 0.15 + tenPercentTax;
    if (federalEstimate < 0) federalEstimate = 0;

    const double taxable = capped - (oklahomaAllowances + standard + federalEstimate);

    double tax = 0;
    if (single) {
        tax = OklahomaSchedule(taxable, kOklahomaSingleLimits, kOklahomaSingleRates,
                               kOklahomaSingleBases);
    } else if (spouseWorks) {
        tax = OklahomaSchedule(taxable, kOklahomaSingleLimits, kOklahomaSingleRates,
                               kOklahomaSingleBases) *
              1.16;
    } else {
        tax = OklahomaSchedule(taxable, kOklahomaMarriedLimits, kOklahomaMarriedRates,
                               kOklahomaMarriedBases);
    }
    // The schedules stop at the ceiling; every dollar above it pays the top rate.
    if (annual > kOklahomaWageCeiling) tax += (annual - kOklahomaWageCeiling) * 0.0665;
    return tax;
}

double OklahomaTax(std::string_view stateStatus, std::int16_t allowances, bool spouseWorks,
                   float grossPay, bool biWeeklyPay, CalcTrace* trace) {
    const int periods = biWeeklyPay ? 26 : 52;
    const double annual =
        OklahomaAnnualTax(stateStatus, allowances, spouseWorks, grossPay, biWeeklyPay);
    const double tax = RoundWholeEven(annual / periods);
    Say(trace, "Oklahoma", tax,
        "Oklahoma: the year's tax on gross " + TraceAmount(grossPay) + " x " +
            std::to_string(periods) +
            " less allowances, the standard deduction and the federal "
            "estimate is " +
            TraceNumber(annual) + "; / " + std::to_string(periods) +
            " in whole dollars = " + TraceAmount(tax));
    return tax;
}

double AlabamaTax(std::string_view stateStatus, std::int16_t allowances, float grossPay,
                  float federalTax, bool biWeeklyPay, CalcTrace* trace) {
    const bool single = stateStatus == "Single";
    const AlabamaFigures& f = biWeeklyPay
                                  ? (single ? kAlabamaBiWeeklySingle : kAlabamaBiWeeklyMarried)
                                  : (single ? kAlabamaWeeklySingle : kAlabamaWeeklyMarried);
    double standard = grossPay * 0.2;
    if (standard > f.deductionCap) standard = f.deductionCap;
    const double taxable =
        grossPay - (standard + f.personal + federalTax + allowances * f.dependent);
    const double tax = taxable <= f.lowTop   ? taxable * 0.02
                       : taxable <= f.midTop ? (taxable - f.lowTop) * 0.04 + f.lowTax
                                             : (taxable - f.midTop) * 0.05 + f.lowTax + f.midTax;
    Say(trace, "Alabama", tax,
        "Alabama: gross " + TraceAmount(grossPay) + " less standard " + TraceNumber(standard) +
            ", personal " + TraceNumber(f.personal) + ", federal tax " + TraceNumber(federalTax) +
            " and dependents " + TraceNumber(allowances * f.dependent) + " = " +
            TraceNumber(taxable) + "; 2%, 4% above " + TraceNumber(f.lowTop) + ", 5% above " +
            TraceNumber(f.midTop) + " = " + TraceNumber(tax));
    return tax;
}

StateTaxResult KentuckyTax(const StateTaxSettings& state, std::string_view stateStatus,
                           std::int16_t allowances, float grossPay, CalcTrace* trace) {
    const bool single = stateStatus == "Single";
    const BracketTable& table = single ? state.SingleBrackets : state.MarriedBrackets;
    const float credit =
        Entry(single ? state.SingleExemptions : state.MarriedExemptions, allowances);
    // The preset writes the standard deduction into every line's Amount; line 1's is the one read.
    const float x = grossPay - table[0].Amount;

    // Each of the first four lines' Minimum is the top of its band; the fifth band is open.
    float tax = 0;
    if (x <= table[0].Minimum) {
        tax = x * table[0].Percent;
    } else {
        tax = table[0].Minimum * table[0].Percent;
        std::size_t band = 1;
        for (; band < 4 && x > table[band].Minimum; ++band) {
            tax = tax + (table[band].Minimum - table[band - 1].Minimum) * table[band].Percent;
        }
        tax = tax + (x - table[band - 1].Minimum) * table[band].Percent;
    }
    Say(trace, "Kentucky", tax - credit,
        "Kentucky: gross " + TraceAmount(grossPay) + " less the standard deduction " +
            TraceNumber(table[0].Amount) + " = " + TraceNumber(x) + "; the bands' tax " +
            TraceNumber(tax) + " less the credit " + TraceNumber(credit) + " = " +
            TraceNumber(tax - credit));
    return {static_cast<double>(tax - credit), x};
}

StateTaxResult WisconsinTax(const StateTaxSettings& state, std::string_view stateStatus,
                            float taxableWages, float cafeteriaStateDeduction,
                            float stateExemptionAmount, bool weeklyPay, bool biWeeklyPay,
                            double taxBefore, CalcTrace* trace) {
    const BracketTable& table = TableFor(state, stateStatus);
    // Here the California allowance field carries Wisconsin's deduction off the wages.
    const float x = taxableWages - state.CaliforniaAllowance - cafeteriaStateDeduction;
    // A line's tax is a single, and a single less the credit stays one; only a tax left from
    // before (no line matched) keeps its own precision.
    std::optional<float> lineTax;
    // The exemption entries are credits off the tax.
    const float credit = weeklyPay ? stateExemptionAmount / 2 : stateExemptionAmount;
    Say(trace, "Wisconsin", x,
        "Wisconsin: wages " + TraceAmount(taxableWages) + " less the deduction " +
            TraceNumber(state.CaliforniaAllowance) + " and cafeteria " +
            TraceAmount(cafeteriaStateDeduction) + " = " + TraceNumber(x));
    const std::string_view tableName = stateStatus == "Single" ? "Single table" : "Married table";
    if (biWeeklyPay) {
        const auto match = BracketLookup(x, table, 10, 1);
        if (match) lineTax = static_cast<float>(match->tax);
        TraceBracket(trace, TraceFigure::StateTax, tableName, x, table, 1, match);
    }
    if (weeklyPay) {
        const auto match = BracketLookup(x, table, 10, 2);
        if (match) lineTax = static_cast<float>(match->tax);
        TraceBracket(trace, TraceFigure::StateTax, tableName, x, table, 2, match);
    }
    Say(trace, "Wisconsin credit", credit, "less the exemption credit " + TraceNumber(credit));
    if (lineTax) return {static_cast<double>(*lineTax - credit), x};
    return {taxBefore - credit, x};
}

StateTaxResult NorthCarolinaTax(const StateTaxSettings& state, std::string_view stateStatus,
                                float taxableWages, float cafeteriaStateDeduction,
                                float stateExemptionAmount, bool weeklyPay, bool biWeeklyPay,
                                CalcTrace* trace) {
    const BracketTable& table = TableFor(state, stateStatus);
    StateTaxResult result;
    auto taxAt = [&](float x, int divisor) {
        result.taxableWages = x;
        if (const auto match = BracketLookup(x, table, 10, divisor)) {
            const BracketRow& row = table[static_cast<std::size_t>(match->row)];
            result.tax = x * row.Percent - row.Amount / static_cast<float>(divisor);
            Say(trace, "North Carolina", *result.tax,
                "North Carolina: wages less the deduction, exemption and cafeteria = " +
                    TraceNumber(x) + "; line " + std::to_string(match->row + 1) + ": " +
                    TraceNumber(x) + " x " + TracePercent(row.Percent) + " - " +
                    TraceNumber(row.Amount) + (divisor == 1 ? "" : "/2") + " = " +
                    TraceNumber(*result.tax));
        } else {
            Say(trace, "North Carolina", x,
                "North Carolina: wages " + TraceNumber(x) + " below every line");
        }
    };
    if (biWeeklyPay) {
        taxAt(taxableWages - state.CaliforniaAllowance - stateExemptionAmount -
                  cafeteriaStateDeduction,
              1);
    }
    if (weeklyPay) {
        taxAt(taxableWages - state.CaliforniaAllowance - stateExemptionAmount / 2 -
                  cafeteriaStateDeduction,
              2);
    }
    return result;
}

bool SpecialStateWithholding(const StateTaxSettings& state, const EmployeeProfile& profile,
                             float ytdSocialSecurity, float ytdMedicare, PayResult& r,
                             CalcTrace* trace) {
    const EmployeeProfile& p = profile;
    bool wholeDollars = false;
    // What each formula read, named as the explanation names it.
    const auto note = [&](std::string_view formula, std::vector<TraceValue> read) {
        if (trace == nullptr) return;
        std::string text = std::string(formula) + " formula on";
        for (std::size_t i = 0; i < read.size(); ++i) {
            text += (i == 0 ? " " : ", ") + read[i].name + " " + TraceNumber(read[i].value);
        }
        text += ": taxable wages " + TraceAmount(r.StateTaxableWages) + ", tax " +
                TraceAmount(r.StateTax);
        trace->Add(TraceFigure::StateTax, std::string(formula), std::move(read), r.StateTax,
                   std::move(text));
    };
    const TraceValue gross{"gross", r.GrossPay};
    const TraceValue wages{"wages", r.TaxableWages};
    const TraceValue federal{"federal tax", r.FederalTax};
    const TraceValue allowances{"allowances", static_cast<double>(p.StateAllowances)};
    const TraceValue married{"married", p.StateStatus == "Single" ? 0.0 : 1.0};
    const TraceValue cafeteria{"cafeteria", r.CafeteriaStateDeduction};
    if (state.ArizonaFlag != 0) {
        r.StateTax = ArizonaTax(state, p.FederalStatus, r.FederalTax, trace);
        note("Arizona", {federal, {"married", p.FederalStatus == "Single" ? 0.0 : 1.0}});
    }
    if (state.LouisianaFlag != 0) {
        r.StateTax = LouisianaTax(state, r.GrossPay, p.BiWeeklyPay, trace);
        note("Louisiana", {gross});
    }
    if (state.IowaFlag != 0) {
        r.StateTax = IowaTax(state, p.StateAllowances, r.TaxableWages, r.FederalTax,
                             r.CafeteriaStateDeduction, p.BiWeeklyPay, trace);
        note("Iowa", {wages, federal, allowances, cafeteria});
    }
    if (state.MissouriFlag != 0) {
        r.StateTax = MissouriTax(state, p.StateAllowances, r.TaxableWages, r.FederalTax,
                                 r.CafeteriaStateDeduction, p.WeeklyPay, p.BiWeeklyPay, trace);
        wholeDollars = true;
        note("Missouri", {wages, federal, allowances, cafeteria});
    }
    if (state.MassFlag != 0) {
        Apply(MassTax(state, p.StateAllowances, r.GrossPay, r.SocSecTax, r.MedicareTax,
                      ytdSocialSecurity, ytdMedicare, p.WeeklyPay, trace),
              r);
        note("Massachusetts", {gross,
                               allowances,
                               {"social security", r.SocSecTax},
                               {"medicare", r.MedicareTax},
                               {"year's social security", ytdSocialSecurity},
                               {"year's medicare", ytdMedicare}});
    }
    if (state.OregonFlag != 0) {
        Apply(OregonTax(state, p.StateStatus, p.StateAllowances, r.GrossPay, r.FederalTax,
                        p.BiWeeklyPay, trace),
              r);
        note("Oregon", {gross, federal, allowances, married});
    }
    if (state.OklahomaFlag != 0) {
        r.StateTax = OklahomaTax(p.StateStatus, p.StateAllowances, state.SpouseWorks != 0,
                                 r.GrossPay, p.BiWeeklyPay, trace);
        wholeDollars = true;
        note("Oklahoma",
             {gross, allowances, married, {"spouse works", state.SpouseWorks != 0 ? 1.0 : 0.0}});
    }
    if (state.AlabamaFlag != 0) {
        r.StateTax = AlabamaTax(p.StateStatus, p.StateAllowances, r.GrossPay, r.FederalTax,
                                p.BiWeeklyPay, trace);
        wholeDollars = true;
        note("Alabama", {gross, federal, allowances, married});
    }
    if (state.KentuckyFlag != 0) {
        Apply(KentuckyTax(state, p.StateStatus, p.StateAllowances, r.GrossPay, trace), r);
        note("Kentucky", {gross, allowances, married});
    }
    if (state.WisconsinFlag != 0) {
        Apply(WisconsinTax(state, p.StateStatus, r.TaxableWages, r.CafeteriaStateDeduction,
                           r.StateExemptionAmount, p.WeeklyPay, p.BiWeeklyPay, r.StateTax, trace),
              r);
        note("Wisconsin", {wages, cafeteria, {"exemption", r.StateExemptionAmount}, married});
    }
    if (state.NorthCarolinaFlag != 0) {
        Apply(NorthCarolinaTax(state, p.StateStatus, r.TaxableWages, r.CafeteriaStateDeduction,
                               r.StateExemptionAmount, p.WeeklyPay, p.BiWeeklyPay, trace),
              r);
        note("North Carolina", {wages, cafeteria, {"exemption", r.StateExemptionAmount}, married});
    }
    return wholeDollars;
}

}  // namespace kestrel

#include "calc/pay_calculation.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestrel {
namespace {

class PayCalculation : public ::testing::Test {
  protected:
    PayCalculation() {
        const auto loaded = ReadFederalTableFile(testing::DemoFolder() / "Fedtaxx.tax", federal);
        EXPECT_EQ(loaded.status, FederalFileStatus::Loaded);
    }

    PayResult Run(bool oneTimes = true) {
        PayInputs inputs{profile, federal, state, city, nonResident};
        inputs.ytdGross = ytdGross;
        inputs.overtimeOneTimes = oneTimes;
        return ComputePay(inputs, entry);
    }

    EmployeeProfile profile = NewEmployeeProfile();
    PayPeriodEntry entry;
    FederalTables federal;
    // No state or city tables: these tests are about gross pay, federal tax and the deductions.
    StateTaxSettings state;
    CityTaxSettings city;
    NonResidentTaxSettings nonResident;
    Currency ytdGross;
};

TEST_F(PayCalculation, FortyHoursAtTheDefaultRate) {
    entry.StrHrs = 40;
    const PayResult r = Run();
    EXPECT_EQ(r.PayRate, 7.5f);
    EXPECT_EQ(r.RegularPay1, 300.0f);
    EXPECT_EQ(r.GrossPay, 300.0f);
    EXPECT_EQ(r.TaxableWages, 300.0f);
    EXPECT_EQ(r.FederalTaxableWages, 300.0f);
    // Single weekly: 13.70 plus 15 % of the excess over 188.
    EXPECT_EQ(r.FederalTax, 30.5f);
    EXPECT_EQ(r.SocSecTax, 18.6f);
    EXPECT_EQ(r.MedicareTax, 4.35f);
    EXPECT_FLOAT_EQ(static_cast<float>(r.TaxDeduct), 53.45f);
    EXPECT_FLOAT_EQ(r.NetPay, 246.55f);

    const PayDisplay shown = FormatPayResult(r);
    EXPECT_EQ(shown.gross, "$300.00");
    EXPECT_EQ(shown.lines[0], "30.50");
    EXPECT_EQ(shown.lines[1], "18.60");
    EXPECT_EQ(shown.lines[2], "4.35");
    EXPECT_EQ(shown.lines[3], ".00");
    EXPECT_EQ(shown.taxes, "$53.45");
    EXPECT_EQ(shown.deductions, "$.00");
    EXPECT_EQ(shown.net, "$246.55");
    EXPECT_EQ(shown.lines[5], ".00");
    EXPECT_EQ(shown.cafeteria, ".00");
}

TEST_F(PayCalculation, RateOneIsUsedUnlessZero) {
    entry.StrHrs = 10;
    profile.HourlyRate1 = 7.5f;
    EXPECT_EQ(Run().PayRate, 7.5f);
    profile.HourlyRate1 = 12.25f;
    EXPECT_EQ(Run().RegularPay1, 122.5f);
    profile.HourlyRate1 = 0;
    EXPECT_EQ(Run().RegularPay1, 75.0f);
}

TEST_F(PayCalculation, OvertimeAtOneTwoAndOneAndAHalfTimes) {
    profile.HourlyRate1 = 10;
    entry.OtVar = 3;
    entry.OtHrs = 2;
    PayResult r = Run(true);
    EXPECT_EQ(r.TotalOt, 60.0f);  // 3 x 10 + 2 x 1.5 x 10
    EXPECT_EQ(r.GrossPay, 60.0f);
    EXPECT_EQ(entry.OtVar, 3.0f);

    // "(2X)": the hours double in place, so 3 counts 6 hours at the rate.
    r = Run(false);
    EXPECT_EQ(entry.OtVar, 6.0f);
    EXPECT_EQ(r.TotalOt, 90.0f);
    EXPECT_EQ(r.GrossPay, 90.0f);
}

TEST_F(PayCalculation, GrossAddsEveryKindOfPay) {
    profile.HourlyRate1 = 10;
    profile.HourlyRate2 = 20;
    profile.TipsRate = 2;
    entry.StrHrs = 8;                          // 80
    entry.StrHrs2 = 2;                         // 40
    entry.Avas = 8;                            // 80 holiday
    entry.VacDys = 4;                          // 40 vacation
    entry.Addit = Currency::FromRaw(1002500);  // 100.25
    entry.TipsHrs = 5;                         // 10 tips
    const PayResult r = Run();
    EXPECT_EQ(r.RegularPay2, 40.0f);
    EXPECT_EQ(r.TotalTips, 10.0f);
    EXPECT_EQ(r.GrossPay, 350.25f);
    // Tips count in every tax base and come out of net pay, since the employee holds them.
    EXPECT_EQ(r.FederalTaxableWages, 350.25f);
    EXPECT_EQ(r.FederalTax, 38.04f);  // 13.70 + (350.25 - 188) x 0.15 = 38.0375
    EXPECT_EQ(r.SocSecTax, 21.72f);   // 21.7155
    EXPECT_EQ(r.MedicareTax, 5.08f);  // 5.078625
    EXPECT_FLOAT_EQ(r.NetPay, 350.25f - (38.04f + 21.72f + 5.08f) - 10.0f);
}

TEST_F(PayCalculation, GrossPiecesAreTakenToCurrencySeparately) {
    // Each piece is 1.00004 in single precision and 1.0000 in currency: the pieces are rounded
    // to four decimals before they are added, so gross pay is 3, not 3.00012.
    profile.HourlyRate1 = 1.00004f;
    entry.StrHrs = 1;
    entry.OtVar = 1;
    entry.VacDys = 1;
    const PayResult r = Run();
    EXPECT_EQ(r.GrossPay, 3.0f);
    EXPECT_FLOAT_EQ(r.TotalOt, 1.00004f);
}

TEST_F(PayCalculation, KPlanAsPercentOrDollars) {
    entry.StrHrs = 40;
    profile.KPlan = 5;
    profile.KPlanIsPercent = 1;
    PayResult r = Run();
    EXPECT_EQ(r.KPlanAmount, 15.0f);
    EXPECT_EQ(r.TaxableWages, 285.0f);
    EXPECT_EQ(r.FederalTaxableWages, 285.0f);

    // With neither flag set the K plan counts as dollars.
    profile.KPlanIsPercent = 0;
    profile.KPlanIsFixed = 0;
    r = Run();
    EXPECT_EQ(r.KPlanAmount, 5.0f);
    EXPECT_EQ(r.TaxableWages, 295.0f);
    EXPECT_EQ(r.TotDeduct, 5.0f);
}

TEST_F(PayCalculation, PensionAllowancesAndCafeteriaReduceFederalWages) {
    entry.StrHrs = 40;
    profile.Pension = 10;             // 30 of 300
    profile.FederalAllowances = "1";  // 61.54 a week
    profile.Cafeteria = 20;
    const PayResult r = Run();
    EXPECT_EQ(r.PensionAmount, 30.0f);
    EXPECT_EQ(r.TaxableWages, 300.0f);
    EXPECT_FLOAT_EQ(r.FederalTaxableWages, 188.46f);
    EXPECT_EQ(r.FederalTax, 13.77f);  // 13.70 + 0.46 x 0.15 = 13.769
    EXPECT_EQ(r.TotDeduct, 50.0f);
    // The cafeteria plan is not subject to Social Security and Medicare either.
    EXPECT_EQ(r.SocSecTax, 17.36f);
    EXPECT_EQ(r.MedicareTax, 4.06f);
    EXPECT_FLOAT_EQ(r.NetPay, 300.0f - (13.77f + 17.36f + 4.06f) - 50.0f);
}

TEST_F(PayCalculation, BiWeeklyDoublesTheWeeklyAllowance) {
    profile.WeeklyPay = false;
    profile.BiWeeklyPay = true;
    profile.FederalAllowances = "1";
    entry.StrHrs = 80;  // 600
    const PayResult r = Run();
    EXPECT_FLOAT_EQ(r.FederalAllowanceAmount, 123.08f);
    EXPECT_FLOAT_EQ(r.FederalTaxableWages, 476.92f);
    EXPECT_EQ(r.FederalTax, 42.49f);  // 27.50 + (476.92 - 377) x 0.15 = 42.488
}

TEST_F(PayCalculation, MarriedStatusUsesTheMarriedTable) {
    profile.FederalStatus = "Married";
    entry.StrHrs = 40;
    EXPECT_EQ(Run().FederalTax, 14.6f);  // (300 - 154) x 0.10
}

TEST_F(PayCalculation, AdditionalFederalAndExemption) {
    entry.StrHrs = 40;
    profile.AdditionalFederal = 5.555f;
    // 30.50 + 5.555 is added in single precision (36.0550003) before it goes to cents.
    EXPECT_EQ(Run().FederalTax, 36.06f);
    // Exempt withholds nothing, not even the additional amount.
    profile.FederalExempt = 1;
    const PayResult r = Run();
    EXPECT_EQ(r.FederalTax, 0.0f);
    EXPECT_FLOAT_EQ(r.NetPay, 300.0f - 18.6f - 4.35f);
}

TEST_F(PayCalculation, FicaExemptWithholdsNeitherEvenSelfEmployed) {
    entry.StrHrs = 40;
    profile.SelfEmployed = 1;
    PayResult r = Run();
    EXPECT_EQ(r.SocSecTax, 37.2f);
    EXPECT_EQ(r.MedicareTax, 8.7f);
    profile.FicaExempt = 1;
    r = Run();
    EXPECT_EQ(r.SocSecTax, 0.0f);
    EXPECT_EQ(r.MedicareTax, 0.0f);
}

TEST_F(PayCalculation, SocialSecurityStopsAtTheWageBase) {
    entry.StrHrs = 40;
    profile.HourlyRate1 = 25;  // 1000 this week
    ytdGross = Currency::FromDouble(89500);
    EXPECT_EQ(Run().SocSecTax, 31.0f);
    ytdGross = Currency::FromDouble(90000);
    EXPECT_EQ(Run().SocSecTax, 0.0f);
}

TEST_F(PayCalculation, DeductionsRoundHalvesAwayFromZero) {
    entry.StrHrs = 40;
    profile.CreditUnion = 10.125f;  // exactly representable: a true half cent
    profile.Bond = 2.675f;          // stored just below 2.675
    profile.Dues = 1.005f;          // stored just below 1.005
    profile.Misc = -0.125f;
    const PayResult r = Run();
    EXPECT_EQ(r.CreditUnion, 10.13f);
    EXPECT_EQ(r.Bond, 2.67f);
    EXPECT_EQ(r.Dues, 1.0f);
    EXPECT_EQ(r.Misc, -0.13f);
    EXPECT_FLOAT_EQ(r.TotDeduct, 10.13f + 2.67f + 1.0f - 0.13f);
}

TEST_F(PayCalculation, AllEntriesBlankStillTakesTheFixedDeductions) {
    profile.CreditUnion = 10;
    profile.KPlanIsPercent = 0;
    profile.KPlan = 5;
    const PayResult r = Run();
    EXPECT_EQ(r.GrossPay, 0.0f);
    EXPECT_EQ(r.FederalTax, 0.0f);
    EXPECT_EQ(r.NetPay, -15.0f);
    // The K plan makes the taxable wages -5, so the gross figure shows.
    EXPECT_EQ(FormatPayResult(r).gross, "$.00");
    profile.KPlan = 0;
    const PayDisplay shown = FormatPayResult(Run());
    EXPECT_EQ(shown.gross, "");
    EXPECT_EQ(shown.net, "-$10.00");
}

TEST_F(PayCalculation, NegativeEntriesFlowThrough) {
    entry.StrHrs = -4;
    const PayResult r = Run();
    EXPECT_EQ(r.GrossPay, -30.0f);
    EXPECT_EQ(r.FederalTax, 0.0f);
    // Nothing clamps the payroll taxes of a negative period.
    EXPECT_EQ(r.SocSecTax, -1.86f);
    EXPECT_EQ(r.MedicareTax, -0.44f);
    EXPECT_FLOAT_EQ(r.NetPay, -30.0f + 1.86f + 0.44f);
}

TEST_F(PayCalculation, ZeroTablesWithholdNothing) {
    federal.ClearValues();
    entry.StrHrs = 40;
    const PayResult r = Run();
    EXPECT_EQ(r.FederalAllowanceAmount, 0.0f);
    EXPECT_EQ(r.FederalTax, 0.0f);
    EXPECT_FLOAT_EQ(r.NetPay, 300.0f - 18.6f - 4.35f);
}

// Periods whose shown figure sits on a half cent: a chain of singles rounded after every step
// lands on one side, the same chain carried in double on the other. Each figure was worked by
// hand in single precision (round to nearest even after every operation).
struct HalfCentCase {
    const char* what;
    float rate1;
    float straight;
    float straight2;
    float ot15;
    float kplanDollars;
    float pension;
    float cafeteria;
    bool cafeteriaReducesState;
    float dues;
    const char* federalStatus;
    const char* federalAllowances;
    std::size_t line;  // the result line that shows the edge
    const char* shown;
};

void PrintTo(const HalfCentCase& c, std::ostream* out) {
    *out << c.what;
}

class HalfCentEdges : public PayCalculation, public ::testing::WithParamInterface<HalfCentCase> {};

TEST_P(HalfCentEdges, ShowTheFigureOfSinglePrecisionSteps) {
    const HalfCentCase& c = GetParam();
    state = NewYorkStateDefaults();
    profile.HourlyRate1 = c.rate1;
    profile.KPlan = c.kplanDollars;
    profile.KPlanIsPercent = 0;
    profile.KPlanIsFixed = 1;
    profile.Pension = c.pension;
    profile.Cafeteria = c.cafeteria;
    profile.CafeteriaReducesState = c.cafeteriaReducesState ? 1 : 0;
    profile.Dues = c.dues;
    profile.FederalStatus = c.federalStatus;
    profile.FederalAllowances = c.federalAllowances;
    entry.StrHrs = c.straight;
    entry.StrHrs2 = c.straight2;
    entry.OtHrs = c.ot15;
    EXPECT_EQ(FormatPayResult(Run()).lines[c.line], c.shown) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    PayCalculation, HalfCentEdges,
    ::testing::Values(
        // 59.35 x 43.19 = 2563.3264; pension 5 % = 128.16632; five married allowances 307.70.
        // ((2563.3264 - 128.16632) - 307.7) = 2127.4602 in singles (2127.4601 carried in double),
        // so the tax is (2127.4602 - 1273) x 0.25 + 153.80 = 367.41504.
        HalfCentCase{"married, pension", 59.35f, 43.19f, 0, 0, 0, 5, 0, false, 0, "Married", "5", 0,
                     "367.42"},
        // Gross 4064.679, K plan 6, pension 2 %, seven single allowances and the cafeteria plan
        // leave 3538.0447 in singles: 25 % bracket tax 906.12 where double gives 906.13.
        HalfCentCase{"K plan, pension, cafeteria", 59.63f, 56.18f, 27.91f, 7.99f, 6, 2, 8.56f,
                     false, 21.96f, "Single", "7", 0, "906.12"},
        // 42.28 x 52.09 = 2202.3652; less half of 268.30 and the cafeteria plan 22.85 gives
        // 2045.3654; New York's weekly line 7: (2045.3654 - 1923) x 0.0854 + 125.615 = 136.065.
        HalfCentCase{"state wages less cafeteria", 42.28f, 52.09f, 0, 0, 0, 0, 22.85f, true, 0,
                     "Single", "0", 3, "136.07"},
        HalfCentCase{"state wages, rounding down", 40.19f, 47.71f, 0, 0, 0, 0, 4.54f, true, 0,
                     "Single", "0", 3, "114.57"},
        // (2117.0159 - 18.74) in single is 2098.2759; x 0.0145 = 30.425001.
        HalfCentCase{"medicare after the cafeteria plan", 44.55f, 47.52f, 0, 0, 0, 0, 18.74f, false,
                     0, "Single", "0", 2, "30.43"}));

TEST(FormatPayResult, ThousandsAndNegatives) {
    PayResult r;
    r.GrossPay = 1234.5f;
    r.TaxableWages = 1234.5f;
    r.NetPay = 1000.0f;
    r.StateTax = 12.345;
    r.TotalOt = 0.5f;
    const PayDisplay shown = FormatPayResult(r);
    EXPECT_EQ(shown.gross, "$1,234.50");
    EXPECT_EQ(shown.net, "$1,000.00");
    EXPECT_EQ(shown.lines[3], "12.35");
    EXPECT_EQ(shown.overtime, "$.50");
    EXPECT_EQ(shown.tips, "$.00");
}

}  // namespace
}  // namespace kestrel

#include <gtest/gtest.h>

#include <initializer_list>

#include "calc/state_formulas.h"

namespace kestrel {
namespace {

// The given lines first, every other line unused.
BracketTable Lines(std::initializer_list<BracketRow> rows) {
    BracketTable table;
    for (auto& row : table)
        row = {kUnusedMinimum, 0, 0};
    std::size_t k = 0;
    for (const BracketRow& row : rows)
        table[k++] = row;
    return table;
}

// Each column entry the row number times `step`.
ExemptionColumn PerAllowance(float step) {
    ExemptionColumn column{};
    for (std::size_t k = 0; k < column.size(); ++k)
        column[k] = step * static_cast<float>(k);
    return column;
}

constexpr double kCent = 0.00001;  // well below anything that could move a cent

TEST(Arizona, RowOneRateOfTheFederalStatusTimesTheFederalTax) {
    StateTaxSettings state;
    state.SingleBrackets[0].Percent = 0.19f;
    state.MarriedBrackets[0].Percent = 0.1f;
    // 40 x 0.19 = 7.60; the product of two singles is a single.
    EXPECT_EQ(ArizonaTax(state, "Single", 40), 40.0f * 0.19f);
    EXPECT_NEAR(ArizonaTax(state, "Single", 40), 7.60, kCent);
    EXPECT_NEAR(ArizonaTax(state, "Married", 40), 4.00, kCent);
}

TEST(Louisiana, NoExemptionsTaxesEachBandOfTheWages) {
    StateTaxSettings state;  // row 0 of both columns 0: no personal exemption, no dependent
    // 1000 x 0.021 + (1000 - 480.77) x 0.0135 + (1000 - 961.54) x 0.0135
    //   = 21 + 7.009605 + 0.51921 = 28.528815
    EXPECT_NEAR(LouisianaTax(state, 1000, true), 28.528815, kCent);
    // Weekly: 500 x 0.021 + (500 - 240.38) x 0.0135 + (500 - 480.77) x 0.0135
    //   = 10.5 + 3.50487 + 0.259605 = 14.264475
    EXPECT_NEAR(LouisianaTax(state, 500, false), 14.264475, kCent);
}

TEST(Louisiana, TwoPersonalExemptionsRaiseBothThresholdsForWagesAndCredit) {
    StateTaxSettings state;
    state.SingleExemptions[0] = 2;
    state.MarriedExemptions[0] = 6;
    // M1 = 961.54, M2 = 1923.08.
    // Wages: 2500 x 0.021 + (2500 - 961.54) x 0.0135 + (2500 - 1923.08) x 0.0135
    //   = 52.5 + 20.76921 + 7.78842 = 81.05763
    // Credit: E = 6 x 38.46 + 2 x 173.08 = 576.92, below M1, so only 576.92 x 0.021 = 12.11532
    EXPECT_NEAR(LouisianaTax(state, 2500, true), 81.05763 - 12.11532, kCent);
    // The counts are rounded: 2.4 personal exemptions count as 2, 6.4 dependents as 6.
    state.SingleExemptions[0] = 2.4f;
    state.MarriedExemptions[0] = 6.4f;
    EXPECT_NEAR(LouisianaTax(state, 2500, true), 81.05763 - 12.11532, kCent);
}

TEST(Louisiana, CreditsAboveTheTaxGiveZero) {
    StateTaxSettings state;
    state.SingleExemptions[0] = 1;
    // 100 x 0.021 = 2.10 against a credit of 173.08 x 0.021 = 3.63468
    EXPECT_EQ(LouisianaTax(state, 100, true), 0.0);
}

TEST(Alabama, MarriedBiWeeklyInTheFourPercentBand) {
    // Gross 1000: 20 % is 200, capped at 153.85. T = 1000 - (153.85 + 115.38 + 519.23 + 1 x 11.54)
    //   = 200; (200 - 38.46) x 0.04 + 0.7692 = 7.2308
    EXPECT_NEAR(AlabamaTax("Married", 1, 1000, 519.23f, true), 7.2308, kCent);
}

TEST(Alabama, StandardDeductionIsTwentyPercentUpToTheCap) {
    // Single bi-weekly, gross 500: 100 is capped at 76.92. T = 500 - (76.92 + 57.69) = 365.39;
    // (365.39 - 115.38) x 0.05 + 0.3846 + 3.846 = 16.7311
    EXPECT_NEAR(AlabamaTax("Single", 0, 500, 0, true), 16.7311, kCent);
    // Gross 200: 40 stays. T = 200 - (40 + 57.69) = 102.31; (102.31 - 19.23) x 0.04 + 0.3846
    EXPECT_NEAR(AlabamaTax("Single", 0, 200, 0, true), 3.7078, kCent);
    // Weekly single, gross 100: T = 100 - (20 + 28.85) = 51.15; (51.15 - 9.62) x 0.04 + 0.1924
    EXPECT_NEAR(AlabamaTax("Single", 0, 100, 0, false), 1.8536, kCent);
}

TEST(Alabama, NegativeWagesGiveANegativeTax) {
    // Gross 50: T = 50 - (10 + 57.69) = -17.69; x 0.02 = -0.3538, left for the caller's clamp.
    EXPECT_NEAR(AlabamaTax("Single", 0, 50, 0, true), -0.3538, kCent);
}

class IowaMissouri : public ::testing::Test {
  protected:
    IowaMissouri() {
        // Row 2 is the one read; other rows differ so a wrong row shows.
        state.SingleExemptions = PerAllowance(1000);
        state.MarriedExemptions = PerAllowance(1000);
        state.SingleExemptions[2] = 30;
        state.MarriedExemptions[2] = 20;
    }
    StateTaxSettings state;
};

TEST_F(IowaMissouri, IowaWeeklyThirdBandLessTheCredit) {
    // X = 100 - 20 - 0 - 30 = 50; (50 - 41.35) x 0.0243 + (0.076176 + 0.145368) = 0.431739;
    // less the credit of 0.2.
    state.MarriedExemptions[2] = 0.2f;
    EXPECT_NEAR(IowaTax(state, 2, 100, 20, 0, false), 0.431739 - 0.2, kCent);
    // A credit above the tax leaves it negative.
    state.MarriedExemptions[2] = 1;
    EXPECT_NEAR(IowaTax(state, 2, 100, 20, 0, false), 0.431739 - 1, kCent);
}

TEST_F(IowaMissouri, IowaBiWeeklyAccumulatesTheLowerBands) {
    // X = 1000 - 100 - 10 - 30 = 860, in the band from 846.15:
    // (860 - 846.15) x 0.0752 + (0.152316 + 0.290736 + 2.009367 + 10.187532 + 16.325 + 15.43627)
    //   = 1.04152 + 44.401221 = 45.442741; less the credit of 20.
    EXPECT_NEAR(IowaTax(state, 2, 1000, 100, 10, true), 45.442741 - 20, 0.0001);
}

TEST_F(IowaMissouri, MissouriBiWeeklySchedule) {
    state.SpouseWorks = 1;
    // X = 300 - 150 - 0 - 30 - 20 = 100: (100 - 77) x 0.025 + 1.3475 = 1.9225
    EXPECT_NEAR(MissouriTax(state, 2, 300, 150, 0, false, true), 1.9225, kCent);
    // X = 88.5 - 0 - 30 - 20 = 38.5 exactly: band 1, 38.5 x 0.015
    EXPECT_NEAR(MissouriTax(state, 2, 88.5f, 0, 0, false, true), 0.5775, kCent);
    // Weekly schedule: X = 100 - 50 = 50: (50 - 40) x 0.025 + (0.3 + 0.4)
    EXPECT_NEAR(MissouriTax(state, 2, 100, 0, 0, true, false), 0.95, kCent);
}

TEST_F(IowaMissouri, MissouriFederalDeductionLimit) {
    state.SpouseWorks = 1;
    // The limit is 5000 / 26 = 192.31. Federal 250 is above it and is not deducted:
    // X = 300 - 30 - 20 = 250: (250 - 231) x 0.045 + 6.3525 = 7.2075
    EXPECT_NEAR(MissouriTax(state, 2, 300, 250, 0, false, true), 7.2075, kCent);
    // The single-precision limit 192.307693 is itself "not above": X = 300 - 192.307693 - 50
    EXPECT_NEAR(MissouriTax(state, 2, 300, 192.307693f, 0, false, true),
                (57.692307 - 38.5) * 0.02 + 0.5775, kCent);
    // Without a working spouse the limit is 10000 / 26 = 384.62 and 250 is deducted: X = 0.
    state.SpouseWorks = 0;
    EXPECT_NEAR(MissouriTax(state, 2, 300, 250, 0, false, true), 0, kCent);
    // Weekly, spouse working: 5000 / 52 = 96.15. X = 200 - 96 - 50 = 54, or 150 when 97 stays.
    state.SpouseWorks = 1;
    EXPECT_NEAR(MissouriTax(state, 2, 200, 96, 0, true, false), (54 - 40) * 0.025 + 0.7, kCent);
    EXPECT_NEAR(MissouriTax(state, 2, 200, 97, 0, true, false),
                (150 - 140) * 0.05 + (0.3 + 0.4 + 0.5 + 0.6 + 0.7 + 0.8 + 0.9), kCent);
}

TEST(Massachusetts, FicaOfThePeriodComesOffUntilTheYearPasses2000) {
    StateTaxSettings state;
    state.SingleBrackets[0].Percent = 0.053f;
    state.MarriedExemptions = PerAllowance(50);  // 100 for 2 allowances
    state.SingleExemptions = PerAllowance(7);    // never read
    // Year to date exactly 2000: X = 1000 - 62 - 14.5 - 100 = 823.5; x 0.053 = 43.6455
    StateTaxResult r = MassTax(state, 2, 1000, 62, 14.5f, 1850, 150, false);
    EXPECT_EQ(r.taxableWages, 823.5f);
    EXPECT_NEAR(*r.tax, 43.6455, kCent);
    // One cent more: X = 1000 - 100 = 900; x 0.053 = 47.7
    r = MassTax(state, 2, 1000, 62, 14.5f, 1850.01f, 150, false);
    EXPECT_EQ(r.taxableWages, 900.0f);
    EXPECT_NEAR(*r.tax, 47.7, kCent);
    // Weekly halves the allowance: X = 1000 - 50
    EXPECT_EQ(MassTax(state, 2, 1000, 62, 14.5f, 3000, 0, true).taxableWages, 950.0f);
}

class Oregon : public ::testing::Test {
  protected:
    Oregon() {
        // The bi-weekly figures the Oregon preset fills.
        state.SingleBrackets = Lines({{0, 0, 0}, {12, 0, 0.07f}, {309, 21, 0.09f}});
        state.MarriedBrackets = Lines({{0, 0, 0}, {105, 0, 0.07f}, {618, 36, 0.09f}});
        state.SingleExemptions = PerAllowance(5.5f);
        state.MarriedExemptions = PerAllowance(5.5f);
    }
    StateTaxSettings state;
};

TEST_F(Oregon, FederalTaxComesOffUpToTheLimit) {
    // Federal 150 is above 135: X = 1000 - 135 = 865; (865 - 309) x 0.09 + 21 - 5.5 = 65.54
    StateTaxResult r = OregonTax(state, "Single", 1, 1000, 150, true);
    EXPECT_EQ(r.taxableWages, 865.0f);
    EXPECT_NEAR(*r.tax, 65.54, kCent);
    // Federal 100 comes off whole: X = 900; (900 - 309) x 0.09 + 21 - 5.5 = 68.69
    r = OregonTax(state, "Single", 1, 1000, 100, true);
    EXPECT_EQ(r.taxableWages, 900.0f);
    EXPECT_NEAR(*r.tax, 68.69, kCent);
    // Weekly the limit is 67: X = 1000 - 67
    EXPECT_EQ(OregonTax(state, "Single", 1, 1000, 150, false).taxableWages, 933.0f);
}

TEST_F(Oregon, SingleWithThreeAllowancesUsesTheMarriedFigures) {
    state.MarriedExemptions = PerAllowance(6);
    // X = 865; (865 - 618) x 0.09 + 36 - 3 x 6 = 40.23
    EXPECT_NEAR(*OregonTax(state, "Single", 3, 1000, 150, true).tax, 40.23, kCent);
    // Line 2 of the married table: X = 300 - 100 = 200; (200 - 105) x 0.07 + 0 - 18 = -11.35
    EXPECT_NEAR(*OregonTax(state, "Single", 3, 300, 100, true).tax, -11.35, kCent);
}

TEST_F(Oregon, LineOneIsNoTaxAndBelowItNothingIsSet) {
    // X = 110 - 100 = 10, inside line 1.
    EXPECT_EQ(OregonTax(state, "Single", 1, 110, 100, true).tax, 0.0);
    // X = 50 - 135 = -85, below line 1's minimum.
    EXPECT_FALSE(OregonTax(state, "Single", 1, 50, 150, true).tax.has_value());
}

TEST(Kentucky, CumulativeBandsLessTheCredit) {
    StateTaxSettings state;
    // The bi-weekly figures of the Kentucky preset.
    state.SingleBrackets = Lines({{115.38f, 73.46f, 0.02f},
                                  {153.84f, 73.46f, 0.03f},
                                  {192.3f, 73.46f, 0.04f},
                                  {307.69f, 73.46f, 0.05f},
                                  {615.37f, 73.46f, 0.06f}});
    state.SingleExemptions = PerAllowance(0.77f);
    // X = 273.46 - 73.46 = 200:
    // 115.38 x 0.02 + 38.46 x 0.03 + 38.46 x 0.04 + 7.7 x 0.05 - 2 x 0.77
    //   = 2.3076 + 1.1538 + 1.5384 + 0.385 - 1.54 = 3.8448
    StateTaxResult r = KentuckyTax(state, "Single", 2, 273.46f);
    EXPECT_NEAR(*r.taxableWages, 200, 0.0001);
    EXPECT_NEAR(*r.tax, 3.8448, 0.0001);
    // Band 1: X = 100, 100 x 0.02
    EXPECT_NEAR(*KentuckyTax(state, "Single", 0, 173.46f).tax, 2.0, 0.0001);
    // Band 5: X = 500: 2.3076 + 1.1538 + 1.5384 + 115.39 x 0.05 + 192.31 x 0.06 = 22.3079
    EXPECT_NEAR(*KentuckyTax(state, "Single", 0, 573.46f).tax, 22.3079, 0.0001);
}

// Ten used lines 100 apart: line k+1 starts at 100k, adds k and charges (k+1) %.
BracketTable TenLines() {
    BracketTable table;
    for (std::size_t k = 0; k < table.size(); ++k) {
        const auto f = static_cast<float>(k);
        table[k] = {100 * f, f, (f + 1) / 100};
    }
    return table;
}

TEST(WisconsinNorthCarolina, WagesBetweenLinesNineAndTenFallInLineNine) {
    StateTaxSettings state;
    state.SingleBrackets = TenLines();
    // Wisconsin: (850 - 800) x 0.09 + 8 = 12.5
    EXPECT_NEAR(*WisconsinTax(state, "Single", 850, 0, 0, false, true, 0).tax, 12.5, kCent);
    // North Carolina: 850 x 0.09 - 8 = 68.5
    EXPECT_NEAR(*NorthCarolinaTax(state, "Single", 850, 0, 0, false, true).tax, 68.5, kCent);
    // At 900 line 10 applies: 0 x 0.1 + 9, and 900 x 0.1 - 9.
    EXPECT_NEAR(*WisconsinTax(state, "Single", 900, 0, 0, false, true, 0).tax, 9, kCent);
    EXPECT_NEAR(*NorthCarolinaTax(state, "Single", 900, 0, 0, false, true).tax, 81, kCent);
}

TEST(WisconsinNorthCarolina, WisconsinDeductsTheAllowanceAndCreditsTheExemption) {
    StateTaxSettings state;
    // Lines 5 and 6 of the Wisconsin preset's single table.
    state.SingleBrackets = Lines(
        {{0, 0, 0}, {716.5f, 32.15f, 0.0728f}, {1690.5f, 103.08f, 0.065f}, {4428.46f, 281.04f, 0}});
    // Bi-weekly: X = 1000; (1000 - 716.5) x 0.0728 + 32.15 - 1.7 = 51.0888
    StateTaxResult r = WisconsinTax(state, "Single", 1000, 0, 1.7f, false, true, 0);
    EXPECT_EQ(r.taxableWages, 1000.0f);
    EXPECT_NEAR(*r.tax, 51.0888, kCent);
    // Weekly: the allowance of 100 is taken whole, minimums, amounts and credit are halved:
    // X = 900; (900 - 845.25) x 0.065 + 51.54 - 0.85 = 54.24875
    state.CaliforniaAllowance = 100;
    r = WisconsinTax(state, "Single", 1000, 0, 1.7f, true, false, 0);
    EXPECT_EQ(r.taxableWages, 900.0f);
    EXPECT_NEAR(*r.tax, 54.24875, kCent);
}

TEST(WisconsinNorthCarolina, NorthCarolinaSubtractsTheAmount) {
    StateTaxSettings state;
    // Lines 1 to 4 of the North Carolina preset's single table.
    state.SingleBrackets = Lines({{0, 0, 0},
                                  {115.38f, 6.92f, 0.06f},
                                  {605.77f, 12.98f, 0.07f},
                                  {2423.08f, 31.15f, 0.0775f}});
    // Bi-weekly: X = 1000 - 0 - 96.15 - 0 = 903.85; 903.85 x 0.07 - 12.98 = 50.2895
    StateTaxResult r = NorthCarolinaTax(state, "Single", 1000, 0, 96.15f, false, true);
    EXPECT_NEAR(*r.taxableWages, 903.85, 0.0001);
    EXPECT_NEAR(*r.tax, 50.2895, 0.0001);
    // Weekly: X = 1000 - 20 - 96.15 / 2 - 10 = 921.925, line 3 from 302.885:
    // 921.925 x 0.07 - 6.49 = 58.04475
    state.CaliforniaAllowance = 20;
    r = NorthCarolinaTax(state, "Single", 1000, 10, 96.15f, true, false);
    EXPECT_NEAR(*r.taxableWages, 921.925, 0.0001);
    EXPECT_NEAR(*r.tax, 58.04475, 0.0001);
    // Wages below line 1 set no tax.
    EXPECT_FALSE(NorthCarolinaTax(state, "Single", 50, 0, 96.15f, false, true).tax.has_value());
}

TEST(Oklahoma, WeeklySingleWorkedThrough) {
    // A = 15600, SD = 2000, FB = 10600, FE = 730 + 3300 x 0.15 = 1225, T = 12375:
    // (12375 - 10500) x 0.08 + 392.5 = 542.5 a year; 542.5 / 52 = 10.43
    EXPECT_NEAR(OklahomaAnnualTax("Single", 0, false, 300, false), 542.5, 1e-9);
    EXPECT_EQ(OklahomaTax("Single", 0, false, 300, false), 10.0);
}

TEST(Oklahoma, WagesAboveTheCeilingPayTheTopRateOnTheExcess) {
    // Bi-weekly 1000: A = 26000, C = 22560, SD = 2000, FB = 17560,
    // FE = (17560 - 7300) x 0.15 + 730 = 2269, T = 18291:
    // (18291 - 16000) x 0.10 + 867.5 = 1096.6, plus 3440 x 0.0665 = 228.76: 1325.36 a year;
    // 1325.36 / 26 = 50.98
    EXPECT_NEAR(OklahomaAnnualTax("Single", 0, false, 1000, true), 1325.36, 1e-9);
    EXPECT_EQ(OklahomaTax("Single", 0, false, 1000, true), 51.0);
    // Married: FB = 12560, FE = 1256, T = 19304: (19304 - 18000) x 0.09 + 709.5 = 826.86,
    // plus 228.76: 1055.62 a year; / 26 = 40.60
    EXPECT_NEAR(OklahomaAnnualTax("Married", 0, false, 1000, true), 1055.62, 1e-9);
    EXPECT_EQ(OklahomaTax("Married", 0, false, 1000, true), 41.0);
}

TEST(Oklahoma, MarriedWithAWorkingSpouseUsesTheSingleScheduleTimes116) {
    // Bi-weekly 250 with 5 allowances: A = 6500, SD = 1000 (975 raised), FB below 0 so FE = 0,
    // T = 6500 - (5000 + 1000) = 500: 500 x 0.005 = 2.5, x 1.16 = 2.9
    EXPECT_NEAR(OklahomaAnnualTax("Married", 5, true, 250, true), 2.9, 1e-9);
    EXPECT_NEAR(OklahomaAnnualTax("Married", 5, false, 250, true), 2.5, 1e-9);
    // Low wages: weekly 10, A = 520, T = 520 - 1000 < 0.
    EXPECT_EQ(OklahomaAnnualTax("Single", 0, false, 10, false), 0.0);
}

class Dispatch : public ::testing::Test {
  protected:
    Dispatch() {
        profile.FederalStatus = "Single";
        profile.StateStatus = "Single";
        profile.BiWeeklyPay = true;
        state.SingleBrackets = Lines({{0, 0, 0.1f}});
        state.MarriedBrackets = state.SingleBrackets;
        r.GrossPay = 1000;
        r.TaxableWages = 1000;
        r.FederalTax = 150;
    }
    StateTaxSettings state;
    EmployeeProfile profile;
    PayResult r;
};

TEST_F(Dispatch, TheLaterStateOverwritesTheEarlier) {
    state.ArizonaFlag = 1;
    state.MassFlag = 1;
    EXPECT_FALSE(SpecialStateWithholding(state, profile, 3000, 0, r));
    // Massachusetts runs after Arizona: (1000 - 0) x 0.1, not 150 x 0.1.
    EXPECT_NEAR(r.StateTax, 100, kCent);
    EXPECT_EQ(r.StateTaxableWages, 1000.0f);
}

TEST_F(Dispatch, ARoutineWithoutAMatchingLineLeavesTheEarlierTax) {
    state.ArizonaFlag = 1;
    state.OregonFlag = 1;
    state.SingleBrackets[0].Minimum = 2000;  // Oregon's X = 865 lies below every line
    SpecialStateWithholding(state, profile, 0, 0, r);
    EXPECT_NEAR(r.StateTax, 15, kCent);  // Arizona's 150 x 0.1
    EXPECT_EQ(r.StateTaxableWages, 865.0f);
    // Wisconsin, with no line either, takes its credit off that tax.
    state.OregonFlag = 0;
    state.WisconsinFlag = 1;
    r.StateExemptionAmount = 2;
    SpecialStateWithholding(state, profile, 0, 0, r);
    EXPECT_NEAR(r.StateTax, 13, kCent);
}

TEST_F(Dispatch, AlabamaMissouriAndOklahomaForceWholeDollars) {
    CheckFlag StateTaxSettings::*const flags[] = {
        &StateTaxSettings::ArizonaFlag,      &StateTaxSettings::LouisianaFlag,
        &StateTaxSettings::IowaFlag,         &StateTaxSettings::MissouriFlag,
        &StateTaxSettings::MassFlag,         &StateTaxSettings::OregonFlag,
        &StateTaxSettings::OklahomaFlag,     &StateTaxSettings::AlabamaFlag,
        &StateTaxSettings::KentuckyFlag,     &StateTaxSettings::WisconsinFlag,
        &StateTaxSettings::NorthCarolinaFlag};
    for (const auto flag : flags) {
        StateTaxSettings one = state;
        one.*flag = 1;
        const bool forced = flag == &StateTaxSettings::AlabamaFlag ||
                            flag == &StateTaxSettings::MissouriFlag ||
                            flag == &StateTaxSettings::OklahomaFlag;
        EXPECT_EQ(SpecialStateWithholding(one, profile, 0, 0, r), forced);
    }
    // With no state chosen nothing runs.
    r.StateTax = 7;
    EXPECT_FALSE(SpecialStateWithholding(state, profile, 0, 0, r));
    EXPECT_EQ(r.StateTax, 7.0);
}

}  // namespace
}  // namespace kestrel

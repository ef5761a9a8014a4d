#include <gtest/gtest.h>

#include "calc/bracket_lookup.h"

namespace kestrel {
namespace {

// Lines 1 to 3 at the given minimums, the rest unused.
BracketTable ThreeLines(float m1, float m2, float m3) {
    BracketTable table;
    for (auto& row : table)
        row = {kUnusedMinimum, 0, 0};
    table[0] = {m1, 0, 0.01f};
    table[1] = {m2, 10, 0.02f};
    table[2] = {m3, 20, 0.03f};
    return table;
}

TEST(BracketLookup, EachLineHoldsItsMinimumUpToTheNextOne) {
    const BracketTable table = ThreeLines(0, 100, 300);
    EXPECT_EQ(BracketLookup(100, table, 10, 1)->row, 1);
    EXPECT_EQ(BracketLookup(99.99f, table, 10, 1)->row, 0);
    EXPECT_EQ(BracketLookup(300, table, 10, 1)->row, 2);
    EXPECT_EQ(BracketLookup(5000, table, 10, 1)->row, 2);
    // (150 - 100) x 0.02 + 10
    EXPECT_FLOAT_EQ(static_cast<float>(BracketLookup(150, table, 10, 1)->tax), 11.0f);
    // Below the first minimum nothing matches.
    EXPECT_FALSE(BracketLookup(-0.01f, table, 10, 1).has_value());
}

TEST(BracketLookup, WeeklyHalvesMinimumsAndAmounts) {
    const BracketTable table = ThreeLines(0, 301, 1000);
    EXPECT_EQ(BracketLookup(150.5f, table, 10, 2)->row, 1);
    EXPECT_EQ(BracketLookup(150.49f, table, 10, 2)->row, 0);
    // (200 - 150.5) x 0.02 + 10 / 2
    EXPECT_FLOAT_EQ(static_cast<float>(BracketLookup(200, table, 10, 2)->tax), 5.99f);
}

TEST(BracketLookup, TheLastLineReadIsOpenEnded) {
    BracketTable table;
    for (int k = 0; k < 10; ++k) {
        table[static_cast<std::size_t>(k)] = {100.0f * static_cast<float>(k), static_cast<float>(k),
                                              0.01f};
    }
    // Reading 8 lines: wages in line 9's range still fall in line 8.
    EXPECT_EQ(BracketLookup(850, table, 8, 1)->row, 7);
    EXPECT_EQ(BracketLookup(850, table, 10, 1)->row, 8);
}

class TableWithholding : public ::testing::Test {
  protected:
    TableWithholding() {
        profile.StateStatus = "Single";
        profile.WeeklyPay = false;
        profile.BiWeeklyPay = true;
        state.SingleBrackets = ThreeLines(0, 100, 300);
        state.MarriedBrackets = ThreeLines(0, 200, 600);
        for (auto& row : city.SingleBrackets)
            row = {kUnusedMinimum, 0, 0};
        city.SingleBrackets[0] = {0, 0, 0.02f};
        city.MarriedBrackets = city.SingleBrackets;
    }
    EmployeeProfile profile = NewEmployeeProfile();
    StateTaxSettings state;
    CityTaxSettings city;
    NonResidentTaxSettings nonResident;
    PayResult r;
};

TEST_F(TableWithholding, StateBiWeeklyTakesExemptionAndCafeteria) {
    r.TaxableWages = 500;
    r.StateExemptionAmount = 100;
    r.CafeteriaStateDeduction = 50;
    StateTableWithholding(state, profile, r);
    EXPECT_EQ(r.StateTaxableWages, 350.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(r.StateTax), 21.5f);  // (350 - 300) x 0.03 + 20
    profile.StateStatus = "Married";
    StateTableWithholding(state, profile, r);
    EXPECT_FLOAT_EQ(static_cast<float>(r.StateTax), 13.0f);  // (350 - 200) x 0.02 + 10
}

TEST_F(TableWithholding, StateWeeklyHalvesTheExemptionButNotTheCaliforniaAllowance) {
    profile.WeeklyPay = true;
    profile.BiWeeklyPay = false;
    state.CaliforniaAllowance = 1.5f;
    r.TaxableWages = 250;
    r.StateExemptionAmount = 100;
    StateTableWithholding(state, profile, r);
    EXPECT_EQ(r.StateTaxableWages, 200.0f);
    // Line 3 starts at 150 a week: (200 - 150) x 0.03 + 20 / 2, less the whole 1.50.
    EXPECT_FLOAT_EQ(static_cast<float>(r.StateTax), 10.0f);
}

TEST_F(TableWithholding, ExemptionAboveTheWagesMatchesNoLine) {
    r.TaxableWages = 50;
    r.StateExemptionAmount = 100;
    state.CaliforniaAllowance = 2;
    StateTableWithholding(state, profile, r);
    EXPECT_EQ(r.StateTaxableWages, -50.0f);
    EXPECT_EQ(r.StateTax, -2.0);  // the calculation clamps it to 0 afterwards
}

TEST_F(TableWithholding, CityTablesLessTheCityExemption) {
    r.TaxableWages = 400;
    r.CityExemptionAmount = 100;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_EQ(r.CityTaxableWages, 300.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(r.CityTax), 6.0f);
    profile.WeeklyPay = true;
    profile.BiWeeklyPay = false;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_EQ(r.CityTaxableWages, 350.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(r.CityTax), 7.0f);
}

TEST_F(TableWithholding, NonResidentBiWeeklyFindsTheSubtract) {
    nonResident.BiWeeklyMinimum = {
        0, 145, 385, 769, 1154, kUnusedMinimum, kUnusedMinimum, kUnusedMinimum};
    nonResident.BiWeeklySubtract = {0, 115, 77, 38, 0, 0, 0, 0};
    nonResident.NonResidentPercent = 0.0045f;
    profile.NonCityResident = 1;
    r.TaxableWages = 300;
    r.CityExemptionAmount = 50;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_EQ(r.CityExemptionAmount, 115.0f);
    EXPECT_NEAR(r.CityTax, 185 * 0.0045, 1e-6);
}

TEST_F(TableWithholding, NonResidentWeeklyIsTakenAsEnteredAndNotClamped) {
    nonResident.WeeklyMinimum = {
        0, 78, 192, 385, 577, kUnusedMinimum, kUnusedMinimum, kUnusedMinimum};
    nonResident.WeeklySubtract = {0, 58, 38, 19, 0, 0, 0, 0};
    nonResident.BiWeeklyMinimum = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    nonResident.NonResidentPercent = 0.0045f;
    profile.NonCityResident = 1;
    profile.WeeklyPay = true;
    profile.BiWeeklyPay = false;
    r.TaxableWages = 100;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_EQ(r.CityExemptionAmount, 58.0f);
    EXPECT_NEAR(r.CityTax, 42 * 0.0045, 1e-6);
    // A subtract larger than the wages gives a negative tax.
    nonResident.WeeklySubtract[1] = 150;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_LT(r.CityTax, 0);
}

TEST_F(TableWithholding, NonResidentBelowEveryLineKeepsTheCityExemption) {
    nonResident.BiWeeklyMinimum = {100, 200, 300, 400, 500, 600, 700, 800};
    nonResident.NonResidentPercent = 0.01f;
    profile.NonCityResident = 1;
    r.TaxableWages = 50;
    r.CityExemptionAmount = 20;
    CityWithholding(city, nonResident, profile, r);
    EXPECT_EQ(r.CityExemptionAmount, 20.0f);
    EXPECT_NEAR(r.CityTax, 0.3, 1e-6);
}

TEST(ExemptionLookup, ByStatusAndCount) {
    ExemptionColumn single{};
    ExemptionColumn married{};
    for (std::size_t k = 0; k < 10; ++k) {
        single[k] = static_cast<float>(k);
        married[k] = 100.0f + static_cast<float>(k);
    }
    EmployeeProfile p;
    p.StateStatus = "Single";
    p.StateAllowances = 3;
    EXPECT_EQ(ExemptionLookup(single, married, p), 3.0f);
    p.StateStatus = "Married";
    EXPECT_EQ(ExemptionLookup(single, married, p), 103.0f);
    p.StateAllowances = 12;
    EXPECT_EQ(ExemptionLookup(single, married, p), 109.0f);
    p.StateStatus = "Head";
    EXPECT_EQ(ExemptionLookup(single, married, p), 0.0f);
}

}  // namespace
}  // namespace kestrel

#include "calc/payroll_taxes.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

Currency Dollars(double amount) {
    return Currency::FromDouble(amount);
}

struct SocSecCase {
    const char* name;
    double ytd;
    float gross;
    float cafeteria;
    bool selfEmployed;
    float tax;
};

class SocialSecurity : public ::testing::TestWithParam<SocSecCase> {};

TEST_P(SocialSecurity, AgainstTheWageBase) {
    const auto& c = GetParam();
    EXPECT_FLOAT_EQ(GetSocSec(c.gross, c.cafeteria, Dollars(c.ytd), c.selfEmployed), c.tax);
}

INSTANTIATE_TEST_SUITE_P(
    WageBase, SocialSecurity,
    ::testing::Values(SocSecCase{"WellBelow", 0, 1000, 0, false, 62},
                      SocSecCase{"ReachesTheBaseExactly", 89000, 1000, 0, false, 62},
                      SocSecCase{"CrossesTheBase", 89500, 1000, 0, false, 31},
                      SocSecCase{"AtTheBase", 90000, 1000, 0, false, 0},
                      SocSecCase{"AboveTheBase", 120000, 1000, 0, false, 0},
                      SocSecCase{"CafeteriaIsNotSubject", 0, 1000, 200, false, 49.6f},
                      SocSecCase{"CafeteriaAboveGross", 0, 100, 300, false, -12.4f},
                      SocSecCase{"SelfEmployedDoubles", 89500, 1000, 0, true, 62},
                      SocSecCase{"SelfEmployedZeroStaysZero", 95000, 1000, 0, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Medicare, NoWageBase) {
    EXPECT_FLOAT_EQ(MedicareTax(1000, 0, false), 14.5f);
    EXPECT_FLOAT_EQ(MedicareTax(1000, 200, false), 11.6f);
    EXPECT_FLOAT_EQ(MedicareTax(1000, 0, true), 29.0f);
    EXPECT_FLOAT_EQ(MedicareTax(100, 300, false), -2.9f);
}

TEST(SdiSui, FlatAmountWithoutUseBase) {
    StateTaxSettings state;
    state.SdiWageBase = 12;
    state.SdiPercent = 5;  // not used
    state.SuiWageBase = 3.5f;
    const SdiSui taxes = GetSDI_SUI(state, 0, Dollars(0));
    EXPECT_EQ(taxes.sdi, 12.0f);
    EXPECT_EQ(taxes.sui, 3.5f);
}

TEST(SdiSui, PercentUpToTheWageBase) {
    StateTaxSettings state;
    state.SdiUseBase = 1;
    state.SdiPercent = 1;
    state.SdiWageBase = 79400;
    state.SuiUseBase = 1;
    state.SuiPercent = 0.9f;
    state.SuiWageBase = 8000;
    // Below both bases.
    SdiSui taxes = GetSDI_SUI(state, 1000, Dollars(5000));
    EXPECT_FLOAT_EQ(taxes.sdi, 10.0f);
    EXPECT_FLOAT_EQ(taxes.sui, 9.0f);
    // The period crossing the SDI base pays on the rest only; SUI's base is passed already.
    taxes = GetSDI_SUI(state, 1000, Dollars(79000));
    EXPECT_FLOAT_EQ(taxes.sdi, 4.0f);
    EXPECT_EQ(taxes.sui, 0.0f);
    // At the base nothing more is due.
    taxes = GetSDI_SUI(state, 1000, Dollars(79400));
    EXPECT_EQ(taxes.sdi, 0.0f);
}

}  // namespace
}  // namespace kestrel

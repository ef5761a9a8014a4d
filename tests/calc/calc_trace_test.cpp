// The working the calculation records, and net to gross, over random employees and periods of
// every special state and both frequencies.
#include "calc/calc_trace.h"

#include <gtest/gtest.h>

#include <random>

#include "calc/net_to_gross.h"
#include "calc/pay_calculation.h"
#include "settings/state_presets.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

constexpr std::array<CheckFlag StateTaxSettings::*, 12> kStates{
    nullptr,
    &StateTaxSettings::ArizonaFlag,
    &StateTaxSettings::LouisianaFlag,
    &StateTaxSettings::IowaFlag,
    &StateTaxSettings::MissouriFlag,
    &StateTaxSettings::MassFlag,
    &StateTaxSettings::OregonFlag,
    &StateTaxSettings::OklahomaFlag,
    &StateTaxSettings::AlabamaFlag,
    &StateTaxSettings::KentuckyFlag,
    &StateTaxSettings::WisconsinFlag,
    &StateTaxSettings::NorthCarolinaFlag};

// One random employee and period of a state (0: the tables) and frequency.
struct Case {
    EmployeeProfile profile = NewEmployeeProfile();
    StateTaxSettings state;
    CityTaxSettings city = NewYorkCityDefaults();
    NonResidentTaxSettings nonResident = NonResidentDefaults();
    PayPeriodEntry entry;
    Currency ytdGross;
    bool oneTimes = true;

    Case(std::mt19937& random, std::size_t stateIndex, bool weekly) {
        const auto pick = [&](double low, double high) {
            return static_cast<float>(
                std::round(std::uniform_real_distribution<double>(low, high)(random) * 100) / 100);
        };
        const auto chance = [&](int percent) {
            return std::uniform_int_distribution<int>(0, 99)(random) < percent;
        };
        EmployeeProfile& p = profile;
        p.WeeklyPay = weekly;
        p.BiWeeklyPay = !weekly;
        p.HourlyRate1 = chance(90) ? pick(7, 60) : 0;
        p.HourlyRate2 = pick(0, 40);
        p.TipsRate = chance(20) ? pick(1, 5) : 0;
        p.FederalStatus = chance(50) ? "Single" : "Married";
        p.StateStatus = chance(50) ? "Single" : "Married";
        p.FederalAllowances = std::to_string(random() % 10);
        p.StateAllowances = static_cast<std::int16_t>(random() % 10);
        p.AdditionalFederal = chance(20) ? pick(0, 50) : 0;
        p.FederalExempt = chance(5) ? 1 : 0;
        p.FicaExempt = chance(5) ? 1 : 0;
        p.SelfEmployed = chance(5) ? 1 : 0;
        p.NonCityResident = chance(30) ? 1 : 0;
        p.CreditUnion = pick(0, 40);
        p.Dues = pick(0, 15);
        p.Pension = chance(30) ? pick(0, 6) : 0;
        p.KPlanIsPercent = chance(50) ? 1 : 0;
        p.KPlanIsFixed = 1 - p.KPlanIsPercent;
        p.KPlan = p.KPlanIsPercent == 1 ? pick(0, 8) : pick(0, 60);
        p.Cafeteria = chance(30) ? pick(0, 80) : 0;
        p.CafeteriaReducesState = chance(50) ? 1 : 0;
        StateTaxSettings stored = NewYorkStateDefaults();
        if (kStates[stateIndex] != nullptr) stored.*kStates[stateIndex] = 1;
        stored.SdiUseBase = chance(50) ? 1 : 0;
        stored.SdiPercent = pick(0, 1.5);
        stored.SdiWageBase = stored.SdiUseBase == 1 ? pick(7000, 90000) : pick(0, 5);
        stored.SuiUseBase = chance(50) ? 1 : 0;
        stored.SuiPercent = pick(0, 3);
        stored.SuiWageBase = stored.SuiUseBase == 1 ? pick(7000, 90000) : pick(0, 5);
        stored.RoundState = chance(20) ? 1 : 0;
        state = PreparedStateSettings(stored, p);
        entry.StrHrs = pick(0, 45);
        entry.StrHrs2 = chance(30) ? pick(0, 20) : 0;
        entry.OtVar = chance(30) ? pick(0, 10) : 0;
        entry.OtHrs = chance(40) ? pick(0, 15) : 0;
        entry.Avas = chance(20) ? pick(0, 8) : 0;
        entry.VacDys = chance(20) ? pick(0, 16) : 0;
        entry.Addit = chance(20) ? Currency::FromDouble(pick(0, 500)) : Currency();
        entry.TipsHrs = p.TipsRate != 0 ? pick(0, 40) : 0;
        ytdGross = Currency::FromDouble(chance(20) ? pick(80000, 95000) : pick(0, 40000));
        oneTimes = chance(70);
    }

    PayInputs Inputs(const FederalTables& federal, CalcTrace* trace) const {
        PayInputs inputs{profile, federal, state, city, nonResident};
        inputs.ytdGross = ytdGross;
        inputs.ytdSocialSecurity = static_cast<float>(ytdGross.ToDouble() * 0.062);
        inputs.ytdMedicare = static_cast<float>(ytdGross.ToDouble() * 0.0145);
        inputs.overtimeOneTimes = oneTimes;
        inputs.trace = trace;
        return inputs;
    }
};

std::vector<double> Figures(const PayResult& r) {
    return {r.PayRate,
            r.RegularPay1,
            r.RegularPay2,
            r.TotalOt,
            r.TotalTips,
            r.GrossPay,
            r.KPlanAmount,
            r.PensionAmount,
            r.CafeteriaAmount,
            r.TaxableWages,
            r.FederalAllowanceAmount,
            r.FederalTaxableWages,
            r.FederalTax,
            r.SocSecTax,
            r.MedicareTax,
            r.StateExemptionAmount,
            r.CityExemptionAmount,
            r.CafeteriaStateDeduction,
            r.StateTaxableWages,
            r.CityTaxableWages,
            r.StateTax,
            r.CityTax,
            r.SdiTax,
            r.SuiTax,
            r.TaxDeduct,
            r.TotDeduct,
            r.NetPay,
            r.CreditUnion,
            r.Bond,
            r.Dues,
            r.Misc};
}

// What the main window shows for each figure, in the trace's order.
std::array<std::string, kTraceFigureCount> Shown(const PayResult& r) {
    const PayDisplay d = FormatPayResult(r);
    std::array<std::string, kTraceFigureCount> shown{d.gross, d.overtime, d.tips};
    for (std::size_t k = 0; k < d.lines.size(); ++k)
        shown[3 + k] = d.lines[k];
    shown[14] = d.sdi;
    shown[15] = d.sui;
    shown[16] = d.cafeteria;
    shown[17] = d.taxes;
    shown[18] = d.deductions;
    shown[19] = d.net;
    return shown;
}

class Traced : public ::testing::Test {
  protected:
    Traced() {
        EXPECT_EQ(ReadFederalTableFile(testing::DemoFolder() / "Fedtaxx.tax", federal).status,
                  FederalFileStatus::Loaded);
    }
    FederalTables federal;
    std::mt19937 random{20261210};
};

TEST_F(Traced, TheRecorderChangesNoFigureAndEachSectionEndsOnTheFigureShown) {
    for (int round = 0; round < 40; ++round) {
        for (std::size_t s = 0; s < kStates.size(); ++s) {
            for (const bool weekly : {true, false}) {
                const Case c(random, s, weekly);
                PayPeriodEntry plain = c.entry;
                PayPeriodEntry traced = c.entry;
                CalcTrace trace;
                const PayResult r = ComputePay(c.Inputs(federal, nullptr), plain);
                ASSERT_EQ(Figures(ComputePay(c.Inputs(federal, &trace), traced)), Figures(r));
                const auto shown = Shown(r);
                for (TraceFigure figure : TraceFigures()) {
                    const auto section = trace.Section(figure);
                    ASSERT_FALSE(section.empty()) << TraceFigureCaption(figure);
                    const std::string& text = shown[static_cast<std::size_t>(figure)];
                    // The gross box stays empty for a period with no taxable wages.
                    if (text.empty()) continue;
                    const bool total = text.find('$') != std::string::npos;
                    EXPECT_EQ(
                        FormatNumber(section.back()->result, total ? "$#,###.00" : "#,###.00"),
                        text)
                        << TraceFigureCaption(figure) << " state " << s << " round " << round
                        << "\n"
                        << TraceText(trace);
                }
            }
        }
    }
}

TEST_F(Traced, NetToGrossReachesTheTargetAndACentLessDoesNot) {
    const auto net = [](const PayResult& r) {
        return Currency::FromDouble(RoundCents(static_cast<double>(r.NetPay)));
    };
    for (std::size_t s = 0; s < kStates.size(); ++s) {
        for (const bool weekly : {true, false}) {
            for (int round = 0; round < 4; ++round) {
                const Case c(random, s, weekly);
                const Currency target = Currency::FromDouble(
                    std::uniform_int_distribution<int>(1, 300000)(random) / 100.0);
                const PayInputs inputs = c.Inputs(federal, nullptr);
                const auto found = NetToGross(inputs, c.entry, target);
                ASSERT_TRUE(found) << "state " << s;
                EXPECT_GE(net(found->result), target);
                if (found->amount == Currency()) continue;
                PayPeriodEntry less = c.entry;
                less.Addit = found->amount - Currency::FromRaw(100);
                EXPECT_LT(net(ComputePay(inputs, less)), target)
                    << "state " << s << " amount " << CurrencyText(found->amount);
            }
        }
    }
    // Beyond anything the currency holds.
    const Case c(random, 0, true);
    EXPECT_FALSE(NetToGross(c.Inputs(federal, nullptr), c.entry, Currency::FromDouble(9e14)));
}

// The demo employee's 40 hours, worked by hand: Married weekly, 2 allowances.
TEST_F(Traced, TheFederalStepsReadAsWorkedByHand) {
    EmployeeProfile p = NewEmployeeProfile();
    p.HourlyRate1 = 15.5f;
    p.FederalStatus = "Married";
    p.FederalAllowances = "2";
    p.KPlanIsPercent = 1;
    p.KPlan = 3;
    const StateTaxSettings state = PreparedStateSettings(NewYorkStateDefaults(), p);
    const CityTaxSettings city = NewYorkCityDefaults();
    const NonResidentTaxSettings nonResident = NonResidentDefaults();
    PayInputs inputs{p, federal, state, city, nonResident};
    CalcTrace trace;
    inputs.trace = &trace;
    PayPeriodEntry entry;
    entry.StrHrs = 40;
    ComputePay(inputs, entry);
    EXPECT_EQ(TraceSectionText(trace, TraceFigure::FederalTax),
              "Federal Tax:\n"
              "  2 allowances (Married) are worth 123.08\n"
              "  wages 620.00 less K plan 18.60, pension 0.00, allowances 123.08 and cafeteria "
              "0.00 = 478.32\n"
              "  Married weekly row 2: over 435, 28.10 + 15% of (478.32 - 435) = 34.60\n"
              "  34.598003 + additional withholding 0.00, rounded to cents = 34.60\n");
    EXPECT_EQ(TracePercent(0.0685f), "6.85%");
    EXPECT_EQ(TracePercent(0.062), "6.2%");
    EXPECT_EQ(TraceAmount(-0.004), "0.00");
}

}  // namespace
}  // namespace kestrel

// The pay run against the one-employee path: for the demo employees and a generated employee of
// every special state and both frequencies, with every deduction and SDI and SUI crossing their
// wage bases, the run's figures and the register it posts are those of File, Open, the same
// entries, Calculate, and a click on the week number closed with Yes, in a copy of the folder.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/frm_save_user.h"
#include "payrun/pay_run.h"
#include "platform/print_model.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"
#include "ytd/year_to_date.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

constexpr std::array<CheckFlag StateTaxSettings::*, 11> kSpecialStates{
    &StateTaxSettings::ArizonaFlag,      &StateTaxSettings::LouisianaFlag,
    &StateTaxSettings::IowaFlag,         &StateTaxSettings::MissouriFlag,
    &StateTaxSettings::MassFlag,         &StateTaxSettings::OregonFlag,
    &StateTaxSettings::OklahomaFlag,     &StateTaxSettings::AlabamaFlag,
    &StateTaxSettings::KentuckyFlag,     &StateTaxSettings::WisconsinFlag,
    &StateTaxSettings::NorthCarolinaFlag};

// Employee `index` made from Worker1 the way a user would change one and save it: state `index`
// of the special states (none past the last), every deduction, SDI and SUI on wage bases the
// register is just below, and the frequency alternating.
void MakeEmployee(int index) {
    ScriptedHost host;
    Program program(host);
    program.Start();
    program.ActiveUser = "Worker1";
    ASSERT_TRUE(LoadEmployee(program));
    EmployeeProfile& p = program.profile;
    const bool weekly = index % 2 == 0;
    p.WeeklyPay = weekly;
    p.BiWeeklyPay = !weekly;
    p.StateStatus = index % 3 == 0 ? "Single" : "Married";
    p.CreditUnion = 12.345f;
    p.Bond = 5;
    p.Dues = 7.5f;
    p.Pension = 3;
    p.Misc = 2.255f;
    p.KPlan = 4;
    p.KPlanIsPercent = 1;
    p.KPlanIsFixed = 0;
    p.Cafeteria = 20;
    p.CafeteriaReducesState = index % 2;
    StateTaxSettings& s = program.stateSettings;
    for (std::size_t k = 0; k < kSpecialStates.size(); ++k)
        s.*kSpecialStates[k] = static_cast<std::size_t>(index) == k ? 1 : 0;
    s.SdiPercent = 0.9f;
    s.SdiWageBase = 7000;
    s.SdiUseBase = 1;
    s.SuiPercent = 2.7f;
    s.SuiWageBase = 7000;
    s.SuiUseBase = index % 4 == 1 ? 0 : 1;
    const std::string name = "Gen" + std::to_string(index);
    program.ActiveUser = name;
    program.saveUser.ui().txtSaveUser->SetText(name);
    ASSERT_TRUE(program.saveUser.FullSave());
    // Gross of 6,950 so far: the period crosses both wage bases.
    YtdRegister ytd;
    ytd.Row(1) = YtdRow{"01/07/05"};
    ytd.Row(1).Gross = 4000;
    ytd.Row(2) = YtdRow{"01/14/05"};
    ytd.Row(2).Gross = 2950;
    ASSERT_TRUE(SaveAnnual(ytd, name, p, host));
    ASSERT_TRUE(host.messages.empty()) << host.messages[0].text;
}

RunPeriod PeriodOf(std::size_t index) {
    RunPeriod period;
    period.entries = {"40", index % 3 == 0 ? "" : "4", "3", "2.5", "8", "", "125.50", "6"};
    period.overtimeDouble = index % 2 == 1;
    return period;
}

// The desktop: File, Open, the entries typed, Calculate; then the register view opened, the
// week number clicked and the view closed with Yes.
PayResult OnTheDesktop(const std::string& name, const RunPeriod& period, int row,
                       PayPeriodEntry& entry) {
    ScriptedHost host;
    Program program(host);
    program.Start();
    host.files.push_back(fs::absolute(name + ".use"));
    OpenFile(program);
    Form1Ui& main = program.form1.ui();
    for (std::size_t k = 0; k < 8; ++k)
        main.txtEntry[k]->SetText(period.entries[k]);
    main.txtWeekEnd->SetText("02/25/05");
    (period.overtimeDouble ? main.opt2X : main.opt1X)->UserClick();
    main.cmdCal->UserClick();
    EXPECT_TRUE(host.messages.empty()) << name << ": " << host.messages[0].text;
    entry = program.entry;
    const PayResult result = program.result;
    main.cmdYear->UserClick();
    PasteMe(program, row);
    host.answers.push_back(MsgResult::Yes);
    EXPECT_TRUE(CloseYearToDate(program));
    return result;
}

void ExpectSameFigures(const PayResult& run, const PayResult& desk, const std::string& who) {
    const std::array<float PayResult::*, 27> singles{&PayResult::PayRate,
                                                     &PayResult::RegularPay1,
                                                     &PayResult::RegularPay2,
                                                     &PayResult::TotalOt,
                                                     &PayResult::TotalTips,
                                                     &PayResult::GrossPay,
                                                     &PayResult::KPlanAmount,
                                                     &PayResult::PensionAmount,
                                                     &PayResult::CafeteriaAmount,
                                                     &PayResult::TaxableWages,
                                                     &PayResult::FederalAllowanceAmount,
                                                     &PayResult::FederalTaxableWages,
                                                     &PayResult::FederalTax,
                                                     &PayResult::SocSecTax,
                                                     &PayResult::MedicareTax,
                                                     &PayResult::StateExemptionAmount,
                                                     &PayResult::CityExemptionAmount,
                                                     &PayResult::CafeteriaStateDeduction,
                                                     &PayResult::StateTaxableWages,
                                                     &PayResult::CityTaxableWages,
                                                     &PayResult::SdiTax,
                                                     &PayResult::SuiTax,
                                                     &PayResult::TotDeduct,
                                                     &PayResult::NetPay,
                                                     &PayResult::CreditUnion,
                                                     &PayResult::Bond,
                                                     &PayResult::Misc};
    for (std::size_t k = 0; k < singles.size(); ++k)
        EXPECT_EQ(run.*singles[k], desk.*singles[k]) << who << " figure " << k;
    EXPECT_EQ(run.Dues, desk.Dues) << who;
    EXPECT_EQ(run.StateTax, desk.StateTax) << who;
    EXPECT_EQ(run.CityTax, desk.CityTax) << who;
    EXPECT_EQ(run.TaxDeduct, desk.TaxDeduct) << who;
}

TEST(PayRun, GivesTheFiguresAndPostingsOfTheOneEmployeePath) {
    testing::TempWorkDir dir;
    fs::create_directory("run");
    fs::copy(testing::DemoFolder(), "run");
    fs::current_path("run");
    for (int index = 0; index <= static_cast<int>(kSpecialStates.size()); ++index)
        MakeEmployee(index);
    fs::current_path("..");
    fs::copy("run", "desk", fs::copy_options::recursive);

    fs::current_path("run");
    const std::vector<std::string> names = FolderEmployees();
    ASSERT_EQ(names.size(), 2 + kSpecialStates.size() + 1);
    EXPECT_EQ(names.front(), "Gen0");
    EXPECT_EQ(names.back(), "Worker2");
    RunSettings settings{"02/25/05", Date{2005, 2, 25}};
    std::vector<EmployeePeriod> periods;
    for (std::size_t i = 0; i < names.size(); ++i)
        periods.push_back({names[i], PeriodOf(i)});
    // The employees are shared out among threads; the rows and the pages still come in order.
    const auto run = [&](const RunActions& actions) {
        std::vector<RunRow> rows;
        RunEmployees(periods, settings, actions, [&](std::size_t index, RunRow&& row) {
            EXPECT_EQ(index, rows.size());
            rows.push_back(std::move(row));
        });
        return rows;
    };
    PrintJob stubs;
    const std::vector<RunRow> calculated = run({.stubs = &stubs});
    const auto before = testing::FolderContents();
    const std::vector<RunRow> posted = run({.post = true});
    const auto after = testing::FolderContents();
    std::vector<std::string> pages{""};
    for (const char c : PlainText(stubs)) {
        if (c == '\f') {
            pages.emplace_back();
        } else {
            pages.back().push_back(c);
        }
    }
    ASSERT_GE(pages.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        // "Gen1" is not "Gen10".
        bool named = false;
        for (auto at = pages[i].find(names[i]); at != std::string::npos && !named;
             at = pages[i].find(names[i], at + 1))
            named = !std::isdigit(static_cast<unsigned char>(pages[i][at + names[i].size()]));
        EXPECT_TRUE(named) << names[i] << " on page " << i;
    }

    fs::current_path("../desk");
    std::set<double> stateTaxes;
    bool sdiCrossed = false;
    bool suiCrossed = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        ASSERT_TRUE(calculated[i].figures && calculated[i].refusal.empty())
            << name << ": " << calculated[i].refusal;
        ASSERT_EQ(posted[i].refusal, "") << name;
        const RunFigures& figures = *calculated[i].figures;
        EXPECT_EQ(posted[i].postedRow, figures.row) << name;
        PayPeriodEntry deskEntry;
        const PayResult desk = OnTheDesktop(name, PeriodOf(i), figures.row, deskEntry);
        ExpectSameFigures(figures.result, desk, name);
        ExpectSameFigures(posted[i].figures->result, desk, name + " posted");
        EXPECT_EQ(figures.entry.OtVar, deskEntry.OtVar) << name;
        EXPECT_EQ(figures.entry.WeekEnding, "02/25/05") << name;
        // The register each path wrote, byte for byte.
        const std::string file = AnnualFileName(name, figures.weeklyPay).string();
        EXPECT_EQ(after.at(file), testing::ReadFile(file)) << name;
        EXPECT_NE(after.at(file), before.at(file)) << name;
        stateTaxes.insert(figures.result.StateTax);
        const float gross = figures.result.GrossPay;
        sdiCrossed |= figures.result.SdiTax > 0 && figures.result.SdiTax < gross * 0.009f - 0.01f;
        suiCrossed |= figures.result.SuiTax > 0 && figures.result.SuiTax < gross * 0.027f - 0.01f;
    }
    // The generated registers stop the insurance taxes part way through the period.
    // Each special state withholds by its own formula.
    EXPECT_GE(stateTaxes.size(), kSpecialStates.size());
    EXPECT_TRUE(sdiCrossed);
    EXPECT_TRUE(suiCrossed);
    // Posting wrote the registers and nothing else (the lock files aside).
    for (const auto& [file, contents] : after) {
        if (file.ends_with(".yrw") || file.ends_with(".yrb") || file.ends_with(".lock")) continue;
        const auto was = before.find(file);
        EXPECT_TRUE(was != before.end() && was->second == contents) << file;
    }
}

}  // namespace
}  // namespace kestrel

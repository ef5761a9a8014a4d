// An employee of each special state, made the way a user makes one: File, New, the state's box
// pressed in the State Tax window and saved, then one period calculated in the main window and the
// same period given to kestrel-calc for the saved employee.
#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/scripted_host.h"
#include "settings/dialog_state.h"
#include "support/calc_run.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

struct StateCase {
    const char* name;
    const char* option;  // the value of kestrel-calc's --state
    CheckBox* DialogStateUi::*box;
    const char* weekly;
    const char* biWeekly;
};

// The period: 40 hours at the default 7.50 and 400 in dollars, so gross pay is 700 either way.
// The employee is single with no allowances and no deductions. Federal tax before rounding:
// weekly (700 - 606) x 0.25 + 76.40 = 99.90, bi-weekly (700 - 377) x 0.15 + 27.50 = 75.95.
// Social Security 43.40, Medicare 10.15.
const StateCase kStates[] = {
    // 99.90 x 0.04 = 3.996; 75.95 x 0.04 = 3.038 (line 1's New York rate stays).
    {"Arizona", "arizona", &DialogStateUi::ckAriz, "4.00", "3.04"},
    // No exemptions. Weekly: 700 x 0.021 + (700 - 240.38) x 0.0135 + (700 - 480.77) x 0.0135
    // = 14.7 + 6.20487 + 2.959605; bi-weekly: 14.7 + (700 - 480.77) x 0.0135.
    {"Louisiana", "louisiana", &DialogStateUi::ckLouis, "23.86", "17.66"},
    // Weekly X = 700 - 99.90 - 28.85 = 571.25: (571.25 - 423.08) x 0.0752 + 22.201099 = 33.3435.
    // Bi-weekly X = 700 - 75.95 - 57.69 = 566.36: (566.36 - 375) x 0.0653 + 12.639951 = 25.1358.
    // The preset sets Round State.
    {"Iowa", "iowa", &DialogStateUi::ckIowa, "33.00", "25.00"},
    // Weekly X = 700 - 99.90 - 93.27 = 506.83: (506.83 - 180) x 0.06 + 6.3 = 25.9098.
    // Bi-weekly X = 700 - 75.95 - 186.54 = 437.51: (437.51 - 346.5) x 0.06 + 12.1275 = 17.5881.
    // Whole dollars whatever Round State holds.
    {"Missouri", "missouri", &DialogStateUi::ckMissouri, "26.00", "18.00"},
    // (700 - 43.40 - 10.15) x 0.053 = 646.45 x 0.053 = 34.26185, no allowance for none claimed.
    {"Massachusetts", "mass", &DialogStateUi::ckMass, "34.26", "34.26"},
    // Weekly: 99.90 is above 67, so X = 633: (633 - 154) x 0.09 + 10 = 53.11.
    // Bi-weekly: 75.95 is below 135, so X = 624.05: (624.05 - 309) x 0.09 + 21 = 49.3545.
    {"Oregon", "oregon", &DialogStateUi::ckOregon, "53.11", "49.35"},
    // Weekly: A = 36400, C = 22560, SD 2000, FB 17560, FE 2269, T = 18291:
    // (18291 - 16000) x 0.10 + 867.5 + 13840 x 0.0665 = 2016.96 a year, 38.79 a week.
    // Bi-weekly: A = C = 18200, FE 1615, T = 14585: (14585 - 12500) x 0.09 + 552.5 = 740.15,
    // 28.47 a period.
    {"Oklahoma", "oklahoma", &DialogStateUi::ckOkla, "39.00", "28.00"},
    // Weekly: T = 700 - (38.46 + 28.85 + 99.90) = 532.79: (532.79 - 57.69) x 0.05 + 0.1924 +
    // 1.9232 = 25.8706. Bi-weekly: T = 700 - (76.92 + 57.69 + 75.95) = 489.44:
    // (489.44 - 115.38) x 0.05 + 0.3846 + 3.846 = 22.9336.
    {"Alabama", "alabama", &DialogStateUi::ckAlabama, "26.00", "23.00"},
    // Weekly X = 700 - 36.73 = 663.27: 57.69 x 0.02 + 19.23 x 0.03 + 19.23 x 0.04 + 57.7 x 0.05 +
    // 509.42 x 0.06 = 35.9501. Bi-weekly X = 626.54: 115.38 x 0.02 + 38.46 x 0.03 +
    // 38.46 x 0.04 + 115.39 x 0.05 + 318.85 x 0.06 = 29.9003.
    {"Kentucky", "kentucky", &DialogStateUi::ckKentucky, "35.95", "29.90"},
    // Weekly: line 5 halved, (700 - 358.25) x 0.0728 + 16.075 = 40.9544. Bi-weekly: line 4,
    // (700 - 454.81) x 0.06888 + 14.12 = 31.0087.
    {"Wisconsin", "wisconsin", &DialogStateUi::ckWiscon, "40.95", "31.01"},
    // Line 3 either way: 700 x 0.07 - 12.98 / 2 = 42.51 weekly, 700 x 0.07 - 12.98 = 36.02
    // bi-weekly; pressing N.C. sets Round State.
    {"NorthCarolina", "nc", &DialogStateUi::ckNC, "43.00", "36.00"},
};

class SpecialStateEmployee : public ::testing::TestWithParam<std::tuple<StateCase, bool>> {
  protected:
    SpecialStateEmployee() {
        std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    }
    testing::TempWorkDir dir;
};

TEST_P(SpecialStateEmployee, WithholdsTheStateFormulaInTheWindowAndOnTheCommandLine) {
    const auto& [state, biWeekly] = GetParam();
    const std::string expected = biWeekly ? state.biWeekly : state.weekly;
    {
        ScriptedHost host;
        Program program(host);
        program.Start();
        host.answers.push_back(MsgResult::No);
        host.inputs.emplace_back("Ann");
        mnuNew_Click(program);
        ASSERT_EQ(program.ActiveUser, "Ann");
        host.messages.clear();  // New asked whether to save the employee before
        if (biWeekly) {
            program.profile.WeeklyPay = false;
            program.profile.BiWeeklyPay = true;
            ASSERT_TRUE(program.saveUser.FullSave());
        }

        program.form1.ui().mnuState->UserClick();
        DialogStateUi& window = program.dialogState.ui();
        (window.*state.box)->UserClick();
        ASSERT_EQ((window.*state.box)->Value(), 1);
        window.cmdSave->UserClick();
        ASSERT_FALSE(program.dialogState.IsLoaded());

        Form1Ui& u = program.form1.ui();
        u.txtEntry[0]->SetText("40");
        u.txtEntry[6]->SetText("400");
        u.cmdCal->UserClick();
        EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
        EXPECT_EQ(u.lbGross->Caption(), "$700.00");
        EXPECT_EQ(u.lbTax[3]->Caption(), expected);
    }
    const testing::CalcRun run = testing::Calc("--employee Ann --straight 40 --dollars 400");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    EXPECT_EQ(testing::Field(run.out, "state"), "\"" + expected + "\"");
}

// The same period for a new employee named by options alone: --state applies the preset for the
// frequency given, as pressing the box does.
TEST(SpecialStateOptions, ChooseTheStateAsPressingItsBoxDoes) {
    testing::TempWorkDir dir;
    std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    for (const StateCase& state : kStates) {
        for (const bool biWeekly : {false, true}) {
            const testing::CalcRun run =
                testing::Calc(std::string("--straight 40 --dollars 400 --state ") + state.option +
                              (biWeekly ? " --biweekly" : " --weekly"));
            ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
            EXPECT_EQ(testing::Field(run.out, "state"),
                      "\"" + std::string(biWeekly ? state.biWeekly : state.weekly) + "\"")
                << state.option << (biWeekly ? " bi-weekly" : " weekly");
        }
    }
    // Choosing none goes back to the tables: 700 less half of 268.30 is 565.85, on New York's
    // weekly line 5: (565.85 - 384.5) x 0.0685 + 18.71 = 31.132475.
    const testing::CalcRun none =
        testing::Calc("--straight 40 --dollars 400 --state iowa --state none");
    EXPECT_EQ(testing::Field(none.out, "state"), "\"31.13\"");
}

INSTANTIATE_TEST_SUITE_P(States, SpecialStateEmployee,
                         ::testing::Combine(::testing::ValuesIn(kStates), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "BiWeekly" : "Weekly");
                         });

}  // namespace
}  // namespace kestrel

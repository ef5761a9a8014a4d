#include "settings/state_presets.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/numbers.h"
#include "platform/scripted_host.h"
#include "settings/dialog_state.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::TempWorkDir;
using Texts = std::vector<std::string>;

class Presets : public ::testing::Test {
  protected:
    Presets() {
        program.ActiveUser = "Worker1";
        program.profile = NewEmployeeProfile();
        program.stateSettings = NewYorkStateDefaults();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogState& window() { return program.dialogState; }
    DialogStateUi& ui() { return program.dialogState.ui(); }
    StateTaxSettings& stored() { return program.stateSettings; }

    void PayBiWeekly(bool biWeekly = true) {
        program.profile.WeeklyPay = !biWeekly;
        program.profile.BiWeeklyPay = biWeekly;
    }
    // Memory becomes the employee's ".sta" file; then the window is prepared from it. The flags
    // the profile files carry (Oklahoma, Wisconsin, N.C.) stay in memory, as no ".and" exists.
    void Prepare() {
        ASSERT_TRUE(WriteStateFile("Worker1.sta", stored(), program.profile).ok);
        window().Show();
    }

    static Texts Column(const DialogStateUi::Boxes& boxes) {
        Texts texts;
        for (const TextBox* box : boxes)
            texts.push_back(box->Text());
        return texts;
    }
    static Texts Repeat(const std::string& text, std::size_t from = 0, std::size_t to = 10) {
        return Texts(to - from, text);
    }
    static Texts Slice(const Texts& texts, std::size_t from, std::size_t to) {
        return {texts.begin() + static_cast<std::ptrdiff_t>(from),
                texts.begin() + static_cast<std::ptrdiff_t>(to)};
    }
    std::vector<const DialogStateUi::Boxes*> BracketColumns() {
        return {&ui().txtStateMinBS, &ui().txtStateAmtBS, &ui().txtStatePerBS,
                &ui().txtStateMinBM, &ui().txtStateAmtBM, &ui().txtStatePerBM};
    }
    // Lines from..to-1 of both tables.
    void ExpectLinesEnabled(std::size_t from, std::size_t to, bool enabled) {
        for (const DialogStateUi::Boxes* column : BracketColumns()) {
            for (std::size_t line = from; line < to; ++line)
                EXPECT_EQ((*column)[line]->Enabled(), enabled) << (*column)[line]->QualifiedName();
        }
    }
    void ExpectLinesUnused(std::size_t from, std::size_t to) {
        for (std::size_t line = from; line < to; ++line) {
            EXPECT_EQ(ui().txtStateMinBS[line]->Text(), "999999") << line;
            EXPECT_EQ(ui().txtStateMinBM[line]->Text(), "999999") << line;
            for (TextBox* box : {ui().txtStateAmtBS[line], ui().txtStatePerBS[line],
                                 ui().txtStateAmtBM[line], ui().txtStatePerBM[line]})
                EXPECT_EQ(box->Text(), "0") << box->QualifiedName();
        }
    }
    void ExpectExemptionsEnabled(bool enabled) {
        for (std::size_t row = 0; row < 10; ++row) {
            EXPECT_EQ(ui().txtStateSgExp[row]->Enabled(), enabled) << row;
            EXPECT_EQ(ui().txtStateMarExp[row]->Enabled(), enabled) << row;
        }
    }
    void ExpectRowsNumbered() {
        for (std::size_t row = 0; row < 10; ++row)
            EXPECT_EQ(ui().Label27[row]->Caption(), std::to_string(row));
    }
    Texts Line(std::size_t line) {
        return {ui().txtStateMinBS[line]->Text(), ui().txtStateAmtBS[line]->Text(),
                ui().txtStatePerBS[line]->Text(), ui().txtStateMinBM[line]->Text(),
                ui().txtStateAmtBM[line]->Text(), ui().txtStatePerBM[line]->Text()};
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(Presets, ArizonaKeepsOnlyTheStoredRatesOfLineOne) {
    Prepare();
    // Louisiana's headings first, to see Arizona put its own back.
    ui().ckLouis->UserClick();
    ui().txtStatePerBS[0]->SetText("0.5");
    ui().txtStatePerBM[0]->SetText("0.6");
    stored().SingleBrackets[0].Percent = 0.1f;
    stored().MarriedBrackets[0].Percent = 0.2f;

    ui().ckAriz->UserClick();
    EXPECT_EQ(ui().txtStatePerBS[0]->Text(), "0.1");
    EXPECT_EQ(ui().txtStatePerBM[0]->Text(), "0.2");
    EXPECT_TRUE(ui().txtStatePerBS[0]->Enabled());
    EXPECT_TRUE(ui().txtStatePerBM[0]->Enabled());
    for (const DialogStateUi::Boxes* column : BracketColumns()) {
        for (std::size_t line = 0; line < 10; ++line) {
            TextBox* box = (*column)[line];
            if (line == 0 && (box == ui().txtStatePerBS[0] || box == ui().txtStatePerBM[0]))
                continue;
            EXPECT_FALSE(box->Enabled()) << box->QualifiedName();
        }
    }
    EXPECT_EQ(Column(ui().txtStateMinBS), Repeat("999999"));
    EXPECT_EQ(Column(ui().txtStateAmtBM), Repeat("0"));
    EXPECT_EQ(Slice(Column(ui().txtStatePerBS), 1, 10), Repeat("0", 1));
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("0"));
    EXPECT_EQ(Column(ui().txtStateMarExp), Repeat("0"));
    ExpectExemptionsEnabled(false);
    EXPECT_EQ(ui().Label14->Caption(), "Single");
    EXPECT_EQ(ui().Label15->Caption(), "Married");
    EXPECT_EQ(ui().Label21->Caption(), "BiWeekly");
    EXPECT_EQ(ui().Label13->Caption(), "# of Exemp");
    EXPECT_EQ(ui().Label5->Caption(), "Table for MARRIED Persons");
    ExpectRowsNumbered();

    ui().cmdSave->UserClick();
    EXPECT_EQ(stored().ArizonaFlag, 1);
    EXPECT_EQ(stored().LouisianaFlag, 0);
    EXPECT_EQ(stored().SingleBrackets[0], (BracketRow{999999, 0, 0.1f}));
    EXPECT_EQ(stored().MarriedBrackets[9], (BracketRow{999999, 0, 0}));
}

TEST_F(Presets, LouisianaTakesRowZeroAsTwoCountsWithinTheirLimits) {
    const struct {
        float personal, dependents;
        const char* shownPersonal;
        const char* shownDependents;
    } cases[] = {{268.3f, 287.5f, "0", "0"},
                 {2, 6, "2", "6"},
                 {3, 7, "0", "0"},
                 {1, 7, "1", "0"},
                 {0, 0, "0", "0"}};
    for (const auto& c : cases) {
        stored() = NewYorkStateDefaults();
        stored().LouisianaFlag = 1;
        stored().SingleExemptions[0] = c.personal;
        stored().MarriedExemptions[0] = c.dependents;
        stored().SingleBrackets[0].Minimum = 50;
        Prepare();
        EXPECT_EQ(ui().txtStateSgExp[0]->Text(), c.shownPersonal) << c.personal;
        EXPECT_EQ(ui().txtStateMarExp[0]->Text(), c.shownDependents) << c.dependents;
        window().Unload();
    }

    Prepare();
    EXPECT_EQ(ui().Label14->Caption(), "Personal");
    EXPECT_EQ(ui().Label15->Caption(), "Dependent");
    EXPECT_EQ(ui().Label21->Caption(), "Enter Number Of");
    EXPECT_EQ(ui().Label13->Caption(), "");
    for (const Label* row : ui().Label27)
        EXPECT_EQ(row->Caption(), "");
    EXPECT_TRUE(ui().txtStateSgExp[0]->Enabled());
    EXPECT_TRUE(ui().txtStateMarExp[0]->Enabled());
    for (std::size_t row = 1; row < 10; ++row) {
        EXPECT_FALSE(ui().txtStateSgExp[row]->Enabled()) << row;
        EXPECT_EQ(ui().txtStateMarExp[row]->Text(), "0") << row;
    }
    ExpectLinesEnabled(0, 10, false);
    // Line 1 keeps its minimum and amount; only its rates become 0.
    EXPECT_EQ(Line(0), (Texts{"50", "0", "0", "0", "0", "0"}));
    ExpectLinesUnused(1, 10);
    // What preparing stored is what the formula reads.
    EXPECT_EQ(stored().SingleExemptions[0], 0.0f);
    EXPECT_EQ(stored().SingleBrackets[0].Minimum, 50.0f);
    EXPECT_EQ(stored().SingleExemptions[5], 0.0f);
}

TEST_F(Presets, MassachusettsHasOneEditableRateAndFixedAllowances) {
    stored().MassFlag = 1;
    Prepare();
    EXPECT_EQ(Line(0), (Texts{"0", "0", "0.053", "0", "0", "0.053"}));
    ExpectLinesEnabled(0, 1, true);
    ExpectLinesEnabled(1, 10, false);
    ExpectLinesUnused(1, 10);
    const Texts allowance{"0", "169", "208", "247", "286", "325", "364", "403", "442", "481"};
    EXPECT_EQ(Column(ui().txtStateSgExp), allowance);
    EXPECT_EQ(Column(ui().txtStateMarExp), allowance);
    ExpectRowsNumbered();

    ui().txtStatePerBS[0]->SetText("0.06");
    ui().cmdSave->UserClick();
    EXPECT_EQ(stored().SingleBrackets[0].Percent, 0.06f);
    EXPECT_EQ(stored().MarriedBrackets[0].Percent, 0.053f);
    EXPECT_EQ(stored().MarriedExemptions[9], 481.0f);
    EXPECT_EQ(stored().MassFlag, 1);
}

TEST_F(Presets, MassachusettsLeavesTheExemptionBoxesAsTheyWere) {
    Prepare();
    ui().ckAriz->UserClick();
    ui().ckMass->UserClick();
    ExpectExemptionsEnabled(false);
    EXPECT_EQ(ui().txtStateSgExp[2]->Text(), "208");
}

TEST_F(Presets, OklahomaAndAlabamaLeaveNothingUsable) {
    for (CheckBox* DialogStateUi::*state : {&DialogStateUi::ckOkla, &DialogStateUi::ckAlabama}) {
        Prepare();
        (ui().*state)->UserClick();
        for (const DialogStateUi::Boxes* column : BracketColumns()) {
            EXPECT_EQ(Column(*column), Repeat(""));
            for (const TextBox* box : *column)
                EXPECT_FALSE(box->Enabled()) << box->QualifiedName();
        }
        EXPECT_EQ(Column(ui().txtStateSgExp), Repeat(""));
        EXPECT_EQ(Column(ui().txtStateMarExp), Repeat(""));
        ExpectExemptionsEnabled(false);
        ExpectRowsNumbered();
        window().Unload();
    }
}

TEST_F(Presets, OklahomaSavedStoresTheNewYorkTables) {
    stored().SingleBrackets[3].Amount = 30;
    Prepare();
    ui().ckOkla->UserClick();
    EXPECT_TRUE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    const StateTaxSettings ny = NewYorkStateDefaults();
    EXPECT_EQ(stored().SingleBrackets, ny.SingleBrackets);
    EXPECT_EQ(stored().MarriedBrackets, ny.MarriedBrackets);
    EXPECT_EQ(stored().SingleExemptions, ny.SingleExemptions);
    EXPECT_EQ(stored().MarriedExemptions, ny.MarriedExemptions);
    EXPECT_EQ(stored().OklahomaFlag, 1);
    EXPECT_EQ(stored().RoundState, 1);

    // The next opening empties the boxes again, and shows Spouse Works.
    window().OpenWindow();
    EXPECT_EQ(ui().ckOkla->Value(), 1);
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "");
    EXPECT_TRUE(ui().ckSpouse->Visible());
}

TEST_F(Presets, IowaFollowsThePayFrequencyEachTimeTheWindowOpens) {
    std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    stored().IowaFlag = 1;
    ASSERT_TRUE(WriteStateFile("Worker1.sta", stored(), program.profile).ok);
    program.form1.ui().mnuState->UserClick();
    ASSERT_TRUE(window().IsVisible());
    EXPECT_EQ(Column(ui().txtStateSgExp), (Texts{"28.85", "28.85", "69.23", "69.23", "69.23",
                                                 "69.23", "69.23", "69.23", "69.23", "69.23"}));
    EXPECT_EQ(Column(ui().txtStateMarExp),
              (Texts{"0", "0.77", "1.54", "2.31", "3.08", "3.85", "4.62", "5.39", "6.16", "6.93"}));
    EXPECT_EQ(ui().Label14->Caption(), "Standard");
    EXPECT_EQ(ui().Label15->Caption(), "Credit");
    EXPECT_EQ(ui().Label21->Caption(), "BiWeekly");
    EXPECT_EQ(ui().Label13->Caption(), "# of Exemp");
    EXPECT_FALSE(ui().fraLinesS->Enabled());
    for (const Label* heading :
         {ui().Label1, ui().Label2, ui().Label3, ui().Label4, ui().Label6, ui().Label19,
          ui().Label5, ui().Label8, ui().Label9, ui().Label10, ui().Label11, ui().Label20})
        EXPECT_FALSE(heading->Enabled()) << heading->Name();
    ExpectLinesEnabled(0, 10, false);
    ExpectLinesUnused(0, 10);
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(stored().SingleExemptions[2], 69.23f);

    // Switched to bi-weekly, the window opened again refills the figures.
    PayBiWeekly();
    program.form1.ui().mnuState->UserClick();
    EXPECT_EQ(Slice(Column(ui().txtStateSgExp), 0, 3), (Texts{"57.69", "57.69", "138.46"}));
    EXPECT_EQ(ui().txtStateMarExp[1]->Text(), "1.54");
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "13.86");
}

TEST_F(Presets, TheFrequencyIsTheOneTheUserInfoWindowShows) {
    stored().IowaFlag = 1;
    Prepare();
    // An open User Info window decides, even before it is stored.
    program.taxInfo.Load();
    program.taxInfo.ui().optBiWeek->SetValue(true);
    ASSERT_TRUE(program.profile.WeeklyPay);
    window().OpenWindow();
    EXPECT_EQ(ui().txtStateSgExp[0]->Text(), "57.69");
}

TEST_F(Presets, MissouriStandardFollowsStatusFrequencyAndSpouseWorks) {
    stored().MissouriFlag = 1;
    program.profile.StateStatus = "Married";
    PayBiWeekly();
    ASSERT_TRUE(WriteStateFile("Worker1.sta", stored(), program.profile).ok);
    window().OpenWindow();
    ASSERT_TRUE(ui().ckSpouse->Visible());
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("373.08"));
    EXPECT_EQ(Column(ui().txtStateMarExp), (Texts{"0", "46.15", "92.3", "138.45", "184.6", "230.75",
                                                  "276.9", "323.05", "369.2", "415.35"}));
    EXPECT_EQ(ui().Label14->Caption(), "Standard");
    EXPECT_EQ(ui().Label15->Caption(), "W4 Allowance");
    EXPECT_FALSE(ui().Label3->Enabled());
    ExpectLinesUnused(0, 10);

    ui().ckSpouse->UserClick();
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("186.54"));
    ui().cmdSave->UserClick();
    EXPECT_EQ(stored().SpouseWorks, 1);
    EXPECT_EQ(stored().SingleExemptions[7], 186.54f);
    EXPECT_EQ(stored().MarriedExemptions[3], 138.45f);

    // Spouse Works does not matter to a single employee; weekly halves the figures. (The
    // profile files SAVE wrote would bring back the bi-weekly pay.)
    std::filesystem::remove("Worker1.use");
    program.profile.StateStatus = "Single";
    PayBiWeekly(false);
    ASSERT_TRUE(WriteStateFile("Worker1.sta", stored(), program.profile).ok);
    window().OpenWindow();
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("93.27"));
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "207.72");
    ui().ckSpouse->UserClick();
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("93.27"));
}

TEST_F(Presets, MissouriWithAnotherStatusKeepsTheStandardColumn) {
    // A ".sta" holds only "Single" or "Married": another status can only stand in the User Info
    // window's box.
    stored().MissouriFlag = 1;
    Prepare();
    for (TextBox* box : ui().txtStateSgExp)
        box->SetText("1");
    program.taxInfo.ui().cboStatus2->SetText("Widowed");
    window().OpenWindow();
    EXPECT_EQ(Column(ui().txtStateSgExp), Repeat("1"));
    EXPECT_EQ(ui().txtStateMarExp[2]->Text(), "46.16");
}

TEST_F(Presets, KentuckyFillsFiveLinesForTheFrequency) {
    stored().KentuckyFlag = 1;
    stored().SingleExemptions[0] = 5;
    Prepare();
    ui().Label14->SetCaption("Standard");
    window().OpenWindow();
    for (const Label* heading : {ui().Label19, ui().Label20, ui().Label21})
        EXPECT_FALSE(heading->Enabled()) << heading->Name();
    EXPECT_EQ(Line(0), (Texts{"57.69", "36.73", "0.02", "57.69", "36.73", "0.02"}));
    EXPECT_EQ(Line(4), (Texts{"307.69", "36.73", "0.06", "307.69", "36.73", "0.06"}));
    ExpectLinesEnabled(0, 5, true);
    ExpectLinesEnabled(5, 10, false);
    ExpectLinesUnused(5, 10);
    EXPECT_EQ(Column(ui().txtStateSgExp), (Texts{"0", "0.385", "0.77", "1.155", "1.54", "1.925",
                                                 "2.31", "2.695", "3.08", "3.465"}));
    EXPECT_EQ(Column(ui().txtStateMarExp), Column(ui().txtStateSgExp));
    // The exemption headings stay as they were.
    EXPECT_EQ(ui().Label14->Caption(), "Standard");

    PayBiWeekly();
    window().OpenWindow();
    for (const Label* heading : {ui().Label19, ui().Label20, ui().Label21})
        EXPECT_TRUE(heading->Enabled()) << heading->Name();
    EXPECT_EQ(Line(1), (Texts{"153.84", "73.46", "0.03", "153.84", "73.46", "0.03"}));
    EXPECT_EQ(Line(4), (Texts{"615.37", "73.46", "0.06", "615.37", "73.46", "0.06"}));
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "6.93");
}

TEST_F(Presets, OregonFillsThreeLinesForTheFrequency) {
    stored().OregonFlag = 1;
    Prepare();
    for (const Label* heading : {ui().Label19, ui().Label20, ui().Label21})
        EXPECT_EQ(heading->Caption(), "WEEKLY");
    EXPECT_EQ(Line(0), Repeat("0", 0, 6));
    EXPECT_EQ(Line(1), (Texts{"6", "0", "0.07", "52", "0", "0.07"}));
    EXPECT_EQ(Line(2), (Texts{"154", "10", "0.09", "309", "18", "0.09"}));
    ExpectLinesEnabled(0, 3, true);
    ExpectLinesEnabled(3, 10, false);
    ExpectLinesUnused(3, 10);
    EXPECT_EQ(Column(ui().txtStateSgExp),
              (Texts{"0", "2.75", "5.5", "8.25", "11", "13.75", "16.5", "19.25", "22", "24.75"}));
    EXPECT_EQ(Column(ui().txtStateMarExp), Column(ui().txtStateSgExp));

    PayBiWeekly();
    window().OpenWindow();
    for (const Label* heading : {ui().Label19, ui().Label20, ui().Label21})
        EXPECT_EQ(heading->Caption(), "BIWEEKLY");
    EXPECT_EQ(Line(1), (Texts{"12", "0", "0.07", "105", "0", "0.07"}));
    EXPECT_EQ(Line(2), (Texts{"309", "21", "0.09", "618", "36", "0.09"}));
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "49.5");
}

TEST_F(Presets, OregonStartsAgainFromWhatIsStored) {
    stored().IowaFlag = 1;
    stored().OklahomaFlag = 1;
    stored().SdiPercent = 0.5f;
    Prepare();
    ui().txtSDIpercent->SetText("3");

    ui().ckOregon->UserClick();
    EXPECT_EQ(ui().ckOregon->Value(), 1);
    // Iowa is set in memory and shows again; Oklahoma is cleared by the preset.
    EXPECT_EQ(ui().ckIowa->Value(), 1);
    EXPECT_EQ(ui().ckOkla->Value(), 0);
    EXPECT_EQ(ui().txtSDIpercent->Text(), "0.5");
    EXPECT_EQ(ui().txtStateMinBS[1]->Text(), "6");

    ui().cmdSave->UserClick();
    EXPECT_EQ(stored().IowaFlag, 1);
    EXPECT_EQ(stored().OregonFlag, 1);
    EXPECT_EQ(stored().OklahomaFlag, 0);
    EXPECT_EQ(stored().SingleBrackets[1], (BracketRow{6, 0, 0.07f}));
}

TEST_F(Presets, WisconsinLeavesLinesEightToTenOpen) {
    stored().WisconsinFlag = 1;
    Prepare();
    ExpectLinesEnabled(0, 10, true);
    ExpectLinesUnused(7, 10);
    EXPECT_EQ(Line(0), Repeat("0", 0, 6));
    EXPECT_EQ(Line(2), (Texts{"408.46", "11.73", "0.05154", "518.08", "14.12", "0.0615"}));
    EXPECT_EQ(Line(3), (Texts{"454.81", "14.12", "0.06888", "575", "17.62", "0.0738"}));
    EXPECT_EQ(Line(5), (Texts{"1690.5", "103.08", "0.065", "1632.69", "99.31", "0.065"}));
    EXPECT_EQ(Line(6), (Texts{"4428.46", "281.04", "0.0675", "4428.46", "281.04", "0.0675"}));
    EXPECT_EQ(Column(ui().txtStateSgExp),
              (Texts{"0", "0.85", "1.7", "2.55", "3.4", "4.25", "5.1", "5.95", "6.8", "7.65"}));
    EXPECT_EQ(stored().SingleBrackets[2].Percent, 0.05154f);

    ui().txtStateMinBS[7]->SetText("9000");
    ui().cmdSave->UserClick();
    EXPECT_EQ(stored().SingleBrackets[7].Minimum, 9000.0f);
}

TEST_F(Presets, NorthCarolinaFillsFiveLinesAndAllowancesOf9615) {
    Prepare();
    ui().ckNC->UserClick();
    ExpectLinesEnabled(0, 10, true);
    ExpectLinesUnused(5, 10);
    EXPECT_EQ(Line(2), (Texts{"605.77", "12.98", "0.07", "524.04", "12.16", "0.07"}));
    EXPECT_EQ(Line(4), (Texts{"4730.77", "54.8", "0.0825", "3961.54", "47.26", "0.0825"}));
    EXPECT_EQ(ui().txtStateSgExp[9]->Text(), "865.35");
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "865.35");
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    // The exemption headings and boxes are left as they were.
    EXPECT_EQ(ui().Label14->Caption(), "SINGLE");
    ExpectExemptionsEnabled(true);
}

// The allowance columns that grow by a fixed step per exemption, against that step.
TEST_F(Presets, GrowingColumnsAreMultiplesOfTheirStep) {
    using Flag = CheckFlag StateTaxSettings::*;
    const struct {
        const char* name;
        Flag flag;
        bool biWeekly;
        DialogStateUi::Boxes DialogStateUi::*column;
        double step;
    } cases[] = {
        {"Iowa credit weekly", &StateTaxSettings::IowaFlag, false, &DialogStateUi::txtStateMarExp,
         0.77},
        {"Iowa credit bi-weekly", &StateTaxSettings::IowaFlag, true, &DialogStateUi::txtStateMarExp,
         1.54},
        {"Missouri weekly", &StateTaxSettings::MissouriFlag, false, &DialogStateUi::txtStateMarExp,
         23.08},
        {"Missouri bi-weekly", &StateTaxSettings::MissouriFlag, true,
         &DialogStateUi::txtStateMarExp, 46.15},
        {"Kentucky weekly", &StateTaxSettings::KentuckyFlag, false, &DialogStateUi::txtStateSgExp,
         0.385},
        {"Kentucky bi-weekly", &StateTaxSettings::KentuckyFlag, true,
         &DialogStateUi::txtStateMarExp, 0.77},
        {"Oregon weekly", &StateTaxSettings::OregonFlag, false, &DialogStateUi::txtStateMarExp,
         2.75},
        {"Oregon bi-weekly", &StateTaxSettings::OregonFlag, true, &DialogStateUi::txtStateSgExp,
         5.5},
        {"Wisconsin", &StateTaxSettings::WisconsinFlag, false, &DialogStateUi::txtStateMarExp,
         0.85},
        {"N.C.", &StateTaxSettings::NorthCarolinaFlag, true, &DialogStateUi::txtStateSgExp, 96.15},
    };
    for (const auto& c : cases) {
        stored() = NewYorkStateDefaults();
        stored().*c.flag = 1;
        PayBiWeekly(c.biWeekly);
        Prepare();
        for (std::size_t row = 0; row < 10; ++row) {
            const auto value = StrictSingle((ui().*c.column)[row]->Text());
            ASSERT_TRUE(value.has_value()) << c.name << " row " << row;
            EXPECT_NEAR(*value, c.step * static_cast<double>(row), 1e-4) << c.name << " " << row;
        }
        window().Unload();
    }
}

TEST_F(Presets, SeveralStoredStatesRunInTheirOrder) {
    // Louisiana runs before Arizona, so Arizona's headings and greyed exemptions remain.
    stored().LouisianaFlag = 1;
    stored().ArizonaFlag = 1;
    Prepare();
    EXPECT_EQ(ui().Label14->Caption(), "Single");
    EXPECT_FALSE(ui().txtStateSgExp[0]->Enabled());
    ExpectRowsNumbered();
    window().Unload();

    // Iowa runs before Kentucky: Kentucky's figures, Iowa's Round State and headings.
    stored() = NewYorkStateDefaults();
    stored().IowaFlag = 1;
    stored().KentuckyFlag = 1;
    Prepare();
    EXPECT_EQ(ui().txtStateSgExp[1]->Text(), "0.385");
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "57.69");
    EXPECT_EQ(ui().Label14->Caption(), "Standard");
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
}

class PreparedSettings : public ::testing::Test {
  protected:
    TempWorkDir dir;
};

TEST_F(PreparedSettings, OklahomaEmployeeGetsTheNewYorkTables) {
    StateTaxSettings stored = NewYorkStateDefaults();
    stored.OklahomaFlag = 1;
    stored.SdiPercent = 0.5f;
    stored.SingleBrackets[2].Amount = 19;
    const StateTaxSettings prepared = PreparedStateSettings(stored, NewEmployeeProfile());
    StateTaxSettings expected = NewYorkStateDefaults();
    expected.OklahomaFlag = 1;
    expected.SdiPercent = 0.5f;
    EXPECT_EQ(prepared, expected);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(PreparedSettings, IowaEmployeeGetsTheFiguresOfItsFrequency) {
    StateTaxSettings stored = NewYorkStateDefaults();
    stored.IowaFlag = 1;
    EmployeeProfile profile = NewEmployeeProfile();
    StateTaxSettings prepared = PreparedStateSettings(stored, profile);
    EXPECT_EQ(prepared.SingleExemptions[0], 28.85f);
    EXPECT_EQ(prepared.SingleExemptions[9], 69.23f);
    EXPECT_EQ(prepared.MarriedExemptions[4], 3.08f);
    EXPECT_EQ(prepared.RoundState, 1);
    EXPECT_EQ(prepared.IowaFlag, 1);
    for (std::size_t line = 0; line < 10; ++line) {
        EXPECT_EQ(prepared.SingleBrackets[line], (BracketRow{999999, 0, 0})) << line;
        EXPECT_EQ(prepared.MarriedBrackets[line], (BracketRow{999999, 0, 0})) << line;
    }

    profile.WeeklyPay = false;
    profile.BiWeeklyPay = true;
    prepared = PreparedStateSettings(stored, profile);
    EXPECT_EQ(prepared.SingleExemptions[2], 138.46f);
    EXPECT_EQ(prepared.MarriedExemptions[9], 13.86f);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// Without a window on screen, the same settings as preparing the window from the files.
TEST_F(PreparedSettings, MatchPreparingTheWindowFromTheFiles) {
    using Flag = CheckFlag StateTaxSettings::*;
    const Flag flags[] = {&StateTaxSettings::ArizonaFlag,      &StateTaxSettings::LouisianaFlag,
                          &StateTaxSettings::IowaFlag,         &StateTaxSettings::MissouriFlag,
                          &StateTaxSettings::MassFlag,         &StateTaxSettings::OregonFlag,
                          &StateTaxSettings::OklahomaFlag,     &StateTaxSettings::AlabamaFlag,
                          &StateTaxSettings::KentuckyFlag,     &StateTaxSettings::WisconsinFlag,
                          &StateTaxSettings::NorthCarolinaFlag};
    for (std::size_t k = 0; k < std::size(flags); ++k) {
        for (const bool biWeekly : {false, true}) {
            StateTaxSettings stored = NewYorkStateDefaults();
            stored.*flags[k] = 1;
            stored.NoStateTax = biWeekly ? 1 : 0;
            stored.SpouseWorks = 1;
            stored.SingleBrackets[0].Percent = 0.03f;
            stored.MarriedExemptions[0] = 4;
            EmployeeProfile profile = NewEmployeeProfile();
            profile.StateStatus = "Married";
            profile.WeeklyPay = !biWeekly;
            profile.BiWeeklyPay = biWeekly;

            const StateTaxSettings prepared = PreparedStateSettings(stored, profile);
            ScriptedHost host;
            Program program(host);
            program.ActiveUser = "Worker1";
            program.stateSettings = stored;
            program.profile = profile;
            ASSERT_TRUE(WriteStateFile("Worker1.sta", stored, profile).ok);
            program.dialogState.Show();
            EXPECT_EQ(prepared, program.stateSettings)
                << "flag " << k << (biWeekly ? " bi-weekly" : " weekly");
            EXPECT_TRUE(host.messages.empty());
        }
    }
}

}  // namespace
}  // namespace kestrel

#include "settings/dialog_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "settings/state_tax_settings.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

class StateWindow : public ::testing::Test {
  protected:
    // The profile as start-up leaves it: a state file holds a state status the reader accepts.
    StateWindow() {
        program.ActiveUser = "Worker1";
        program.profile = NewEmployeeProfile();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogState& window() { return program.dialogState; }
    DialogStateUi& ui() { return program.dialogState.ui(); }
    const StateTaxSettings& memory() const { return program.stateSettings; }

    // A file for Worker1 holding the New York tables with a few figures changed.
    void WriteEmployeeFile(StateTaxSettings settings, const std::string& name = "Worker1.sta") {
        ASSERT_TRUE(WriteStateFile(name, settings, program.profile).ok);
    }
    std::vector<std::string> Lines(const std::string& file) {
        std::vector<std::string> lines;
        const std::string text = ReadFile(file);
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find("\r\n", start);
            lines.push_back(text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }
    std::vector<TextBox*> SingleBoxes() {
        return {ui().txtSDIpercent, ui().txtSDIwageBase, ui().txtStateAdj,
                ui().txtCalAllow,   ui().txtSUIpercent,  ui().txtSUIwageBase};
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(StateWindow, IsBuiltWithEveryControlAndItsDesignText) {
    window().Load();
    EXPECT_EQ(window().Name(), "DialogState");
    EXPECT_EQ(window().Caption(), "Biweekly State Tax");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);

    int textBoxes = 0;
    for (const auto& control : window().Controls()) {
        if (control->Kind() != ControlKind::TextBox) continue;
        ++textBoxes;
        EXPECT_EQ(static_cast<TextBox&>(*control).AllowedKeys(), kNumberKeys)
            << control->QualifiedName();
    }
    EXPECT_EQ(textBoxes, 86);
    for (const char* column :
         {"txtStateMinBS", "txtStateAmtBS", "txtStatePerBS", "txtStateMinBM", "txtStateAmtBM",
          "txtStatePerBM", "txtStateSgExp", "txtStateMarExp"}) {
        EXPECT_NE(window().FindControl(column, 0), nullptr) << column;
        EXPECT_NE(window().FindControl(column, 9), nullptr) << column;
        EXPECT_FALSE(static_cast<TextBox*>(window().FindControl(column, 4))->SelectAllOnFocus());
    }
    for (TextBox* box : SingleBoxes())
        EXPECT_TRUE(box->SelectAllOnFocus()) << box->Name();

    const std::vector<std::pair<Label*, std::string>> labels{
        {ui().Label1, "Table for SINGLE Persons"},
        {ui().Label2, "Minimum Range"},
        {ui().Label3, "Amount to Withhold"},
        {ui().Label4, "Multiply by Percentage in Decimal"},
        {ui().Label6, "Line"},
        {ui().Label19, "BIWEEKLY "},
        {ui().Label5, "Table for MARRIED Persons"},
        {ui().Label8, "Minimum Range"},
        {ui().Label9, "Amount to Withhold"},
        {ui().Label10, "Multiply by Percentage in Decimal"},
        {ui().Label11, "Line"},
        {ui().Label20, "BIWEEKLY "},
        {ui().Label13, "# of Exemp"},
        {ui().Label14, "SINGLE"},
        {ui().Label15, "MARRIED"},
        {ui().Label21, "BIWEEKLY "},
        {ui().Label23, "Flat Rate"},
        {ui().Label26, "Flat Rate"},
    };
    for (const auto& [label, caption] : labels)
        EXPECT_EQ(label->Caption(), caption) << label->Name();
    EXPECT_EQ(ui().Label27[0]->Caption(), "0");
    EXPECT_EQ(ui().Label27[9]->Caption(), "9");
    EXPECT_EQ(ui().Label27[9]->QualifiedName(), "Label27(9)");
    EXPECT_EQ(ui().fraSDI->Caption(), "&State &Disability &Insurance");
    EXPECT_EQ(ui().fraSUI->Caption(), "&State &UnEmployment &Insurance");
    EXPECT_EQ(ui().fraAdjust->Caption(), "Adustment");
    EXPECT_EQ(ui().lbUnusedLines->Caption(),
              "Enter 999999 in any Minum Range Box that is not used.");
    EXPECT_EQ(ui().ckSpouse->Caption(), "Spouse Works");
    EXPECT_EQ(ui().ckSpouse->ToolTip(), "For Married Persons");
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckRoundOff->Caption(), "Round State");
    EXPECT_EQ(ui().ckNC->Caption(), "N.C.");
    EXPECT_FALSE(ui().cmdMakeDefault->Enabled());
    EXPECT_FALSE(ui().cmdGetDefault->Enabled());
    // Every control lies inside the window or its frame.
    for (const auto& control : window().Controls()) {
        const Rect& r = control->Geometry();
        const Rect outer = control->Container() != nullptr ? control->Container()->Geometry()
                                                           : window().Geometry();
        EXPECT_LE(r.left + r.width, outer.width) << control->QualifiedName();
        EXPECT_LE(r.top + r.height, outer.height) << control->QualifiedName();
    }
}

TEST_F(StateWindow, FreshWindowWithoutAFileShowsAndStoresNewYork) {
    window().Show();
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "0");
    EXPECT_EQ(ui().txtStatePerBS[0]->Text(), "0.04");
    EXPECT_EQ(ui().txtStateMinBS[9]->Text(), "19231");
    EXPECT_EQ(ui().txtStateAmtBS[7]->Text(), "415.46");
    EXPECT_EQ(ui().txtStateAmtBM[7]->Text(), "407.85");
    EXPECT_EQ(ui().txtStatePerBS[6]->Text(), "0.0854");
    EXPECT_EQ(ui().txtStatePerBM[6]->Text(), "0.0814");
    EXPECT_EQ(ui().txtStateSgExp[0]->Text(), "268.3");
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "634");
    for (TextBox* box : SingleBoxes())
        EXPECT_EQ(box->Text(), "0") << box->Name();
    EXPECT_EQ(memory(), NewYorkStateDefaults());
    EXPECT_TRUE(host.messages.empty());

    // Preparing stored it: cancelling takes nothing back.
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(memory(), NewYorkStateDefaults());
    EXPECT_FALSE(FileExists("Worker1.sta"));
}

TEST_F(StateWindow, ABoxHoldingASpaceIsNotBlank) {
    window().Show();
    ui().txtStateMinBS[3]->SetText("450");
    ui().txtStateAmtBS[3]->SetText("20");
    ui().txtStatePerBS[3]->SetText(" ");
    ui().txtStateMinBM[3]->SetText("460");
    ui().txtSDIpercent->SetText("");
    window().CheckFor();
    EXPECT_EQ(ui().txtStatePerBS[3]->Text(), " ");
    EXPECT_EQ(ui().txtSDIpercent->Text(), "0");

    EXPECT_FALSE(window().fillVari());
    // Line 4 is stored up to the failing box; nothing after it.
    EXPECT_EQ(memory().SingleBrackets[3].Minimum, 450.0f);
    EXPECT_EQ(memory().SingleBrackets[3].Amount, 20.0f);
    EXPECT_EQ(memory().SingleBrackets[3].Percent, 0.059f);
    EXPECT_EQ(memory().MarriedBrackets[3].Minimum, 500.0f);
}

TEST_F(StateWindow, FillVariStoresEveryBoxAndFlagInItsField) {
    window().Show();
    ui().txtStatePerBM[9]->SetText("0.09");
    ui().txtStateMarExp[9]->SetText("700");
    const std::vector<std::pair<TextBox*, float StateTaxSettings::*>> singles{
        {ui().txtSDIpercent, &StateTaxSettings::SdiPercent},
        {ui().txtSDIwageBase, &StateTaxSettings::SdiWageBase},
        {ui().txtStateAdj, &StateTaxSettings::StateAdjustment},
        {ui().txtCalAllow, &StateTaxSettings::CaliforniaAllowance},
        {ui().txtSUIpercent, &StateTaxSettings::SuiPercent},
        {ui().txtSUIwageBase, &StateTaxSettings::SuiWageBase}};
    for (std::size_t k = 0; k < singles.size(); ++k)
        singles[k].first->SetText(std::to_string(k + 1));
    const std::vector<std::pair<CheckBox*, CheckFlag StateTaxSettings::*>> flags{
        {ui().ckNoStateTax, &StateTaxSettings::NoStateTax},
        {ui().ckSDI, &StateTaxSettings::SdiUseBase},
        {ui().ckSUI, &StateTaxSettings::SuiUseBase},
        {ui().ckAriz, &StateTaxSettings::ArizonaFlag},
        {ui().ckLouis, &StateTaxSettings::LouisianaFlag},
        {ui().ckIowa, &StateTaxSettings::IowaFlag},
        {ui().ckMass, &StateTaxSettings::MassFlag},
        {ui().ckOregon, &StateTaxSettings::OregonFlag},
        {ui().ckOkla, &StateTaxSettings::OklahomaFlag},
        {ui().ckAlabama, &StateTaxSettings::AlabamaFlag},
        {ui().ckWiscon, &StateTaxSettings::WisconsinFlag},
        {ui().ckNC, &StateTaxSettings::NorthCarolinaFlag},
        {ui().ckKentucky, &StateTaxSettings::KentuckyFlag},
        {ui().ckMissouri, &StateTaxSettings::MissouriFlag},
        {ui().ckSpouse, &StateTaxSettings::SpouseWorks},
        {ui().ckRoundOff, &StateTaxSettings::RoundState}};
    // One flag set at a time, so that a box stored into another's field shows.
    for (const auto& [box, field] : flags) {
        for (const auto& other : flags)
            other.first->SetValue(other.first == box ? 1 : 0);
        ASSERT_TRUE(window().fillVari());
        for (const auto& [otherBox, otherField] : flags)
            EXPECT_EQ(memory().*otherField, otherBox == box ? 1 : 0) << box->Name();
    }
    for (std::size_t k = 0; k < singles.size(); ++k)
        EXPECT_EQ(memory().*singles[k].second, static_cast<float>(k + 1)) << k;
    EXPECT_EQ(memory().MarriedBrackets[9].Percent, 0.09f);
    EXPECT_EQ(memory().MarriedExemptions[9], 700.0f);
    EXPECT_EQ(memory().SingleExemptions[9], 614.8f);
}

TEST_F(StateWindow, SaveWithANonNumberTellsAndStaysOpen) {
    window().Show();
    ui().txtSUIwageBase->SetText("1-2");
    ui().cmdSave->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "You have entered a NON numerial.");
    EXPECT_EQ(host.messages[0].title, kAppTitle);
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(window().IsVisible());
    EXPECT_FALSE(FileExists("Worker1.sta"));
}

TEST_F(StateWindow, SaveWritesTheFileAndCloses) {
    program.profile.StateStatus = "Married";
    program.profile.StateAllowances = 2;
    window().Show();
    ui().txtSDIpercent->SetText("0.9");
    ui().txtSDIwageBase->SetText("7000");
    ui().ckSDI->UserClick();
    ui().ckIowa->UserClick();
    ui().txtStateMinBS[9]->SetText("999999");
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_TRUE(host.messages.empty());

    const std::vector<std::string> lines = Lines("Worker1.sta");
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "0,0,0.04,0,0,0.04");
    EXPECT_EQ(lines[9], "999999,1474.12,0.082,19231,1474.12,0.082");
    EXPECT_EQ(lines[10], "0");
    EXPECT_EQ(lines[20], "614.8,634");
    EXPECT_EQ(lines[21], "0.9,0,7000,0,0,1,0,0,0");
    EXPECT_EQ(lines[22], "0,0,1,2,\"Married\",0,0,0,0,0,0");
    EXPECT_EQ(memory().SdiWageBase, 7000.0f);
}

TEST_F(StateWindow, SaveThatCannotWriteTellsAndStaysOpen) {
    program.ActiveUser = "no such folder/Worker1";
    window().Show();
    ui().cmdSave->UserClick();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"Check your numbers\r\nNo blanks\r\nOnly numbers"});
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(StateWindow, CancelClosesWithoutStoring) {
    window().Show();
    ui().txtStateAmtBS[0]->SetText("5");
    ui().ckRoundOff->UserClick();
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(memory().SingleBrackets[0].Amount, 0.0f);
    EXPECT_EQ(memory().RoundState, 0);
    EXPECT_FALSE(FileExists("Worker1.sta"));
}

TEST_F(StateWindow, PreparingShowsTheEmployeesFile) {
    StateTaxSettings file = NewYorkStateDefaults();
    file.SingleBrackets[0].Percent = 0.05f;
    file.MarriedExemptions[4] = 500;
    file.SuiPercent = 1.5f;
    file.NoStateTax = 1;
    file.IowaFlag = 1;
    program.profile.StateStatus = "Married";
    program.profile.StateAllowances = 4;
    WriteEmployeeFile(file);
    program.profile = NewEmployeeProfile();
    program.stateSettings.CaliforniaAllowance = 37.5f;
    program.stateSettings.RoundState = 1;

    window().Show();
    EXPECT_EQ(program.profile.StateStatus, "Married");
    EXPECT_EQ(program.profile.StateAllowances, 4);
    EXPECT_EQ(ui().txtStatePerBS[0]->Text(), "0.05");
    EXPECT_EQ(ui().txtStateMarExp[4]->Text(), "500");
    EXPECT_EQ(ui().txtSUIpercent->Text(), "1.5");
    EXPECT_EQ(ui().txtCalAllow->Text(), "37.5");
    EXPECT_EQ(ui().ckNoStateTax->Value(), 1);
    EXPECT_EQ(ui().ckIowa->Value(), 1);
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    EXPECT_EQ(ui().ckAriz->Value(), 0);
    EXPECT_EQ(memory().SingleBrackets[0].Percent, 0.05f);
    EXPECT_EQ(memory().CaliforniaAllowance, 37.5f);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(StateWindow, UseBaseNamesTheBoxWageBase) {
    StateTaxSettings file = NewYorkStateDefaults();
    file.SdiUseBase = 1;
    WriteEmployeeFile(file);
    window().Show();
    EXPECT_EQ(ui().ckSDI->Value(), 1);
    EXPECT_EQ(ui().Label26->Caption(), "Wage Base");
    EXPECT_EQ(ui().Label23->Caption(), "Flat Rate");
    ui().cmdCancel->UserClick();

    file.SdiUseBase = 0;
    file.SuiUseBase = 1;
    WriteEmployeeFile(file);
    window().Show();
    EXPECT_EQ(ui().Label26->Caption(), "Flat Rate");
    EXPECT_EQ(ui().Label23->Caption(), "Wage Base");
}

TEST_F(StateWindow, CorruptedFileTellsAndLeavesTheBoxesAlone) {
    window().Show();
    ui().txtStateMinBS[0]->SetText("123");
    ui().txtStateMinBS[1]->SetText("321");
    program.stateSettings.ArizonaFlag = 1;
    WriteFile("Worker1.sta", "111,2,0.03,111,2,0.03\r\nbad\r\n");

    window().LoadStateFile();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "You have corupted a file.\r\nFind file,\r\nWorker1.sta\r\nand delete it.");
    EXPECT_EQ(host.messages[0].title, kAppTitle);
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "123");
    EXPECT_EQ(ui().txtStateMinBS[1]->Text(), "321");
    // Memory keeps the line read before the failure; the special states follow memory anyway.
    EXPECT_EQ(memory().SingleBrackets[0].Minimum, 111.0f);
    EXPECT_EQ(memory().SingleBrackets[1].Minimum, 308.0f);
    EXPECT_EQ(ui().ckAriz->Value(), 1);
}

TEST_F(StateWindow, CorruptedFileWhilePreparingFallsBackOnNewYork) {
    WriteFile("Worker1.sta", "111,2,0.03\r\n");
    window().Show();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{
                  "You have corupted a file.\r\nFind file,\r\nWorker1.sta\r\nand delete it."});
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "0");
    EXPECT_EQ(memory(), NewYorkStateDefaults());
}

TEST_F(StateWindow, ReadingTheStateFileFromOutsidePreparesTheWindowOnce) {
    WriteFile("Worker1.sta", "bad\r\n");
    window().LoadStateFile();
    EXPECT_TRUE(window().IsLoaded());
    EXPECT_FALSE(window().IsVisible());
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(StateWindow, DefaultFileLoadsIntoMemoryAndBoxes) {
    StateTaxSettings defaults = NewYorkStateDefaults();
    defaults.SingleBrackets[2].Amount = 18;
    defaults.MassFlag = 1;
    WriteEmployeeFile(defaults, ".sta");
    WriteEmployeeFile(NewYorkStateDefaults());
    window().Show();
    EXPECT_EQ(ui().txtStateAmtBS[2]->Text(), "17.5");

    window().LoadDefaultStateFile();
    EXPECT_EQ(ui().txtStateAmtBS[2]->Text(), "18");
    EXPECT_EQ(ui().ckMass->Value(), 1);
    EXPECT_EQ(memory().SingleBrackets[2].Amount, 18.0f);

    WriteFile(".sta", "x\r\n");
    window().LoadDefaultStateFile();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{
                  "You have corupted a file.\r\nFind file,\r\n.sta\r\nand delete it."});
}

TEST_F(StateWindow, NewYorkPutsTheBuiltInTablesBack) {
    StateTaxSettings file;
    for (BracketRow& row : file.SingleBrackets)
        row = {1, 2, 0.5f};
    file.SingleExemptions.fill(3);
    file.NoStateTax = 1;
    file.MissouriFlag = 1;
    file.SdiPercent = 0.9f;
    WriteEmployeeFile(file);
    program.stateSettings.SpouseWorks = 1;
    window().Show();
    const StateTaxSettings before = memory();
    ASSERT_EQ(ui().txtStateMinBS[5]->Text(), "1");
    // What a preset leaves behind.
    ui().ckSpouse->SetVisible(true);
    ui().Label14->SetCaption("Weekly");
    ui().Label14->SetEnabled(false);
    ui().Label27[3]->SetCaption("");
    ui().fraLinesS->SetEnabled(false);
    ui().txtStateMarExp[2]->SetEnabled(false);
    ui().txtSUIwageBase->SetText("");

    ui().cmdNewYork->UserClick();
    EXPECT_EQ(ui().txtStateMinBS[5]->Text(), "3462");
    EXPECT_EQ(ui().txtStateAmtBS[5]->Text(), "221.85");
    EXPECT_EQ(ui().txtStatePerBM[7]->Text(), "0.0895");
    EXPECT_EQ(ui().txtStateSgExp[1]->Text(), "306.8");
    EXPECT_EQ(ui().txtSDIpercent->Text(), "0.9");
    EXPECT_EQ(ui().txtSUIwageBase->Text(), "0");
    EXPECT_EQ(ui().ckNoStateTax->Value(), 0);
    EXPECT_EQ(ui().ckMissouri->Value(), 0);
    EXPECT_EQ(ui().ckSpouse->Value(), 0);
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().Label14->Caption(), "Single");
    EXPECT_EQ(ui().Label15->Caption(), "Married");
    EXPECT_EQ(ui().Label21->Caption(), "BiWeekly");
    EXPECT_EQ(ui().Label27[3]->Caption(), "3");
    EXPECT_TRUE(ui().Label14->Enabled());
    EXPECT_TRUE(ui().fraLinesS->Enabled());
    EXPECT_TRUE(ui().txtStateMarExp[2]->Enabled());
    // Nothing is stored before SAVE.
    EXPECT_EQ(memory(), before);

    ui().cmdSave->UserClick();
    StateTaxSettings expected = NewYorkStateDefaults();
    expected.SdiPercent = 0.9f;
    EXPECT_EQ(memory(), expected);
}

TEST_F(StateWindow, ClearAllEmptiesTheTablesOnly) {
    StateTaxSettings file = NewYorkStateDefaults();
    file.NoStateTax = 1;
    file.SuiPercent = 2.5f;
    WriteEmployeeFile(file);
    // The profile files carry these.
    program.stateSettings.OklahomaFlag = 1;
    program.stateSettings.SpouseWorks = 1;
    program.stateSettings.RoundState = 1;
    window().Show();
    ui().ckSpouse->SetVisible(true);

    ui().cmdClearAll->UserClick();
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(ui().txtStateMinBS[i]->Text(), "999999") << i;
        EXPECT_EQ(ui().txtStateMinBM[i]->Text(), "999999") << i;
        for (TextBox* box : {ui().txtStateAmtBS[i], ui().txtStatePerBS[i], ui().txtStateAmtBM[i],
                             ui().txtStatePerBM[i], ui().txtStateSgExp[i], ui().txtStateMarExp[i]})
            EXPECT_EQ(box->Text(), "0") << box->QualifiedName();
    }
    EXPECT_EQ(ui().ckRoundOff->Value(), 0);
    EXPECT_EQ(ui().ckSpouse->Value(), 0);
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckNoStateTax->Value(), 1);
    EXPECT_EQ(ui().ckOkla->Value(), 1);
    EXPECT_EQ(ui().txtSUIpercent->Text(), "2.5");
    EXPECT_EQ(memory().SingleBrackets[4].Minimum, 769.0f);
}

}  // namespace
}  // namespace kestrel

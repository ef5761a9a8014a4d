#include "settings/dialog_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/numbers.h"
#include "platform/scripted_host.h"
#include "settings/state_tax_settings.h"
#include "support/message_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::DemoFolder;
using testing::ReadFile;
using testing::StandardPart;
using testing::StandardParts;
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
    EXPECT_EQ(ui().fraSDI->Caption(), "State &Disability Insurance");
    EXPECT_EQ(ui().fraSUI->Caption(), "State &UnEmployment Insurance");
    EXPECT_EQ(ui().fraAdjust->Caption(), "Adustment");
    EXPECT_EQ(ui().lbUnusedLines->Caption(),
              "Enter 999999 in any Minum Range Box that is not used.");
    EXPECT_EQ(ui().ckSpouse->Caption(), "Spouse Works");
    EXPECT_EQ(ui().ckSpouse->ToolTip(), "For Married Persons");
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckRoundOff->Caption(), "Round State");
    EXPECT_EQ(ui().ckNC->Caption(), "N.C.");
    EXPECT_TRUE(ui().cmdMakeDefault->Enabled());
    EXPECT_TRUE(ui().cmdGetDefault->Enabled());
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
    const std::vector<std::pair<TextBox*, float StateTaxSettings::*>> singles{
        {ui().txtSDIpercent, &StateTaxSettings::SdiPercent},
        {ui().txtSDIwageBase, &StateTaxSettings::SdiWageBase},
        {ui().txtStateAdj, &StateTaxSettings::StateAdjustment},
        {ui().txtCalAllow, &StateTaxSettings::CaliforniaAllowance},
        {ui().txtSUIpercent, &StateTaxSettings::SuiPercent},
        {ui().txtSUIwageBase, &StateTaxSettings::SuiWageBase}};
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
    // NO STATE TAX rewrote the boxes on its way; the boxes are filled afresh.
    ui().cmdNewYork->UserClick();
    ui().txtStatePerBM[9]->SetText("0.09");
    ui().txtStateMarExp[9]->SetText("700");
    for (std::size_t k = 0; k < singles.size(); ++k)
        singles[k].first->SetText(std::to_string(k + 1));
    ASSERT_TRUE(window().fillVari());
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
    // Ticked from code, so no preset rewrites the tables.
    ui().ckIowa->SetValue(1);
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
    EXPECT_EQ(StandardParts(host.MessageTexts()),
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
    EXPECT_EQ(ui().ckNoStateTax->Value(), 0);
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
    EXPECT_EQ(StandardPart(host.messages[0].text),
              "You have corupted a file.\r\nFind file,\r\nWorker1.sta\r\nand delete it.");
    EXPECT_EQ(host.messages[0].title, kAppTitle);
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "123");
    EXPECT_EQ(ui().txtStateMinBS[1]->Text(), "321");
    // Memory takes nothing of the refused file, nor keeps what it held: every field the file
    // carries holds a new employee's value, and no control shows any of it.
    EXPECT_EQ(memory().SingleBrackets[0].Minimum, 0.0f);
    EXPECT_EQ(memory().SingleBrackets[1].Minimum, 308.0f);
    EXPECT_EQ(memory().ArizonaFlag, 0);
    EXPECT_EQ(ui().ckAriz->Value(), 0);
}

TEST_F(StateWindow, CorruptedFileWhilePreparingFallsBackOnNewYork) {
    WriteFile("Worker1.sta", "111,2,0.03\r\n");
    window().Show();
    EXPECT_EQ(StandardParts(host.MessageTexts()),
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
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              std::vector<std::string>{
                  "You have corupted a file.\r\nFind file,\r\n.sta\r\nand delete it."});
}

TEST_F(StateWindow, NewYorkPutsTheBuiltInTablesBack) {
    StateTaxSettings file;
    for (BracketRow& row : file.SingleBrackets)
        row = {1, 2, 0.5f};
    file.SingleExemptions.fill(3);
    file.SdiPercent = 0.9f;
    WriteEmployeeFile(file);
    window().Show();
    ASSERT_EQ(ui().txtStateMinBS[5]->Text(), "1");
    // NO STATE TAX takes effect in memory at once; Spouse Works reruns Missouri's preset.
    ui().ckNoStateTax->SetValue(1);
    ui().ckMissouri->SetValue(1);
    ui().ckSpouse->SetValue(1);
    ASSERT_EQ(ui().Label15->Caption(), "W4 Allowance");
    const StateTaxSettings before = memory();
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

// A weekly single employee working 40 hours at 7.50: with the New York tables the state tax is
// 6.69, so a 0 shows the tables were taken out of use.
class StateTaxOfAPeriod : public StateWindow {
  protected:
    StateTaxOfAPeriod() {
        std::filesystem::copy_file(DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.Start();
        program.form1.ui().txtEntry[0]->SetText("40");
    }
    std::string StateTax() {
        program.form1.ui().cmdCal->UserClick();
        return program.form1.ui().lbTax[3]->Caption();
    }
    static std::string StateFile(const std::string& line11, const std::string& line23) {
        std::string text;
        const StateTaxSettings ny = NewYorkStateDefaults();
        for (std::size_t i = 0; i < 10; ++i) {
            const BracketRow& s = ny.SingleBrackets[i];
            const BracketRow& m = ny.MarriedBrackets[i];
            text += SingleText(s.Minimum) + "," + SingleText(s.Amount) + "," +
                    SingleText(s.Percent) + "," + SingleText(m.Minimum) + "," +
                    SingleText(m.Amount) + "," + SingleText(m.Percent) + "\r\n";
        }
        text += line11 + "\r\n";
        for (std::size_t i = 0; i < 10; ++i) {
            text += SingleText(ny.SingleExemptions[i]) + "," + SingleText(ny.MarriedExemptions[i]) +
                    "\r\n";
        }
        return text + "0,0,0,0,0,0,0,0,0\r\n" + line23 + "\r\n";
    }
};

TEST_F(StateTaxOfAPeriod, NoStateTaxInTheFileTakesTheTablesOutOfUse) {
    WriteFile("Worker1.sta", StateFile("0", "0,0,0,0,\"Single\",0,0,0,0,0,0"));
    EXPECT_EQ(StateTax(), "6.69");

    WriteFile("Worker1.sta", StateFile("1", "0,0,0,0,\"Single\",0,0,0,0,0,0"));
    EXPECT_EQ(StateTax(), ".00");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(memory().NoStateTax, 1);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(memory().SingleBrackets[i], (BracketRow{999999, 0, 0})) << i;
        EXPECT_EQ(memory().MarriedBrackets[i], (BracketRow{999999, 0, 0})) << i;
        EXPECT_EQ(memory().SingleExemptions[i], 0.0f) << i;
        EXPECT_EQ(memory().MarriedExemptions[i], 0.0f) << i;
    }
}

TEST_F(StateTaxOfAPeriod, AFlagReadBeforeTheDamageIsNotTakenUp) {
    // Arizona is read, then the allowances are not a number.
    WriteFile("Worker1.sta", StateFile("0", "1,0,0,x,\"Single\",0,0,0,0,0,0"));
    EXPECT_EQ(StateTax(), "6.69");
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              std::vector<std::string>{
                  "You have corupted a file.\r\nFind file,\r\nWorker1.sta\r\nand delete it."});
    EXPECT_EQ(memory().ArizonaFlag, 0);
    EXPECT_EQ(memory().SingleBrackets, NewYorkStateDefaults().SingleBrackets);
}

TEST_F(StateWindow, NoStateTaxTickedTakesEffectAtOnceAndClearedShowsMemory) {
    StateTaxSettings file = NewYorkStateDefaults();
    file.SdiPercent = 0.9f;
    file.SuiUseBase = 1;
    WriteEmployeeFile(file);
    window().Show();
    ui().txtSDIpercent->SetText("5");
    ui().txtStateAmtBS[2]->SetText("99");
    ui().ckAriz->SetValue(1);
    ui().ckMass->SetValue(1);
    ui().ckSUI->SetValue(0);

    ui().ckNoStateTax->UserClick();
    EXPECT_EQ(memory().NoStateTax, 1);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(ui().txtStateMinBS[i]->Text(), "999999") << i;
        EXPECT_EQ(ui().txtStateMinBM[i]->Text(), "999999") << i;
        for (TextBox* box : {ui().txtStateAmtBS[i], ui().txtStatePerBS[i], ui().txtStateAmtBM[i],
                             ui().txtStatePerBM[i], ui().txtStateSgExp[i], ui().txtStateMarExp[i]})
            EXPECT_EQ(box->Text(), "0") << box->QualifiedName();
    }
    // The single boxes, Use Base and four of the states come back from memory; Mass does not.
    EXPECT_EQ(ui().txtSDIpercent->Text(), "0.9");
    EXPECT_EQ(ui().ckSUI->Value(), 1);
    EXPECT_EQ(ui().Label23->Caption(), "Wage Base");
    EXPECT_EQ(ui().ckAriz->Value(), 0);
    EXPECT_EQ(ui().ckMass->Value(), 1);
    // The tables in memory wait for SAVE.
    EXPECT_EQ(memory().SingleBrackets, file.SingleBrackets);

    ui().txtSDIpercent->SetText("5");
    ui().ckNoStateTax->UserClick();
    EXPECT_EQ(ui().txtStateMinBS[4]->Text(), "769");
    EXPECT_EQ(ui().txtStateAmtBS[2]->Text(), "17.5");
    EXPECT_EQ(ui().txtStateMarExp[9]->Text(), "634");
    EXPECT_EQ(ui().txtSDIpercent->Text(), "0.9");
    // Cleared in memory at once too: the tables shown must not be saved beside the flag.
    EXPECT_EQ(memory().NoStateTax, 0);

    // Ticked again and cancelled: memory keeps it until the file is read again.
    ui().ckNoStateTax->UserClick();
    ui().cmdCancel->UserClick();
    EXPECT_EQ(memory().NoStateTax, 1);
    EXPECT_EQ(memory().SingleBrackets, file.SingleBrackets);
    EXPECT_EQ(Lines("Worker1.sta")[10], "0");
    window().Show();
    EXPECT_EQ(memory().NoStateTax, 0);
    EXPECT_EQ(ui().ckNoStateTax->Value(), 0);
}

TEST_F(StateWindow, NoStateTaxSavedStoresTablesOutOfUse) {
    window().Show();
    ui().ckNoStateTax->UserClick();
    // The full save writes memory, where the tick left the tables: the file is the same.
    ASSERT_TRUE(window().SaveStateFile());
    const std::string fullSave = ReadFile("Worker1.sta");
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(ReadFile("Worker1.sta"), fullSave);
    const std::vector<std::string> lines = Lines("Worker1.sta");
    ASSERT_EQ(lines.size(), 23u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(lines[i], "999999,0,0,999999,0,0") << i;
    EXPECT_EQ(lines[10], "1");
    for (std::size_t i = 11; i < 21; ++i)
        EXPECT_EQ(lines[i], "0,0") << i;
}

TEST_F(StateWindow, UseBaseNamesItsBoxAndClearingZeroesTheRate) {
    window().Show();
    const struct {
        CheckBox* useBase;
        Label* caption;
        TextBox* rate;
        TextBox* other;
    } frames[] = {{ui().ckSDI, ui().Label26, ui().txtSDIpercent, ui().txtSUIpercent},
                  {ui().ckSUI, ui().Label23, ui().txtSUIpercent, ui().txtSDIpercent}};
    for (const auto& frame : frames) {
        frame.rate->SetText("2.5");
        frame.other->SetText("1.25");
        frame.useBase->UserClick();
        EXPECT_EQ(frame.caption->Caption(), "Wage Base") << frame.useBase->Name();
        EXPECT_EQ(frame.rate->Text(), "2.5") << frame.useBase->Name();
        frame.useBase->UserClick();
        EXPECT_EQ(frame.caption->Caption(), "Flat Rate") << frame.useBase->Name();
        EXPECT_EQ(frame.rate->Text(), "0") << frame.useBase->Name();
        EXPECT_EQ(frame.other->Text(), "1.25") << frame.useBase->Name();
    }
    // Set from code, the box reacts just the same.
    ui().ckSUI->SetValue(1);
    ui().txtSUIpercent->SetText("3");
    ui().ckSUI->SetValue(0);
    EXPECT_EQ(ui().txtSUIpercent->Text(), "0");
    EXPECT_EQ(ui().Label23->Caption(), "Flat Rate");
}

TEST_F(StateWindow, PressingAStateClearsTheOthersBeforeTheClick) {
    window().Show();
    ui().ckAriz->SetValue(1);
    ui().ckNC->SetValue(1);
    ui().ckMissouri->UserClick();
    for (CheckBox* state : ui().SpecialStates())
        EXPECT_EQ(state->Value(), state == ui().ckMissouri ? 1 : 0) << state->Name();
    EXPECT_TRUE(ui().ckSpouse->Visible());
    ui().ckSpouse->UserClick();
    ASSERT_EQ(ui().ckSpouse->Value(), 1);

    // Pressing a ticked box clears it and leaves its figures.
    ui().ckMissouri->UserClick();
    EXPECT_EQ(ui().ckMissouri->Value(), 0);
    EXPECT_TRUE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckSpouse->Value(), 1);
    EXPECT_EQ(ui().Label15->Caption(), "W4 Allowance");
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "999999");

    // Any other state hides Spouse Works and clears it.
    ui().ckKentucky->UserClick();
    EXPECT_EQ(ui().ckKentucky->Value(), 1);
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckSpouse->Value(), 0);
    EXPECT_EQ(ui().ckRoundOff->Value(), 0);

    ui().ckOkla->UserClick();
    EXPECT_TRUE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    EXPECT_EQ(ui().ckKentucky->Value(), 0);
    ui().cmdClearAll->UserClick();
    EXPECT_EQ(ui().ckRoundOff->Value(), 0);
    ui().ckNC->UserClick();
    EXPECT_EQ(ui().ckRoundOff->Value(), 1);
    EXPECT_FALSE(ui().ckSpouse->Visible());
}

TEST_F(StateWindow, OnlyOregonWisconsinAndNCForgetLouisianaInMemory) {
    window().Show();
    for (CheckBox* state : ui().SpecialStates()) {
        program.stateSettings.LouisianaFlag = 1;
        state->UserClick();
        const bool forgets = state == ui().ckOregon || state == ui().ckWiscon || state == ui().ckNC;
        EXPECT_EQ(memory().LouisianaFlag, forgets ? 0 : 1) << state->Name();
    }
}

TEST_F(StateWindow, AStateSetFromCodeRunsNoPressRule) {
    window().Show();
    ui().ckIowa->SetValue(1);
    ui().ckOkla->SetValue(1);
    EXPECT_EQ(ui().ckIowa->Value(), 1);
    EXPECT_FALSE(ui().ckSpouse->Visible());
    EXPECT_EQ(ui().ckRoundOff->Value(), 0);
    EXPECT_EQ(ui().txtStateMinBS[1]->Text(), "308");
    // Nor does a right-button press.
    ui().ckNC->UserMouseDown(MouseButton::Right);
    EXPECT_EQ(ui().ckIowa->Value(), 1);
    EXPECT_EQ(ui().ckRoundOff->Value(), 0);
}

TEST_F(StateWindow, SaveStoresTheProfileFilesToo) {
    window().Show();
    ui().txtCalAllow->SetText("12.5");
    ui().ckRoundOff->UserClick();
    ui().ckOkla->SetValue(1);
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    const std::vector<std::string> andLines = Lines("Worker1.and");
    ASSERT_EQ(andLines.size(), 9u);
    EXPECT_EQ(andLines[1].substr(0, 5), "12.5,");
    EXPECT_EQ(andLines[6].substr(0, 4), "1,1,");
    EXPECT_TRUE(FileExists("Worker1.use"));
    EXPECT_TRUE(FileExists("Worker1.cfe"));
}

TEST_F(StateWindow, SaveWhoseProfileCannotBeStoredStaysOpen) {
    window().Show();
    program.taxInfo.Load();
    program.taxInfo.ui().txtHourRate2->SetText("1-2");
    ui().cmdSave->UserClick();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "You have entered a NON numerial.");
    EXPECT_TRUE(window().IsVisible());
    EXPECT_FALSE(FileExists("Worker1.use"));
}

TEST_F(StateWindow, ReadingTheFileShowsTheStateFieldsOnUserInfo) {
    program.profile = NewEmployeeProfile();
    window().Show();
    program.taxInfo.Load();
    EmployeeProfile stored = program.profile;
    stored.StateStatus = "Married";
    stored.StateAllowances = 4;
    stored.AdditionalFederal = 12.5f;
    stored.FederalExempt = 1;
    stored.FicaExempt = 1;
    ASSERT_TRUE(WriteStateFile("Worker1.sta", NewYorkStateDefaults(), stored).ok);

    window().LoadStateFile();
    const frmTaxInfoUi& info = program.taxInfo.ui();
    EXPECT_EQ(info.cboStatus2->Text(), "Married");
    EXPECT_EQ(info.cboDepend2->Text(), "4");
    EXPECT_EQ(info.txtFedAddL->Text(), "12.5");
    EXPECT_EQ(info.ckFedExemp->Value(), 1);
    EXPECT_EQ(info.ckSSMediExemp->Value(), 1);

    // A damaged file shows nothing there either.
    WriteFile("Worker1.sta", "bad\r\n");
    program.profile.StateStatus = "Single";
    window().LoadStateFile();
    EXPECT_EQ(info.cboStatus2->Text(), "Married");
}

class DefaultFiles : public StateWindow {
  protected:
    DefaultFiles() {
        std::filesystem::copy_file(DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.Start();
        program.ActiveUser = "Worker1";
        program.form1.ui().lbUser->SetCaption("Worker1");
        program.saveUser.ui().txtSaveUser->SetText("Worker1");
        program.profile.StateStatus = "Single";
    }
};

TEST_F(DefaultFiles, MakeDefaultWritesTheEmployeesFilesUnderTheEmptyName) {
    program.dialogCity.Show();
    program.dialogVac.Load();
    window().Show();
    ui().txtStateAmtBS[2]->SetText("18");
    ui().cmdMakeDefault->UserClick();
    EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;

    for (const char* file : {".sta", ".cti", ".nci", ".use", ".and", ".cfe", ".hol", ".ovw",
                             "Worker1.sta", "Worker1.use", "Worker1.and", "Worker1.cfe"})
        EXPECT_TRUE(FileExists(file)) << file;
    EXPECT_FALSE(FileExists(".ovb"));
    EXPECT_EQ(ReadFile(".sta"), ReadFile("Worker1.sta"));
    EXPECT_EQ(Lines(".sta")[2].substr(0, 8), "423,18,0");
    EXPECT_EQ(program.ActiveUser, "Worker1");
    for (const Form* form : std::initializer_list<const Form*>{
             &program.dialogState, &program.dialogCity, &program.dialogNonCity, &program.dialogVac,
             &program.saveUser, &program.form2})
        EXPECT_FALSE(form->IsLoaded()) << form->Name();
    EXPECT_TRUE(program.form1.IsVisible());
}

TEST_F(DefaultFiles, MakeDefaultOfABiWeeklyEmployeeWritesItsOvertimeRows) {
    program.profile.WeeklyPay = false;
    program.profile.BiWeeklyPay = true;
    window().Show();
    ui().cmdMakeDefault->UserClick();
    EXPECT_TRUE(FileExists(".ovb"));
    EXPECT_FALSE(FileExists(".ovw"));
}

TEST_F(DefaultFiles, MakeDefaultWithABoxNotANumberWritesNoDefault) {
    window().Show();
    ui().txtStateMinBM[3]->SetText(" ");
    ui().cmdMakeDefault->UserClick();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"You have entered a NON numerial."});
    EXPECT_TRUE(window().IsVisible());
    EXPECT_FALSE(FileExists(".sta"));
    EXPECT_FALSE(FileExists(".use"));
    EXPECT_EQ(program.ActiveUser, "Worker1");
}

TEST_F(DefaultFiles, MakeDefaultWithNoEmployeeOpenKeepsNoneOpen) {
    program.ActiveUser.clear();
    program.form1.ui().lbUser->SetCaption("USER");
    program.saveUser.Unload();
    window().Show();
    ui().cmdMakeDefault->UserClick();
    EXPECT_TRUE(FileExists(".sta"));
    EXPECT_TRUE(FileExists(".use"));
    EXPECT_EQ(program.ActiveUser, "");
}

TEST_F(DefaultFiles, GetDefaultLoadsTheFileWithoutAPreset) {
    StateTaxSettings defaults = NewYorkStateDefaults();
    defaults.SingleExemptions[3] = 400;
    defaults.IowaFlag = 1;
    defaults.SdiPercent = 1.1f;
    WriteEmployeeFile(defaults, ".sta");
    window().Show();
    ui().Label14->SetCaption("Personal");

    ui().cmdGetDefault->UserClick();
    EXPECT_EQ(ui().ckIowa->Value(), 1);
    // Iowa's preset would have put its standard deduction here, and renamed the heading.
    EXPECT_EQ(ui().txtStateSgExp[3]->Text(), "400");
    EXPECT_EQ(ui().txtStateMinBS[0]->Text(), "0");
    EXPECT_EQ(ui().Label14->Caption(), "Personal");
    EXPECT_EQ(ui().txtSDIpercent->Text(), "1.1");
    EXPECT_EQ(memory().SingleExemptions[3], 400.0f);
    EXPECT_EQ(memory().IowaFlag, 1);
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(DefaultFiles, GetDefaultWithoutAFileChangesNoTable) {
    window().Show();
    ui().txtStateAmtBM[6]->SetText("250");
    const StateTaxSettings before = memory();
    ui().cmdGetDefault->UserClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ui().txtStateAmtBM[6]->Text(), "250");
    EXPECT_EQ(memory(), before);
}

}  // namespace
}  // namespace kestrel

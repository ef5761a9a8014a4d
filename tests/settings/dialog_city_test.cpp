#include "settings/dialog_city.h"

#include <gtest/gtest.h>

#include <set>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/message_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::StandardPart;
using testing::StandardParts;
using testing::TempWorkDir;
using testing::WriteFile;

class CityWindow : public ::testing::Test {
  protected:
    CityWindow() { program.ActiveUser = "Worker1"; }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogCity& window() { return program.dialogCity; }
    DialogCityUi& ui() { return program.dialogCity.ui(); }
    std::vector<TextBox*> Boxes() {
        std::vector<TextBox*> boxes;
        for (auto* column :
             {&ui().txtCityMinBS, &ui().txtCityAmtBS, &ui().txtCityPerBS, &ui().txtCityMinBM,
              &ui().txtCityAmtBM, &ui().txtCityPerBM, &ui().txtCitySgExp, &ui().txtCityMarExp}) {
            boxes.insert(boxes.end(), column->begin(), column->end());
        }
        return boxes;
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(CityWindow, FreshWindowWithoutAFileShowsAndStoresTheNewYorkCityTables) {
    program.citySettings.SingleBrackets[0].Minimum = 5;
    program.citySettings.NoLocalTax = 1;
    window().Show();
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(program.citySettings, NewYorkCityDefaults());
    EXPECT_EQ(ui().txtCityMinBS[3]->Text(), "557");
    EXPECT_EQ(ui().txtCityMinBM[3]->Text(), "577");
    EXPECT_EQ(ui().txtCityPerBS[0]->Text(), "0.019");
    EXPECT_EQ(ui().txtCityAmtBM[7]->Text(), "219.27");
    EXPECT_EQ(ui().txtCityPerBM[7]->Text(), "0.0603");
    EXPECT_EQ(ui().txtCitySgExp[0]->Text(), "192.3");
    EXPECT_EQ(ui().txtCityMarExp[9]->Text(), "558");
    EXPECT_EQ(ui().ckNoLocalTax->Value(), 0);
    // Cancelling keeps what preparing stored; nothing is written.
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(program.citySettings, NewYorkCityDefaults());
    EXPECT_FALSE(FileExists("Worker1.cti"));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CityWindow, LayoutShowsEveryTextAndTakesOnlyNumberKeys) {
    window().Show();
    EXPECT_EQ(window().Caption(), "City (Local) Tax Tables");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);
    testing::ExpectControlsInsideAndApart(window());
    const std::multiset<std::string> texts = testing::ShownTexts(window());
    for (const char* text :
         {"Table for SINGLE Persons", "Table for MARRIED Persons", "# of Exemp", "SINGLE",
          "MARRIED", "Withholding Allowance", "WARNING!",
          "Enter 999999 in any Minimum Range Box that is not used.",
          "When you enter the above biweekly info, the weekly tables will be configured for half "
          "the amount including the exemptions.",
          "&New York", "CLEAR ALL", "&SAVE", "&CANCEL"}) {
        EXPECT_EQ(texts.count(text), 1u) << text;
    }
    EXPECT_EQ(texts.count("BIWEEKLY "), 3u);
    EXPECT_EQ(texts.count("Minimum Range"), 2u);
    EXPECT_EQ(texts.count("Amount to Withhold"), 2u);
    EXPECT_EQ(texts.count("Multiply by Percentage in Decimal"), 2u);
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(ui().lbLineS[k]->Caption(), std::to_string(k + 1));
        EXPECT_EQ(ui().lbLineM[k]->Caption(), std::to_string(k + 1));
        EXPECT_EQ(ui().lbExempNo[k]->Caption(), std::to_string(k));
    }
    EXPECT_EQ(ui().ckNoLocalTax->Caption(), "NO LOCAL TAX");

    const std::vector<TextBox*> boxes = Boxes();
    EXPECT_EQ(boxes.size(), 80u);
    for (TextBox* box : boxes) {
        box->SetText("");
        box->Type("4x-.a 2$");
        EXPECT_EQ(box->Text(), "4-. 2") << box->QualifiedName();
    }
}

TEST_F(CityWindow, ClearAllThenSaveWritesUnusedLinesAndLeavesTheFlag) {
    window().Show();
    ui().cmdClearAll->UserClick();
    EXPECT_EQ(ui().ckNoLocalTax->Value(), 0);
    EXPECT_EQ(program.citySettings, NewYorkCityDefaults());  // nothing stored yet
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += "999999,0,0,999999,0,0\r\n";
    expected += "0\r\n";
    for (int i = 0; i < 10; ++i)
        expected += "0,0\r\n";
    EXPECT_EQ(ReadFile("Worker1.cti"), expected);
    EXPECT_EQ(program.citySettings.MarriedBrackets[9], (BracketRow{999999, 0, 0}));
    EXPECT_EQ(program.citySettings.SingleExemptions[4], 0.0F);
    EXPECT_EQ(program.citySettings.NoLocalTax, 0);
}

TEST_F(CityWindow, FileWithNoLocalTaxOpensTickedWithClearedTables) {
    CityTaxSettings saved = NewYorkCityDefaults();
    saved.NoLocalTax = 1;
    ASSERT_TRUE(WriteCityFile("Worker1.cti", saved).ok);
    window().Show();
    // Showing the flag runs the check box's reaction over the tables just shown.
    EXPECT_EQ(ui().ckNoLocalTax->Value(), 1);
    EXPECT_EQ(ui().txtCityMinBS[1]->Text(), "999999");
    EXPECT_EQ(ui().txtCityAmtBS[1]->Text(), "0");
    EXPECT_EQ(program.citySettings.SingleBrackets[1], (BracketRow{999999, 0, 0}));
    EXPECT_EQ(program.citySettings.NoLocalTax, 1);
    ui().cmdClearAll->UserClick();
    EXPECT_EQ(ui().ckNoLocalTax->Value(), 1);
    ui().cmdSave->UserClick();
    const std::string text = ReadFile("Worker1.cti");
    EXPECT_NE(text.find("\r\n999999,0,0,999999,0,0\r\n1\r\n0,0\r\n"), std::string::npos) << text;
}

TEST_F(CityWindow, NoLocalTaxThenCancelKeepsTheFlagInMemoryOnly) {
    ASSERT_TRUE(WriteCityFile("Worker1.cti", NewYorkCityDefaults()).ok);
    const std::string before = ReadFile("Worker1.cti");
    window().Show();
    ui().ckNoLocalTax->UserClick();
    EXPECT_EQ(program.citySettings.NoLocalTax, 1);  // at once, before any store
    EXPECT_EQ(ui().txtCityMinBM[0]->Text(), "999999");
    EXPECT_EQ(ui().txtCityPerBS[2]->Text(), "0");
    EXPECT_EQ(ui().txtCityMarExp[4]->Text(), "0");
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    CityTaxSettings expected = NewYorkCityDefaults();
    expected.NoLocalTax = 1;
    EXPECT_EQ(program.citySettings, expected);
    EXPECT_EQ(ReadFile("Worker1.cti"), before);
    // Preparing the window again reads the file's flag back.
    window().Show();
    EXPECT_EQ(program.citySettings, NewYorkCityDefaults());
}

TEST_F(CityWindow, ClearingNoLocalTaxShowsTheTablesHeldInMemory) {
    window().Show();
    ui().txtCityAmtBS[2]->SetText("7");
    ui().ckNoLocalTax->UserClick();
    EXPECT_EQ(ui().txtCityAmtBS[2]->Text(), "0");
    ui().ckNoLocalTax->UserClick();
    EXPECT_EQ(ui().txtCityAmtBS[2]->Text(), "6.58");
    EXPECT_EQ(ui().txtCityMinBM[3]->Text(), "577");
    EXPECT_EQ(program.citySettings.NoLocalTax, 1);  // only a store clears it
    ui().cmdSave->UserClick();
    EXPECT_EQ(program.citySettings, NewYorkCityDefaults());
}

TEST_F(CityWindow, NewYorkClearsTheFlagAndRestoresEveryValue) {
    window().Show();
    ui().cmdClearAll->UserClick();
    ui().ckNoLocalTax->UserClick();
    ui().cmdNewYork->UserClick();
    EXPECT_EQ(ui().ckNoLocalTax->Value(), 0);
    EXPECT_EQ(ui().txtCityMinBS[9]->Text(), "19231");
    EXPECT_EQ(ui().txtCityAmtBM[9]->Text(), "842.92");
    EXPECT_EQ(ui().txtCitySgExp[5]->Text(), "384.8");
    EXPECT_EQ(program.citySettings.NoLocalTax, 1);
    ui().cmdSave->UserClick();
    CityTaxSettings read;
    ASSERT_EQ(ReadCityFile("Worker1.cti", read).status, SettingsFileStatus::Loaded);
    EXPECT_EQ(read, NewYorkCityDefaults());
}

TEST_F(CityWindow, SaveRefusesABoxThatIsNotANumber) {
    window().Show();
    ui().txtCityMinBS[0]->SetText("1");  // valid, before the bad box: still not stored
    struct Case {
        TextBox* box;
        const char* text;
        const char* message;
    };
    const std::vector<Case> cases{
        {ui().txtCityAmtBS[2], " ",
         "Line 3 of the SINGLE table, Amount to Withhold, does not hold a number."},
        {ui().txtCityPerBM[9], "-",
         "Line 10 of the MARRIED table, Multiply by Percentage in Decimal, does not hold a "
         "number."},
        {ui().txtCityMinBM[0], ".",
         "Line 1 of the MARRIED table, Minimum Range, does not hold a number."},
        {ui().txtCitySgExp[1], "1-2",
         "The SINGLE Withholding Allowance for 1 exemption does not hold a number."},
        {ui().txtCityMarExp[5], "1 2",
         "The MARRIED Withholding Allowance for 5 exemptions does not hold a number."}};
    for (const Case& c : cases) {
        c.box->SetText(c.text);
        window().CheckFor();
        EXPECT_EQ(c.box->Text(), c.text);  // not blank, so not filled in
        ui().cmdSave->UserClick();
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text, c.message);
        EXPECT_TRUE(window().IsVisible());
        EXPECT_TRUE(c.box->HasFocus()) << c.message;
        EXPECT_EQ(program.citySettings, NewYorkCityDefaults());
        c.box->SetText("");
    }
    EXPECT_EQ(host.messages.size(), cases.size());
    EXPECT_FALSE(FileExists("Worker1.cti"));
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(program.citySettings.SingleBrackets[0].Minimum, 1.0F);
}

TEST_F(CityWindow, CorruptedFileIsReportedAndNotShown) {
    WriteFile("Worker1.cti", "1,2,3,4,5,6\r\n7,8,x\r\n");
    window().Show();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(StandardPart(host.messages[0].text),
              "You have corupted a file.\r\nFind file,\r\nWorker1.cti\r\nand delete it.");
    EXPECT_EQ(host.messages[0].title, "Kestrel");
    // The boxes were never filled from the file, so the blank ones got the built-in values.
    EXPECT_EQ(ui().txtCityMinBS[0]->Text(), "0");
    EXPECT_EQ(ui().txtCityMinBS[1]->Text(), "308");
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(CityWindow, FileValuesAreShownStoredAndSavedBack) {
    CityTaxSettings saved = NewYorkCityDefaults();
    saved.SingleBrackets[0] = {12.5F, 1.25F, 0.5F};
    saved.MarriedExemptions[9] = 600;
    ASSERT_TRUE(WriteCityFile("Worker1.cti", saved).ok);
    program.citySettings = CityTaxSettings{};
    window().Show();
    EXPECT_EQ(ui().txtCityMinBS[0]->Text(), "12.5");
    EXPECT_EQ(ui().txtCityAmtBS[0]->Text(), "1.25");
    EXPECT_EQ(ui().txtCityMarExp[9]->Text(), "600");
    EXPECT_EQ(program.citySettings, saved);
    ui().txtCityPerBM[6]->SetText("0.05");
    ui().cmdSave->UserClick();
    EXPECT_EQ(program.citySettings.MarriedBrackets[6].Percent, 0.05F);
    EXPECT_NE(ReadFile("Worker1.cti").find("\r\n3846,142.35,0.044,3846,142.35,0.05\r\n"),
              std::string::npos);
    window().Show();
    EXPECT_EQ(ui().txtCityPerBM[6]->Text(), "0.05");
}

TEST_F(CityWindow, WriteFailureIsReportedAndTheWindowStaysOpen) {
    // A folder in the file's place is no file to read either.
    std::filesystem::create_directory("Worker1.cti");
    window().Show();
    ui().cmdSave->UserClick();
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              (std::vector<std::string>{
                  "You have corupted a file.\r\nFind file,\r\nWorker1.cti\r\nand delete it.",
                  "Check your numbers\r\nNo blanks\r\nOnly numbers"}));
    EXPECT_TRUE(window().IsVisible());
}

}  // namespace
}  // namespace kestrel

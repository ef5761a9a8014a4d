#include "employee/dialog_header.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/program.h"
#include "employee/company_header.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

const CompanyHeader kAcme{"Acme, Inc.", "1 Main St", "Springfield, IL 62701", "12-3456789"};
const CompanyHeader kPlaceholders{"Company", "Address", "Zip Code", "ID Number"};

TEST(HeaderFile, OneLineOfFourTextsWrittenAndReadBack) {
    TempWorkDir dir;
    CompanyHeader header;
    EXPECT_FALSE(LoadCompanyHeader(header).has_value());  // no file: nothing to read
    EXPECT_EQ(header, CompanyHeader{});

    ASSERT_TRUE(SaveHeader(kAcme).ok);
    EXPECT_EQ(ReadFile("Header.sav"),
              "\"Acme, Inc.\",\"1 Main St\",\"Springfield, IL 62701\",\"12-3456789\"\r\n");
    EXPECT_FALSE(LoadCompanyHeader(header).has_value());
    EXPECT_EQ(header, kAcme);
}

TEST(HeaderFile, DamagedFileIsRefusedWhole) {
    struct Case {
        const char* name;
        const char* text;
        std::size_t field;
    };
    const std::vector<Case> cases{
        {"three lines only", "\"A\",\"B\",\"C\"\r\n", 4},
        {"unclosed quote", "\"A\",\"B,C,D\r\n", 2},
        {"empty", "", 1},
    };
    TempWorkDir dir;
    for (const Case& c : cases) {
        WriteFile("Header.sav", c.text);
        CompanyHeader header = kAcme;
        const std::optional<ReadError> error = LoadCompanyHeader(header);
        ASSERT_TRUE(error.has_value()) << c.name;
        EXPECT_EQ(error->field, c.field) << c.name;
        EXPECT_EQ(header, kAcme) << c.name;
    }
}

class HeaderWindow : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogHeader& window() { return program.dialogHeader; }
    DialogHeaderUi& ui() { return program.dialogHeader.ui(); }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (TextBox* box : ui().txtHeader)
            texts.push_back(box->Text());
        return texts;
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(HeaderWindow, FirstRunShowsPlaceholdersAndCancelKeepsThemInTheRecord) {
    window().OpenWindow();
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Company", "Address", "Zip Code", "ID Number"}));
    EXPECT_EQ(program.header, kPlaceholders);
    ui().txtHeader[0]->SetText("Typed, not kept");
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(program.header, kPlaceholders);
    EXPECT_FALSE(FileExists("Header.sav"));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HeaderWindow, FileFieldsAreShownAndOnlyEmptyOnesTakeAPlaceholder) {
    WriteFile("Header.sav", "\"Acme\",\"\",\"Springfield\",\"12-3\"\r\n");
    window().OpenWindow();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Acme", "Address", "Springfield", "12-3"}));
    EXPECT_EQ(program.header, (CompanyHeader{"Acme", "Address", "Springfield", "12-3"}));
}

TEST_F(HeaderWindow, OkStoresAndWritesADoubleQuoteAsASingleQuote) {
    window().OpenWindow();
    ui().txtHeader[0]->SetFocus();
    EXPECT_EQ(ui().txtHeader[0]->SelLength(), 7);
    ui().txtHeader[0]->Type("Joe's \"Best\" Bakery");
    ui().txtHeader[3]->SetText("99-1");
    ui().cmdOK->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    const CompanyHeader expected{"Joe's 'Best' Bakery", "Address", "Zip Code", "99-1"};
    EXPECT_EQ(program.header, expected);
    EXPECT_EQ(ReadFile("Header.sav"),
              "\"Joe's 'Best' Bakery\",\"Address\",\"Zip Code\",\"99-1\"\r\n");
    // Another employee in the same folder, in a later run, gets the same header.
    ScriptedHost otherHost;
    Program other{otherHost};
    other.ActiveUser = "Worker2";
    other.dialogHeader.OpenWindow();
    EXPECT_EQ(other.header, expected);
    EXPECT_EQ(other.dialogHeader.ui().txtHeader[0]->Text(), "Joe's 'Best' Bakery");
}

TEST_F(HeaderWindow, DamagedFileIsReportedAndPlaceholdersFillTheEmptyFields) {
    WriteFile("Header.sav", "\"Acme\",\"Main St\"\r\n");
    program.FollowWorkingFolder();  // as at start-up: the damaged file is not read
    program.header.CompanyName = "Earlier";
    window().OpenWindow();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The company heading file is damaged and was not read:\r\nHeader.sav, line 2, field "
              "3: unexpected end of file\r\nBefore a save replaces it, it will be kept as "
              "Header.sav.damaged.");
    EXPECT_EQ(program.header, (CompanyHeader{"Earlier", "Address", "Zip Code", "ID Number"}));
    EXPECT_EQ(ui().txtHeader[0]->Text(), "Earlier");
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(HeaderWindow, FailedSaveIsReportedAndTheWindowAndRecordStay) {
    std::filesystem::create_directory("Header.sav");
    window().OpenWindow();
    // A folder is no heading file to read either.
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The company heading file is damaged and was not read:\r\nHeader.sav: is a "
              "directory");
    host.messages.clear();
    ui().txtHeader[1]->SetText("2 Elm St");
    ui().cmdOK->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].text.rfind("The company heading could not be saved to Header.sav:", 0), 0u)
        << host.messages[0].text;
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(ui().txtHeader[1]->Text(), "2 Elm St");
    EXPECT_EQ(program.header, kPlaceholders);
    EXPECT_TRUE(std::filesystem::is_empty("Header.sav"));
}

TEST_F(HeaderWindow, OpeningAWindowOnScreenKeepsWhatWasTyped) {
    window().OpenWindow();
    ui().txtHeader[2]->SetText("Albany, NY 12207");
    ASSERT_TRUE(SaveHeader(kAcme).ok);
    window().OpenWindow();
    EXPECT_EQ(ui().txtHeader[2]->Text(), "Albany, NY 12207");
    EXPECT_EQ(program.header, kPlaceholders);
}

TEST_F(HeaderWindow, LayoutShowsEveryCaptionApart) {
    window().OpenWindow();
    EXPECT_EQ(window().Caption(), "Print Out Heading");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);
    testing::ExpectControlsInsideAndApart(window());
    const std::multiset<std::string> texts = testing::ShownTexts(window());
    for (const char* text :
         {"Company Name", "Address", "City, State Zip", "ID Number", "OK", "Cancel"})
        EXPECT_EQ(texts.count(text), 1u) << text;
    for (const Label* label : ui().lbHeader)
        EXPECT_GE(label->Geometry().width, 100 * static_cast<int>(label->Caption().size()));
}

}  // namespace
}  // namespace kestrel

#include "employee/leave_balances.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/program.h"
#include "employee/dialog_vac.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

// Something in the first and the last entry of every account. Holiday is overdrawn.
LeaveBalances Sample() {
    LeaveBalances leave;
    leave.VacationBalance = 7.8F;
    leave.VacationStart = 10;
    leave.HolidayBalance = -1.5F;
    leave.HolidayStart = 1;
    leave.SickBalance = 0.25F;
    leave.SickStart = 5;
    leave.VacationTaken[0] = 2.2F;
    leave.HolidayTaken[0] = 2;
    leave.SickTaken[0] = 4;
    leave.HolidayTaken[19] = 0.5F;
    leave.SickTaken[19] = 0.75F;
    leave.VacationDates[0] = "1/3/05";
    leave.HolidayDates[0] = "New Year, 1/1";
    leave.SickDates[0] = "2/7-2/10";
    leave.SickDates[19] = "12/30/05";
    return leave;
}

std::string SampleText(int lines = 41) {
    std::vector<std::string> text{"7.8,10,-1.5,1,0.25,5", "2.2,2,4"};
    for (int k = 1; k < 19; ++k)
        text.emplace_back("0,0,0");
    text.emplace_back("0,0.5,0.75");
    text.emplace_back(R"("1/3/05","New Year, 1/1","2/7-2/10")");
    for (int k = 1; k < 19; ++k)
        text.emplace_back(R"("","","")");
    text.emplace_back(R"("","","12/30/05")");
    std::string joined;
    for (int i = 0; i < lines; ++i)
        joined += text[static_cast<std::size_t>(i)] + "\r\n";
    return joined;
}

TEST(LeaveFile, WritesFortyOneLinesAndReadsThemBack) {
    TempWorkDir dir;
    RecordWriter records = LeaveRecords("Worker1.hol", Sample());
    EXPECT_EQ(records.Contents(), SampleText());
    ASSERT_TRUE(records.Commit().ok);
    LeaveBalances read;
    read.SickDates[5] = "stale";
    EXPECT_FALSE(ReadLeaveFile("Worker1.hol", read).has_value());
    EXPECT_EQ(read, Sample());
}

TEST(LeaveFile, DamagedFileIsRefusedWhole) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t line;
        std::size_t field;
    };
    std::string notNumeric = SampleText();
    notNumeric.replace(notNumeric.find("0,0,0"), 5, "0,x,0");
    const std::vector<Case> cases{
        {"last line missing", SampleText(40), 41, 124},
        {"only the balances", SampleText(1), 2, 7},
        {"empty", "", 1, 1},
        {"not a number", notNumeric, 3, 11},
    };
    TempWorkDir dir;
    for (const Case& c : cases) {
        WriteFile("Worker1.hol", c.text);
        LeaveBalances leave;
        leave.VacationStart = 3;
        const std::optional<ReadError> error = ReadLeaveFile("Worker1.hol", leave);
        ASSERT_TRUE(error.has_value()) << c.name;
        EXPECT_EQ(error->line, c.line) << c.name;
        EXPECT_EQ(error->field, c.field) << c.name;
        LeaveBalances untouched;
        untouched.VacationStart = 3;
        EXPECT_EQ(leave, untouched) << c.name;
    }
}

TEST(LeaveFile, FailedWriteLeavesThePreviousFile) {
    TempWorkDir dir;
    ASSERT_TRUE(LeaveRecords("Worker1.hol", Sample()).Commit().ok);
    RecordWriter records = LeaveRecords("Worker1.hol", LeaveBalances{});
    records.FailAfterBytes(20);
    EXPECT_FALSE(records.Commit().ok);
    EXPECT_EQ(ReadFile("Worker1.hol"), SampleText());
}

// One account's controls, so a case can run over all three.
struct AccountBoxes {
    TextBox* start;
    Label* balance;
    DialogVacUi::Entries* taken;
    DialogVacUi::Entries* dates;
};

class LeaveWindow : public ::testing::Test {
  protected:
    LeaveWindow() { program.ActiveUser = "Worker1"; }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogVac& window() { return program.dialogVac; }
    DialogVacUi& ui() { return program.dialogVac.ui(); }
    std::vector<AccountBoxes> Accounts() {
        return {{ui().txtVacBal, ui().lbVacBal, &ui().txtVcnt, &ui().txtVdate},
                {ui().txtHolBal, ui().lbHolBal, &ui().txtHcnt, &ui().txtHdate},
                {ui().txtSickBal, ui().lbSickBal, &ui().txtScnt, &ui().txtSdate}};
    }
    // Types as the user does: entering a box selects its text, so typing replaces it.
    static void Enter(TextBox* box, std::string_view keys) {
        box->SetFocus();
        box->Type(keys);
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(LeaveWindow, BalanceIsStartLessTheSingleSumOfTaken) {
    struct Case {
        const char* name;
        const char* start;
        std::vector<const char*> taken;
        const char* balance;
    };
    const std::vector<Case> cases{
        {"three entries", "10", {"1", "2", "3"}, "4"},
        {"taken read in single", "10", {"2.2"}, "7.79999995231628"},
        {"each addition rounded to single", "1", {"0.1", "0.2"}, "0.699999988079071"},
        {"entry emptied counts 0", "10", {"1", "7\b", "2.5"}, "6.5"},
        {"more taken than started", "1", {"2", "0.5"}, "-1.5"},
        {"empty start", "\b", {"0.5"}, "-0.5"},
    };
    window().OpenWindow();
    for (const AccountBoxes& account : Accounts()) {
        for (const Case& c : cases) {
            window().clearVac();
            Enter(account.start, c.start);
            for (std::size_t k = 0; k < c.taken.size(); ++k)
                Enter((*account.taken)[k + 5], c.taken[k]);
            EXPECT_EQ(account.balance->Caption(), c.balance)
                << account.start->QualifiedName() << ": " << c.name;
        }
    }
}

TEST_F(LeaveWindow, SaveWritesTheWindowStoresShownBalancesAndReopensRecomputed) {
    window().OpenWindow();
    EXPECT_EQ(ui().txtVacBal->Text(), "0");
    // What Sample() holds, as the user types it.
    const std::vector<std::pair<TextBox*, const char*>> typed{
        {ui().txtVacBal, "10"},         {ui().txtHolBal, "1"},
        {ui().txtSickBal, "5"},         {ui().txtVcnt[0], "2.2"},
        {ui().txtHcnt[0], "2"},         {ui().txtScnt[0], "4"},
        {ui().txtHcnt[19], "0.5"},      {ui().txtScnt[19], "0.75"},
        {ui().txtVdate[0], "1/3/05"},   {ui().txtHdate[0], "New Year, 1/1"},
        {ui().txtSdate[0], "2/7-2/10"}, {ui().txtSdate[19], "12/30/05"}};
    for (const auto& [box, keys] : typed)
        Enter(box, keys);
    EXPECT_EQ(ui().lbVacBal->Caption(), "7.79999995231628");
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(ReadFile("Worker1.hol"), SampleText());
    // The shown balance taken into single precision, which the file writes as 7.8.
    EXPECT_EQ(program.leave.VacationBalance, *StrictSingle("7.79999995231628"));
    LeaveBalances expected = Sample();
    expected.VacationBalance = program.leave.VacationBalance;
    EXPECT_EQ(program.leave, expected);

    window().OpenWindow();
    EXPECT_EQ(ui().lbVacBal->Caption(), "7.79999995231628");
    EXPECT_EQ(ui().lbHolBal->Caption(), "-1.5");
    EXPECT_EQ(ui().txtHdate[0]->Text(), "New Year, 1/1");
    EXPECT_EQ(ui().txtScnt[19]->Text(), "0.75");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LeaveWindow, SaveFromAWindowNeverOpenedWritesTheRecord) {
    program.leave = Sample();
    EXPECT_TRUE(window().SaveVac());
    EXPECT_EQ(ReadFile("Worker1.hol"), SampleText());
}

TEST_F(LeaveWindow, GetVacReadsTheFileAndAMissingFileKeepsThePreviousEmployee) {
    ASSERT_TRUE(LeaveRecords("Worker1.hol", Sample()).Commit().ok);
    window().GetVac();
    EXPECT_EQ(program.leave, Sample());
    EXPECT_EQ(ui().txtVcnt[0]->Text(), "2.2");
    EXPECT_EQ(ui().txtSdate[19]->Text(), "12/30/05");
    EXPECT_EQ(ui().lbSickBal->Caption(), "0.25");

    program.ActiveUser = "Worker2";
    window().OpenWindow();
    EXPECT_EQ(program.leave, Sample());
    EXPECT_EQ(ui().txtHcnt[19]->Text(), "0.5");
    EXPECT_EQ(ui().lbHolBal->Caption(), "-1.5");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LeaveWindow, DamagedFileIsReportedAndTheRecordIsShownUnchanged) {
    program.leave = Sample();
    std::string text = SampleText();
    text.replace(text.find("2.2,2,4"), 7, "2.2,2,four");
    WriteFile("Worker1.hol", text);
    window().OpenWindow();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The leave balances file is damaged and was not read:\r\nWorker1.hol, line 2, field "
              "9: not a number: \"four\"\r\nBefore a save replaces it, it will be kept as "
              "Worker1.hol.damaged.\r\nThe balances held before are kept.");
    EXPECT_EQ(program.leave, Sample());
    EXPECT_EQ(ui().txtVdate[0]->Text(), "1/3/05");
    EXPECT_EQ(ui().lbVacBal->Caption(), "7.79999995231628");
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(LeaveWindow, ClearAllEmptiesWindowAndRecord) {
    program.leave = Sample();
    window().OpenWindow();
    ui().cmdClearAll->UserClick();
    EXPECT_EQ(program.leave, LeaveBalances{});
    EXPECT_TRUE(window().IsVisible());
    for (const AccountBoxes& account : Accounts()) {
        EXPECT_EQ(account.start->Text(), "0");
        EXPECT_EQ(account.balance->Caption(), "0");
        for (std::size_t k = 0; k < 20; ++k) {
            EXPECT_EQ((*account.taken)[k]->Text(), "0");
            EXPECT_EQ((*account.dates)[k]->Text(), "");
        }
    }
}

TEST_F(LeaveWindow, NumberBoxesTakeNumberKeysAndEveryBoxSelectsOnEntry) {
    window().OpenWindow();
    for (const AccountBoxes& account : Accounts()) {
        std::vector<TextBox*> numbers{account.start};
        numbers.insert(numbers.end(), account.taken->begin(), account.taken->end());
        for (TextBox* box : numbers) {
            Enter(box, "4x-.a 2$");
            EXPECT_EQ(box->Text(), "4-. 2") << box->QualifiedName();
        }
        for (TextBox* box : *account.dates) {
            Enter(box, "May 5, '05 (a.m.)");
            EXPECT_EQ(box->Text(), "May 5, '05 (a.m.)") << box->QualifiedName();
            window().SetFocus(nullptr);
            box->SetFocus();
            EXPECT_EQ(box->SelLength(), 17) << box->QualifiedName();
        }
    }
}

TEST_F(LeaveWindow, DoubleQuoteInADateIsKeptAsASingleQuote) {
    window().OpenWindow();
    Enter(ui().txtHdate[3], "July \"4\"");
    ui().cmdSave->UserClick();
    EXPECT_NE(ReadFile("Worker1.hol").find("\r\n\"\",\"July '4'\",\"\"\r\n"), std::string::npos);
    EXPECT_EQ(program.leave.HolidayDates[3], "July '4'");
    window().OpenWindow();
    EXPECT_EQ(ui().txtHdate[3]->Text(), "July '4'");
}

TEST_F(LeaveWindow, FailedSaveIsReportedAndKeepsTheWindowOpen) {
    std::filesystem::create_directory("Worker1.hol");
    window().OpenWindow();
    // A folder is no leave file to read either.
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Worker1.hol: is a directory"), std::string::npos)
        << host.messages[0].text;
    host.messages.clear();
    Enter(ui().txtSickBal, "3");
    ui().cmdSave->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].text.rfind("The leave balances could not be saved to Worker1.hol:", 0), 0u)
        << host.messages[0].text;
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(ui().txtSickBal->Text(), "3");
    EXPECT_FALSE(window().SaveVac());
    EXPECT_TRUE(std::filesystem::is_directory("Worker1.hol"));
    EXPECT_TRUE(std::filesystem::is_empty("Worker1.hol"));
}

TEST_F(LeaveWindow, OpeningAWindowOnScreenKeepsWhatWasTyped) {
    ASSERT_TRUE(LeaveRecords("Worker1.hol", Sample()).Commit().ok);
    window().OpenWindow();
    Enter(ui().txtVcnt[4], "1");
    window().OpenWindow();
    EXPECT_EQ(ui().txtVcnt[4]->Text(), "1");
    EXPECT_EQ(ui().lbVacBal->Caption(), "6.79999995231628");
}

// Every control inside the window or its frame, and clear of the others in the same container.
void ExpectInsideTheirContainerAndApart(const Form& form) {
    for (const auto& control : form.Controls()) {
        if (control->Kind() == ControlKind::MenuItem) continue;
        const Rect& r = control->Geometry();
        const Frame* frame = control->Container();
        const Rect& outer = frame != nullptr ? frame->Geometry() : form.Geometry();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= outer.width &&
                    r.top + r.height <= outer.height)
            << control->QualifiedName();
        for (const auto& other : form.Controls()) {
            if (other != control && other->Container() == frame) {
                EXPECT_FALSE(testing::Overlap(r, other->Geometry()))
                    << control->QualifiedName() << " " << other->QualifiedName();
            }
        }
    }
}

TEST_F(LeaveWindow, LayoutFitsA768PixelScreenAndShowsEveryCaption) {
    WriteFile("Kestrel.hlp", "help");
    window().OpenWindow();
    EXPECT_EQ(window().Caption(), "Vacation / Holiday / Sick");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);
    ExpectInsideTheirContainerAndApart(window());
    // 768 pixels are 11520 twips; the title bar, the menu bar and a task bar need the rest.
    EXPECT_LE(window().Geometry().height, 9600);

    const std::multiset<std::string> texts = testing::ShownTexts(window());
    EXPECT_EQ(texts.count("SAVED / ACCUMULATED DAYS"), 1u);
    for (const char* text : {"Start Balance", "Balance", "#Taken", "Dates"})
        EXPECT_EQ(texts.count(text), 3u) << text;
    EXPECT_EQ(texts.count("Save"), 1u);
    EXPECT_EQ(texts.count("Clear All"), 1u);
    EXPECT_EQ(ui().fraVac->Caption(), "Vacation");
    EXPECT_EQ(ui().fraHol->Caption(), "Holiday/Personel");
    EXPECT_EQ(ui().fraSick->Caption(), "Sick");
    // Captions and a balance of 16 characters fit at about 100 twips a character, 120 in bold.
    for (const auto& control : window().Controls()) {
        std::string caption;
        if (const auto* label = dynamic_cast<const Label*>(control.get()))
            caption = label->Caption();
        if (const auto* frame = dynamic_cast<const Frame*>(control.get()))
            caption = frame->Caption();
        if (const auto* button = dynamic_cast<const CommandButton*>(control.get()))
            caption = button->Caption();
        const int perCharacter = control->GetFont().bold ? 120 : 100;
        EXPECT_GE(control->Geometry().width, perCharacter * static_cast<int>(caption.size()))
            << control->QualifiedName();
    }
    for (const AccountBoxes& account : Accounts())
        EXPECT_GE(account.balance->Geometry().width, 1600);

    ASSERT_EQ(window().Menus().size(), 1u);
    EXPECT_EQ(window().Menus()[0]->Caption(), "&Help");
    window().Menus()[0]->UserClick();
    ASSERT_EQ(host.helpShown.size(), 1u);
    EXPECT_EQ(host.helpShown[0], std::filesystem::current_path() / "Kestrel.hlp");
}

}  // namespace
}  // namespace kestrel

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "employee/form2.h"
#include "employee/frm_date.h"
#include "employee/overtime_allowance.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

constexpr std::string_view kEnterAmounts =
    "Please enter amounts in\r\nAnnual Salary and\r\nApproved Percent Boxes.";

class OvertimeWindow : public ::testing::Test {
  protected:
    OvertimeWindow() { program.ActiveUser = "Worker1"; }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted.front(); }

    Form2& window() { return program.form2; }
    Form2Ui& ui() { return program.form2.ui(); }
    OvertimeAllowance& record() { return program.overtime; }

    // Opens the window for a pay frequency with the record's salary and approved percent.
    void Open(bool weekly, float salary, float percent) {
        program.profile.WeeklyPay = weekly;
        program.profile.BiWeeklyPay = !weekly;
        record().AnnualSalary = salary;
        record().ApprovedPercent = percent;
        window().OpenWindow("$45.00", "12/30/05");
    }
    std::vector<std::string> Figures() {
        return {ui().lbEarned->Caption(), ui().lbPresent->Caption(), ui().lbMax->Caption(),
                ui().lbAvailable->Caption()};
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

// Where a control stands on the window, frames taken into account.
Rect OnWindow(const Control& control) {
    Rect r = control.Geometry();
    for (const Frame* frame = control.Container(); frame != nullptr; frame = frame->Container()) {
        r.left += frame->Geometry().left;
        r.top += frame->Geometry().top;
    }
    return r;
}

TEST_F(OvertimeWindow, LayoutFitsASmallScreenWithEveryCaptionAndTip) {
    Open(true, 50000, 10);
    EXPECT_EQ(window().Caption(), "OverTime Percentage");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(window().Geometry().width, 7725);
    // 768 pixels at 15 twips each, less about 40 pixels of title bar and frame.
    EXPECT_LE(window().Geometry().height, 768 * 15 - 40 * 15);

    const std::multiset<std::string> texts = testing::ShownTexts(window());
    for (const char* text :
         {"Annual Salary", "$", "Enter Your Approved Percentage", "%", "OverTime Earned",
          "You are at", "Max. allowable amount at approved percentage ", "Available overtime left",
          "On:", "OT Earned:", "&TOTAL", "&New Week", "&Undo", "&Print", "&Back"}) {
        EXPECT_EQ(texts.count(text), 1u) << text;
    }
    for (const char* heading : {"Week No.", " Week Ending", " O.T. Only"})
        EXPECT_EQ(texts.count(heading), 2u) << heading;
    EXPECT_EQ(ui().fraResults->Caption(), "Results");
    for (std::size_t k = 0; k < kOvertimeRows; ++k)
        EXPECT_EQ(ui().lbRow[k]->Caption(), std::to_string(k + 1));
    EXPECT_EQ(ui().lbOn->Caption(), "12/30/05");
    EXPECT_EQ(ui().lbOtPay->Caption(), "$45.00");

    EXPECT_EQ(ui().txtAnnual->ToolTip(), "Look on your pay stub for SALARY");
    EXPECT_EQ(ui().Text1[30]->ToolTip(), "You have to go back 26 pay periods.");
    EXPECT_EQ(ui().txtOT[3]->ToolTip(), "Fill in your o.t. for the past 26 weeks");
    EXPECT_EQ(ui().lbEarned->ToolTip(), "Total from O.T. Only boxes");
    EXPECT_EQ(ui().lbPresent->ToolTip(), "Present percent rate");
    EXPECT_EQ(ui().lbMax->ToolTip(), "Your limit at the approved % rate");
    EXPECT_EQ(ui().lbAvailable->ToolTip(), "The difference");
    EXPECT_EQ(ui().cmdUndo->ToolTip(), "ONLY BACK TO WHEN FIRST OPENED");
    EXPECT_EQ(ui().cmdAdvance->ToolTip(), "Move up one pay period. Delete 1st wk, add new 26wk.");
    // Print asks for the printer; a cancelled dialog prints nothing, a chosen one the window.
    host.printerAnswers = {false, true};
    ui().cmdPrint->UserClick();
    EXPECT_TRUE(host.imagesPrinted.empty());
    ui().cmdPrint->UserClick();
    EXPECT_EQ(host.imagesPrinted, std::vector<std::string>{"Form2"});

    // Inside the window, inside its frame, and clear of the controls beside it.
    const Rect& form = window().Geometry();
    for (const auto& control : window().Controls()) {
        const Rect r = OnWindow(*control);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= form.width &&
                    r.top + r.height <= form.height)
            << control->QualifiedName();
        if (const Frame* frame = control->Container()) {
            const Rect& inner = control->Geometry();
            EXPECT_TRUE(inner.left >= 0 && inner.top >= 0 &&
                        inner.left + inner.width <= frame->Geometry().width &&
                        inner.top + inner.height <= frame->Geometry().height)
                << control->QualifiedName();
        }
        for (const auto& other : window().Controls()) {
            if (other == control || other->Container() != control->Container()) continue;
            EXPECT_FALSE(testing::Overlap(control->Geometry(), other->Geometry()))
                << control->QualifiedName() << " " << other->QualifiedName();
        }
    }
}

TEST_F(OvertimeWindow, BiWeeklyHidesTheRightColumnAndNarrowsTheWindow) {
    Open(false, 50000, 10);
    EXPECT_EQ(window().Geometry().width, 5055);
    for (const auto& control : window().Controls()) {
        if (!control->EffectivelyVisible()) continue;
        const Rect r = OnWindow(*control);
        EXPECT_LE(r.left + r.width, 5055) << control->QualifiedName();
    }
    EXPECT_TRUE(ui().Text1[25]->Visible());
    EXPECT_FALSE(ui().Text1[26]->Visible());
    EXPECT_FALSE(ui().txtOT[51]->Visible());
    EXPECT_FALSE(ui().lbRow[26]->Visible());
    EXPECT_FALSE(ui().lbWeekEnding[1]->Visible());
    EXPECT_TRUE(ui().lbWeekEnding[0]->Visible());

    // Opening again after a change to weekly pay brings the right column back.
    program.profile.WeeklyPay = true;
    window().OpenWindow("", "");
    EXPECT_EQ(window().Geometry().width, 7725);
    EXPECT_TRUE(ui().Text1[26]->Visible());
    EXPECT_TRUE(ui().lbOtOnly[1]->Visible());
}

TEST_F(OvertimeWindow, NumberBoxesTakeOnlyNumberKeysAndDateBoxesAnyKey) {
    Open(true, 50000, 10);
    std::vector<TextBox*> numbers{ui().txtAnnual, ui().txtApPercent};
    numbers.insert(numbers.end(), ui().txtOT.begin(), ui().txtOT.end());
    for (TextBox* box : numbers) {
        box->SetText("");
        box->Type("1a2/.-x 3");
        EXPECT_EQ(box->Text(), "12.- 3") << box->QualifiedName();
    }
    ui().Text1[7]->Type("12/30/05");
    EXPECT_EQ(ui().Text1[7]->Text(), "12/30/05");
}

TEST_F(OvertimeWindow, WeeklyTotalComparesTheRowsWithTheApprovedLimit) {
    Open(true, 50000, 10);
    ui().txtOT[0]->SetText("1000");
    ui().txtOT[9]->SetText("");  // an empty amount counts as 0 and shows it
    ui().cmdADD->UserClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Figures(), (std::vector<std::string>{"$1,000.00", "2%", "$5,000.00", "$4,000.00"}));
    EXPECT_EQ(ui().txtOT[9]->Text(), "0");
    EXPECT_EQ(record().OvertimeEarned, 1000.0F);
    EXPECT_EQ(record().PresentPercent, static_cast<float>(1000.0 / 50000.0));
    EXPECT_EQ(record().MaxAllowable, 5000.0F);
    EXPECT_EQ(record().OvertimeAvailable, 4000.0F);

    // Every one of the 52 rows counts, and the boxes' current values become the record's.
    ui().txtOT[51]->SetText("250.5");
    ui().txtAnnual->SetText("40000");
    ui().txtApPercent->SetText("12.5");
    ui().cmdADD->UserClick();
    EXPECT_EQ(Figures(),
              (std::vector<std::string>{"$1,250.50", "3.13%", "$5,000.00", "$3,749.50"}));
    EXPECT_EQ(record().AnnualSalary, 40000.0F);
    EXPECT_EQ(record().ApprovedPercent, 12.5F);
}

TEST_F(OvertimeWindow, AvailableGoesNegativeBeyondTheLimit) {
    Open(true, 10000, 5);
    ui().txtOT[3]->SetText("800");
    ui().txtOT[4]->SetText("1-2");  // the leading number, 1, counts
    ui().cmdADD->UserClick();
    EXPECT_EQ(Figures(), (std::vector<std::string>{"$801.00", "8.01%", "$500.00", "-$301.00"}));
    EXPECT_EQ(record().OvertimeAvailable, -301.0F);
}

TEST_F(OvertimeWindow, BiWeeklyTotalsOnlyTheFirstTwentySixRows) {
    Open(false, 26000, 10);
    ui().txtOT[25]->SetText("100");
    ui().txtOT[26]->SetText("700");  // left over from a weekly year, hidden now
    ui().txtOT[40]->SetText("");
    ui().cmdADD->UserClick();
    EXPECT_EQ(Figures(), (std::vector<std::string>{"$100.00", ".38%", "$2,600.00", "$2,500.00"}));
    EXPECT_EQ(ui().txtOT[40]->Text(), "");  // rows not in use are left alone

    // Stored, shifted and written: only the rows in use.
    record().OtAmount[26] = "old";
    ui().Text1[26]->SetText("07/07/05");
    window().StoreRows();
    EXPECT_EQ(record().OtAmount[25], "100");
    EXPECT_EQ(record().OtAmount[26], "old");
    EXPECT_EQ(record().OtWeekEnding[26], "");
    ui().cmdAdvance->UserClick();
    EXPECT_EQ(ui().txtOT[24]->Text(), "100");
    EXPECT_EQ(ui().txtOT[25]->Text(), "0");
    EXPECT_EQ(ui().txtOT[26]->Text(), "700");
    EXPECT_EQ(ui().Text1[26]->Text(), "07/07/05");
}

TEST_F(OvertimeWindow, TotalTellsWhyOnlyWhenTheButtonIsPressed) {
    Open(true, 50000, 10);
    ui().txtOT[0]->SetText("1000");
    window().NotifyPainted();  // a redraw totals
    EXPECT_EQ(ui().lbEarned->Caption(), "$1,000.00");

    struct Case {
        const char* name;
        const char* annual;
        const char* percent;
        std::string message;
    };
    const std::vector<Case> cases{
        {"empty salary", "", "10", std::string(kEnterAmounts)},
        {"empty percent", "50000", "", std::string(kEnterAmounts)},
        {"zero salary", "0", "10", std::string(kEnterAmounts)},
        {"zero salary written long", "-0.0", "10", std::string(kEnterAmounts)},
        {"salary not a number", "1-2", "10",
         "\"1-2\" in Annual Salary is not a number.\r\nNothing was totalled."},
        {"blank salary", " ", "10",
         "\" \" in Annual Salary is not a number.\r\nNothing was totalled."},
        {"percent not a number", "50000", "1.2.3",
         "\"1.2.3\" in Approved Percent is not a number.\r\nNothing was totalled."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.messages.clear();
        ui().txtAnnual->SetText(c.annual);
        ui().txtApPercent->SetText(c.percent);
        ui().txtOT[0]->SetText("2000");
        window().NotifyPainted();
        EXPECT_TRUE(host.messages.empty());
        ui().cmdADD->UserClick();
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, c.message);
        EXPECT_EQ(host.messages[0].title, "Attention");
        EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
        // Nothing was totalled or stored.
        EXPECT_EQ(ui().lbEarned->Caption(), "$1,000.00");
        EXPECT_EQ(record().AnnualSalary, 50000.0F);
        EXPECT_EQ(record().ApprovedPercent, 10.0F);
    }
}

TEST_F(OvertimeWindow, RedrawsOfAHiddenOrClosedWindowDoNothing) {
    Open(true, 50000, 10);
    window().NotifyPainted();
    ui().txtOT[0]->SetText("300");
    window().Hide();
    window().NotifyPainted();
    EXPECT_EQ(ui().lbEarned->Caption(), "$.00");
    ui().cmdClose->UserClick();
    window().NotifyPainted();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(record().OvertimeEarned, 0.0F);
}

TEST_F(OvertimeWindow, FillingFromARecordWithoutSalaryShowsTheDefault) {
    record().OtWeekEnding[0] = "01/07/05";
    record().OtAmount[0] = "12.5";
    record().OtAmount[1] = "";
    Open(true, 0, 0);
    EXPECT_EQ(ui().txtAnnual->Text(), "15600");
    EXPECT_EQ(ui().txtApPercent->Text(), "0");
    EXPECT_EQ(record().AnnualSalary, 0.0F);  // only the box
    EXPECT_EQ(ui().Text1[0]->Text(), "01/07/05");
    EXPECT_EQ(ui().txtOT[0]->Text(), "12.5");
    // A fresh window shows every empty amount as 0.
    EXPECT_EQ(ui().txtOT[1]->Text(), "0");
    EXPECT_EQ(ui().txtOT[51]->Text(), "0");

    record().AnnualSalary = 31200.5F;
    record().ApprovedPercent = 7.5F;
    window().FillInOT();
    EXPECT_EQ(ui().txtAnnual->Text(), "31200.5");
    EXPECT_EQ(ui().txtApPercent->Text(), "7.5");
}

TEST_F(OvertimeWindow, NewWeekOnAFullWeeklyListDropsTheFirstRow) {
    for (std::size_t k = 0; k < kOvertimeRows; ++k) {
        record().OtWeekEnding[k] = "w" + std::to_string(k + 1);
        record().OtAmount[k] = std::to_string(k + 1);
    }
    Open(true, 50000, 10);
    ui().cmdADD->UserClick();
    const std::vector<std::string> before = Figures();
    ui().cmdAdvance->UserClick();
    for (std::size_t k = 0; k + 1 < kOvertimeRows; ++k) {
        EXPECT_EQ(ui().Text1[k]->Text(), "w" + std::to_string(k + 2));
        EXPECT_EQ(ui().txtOT[k]->Text(), std::to_string(k + 2));
    }
    EXPECT_EQ(ui().Text1[51]->Text(), "");
    EXPECT_EQ(ui().txtOT[51]->Text(), "0");
    EXPECT_EQ(Figures(), before);  // until the next total
    EXPECT_EQ(record().OtWeekEnding[0], "w1");
}

TEST_F(OvertimeWindow, BackAndTheCloseBoxKeepTheRowsInMemoryOnly) {
    Open(true, 50000, 10);
    ui().Text1[2]->SetText("01/21/05");
    ui().txtOT[2]->SetText("");
    ui().cmdClose->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(record().OtWeekEnding[2], "01/21/05");
    EXPECT_EQ(record().OtAmount[2], "");  // as shown
    EXPECT_FALSE(FileExists("Worker1.ovw"));

    Open(true, 50000, 10);
    EXPECT_EQ(ui().Text1[2]->Text(), "01/21/05");
    ui().txtOT[5]->SetText("33");
    EXPECT_TRUE(window().UserClose());
    EXPECT_EQ(record().OtAmount[5], "33");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(OvertimeWindow, UndoShowsTheRecordAgain) {
    record().OtAmount[0] = "10";
    Open(true, 50000, 10);
    ui().txtOT[0]->SetText("99");
    ui().txtAnnual->SetText("1");
    ui().cmdUndo->UserClick();
    EXPECT_EQ(ui().txtOT[0]->Text(), "10");
    EXPECT_EQ(ui().txtAnnual->Text(), "50000");
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(OvertimeWindow, ClearAllStartsANewEmployee) {
    program.profile.WeeklyPay = false;
    record().OtAmount[0] = "5";
    record().OtWeekEnding[30] = "06/30/05";
    record().OtAmount[30] = "7";
    record().AnnualSalary = 80000;
    record().ApprovedPercent = 8;
    window().ClearAll();
    EXPECT_EQ(ui().txtApPercent->Text(), "0");
    EXPECT_EQ(ui().txtAnnual->Text(), "11440");
    EXPECT_EQ(Figures(), (std::vector<std::string>{"$.00", "0%", "$.00", "$.00"}));
    for (std::size_t k = 0; k < kOvertimeRows; ++k) {
        EXPECT_EQ(ui().txtOT[k]->Text(), "0");
        EXPECT_EQ(ui().Text1[k]->Text(), "");
        EXPECT_EQ(record().OtAmount[k], "0");
        EXPECT_EQ(record().OtWeekEnding[k], "");
    }
    EXPECT_EQ(record().AnnualSalary, 11440.0F);
    EXPECT_EQ(record().ApprovedPercent, 0.0F);
    EXPECT_EQ(record().MaxAllowable, 0.0F);
    EXPECT_EQ(record().OvertimeAvailable, 0.0F);
}

TEST_F(OvertimeWindow, StoreRowsAndBoxTextsFeedTheSave) {
    Open(true, 50000, 10);
    ui().txtOT[0]->SetText("1000");
    ui().txtOT[7]->SetText("");
    ui().Text1[7]->SetText("02/18/05");
    ui().cmdADD->UserClick();
    ui().txtOT[7]->SetText("");
    window().StoreRows();
    EXPECT_EQ(ui().txtOT[7]->Text(), "0");
    EXPECT_EQ(record().OtAmount[7], "0");
    EXPECT_EQ(record().OtWeekEnding[7], "02/18/05");
    EXPECT_EQ(record().OtAmount[0], "1000");
    const OvertimeBoxTexts texts = window().BoxTexts();
    EXPECT_EQ(texts.annualSalary, "50000");
    EXPECT_EQ(texts.approvedPercent, "10");
    EXPECT_EQ(texts.maxAllowable, "$5,000.00");
    EXPECT_EQ(texts.available, "$4,000.00");
}

TEST_F(OvertimeWindow, KeysMoveAmongTheRowsInUse) {
    struct Case {
        const char* name;
        bool weekly;
        bool amountColumn;
        int row;
        Key key;
        int row_after;
        bool amount_after;
    };
    const std::vector<Case> cases{
        {"enter to the next date", true, false, 4, Key::Enter, 5, false},
        {"enter wraps after row 52", true, false, 51, Key::Enter, 0, false},
        {"enter wraps after row 26 bi-weekly", false, false, 25, Key::Enter, 0, false},
        {"enter crosses to the right column", true, true, 25, Key::Enter, 26, true},
        {"up on the first row stays", true, false, 0, Key::Up, 0, false},
        {"up", true, true, 9, Key::Up, 8, true},
        {"down on the last weekly row stays", true, true, 51, Key::Down, 51, true},
        {"down on the last bi-weekly row stays", false, false, 25, Key::Down, 25, false},
        {"down", false, true, 3, Key::Down, 4, true},
        {"right to the amount", true, false, 12, Key::Right, 12, true},
        {"left to the date", true, true, 40, Key::Left, 40, false},
        {"right in an amount stays", true, true, 7, Key::Right, 7, true},
        {"left in a date stays", true, false, 7, Key::Left, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.weekly, 50000, 10);
        auto& column = c.amountColumn ? ui().txtOT : ui().Text1;
        TextBox& start = *column[static_cast<std::size_t>(c.row)];
        start.SetText("12");
        start.SetFocus();
        EXPECT_EQ(start.SelLength(), 2);  // entering selects the whole text
        start.UserKeyDown(c.key);
        auto& expectedColumn = c.amount_after ? ui().txtOT : ui().Text1;
        EXPECT_EQ(window().Focused(), expectedColumn[static_cast<std::size_t>(c.row_after)]);
        window().Unload();
    }
}

TEST_F(OvertimeWindow, DatePickerWritesIntoTheClickedRow) {
    Open(true, 50000, 10);
    ui().Text1[3]->SetText("02/04/05");
    std::vector<Date> shown;
    host.onModal["frmDate"] = [&](Form&) {
        frmDateUi& picker = program.dateOvertime.ui();
        shown.push_back(picker.DTPicker1->Value());
        picker.DTPicker1->UserPick({2005, 2, 11});
        // Each pick is written at once.
        EXPECT_EQ(program.form2.ui().Text1[3]->Text(), "02/11/05");
        picker.DTPicker1->UserPick({2005, 2, 18});
        picker.cmdOK->UserClick();
    };
    ui().Text1[3]->UserClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Date{2005, 2, 4}));
    EXPECT_EQ(ui().Text1[3]->Text(), "02/18/05");
    EXPECT_FALSE(program.dateOvertime.IsLoaded());
    EXPECT_EQ(ui().Text1[2]->Text(), "");
    EXPECT_EQ(ui().Text1[4]->Text(), "");

    // An empty box starts at today and stays empty until a pick; a box holding no date shows
    // today at once.
    host.onModal["frmDate"] = [&](Form&) {
        shown.push_back(program.dateOvertime.ui().DTPicker1->Value());
        program.dateOvertime.Unload();
    };
    ui().Text1[40]->UserClick();
    EXPECT_EQ(shown.back(), host.today);
    EXPECT_EQ(ui().Text1[40]->Text(), "");
    ui().Text1[41]->SetText("13/45/05");
    ui().Text1[41]->UserClick();
    EXPECT_EQ(shown.back(), host.today);
    EXPECT_EQ(ui().Text1[41]->Text(), "12/30/05");
    EXPECT_EQ(program.dateOvertime.Row(), 41);
}

TEST(OvertimeRowFile, WritesTwoLinesPerRowInUse) {
    OvertimeAllowance ot;
    for (std::size_t k = 0; k < kOvertimeRows; ++k)
        ot.OtAmount[k] = "0";
    ot.OtWeekEnding[0] = "01/07/05";
    ot.OtAmount[0] = "12.5";
    ot.OtAmount[1] = "1-2";  // the leading number
    ot.OtAmount[2] = "";
    ot.OtWeekEnding[51] = "12/30/05";
    ot.OtAmount[51] = "7";

    const std::string weekly = OvertimeRowRecords("W.ovw", ot, true).Contents();
    std::string expected = "\"01/07/05\"\r\n12.5\r\n\"\"\r\n1\r\n\"\"\r\n0\r\n";
    for (int k = 3; k < 51; ++k)
        expected += "\"\"\r\n0\r\n";
    expected += "\"12/30/05\"\r\n7\r\n";
    EXPECT_EQ(weekly, expected);

    const std::string biWeekly = OvertimeRowRecords("W.ovb", ot, false).Contents();
    std::size_t lines = 0;
    for (char c : biWeekly)
        lines += c == '\n' ? 1 : 0;
    EXPECT_EQ(lines, 52u);
    EXPECT_EQ(biWeekly, expected.substr(0, biWeekly.size()));
    EXPECT_EQ(OvertimeFileName("Worker1", true), "Worker1.ovw");
    EXPECT_EQ(OvertimeFileName("Worker1", false), "Worker1.ovb");
}

TEST(OvertimeRowFile, RoundTripMapsADoubleQuoteToASingleQuote) {
    TempWorkDir dir;
    OvertimeAllowance ot;
    ot.OtWeekEnding[0] = "1\"7\"05";
    ot.OtAmount[0] = "40.25";
    ot.OtWeekEnding[25] = "a, b";
    ot.OtAmount[25] = "3";
    ot.OtAmount[26] = "not stored";
    ASSERT_TRUE(OvertimeRowRecords("Worker1.ovb", ot, false).Commit().ok);
    EXPECT_EQ(ReadFile("Worker1.ovb").substr(0, 17), "\"1'7'05\"\r\n40.25\r\n");

    OvertimeAllowance read;
    read.OtAmount[26] = "kept";
    ASSERT_FALSE(ReadOvertimeRows("Worker1.ovb", false, read).has_value());
    EXPECT_EQ(read.OtWeekEnding[0], "1'7'05");
    EXPECT_EQ(read.OtAmount[0], "40.25");
    EXPECT_EQ(read.OtWeekEnding[25], "a, b");
    EXPECT_EQ(read.OtAmount[25], "3");
    EXPECT_EQ(read.OtAmount[1], "0");  // an empty amount is stored as 0 and read as text
    EXPECT_EQ(read.OtAmount[26], "kept");
}

TEST(OvertimeRowFile, ShortFileChangesNothing) {
    TempWorkDir dir;
    OvertimeAllowance ot;
    ot.OtAmount[0] = "9";
    ASSERT_TRUE(OvertimeRowRecords("Worker1.ovb", ot, false).Commit().ok);
    // A bi-weekly file read as weekly ends after 26 rows.
    OvertimeAllowance read;
    read.OtAmount[0] = "before";
    const auto error = ReadOvertimeRows("Worker1.ovb", true, read);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, 53u);
    EXPECT_EQ(read.OtAmount[0], "before");
}

}  // namespace
}  // namespace kestrel

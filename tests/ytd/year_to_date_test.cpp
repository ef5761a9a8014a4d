// The year-to-date view driven as a user drives it: open it from the main window, post the period
// just calculated, clear and correct rows, close with or without saving.
#include "ytd/year_to_date.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/temp_dir.h"
#include "support/xlsx_reader.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

class YearToDateView : public ::testing::Test {
  protected:
    YearToDateView() {
        for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
            fs::copy_file(entry.path(), entry.path().filename());
        program.Start();
        host.files.push_back(dir.Path() / "Worker1.use");
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        main().mnuOpen->UserClick();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    Form1Ui& main() { return program.form1.ui(); }
    frmYearUi& grid() { return program.ytdGrid.ui(); }
    frmYearTotUi& strip() { return program.ytdTotals.ui(); }
    std::string Cell(int week, YtdColumn column) {
        return program.ytdGrid.AmountText(week, column);
    }
    std::string Total(YtdColumn column) { return program.ytdTotals.TotalText(column); }
    void Calculate(const char* weekEnding, const char* hours) {
        main().txtWeekEnd->SetText(weekEnding);
        main().txtEntry[0]->SetText(hours);
        main().cmdCal->UserClick();
    }
    void CloseAnswering(MsgResult answer) {
        host.answers.push_back(answer);
        grid().cmdClose->UserClick();
    }
    bool Stored(std::string_view text) {
        return ReadFile("Worker1.yrw").find(text) != std::string::npos;
    }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(YearToDateView, PostingAPeriodSavingAndReopeningKeepsTheRow) {
    Calculate("02/04/05", "40");
    main().cmdYear->UserClick();
    ASSERT_TRUE(program.ytdContainer.IsVisible());
    EXPECT_TRUE(program.ytdGrid.IsVisible());
    EXPECT_TRUE(program.ytdTotals.IsVisible());
    EXPECT_EQ(program.ytdContainer.Caption(), "Year To Date");
    // The stored rows show with two decimals, unposted ones as .00.
    EXPECT_EQ(Cell(1, YtdColumn::Gross), "666.50");
    EXPECT_EQ(Cell(6, YtdColumn::Gross), ".00");
    const std::string grossBefore = Total(YtdColumn::Gross);
    EXPECT_EQ(grossBefore, "2752.38");

    grid().lbWeekNo[4]->UserClick();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(5), "02/04/05");
    EXPECT_EQ(Cell(5, YtdColumn::Federal), main().lbTax[0]->Caption());
    EXPECT_EQ(Cell(5, YtdColumn::State), main().lbTax[3]->Caption());
    EXPECT_EQ(Cell(5, YtdColumn::CreditUnion), "25.00");
    EXPECT_EQ(Cell(5, YtdColumn::Gross), "620.00");
    EXPECT_EQ(Cell(5, YtdColumn::Net), FormatNumber(program.result.NetPay, "#####.00"));
    EXPECT_EQ(Cell(5, YtdColumn::Overtime), ".00");
    EXPECT_EQ(Total(YtdColumn::Gross), "3372.38");
    EXPECT_EQ(program.ytd.Row(5).Gross, 620.0f);

    CloseAnswering(MsgResult::Yes);
    EXPECT_EQ(host.messages.back().text, "     Do you want to save YTD");
    EXPECT_EQ(host.messages.back().title, "Save?");
    EXPECT_FALSE(program.ytdContainer.IsLoaded());
    EXPECT_FALSE(program.ytdGrid.IsLoaded());
    // The file is what the register writer makes of the register as posted.
    RecordWriter expected =
        AnnualRecords(program.ytd, "Worker1", true, RegisterGridTexts(program.ytd));
    EXPECT_EQ(ReadFile("Worker1.yrw"), expected.Contents());

    main().mnuYear->UserClick();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(5), "02/04/05");
    EXPECT_EQ(Cell(5, YtdColumn::Gross), "620.00");
    EXPECT_EQ(Total(YtdColumn::Gross), "3372.38");
}

TEST_F(YearToDateView, ClosingWithNoOrReopeningDropsTheEdits) {
    const std::string stored = ReadFile("Worker1.yrw");
    main().cmdYear->UserClick();
    grid().lbWeekNo[1]->UserMouseDown(MouseButton::Right);
    EXPECT_EQ(Total(YtdColumn::Gross), "2084.38");
    // Choosing Year to Date again asks first; No reloads the file.
    host.answers.push_back(MsgResult::No);
    main().cmdYear->UserClick();
    EXPECT_EQ(Cell(2, YtdColumn::Gross), "668.00");
    EXPECT_EQ(Total(YtdColumn::Gross), "2752.38");
    grid().lbWeekNo[1]->UserMouseDown(MouseButton::Right);
    CloseAnswering(MsgResult::No);
    EXPECT_NE(std::find(host.events.begin(), host.events.end(), "front Form1"), host.events.end());
    EXPECT_EQ(ReadFile("Worker1.yrw"), stored);
    main().cmdYear->UserClick();
    EXPECT_EQ(Cell(2, YtdColumn::Gross), "668.00");
}

TEST_F(YearToDateView, DeletingARowLeavesZerosAndDropsTheTotals) {
    main().cmdYear->UserClick();
    program.ytd.Row(4).Cafeteria = 3;
    grid().lbWeekNo[3]->UserMouseDown(MouseButton::Right);
    EXPECT_EQ(program.ytdGrid.WeekEndingText(4), "0");
    for (YtdColumn column : kYtdColumns)
        EXPECT_EQ(Cell(4, column), "0");
    EXPECT_EQ(program.ytd.Row(4).Cafeteria, 0.0f);
    EXPECT_EQ(program.ytd.Row(4).WeekEnding, "0");
    EXPECT_EQ(Total(YtdColumn::Gross), "1954.50");
    EXPECT_EQ(Total(YtdColumn::Overtime), "46.50");
}

TEST_F(YearToDateView, EditedCellsReachTheTotalsAtTheNextAdd) {
    main().cmdYear->UserClick();
    TextBox& net = *program.ytdGrid.EditableCell(1, YtdColumn::Net);
    TextBox& tips = *program.ytdGrid.EditableCell(1, YtdColumn::Tips);
    EXPECT_EQ(program.ytdGrid.EditableCell(1, YtdColumn::Federal), nullptr);
    net.SetText("");
    net.Type("5x0");
    EXPECT_EQ(net.Text(), "50");
    tips.SetText("");
    tips.Type("7x");
    EXPECT_EQ(tips.Text(), "7x");
    // A total typed by hand is overwritten by the next sum.
    strip().txtTotal[0]->SetText("999");
    EXPECT_EQ(Total(YtdColumn::Net), "1981.55");
    program.ytdContainer.ui().mnuAdd->UserClick();
    EXPECT_EQ(Total(YtdColumn::Net), FormatNumber(1981.55 - 481.51 + 50, "#####.00"));
    EXPECT_EQ(Total(YtdColumn::Tips), "7.00");
    EXPECT_EQ(strip().txtTips->Text(), "7.00");
    EXPECT_EQ(Total(YtdColumn::Federal), "178.02");
    EXPECT_EQ(program.ytd.Row(1).Tips, 7.0f);
}

TEST_F(YearToDateView, PostingTakesTheDisplayedFiguresAndTheHiddenAmounts) {
    main().cmdYear->UserClick();
    // As the main window would show a large cafeteria deduction and an SDI amount.
    main().lbCafe->SetCaption("1,250.00");
    main().lbSdi->SetCaption("2.60");
    main().lbSui->SetCaption("");
    main().lbTax[4]->SetCaption("");
    grid().lbWeekNo[9]->UserClick();
    EXPECT_EQ(program.ytd.Row(10).Cafeteria, 1250.0f);
    EXPECT_EQ(program.ytd.Row(10).Sdi, 2.6f);
    EXPECT_EQ(Cell(10, YtdColumn::City), "");
    EXPECT_EQ(strip().txtCafe->Text(), "1250.00");
    EXPECT_EQ(strip().txtSdi->Text(), "2.60");
}

TEST_F(YearToDateView, ClearAllAsksFirstAndTheSaveQuestionAfterItDefaultsToNo) {
    main().cmdYear->UserClick();
    host.answers.insert(host.answers.end(), {MsgResult::No, MsgResult::Yes, MsgResult::No});
    program.ytdContainer.ui().mnuClearAll->UserClick();
    EXPECT_EQ(Total(YtdColumn::Gross), "2752.38");
    program.ytdContainer.ui().mnuClearAll->UserClick();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(1), "0");
    EXPECT_EQ(program.ytdGrid.WeekEndingText(52), "0");
    EXPECT_EQ(Total(YtdColumn::Gross), ".00");
    grid().cmdClose->UserClick();
    EXPECT_EQ(host.messages.at(0).buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(host.messages.at(2).buttons, MsgButtons::YesNoCancelDefaultNo);
}

TEST_F(YearToDateView, TheCloseBoxIsRefusedAndCalculateOrMakeDefaultStoreTheViewFirst) {
    main().cmdYear->UserClick();
    EXPECT_FALSE(program.ytdContainer.UserClose());
    EXPECT_EQ(host.messages.back().text, "USE CLOSE INSTEAD");
    EXPECT_TRUE(program.ytdContainer.IsVisible());
    // Posted, typed and never added, and the register cannot be written: the view stays open.
    grid().lbWeekNo[1]->UserClick();
    program.ytdGrid.EditableCell(1, YtdColumn::Tips)->SetText("3.25");
    fs::remove("Worker1.yrw");
    fs::create_directory("Worker1.yrw");
    Calculate("02/04/05", "40");
    EXPECT_NE(host.messages.back().text.find("Worker1.yrw could not be saved"), std::string::npos);
    const std::size_t asked = host.messages.size();
    fs::remove("Worker1.yrw");
    Calculate("02/04/05", "40");
    EXPECT_EQ(host.messages.size(), asked);
    EXPECT_FALSE(program.ytdContainer.IsLoaded());
    EXPECT_TRUE(Stored("\"00/00/05\""));
    EXPECT_TRUE(Stored(",3.25\r\n"));
    // Permission is given only for the close it was given for.
    main().cmdYear->UserClick();
    EXPECT_FALSE(program.ytdContainer.UserClose());
    grid().lbWeekNo[5]->UserClick();
    main().mnuState->UserClick();
    program.dialogState.ui().cmdMakeDefault->UserClick();
    EXPECT_TRUE(Stored("\"02/04/05\""));
}

TEST_F(YearToDateView, ABiWeeklyEmployeeSeesTheTopHalfOnly) {
    host.files.push_back(dir.Path() / "Worker2.use");
    main().mnuOpen->UserClick();
    main().cmdYear->UserClick();
    EXPECT_EQ(program.ytdGrid.Geometry().height, frmYear::kBiWeeklyHeight);
    EXPECT_EQ(program.ytdTotals.Geometry().top, frmYear::kBiWeeklyHeight);
    EXPECT_EQ(Cell(1, YtdColumn::Tips), "24.00");
    host.answers.push_back(MsgResult::Yes);
    program.ytdContainer.ui().mnuClearAll->UserClick();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(26), "0");
    EXPECT_EQ(program.ytdGrid.WeekEndingText(27), "");
    // Week numbers beyond the rows in use post nothing.
    grid().lbWeekNo[30]->UserClick();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(31), "");
}

TEST_F(YearToDateView, NewClearsTheRegister) {
    host.answers.push_back(MsgResult::No);
    host.inputs.push_back("Worker9");
    main().mnuNew->UserClick();
    EXPECT_EQ(program.ytd.totals.Gross, Currency());
    EXPECT_EQ(program.ytd.Row(3).Gross, 0.0f);
}

// Every operation that closes or reloads the view, with each answer to its question; a view left
// unchanged asks nothing. Later questions get No (or an answer the view did not take), no name.
constexpr std::array<const char*, 7> kOperations{"New",      "Open",  "Save",           "Exit",
                                                 "CloseBox", "Close", "YearToDateAgain"};
constexpr std::array kAnswerNames{"Unchanged", "Yes", "No", "Cancel"};  // by MsgResult
class ClosingTheView : public YearToDateView,
                       public ::testing::WithParamInterface<std::tuple<std::size_t, MsgResult>> {};

TEST_P(ClosingTheView, AsksOnlyWhenChangedAndCancelStopsEverything) {
    const auto [operation, answer] = GetParam();
    const bool asked = answer != MsgResult::Ok;
    Calculate("02/04/05", "40");
    main().cmdYear->UserClick();
    if (asked) grid().lbWeekNo[5]->UserClick();
    host = ScriptedHost{};
    host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
    host.answers = {answer, MsgResult::No};
    host.inputs.push_back(std::nullopt);
    host.files.push_back(std::nullopt);
    const std::array<std::function<void()>, kOperations.size()> start{
        [&] { main().mnuNew->UserClick(); },  [&] { main().mnuOpen->UserClick(); },
        [&] { main().mnuSave->UserClick(); }, [&] { main().mnuExitItem->UserClick(); },
        [&] { program.form1.UserClose(); },   [&] { grid().cmdClose->UserClick(); },
        [&] { main().cmdYear->UserClick(); }};
    start[operation]();
    const std::vector<std::string> told = host.MessageTexts();
    EXPECT_EQ(!told.empty() && told[0] == "     Do you want to save YTD", asked);
    const bool wentOn = told.size() > (asked ? 1u : 0u) || host.quitRequested ||
                        std::count(host.events.begin(), host.events.end(), "modal frmSaveUser");
    EXPECT_EQ(wentOn, answer != MsgResult::Cancel && operation < 5);
    EXPECT_EQ(Stored("\"02/04/05\""), answer == MsgResult::Yes);
    EXPECT_EQ(program.ytdContainer.IsLoaded(), answer == MsgResult::Cancel || operation == 6);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, ClosingTheView,
                         ::testing::Combine(::testing::Range<std::size_t>(0, kOperations.size()),
                                            ::testing::Values(MsgResult::Yes, MsgResult::No,
                                                              MsgResult::Cancel, MsgResult::Ok)),
                         [](const auto& info) {
                             return std::string(kOperations[std::get<0>(info.param)]) +
                                    kAnswerNames[static_cast<std::size_t>(std::get<1>(info.param))];
                         });

TEST_F(YearToDateView, LayoutFollowsTheGridsGeometry) {
    main().cmdYear->UserClick();
    program.ytdContainer.NotifyPainted();
    EXPECT_EQ(program.ytdContainer.Geometry().width,
              program.ytdGrid.Geometry().width + MDIForm1::kWidthBeyondGrid);
    EXPECT_EQ(grid().lbWeekNo[0]->Geometry(), (Rect{132, 276, 375, 228}));
    EXPECT_EQ(grid().lbWeekNo[26]->Geometry(), (Rect{132, 6276, 375, 228}));
    EXPECT_EQ(grid().lbWeekNo[0]->ToolTip(), "Click on a week number to paste in data.");
    EXPECT_EQ(program.ytdGrid.EditableCell(2, YtdColumn::Gross)->Geometry(),
              (Rect{10584, 276 + 210, 768, 252}));
    EXPECT_EQ(grid().cmdClose->Geometry(), (Rect{8784, 5760, 1230, 330}));
    EXPECT_EQ(grid().lbHeading[0][6]->Caption(), "CrUnion");
    EXPECT_EQ(grid().lbHeading[1][10]->Caption(), "Misc.");
    EXPECT_EQ(grid().lbHeading[1][12]->Caption(), "Tips");
    EXPECT_EQ(strip().lbHeading[5]->Caption(), "CrUnion");
    EXPECT_EQ(program.ytdGrid.Geometry().height, frmYear::kWeeklyHeight);
    EXPECT_EQ(program.ytdTotals.Geometry().top, frmYear::kWeeklyHeight);
    EXPECT_TRUE(program.ytdContainer.ui().mnuPrint->Enabled());
    // Every control stands inside its window.
    for (const Form* form : {static_cast<const Form*>(&program.ytdGrid),
                             static_cast<const Form*>(&program.ytdTotals)}) {
        for (const auto& control : form->Controls()) {
            const Rect& r = control->Geometry();
            EXPECT_LE(r.left + r.width, form->Geometry().width) << control->QualifiedName();
            EXPECT_LE(r.top + r.height, form->Geometry().height) << control->QualifiedName();
        }
    }
}

TEST_F(YearToDateView, ExcelSavesWhereTheUserSaysThenOpensTheFile) {
    main().cmdYear->UserClick();
    program.ytdGrid.EditableCell(2, YtdColumn::Tips)->SetText("3.25");
    const std::string status = main().lbStatus->Caption();
    // Cancelled: nothing is written and nothing said.
    host.saveAnswers = {std::nullopt};
    program.ytdContainer.ui().mnuExcel->UserClick();
    const fs::path suggested = dir.Path() / "Year To Date Worker1.xlsx";
    EXPECT_EQ(host.savesSuggested, std::vector<fs::path>{suggested});
    EXPECT_EQ(host.saveFilters, std::vector<std::string>{"Excel Workbook (*.xlsx)|*.xlsx"});
    EXPECT_FALSE(fs::exists(suggested));
    EXPECT_TRUE(host.workbooksOpened.empty());
    EXPECT_EQ(main().lbStatus->Caption(), status);

    // Saved as suggested and opened from there, with the view's texts in it.
    host.saveAnswers = {suggested};
    program.ytdContainer.ui().mnuExcel->UserClick();
    EXPECT_EQ(host.workbooksOpened, std::vector<fs::path>{suggested});
    const testing::XlsxDump dump = testing::ReadXlsx(suggested);
    ASSERT_EQ(dump.error, "");
    ASSERT_TRUE(dump.cells.contains("M3"));
    EXPECT_EQ(std::stod(dump.cells.at("M3")[1]), 3.25);
    EXPECT_EQ(main().lbStatus->Caption(), "Year to date exported to " + suggested.string());
    EXPECT_TRUE(host.messages.empty());

    // When nothing can open it, a message box says where it is: the view covers the status line.
    host.workbookOpens = false;
    const fs::path elsewhere = dir.Path() / "mine.xlsx";
    host.saveAnswers = {elsewhere};
    program.ytdContainer.ui().mnuExcel->UserClick();
    EXPECT_TRUE(fs::is_regular_file(elsewhere));
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"Year to date exported to " + elsewhere.string() +
                                       ".\r\nNo spreadsheet program could open it; open the "
                                       "file from there."});
}

}  // namespace
}  // namespace kestrel

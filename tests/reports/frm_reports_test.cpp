#include "reports/frm_reports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "reports/register_text.h"
#include "support/printed_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The demo folder's two employees, opened from the main window's Forms menu.
class ReportsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
            fs::copy_file(entry.path(), entry.path().filename());
        program.Start();
        program.form1.ui().mnuReports->UserClick();
    }
    frmReportsUi& ui() { return program.reports.ui(); }
    std::string TableText() { return ui().txtTable->Text(); }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(ReportsWindow, OpensOnTheLatestQuarterAndFollowsTheChosenPeriod) {
    EXPECT_EQ(program.form1.ui().mnuReports->Caption(), "Re&ports");
    ASSERT_TRUE(program.reports.IsVisible());
    EXPECT_EQ(program.reports.Caption(), "Reports");
    EXPECT_EQ(ui().txtYear->Text(), "2005");
    EXPECT_EQ(ui().cboPeriod->Text(), "Quarter 1");
    EXPECT_TRUE(Contains(TableText(), "Employer report Quarter 1 2005")) << TableText();
    for (const char* figure : {"5,575.01", "345.66", "80.84", "1,311.88"})
        EXPECT_TRUE(Contains(TableText(), figure)) << figure << "\n" << TableText();
    EXPECT_EQ(ui().lbStatus->Caption(), "2 registers, 7 pay periods counted.");

    ui().cboPeriod->UserSelect(1);
    EXPECT_EQ(program.reports.Table().period, (ReportPeriod{2005, 2}));
    EXPECT_EQ(program.reports.Table().total.periods, 0);
    ui().cboPeriod->UserSelect(4);
    EXPECT_EQ(program.reports.Table().period, (ReportPeriod{2005, 0}));

    // A year the box cannot mean is refused; nothing else changes.
    ui().txtYear->SetText("05");
    ui().cmdShow->UserClick();
    EXPECT_EQ(host.MessageTexts(),
              (std::vector<std::string>{"Type the year in four digits, such as 2005."}));
    EXPECT_TRUE(ui().txtYear->HasFocus());
    EXPECT_EQ(program.reports.Table().period, (ReportPeriod{2005, 0}));
}

// Rows left out are listed under the table; a damaged register is told and listed too.
TEST_F(ReportsWindow, ListsRowsLeftOutAndRegistersNotRead) {
    testing::WriteRegister("Zed.yrw", {testing::RowSpec{"13/13/05", {100}}});
    testing::WriteFile("Cat.yrb", "\"01/07/05\"\r\n");
    ui().cmdShow->UserClick();
    EXPECT_TRUE(Contains(TableText(),
                         "Zed (Zed.yrw), row 1, \"13/13/05\": no valid week-ending "
                         "date"))
        << TableText();
    EXPECT_TRUE(Contains(TableText(), "Cat.yrb, line 2")) << TableText();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(Contains(host.messages[0].text, "Cat.yrb, line 2")) << host.messages[0].text;
    EXPECT_EQ(ui().lbStatus->Caption(),
              "3 registers, 7 pay periods counted; 1 row left out, listed under the table; 1 not "
              "read.");
}

TEST_F(ReportsWindow, PrintsTheTableLandscapeAfterOneDecision) {
    host.printerAnswers = {false, true};
    ui().cmdPrint->UserClick();
    EXPECT_TRUE(host.printed.empty());
    ui().cmdPrint->UserClick();
    EXPECT_EQ(host.printerDialogs,
              (std::vector<std::string>(2, "Employer report Quarter 1 2005.pdf")));
    ASSERT_EQ(host.printed.size(), 1u);
    const PrintJob& job = host.printed[0];
    EXPECT_EQ(job.Orientation(), PageOrientation::Landscape);
    const std::vector<std::string> lines = testing::PrintedLines(job);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Wrenfield Demo Bakery");
    EXPECT_TRUE(Contains(lines[3], "Employer report Quarter 1 2005")) << lines[3];
    EXPECT_TRUE(Contains(lines[3], "12/30/05")) << lines[3];
    const auto total = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.starts_with("    TOTAL");
    });
    ASSERT_NE(total, lines.end());
    EXPECT_TRUE(Contains(*total, "5,575.01")) << *total;
}

TEST_F(ReportsWindow, ExportsThroughTheSaveDialogAndOpensTheWorkbook) {
    host.saveAnswers = {std::nullopt, dir.Path() / "q1.xlsx"};
    ui().cmdExport->UserClick();
    EXPECT_FALSE(fs::exists("q1.xlsx"));
    host.workbookOpens = false;
    ui().cmdExport->UserClick();
    EXPECT_EQ(host.savesSuggested,
              (std::vector<fs::path>(2, dir.Path() / "Employer report Quarter 1 2005.xlsx")));
    EXPECT_EQ(host.saveFilters[0], "Excel Workbook (*.xlsx)|*.xlsx");
    EXPECT_TRUE(fs::is_regular_file("q1.xlsx"));
    EXPECT_EQ(host.workbooksOpened, (std::vector<fs::path>{dir.Path() / "q1.xlsx"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(Contains(host.messages[0].text, "No spreadsheet program could open it"));
    EXPECT_TRUE(Contains(ui().lbStatus->Caption(), "Employer report Quarter 1 2005 exported to"));
}

// One job, a page per employee: the four quarters and the year, which is the whole-year line.
TEST_F(ReportsWindow, PrintsAYearSummaryPagePerEmployeeInOneJob) {
    host.printerAnswers = {true};
    ui().cmdSummaries->UserClick();
    EXPECT_EQ(host.printerDialogs, (std::vector<std::string>{"Year summaries 2005.pdf"}));
    ASSERT_EQ(host.printed.size(), 1u);
    const std::string plain = PlainText(host.printed[0]);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\f'), 1) << plain;
    const std::string first = plain.substr(0, plain.find('\f'));
    const std::string second = plain.substr(plain.find('\f'));
    EXPECT_TRUE(Contains(first, "Year summary 2005:  Worker1,  weekly (Worker1.yrw)")) << first;
    EXPECT_TRUE(Contains(second, "Year summary 2005:  Worker2,  bi-weekly (Worker2.yrb)"))
        << second;
    EXPECT_TRUE(Contains(first, "Quarter 4")) << first;

    const ReportTable year = BuildReportTable(ReadRegisters("."), {2005, 0});
    const std::string gross = CentsText(year.lines[0].figures.gross);
    const auto yearLine = first.find("Year 2005");
    ASSERT_NE(yearLine, std::string::npos) << first;
    EXPECT_TRUE(Contains(first.substr(yearLine, first.find('\n', yearLine) - yearLine), gross))
        << gross << "\n"
        << first;
}

}  // namespace
}  // namespace kestrel

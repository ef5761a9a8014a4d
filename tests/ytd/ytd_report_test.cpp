// The year-to-date report as it comes out of the printer, one character per column, for the demo's
// weekly and bi-weekly employees.
#include "ytd/ytd_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/printed_text.h"
#include "support/temp_dir.h"
#include "ytd/year_to_date.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::pair<int, std::string>>;

std::string Place(const Items& items) {
    return testing::Row(items);
}

std::vector<std::string> Lines(const PrintJob& job) {
    return testing::PrintedLines(job);
}

// The columns of the amounts, in the order of the report: federal, SS, Medicare, state, city,
// credit union, bond, dues, pension, misc, K plan, tips, overtime, net, gross.
constexpr std::array<int, 15> kColumns{17,  30,  43,  56,  69,  82,  95, 108,
                                       121, 134, 145, 156, 172, 182, 197};

std::string RowLine(const std::string& weekEnding, const std::array<std::string, 15>& amounts) {
    Items items{{5, weekEnding}};
    for (std::size_t k = 0; k < amounts.size(); ++k)
        items.emplace_back(kColumns[k], amounts[k]);
    return Place(items);
}

const std::array<std::string, 15> kZeros{" 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
                                         " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "};

class YtdReport : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
            fs::copy_file(entry.path(), entry.path().filename());
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }
    void Open(const std::string& employee) {
        program.Start();
        host.files.push_back(dir.Path() / (employee + ".use"));
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        program.form1.ui().mnuOpen->UserClick();
        ASSERT_EQ(program.ActiveUser, employee);
    }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(YtdReport, WeeklyRegisterPrintsEveryRowTheTotalsAndTheBanner) {
    Open("Worker1");
    program.header = {"Wrenfield Demo Bakery", "40 Market Street", "Albany, NY 12207",
                      "EIN 14-0000000"};
    // Hidden amounts of week 2, and a negative correction in week 3's misc column.
    program.ytd.Row(2).Sdi = 1.5f;
    program.ytd.Row(2).Sui = 2.25f;
    program.ytd.Row(2).Cafeteria = 10;
    program.ytd.Row(3).Misc = -12.5f;
    ASSERT_TRUE(AddAnnual(program.ytd, program.profile, host));

    const PrintJob job = YtdReportJob(program);
    EXPECT_EQ(job.Orientation(), PageOrientation::Landscape);
    const std::vector<std::string> lines = Lines(job);
    // 4 heading lines, the titles, 52 rows, the rule, 2 total lines, an empty line, the banner.
    ASSERT_EQ(lines.size(), 62u);

    EXPECT_EQ(lines[0], "Wrenfield Demo Bakery");
    EXPECT_EQ(lines[1], "40 Market Street");
    EXPECT_EQ(lines[2], Place({{1, "Albany, NY 12207"}, {134, "EIN 14-0000000"}}));
    EXPECT_EQ(lines[3], Place({{1, "Employee:"}, {17, "Worker1"}, {145, "12/30/05"}}));
    EXPECT_EQ(lines[4], Place({{5, "Week"},
                               {17, "Federal"},
                               {30, "SS"},
                               {43, "MediCare"},
                               {56, "State"},
                               {69, "City"},
                               {82, "MCU"},
                               {95, "Bond"},
                               {108, "Dues"},
                               {121, "Pension"},
                               {134, "Misc"},
                               {145, "KPlan"},
                               {156, "Tips"},
                               {172, "OT"},
                               {182, "Net"},
                               {197, "Gross"}}));
    // Week 1 of the demo file: "01/07/05",41.36,41.32,9.66,24.17 / 14.98,25,0,8.5,0 /
    // 0,20,46.5,666.5,481.51 / 0,0,0,0.
    EXPECT_EQ(lines[5], RowLine("01/07/05", {" 41.36 ", " 41.32 ", " 9.66 ", " 24.17 ", " 14.98 ",
                                             " 25 ", " 0 ", " 8.5 ", " 0 ", " 0 ", " 20 ", " 0 ",
                                             " 46.5 ", " 481.51 ", " 666.5 "}));
    EXPECT_EQ(lines[7].substr(4, 8), "01/21/05");
    EXPECT_EQ(lines[7].substr(133, 6), "-12.5 ");
    // Weeks not posted: nothing at column 5, every amount " 0 ".
    EXPECT_EQ(lines[9], RowLine("", kZeros));
    EXPECT_EQ(lines[56], RowLine("", kZeros));

    EXPECT_EQ(lines[57], Place({{5, std::string(291, '-')}}));
    // The demo's totals with week 3's misc of -12.50.
    EXPECT_EQ(lines[58], Place({{5, "TOTALS"},
                                {17, "178.02"},
                                {30, "170.65"},
                                {43, "39.91"},
                                {56, "102.42"},
                                {69, "63.25"},
                                {82, "100.00"},
                                {95, ".00"},
                                {108, "34.00"},
                                {121, ".00"},
                                {134, "-12.50"},
                                {145, "82.58"},
                                {156, ".00"},
                                {172, "174.38"},
                                {182, "1981.55"},
                                {197, "2752.38"}}));
    EXPECT_EQ(lines[59], Place({{56, "Total Tips: .00"},
                                {95, "Total SDI: 1.50"},
                                {121, "Total SUI: 2.25"},
                                {145, "Total Cafeteria: 10.00"}}));
    EXPECT_EQ(lines[60], "");
    EXPECT_EQ(lines[61], Place({{5, "KESTREL  Version  9.0.2"}}));

    std::vector<double> sizes;
    for (const PrintStep& step : job.Steps()) {
        if (step.kind == PrintStep::Kind::Font) {
            EXPECT_EQ(step.font.name, "Arial");
            sizes.push_back(step.font.points);
        }
    }
    EXPECT_EQ(sizes, (std::vector<double>{10, 9, 8, 6}));
    EXPECT_EQ(job.Steps().back().kind, PrintStep::Kind::EndPage);
}

TEST_F(YtdReport, BiWeeklyRegisterPrintsTwentySixRows) {
    Open("Worker2");
    ASSERT_TRUE(program.profile.BiWeeklyPay);
    // Row 27 is beyond a bi-weekly register and never printed.
    program.ytd.Row(27).WeekEnding = "12/30/05";
    const std::vector<std::string> lines = Lines(YtdReportJob(program));
    ASSERT_EQ(lines.size(), 36u);
    EXPECT_EQ(lines[5].substr(4, 8), "01/14/05");
    EXPECT_EQ(lines[30], RowLine("", kZeros));
    EXPECT_EQ(lines[31], Place({{5, std::string(291, '-')}}));
    EXPECT_EQ(lines[32].substr(4, 6), "TOTALS");
}

TEST_F(YtdReport, WithoutAStoredHeaderTheFirstThreeLinesAreEmpty) {
    fs::remove("Header.sav");
    Open("Worker1");
    const std::vector<std::string> lines = Lines(YtdReportJob(program));
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3].substr(0, 9), "Employee:");
}

TEST_F(YtdReport, AClearedRowPrintsZeroAsItsWeekEnding) {
    Open("Worker1");
    OpenYearToDate(program);
    DeleteRow(program, 2);
    const std::vector<std::string> lines = Lines(YtdReportJob(program));
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[6], RowLine("0", kZeros));
    // The totals no longer hold week 2's federal tax of 41.58.
    EXPECT_EQ(lines[58].substr(16, 6), "136.44");
}

TEST_F(YtdReport, PrintsOnlyWhenThePrinterDialogIsConfirmed) {
    Open("Worker1");
    host.printerAnswers.push_back(false);
    PrintYr(program);
    EXPECT_TRUE(host.printed.empty());

    host.printerAnswers.push_back(true);
    PrintYr(program);
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(PlainText(host.printed[0]), PlainText(YtdReportJob(program)));
}

}  // namespace
}  // namespace kestrel

// The pay stub as it comes out of the printer, one character per column: the main window's period
// after a calculation of the demo's weekly employee, with the register's totals from its file.
#include "printing/pay_stub.h"

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

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Line numbers of the page, counted from 0.
constexpr std::size_t kEmployeeLine = 5;
constexpr std::size_t kFirstEarnings = 17;
constexpr std::size_t kFirstDeduction = 32;
constexpr std::size_t kCurrentLine = 54;
constexpr std::size_t kYtdLine = 55;
constexpr std::size_t kPageLines = 58;

class PayStub : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
            fs::copy_file(entry.path(), entry.path().filename());
    }
    void Open() {
        program.Start();
        host.files.push_back(dir.Path() / "Worker1.use");
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        main().mnuOpen->UserClick();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    Form1Ui& main() { return program.form1.ui(); }
    // Week ending 02/04/05 with the given entries, the rest left blank.
    void Calculate(const Items& entries, bool doubleOvertime = false) {
        main().txtWeekEnd->SetText("02/04/05");
        for (const auto& [index, text] : entries)
            main().txtEntry[static_cast<std::size_t>(index)]->SetText(text);
        (doubleOvertime ? main().opt2X : main().opt1X)->SetValue(true);
        main().cmdCal->UserClick();
    }
    std::vector<std::string> PrintedLines() {
        host.printerAnswers.push_back(true);
        EXPECT_TRUE(PrintText(program));
        EXPECT_EQ(host.printed.size(), 1u);
        if (host.printed.empty()) return {};
        std::vector<std::string> lines = Lines(host.printed[0]);
        EXPECT_EQ(lines.size(), kPageLines);
        lines.resize(kPageLines);
        return lines;
    }
    // The main window shows "$1,054.00"; the stub prints the number.
    static std::string Plain(const std::string& shown) {
        std::string text;
        for (char c : shown)
            if (c != '$' && c != ',') text += c;
        return text;
    }
    std::string Shown(int line) {
        return Plain(main().lbTax[static_cast<std::size_t>(line)]->Caption());
    }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(PayStub, PrintsTheWholePageAtItsColumns) {
    Open();
    program.header = {"Wrenfield Demo Bakery", "40 Market Street", "Albany, NY 12207",
                      "EIN 14-0000000"};
    // 60 straight hours at 15.50 and 4 overtime hours at double rate: a gross above 1,000, so
    // the displayed figure carries a dollar sign and a thousands separator.
    Calculate({{0, "60"}, {2, "4"}}, /*doubleOvertime=*/true);
    ASSERT_EQ(main().lbGross->Caption(), "$1,054.00");

    const std::vector<std::string> lines = PrintedLines();
    const std::string wide(198, '-');
    const std::vector<std::string> expected{
        "",
        "Wrenfield Demo Bakery",
        "40 Market Street",
        Place({{1, "Albany, NY 12207"}, {85, "EIN 14-0000000"}}),
        std::string(203, '-'),
        Place({{1, "Employee:"}, {20, "Worker1"}, {50, "123-45-6789"}}),
        "",
        Place({{5, "Date:"}, {15, "12/30/05"}, {85, "For Week Ending: 02/04/05"}}),
        "",
        Place({{45, "KESTREL"}, {65, "Version  9.0.2"}}),
        "",
        "",
        "",
        "",
        "",
        Place({{5, "Description"}, {30, "Rate"}, {50, "Hours"}, {65, "Earnings"}}),
        Place({{5, wide}}),
        Place({{5, "Regular1 Earning"}, {30, "15.50"}, {50, "60.00"}, {65, "930.00"}}),
        Place({{5, "Regular2 Earning"}, {30, "12.00"}, {50, ".00"}, {65, ".00"}}),
        Place({{5, "O.T. 1x / 2x Earned"}, {30, "31.00"}, {50, "4.00"}, {65, "124.00"}}),
        Place({{5, "O.T. 1.5x Earned"}, {30, "23.25"}, {50, ".00"}, {65, ".00"}, {85, "YTD"}}),
        Place({{5, "Tips"}, {30, ".00"}, {50, ".00"}, {65, ".00"}, {85, ".00"}}),
        Place({{5, "Holiday"}, {30, "15.50"}, {50, ".00"}, {65, ".00"}}),
        Place({{5, "Vacation/Sick"}, {30, "15.50"}, {50, ".00"}, {65, ".00"}}),
        Place({{5, "Adjustment"}, {30, ".00"}, {65, ".00"}}),
        "",
        "",
        "",
        "",
        "",
        Place({{65, "Taxes / Deductions"}, {100, "Current"}, {115, "YTD"}}),
        Place({{5, wide}}),
        Place({{65, "Federal Tax"}, {100, Shown(0)}, {115, "178.02"}}),
        Place({{65, "Social Security Tax"}, {100, Shown(1)}, {115, "170.65"}}),
        Place({{65, "Medicare Tax"}, {100, Shown(2)}, {115, "39.91"}}),
        Place({{65, "State Tax"}, {100, Shown(3)}, {115, "102.42"}}),
        Place({{65, "City Tax"}, {100, Shown(4)}, {115, "63.25"}}),
        Place({{65, "State Disability Ins"}, {100, ".00"}, {115, ".00"}}),
        Place({{65, "State Unemployment Ins"}, {100, ".00"}, {115, ".00"}}),
        Place({{65, "CrUnion"}, {100, "25.00"}, {115, "100.00"}}),
        Place({{65, "Bond"}, {100, ".00"}, {115, ".00"}}),
        Place({{65, "Dues"}, {100, "8.50"}, {115, "34.00"}}),
        Place({{65, "Pension"}, {100, ".00"}, {115, ".00"}}),
        Place({{65, "Misc."}, {100, ".00"}, {115, ".00"}}),
        Place({{65, "K-Plan"}, {100, Shown(10)}, {115, "82.58"}}),
        Place({{65, "Cafeteria Plan"}, {100, ".00"}, {115, ".00"}}),
        "",
        "",
        "",
        "",
        "",
        Place({{30, "Earnings"},
               {50, "Taxes"},
               {65, "Deductions"},
               {85, "Net Pay"},
               {100, "Period Ending"}}),
        Place({{5, wide}}),
        "",
        Place({{5, "Current"},
               {30, "1054.00"},
               {50, Plain(main().lbTaxes->Caption())},
               {65, Plain(main().lbDeduct->Caption())},
               {85, Plain(main().lbNet->Caption())}}),
        // Taxes 178.02 + 170.65 + 39.91 + 102.42 + 63.25; deductions 100 + 34 + 82.58.
        Place({{5, "YTD"},
               {30, "2752.38"},
               {50, "554.25"},
               {65, "216.58"},
               {85, "1981.55"},
               {100, "02/04/05"}}),
        Place({{5, wide}}),
        Place({{5, "KESTREL  Version  9.0.2"}}),
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;

    // The current figures are the calculation's, not blanks.
    EXPECT_NE(Shown(0), "");

    std::vector<double> sizes;
    for (const PrintStep& step : host.printed[0].Steps()) {
        if (step.kind == PrintStep::Kind::Font) {
            EXPECT_EQ(step.font.name, "Arial");
            sizes.push_back(step.font.points);
        }
    }
    EXPECT_EQ(sizes, (std::vector<double>{11, 10, 6}));
    EXPECT_EQ(host.printed[0].Steps().back().kind, PrintStep::Kind::EndPage);
}

// The heading is the working folder's "Header.sav", read at start-up and again after an employee
// is opened in another folder, without the header window ever being opened.
TEST_F(PayStub, TheCompanyHeaderIsTheWorkingFolders) {
    Open();
    Calculate({{0, "40"}});
    EXPECT_EQ(PrintedLines()[1], "Wrenfield Demo Bakery");
    for (const char* heading : {"Other Co", ""}) {
        const fs::path other = dir.Path() / (std::string("other") + heading);
        fs::create_directory(other);
        for (const char* file : {"Worker1.use", "Worker1.and", "Worker1.cfe", "Fedtaxx.tax"})
            fs::copy_file(file, other / file);
        if (*heading) testing::WriteFile(other / "Header.sav", "\"Other Co\",\"\",\"\",\"\"\r\n");
        host.files.push_back(other / "Worker1.use");
        main().mnuOpen->UserClick();
        host.printed.clear();
        EXPECT_EQ(PrintedLines()[1], heading);
    }
}

TEST_F(PayStub, BlankEntriesPrintAsZeroHoursAndBecomeZeroOnTheMainWindow) {
    Open();
    Calculate({{0, "40"}});
    // The calculation blanks every zero entry again.
    ASSERT_EQ(main().txtEntry[1]->Text(), "");
    const std::vector<std::string> lines = PrintedLines();
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(main().txtEntry[i]->Text(), i == 0 ? "40" : "0") << "entry " << i;
    EXPECT_EQ(lines[kFirstEarnings + 1],
              Place({{5, "Regular2 Earning"}, {30, "12.00"}, {50, ".00"}, {65, ".00"}}));
}

TEST_F(PayStub, WithoutAnHourlyRateTheRowsShowTheDefaultRateTheGrossWasPaidAt) {
    // Worker1 without rate 1 (rate 2 stays 12) and with tips at 2.00 an hour.
    fs::path use = "Worker1.use";
    testing::WriteFile(use, Replace(testing::ReadFile(use), "\r\n15.5,12,0\r\n", "\r\n0,12,2\r\n"));
    Open();
    ASSERT_EQ(program.profile.HourlyRate1, 0.0f);
    Calculate({{0, "40"}, {4, "8"}, {5, "2"}, {6, "15"}, {7, "5"}});
    // 40 × 7.50 + 8 × 7.50 + 2 × 7.50 + 15 + 5 × 2.00
    ASSERT_EQ(main().lbGross->Caption(), "$400.00");

    const std::vector<std::string> lines = PrintedLines();
    const std::vector<std::string> expected{
        Place({{5, "Regular1 Earning"}, {30, "7.50"}, {50, "40.00"}, {65, "300.00"}}),
        Place({{5, "Regular2 Earning"}, {30, "12.00"}, {50, ".00"}, {65, ".00"}}),
        Place({{5, "O.T. 1x / 2x Earned"}, {30, "7.50"}, {50, ".00"}, {65, ".00"}}),
        Place({{5, "O.T. 1.5x Earned"}, {30, "11.25"}, {50, ".00"}, {65, ".00"}, {85, "YTD"}}),
        Place({{5, "Tips"}, {30, "2.00"}, {50, "5.00"}, {65, "10.00"}, {85, ".00"}}),
        Place({{5, "Holiday"}, {30, "7.50"}, {50, "8.00"}, {65, "60.00"}}),
        Place({{5, "Vacation/Sick"}, {30, "7.50"}, {50, "2.00"}, {65, "15.00"}}),
        Place({{5, "Adjustment"}, {30, "15.00"}, {65, "15.00"}}),
    };
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[kFirstEarnings + i], expected[i]) << "row " << i;
}

TEST_F(PayStub, TheYearsCafeteriaPlanCountsWithTheTaxes) {
    // Week 1 of the register with SDI 1.50, SUI 2.25 and cafeteria 10: totals the file does not
    // keep, so they come from the recomputation before printing.
    fs::path register_ = "Worker1.yrw";
    testing::WriteFile(register_,
                       Replace(testing::ReadFile(register_), "46.5,666.5,481.51\r\n0,0,0,0\r\n",
                               "46.5,666.5,481.51\r\n1.5,2.25,10,0\r\n"));
    Open();
    Calculate({{0, "40"}});
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_EQ(lines[kFirstDeduction + 5],
              Place({{65, "State Disability Ins"}, {100, ".00"}, {115, "1.50"}}));
    EXPECT_EQ(lines[kFirstDeduction + 6],
              Place({{65, "State Unemployment Ins"}, {100, ".00"}, {115, "2.25"}}));
    EXPECT_EQ(lines[kFirstDeduction + 13],
              Place({{65, "Cafeteria Plan"}, {100, ".00"}, {115, "10.00"}}));
    // Taxes 554.25 + 1.50 + 2.25 + the cafeteria's 10; deductions 216.58 without it.
    EXPECT_EQ(lines[kYtdLine], Place({{5, "YTD"},
                                      {30, "2752.38"},
                                      {50, "568.00"},
                                      {65, "216.58"},
                                      {85, "1981.55"},
                                      {100, "02/04/05"}}));
}

TEST_F(PayStub, LinesClearedSinceTheLastCalculationPrintEmpty) {
    Open();
    Calculate({{0, "40"}});
    main().cmdClear->UserClick();
    const std::vector<std::string> lines = Lines(PayStubJob(program));
    ASSERT_GT(lines.size(), kYtdLine);
    EXPECT_EQ(lines[kFirstDeduction], Place({{65, "Federal Tax"}, {115, "178.02"}}));
    EXPECT_EQ(lines[kFirstDeduction + 13], Place({{65, "Cafeteria Plan"}, {115, ".00"}}));
    EXPECT_EQ(lines[kCurrentLine], Place({{5, "Current"}}));
}

TEST_F(PayStub, CancellingThePrinterDialogPrintsNothing) {
    Open();
    Calculate({{0, "40"}});
    host.printerAnswers.push_back(false);
    EXPECT_FALSE(PrintText(program));
    EXPECT_TRUE(host.printed.empty());
    // The preparation before the dialog has happened all the same.
    EXPECT_EQ(main().txtEntry[3]->Text(), "0");
}

TEST_F(PayStub, PrintingReloadsTheEmployeesFiles) {
    Open();
    Calculate({{0, "40"}});
    program.profile.HourlyRate2 = 99;
    program.ytd.Row(1).Federal = 1000;
    program.ytd.totals.Federal = 1178.02f;
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_EQ(lines[kFirstEarnings + 1].substr(29, 5), "12.00");
    EXPECT_EQ(lines[kFirstDeduction],
              Place({{65, "Federal Tax"}, {100, Shown(0)}, {115, "178.02"}}));
    EXPECT_EQ(program.ytd.Row(1).Federal, 41.36f);
}

TEST_F(PayStub, AnOpenYearToDateViewKeepsThePeriodPostedButNotSaved) {
    Open();
    Calculate({{0, "40"}});
    OpenYearToDate(program);
    PasteMe(program, 5);
    ASSERT_EQ(program.ytdGrid.WeekEndingText(5), "02/04/05");
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_EQ(program.ytdGrid.WeekEndingText(5), "02/04/05");
    EXPECT_EQ(program.ytd.Row(5).Gross, 620.0f);
    // The stub shows the year as saved.
    EXPECT_EQ(lines[kYtdLine].substr(29, 7), "2752.38");
}

TEST_F(PayStub, TheSocialSecurityNumberIsTheCheckPreviewsOnceItIsLoaded) {
    Open();
    Calculate({{0, "40"}});
    program.checks.ui().txtUserSSnum->SetText("987-65-4321");
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_EQ(lines[kEmployeeLine],
              Place({{1, "Employee:"}, {20, "Worker1"}, {50, "987-65-4321"}}));
}

TEST_F(PayStub, ALeaveWindowOnScreenKeepsWhatTheUserTyped) {
    Open();
    Calculate({{0, "40"}});
    main().cmdVac->UserClick();
    ASSERT_TRUE(program.dialogVac.IsVisible());
    program.dialogVac.ui().txtVacBal->SetText("77");
    PrintedLines();
    EXPECT_EQ(program.dialogVac.ui().txtVacBal->Text(), "77");
}

TEST_F(PayStub, WithNoEmployeeOpenTheRegisterInMemoryIsPrinted) {
    program.Start();
    ASSERT_TRUE(program.ActiveUser.empty());
    // No file of an employee to reload; the default file set must not stand in for one.
    program.ytd.totals.Federal = 5;
    const std::vector<std::string> lines = PrintedLines();
    EXPECT_EQ(lines[kFirstDeduction], Place({{65, "Federal Tax"}, {115, "5.00"}}));
    EXPECT_EQ(lines[kEmployeeLine], Place({{1, "Employee:"}, {50, program.profile.EmployeeSsn}}));
}

}  // namespace
}  // namespace kestrel

// kestrel-report as a user runs it, in a folder of registers; the workbook read back with openpyxl
// and the PDF with pdftotext.
#ifdef KESTREL_REPORT_PATH

#include <gtest/gtest.h>

#include "reports/register_text.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/xlsx_reader.h"

namespace kestrel {
namespace {

using testing::RowSpec;
using testing::WriteRegister;

testing::CommandRun Report(const std::string& options) {
    return testing::RunCommand(std::string(KESTREL_REPORT_PATH) + " " + options + " 2>&1");
}

RowSpec Row(std::string week, std::int64_t gross, std::int64_t socialSecurity) {
    RowSpec row{std::move(week), {}};
    row.cents[0] = gross;
    row.cents[2] = gross / 10;  // federal
    row.cents[3] = socialSecurity;
    row.cents[4] = 1450;  // medicare
    row.cents[10] = gross - gross / 10 - socialSecurity - 1450;
    return row;
}

void WriteClean() {
    WriteRegister("Ann.yrw", {Row("03/31/05", 100000, 6200), Row("04/01/05", 123456789, 1)});
    WriteRegister("Bob.yrb", {Row("01/14/05", 55555, 3444)});
}

TEST(ReportCli, CleanQuarterPrintsTheTableAndWritesWorkbookAndPdf) {
    testing::TempWorkDir dir;
    WriteClean();
    const testing::CommandRun run =
        Report("--quarter 1 --year 2005 --xlsx q1.xlsx --pdf q1.pdf --date 04/15/05");
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* expected :
         {"\"year\": 2005", "\"quarter\": 1", "\"employee\": \"Ann\"", "\"register\": \"Bob.yrb\"",
          "\"gross\": 1555.55", "\"socialSecurity\": 96.44", "\"employerSocialSecurity\": 96.44",
          "\"employerMedicare\": 29.00", "\"deposit\": 406.43", "\"leftOut\": []"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    // The total's periods: one row of each register.
    EXPECT_NE(run.out.find("\"total\": {\"periods\": 2,"), std::string::npos) << run.out;

    const testing::XlsxDump book = testing::ReadXlsx("q1.xlsx");
    ASSERT_EQ(book.error, "");
    const auto cell = [&book](const std::string& a1) {
        const auto found = book.cells.find(a1);
        return found == book.cells.end() ? std::string("(none)")
                                         : found->second[0] + " " + found->second[1];
    };
    EXPECT_EQ(cell("A3"), "s Employee");
    EXPECT_EQ(cell("A4"), "s Ann");
    EXPECT_EQ(cell("E4"), "n 1000");
    EXPECT_EQ(cell("A5"), "s Bob");
    EXPECT_EQ(cell("A6"), "s TOTAL");
    EXPECT_EQ(cell("D6"), "n 2");
    EXPECT_EQ(cell("E6"), "n 1555.55");
    EXPECT_EQ(cell("H6"), "n 96.44");
    EXPECT_EQ(cell("E10"), "n 406.43");
    EXPECT_EQ(book.items.at("orientation"), "landscape");

    const testing::CommandRun pdf = testing::RunCommand("pdftotext -layout q1.pdf - 2>&1");
    ASSERT_EQ(pdf.status, 0) << pdf.out;
    for (const char* expected : {"Employer report Quarter 1 2005", "04/15/05", "TOTAL", "1,555.55",
                                 "406.43", "Deposit total"}) {
        EXPECT_NE(pdf.out.find(expected), std::string::npos) << expected << "\n" << pdf.out;
    }
    const testing::CommandRun info = testing::RunCommand("pdfinfo q1.pdf 2>&1");
    EXPECT_NE(info.out.find("792 x 612"), std::string::npos) << info.out;  // letter, landscape

    // The whole year holds the second quarter's large row to the cent.
    const testing::CommandRun year = Report("--whole-year --year 2005");
    ASSERT_EQ(year.status, 0) << year.out;
    EXPECT_NE(year.out.find("\"gross\": 1236123.44"), std::string::npos) << year.out;
}

TEST(ReportCli, RowsLeftOutAreListedWithExitOne) {
    testing::TempWorkDir dir;
    WriteRegister("Ann.yrw", {Row("03/31/05", 100000, 6200), Row("31/03/05", 500, 31),
                              Row("12/30/04", 700, 43)});
    const testing::CommandRun run = Report("--quarter=1 --year=2005 --xlsx q1.xlsx");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("{\"employee\": \"Ann\", \"register\": \"Ann.yrw\", \"row\": 2, "
                           "\"weekEnding\": \"31/03/05\", \"reason\": \"no valid week-ending "
                           "date\"}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"row\": 3, \"weekEnding\": \"12/30/04\", \"reason\": \"dated in "
                           "another year\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"gross\": 1000.00"), std::string::npos) << run.out;
    // The workbook is written, and lists them too.
    const testing::XlsxDump book = testing::ReadXlsx("q1.xlsx");
    ASSERT_EQ(book.error, "");
    EXPECT_EQ(book.cells.at("D13")[1], "31/03/05");
    EXPECT_EQ(book.cells.at("E14")[1], "dated in another year");
}

// A damaged register is named and nothing is written; so is a bad command line.
TEST(ReportCli, DamagedRegisterOrBadCommandLineWritesNothing) {
    testing::TempWorkDir dir;
    WriteClean();
    testing::WriteFile("Cat.yrw", "\"01/07/05\",1,x\r\n");
    const auto before = testing::FolderContents();
    const testing::CommandRun damaged = Report("--quarter 1 --year 2005 --xlsx a.xlsx --pdf a.pdf");
    EXPECT_EQ(damaged.status, 2) << damaged.out;
    EXPECT_NE(damaged.out.find("Cat.yrw, line 1, field 3: not an amount: \"x\""), std::string::npos)
        << damaged.out;
    EXPECT_EQ(damaged.out.find("\"employees\""), std::string::npos) << damaged.out;
    EXPECT_EQ(testing::FolderContents(), before);

    std::filesystem::remove("Cat.yrw");
    for (const char* options :
         {"", "--year 2005", "--quarter 1", "--quarter 5 --year 2005", "--quarter 1 --year 05",
          "--quarter 1 --whole-year --year 2005", "--whole-year=1 --year 2005",
          "--whole-year --year 2005 --xlsx", "--whole-year --year 2005 --csv a",
          "--whole-year --year 2005 --xlsx a --pdf ./a",
          "--whole-year --year 2005 --pdf Ann.yrw"}) {
        const testing::CommandRun run = Report(options);
        EXPECT_EQ(run.status, 2) << options << "\n" << run.out;
        EXPECT_NE(run.out.find("usage: kestrel-report"), std::string::npos) << options;
    }
    auto registers = before;
    registers.erase("Cat.yrw");
    EXPECT_EQ(testing::FolderContents(), registers);
}

}  // namespace
}  // namespace kestrel

#endif

#include "reports/employer_report.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "reports/register_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::RowSpec;
using testing::TempWorkDir;
using testing::WriteRegister;

RowSpec Row(std::string week, std::int64_t gross, std::int64_t federal = 0) {
    RowSpec row{std::move(week), {}};
    row.cents[0] = gross;
    row.cents[2] = federal;
    return row;
}

ReportTable TableOf(int year, int quarter) {
    return BuildReportTable(ReadRegisters("."), ReportPeriod{year, quarter});
}

// Which quarter each week-ending date counts in, on both sides of every quarter's end.
TEST(EmployerReport, RowsCountInTheQuarterOfTheirWeekEndingDate) {
    TempWorkDir dir;
    WriteRegister("Ann.yrw", {Row("01/01/05", 1), Row("03/31/05", 2), Row("04/01/05", 4),
                              Row("6/30/2005", 8), Row("07/01/05", 16), Row("09-30-05", 32),
                              Row("10/01/05", 64), Row("12/31/05", 128)});
    struct Case {
        int quarter;
        int periods;
        std::int64_t gross;
    };
    for (const Case c :
         {Case{1, 2, 3}, Case{2, 2, 12}, Case{3, 2, 48}, Case{4, 2, 192}, Case{0, 8, 255}}) {
        const ReportTable table = TableOf(2005, c.quarter);
        ASSERT_EQ(table.lines.size(), 1u);
        EXPECT_EQ(table.lines[0].figures.periods, c.periods) << "quarter " << c.quarter;
        EXPECT_EQ(table.lines[0].figures.gross, c.gross) << "quarter " << c.quarter;
        EXPECT_TRUE(table.leftOut.empty());
    }
}

// Generated registers of known cents, some too fine for a single to hold, summed to the cent:
// each employee's line, the total, and the quarters adding up to the year.
TEST(EmployerReport, SumsAreExactCentsOfTheStoredFigures) {
    TempWorkDir dir;
    std::mt19937_64 random(17);
    std::map<std::string, std::array<std::array<std::int64_t, 11>, 5>> expected;  // [quarter]
    for (int e = 0; e < 12; ++e) {
        const std::string name = "E" + std::to_string(e);
        const bool weekly = e % 3 != 0;
        std::vector<RowSpec> rows;
        for (int k = 0; k < (weekly ? 52 : 26); ++k) {
            // Weeks alternate between the last day of March and the first of April.
            const int month = k % 2 ? 4 : 3;
            RowSpec row{month == 3 ? "03/31/05" : "04/01/05", {}};
            for (std::size_t c = 0; c < row.cents.size(); ++c) {
                // Up to $99,999,999.99: a single keeps about seven digits of it.
                row.cents[c] = static_cast<std::int64_t>(random() % 10'000'000'000ULL);
                expected[name][month == 3 ? 1 : 2][c] += row.cents[c];
                expected[name][0][c] += row.cents[c];
            }
            rows.push_back(row);
        }
        WriteRegister(name + (weekly ? ".yrw" : ".yrb"), rows);
    }
    for (int quarter : {0, 1, 2}) {
        const ReportTable table = TableOf(2005, quarter);
        ASSERT_EQ(table.lines.size(), 12u);
        std::array<std::int64_t, 11> total{};
        for (const EmployeeLine& line : table.lines) {
            for (std::size_t c = 0; c < kEmployerColumns.size(); ++c) {
                EXPECT_EQ(line.figures.*kEmployerColumns[c].member,
                          expected[line.employee][static_cast<std::size_t>(quarter)][c])
                    << line.employee << " " << kEmployerColumns[c].heading << " q" << quarter;
                total[c] += line.figures.*kEmployerColumns[c].member;
            }
        }
        for (std::size_t c = 0; c < kEmployerColumns.size(); ++c)
            EXPECT_EQ(table.total.*kEmployerColumns[c].member, total[c]) << c;
        // Eight weekly registers and four bi-weekly ones, half their rows in each quarter.
        EXPECT_EQ(table.total.periods, (8 * 52 + 4 * 26) / (quarter == 0 ? 1 : 2)) << quarter;
    }
}

TEST(EmployerReport, EmployerSharesAndDepositFollowTheEmployees) {
    TempWorkDir dir;
    RowSpec a = Row("01/07/05", 100000, 12345);
    a.cents[3] = 6200;  // soc sec
    a.cents[4] = 1450;  // medicare
    RowSpec b = Row("02/04/05", 50001, 1);
    b.cents[3] = 3100;
    b.cents[4] = 725;
    WriteRegister("Ann.yrw", {a});
    WriteRegister("Bob.yrb", {b});
    const ReportTable table = TableOf(2005, 1);
    EXPECT_EQ(table.total.gross, 150001);
    EXPECT_EQ(table.employerSocialSecurity, 9300);
    EXPECT_EQ(table.employerMedicare, 2175);
    EXPECT_EQ(table.deposit, 12346 + 2 * 9300 + 2 * 2175);
}

// Rows that hold figures without a date, and rows of another year, are named; empty and cleared
// rows are not rows at all. A damaged register is named and left out of every figure.
TEST(EmployerReport, RowsLeftOutAndDamagedRegistersAreListed) {
    TempWorkDir dir;
    RowSpec deductionOnly = Row("", 0);
    deductionOnly.creditUnion = 2500;
    WriteRegister("Ann.yrw",
                  {Row("01/07/05", 100), Row("", 0), Row("0", 0), Row("13/45/05", 7),
                   Row("12/31/04", 9), deductionOnly, Row("soon", 0), Row("01/05/06", 3)});
    WriteRegister("Ann.yrb", {Row("x", 5)});
    testing::WriteFile("Cat.yrw", "\"01/07/05\",1,2\r\n");
    testing::WriteFile(".yrw", testing::RegisterText(true, {Row("01/07/05", 1)}));

    const ReportTable table = TableOf(2005, 1);
    ASSERT_EQ(table.lines.size(), 2u);
    EXPECT_EQ(table.lines[0].file, "Ann.yrw");
    EXPECT_EQ(table.lines[1].file, "Ann.yrb");
    EXPECT_EQ(table.total.gross, 100);
    std::vector<std::string> listed;
    for (const LeftOutRow& row : table.leftOut) {
        listed.push_back(row.employee + " " + row.file + " " + std::to_string(row.row) + " " +
                         row.weekEnding + " " + std::string(ReasonText(row.reason)));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "Ann Ann.yrw 4 13/45/05 no valid week-ending date",
                          "Ann Ann.yrw 5 12/31/04 dated in another year",
                          "Ann Ann.yrw 6  no valid week-ending date",
                          "Ann Ann.yrw 8 01/05/06 dated in another year",
                          "Ann Ann.yrb 1 x no valid week-ending date",
                      }));
    ASSERT_EQ(table.damaged.size(), 1u);
    EXPECT_EQ(table.damaged[0].file, "Cat.yrw");
    EXPECT_EQ(table.damaged[0].problem, "Cat.yrw, line 2, field 4: unexpected end of file");
    EXPECT_EQ(LatestPeriod(ReadRegisters(".")), (ReportPeriod{2006, 1}));
}

TEST(EmployerReport, CentsAreWrittenWholeAndGrouped) {
    EXPECT_EQ(CentsText(123456789), "1,234,567.89");
    EXPECT_EQ(CentsText(-5), "-0.05");
    EXPECT_EQ(CentsText(100000), "1,000.00");
    EXPECT_EQ(CentsNumber(-123456789), "-1234567.89");
    EXPECT_EQ(CentsNumber(0), "0.00");
}

}  // namespace
}  // namespace kestrel

#include "ytd/ytd_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/xlsx_writer.h"
#include "support/temp_dir.h"
#include "support/xlsx_reader.h"

namespace kestrel {
namespace {

const std::array<std::string, 5> kCaptions{"Union", "Savings", "Dues", "Pension", "Parking"};

// Distinct texts for every cell: week n's amount k is n*100 + k + .25 ("103.25").
std::string AmountText(int week, std::size_t k) {
    return std::to_string(week * 100 + static_cast<int>(k)) + ".25";
}

YtdExportTexts SampleTexts(bool weekly, int rows) {
    YtdExportTexts texts;
    texts.weeklyPay = weekly;
    texts.deductionCaptions = kCaptions;
    for (int week = 1; week <= rows; ++week) {
        std::array<std::string, 16> line;
        line[0] = "01/" + std::to_string(week) + "/05";
        for (std::size_t k = 1; k < line.size(); ++k)
            line[k] = AmountText(week, k);
        texts.rows.push_back(line);
    }
    for (std::size_t k = 0; k < texts.totals.size(); ++k)
        texts.totals[k] = std::to_string(9000 + k) + ".50";
    texts.extraTotals = {"11.10", "22.20", ".00", "44.40"};
    texts.activeUser = "Worker1";
    texts.employeeSsn = "123-45-6789";
    return texts;
}

struct Frequency {
    const char* name;
    bool weekly;
    int rowCount;
    int totalsRow;
    int extraRow;
};

class YtdExportMap : public ::testing::TestWithParam<Frequency> {};

// The text and kind of a cell, "" for none.
std::string TextAt(const Workbook& book, const std::string& a1) {
    const Cell* cell = book.Find(a1);
    return cell ? cell->text : "";
}

bool HasValue(const Workbook& book, int row, int column) {
    const Cell* cell = book.Find(CellAddress{row, column});
    return cell && !cell->IsBlank();
}

TEST_P(YtdExportMap, CellsStandWhereTheSheetExpectsThem) {
    const Frequency f = GetParam();
    // Texts for all 52 rows: a bi-weekly export must still stop at week 26.
    const Workbook book = YtdWorkbook(SampleTexts(f.weekly, 52));
    const std::string t = std::to_string(f.totalsRow);
    const std::string x = std::to_string(f.extraRow);
    const std::string x1 = std::to_string(f.extraRow + 1);

    const std::vector<std::string> headings{
        "Date", "Federal", "Soc Sec", "Medicare", "State", "City", "Union", "Savings",
        "Dues", "Pension", "Parking", "Kplan",    "Tips",  "OT",   "Net",   "Gross"};
    for (int column = 1; column <= 16; ++column) {
        const std::string a1 = CellName({1, column});
        EXPECT_EQ(TextAt(book, a1), headings[static_cast<std::size_t>(column - 1)]) << a1;
        EXPECT_TRUE(book.Find(a1)->IsString()) << a1;
    }

    // The first and the last row of the register, week n in sheet row n + 1.
    for (const int week : {1, f.rowCount}) {
        const int row = week + 1;
        EXPECT_EQ(TextAt(book, "A" + std::to_string(row)), "01/" + std::to_string(week) + "/05");
        EXPECT_TRUE(book.Find(CellAddress{row, 1})->IsString());
        for (int column = 2; column <= 16; ++column) {
            const Cell* cell = book.Find(CellAddress{row, column});
            ASSERT_NE(cell, nullptr);
            const std::string text = AmountText(week, static_cast<std::size_t>(column - 1));
            EXPECT_EQ(cell->text, text);
            EXPECT_EQ(std::get<double>(cell->value), std::stod(text));
            EXPECT_EQ(cell->numberFormat, "0.00");
        }
    }
    EXPECT_EQ(TextAt(book, "P2"), AmountText(1, 15));  // Gross last, after Net
    EXPECT_EQ(TextAt(book, "M2"), AmountText(1, 12));  // Tips before Overtime

    EXPECT_EQ(TextAt(book, "A" + t), "TOTALS=");
    for (int column = 2; column <= 16; ++column) {
        const Cell* cell = book.Find(CellAddress{f.totalsRow, column});
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text, std::to_string(9000 + column - 2) + ".50");
        EXPECT_TRUE(cell->IsNumber());
    }

    const std::vector<std::pair<std::string, std::string>> extras{
        {"C" + x, "SDI"},    {"D" + x, "SUI"},    {"E" + x, "Cafe"}, {"F" + x, "Tips"},
        {"C" + x1, "11.10"}, {"D" + x1, "22.20"}, {"E" + x1, ".00"}, {"F" + x1, "44.40"}};
    for (const auto& [a1, text] : extras)
        EXPECT_EQ(TextAt(book, a1), text) << a1;
    EXPECT_TRUE(book.Find("E" + x1)->IsNumber());

    // Nothing between the register and the totals, nor around the extra totals, nor beyond P.
    for (int row = 1; row <= 60; ++row) {
        const bool used = row <= f.rowCount + 1 || row == f.totalsRow || row == f.extraRow ||
                          row == f.extraRow + 1;
        for (int column = 1; column <= 20; ++column) {
            const bool extraCell =
                (row == f.extraRow || row == f.extraRow + 1) && column >= 3 && column <= 6;
            const bool expected = column <= 16 && used && (row < f.extraRow || extraCell);
            EXPECT_EQ(HasValue(book, row, column), expected) << CellName({row, column});
        }
    }
}

TEST_P(YtdExportMap, FormattingFrozenRowAndPageSetup) {
    const Frequency f = GetParam();
    const Workbook book = YtdWorkbook(SampleTexts(f.weekly, f.rowCount));
    struct Look {
        int row;
        int columns;
        bool bold;
        Rgb color;
    };
    for (const Look& look :
         {Look{1, 16, true, kRgbRed}, Look{f.totalsRow, 16, true, kRgbBlue},
          Look{f.extraRow, 6, true, kRgbRed}, Look{f.extraRow + 1, 6, false, kRgbBlue}}) {
        for (int column = 1; column <= 17; ++column) {
            const std::string a1 = CellName({look.row, column});
            const Cell* cell = book.Find(a1);
            if (column > look.columns) {
                EXPECT_TRUE(cell == nullptr || (!cell->bold && !cell->color)) << a1;
                continue;
            }
            ASSERT_NE(cell, nullptr) << a1;
            EXPECT_EQ(cell->bold, look.bold) << a1;
            EXPECT_EQ(cell->color, look.color) << a1;
        }
    }
    const Cell* plain = book.Find("B2");
    EXPECT_FALSE(plain->bold);
    EXPECT_EQ(plain->color, std::nullopt);

    EXPECT_EQ(book.frozenRows, 1);
    const PageSetup& page = book.page;
    EXPECT_TRUE(page.landscape);
    EXPECT_EQ(page.fitToPagesWide, 1);
    EXPECT_EQ(page.fitToPagesTall, 1);
    for (const double margin : {page.topMargin, page.bottomMargin, page.leftMargin,
                                page.rightMargin, page.headerMargin, page.footerMargin})
        EXPECT_EQ(margin, 0.0);
    EXPECT_EQ(page.centerHeader, "");
    EXPECT_EQ(page.leftFooter, "Worker1    123-45-6789");
    EXPECT_EQ(page.centerFooter, "Kestrel\xC2\xAE");
    EXPECT_TRUE(page.centerHorizontally);
    EXPECT_FALSE(page.centerVertically);

    // Widths follow the texts: the bold heading "Medicare" is wider than its amounts.
    const std::map<int, double> widths = book.ColumnWidths();
    EXPECT_EQ(widths.size(), 16u);
    EXPECT_EQ(widths.at(4), FittedWidth("Medicare", true));
    // The longest date outgrows the bold "TOTALS=".
    EXPECT_EQ(widths.at(1), FittedWidth("01/10/05", false));
    EXPECT_GT(widths.at(1), FittedWidth("TOTALS=", true));
}

INSTANTIATE_TEST_SUITE_P(Frequencies, YtdExportMap,
                         ::testing::Values(Frequency{"Weekly", true, 52, 54, 56},
                                           Frequency{"BiWeekly", false, 26, 28, 31}),
                         [](const auto& info) { return std::string(info.param.name); });

// A register as a file holds it, with totals that do not match its rows.
YtdRegister SampleRegister() {
    YtdRegister ytd;
    YtdRow& first = ytd.Row(1);
    first.WeekEnding = "01/07/05";
    first.Federal = 30.5f;
    first.SocialSecurity = 18.6f;
    first.Tips = 1.125f;
    first.Overtime = 45;
    first.Net = 235.43f;
    first.Gross = 300;
    first.Sdi = 1.2f;
    first.Sui = 0.5f;
    first.Cafeteria = 20;
    ytd.Row(2).WeekEnding = "0";  // cleared by the user
    YtdRow& third = ytd.Row(3);
    third.WeekEnding = "01/21/05";
    third.Federal = 1234.5f;
    third.Tips = 1.125f;
    third.Gross = 1500;
    // Beyond a bi-weekly register's rows, but its SDI still counts.
    YtdRow& late = ytd.Row(40);
    late.WeekEnding = "10/07/05";
    late.Federal = 10;
    late.Sdi = 2;
    ytd.totals.Federal = 999;
    ytd.totals.Gross = Currency::FromRaw(1);
    return ytd;
}

TEST(RegisterExportTexts, ShowsTheRegisterAsTheOpenedViewDoes) {
    const YtdRegister ytd = SampleRegister();
    const YtdExportTexts weekly =
        RegisterExportTexts(ytd, true, kCaptions, "Worker1", "123-45-6789");
    ASSERT_EQ(weekly.rows.size(), 52u);
    EXPECT_EQ(weekly.rows[0],
              (std::array<std::string, 16>{"01/07/05", "30.50", "18.60", ".00", ".00", ".00", ".00",
                                           ".00", ".00", ".00", ".00", ".00", "1.13", "45.00",
                                           "235.43", "300.00"}));
    EXPECT_EQ(weekly.rows[1][0], "0");
    EXPECT_EQ(weekly.rows[3][0], "");
    EXPECT_EQ(weekly.rows[3][15], ".00");
    EXPECT_EQ(weekly.rows[39][1], "10.00");
    // The totals are sums of the amounts as shown: 1.13 twice, not 1.125 twice.
    EXPECT_EQ(weekly.totals, (std::array<std::string, 15>{"1275.00", "18.60", ".00", ".00", ".00",
                                                          ".00", ".00", ".00", ".00", ".00", ".00",
                                                          "2.26", "45.00", "235.43", "1800.00"}));
    EXPECT_EQ(weekly.extraTotals, (std::array<std::string, 4>{"3.20", ".50", "20.00", "2.26"}));
    EXPECT_EQ(weekly.deductionCaptions, kCaptions);
    EXPECT_EQ(weekly.activeUser, "Worker1");
    EXPECT_EQ(weekly.employeeSsn, "123-45-6789");
    EXPECT_TRUE(weekly.weeklyPay);

    const YtdExportTexts biweekly = RegisterExportTexts(ytd, false, kCaptions, "Worker1", "");
    ASSERT_EQ(biweekly.rows.size(), 26u);
    EXPECT_FALSE(biweekly.weeklyPay);
    EXPECT_EQ(biweekly.totals[0], "1265.00");    // week 40 is not a bi-weekly row
    EXPECT_EQ(biweekly.extraTotals[0], "3.20");  // but its SDI is held for the year
}

TEST(YtdWorkbookFile, NamedAfterTheEmployee) {
    EXPECT_EQ(YtdWorkbookFileName("Worker1"), "Year To Date Worker1.xlsx");
    EXPECT_EQ(YtdWorkbookFileName(""), "Year To Date.xlsx");
    EXPECT_EQ(YtdWorkbookFileName("a/b"), "Year To Date a_b.xlsx");
}

// The whole export written and read back by a reader that shares no code with the writer.
TEST(YtdWorkbookFile, ASpreadsheetReaderSeesTheCellMapFormattingAndPageSetup) {
    testing::TempWorkDir dir;
    const Workbook book = YtdWorkbook(
        RegisterExportTexts(SampleRegister(), true, kCaptions, "Worker1", "123-45-6789"));
    const std::filesystem::path file = dir.Path() / YtdWorkbookFileName("Worker1");
    const WriteResult saved = WriteXlsx(book, file);
    ASSERT_TRUE(saved) << saved.error;
    testing::XlsxDump dump = testing::ReadXlsx(file);
    ASSERT_EQ(dump.error, "");

    // Every cell of the model, and nothing else, with its kind, value and look.
    for (const auto& [at, cell] : book.Cells()) {
        const std::string a1 = CellName(at);
        const auto found = dump.cells.find(a1);
        if (cell.IsBlank() && !cell.bold && !cell.color) {
            EXPECT_EQ(found, dump.cells.end()) << a1;
            continue;
        }
        ASSERT_NE(found, dump.cells.end()) << a1;
        const std::vector<std::string>& read = found->second;
        const std::string kind = cell.IsNumber() ? "n" : cell.IsString() ? "s" : "-";
        EXPECT_EQ(read[0], kind) << a1;
        if (cell.IsNumber()) {
            EXPECT_EQ(std::stod(read[1]), std::get<double>(cell.value)) << a1;
        } else {
            EXPECT_EQ(read[1], cell.text) << a1;
        }
        EXPECT_EQ(read[2], cell.bold ? "1" : "0") << a1;
        const std::string color = !cell.color               ? "-"
                                  : *cell.color == kRgbRed  ? "FFFF0000"
                                  : *cell.color == kRgbBlue ? "FF0000FF"
                                                            : "other";
        EXPECT_EQ(read[3], color) << a1;
        EXPECT_EQ(read[4], cell.numberFormat.empty() ? "General" : cell.numberFormat) << a1;
        dump.cells.erase(found);
    }
    EXPECT_TRUE(dump.cells.empty()) << dump.cells.begin()->first;

    const std::map<int, double> widths = book.ColumnWidths();
    ASSERT_EQ(dump.widths.size(), widths.size());
    for (const auto& [column, width] : widths) {
        const std::string letter = CellName({1, column}).substr(0, 1);
        // The file stores the width with the cell padding rounded to whole pixels.
        EXPECT_NEAR(dump.widths.at(letter), width, 1.0) << letter;
    }

    const std::map<std::string, std::string> expected{
        {"sheet", "Sheet1"},
        {"freeze", "A2"},
        {"orientation", "landscape"},
        {"fitToPage", "1"},
        {"fitToWidth", "1"},
        {"fitToHeight", "1"},
        {"margin left", "0"},
        {"margin right", "0"},
        {"margin top", "0"},
        {"margin bottom", "0"},
        {"margin header", "0"},
        {"margin footer", "0"},
        {"header", ""},
        {"rawHeader", ""},
        {"footerLeft", "Worker1    123-45-6789"},
        {"footerCenter", "Kestrel\xC2\xAE"},
        {"rawFooter", "&LWorker1    123-45-6789&CKestrel\xC2\xAE"},
        {"hcenter", "1"},
        {"vcenter", "0"},
    };
    EXPECT_EQ(dump.items, expected);
}

}  // namespace
}  // namespace kestrel

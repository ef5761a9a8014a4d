#include "platform/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

struct AddressCase {
    const char* name;
    std::optional<CellAddress> address;
};

TEST(CellAddress, ParsesA1NamesAndRefusesTheRest) {
    const std::vector<AddressCase> cases{
        {"A1", CellAddress{1, 1}},
        {"B54", CellAddress{54, 2}},
        {"p1", CellAddress{1, 16}},
        {"Z9", CellAddress{9, 26}},
        {"AA1", CellAddress{1, 27}},
        {"AZ10", CellAddress{10, 52}},
        {"XFD1048576", CellAddress{kSheetRows, kSheetColumns}},
        {"", std::nullopt},
        {"A", std::nullopt},
        {"54", std::nullopt},
        {"A0", std::nullopt},
        {"A01", std::nullopt},
        {"A1048577", std::nullopt},
        {"A99999999999999999999", std::nullopt},
        {"XFE1", std::nullopt},
        {"AAAA1", std::nullopt},
        {"$A$1", std::nullopt},
        {"A1B", std::nullopt},
        {"A 1", std::nullopt},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseCellAddress(c.name), c.address);
        if (c.address) {
            EXPECT_EQ(CellName(*c.address), std::string(c.name) == "p1" ? "P1" : c.name);
        }
    }
}

struct TextCase {
    const char* text;
    std::optional<double> number;  // nullopt: kept as a string
    const char* format;
    const char* displayed;
};

TEST(Workbook, NumberTextsBecomeNumbersAndKeepTwoDecimals) {
    const std::vector<TextCase> cases{
        {"12.50", 12.5, "0.00", "12.50"},
        {".00", 0.0, "0.00", "0.00"},
        {"-3.25", -3.25, "0.00", "-3.25"},
        {"1234.56", 1234.56, "0.00", "1234.56"},
        {" 12.50 ", 12.5, "0.00", "12.50"},
        {"12.5", 12.5, "", "12.5"},
        {"7", 7.0, "", "7"},
        {"0", 0.0, "", "0"},
        {"1.125", 1.125, "", "1.125"},
        {"1E3", 1000.0, "", "1000"},
        {"01/07/05", std::nullopt, "", "01/07/05"},
        {"TOTALS=", std::nullopt, "", "TOTALS="},
        {"12.50abc", std::nullopt, "", "12.50abc"},
        {"1-2", std::nullopt, "", "1-2"},
        {"-", std::nullopt, "", "-"},
        {"1E999", std::nullopt, "", "1E999"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        Workbook book;
        ASSERT_TRUE(book.SetText("C3", c.text));
        const Cell* cell = book.Find("C3");
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text, c.text);
        EXPECT_EQ(cell->IsNumber(), c.number.has_value());
        EXPECT_EQ(cell->IsString(), !c.number.has_value());
        if (c.number) {
            EXPECT_EQ(std::get<double>(cell->value), *c.number);
        }
        EXPECT_EQ(cell->numberFormat, c.format);
        EXPECT_EQ(cell->Displayed(), c.displayed);
    }
}

TEST(Workbook, MinusZeroIsStoredAsZero) {
    Workbook book;
    book.SetText("A1", "-.00");
    const double value = std::get<double>(book.Find("A1")->value);
    EXPECT_EQ(value, 0.0);
    EXPECT_FALSE(std::signbit(value));
    EXPECT_EQ(book.Find("A1")->Displayed(), "0.00");
}

TEST(Workbook, EmptyTextLeavesNoValueButKeepsTheFormatting) {
    Workbook book;
    ASSERT_TRUE(book.SetText("B2", ""));
    EXPECT_TRUE(book.Find("B2")->IsBlank());

    book.SetText("B3", "12.50");
    book.SetBold({3, 2}, true);
    book.SetColor({3, 2}, kRgbBlue);
    book.SetText("B3", "");
    const Cell* cell = book.Find("B3");
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->IsBlank());
    EXPECT_EQ(cell->numberFormat, "");
    EXPECT_TRUE(cell->bold);
    EXPECT_EQ(cell->color, kRgbBlue);

    // Formatting alone makes a blank cell; a text set later keeps that formatting.
    book.SetColor({4, 1}, kRgbRed);
    EXPECT_TRUE(book.Find("A4")->IsBlank());
    book.SetText("A4", "SDI");
    EXPECT_EQ(book.Find("A4")->color, kRgbRed);
    EXPECT_FALSE(book.Find("A4")->bold);
    EXPECT_EQ(book.Find("A5"), nullptr);
}

TEST(Workbook, AddressesOutsideTheSheetChangeNothing) {
    Workbook book;
    EXPECT_FALSE(book.SetText("A0", "x"));
    EXPECT_FALSE(book.SetText("nowhere", "x"));
    EXPECT_FALSE(book.SetText(CellAddress{0, 1}, "x"));
    EXPECT_FALSE(book.SetText(CellAddress{1, kSheetColumns + 1}, "x"));
    EXPECT_FALSE(book.SetBold(CellAddress{kSheetRows + 1, 1}, true));
    EXPECT_FALSE(book.SetColor(CellAddress{1, 0}, kRgbRed));
    EXPECT_TRUE(book.Cells().empty());
    EXPECT_EQ(book.Find("nowhere"), nullptr);
}

TEST(Workbook, ColumnWidthsFitTheLongestDisplayedText) {
    Workbook book;
    book.SetText("A1", "Date");
    book.SetBold({1, 1}, true);
    book.SetText("A2", "01/07/05");
    book.SetText("B1", "Medicare");
    book.SetBold({1, 2}, true);
    book.SetText("B2", "1234.50");
    book.SetText("C2", ".00");              // shown as 0.00
    book.SetText("D2", "Kestrel\xC2\xAE");  // eight characters in nine bytes
    book.SetBold({1, 5}, true);             // formatted but empty
    book.SetText("F3", "TOTALS=");
    book.SetText("F4", "");

    const std::map<int, double> widths = book.ColumnWidths();
    EXPECT_EQ(widths, (std::map<int, double>{{1, FittedWidth("01/07/05", false)},
                                             {2, FittedWidth("Medicare", true)},
                                             {3, FittedWidth("0.00", false)},
                                             {4, FittedWidth("Kestrel", false) + 1},
                                             {6, FittedWidth("TOTALS=", false)}}));
    EXPECT_EQ(FittedWidth("01/07/05", false), 9);
    EXPECT_EQ(FittedWidth("Medicare", true), 9.8);
    EXPECT_GT(FittedWidth("Medicare", true), FittedWidth("Medicare", false));
    EXPECT_EQ(FittedWidth(std::string(400, 'x'), false), 255);
}

}  // namespace
}  // namespace kestrel

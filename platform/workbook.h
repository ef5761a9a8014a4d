// An in-memory spreadsheet of one sheet, as the year-to-date export builds it: cells by address,
// per-cell bold and colour, a frozen heading row, fitted column widths and the page setup. It
// knows no file format; platform/xlsx_writer saves it.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kestrel {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kRgbRed{255, 0, 0};
inline constexpr Rgb kRgbBlue{0, 0, 255};

// Row and column count from 1, as a spreadsheet numbers them: A1 is {1, 1}. Ordered row by row.
struct CellAddress {
    int row = 1;
    int column = 1;
    auto operator<=>(const CellAddress&) const = default;
};

inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;  // A to XFD

// "B54" -> {54, 2}; letters in either case. nullopt for anything that is not one cell of a sheet.
std::optional<CellAddress> ParseCellAddress(std::string_view a1);
// {54, 2} -> "B54".
std::string CellName(CellAddress at);

struct Cell {
    // A cell can carry formatting without a value (a formatted blank).
    std::variant<std::monostate, std::string, double> value;
    // The text as it was given, which the sheet shows.
    std::string text;
    // "" is the sheet's General format; "0.00" keeps the two decimals a text was given with.
    std::string numberFormat;
    bool bold = false;
    std::optional<Rgb> color;

    bool IsNumber() const { return std::holds_alternative<double>(value); }
    bool IsString() const { return std::holds_alternative<std::string>(value); }
    bool IsBlank() const { return std::holds_alternative<std::monostate>(value); }
    // What the sheet displays: a number through its format, a string as it stands.
    std::string Displayed() const;
};

struct PageSetup {
    bool landscape = false;
    // 0 leaves that direction at the sheet's own size (no fitting).
    int fitToPagesWide = 0;
    int fitToPagesTall = 0;
    // Inches; the spreadsheet application's own defaults.
    double topMargin = 0.75;
    double bottomMargin = 0.75;
    double leftMargin = 0.7;
    double rightMargin = 0.7;
    double headerMargin = 0.3;
    double footerMargin = 0.3;
    // Plain texts: the writer escapes whatever the format would read as a code.
    std::string centerHeader;
    std::string leftFooter;
    std::string centerFooter;
    bool centerHorizontally = false;
    bool centerVertically = false;
};

class Workbook {
  public:
    // A text that is a number (a strict conversion, so "12.50", ".00" and "-3.25" but not
    // "01/07/05" or "TOTALS=") becomes a number the sheet can sum; any other text a string. An
    // empty text leaves no value (the cell's formatting stays). False, and nothing changed, for
    // an address outside the sheet.
    bool SetText(CellAddress at, std::string_view text);
    bool SetText(std::string_view a1, std::string_view text);
    bool SetBold(CellAddress at, bool bold);
    bool SetColor(CellAddress at, Rgb color);

    // The cell at an address, or null where nothing was set.
    const Cell* Find(CellAddress at) const;
    const Cell* Find(std::string_view a1) const;
    const std::map<CellAddress, Cell>& Cells() const { return cells_; }

    // The width of every column that holds a value, in the sheet's character units, fitted to
    // its longest displayed text as AutoFit fits it. Columns without values are left out and
    // keep the sheet's default width.
    std::map<int, double> ColumnWidths() const;

    std::string sheetName = "Sheet1";
    // Rows kept in view above the scrolling part; 1 freezes the heading row.
    int frozenRows = 0;
    PageSetup page;

  private:
    std::map<CellAddress, Cell> cells_;
};

// The width AutoFit gives a column whose longest text is `text`: one unit per character (UTF-8
// characters, not bytes), bold a tenth wider, plus the cell's padding.
double FittedWidth(std::string_view text, bool bold);

}  // namespace kestrel

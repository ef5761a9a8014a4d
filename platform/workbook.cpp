#include "platform/workbook.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/numbers.h"

namespace kestrel {

namespace {

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool InSheet(CellAddress at) {
    return at.row >= 1 && at.row <= kSheetRows && at.column >= 1 && at.column <= kSheetColumns;
}

// A number text keeps its look in the sheet when it was given with exactly two decimals and no
// exponent: "12.50" stays 12.50 instead of the General format's 12.5.
bool HasTwoDecimals(std::string_view text) {
    while (!text.empty() && IsBlankChar(text.back()))
        text.remove_suffix(1);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) return false;
    const std::string_view decimals = text.substr(point + 1);
    return decimals.size() == 2 && IsDigit(decimals[0]) && IsDigit(decimals[1]);
}

// Characters, not bytes: a continuation byte of UTF-8 starts no character.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr double kMaxColumnWidth = 255;

}  // namespace

std::optional<CellAddress> ParseCellAddress(std::string_view a1) {
    std::size_t at = 0;
    long column = 0;
    while (at < a1.size() && at < 3) {
        const char c = a1[at];
        int letter = 0;
        if (c >= 'A' && c <= 'Z') {
            letter = c - 'A' + 1;
        } else if (c >= 'a' && c <= 'z') {
            letter = c - 'a' + 1;
        } else {
            break;
        }
        column = column * 26 + letter;
        ++at;
    }
    if (at == 0 || at == a1.size() || a1[at] == '0') return std::nullopt;
    long row = 0;
    for (; at < a1.size(); ++at) {
        if (!IsDigit(a1[at]) || row > kSheetRows) return std::nullopt;
        row = row * 10 + (a1[at] - '0');
    }
    const CellAddress address{static_cast<int>(std::min<long>(row, kSheetRows + 1L)),
                              static_cast<int>(column)};
    if (!InSheet(address)) return std::nullopt;
    return address;
}

std::string CellName(CellAddress at) {
    std::string letters;
    for (int column = at.column; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters + std::to_string(at.row);
}

std::string Cell::Displayed() const {
    if (const auto* number = std::get_if<double>(&value)) {
        return numberFormat.empty() ? DoubleText(*number) : FormatNumber(*number, numberFormat);
    }
    if (const auto* string = std::get_if<std::string>(&value)) return *string;
    return {};
}

bool Workbook::SetText(CellAddress at, std::string_view text) {
    if (!InSheet(at)) return false;
    Cell& cell = cells_[at];
    cell.text = std::string(text);
    cell.numberFormat.clear();
    if (text.empty()) {
        cell.value = std::monostate{};
        return true;
    }
    const std::optional<double> number = StrictDouble(text);
    if (number && std::isfinite(*number)) {
        // "-.00" is a zero; the sheet would otherwise keep a negative zero.
        cell.value = *number == 0 ? 0.0 : *number;
        if (HasTwoDecimals(text)) cell.numberFormat = "0.00";
    } else {
        cell.value = std::string(text);
    }
    return true;
}

bool Workbook::SetText(std::string_view a1, std::string_view text) {
    const auto at = ParseCellAddress(a1);
    return at && SetText(*at, text);
}

bool Workbook::SetBold(CellAddress at, bool bold) {
    if (!InSheet(at)) return false;
    cells_[at].bold = bold;
    return true;
}

bool Workbook::SetColor(CellAddress at, Rgb color) {
    if (!InSheet(at)) return false;
    cells_[at].color = color;
    return true;
}

const Cell* Workbook::Find(CellAddress at) const {
    const auto found = cells_.find(at);
    return found == cells_.end() ? nullptr : &found->second;
}

const Cell* Workbook::Find(std::string_view a1) const {
    const auto at = ParseCellAddress(a1);
    return at ? Find(*at) : nullptr;
}

std::map<int, double> Workbook::ColumnWidths() const {
    std::map<int, double> widths;
    for (const auto& [at, cell] : cells_) {
        if (cell.IsBlank()) continue;
        double& width = widths[at.column];
        width = std::max(width, FittedWidth(cell.Displayed(), cell.bold));
    }
    return widths;
}

double FittedWidth(std::string_view text, bool bold) {
    const double characters = static_cast<double>(CharacterCount(text)) * (bold ? 1.1 : 1.0);
    // Rounded to hundredths so the same texts always give the same stored width.
    return std::min(kMaxColumnWidth, std::round((characters + 1.0) * 100.0) / 100.0);
}

}  // namespace kestrel

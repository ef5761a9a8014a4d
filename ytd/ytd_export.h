// The spreadsheet export of the year-to-date register: the cell map, formatting and page setup of
// the workbook, built from the texts the YTD view shows, and the name it is saved under for the
// desktop's spreadsheet application to open.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/workbook.h"
#include "ytd/ytd_register.h"

namespace kestrel {

struct YtdExportTexts {
    bool weeklyPay = true;                         // RowCount 52 or 26; rows T and X follow from it
    std::array<std::string, 5> deductionCaptions;  // G1..K1
    // Rows 1..RowCount as the grid shows them: [0] week ending, [1..15] the amounts in the
    // order of kYtdColumns (Federal .. KPlan, Tips, Overtime, Net, Gross). Rows beyond RowCount
    // are not exported.
    std::vector<std::array<std::string, 16>> rows;
    std::array<std::string, 15> totals;      // B T .. P T in the same column order
    std::array<std::string, 4> extraTotals;  // Sdi, Sui, Cafeteria, Tips (C X+1 .. F X+1)
    std::string activeUser, employeeSsn;     // footer
};

// The totals line and the line of the extra totals' labels; their values stand under the labels.
constexpr int YtdTotalsRow(bool weeklyPay) {
    return weeklyPay ? 54 : 28;
}
constexpr int YtdExtraTotalsRow(bool weeklyPay) {
    return weeklyPay ? 56 : 31;
}

inline constexpr std::string_view kYtdExportFooter = "Kestrel\xC2\xAE";  // "Kestrel®"

Workbook YtdWorkbook(const YtdExportTexts& texts);

// The texts the view shows right after it was opened, for an export without a display: every
// amount of rows 1..RowCount formatted "#####.00", and the totals recomputed over those amounts
// the way the view recomputes them on opening, also "#####.00".
YtdExportTexts RegisterExportTexts(const YtdRegister& ytd, bool weeklyPay,
                                   const std::array<std::string, 5>& captions,
                                   std::string activeUser, std::string employeeSsn);

// "Year To Date <ActiveUser>.xlsx" ("Year To Date.xlsx" with no employee open): the name the
// export suggests in the working folder.
std::string YtdWorkbookFileName(std::string_view activeUser);

// The export's save dialog, offering `fileName` in the working folder, then the workbook written
// there in one step and opened with the desktop's spreadsheet program. nullopt when the dialog
// was cancelled, else the outcome in words, for a status line, beginning with `what` ("Year to
// date exported to ..."). A workbook that could not be written, or that nothing could open, has
// also been told in a message.
std::optional<std::string> SaveWorkbook(Host& host, const Workbook& book, std::string_view fileName,
                                        std::string_view what);

}  // namespace kestrel

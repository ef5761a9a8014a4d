#include "ytd/ytd_export.h"

#include <system_error>
#include <utility>

#include "platform/numbers.h"
#include "platform/scripted_host.h"
#include "platform/xlsx_writer.h"

namespace kestrel {

namespace {

constexpr int kColumns = 16;      // A to P
constexpr int kExtraColumns = 6;  // A to F, the labels standing in C to F
constexpr std::string_view kShownFormat = "#####.00";

// Headings of columns A to P; the five deduction columns (G to K) take the employee's captions.
constexpr std::array<std::string_view, kColumns> kHeadings = {
    "Date", "Federal", "Soc Sec", "Medicare", "State", "City", "",    "",
    "",     "",        "",        "Kplan",    "Tips",  "OT",   "Net", "Gross"};
constexpr int kFirstCaptionColumn = 7;  // G

constexpr std::array<std::string_view, 4> kExtraLabels = {"SDI", "SUI", "Cafe", "Tips"};
constexpr int kFirstExtraColumn = 3;  // C

void Emphasize(Workbook& book, int row, int columns, bool bold, Rgb color) {
    for (int column = 1; column <= columns; ++column) {
        book.SetBold({row, column}, bold);
        book.SetColor({row, column}, color);
    }
}

std::string Shown(double amount) {
    return FormatNumber(amount, kShownFormat);
}

}  // namespace

Workbook YtdWorkbook(const YtdExportTexts& texts) {
    Workbook book;
    for (int column = 1; column <= kColumns; ++column) {
        const auto index = static_cast<std::size_t>(column - 1);
        book.SetText({1, column}, kHeadings[index]);
    }
    for (std::size_t k = 0; k < texts.deductionCaptions.size(); ++k)
        book.SetText({1, kFirstCaptionColumn + static_cast<int>(k)}, texts.deductionCaptions[k]);

    const auto rowCount = static_cast<std::size_t>(RowCount(texts.weeklyPay));
    for (std::size_t n = 0; n < texts.rows.size() && n < rowCount; ++n) {
        for (std::size_t k = 0; k < texts.rows[n].size(); ++k)
            book.SetText({static_cast<int>(n) + 2, static_cast<int>(k) + 1}, texts.rows[n][k]);
    }

    const int totalsRow = YtdTotalsRow(texts.weeklyPay);
    book.SetText({totalsRow, 1}, "TOTALS=");
    for (std::size_t k = 0; k < texts.totals.size(); ++k)
        book.SetText({totalsRow, static_cast<int>(k) + 2}, texts.totals[k]);

    const int extraRow = YtdExtraTotalsRow(texts.weeklyPay);
    for (std::size_t k = 0; k < kExtraLabels.size(); ++k) {
        const int column = kFirstExtraColumn + static_cast<int>(k);
        book.SetText({extraRow, column}, kExtraLabels[k]);
        book.SetText({extraRow + 1, column}, texts.extraTotals[k]);
    }

    Emphasize(book, 1, kColumns, true, kRgbRed);
    Emphasize(book, totalsRow, kColumns, true, kRgbBlue);
    Emphasize(book, extraRow, kExtraColumns, true, kRgbRed);
    Emphasize(book, extraRow + 1, kExtraColumns, false, kRgbBlue);

    book.frozenRows = 1;
    PageSetup& page = book.page;
    page.landscape = true;
    page.fitToPagesWide = 1;
    page.fitToPagesTall = 1;
    page.topMargin = page.bottomMargin = page.leftMargin = page.rightMargin = 0;
    page.headerMargin = page.footerMargin = 0;
    page.centerHeader.clear();
    page.leftFooter = texts.activeUser + "    " + texts.employeeSsn;
    page.centerFooter = std::string(kYtdExportFooter);
    page.centerHorizontally = true;
    page.centerVertically = false;
    return book;
}

YtdExportTexts RegisterExportTexts(const YtdRegister& ytd, bool weeklyPay,
                                   const std::array<std::string, 5>& captions,
                                   std::string activeUser, std::string employeeSsn) {
    YtdExportTexts texts;
    texts.weeklyPay = weeklyPay;
    texts.deductionCaptions = captions;
    texts.activeUser = std::move(activeUser);
    texts.employeeSsn = std::move(employeeSsn);

    // Opening the view shows every amount with two decimals and takes those texts back into the
    // register before it adds up the totals, so the totals are sums of the amounts as shown.
    YtdRegister shown = ytd;
    const int rowCount = RowCount(weeklyPay);
    for (int week = 1; week <= rowCount; ++week) {
        YtdRow& row = shown.Row(week);
        std::array<std::string, 16> line;
        line[0] = row.WeekEnding;
        for (std::size_t k = 0; k < kYtdColumns.size(); ++k) {
            float& amount = row.*ColumnMember(kYtdColumns[k]);
            line[k + 1] = Shown(static_cast<double>(amount));
            amount = static_cast<float>(LeadingNumber(line[k + 1]));
        }
        texts.rows.push_back(std::move(line));
    }
    EmployeeProfile profile;
    profile.WeeklyPay = weeklyPay;
    profile.BiWeeklyPay = !weeklyPay;
    // An arithmetic fault leaves the totals as far as they got, which is what the view would
    // show after its message; there is no one to show the message to here.
    ScriptedHost quiet;
    AddAnnual(shown, profile, quiet);

    const YtdTotals& t = shown.totals;
    texts.totals = {
        Shown(t.Federal),
        Shown(t.SocialSecurity),
        Shown(t.Medicare),
        Shown(t.State),
        Shown(t.City),
        Shown(t.CreditUnion),
        Shown(t.Bond),
        Shown(t.Dues),
        Shown(t.Pension),
        Shown(t.Misc),
        Shown(t.KPlan),
        Shown(t.Tips.ToDouble()),
        Shown(t.Overtime.ToDouble()),
        Shown(t.Net.ToDouble()),
        Shown(t.Gross.ToDouble()),
    };
    texts.extraTotals = {Shown(t.Sdi), Shown(t.Sui), Shown(t.Cafeteria), Shown(t.Tips.ToDouble())};
    return texts;
}

std::string YtdWorkbookFileName(std::string_view activeUser) {
    if (activeUser.empty()) return "Year To Date.xlsx";
    std::string name = "Year To Date " + std::string(activeUser) + ".xlsx";
    // A name that slipped past the employee-name rules must not lead out of the folder.
    for (char& c : name) {
        if (c == '/' || c == '\0') c = '_';
    }
    return name;
}

std::optional<std::string> SaveWorkbook(Host& host, const Workbook& book, std::string_view fileName,
                                        std::string_view what) {
    // The workbook is the user's to keep: it goes where the user says, beside the employee's
    // files unless told otherwise. A cancelled dialog is no mistake and says nothing.
    std::error_code noFolder;
    const std::filesystem::path suggested = std::filesystem::current_path(noFolder) / fileName;
    const std::optional<std::filesystem::path> file =
        host.SaveFile(suggested, "Excel Workbook (*.xlsx)|*.xlsx");
    if (!file) return std::nullopt;
    const WriteResult written = WriteXlsx(book, *file);
    if (!written) {
        const std::string failed = "The spreadsheet could not be written: " + written.error;
        ShowMessage(host, failed, MsgIcon::Warning);
        return failed;
    }
    const std::string saved = std::string(what) + " exported to " + file->string();
    if (host.OpenWorkbook(*file)) return saved;
    ShowMessage(host,
                saved + ".\r\nNo spreadsheet program could open it; open the file from there.",
                MsgIcon::Information);
    return saved + " (no spreadsheet program could open it)";
}

}  // namespace kestrel

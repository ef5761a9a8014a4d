#include "ytd/year_to_date.h"

#include <algorithm>

#include "app/program.h"
#include "employee/open_employee.h"
#include "platform/numbers.h"
#include "ytd/ytd_export.h"

namespace kestrel {

namespace {

constexpr std::string_view kPosted = "#####.00";

int RowsInUse(const Program& program) {
    return RowCount(program.profile.WeeklyPay);
}

// A figure of the main window ("1,234.56", "$.50", or empty) as the grid cell that posts it.
std::string PostedText(std::string shown) {
    shown.erase(
        std::remove_if(shown.begin(), shown.end(), [](char c) { return c == ',' || c == '$'; }),
        shown.end());
    if (shown.find_first_not_of(' ') == std::string::npos) return {};
    return FormatNumber(LeadingNumber(shown), kPosted);
}

float PostedAmount(const std::string& shown) {
    return static_cast<float>(LeadingNumber(PostedText(shown)));
}

void SumAndShow(Program& program) {
    AddAnnual(program.ytd, program.profile, program.host, ViewsOf(program).totals);
}

}  // namespace

YtdViews ViewsOf(Program& program) {
    YtdViews views;
    if (program.ytdGrid.IsLoaded()) views.grid = &program.ytdGrid;
    if (program.ytdTotals.IsLoaded()) views.totals = &program.ytdTotals;
    return views;
}

void OpenYearToDate(Program& program) {
    // Reloading the stored file would throw away what the user posted and has not saved.
    if (YearToDateHoldsChanges(program) && !CloseYearToDate(program)) {
        program.host.BringToFront(program.ytdContainer);
        return;
    }
    MDIForm1& container = program.ytdContainer;
    frmYear& grid = program.ytdGrid;
    frmYearTot& totals = program.ytdTotals;
    container.Show();
    grid.Load();
    Rect place = grid.Geometry();
    place.top = 0;
    place.left = 0;
    place.height = program.profile.WeeklyPay ? frmYear::kWeeklyHeight : frmYear::kBiWeeklyHeight;
    grid.SetGeometry(place);
    totals.Load();
    Rect strip = totals.Geometry();
    strip.left = 0;
    strip.top = place.top + place.height;
    totals.SetGeometry(strip);
    // The container asks for the grid and the strip whole; the window opens no larger than the
    // screen it is on allows and scrolls to the rest.
    Rect around = container.Geometry();
    around.height = strip.top + strip.height;
    container.SetGeometry(around);
    // Always the stored file: edits of an earlier opening that were not saved are gone.
    fillBoxes(program);
    Update(program);
    SumAndShow(program);
    grid.MarkStored();
    grid.Show();
    totals.Show();
}

void fillBoxes(Program& program) {
    LoadAnnual(program.ytd, program.ActiveUser, program.profile, program.host, ViewsOf(program));
    if (!program.ytdGrid.IsLoaded()) return;
    frmYear& grid = program.ytdGrid;
    for (int week = 1; week <= RowsInUse(program); ++week) {
        const YtdRow& row = program.ytd.Row(week);
        grid.SetWeekEnding(week, row.WeekEnding);
        for (YtdColumn column : kYtdColumns)
            grid.SetAmount(week, column, FormatNumber(row.*ColumnMember(column), kPosted));
    }
}

void Update(Program& program) {
    if (!program.ytdGrid.IsLoaded()) return;
    const frmYear& grid = program.ytdGrid;
    for (int week = 1; week <= RowsInUse(program); ++week) {
        YtdRow& row = program.ytd.Row(week);
        row.WeekEnding = grid.WeekEndingText(week);
        for (YtdColumn column : kYtdColumns) {
            row.*ColumnMember(column) =
                static_cast<float>(LeadingNumber(grid.AmountText(week, column)));
        }
    }
}

void Recalculate(Program& program) {
    Update(program);
    SumAndShow(program);
}

void PasteMe(Program& program, int week) {
    if (week < 1 || week > RowsInUse(program) || !program.ytdGrid.IsLoaded()) return;
    frmYear& grid = program.ytdGrid;
    Form1Ui& main = program.form1.ui();
    const PayResult& r = program.result;
    grid.SetWeekEnding(week, main.txtWeekEnd->Text());
    const std::array<YtdColumn, 11> shownLines{
        YtdColumn::Federal, YtdColumn::SocialSecurity, YtdColumn::Medicare, YtdColumn::State,
        YtdColumn::City,    YtdColumn::CreditUnion,    YtdColumn::Bond,     YtdColumn::Dues,
        YtdColumn::Pension, YtdColumn::Misc,           YtdColumn::KPlan};
    for (std::size_t line = 0; line < shownLines.size(); ++line)
        grid.SetAmount(week, shownLines[line], PostedText(main.lbTax[line]->Caption()));
    grid.SetAmount(week, YtdColumn::Overtime, FormatNumber(r.TotalOt, kPosted));
    grid.SetAmount(week, YtdColumn::Tips, FormatNumber(r.TotalTips, kPosted));
    grid.SetAmount(week, YtdColumn::Gross, FormatNumber(r.GrossPay, kPosted));
    grid.SetAmount(week, YtdColumn::Net, FormatNumber(r.NetPay, kPosted));
    YtdRow& row = program.ytd.Row(week);
    row.Sdi = PostedAmount(main.lbSdi->Caption());
    row.Sui = PostedAmount(main.lbSui->Caption());
    row.Cafeteria = PostedAmount(main.lbCafe->Caption());
    Update(program);
    SumAndShow(program);
}

void DeleteRow(Program& program, int week) {
    if (week < 1 || week > RowsInUse(program) || !program.ytdGrid.IsLoaded()) return;
    frmYear& grid = program.ytdGrid;
    grid.SetWeekEnding(week, "0");
    for (YtdColumn column : kYtdColumns)
        grid.SetAmount(week, column, "0");
    YtdRow& row = program.ytd.Row(week);
    row.Sdi = 0;
    row.Sui = 0;
    row.Cafeteria = 0;
    Update(program);
    SumAndShow(program);
}

void ClearYearToDate(Program& program) {
    const int rows = RowsInUse(program);
    if (program.ytdGrid.IsLoaded()) {
        for (int week = 1; week <= rows; ++week) {
            program.ytdGrid.SetWeekEnding(week, "0");
            for (YtdColumn column : kYtdColumns)
                program.ytdGrid.SetAmount(week, column, "0");
        }
    } else {
        // With the view closed the register takes what the cleared grid would have given it.
        for (int week = 1; week <= rows; ++week) {
            YtdRow& row = program.ytd.Row(week);
            const YtdRow cleared{"0"};
            row.WeekEnding = cleared.WeekEnding;
            for (YtdColumn column : kYtdColumns)
                row.*ColumnMember(column) = 0;
        }
    }
    for (YtdRow& row : program.ytd.rows) {
        row.Sdi = 0;
        row.Sui = 0;
        row.Cafeteria = 0;
    }
    Update(program);
    SumAndShow(program);
}

void ClearAllConfirmed(Program& program) {
    const MsgResult answer = program.host.MsgBox(
        "Clear every row of the year to date?\r\nThe file keeps its rows unless you save "
        "the register afterwards.",
        MsgButtons::YesNoDefaultNo, MsgIcon::Warning, "Clear All");
    if (answer != MsgResult::Yes) return;
    ClearYearToDate(program);
    if (program.ytdGrid.IsLoaded()) program.ytdGrid.clearedSinceStored = true;
}

bool YearToDateHoldsChanges(Program& program) {
    return program.ytdGrid.DiffersFromStored();
}

bool StoreYearToDate(Program& program) {
    if (!YearToDateHoldsChanges(program)) return true;
    Update(program);
    if (!SaveAnnual(program.ytd, program.ActiveUser, program.profile, program.host,
                    ViewsOf(program))) {
        return false;
    }
    program.ytdGrid.MarkStored();
    return true;
}

bool CloseYearToDate(Program& program) {
    if (!program.ytdContainer.IsLoaded()) return true;
    if (YearToDateHoldsChanges(program)) {
        // After a Clear All a careless Enter must not write the wiped rows over the file.
        const MsgButtons buttons = program.ytdGrid.clearedSinceStored
                                       ? MsgButtons::YesNoCancelDefaultNo
                                       : MsgButtons::YesNoCancel;
        const MsgResult answer = program.host.MsgBox("     Do you want to save YTD", buttons,
                                                     MsgIcon::Question, "Save?");
        if (answer == MsgResult::Cancel) return false;
        // The register stays open with its rows until there is an employee to save them for.
        if (answer == MsgResult::Yes && !EmployeeOpenOrTell(program)) return false;
        // A register that could not be written stays open, so nothing posted is lost.
        if (answer == MsgResult::Yes && !StoreYearToDate(program)) return false;
        if (answer == MsgResult::No) program.host.BringToFront(program.form1);
    }
    CloseYearToDateWithoutAsking(program);
    return true;
}

void CloseYearToDateWithoutAsking(Program& program) {
    if (!program.ytdContainer.IsLoaded()) return;
    program.ytdContainer.PermitClose();
    program.ytdGrid.Unload();
    program.ytdTotals.Unload();
    program.ytdContainer.Unload();
}

void ExportYearToDate(Program& program) {
    if (!program.ytdGrid.IsLoaded() || !program.ytdTotals.IsLoaded()) return;
    const frmYear& grid = program.ytdGrid;
    frmYearTot& strip = program.ytdTotals;
    YtdExportTexts texts;
    texts.weeklyPay = program.profile.WeeklyPay;
    texts.deductionCaptions = program.profile.DeductionCaptions;
    for (int week = 1; week <= RowsInUse(program); ++week) {
        std::array<std::string, 16> row;
        row[0] = grid.WeekEndingText(week);
        for (std::size_t k = 0; k < kYtdColumns.size(); ++k)
            row[k + 1] = grid.AmountText(week, kYtdColumns[k]);
        texts.rows.push_back(std::move(row));
    }
    for (std::size_t k = 0; k < kYtdColumns.size(); ++k)
        texts.totals[k] = strip.TotalText(kYtdColumns[k]);
    texts.extraTotals = {strip.ui().txtSdi->Text(), strip.ui().txtSui->Text(),
                         strip.ui().txtCafe->Text(), strip.ui().txtTips->Text()};
    texts.activeUser = program.ActiveUser;
    texts.employeeSsn = program.profile.EmployeeSsn;

    if (const std::optional<std::string> outcome =
            SaveWorkbook(program.host, YtdWorkbook(texts), YtdWorkbookFileName(program.ActiveUser),
                         "Year to date")) {
        // The view covers the main window's status line, so what the user must act on came in
        // a message box; the status line keeps the last outcome.
        program.form1.ShowStatus(*outcome);
    }
}

}  // namespace kestrel

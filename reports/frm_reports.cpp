#include "reports/frm_reports.h"

#include <charconv>
#include <string>
#include <system_error>

#include "app/program.h"
#include "reports/report_documents.h"
#include "ytd/ytd_export.h"

namespace kestrel {

namespace {

constexpr int kWholeYearItem = 4;

// Twips.
constexpr int kMargin = 240;
constexpr int kTableTop = 720;
constexpr int kTableWidth = 17700;
constexpr int kTableHeight = 6480;
constexpr int kButtonsTop = kTableTop + kTableHeight + 240;
constexpr int kButtonWidth = 1560;
constexpr int kButtonHeight = 390;
constexpr int kButtonGap = 180;

std::string NoRegistersText() {
    std::error_code error;
    return "There are no year-to-date registers (.yrw, .yrb) in this folder:\r\n" +
           std::filesystem::current_path(error).string();
}

std::string StatusText(const ReportTable& table) {
    std::string text = std::to_string(table.lines.size()) +
                       (table.lines.size() == 1 ? " register" : " registers") + ", " +
                       std::to_string(table.total.periods) + " pay periods counted";
    if (!table.leftOut.empty()) {
        text += "; " + std::to_string(table.leftOut.size()) +
                (table.leftOut.size() == 1 ? " row" : " rows") +
                " left out, listed under the table";
    }
    if (!table.damaged.empty()) {
        text += "; " + std::to_string(table.damaged.size()) + " not read";
    }
    return text + ".";
}

std::string NotReadMessage(const ReportTable& table) {
    std::string text = "These registers could not be read and are in no figure of the table:";
    for (const DamagedRegister& reg : table.damaged)
        text += "\r\n" + reg.problem;
    return text;
}

}  // namespace

frmReports::frmReports(Program& program)
    : FormOf(program.host, "frmReports", FormKind::Modeless), program_(program) {}

void frmReports::BuildUi(frmReportsUi& ui) {
    SetCaption("Reports");
    SetGeometry({0, 0, kTableWidth + 2 * kMargin, kButtonsTop + kButtonHeight + kMargin});

    ui.lbPeriod = &Add<Label>("lbPeriod", {kMargin, kMargin + 45, 720, 255});
    ui.lbPeriod->SetCaption("Peri&od");
    ui.cboPeriod = &Add<ComboBox>("cboPeriod", {kMargin + 780, kMargin, 1800, 315});
    ui.cboPeriod->SetEditable(false);
    for (int quarter = 1; quarter <= 4; ++quarter)
        ui.cboPeriod->AddItem("Quarter " + std::to_string(quarter));
    ui.cboPeriod->AddItem("Whole year");
    ui.cboPeriod->Click = [this] { ShowTable(); };

    ui.lbYear = &Add<Label>("lbYear", {kMargin + 2820, kMargin + 45, 540, 255});
    ui.lbYear->SetCaption("&Year");
    ui.txtYear = &Add<TextBox>("txtYear", {kMargin + 3360, kMargin, 900, 315});
    ui.txtYear->SetAllowedKeys(std::string(kNumberKeys));
    ui.txtYear->SetMaxLength(4);
    ui.txtYear->SetSelectAllOnFocus(true);
    ui.txtYear->KeyDown = [this](Key key) {
        if (key == Key::Enter) ShowTable();
    };
    ui.cmdShow = &Add<CommandButton>("cmdShow", {kMargin + 4500, kMargin - 30, 1200, 375});
    ui.cmdShow->SetCaption("&Show");
    ui.cmdShow->Click = [this] { ShowTable(); };
    ui.lbStatus = &Add<Label>("lbStatus", {kMargin + 5940, kMargin + 45, 8460, 255});

    ui.txtTable = &Add<TextBox>("txtTable", {kMargin, kTableTop, kTableWidth, kTableHeight});
    ui.txtTable->SetMultiLine(true);
    ui.txtTable->SetLocked(true);
    ui.txtTable->SetFont(Font{8, false, true});
    ui.txtTable->SetAccessibleName("Employer's table");

    int left = kMargin;
    const auto button = [&](const char* name, const char* caption) {
        CommandButton& b =
            Add<CommandButton>(name, {left, kButtonsTop, kButtonWidth, kButtonHeight});
        b.SetCaption(caption);
        left += kButtonWidth + kButtonGap;
        return &b;
    };
    ui.cmdPrint = button("cmdPrint", "&Print");
    ui.cmdPrint->Click = [this] { cmdPrint_Click(); };
    ui.cmdExport = button("cmdExport", "E&xport");
    ui.cmdExport->Click = [this] { cmdExport_Click(); };
    ui.cmdSummaries = button("cmdSummaries", "Year s&ummaries");
    ui.cmdSummaries->Click = [this] { cmdSummaries_Click(); };
    left = kMargin + kTableWidth - kButtonWidth;
    ui.cmdClose = button("cmdClose", "&Close");
    ui.cmdClose->Click = [this] { Unload(); };
}

void frmReports::OpenWindow() {
    if (!IsLoaded()) {
        // The table the clerk most likely wants: the quarter of the latest posted period.
        const ReportPeriod start =
            LatestPeriod(ReadRegisters("."))
                .value_or(ReportPeriod{GetHost().Today().year, QuarterOf(GetHost().Today())});
        frmReportsUi& ui = this->ui();
        // The list's Click shows the table once the year is in.
        ui.txtYear->SetText(std::to_string(start.year));
        ui.cboPeriod->SetListIndex(start.WholeYear() ? kWholeYearItem : start.quarter - 1);
    } else {
        ShowTable();
    }
    Show();
}

std::optional<ReportPeriod> frmReports::ChosenPeriod() {
    const std::string& text = ui().txtYear->Text();
    int year = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
    if (text.size() != 4 || error != std::errc() || end != text.data() + text.size() ||
        year < 1000) {
        return std::nullopt;
    }
    const int item = ui().cboPeriod->ListIndex();
    return ReportPeriod{year, item >= 0 && item < kWholeYearItem ? item + 1 : 0};
}

bool frmReports::ShowTable(bool tellNotRead) {
    const std::optional<ReportPeriod> period = ChosenPeriod();
    if (!period) {
        ShowMessage(GetHost(), "Type the year in four digits, such as 2005.");
        ui().txtYear->SetFocus();
        return false;
    }
    folder_ = ReadRegisters(".");
    table_ = BuildReportTable(folder_, *period);
    const bool none = folder_.registers.empty() && folder_.damaged.empty();
    ui().txtTable->SetText(none ? NoRegistersText()
                                : ReportDocumentName(*period) + "\r\n\r\n" + ReportText(table_));
    ui().lbStatus->SetCaption(none ? "No registers." : StatusText(table_));
    if (tellNotRead && !table_.damaged.empty())
        ShowMessage(GetHost(), NotReadMessage(table_), MsgIcon::Warning);
    return true;
}

void frmReports::cmdPrint_Click() {
    if (!ShowTable(false)) return;
    if (!GetHost().ChoosePrinter(ReportDocumentName(table_.period))) return;
    program_.FollowWorkingFolder();
    GetHost().Print(ReportJob(table_, program_.header, GetHost().ShortDate(GetHost().Today())));
}

void frmReports::cmdExport_Click() {
    if (!ShowTable(false)) return;
    const std::optional<std::string> outcome =
        SaveWorkbook(GetHost(), ReportWorkbook(table_), ReportWorkbookFileName(table_.period),
                     ReportDocumentName(table_.period));
    if (outcome) ui().lbStatus->SetCaption(*outcome);
}

void frmReports::cmdSummaries_Click() {
    if (!ShowTable(false)) return;
    if (folder_.registers.empty()) {
        ShowMessage(GetHost(), NoRegistersText());
        return;
    }
    const int year = table_.period.year;
    if (!GetHost().ChoosePrinter(YearSummaryDocumentName(year))) return;
    program_.FollowWorkingFolder();
    GetHost().Print(
        YearSummaryJob(folder_, year, program_.header, GetHost().ShortDate(GetHost().Today())));
}

}  // namespace kestrel

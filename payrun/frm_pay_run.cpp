#include "payrun/frm_pay_run.h"

#include <cmath>

#include "app/program.h"
#include "calc/pay_calculation.h"
#include "employee/employee_name.h"
#include "employee/overtime_allowance.h"
#include "employee/pay_period.h"
#include "employee/profile_files.h"
#include "platform/numbers.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

constexpr int kMargin = 120;
constexpr int kGridTop = 660;
constexpr int kRowPitch = 330;
constexpr int kCellHeight = 300;

struct Column {
    const char* heading;
    int width;
};
// Name, pay, the eight entries, 2X, row, the four figures, status.
constexpr std::array<Column, 17> kColumns{{{"Employee", 1500},
                                           {"Pay", 960},
                                           {"Str 1", 660},
                                           {"Str 2", 660},
                                           {"O.T.", 600},
                                           {"O.T. 1.5", 660},
                                           {"Holiday", 660},
                                           {"Vac/Sick", 720},
                                           {"Dollars", 840},
                                           {"Tips Hrs", 720},
                                           {"2X", 420},
                                           {"Row", 480},
                                           {"Gross", 1080},
                                           {"Taxes", 960},
                                           {"Deductions", 1020},
                                           {"Net", 1080},
                                           {"Status", 3600}}};
constexpr std::size_t kFirstEntry = 2;
constexpr std::size_t kTwoX = 10;
constexpr std::size_t kRowColumn = 11;
constexpr std::size_t kGross = 12;
constexpr std::size_t kStatus = 16;

int ColumnLeft(std::size_t column) {
    int left = kMargin;
    for (std::size_t k = 0; k < column; ++k)
        left += kColumns[k].width + 30;
    // The texts of the status column stand clear of the figures before them.
    return column == kStatus ? left + 150 : left;
}

int GridWidth() {
    return ColumnLeft(kStatus) + kColumns[kStatus].width + kMargin;
}

std::string Money(Currency amount) {
    return FormatNumber(amount.ToDouble(), "$#,###.00");
}

// What the employee's ".use" says of the pay frequency, for the row before any calculation.
std::string FrequencyOf(const std::string& name) {
    EmployeeProfile profile = NewEmployeeProfile();
    OvertimeAllowance overtime;
    ProfileReserved reserved;
    if (ReadUseFile(EmployeeFile(name, kUseFileExtension), profile, overtime, reserved)) return "?";
    return profile.WeeklyPay ? "Weekly" : "Bi-Weekly";
}

}  // namespace

frmPayRun::frmPayRun(Program& program)
    : FormOf(program.host, "frmPayRun", FormKind::Modeless), program_(program) {}

void frmPayRun::OpenWindow() {
    // The rows are the employees of the folder now, not of an earlier opening.
    Unload();
    Show();
}

void frmPayRun::BuildUi(frmPayRunUi& ui) {
    SetCaption("Pay Run");
    std::error_code noFolder;
    folder_ = std::filesystem::current_path(noFolder);
    employees_ = FolderEmployees();
    results_.assign(employees_.size(), RunRow{});
    const int width = GridWidth();

    ui.lbWeekEnding = &Add<Label>("lbWeekEnding", {kMargin, 150, 1320, 255});
    ui.lbWeekEnding->SetCaption("&Week ending:");
    ui.txtWeekEnd = &Add<TextBox>("txtWeekEnd", {kMargin + 1380, 120, 1080, 315});
    ui.txtWeekEnd->SetMaxLength(8);
    ui.txtWeekEnd->SetSelectAllOnFocus(true);
    ui.txtWeekEnd->SetText(program_.form1.ui().txtWeekEnd->Text());
    ui.txtWeekEnd->SetToolTip("The week-ending date of the period, as the main window takes it");
    ui.cmdFill = &Add<CommandButton>("cmdFill", {kMargin + 2580, 90, 2400, 375});
    ui.cmdFill->SetCaption("&Fill from Saved Periods");
    ui.cmdFill->SetToolTip("Each employee's entries from the pay period saved for this week");
    ui.cmdFill->Click = [this] { cmdFill_Click(); };

    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        auto& heading =
            Add<Label>("lbHeading", {ColumnLeft(c), kGridTop - 270, kColumns[c].width, 255},
                       static_cast<int>(c));
        heading.SetCaption(kColumns[c].heading);
        if (c >= kFirstEntry && c < kFirstEntry + 8)
            heading.SetToolTip(Form1::kEntryCaptions[c - kFirstEntry]);
        heading.SetAlignment(c == 0 || c == kStatus ? Align::Left : Align::Center);
        ui.lbHeading.push_back(&heading);
    }

    int top = kGridTop;
    for (std::size_t r = 0; r < employees_.size(); ++r, top += kRowPitch) {
        const std::string& name = employees_[r];
        const int index = static_cast<int>(r);
        frmPayRunUi::Row row;
        const auto cell = [&](std::size_t column) {
            return Rect{ColumnLeft(column), top, kColumns[column].width, kCellHeight};
        };
        const auto figure = [&](const char* control, std::size_t column) {
            auto& label = Add<Label>(control, cell(column), index);
            label.SetAlignment(Align::Right);
            label.SetShowsValue(true);
            label.SetAccessibleName(name + " " + kColumns[column].heading);
            return &label;
        };
        row.lbName = &Add<Label>("lbName", cell(0), index);
        row.lbName->SetCaption(name);
        row.lbFrequency = &Add<Label>("lbFrequency", cell(1), index);
        row.lbFrequency->SetCaption(FrequencyOf(name));
        row.lbFrequency->SetShowsValue(true);
        for (std::size_t k = 0; k < 8; ++k) {
            auto& entry =
                Add<TextBox>("txtEntry", cell(kFirstEntry + k), index * 8 + static_cast<int>(k));
            entry.SetAllowedKeys(std::string(kNumberKeys));
            entry.SetSelectAllOnFocus(true);
            entry.SetAlignment(Align::Right);
            entry.SetAccessibleName(name + " " + Form1::kEntryCaptions[k]);
            row.txtEntry[k] = &entry;
        }
        row.ck2X = &Add<CheckBox>("ck2X", cell(kTwoX), index);
        row.ck2X->SetAccessibleName(name + " O.T. at twice the rate (2X)");
        row.ck2X->SetToolTip("O.T. hours at twice the rate (2X) rather than once (1X)");
        row.txtRow = &Add<TextBox>("txtRow", cell(kRowColumn), index);
        row.txtRow->SetAllowedKeys("0123456789");
        row.txtRow->SetMaxLength(2);
        row.txtRow->SetSelectAllOnFocus(true);
        row.txtRow->SetAlignment(Align::Right);
        row.txtRow->SetAccessibleName(name + " register row");
        row.txtRow->SetToolTip(
            "The register row to post into; empty: the row of the week, else "
            "the first free row");
        row.lbGross = figure("lbGross", kGross);
        row.lbTaxes = figure("lbTaxes", kGross + 1);
        row.lbDeduct = figure("lbDeduct", kGross + 2);
        row.lbNet = figure("lbNet", kGross + 3);
        row.lbStatus = &Add<Label>("lbStatus", cell(kStatus), index);
        row.lbStatus->SetShowsValue(true);
        row.lbStatus->SetAccessibleName(name + " status");
        ui.rows.push_back(row);
    }

    const auto total = [&](const char* control, std::size_t column) {
        auto& label = Add<Label>(
            control, {ColumnLeft(column), top + 60, kColumns[column].width, kCellHeight});
        label.SetAlignment(Align::Right);
        label.SetShowsValue(true);
        label.SetAccessibleName(std::string("Total ") + kColumns[column].heading);
        return &label;
    };
    ui.lbTotalsCaption =
        &Add<Label>("lbTotalsCaption", {ColumnLeft(kRowColumn - 1), top + 60, 1000, kCellHeight});
    ui.lbTotalsCaption->SetCaption("Totals");
    ui.lbTotGross = total("lbTotGross", kGross);
    ui.lbTotTaxes = total("lbTotTaxes", kGross + 1);
    ui.lbTotDeduct = total("lbTotDeduct", kGross + 2);
    ui.lbTotNet = total("lbTotNet", kGross + 3);
    ui.lbSummary = &Add<Label>(
        "lbSummary", {ColumnLeft(kStatus), top + 60, kColumns[kStatus].width, kCellHeight});
    ui.lbSummary->SetShowsValue(true);
    ui.lbSummary->SetAccessibleName("Summary");
    if (employees_.empty()) ui.lbSummary->SetCaption("No employee (.use file) in this folder.");

    const int buttons = top + 480;
    const auto button = [&](const char* control, int left, int buttonWidth, const char* caption) {
        auto& b = Add<CommandButton>(control, {left, buttons, buttonWidth, 420});
        b.SetCaption(caption);
        return &b;
    };
    ui.cmdCalculate = button("cmdCalculate", kMargin, 1680, "C&alculate All");
    ui.cmdCalculate->Click = [this] { cmdCalculate_Click(); };
    ui.cmdPost = button("cmdPost", kMargin + 1800, 1440, "&Post All");
    ui.cmdPost->Click = [this] { cmdPost_Click(); };
    ui.cmdStubs = button("cmdStubs", kMargin + 3360, 1560, "Print &Stubs");
    ui.cmdStubs->Click = [this] { cmdStubs_Click(); };
    ui.cmdChecks = button("cmdChecks", kMargin + 5040, 1560, "Print C&hecks");
    ui.cmdChecks->Click = [this] { cmdChecks_Click(); };
    ui.cmdClose = button("cmdClose", width - kMargin - 1200, 1200, "&Close");
    ui.cmdClose->Click = [this] { Unload(); };
    SetGeometry({0, 0, width, buttons + 420 + kMargin});
}

RunPeriod frmPayRun::PeriodOf(std::size_t row) {
    const frmPayRunUi::Row& cells = ui().rows[row];
    RunPeriod period;
    for (std::size_t k = 0; k < 8; ++k)
        period.entries[k] = cells.txtEntry[k]->Text();
    period.overtimeDouble = cells.ck2X->Value() == 1;
    if (!cells.txtRow->Text().empty())
        period.row = static_cast<int>(LeadingNumber(cells.txtRow->Text()));
    return period;
}

RunSettings frmPayRun::Settings() {
    RunSettings settings{ui().txtWeekEnd->Text(), GetHost().Today()};
    settings.startedFrom = &program_.employeeLock;
    return settings;
}

void frmPayRun::RunAll(const RunActions& actions, const std::vector<std::string>& skip) {
    std::vector<EmployeePeriod> periods;
    std::vector<std::size_t> rowOf;
    for (std::size_t r = 0; r < employees_.size(); ++r) {
        if (r < skip.size() && !skip[r].empty()) {
            results_[r] = RunRow{employees_[r], std::nullopt, skip[r], 0};
            ShowRow(r);
        } else {
            periods.push_back({employees_[r], PeriodOf(r)});
            rowOf.push_back(r);
        }
    }
    RunEmployees(periods, Settings(), actions, [&](std::size_t k, RunRow&& row) {
        results_[rowOf[k]] = std::move(row);
        ShowRow(rowOf[k]);
    });
    ShowTotals();
}

void frmPayRun::ShowRow(std::size_t r) {
    const frmPayRunUi::Row& cells = ui().rows[r];
    const RunRow& row = results_[r];
    PayDisplay shown;
    if (row.figures) {
        shown = FormatPayResult(row.figures->result);
        cells.lbFrequency->SetCaption(row.figures->weeklyPay ? "Weekly" : "Bi-Weekly");
    }
    cells.lbGross->SetCaption(shown.gross);
    cells.lbTaxes->SetCaption(shown.taxes);
    cells.lbDeduct->SetCaption(shown.deductions);
    cells.lbNet->SetCaption(shown.net);
    std::string status = row.refusal;
    if (status.empty() && row.postedRow != 0) {
        status = "Posted in row " + std::to_string(row.postedRow) + ".";
    } else if (status.empty() && row.figures) {
        const RunFigures& f = *row.figures;
        const std::string number = std::to_string(f.row);
        if (f.row == 0) {
            status = "Every row of the register is in use.";
        } else if (f.row > RowCount(f.weeklyPay)) {
            status = "Row " + number + " is not a row of the register (1 to " +
                     std::to_string(RowCount(f.weeklyPay)) + ").";
        } else if (!f.rowInUse) {
            status = "Posts into row " + number + ".";
        } else {
            status = "Row " + number + " holds " +
                     (f.rowWeekEnding.empty() ? std::string("a period") : f.rowWeekEnding) + ".";
        }
    }
    cells.lbStatus->SetCaption(status);
    cells.lbStatus->SetToolTip(status);
}

void frmPayRun::ShowTotals() {
    const RunTotals totals = TotalsOf(results_);
    frmPayRunUi& u = ui();
    u.lbTotGross->SetCaption(Money(totals.gross));
    u.lbTotTaxes->SetCaption(Money(totals.taxes));
    u.lbTotDeduct->SetCaption(Money(totals.deductions));
    u.lbTotNet->SetCaption(Money(totals.net));
    u.lbSummary->SetCaption(std::to_string(totals.calculated) + " done, " +
                            std::to_string(totals.refused) + " skipped.");
}

void frmPayRun::cmdFill_Click() {
    if (!StillInFolder()) return;
    frmPayRunUi& u = ui();
    const std::string week = u.txtWeekEnd->Text();
    if (const auto problem = FileNamePartProblem(week, "a week-ending date")) {
        ShowMessage(GetHost(), *problem + "\r\nNothing was filled.", MsgIcon::Warning);
        u.txtWeekEnd->SetFocus();
        return;
    }
    for (std::size_t r = 0; r < employees_.size(); ++r) {
        const frmPayRunUi::Row& cells = u.rows[r];
        const std::filesystem::path file = PayPeriodFileName(week, employees_[r]);
        std::string status;
        std::array<float, 8> values{};
        if (FileMissing(file)) {
            status = "No saved period " + file.string() + "; the entries were kept.";
        } else if (const auto damage = ReadPayPeriod(file, values)) {
            status = DescribeReadError(file.string(), *damage) + " The entries were kept.";
        } else {
            for (std::size_t k = 0; k < 8; ++k)
                cells.txtEntry[k]->SetText(SingleText(values[k]));
            status = "Filled from " + file.string() + ".";
        }
        results_[r] = RunRow{employees_[r], std::nullopt, {}, 0};
        ShowRow(r);
        cells.lbStatus->SetCaption(status);
        cells.lbStatus->SetToolTip(status);
    }
}

bool frmPayRun::StillInFolder() {
    std::error_code noFolder;
    const std::filesystem::path now = std::filesystem::current_path(noFolder);
    if (now == folder_) return true;
    ShowMessage(GetHost(),
                "This window lists the employees of " + folder_.string() +
                    ", but the working folder is now " + now.string() +
                    ".\r\nClose it and open Pay Run again.\r\nNothing was done.",
                MsgIcon::Warning);
    return false;
}

void frmPayRun::cmdCalculate_Click() {
    if (!StillInFolder()) return;
    RunAll({});
}

void frmPayRun::cmdPost_Click() {
    if (!StillInFolder()) return;
    // An open register view would write its own rows over a posting when it is saved.
    if (!CloseYearToDate(program_)) return;
    std::vector<std::string> skip(employees_.size());
    for (std::size_t r = 0; r < employees_.size(); ++r) {
        const std::string& text = ui().rows[r].txtRow->Text();
        if (!text.empty() && LeadingNumber(text) < 1)
            skip[r] = "\"" + text + "\" is not a row of the register; nothing was posted.";
    }
    // Fresh figures show where each period goes before anything is written.
    RunAll({}, skip);
    std::string held;
    for (std::size_t r = 0; r < employees_.size(); ++r) {
        const RunRow& row = results_[r];
        if (!row.figures || !row.refusal.empty()) {
            skip[r] = row.refusal.empty() ? "Not calculated." : row.refusal;
            continue;
        }
        if (row.figures->rowInUse) {
            held +=
                "\r\n" + row.employee + ": row " + std::to_string(row.figures->row) +
                (row.figures->rowWeekEnding.empty() ? "" : " (" + row.figures->rowWeekEnding + ")");
        }
    }
    RunActions actions;
    actions.post = true;
    if (!held.empty()) {
        const MsgResult answer =
            GetHost().MsgBox("These rows of the registers hold a period already:" + held +
                                 "\r\nPost over them? No posts the other employees only.",
                             MsgButtons::YesNoCancel, MsgIcon::Question, "Post All");
        if (answer == MsgResult::Cancel) return;
        if (answer == MsgResult::Yes) actions.overwrite = Overwrite::Allow;
    }
    RunAll(actions, skip);
    // The open employee's register in memory follows its file, as after posting in the view.
    for (const RunRow& row : results_) {
        if (row.postedRow != 0 && row.employee == program_.ActiveUser)
            LoadAnnual(program_.ytd, program_.ActiveUser, program_.profile, GetHost());
    }
}

void frmPayRun::Print(bool checks) {
    if (!StillInFolder()) return;
    const std::string week = ui().txtWeekEnd->Text();
    const std::string document = checks ? ChecksDocumentName(week) : StubsDocumentName(week);
    if (!GetHost().ChoosePrinter(document)) return;
    PrintJob job(document);
    RunActions actions;
    (checks ? actions.checks : actions.stubs) = &job;
    RunAll(actions);
    if (job.Steps().empty()) {
        ShowMessage(GetHost(), "No employee could be printed; each row says why.",
                    MsgIcon::Warning);
        return;
    }
    GetHost().Print(job);
}

void frmPayRun::cmdStubs_Click() {
    Print(false);
}

void frmPayRun::cmdChecks_Click() {
    Print(true);
}

}  // namespace kestrel

#include "ytd/frm_year.h"

#include "app/program.h"
#include "platform/numbers.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

// In the order of kYtdColumns.
constexpr std::array<GridColumnPlace, kYtdColumns.size()> kGrid{{{"Federal", 1272, 660},
                                                                 {"SS", 1956, 612},
                                                                 {"Medi", 2604, 612},
                                                                 {"State", 3264, 612},
                                                                 {"City", 3912, 612},
                                                                 {"MCU", 4572, 612},
                                                                 {"Bond", 5220, 612},
                                                                 {"Dues", 5880, 612},
                                                                 {"Pension", 6528, 612},
                                                                 {"Misc.", 7188, 612},
                                                                 {"K-Plan", 7836, 612},
                                                                 {"Tips", 8484, 612},
                                                                 {"OT", 9120, 612},
                                                                 {"Net", 9768, 768},
                                                                 {"Gross", 10584, 768}}};
constexpr int kWeekLeft = 516;
constexpr int kWeekWidth = 720;
constexpr int kPanelLeft = 132;
constexpr int kPanelWidth = 375;
constexpr std::array<int, 2> kHeadingTop{60, 6096};
constexpr std::array<int, 2> kFirstRowTop{276, 6276};
constexpr int kRowPitch = 210;
constexpr int kCellHeight = 228;
constexpr int kTallCellHeight = 252;
constexpr int kGridWidth = 10584 + 768 + 120;
// The rows stand 210 twips apart: a smaller type keeps every figure whole.
constexpr Font kCellFont{7, false};
// The five deduction columns, headed by the employee's captions.
constexpr std::size_t kFirstDeduction = 5;

constexpr std::string_view kHint =
    "LEFT CLICK ON WEEK NUMBER TO PASTE IN DATA.     RIGHT CLICK TO DELETE ROW";

std::size_t ColumnIndex(YtdColumn column) {
    for (std::size_t k = 0; k < kYtdColumns.size(); ++k) {
        if (kYtdColumns[k] == column) return k;
    }
    return 0;
}

bool IsEditable(YtdColumn column) {
    return column == YtdColumn::Tips || column == YtdColumn::Net || column == YtdColumn::Gross;
}

std::size_t Slot(int week) {
    return static_cast<std::size_t>(week - 1);
}

}  // namespace

GridColumnPlace GridColumn(YtdColumn column) {
    return kGrid[ColumnIndex(column)];
}

frmYear::frmYear(Program& program)
    : FormOf(program.host, "frmYear", FormKind::MdiChild), program_(program) {
    SetMdiParent(&program.ytdContainer);
}

void frmYear::BuildUi(frmYearUi& ui) {
    SetCaption("Year To Date");
    SetGeometry({0, 0, kGridWidth, kWeeklyHeight});
    for (std::size_t half = 0; half < 2; ++half) {
        const int index = static_cast<int>(half);
        auto& week =
            Add<Label>("lbHeading", {kWeekLeft, kHeadingTop[half], kWeekWidth, 210}, index * 100);
        week.SetCaption("Week");
        week.SetAlignment(Align::Center);
        ui.lbHeading[half][0] = &week;
        for (std::size_t k = 0; k < kGrid.size(); ++k) {
            auto& heading =
                Add<Label>("lbHeading", {kGrid[k].left, kHeadingTop[half], kGrid[k].width, 210},
                           index * 100 + static_cast<int>(k) + 1);
            heading.SetCaption(kGrid[k].heading);
            heading.SetAlignment(Align::Center);
            ui.lbHeading[half][k + 1] = &heading;
        }
    }
    for (int week = 1; week <= kYtdRows; ++week) {
        const std::size_t half = week <= kYtdRows / 2 ? 0 : 1;
        const int top = kFirstRowTop[half] + ((week - 1) % (kYtdRows / 2)) * kRowPitch;
        auto& number = Add<Label>("lbWeekNo", {kPanelLeft, top, kPanelWidth, kCellHeight}, week);
        number.SetCaption(std::to_string(week));
        number.SetAlignment(Align::Center);
        number.SetBordered(true);
        number.SetFont(kCellFont);
        number.SetToolTip("Click on a week number to paste in data.");
        number.MouseDown = [this, week](MouseButton button) {
            if (button == MouseButton::Left) {
                PasteMe(program_, week);
            } else {
                DeleteRow(program_, week);
            }
        };
        // Without a mouse: Tab reaches the week numbers row by row, Enter or Space posts as the
        // left button does, Delete clears as the right one does; Up and Down step through weeks.
        number.SetTabStop(true);
        number.SetAccessibleName("Week " + std::to_string(week));
        number.KeyDown = [this, week](Key key) {
            switch (key) {
                case Key::Enter:
                case Key::Space:
                    PasteMe(program_, week);
                    break;
                case Key::Delete:
                    DeleteRow(program_, week);
                    break;
                case Key::Up:
                case Key::Down: {
                    const int next = week + (key == Key::Up ? -1 : 1);
                    if (next >= 1 && next <= kYtdRows) this->ui().lbWeekNo[Slot(next)]->SetFocus();
                    break;
                }
                case Key::Left:
                case Key::Right:
                case Key::Escape:
                    break;
            }
        };
        ui.lbWeekNo[Slot(week)] = &number;
        auto& ending = Add<Label>("lbWeekEnding", {kWeekLeft, top, kWeekWidth, kCellHeight}, week);
        ending.SetBordered(true);
        ending.SetFont(kCellFont);
        ending.SetAccessibleName("Week " + std::to_string(week) + " Week Ending");
        ui.lbWeekEnding[Slot(week)] = &ending;
        for (std::size_t k = 0; k < kYtdColumns.size(); ++k) {
            const YtdColumn column = kYtdColumns[k];
            const int height = column == YtdColumn::Net || column == YtdColumn::Gross
                                   ? kTallCellHeight
                                   : kCellHeight;
            const Rect where{kGrid[k].left, top, kGrid[k].width, height};
            const std::string name = std::string("txt") + kGrid[k].heading;
            // The column's heading is far up the grid; a reader needs the week too.
            const std::string spoken = "Week " + std::to_string(week) + " " + kGrid[k].heading;
            if (IsEditable(column)) {
                auto& box = Add<TextBox>(name, where, week);
                box.SetAlignment(Align::Right);
                box.SetFont(kCellFont);
                // Tips take any key; net and gross only what makes a number.
                if (column != YtdColumn::Tips) box.SetAllowedKeys(std::string(kNumberKeys));
                box.SetAccessibleName(spoken);
                ui.cells[Slot(week)][k] = &box;
            } else {
                auto& cell = Add<Label>(name, where, week);
                cell.SetAlignment(Align::Right);
                cell.SetBordered(true);
                cell.SetFont(kCellFont);
                cell.SetAccessibleName(spoken);
                ui.cells[Slot(week)][k] = &cell;
            }
        }
    }
    for (std::size_t half = 0; half < 2; ++half) {
        const int top = kFirstRowTop[half] + 25 * kRowPitch + kTallCellHeight + 24;
        ui.lbHint[half] =
            &Add<Label>("lbHint", {kPanelLeft, top, 8400, 240}, static_cast<int>(half));
        ui.lbHint[half]->SetCaption(std::string(kHint));
    }
    ui.cmdClose = &Add<CommandButton>("cmdClose", {8784, 5760, 1230, 330});
    ui.cmdClose->SetCaption("&Close");
    ui.cmdClose->Click = [this] { CloseYearToDate(program_); };
}

void frmYear::OnLoad() {
    const bool weekly = program_.profile.WeeklyPay;
    SetGeometry({0, 0, kGridWidth, weekly ? kWeeklyHeight : kBiWeeklyLoadHeight});
    ShowRegister(program_.ytd, RowCount(weekly), program_.profile.DeductionCaptions);
    // The keyboard starts where the mouse would: on the first week number.
    ui().lbWeekNo[0]->SetFocus();
}

Control& frmYear::Cell(int week, YtdColumn column) const {
    return *const_cast<frmYear*>(this)->ui().cells[Slot(week)][ColumnIndex(column)];
}

std::string frmYear::WeekEndingText(int week) const {
    return const_cast<frmYear*>(this)->ui().lbWeekEnding[Slot(week)]->Caption();
}

std::string frmYear::AmountText(int week, YtdColumn column) const {
    const Control& cell = Cell(week, column);
    if (const auto* box = dynamic_cast<const TextBox*>(&cell)) return box->Text();
    return static_cast<const Label&>(cell).Caption();
}

TextBox* frmYear::EditableCell(int week, YtdColumn column) {
    return dynamic_cast<TextBox*>(&Cell(week, column));
}

void frmYear::SetWeekEnding(int week, std::string text) {
    ui().lbWeekEnding[Slot(week)]->SetCaption(std::move(text));
}

void frmYear::SetAmount(int week, YtdColumn column, std::string text) {
    Control& cell = Cell(week, column);
    if (auto* box = dynamic_cast<TextBox*>(&cell)) {
        box->SetText(std::move(text));
    } else {
        static_cast<Label&>(cell).SetCaption(std::move(text));
    }
}

std::vector<std::string> frmYear::Contents() const {
    std::vector<std::string> texts;
    texts.reserve(kYtdRows * (kYtdColumns.size() + 4));
    for (int week = 1; week <= kYtdRows; ++week) {
        texts.push_back(WeekEndingText(week));
        for (YtdColumn column : kYtdColumns)
            texts.push_back(AmountText(week, column));
        // Posting and clearing change these without a cell to show them.
        const YtdRow& row = program_.ytd.Row(week);
        for (float hidden : {row.Sdi, row.Sui, row.Cafeteria})
            texts.push_back(SingleText(hidden));
    }
    return texts;
}

void frmYear::MarkStored() {
    stored_ = IsLoaded() ? Contents() : std::vector<std::string>{};
    clearedSinceStored = false;
}

bool frmYear::DiffersFromStored() const {
    return IsLoaded() && Contents() != stored_;
}

void frmYear::ShowRegister(const YtdRegister& ytd, int rowCount,
                           const std::array<std::string, 5>& deductionCaptions) {
    for (int week = 1; week <= rowCount; ++week) {
        const YtdRow& row = ytd.Row(week);
        SetWeekEnding(week, row.WeekEnding);
        for (YtdColumn column : kYtdColumns)
            SetAmount(week, column, SingleText(row.*ColumnMember(column)));
    }
    for (auto& half : ui().lbHeading) {
        for (std::size_t k = 0; k < 5; ++k)
            half[kFirstDeduction + k + 1]->SetCaption(deductionCaptions[k]);
    }
}

}  // namespace kestrel

#include "settings/dialog_non_city.h"

#include <string>
#include <vector>

#include "app/program.h"
#include "employee/open_employee.h"
#include "employee/record_file.h"
#include "settings/settings_window.h"

namespace kestrel {

namespace {

// Twips. The two tables stand side by side; the rate, the warning and the buttons below them.
// A column is as wide as its one-line heading "Minimum Range" needs in the 8pt font, with room
// to spare for a wider fallback font; narrower, the heading wraps and its second line is cut.
constexpr int kMargin = 240;
constexpr int kBoxWidth = 1500;
constexpr int kBoxHeight = 300;
constexpr int kRowPitch = 330;
constexpr int kLineWidth = 480;
constexpr int kTableWidth = kLineWidth + 60 + 2 * (kBoxWidth + 60) - 60;
constexpr int kTableGap = 420;
constexpr int kTitleTop = 120;
constexpr int kRowsTop = kTitleTop + 900;
constexpr int kTablesBottom = kRowsTop + 7 * kRowPitch + kBoxHeight;
constexpr int kRight = kMargin + 2 * kTableWidth + kTableGap;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 420;

constexpr std::string_view kPercentCaption = "Multiply by Percentage in Decimal";

// Every box with its field in `settings`, line by line as fillVarib stores them.
std::vector<NumberCell> Cells(DialogNonCityUi& boxes, NonResidentTaxSettings& settings) {
    std::vector<NumberCell> cells;
    cells.reserve(33);
    for (std::size_t i = 0; i < 8; ++i) {
        auto add = [&](TextBox* box, float& value, const char* table, const char* column) {
            cells.push_back({box, &value,
                             "Line " + std::to_string(i + 1) + " of the " + table + " table, " +
                                 column + ", does not hold a number."});
        };
        add(boxes.txtNonMinBi[i], settings.BiWeeklyMinimum[i], "BIWEEKLY", "Minimum Range");
        add(boxes.txtNonExpBi[i], settings.BiWeeklySubtract[i], "BIWEEKLY", "Subtract");
        add(boxes.txtNonMinWk[i], settings.WeeklyMinimum[i], "WEEKLY", "Minimum Range");
        add(boxes.txtNonExpWk[i], settings.WeeklySubtract[i], "WEEKLY", "Subtract");
    }
    cells.push_back({boxes.txtNonPer, &settings.NonResidentPercent,
                     "The rate, " + std::string(kPercentCaption) + ", does not hold a number."});
    return cells;
}

}  // namespace

DialogNonCity::DialogNonCity(Program& program)
    : FormOf(program.host, "DialogNonCity", FormKind::Modeless), program_(program) {}

void DialogNonCity::BuildUi(DialogNonCityUi& ui) {
    SetCaption("NON City Resident");

    auto number = [this](const std::string& name, int index, Rect where) {
        auto& box = Add<TextBox>(name, where, index);
        box.SetAllowedKeys(std::string(kNumberKeys));
        box.SetSelectAllOnFocus(true);
        box.SetAlignment(Align::Right);
        return &box;
    };
    auto label = [this](const std::string& name, int index, Rect where, std::string caption,
                        Align alignment = Align::Left) {
        auto& text = Add<Label>(name, where, index);
        text.SetCaption(std::move(caption));
        text.SetAlignment(alignment);
        return &text;
    };

    const std::array<const char*, 2> frequencies{"BIWEEKLY", "WEEKLY"};
    const std::array<std::array<TextBox*, 8>*, 2> minimums{&ui.txtNonMinBi, &ui.txtNonMinWk};
    const std::array<std::array<TextBox*, 8>*, 2> subtracts{&ui.txtNonExpBi, &ui.txtNonExpWk};
    const std::array<std::array<Label*, 8>*, 2> lines{&ui.lbLineBi, &ui.lbLineWk};
    const std::array<const char*, 2> minimumNames{"txtNonMinBi", "txtNonMinWk"};
    const std::array<const char*, 2> subtractNames{"txtNonExpBi", "txtNonExpWk"};
    const std::array<const char*, 2> lineNames{"lbLineBi", "lbLineWk"};
    for (std::size_t t = 0; t < 2; ++t) {
        const int index = static_cast<int>(t);
        const int left = kMargin + index * (kTableWidth + kTableGap);
        const int minimumLeft = left + kLineWidth + 60;
        const int subtractLeft = minimumLeft + kBoxWidth + 60;
        ui.lbTableTitle[t] = label("lbTableTitle", index, {left, kTitleTop, kTableWidth, 255},
                                   "NON Resident Table", Align::Center);
        ui.lbTableTitle[t]->SetFont({0, true});
        ui.lbFrequency[t] = label("lbFrequency", index, {left, kTitleTop + 300, kTableWidth, 255},
                                  frequencies[t], Align::Center);
        ui.lbFrequency[t]->SetFont({0, true});
        const int headTop = kRowsTop - 285;
        ui.lbLine[t] =
            label("lbLine", index, {left, headTop, kLineWidth, 255}, "Line", Align::Center);
        ui.lbMinRange[t] = label("lbMinRange", index, {minimumLeft, headTop, kBoxWidth, 255},
                                 "Minimum Range", Align::Center);
        ui.lbSubtract[t] = label("lbSubtract", index, {subtractLeft, headTop, kBoxWidth, 255},
                                 "Subtract", Align::Center);
        for (int line = 0; line < 8; ++line) {
            const auto k = static_cast<std::size_t>(line);
            const int top = kRowsTop + line * kRowPitch;
            (*lines[t])[k] = label(lineNames[t], line, {left, top + 30, kLineWidth, 255},
                                   std::to_string(line + 1), Align::Center);
            (*minimums[t])[k] =
                number(minimumNames[t], line, {minimumLeft, top, kBoxWidth, kBoxHeight});
            (*subtracts[t])[k] =
                number(subtractNames[t], line, {subtractLeft, top, kBoxWidth, kBoxHeight});
        }
    }

    // The rate box sits under the WEEKLY table's minimums, its label running in from the left.
    const int rateTop = kTablesBottom + 240;
    const int rateLeft = kMargin + kTableWidth + kTableGap + kLineWidth + 60;
    ui.lbPercent = label("lbPercent", -1, {kMargin, rateTop + 30, rateLeft - 120 - kMargin, 255},
                         std::string(kPercentCaption), Align::Right);
    ui.txtNonPer = number("txtNonPer", -1, {rateLeft, rateTop, kBoxWidth, kBoxHeight});
    const int warningTop = rateTop + kBoxHeight + 240;
    ui.lbWarning = label("lbWarning", -1, {kMargin, warningTop, 1200, 255}, "WARNING!");
    ui.lbWarning->SetFont({0, true});
    ui.lbUnused = label("lbUnused", -1, {kMargin + 1260, warningTop, kRight - kMargin - 1260, 480},
                        "Enter 999999 in any Minimum Range Box that is not used.");

    const int buttonTop = warningTop + 480 + 240;
    auto button = [this](const std::string& name, int left, int top, std::string caption) {
        auto& command = Add<CommandButton>(name, {left, top, kButtonWidth, kButtonHeight});
        command.SetCaption(std::move(caption));
        return &command;
    };
    const int buttonGap = (kRight - kMargin - 3 * kButtonWidth) / 2;
    ui.cmdDefault = button("cmdDefault", kMargin, buttonTop, "&DEFAULT");
    ui.cmdDefault->Click = [this] { deFault(); };
    ui.cmdSave = button("cmdSave", kMargin + kButtonWidth + buttonGap, buttonTop, "&SAVE");
    ui.cmdSave->Click = [this] { cmdSave_Click(); };
    ui.cmdCancel = button("cmdCancel", kRight - kButtonWidth, buttonTop, "&CANCEL");
    ui.cmdCancel->Click = [this] { cmdCancel_Click(); };

    SetGeometry({0, 0, kRight + kMargin, buttonTop + kButtonHeight + kMargin});
}

// Preparing the window also stores it, so an employee without a ".nci" file starts with the
// default table in memory.
void DialogNonCity::OnLoad() {
    LoadNonResidentFile();
    ChkFor();
    fillVarib();
}

void DialogNonCity::ShowTable(NonResidentTaxSettings settings) {
    ShowCells(Cells(ui(), settings));
}

void DialogNonCity::LoadNonResidentFile() {
    const std::string name = program_.ActiveUser + std::string(kNonResidentFileExtension);
    if (!ReadToShow(GetHost(), name, ReadNonResidentFile(name, program_.nonResidentSettings))) {
        return;
    }
    ShowTable(program_.nonResidentSettings);
}

void DialogNonCity::ChkFor() {
    NonResidentTaxSettings defaults = NonResidentDefaults();
    FillBlankCells(Cells(ui(), defaults));
}

bool DialogNonCity::fillVarib() {
    // Stored into a copy, so that a box that is not a number leaves memory as it was.
    NonResidentTaxSettings stored = program_.nonResidentSettings;
    if (!StoreCellsOrComplain(GetHost(), Cells(ui(), stored))) return false;
    program_.nonResidentSettings = stored;
    return true;
}

void DialogNonCity::deFault() {
    ShowTable(NonResidentDefaults());
}

bool DialogNonCity::SaveNonResidentFile() {
    const WriteResult written = WriteNonResidentFile(
        EmployeeFile(program_.ActiveUser, kNonResidentFileExtension), program_.nonResidentSettings);
    return WrittenOrReported(GetHost(), written);
}

void DialogNonCity::cmdSave_Click() {
    if (!EmployeeOpenOrTell(program_)) return;
    ChkFor();
    // A box that is not a number, or a file that could not be written, keeps the window open
    // so the user can put it right.
    if (!fillVarib()) return;
    if (!SaveNonResidentFile()) return;
    Unload();
}

// Only hidden: the boxes survive as the user left them, and the next opening shows them without
// reading the file again.
void DialogNonCity::cmdCancel_Click() {
    Hide();
}

}  // namespace kestrel

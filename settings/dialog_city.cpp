#include "settings/dialog_city.h"

#include <string>
#include <vector>

#include "app/program.h"
#include "employee/open_employee.h"
#include "employee/record_file.h"
#include "settings/settings_window.h"

namespace kestrel {

namespace {

// Twips. The two bracket tables stand one above the other on the left; the exemption table, the
// notes and the buttons take the right-hand column, so the window fits a small screen.
constexpr int kMargin = 240;
constexpr int kBoxWidth = 1140;
constexpr int kBoxHeight = 300;
constexpr int kRowPitch = 330;
constexpr int kLineNoWidth = 300;
constexpr int kBracketColumn0 = kMargin + kLineNoWidth + 60;
constexpr int kColumnPitch = kBoxWidth + 60;
constexpr int kTableRight = kBracketColumn0 + 3 * kColumnPitch - 60;
constexpr int kSingleTop = 120;
constexpr int kMarriedTop = kSingleTop + 4620;
constexpr int kHeadingsOffset = 300;  // from a table's title to its column headings
constexpr int kRowsOffset = 1170;     // from a table's title to its first line
constexpr int kRightColumn = kTableRight + 300;
constexpr int kExempNoWidth = 1080;
constexpr int kExempColumn0 = kRightColumn + kExempNoWidth + 60;
constexpr int kRightEdge = kExempColumn0 + 2 * kColumnPitch - 60;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 420;

constexpr std::array<const char*, 3> kColumnTitles{"Minimum Range", "Amount to Withhold",
                                                   "Multiply by Percentage in Decimal"};

int RowTop(int tableTop, int line) {
    return tableTop + kRowsOffset + line * kRowPitch;
}

// What the boxes show while NO LOCAL TAX is set, and what CLEAR ALL puts in.
CityTaxSettings ClearedTables() {
    CityTaxSettings cleared;
    cleared.SingleBrackets = UnusedBracketTable();
    cleared.MarriedBrackets = UnusedBracketTable();
    return cleared;
}

std::string ExemptionComplaint(const char* status, std::size_t exemptions) {
    return "The " + std::string(status) + " Withholding Allowance for " +
           std::to_string(exemptions) + (exemptions == 1 ? " exemption" : " exemptions") +
           " does not hold a number.";
}

// Every box with its field in `settings`, line by line as fillVar stores them.
std::vector<NumberCell> Cells(DialogCityUi& boxes, CityTaxSettings& settings) {
    std::vector<NumberCell> cells;
    cells.reserve(80);
    for (std::size_t i = 0; i < 10; ++i) {
        const std::string line = "Line " + std::to_string(i + 1) + " of the ";
        auto bracket = [&](TextBox* box, float& value, const char* table, std::size_t column) {
            cells.push_back(
                {box, &value,
                 line + table + " table, " + kColumnTitles[column] + ", does not hold a number."});
        };
        BracketRow& single = settings.SingleBrackets[i];
        BracketRow& married = settings.MarriedBrackets[i];
        bracket(boxes.txtCityMinBS[i], single.Minimum, "SINGLE", 0);
        bracket(boxes.txtCityAmtBS[i], single.Amount, "SINGLE", 1);
        bracket(boxes.txtCityPerBS[i], single.Percent, "SINGLE", 2);
        bracket(boxes.txtCityMinBM[i], married.Minimum, "MARRIED", 0);
        bracket(boxes.txtCityAmtBM[i], married.Amount, "MARRIED", 1);
        bracket(boxes.txtCityPerBM[i], married.Percent, "MARRIED", 2);
    }
    for (std::size_t i = 0; i < 10; ++i) {
        cells.push_back({boxes.txtCitySgExp[i], &settings.SingleExemptions[i],
                         ExemptionComplaint("SINGLE", i)});
        cells.push_back({boxes.txtCityMarExp[i], &settings.MarriedExemptions[i],
                         ExemptionComplaint("MARRIED", i)});
    }
    return cells;
}

}  // namespace

DialogCity::DialogCity(Program& program)
    : FormOf(program.host, "DialogCity", FormKind::Modeless), program_(program) {}

void DialogCity::BuildUi(DialogCityUi& ui) {
    SetCaption("City (Local) Tax Tables");
    SetGeometry({0, 0, kRightEdge + kMargin, RowTop(kMarriedTop, 9) + kBoxHeight + kMargin});

    auto number = [this](const std::string& name, int index, int left, int top) {
        auto& box = Add<TextBox>(name, {left, top, kBoxWidth, kBoxHeight}, index);
        box.SetAllowedKeys(std::string(kNumberKeys));
        box.SetSelectAllOnFocus(true);
        box.SetAlignment(Align::Right);
        return &box;
    };
    auto label = [this](const std::string& name, int index, Rect where, std::string caption) {
        auto& text = Add<Label>(name, where, index);
        text.SetCaption(std::move(caption));
        return &text;
    };

    // The two bracket tables share their shape.
    struct BracketBoxes {
        const char* title;
        int top;
        Label** titleLabel;
        std::array<Label*, 10>* lines;
        const char* lineName;
        std::array<std::array<TextBox*, 10>*, 3> columns;
        std::array<const char*, 3> names;
    };
    const std::array<BracketBoxes, 2> tables{
        BracketBoxes{"Table for SINGLE Persons",
                     kSingleTop,
                     &ui.lbSingleTitle,
                     &ui.lbLineS,
                     "lbLineS",
                     {&ui.txtCityMinBS, &ui.txtCityAmtBS, &ui.txtCityPerBS},
                     {"txtCityMinBS", "txtCityAmtBS", "txtCityPerBS"}},
        BracketBoxes{"Table for MARRIED Persons",
                     kMarriedTop,
                     &ui.lbMarriedTitle,
                     &ui.lbLineM,
                     "lbLineM",
                     {&ui.txtCityMinBM, &ui.txtCityAmtBM, &ui.txtCityPerBM},
                     {"txtCityMinBM", "txtCityAmtBM", "txtCityPerBM"}}};
    const std::array<std::array<Label*, 2>*, 3> headings{&ui.lbMinRange, &ui.lbAmount,
                                                         &ui.lbPercent};
    const std::array<const char*, 3> headingNames{"lbMinRange", "lbAmount", "lbPercent"};
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const BracketBoxes& table = tables[t];
        const int index = static_cast<int>(t);
        *table.titleLabel =
            label(t == 0 ? "lbSingleTitle" : "lbMarriedTitle", -1,
                  {kMargin, table.top, 2 * kColumnPitch + kLineNoWidth, 255}, table.title);
        (*table.titleLabel)->SetFont({0, true});
        ui.lbBiWeekly[t] =
            label("lbBiWeekly", index,
                  {kBracketColumn0 + 2 * kColumnPitch, table.top, kBoxWidth, 255}, "BIWEEKLY ");
        ui.lbBiWeekly[t]->SetAlignment(Align::Center);
        ui.lbBiWeekly[t]->SetFont({0, true});
        for (std::size_t c = 0; c < 3; ++c) {
            const int left = kBracketColumn0 + static_cast<int>(c) * kColumnPitch;
            Label* heading =
                label(headingNames[c], index, {left, table.top + kHeadingsOffset, kBoxWidth, 840},
                      kColumnTitles[c]);
            heading->SetAlignment(Align::Center);
            (*headings[c])[t] = heading;
        }
        for (int line = 0; line < 10; ++line) {
            const auto k = static_cast<std::size_t>(line);
            const int top = RowTop(table.top, line);
            (*table.lines)[k] = label(table.lineName, line, {kMargin, top + 30, kLineNoWidth, 255},
                                      std::to_string(line + 1));
            (*table.lines)[k]->SetAlignment(Align::Right);
            for (std::size_t c = 0; c < 3; ++c) {
                (*table.columns[c])[k] =
                    number(table.names[c], line,
                           kBracketColumn0 + static_cast<int>(c) * kColumnPitch, top);
            }
        }
    }

    ui.lbBiWeekly[2] = label("lbBiWeekly", 2,
                             {kExempColumn0, kSingleTop, 2 * kColumnPitch - 60, 255}, "BIWEEKLY ");
    ui.lbBiWeekly[2]->SetAlignment(Align::Center);
    ui.lbBiWeekly[2]->SetFont({0, true});
    ui.lbAllowance =
        label("lbAllowance", -1,
              {kExempColumn0, kSingleTop + kHeadingsOffset, 2 * kColumnPitch - 60, 255},
              "Withholding Allowance");
    ui.lbAllowance->SetAlignment(Align::Center);
    const int columnHeadTop = kSingleTop + kRowsOffset - 285;
    ui.lbExemp =
        label("lbExemp", -1, {kRightColumn, columnHeadTop, kExempNoWidth, 255}, "# of Exemp");
    ui.lbExemp->SetAlignment(Align::Center);
    ui.lbSingle = label("lbSingle", -1, {kExempColumn0, columnHeadTop, kBoxWidth, 255}, "SINGLE");
    ui.lbSingle->SetAlignment(Align::Center);
    ui.lbMarried = label("lbMarried", -1,
                         {kExempColumn0 + kColumnPitch, columnHeadTop, kBoxWidth, 255}, "MARRIED");
    ui.lbMarried->SetAlignment(Align::Center);
    for (int row = 0; row < 10; ++row) {
        const auto k = static_cast<std::size_t>(row);
        const int top = RowTop(kSingleTop, row);
        ui.lbExempNo[k] = label("lbExempNo", row, {kRightColumn, top + 30, kExempNoWidth, 255},
                                std::to_string(row));
        ui.lbExempNo[k]->SetAlignment(Align::Center);
        ui.txtCitySgExp[k] = number("txtCitySgExp", row, kExempColumn0, top);
        ui.txtCityMarExp[k] = number("txtCityMarExp", row, kExempColumn0 + kColumnPitch, top);
    }

    const int notesWidth = kRightEdge - kRightColumn;
    const int notesTop = kMarriedTop;
    ui.lbWarning = label("lbWarning", -1, {kRightColumn, notesTop, notesWidth, 255}, "WARNING!");
    ui.lbWarning->SetFont({0, true});
    ui.lbUnused = label("lbUnused", -1, {kRightColumn, notesTop + 285, notesWidth, 480},
                        "Enter 999999 in any Minimum Range Box that is not used.");
    ui.lbWeeklyNote = label("lbWeeklyNote", -1, {kRightColumn, notesTop + 900, notesWidth, 1080},
                            "When you enter the above biweekly info, the weekly tables will be "
                            "configured for half the amount including the exemptions.");

    const int buttonsBottom = RowTop(kMarriedTop, 9) + kBoxHeight;
    const int secondButton = kRightEdge - kButtonWidth;
    ui.ckNoLocalTax = &Add<CheckBox>(
        "ckNoLocalTax", {kRightColumn, buttonsBottom - 2 * kButtonHeight - 660, 2400, 300});
    ui.ckNoLocalTax->SetCaption("NO LOCAL TAX");
    ui.ckNoLocalTax->Click = [this] { ckNoLocalTax_Click(); };

    auto button = [this](const std::string& name, int left, int top, std::string caption) {
        auto& command = Add<CommandButton>(name, {left, top, kButtonWidth, kButtonHeight});
        command.SetCaption(std::move(caption));
        return &command;
    };
    const int firstRow = buttonsBottom - 2 * kButtonHeight - 120;
    const int secondRow = buttonsBottom - kButtonHeight;
    ui.cmdNewYork = button("cmdNewYork", kRightColumn, firstRow, "&New York");
    ui.cmdNewYork->Click = [this] { cmdNewYork_Click(); };
    ui.cmdClearAll = button("cmdClearAll", secondButton, firstRow, "CLEAR ALL");
    ui.cmdClearAll->Click = [this] { cmdClearAll_Click(); };
    ui.cmdSave = button("cmdSave", kRightColumn, secondRow, "&SAVE");
    ui.cmdSave->Click = [this] { cmdSave_Click(); };
    ui.cmdCancel = button("cmdCancel", secondButton, secondRow, "&CANCEL");
    ui.cmdCancel->Click = [this] { cmdCancel_Click(); };
}

// Preparing the window also stores it: an employee without a ".cti" file starts with the
// New York City tables in memory even if the window is cancelled.
void DialogCity::OnLoad() {
    LoadCityFile();
    CheckFor();
    fillVar();
}

void DialogCity::ShowTables(CityTaxSettings settings) {
    ShowCells(Cells(ui(), settings));
}

void DialogCity::LoadCityFile() {
    const std::string name = program_.ActiveUser + std::string(kCityFileExtension);
    if (!ReadToShow(GetHost(), name, ReadCityFile(name, program_.citySettings))) return;
    ShowTables(program_.citySettings);
    // A set flag runs the check box's reaction, which shows the cleared tables over the file's.
    ui().ckNoLocalTax->SetValue(program_.citySettings.NoLocalTax);
}

void DialogCity::CheckFor() {
    CityTaxSettings defaults = NewYorkCityDefaults();
    FillBlankCells(Cells(ui(), defaults));
}

bool DialogCity::fillVar() {
    // Stored into a copy, so that a box that is not a number leaves memory as it was.
    CityTaxSettings stored = program_.citySettings;
    stored.NoLocalTax = static_cast<CheckFlag>(ui().ckNoLocalTax->Value());
    if (!StoreCellsOrComplain(GetHost(), Cells(ui(), stored))) return false;
    program_.citySettings = stored;
    return true;
}

bool DialogCity::SaveCityFile() {
    const WriteResult written =
        WriteCityFile(EmployeeFile(program_.ActiveUser, kCityFileExtension), program_.citySettings);
    return WrittenOrReported(GetHost(), written);
}

void DialogCity::cmdNewYork_Click() {
    ui().ckNoLocalTax->SetValue(0);
    ShowTables(NewYorkCityDefaults());
}

void DialogCity::cmdClearAll_Click() {
    ShowTables(ClearedTables());
}

void DialogCity::cmdSave_Click() {
    if (!EmployeeOpenOrTell(program_)) return;
    CheckFor();
    // A box that is not a number, or a file that could not be written, keeps the window open
    // so the user can put it right.
    if (!fillVar()) return;
    if (!SaveCityFile()) return;
    Unload();
}

void DialogCity::cmdCancel_Click() {
    Unload();
}

void DialogCity::ckNoLocalTax_Click() {
    if (ui().ckNoLocalTax->Value() != 0) {
        program_.citySettings.NoLocalTax = 1;
        ShowTables(ClearedTables());
    } else {
        ShowTables(program_.citySettings);
    }
}

}  // namespace kestrel

#include "settings/dialog_state.h"

#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/frm_tax_info.h"
#include "employee/open_employee.h"
#include "platform/numbers.h"
#include "settings/settings_window.h"
#include "settings/state_presets.h"
#include "settings/state_tax_settings.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

// The grid the three tables share, in twips.
constexpr int kMargin = 120;
constexpr int kLineColumn = 480;   // the frame of line numbers, or the exemption numbers
constexpr int kGap = 60;           // between the columns of one table
constexpr int kColumn = 1080;      // a Minimum, Amount or exemption column
constexpr int kWideColumn = 1320;  // the Percent column, whose heading is the longest
constexpr int kTableGap = 240;     // between two tables
constexpr int kTitleTop = 120;
constexpr int kHeadingTop = 420;
constexpr int kHeadingHeight = 660;  // room for a heading of three lines
constexpr int kFirstRow = 1140;
constexpr int kRowPitch = 345;
constexpr int kBoxHeight = 315;
constexpr int kRowsBottom = kFirstRow + 9 * kRowPitch + kBoxHeight;

constexpr int kBracketTableWidth = kLineColumn + 3 * kGap + 2 * kColumn + kWideColumn;
constexpr int kSingleLeft = kMargin;
constexpr int kMarriedLeft = kSingleLeft + kBracketTableWidth + kTableGap;
constexpr int kExemptLeft = kMarriedLeft + kBracketTableWidth + kTableGap;
constexpr int kExemptWidth = kLineColumn + 2 * kGap + 2 * kColumn;
constexpr int kFormWidth = kExemptLeft + kExemptWidth + kMargin;

// Below the tables: the notes and the three frames on the left, the check boxes on the right.
constexpr int kNotesTop = kRowsBottom + 180;
constexpr int kFramesTop = kNotesTop + 1080;
constexpr int kFrameHeight = 1500;
constexpr int kButtonsTop = kFramesTop + kFrameHeight + 180;
constexpr int kButtonHeight = 420;
constexpr int kFormHeight = kButtonsTop + kButtonHeight + kMargin;

constexpr std::string_view kWeeklyNote =
    "You MUST enter biweekly figures. The WEEKLY tables will auto adjust by selecting weekly in "
    "\"User Info\".";

int RowTop(std::size_t row) {
    return kFirstRow + static_cast<int>(row) * kRowPitch;
}

CheckFlag Flag(const CheckBox& box) {
    return static_cast<CheckFlag>(box.Value());
}

// The 80 table boxes with their fields in `s`, in the order fillVari stores them. The window
// tells one message for any box, so the cells carry no complaint of their own.
std::vector<NumberCell> TableCells(DialogStateUi& u, StateTaxSettings& s) {
    std::vector<NumberCell> cells;
    cells.reserve(80);
    for (std::size_t i = 0; i < 10; ++i) {
        BracketRow& single = s.SingleBrackets[i];
        BracketRow& married = s.MarriedBrackets[i];
        cells.push_back({u.txtStateMinBS[i], &single.Minimum, {}});
        cells.push_back({u.txtStateAmtBS[i], &single.Amount, {}});
        cells.push_back({u.txtStatePerBS[i], &single.Percent, {}});
        cells.push_back({u.txtStateMinBM[i], &married.Minimum, {}});
        cells.push_back({u.txtStateAmtBM[i], &married.Amount, {}});
        cells.push_back({u.txtStatePerBM[i], &married.Percent, {}});
    }
    for (std::size_t i = 0; i < 10; ++i) {
        cells.push_back({u.txtStateSgExp[i], &s.SingleExemptions[i], {}});
        cells.push_back({u.txtStateMarExp[i], &s.MarriedExemptions[i], {}});
    }
    return cells;
}

// The six boxes of the SDI, SUI and adjustment frames, stored after the tables.
std::vector<NumberCell> InsuranceCells(DialogStateUi& u, StateTaxSettings& s) {
    return {{u.txtSDIpercent, &s.SdiPercent, {}},    {u.txtSDIwageBase, &s.SdiWageBase, {}},
            {u.txtStateAdj, &s.StateAdjustment, {}}, {u.txtCalAllow, &s.CaliforniaAllowance, {}},
            {u.txtSUIpercent, &s.SuiPercent, {}},    {u.txtSUIwageBase, &s.SuiWageBase, {}}};
}

// Every Minimum 999999, every amount, rate and exemption 0: what NO STATE TAX and CLEAR ALL show.
StateTaxSettings UnusedTables() {
    StateTaxSettings unused;
    unused.SingleBrackets = UnusedBracketTable();
    unused.MarriedBrackets = UnusedBracketTable();
    return unused;
}

// The special states in the order their presets run when several are ticked.
struct SpecialStatePreset {
    CheckBox* DialogStateUi::*box;
    void (DialogState::*preset)();
};
constexpr std::array<SpecialStatePreset, 11> kPresetOrder{{
    {&DialogStateUi::ckLouis, &DialogState::LouisianaSet},
    {&DialogStateUi::ckAriz, &DialogState::ArizonaSet},
    {&DialogStateUi::ckIowa, &DialogState::IowaSet},
    {&DialogStateUi::ckMissouri, &DialogState::MissouriSet},
    {&DialogStateUi::ckMass, &DialogState::MassSet},
    {&DialogStateUi::ckOregon, &DialogState::OregonSet},
    {&DialogStateUi::ckOkla, &DialogState::OklaSet},
    {&DialogStateUi::ckAlabama, &DialogState::AlabamaSet},
    {&DialogStateUi::ckKentucky, &DialogState::KentuckySet},
    {&DialogStateUi::ckWiscon, &DialogState::WisconsinSet},
    {&DialogStateUi::ckNC, &DialogState::NCSet},
}};

std::vector<NumberCell> Cells(DialogStateUi& u, StateTaxSettings& s) {
    std::vector<NumberCell> cells = TableCells(u, s);
    for (NumberCell& cell : InsuranceCells(u, s))
        cells.push_back(std::move(cell));
    return cells;
}

}  // namespace

DialogState::DialogState(Program& program)
    : FormOf(program.host, "DialogState", FormKind::Modeless), program_(program) {}

void DialogState::BuildUi(DialogStateUi& ui) {
    SetCaption("Biweekly State Tax");
    SetGeometry({0, 0, kFormWidth, kFormHeight});
    BuildTables(ui);
    BuildInsurance(ui);
    BuildChoices(ui);
}

void DialogState::BuildTables(DialogStateUi& ui) {
    auto label = [this](std::string name, Rect rect, std::string caption, int index = -1) {
        Label& added = Add<Label>(std::move(name), rect, index);
        added.SetCaption(std::move(caption));
        return &added;
    };
    auto heading = [&](std::string name, Rect rect, std::string caption, int index = -1) {
        Label* added = label(std::move(name), rect, std::move(caption), index);
        added->SetAlignment(Align::Center);
        return added;
    };
    auto title = [&](std::string name, Rect rect, std::string caption) {
        Label* added = label(std::move(name), rect, std::move(caption));
        added->SetFont({0, true});
        return added;
    };
    auto box = [this](std::string name, Rect rect, std::size_t index) {
        TextBox& added = Add<TextBox>(std::move(name), rect, static_cast<int>(index));
        added.SetAllowedKeys(std::string(kNumberKeys));
        added.SetAlignment(Align::Right);
        return &added;
    };

    struct BracketColumns {
        Label*& title;
        Label*& biweekly;
        Label*& line;
        Label*& minimum;
        Label*& amount;
        Label*& percent;
        Frame*& lines;
        DialogStateUi::Labels& lineNumbers;
        DialogStateUi::Boxes& minimums;
        DialogStateUi::Boxes& amounts;
        DialogStateUi::Boxes& percents;
    };
    struct BracketNames {
        const char* title;
        const char* biweekly;
        const char* line;
        const char* minimum;
        const char* amount;
        const char* percent;
        const char* lines;
        const char* lineNumbers;
        const char* minimums;
        const char* amounts;
        const char* percents;
        const char* caption;
    };
    auto bracketTable = [&](int left, const BracketNames& names, const BracketColumns& table) {
        const int minLeft = left + kLineColumn + kGap;
        const int amtLeft = minLeft + kColumn + kGap;
        const int perLeft = amtLeft + kColumn + kGap;
        table.title = title(names.title, {left, kTitleTop, 2700, 255}, names.caption);
        table.biweekly = label(names.biweekly, {perLeft, kTitleTop, kWideColumn, 255}, "BIWEEKLY ");
        table.biweekly->SetAlignment(Align::Right);
        table.line = heading(names.line,
                             {left, kHeadingTop + kHeadingHeight - 255, kLineColumn, 255}, "Line");
        table.minimum = heading(names.minimum, {minLeft, kHeadingTop, kColumn, kHeadingHeight},
                                "Minimum Range");
        table.amount = heading(names.amount, {amtLeft, kHeadingTop, kColumn, kHeadingHeight},
                               "Amount to Withhold");
        table.percent = heading(names.percent, {perLeft, kHeadingTop, kWideColumn, kHeadingHeight},
                                "Multiply by Percentage in Decimal");
        table.lines = &Add<Frame>(
            names.lines, {left, kFirstRow - 120, kLineColumn, kRowsBottom - kFirstRow + 180});
        for (std::size_t i = 0; i < 10; ++i) {
            Label* number =
                heading(names.lineNumbers, {30, RowTop(i) - kFirstRow + 150, kLineColumn - 60, 255},
                        std::to_string(i + 1), static_cast<int>(i));
            number->SetContainer(table.lines);
            table.lineNumbers[i] = number;
        }
        for (std::size_t i = 0; i < 10; ++i) {
            table.minimums[i] = box(names.minimums, {minLeft, RowTop(i), kColumn, kBoxHeight}, i);
            table.amounts[i] = box(names.amounts, {amtLeft, RowTop(i), kColumn, kBoxHeight}, i);
            table.percents[i] =
                box(names.percents, {perLeft, RowTop(i), kWideColumn, kBoxHeight}, i);
        }
    };
    bracketTable(
        kSingleLeft,
        {"Label1", "Label19", "Label6", "Label2", "Label3", "Label4", "fraLinesS", "lbLineS",
         "txtStateMinBS", "txtStateAmtBS", "txtStatePerBS", "Table for SINGLE Persons"},
        {ui.Label1, ui.Label19, ui.Label6, ui.Label2, ui.Label3, ui.Label4, ui.fraLinesS,
         ui.lbLineS, ui.txtStateMinBS, ui.txtStateAmtBS, ui.txtStatePerBS});
    bracketTable(
        kMarriedLeft,
        {"Label5", "Label20", "Label11", "Label8", "Label9", "Label10", "fraLinesM", "lbLineM",
         "txtStateMinBM", "txtStateAmtBM", "txtStatePerBM", "Table for MARRIED Persons"},
        {ui.Label5, ui.Label20, ui.Label11, ui.Label8, ui.Label9, ui.Label10, ui.fraLinesM,
         ui.lbLineM, ui.txtStateMinBM, ui.txtStateAmtBM, ui.txtStatePerBM});

    const int sgLeft = kExemptLeft + kLineColumn + kGap;
    const int marLeft = sgLeft + kColumn + kGap;
    // As wide as both columns: Louisiana's preset puts "Enter Number Of" here.
    ui.Label21 = label("Label21", {sgLeft, kTitleTop, 2 * kColumn + kGap, 255}, "BIWEEKLY ");
    ui.Label21->SetAlignment(Align::Right);
    ui.lbAllowance = title("lbAllowance", {sgLeft, kHeadingTop, 2 * kColumn + kGap, 255},
                           "Withholding Allowance");
    ui.lbAllowance->SetAlignment(Align::Center);
    ui.Label13 =
        heading("Label13", {kExemptLeft, kHeadingTop + 150, kLineColumn + kGap, 510}, "# of Exemp");
    ui.Label14 =
        heading("Label14", {sgLeft, kHeadingTop + kHeadingHeight - 255, kColumn, 255}, "SINGLE");
    ui.Label15 =
        heading("Label15", {marLeft, kHeadingTop + kHeadingHeight - 255, kColumn, 255}, "MARRIED");
    for (std::size_t i = 0; i < 10; ++i) {
        ui.Label27[i] = heading("Label27", {kExemptLeft, RowTop(i) + 30, kLineColumn, 255},
                                std::to_string(i), static_cast<int>(i));
    }
    for (std::size_t i = 0; i < 10; ++i) {
        ui.txtStateSgExp[i] = box("txtStateSgExp", {sgLeft, RowTop(i), kColumn, kBoxHeight}, i);
        ui.txtStateMarExp[i] = box("txtStateMarExp", {marLeft, RowTop(i), kColumn, kBoxHeight}, i);
    }

    ui.lbWarning = title("lbWarning", {kMargin, kNotesTop, 1080, 255}, "WARNING!");
    ui.lbUnusedLines = label("lbUnusedLines", {kMargin + 1140, kNotesTop, 6000, 255},
                             "Enter 999999 in any Minum Range Box that is not used.");
    ui.lbWeeklyNote =
        label("lbWeeklyNote", {kMargin, kNotesTop + 330, kExemptLeft - 2 * kMargin, 255},
              std::string(kWeeklyNote));
    ui.lbTablesLink =
        label("lbTablesLink", {kMargin, kNotesTop + 660, kExemptLeft - 2 * kMargin, 255},
              "State withholding tables: https://www.taxadmin.org/state-tax-agencies");
}

void DialogState::BuildInsurance(DialogStateUi& ui) {
    auto single = [this](std::string name, Rect rect, Frame* frame) {
        TextBox& added = Add<TextBox>(std::move(name), rect);
        added.SetAllowedKeys(std::string(kNumberKeys));
        added.SetSelectAllOnFocus(true);
        added.SetAlignment(Align::Right);
        added.SetContainer(frame);
        return &added;
    };
    auto label = [this](std::string name, Rect rect, std::string caption, Frame* frame) {
        Label& added = Add<Label>(std::move(name), rect);
        added.SetCaption(std::move(caption));
        added.SetContainer(frame);
        return &added;
    };
    auto frame = [this](std::string name, Rect rect, std::string caption) {
        Frame& added = Add<Frame>(std::move(name), rect);
        added.SetCaption(std::move(caption));
        return &added;
    };
    auto useBase = [this](std::string name, Frame* frame) {
        CheckBox& added = Add<CheckBox>(std::move(name), {1140, 1080, 1320, 285});
        added.SetCaption("Use Base");
        added.SetContainer(frame);
        return &added;
    };

    constexpr int kInsuranceWidth = 2640;
    // One access key per frame: with "&State" in both, Alt+S would only shuttle between them.
    ui.fraSDI = frame("fraSDI", {kMargin, kFramesTop, kInsuranceWidth, kFrameHeight},
                      "State &Disability Insurance");
    ui.lbSDIrate = label("lbSDIrate", {150, 360, 960, 255}, "% Rate", ui.fraSDI);
    ui.txtSDIpercent = single("txtSDIpercent", {1140, 330, 1320, kBoxHeight}, ui.fraSDI);
    ui.Label26 = label("Label26", {150, 750, 960, 255}, "Flat Rate", ui.fraSDI);
    ui.txtSDIwageBase = single("txtSDIwageBase", {1140, 720, 1320, kBoxHeight}, ui.fraSDI);
    ui.ckSDI = useBase("ckSDI", ui.fraSDI);

    const int suiLeft = kMargin + kInsuranceWidth + kMargin;
    ui.fraSUI = frame("fraSUI", {suiLeft, kFramesTop, kInsuranceWidth, kFrameHeight},
                      "State &UnEmployment Insurance");
    ui.lbSUIrate = label("lbSUIrate", {150, 360, 960, 255}, "% Rate", ui.fraSUI);
    ui.txtSUIpercent = single("txtSUIpercent", {1140, 330, 1320, kBoxHeight}, ui.fraSUI);
    ui.Label23 = label("Label23", {150, 750, 960, 255}, "Flat Rate", ui.fraSUI);
    ui.txtSUIwageBase = single("txtSUIwageBase", {1140, 720, 1320, kBoxHeight}, ui.fraSUI);
    ui.ckSUI = useBase("ckSUI", ui.fraSUI);

    const int adjustLeft = suiLeft + kInsuranceWidth + kMargin;
    const int adjustWidth = kExemptLeft - kMargin - adjustLeft;
    ui.fraAdjust =
        frame("fraAdjust", {adjustLeft, kFramesTop, adjustWidth, kFrameHeight}, "Adustment");
    ui.lbAdjust =
        label("lbAdjust", {150, 270, adjustWidth - 1380, 720},
              "Enter figure to add to State Tax. Place a (-)Minus to subtract.", ui.fraAdjust);
    ui.txtStateAdj =
        single("txtStateAdj", {adjustWidth - 1170, 330, 1020, kBoxHeight}, ui.fraAdjust);
    ui.lbCalAllow = label("lbCalAllow", {150, 1020, adjustWidth - 1380, 420},
                          "California Exempt Allowance", ui.fraAdjust);
    ui.txtCalAllow =
        single("txtCalAllow", {adjustWidth - 1170, 1050, 1020, kBoxHeight}, ui.fraAdjust);
}

void DialogState::BuildChoices(DialogStateUi& ui) {
    constexpr int kBoxWidth = 1380;
    constexpr int kPitch = 300;
    auto check = [this](std::string name, Rect rect, std::string caption) {
        CheckBox& added = Add<CheckBox>(std::move(name), rect);
        added.SetCaption(std::move(caption));
        return &added;
    };
    ui.ckNoStateTax =
        check("ckNoStateTax", {kExemptLeft, kNotesTop, 2 * kBoxWidth, 285}, "NO STATE TAX");
    ui.ckNoStateTax->SetFont({0, true});

    // Two columns under the exemption table, Spouse Works below the two states it concerns.
    struct Choice {
        CheckBox*& box;
        const char* name;
        const char* caption;
    };
    const std::array<Choice, 13> choices{{{ui.ckAriz, "ckAriz", "Arizona"},
                                          {ui.ckLouis, "ckLouis", "Louisiana"},
                                          {ui.ckIowa, "ckIowa", "Iowa"},
                                          {ui.ckMass, "ckMass", "Mass"},
                                          {ui.ckOregon, "ckOregon", "Oregon"},
                                          {ui.ckKentucky, "ckKentucky", "Kentucky"},
                                          {ui.ckMissouri, "ckMissouri", "Missouri"},
                                          {ui.ckOkla, "ckOkla", "Oklahoma"},
                                          {ui.ckWiscon, "ckWiscon", "Wisconsin"},
                                          {ui.ckAlabama, "ckAlabama", "Alabama"},
                                          {ui.ckNC, "ckNC", "N.C."},
                                          {ui.ckSpouse, "ckSpouse", "Spouse Works"},
                                          {ui.ckRoundOff, "ckRoundOff", "Round State"}}};
    for (std::size_t k = 0; k < choices.size(); ++k) {
        const int column = k < 6 ? 0 : 1;
        const int row = k < 6 ? static_cast<int>(k) : static_cast<int>(k) - 6;
        choices[k].box = check(
            choices[k].name,
            {kExemptLeft + column * kBoxWidth, kNotesTop + 360 + row * kPitch, kBoxWidth, 285},
            choices[k].caption);
    }
    ui.ckSpouse->SetToolTip("For Married Persons");
    ui.ckSpouse->SetVisible(false);

    struct Button {
        CommandButton*& button;
        const char* name;
        const char* caption;
    };
    const std::array<Button, 6> buttons{{{ui.cmdNewYork, "cmdNewYork", "New York"},
                                         {ui.cmdClearAll, "cmdClearAll", "CLEAR ALL"},
                                         {ui.cmdMakeDefault, "cmdMakeDefault", "Make Default"},
                                         {ui.cmdGetDefault, "cmdGetDefault", "Get Default"},
                                         {ui.cmdSave, "cmdSave", "&SAVE"},
                                         {ui.cmdCancel, "cmdCancel", "&CANCEL"}}};
    constexpr int kButtonWidth = 1740;
    constexpr int kButtonPitch = (kFormWidth - 2 * kMargin - kButtonWidth) / 5;
    for (std::size_t k = 0; k < buttons.size(); ++k) {
        CommandButton& button =
            Add<CommandButton>(buttons[k].name, {kMargin + static_cast<int>(k) * kButtonPitch,
                                                 kButtonsTop, kButtonWidth, kButtonHeight});
        button.SetCaption(buttons[k].caption);
        buttons[k].button = &button;
    }
    ui.cmdNewYork->Click = [this] { cmdNewYork_Click(); };
    ui.cmdClearAll->Click = [this] { cmdClearAll_Click(); };
    ui.cmdMakeDefault->Click = [this] { cmdMakeDefault_Click(); };
    ui.cmdGetDefault->Click = [this] { cmdGetDefault_Click(); };
    ui.cmdSave->Click = [this] { cmdSave_Click(); };
    ui.cmdCancel->Click = [this] { cmdCancel_Click(); };

    ui.ckNoStateTax->Click = [this] { ckNoStateTax_Click(); };
    ui.ckSDI->Click = [this] { ckSDI_Click(); };
    ui.ckSUI->Click = [this] { ckSUI_Click(); };
    ui.ckSpouse->Click = [this] { ckSpouse_Click(); };
    // The exclusive choice of a state hangs on the press, not the click, so that a box set from
    // code (loading a file, New York) never runs it.
    for (CheckBox* state : ui.SpecialStates()) {
        state->MouseDown = [this, state](MouseButton button) {
            if (button == MouseButton::Left) SpecialState_MouseDown(*state);
        };
    }
}

void DialogState::OnLoad() {
    if (fromMemory_) {
        ShowSettings();
        ShowChoices();
        ShowUserInfoFields();
    } else {
        LoadStateFile();
        // The profile in memory follows the employee's files, among them the state fields the
        // ".and" file carries; the boxes keep what the state file showed. The overtime rows stay
        // as the overtime window left them, since it keeps them only in memory until a save.
        LoadProfileFiles(program_, false);
    }
    // The boxes decide, not memory: after a damaged file memory may hold a flag that was read
    // before the failure, and the boxes do not show a partial read.
    RunPresets();
    // Preparing stores the window even when the user cancels afterwards. A box that is not a
    // number cannot come from the file, so there is nothing to tell here.
    fillVari();
    ShowBaseCaptions();
}

void DialogState::OpenWindow() {
    Show();
    // Presets that read the pay frequency or the filing status follow any change made in the
    // User Info window since the window was prepared.
    RunPresets();
    DialogStateUi& u = ui();
    if (u.ckMissouri->Value() != 0 || u.ckOkla->Value() != 0) u.ckSpouse->SetVisible(true);
}

void DialogState::LoadFromMemory() {
    Unload();
    fromMemory_ = true;
    Load();
    fromMemory_ = false;
}

void DialogState::RunPresets() {
    for (const SpecialStatePreset& state : kPresetOrder) {
        if ((ui().*state.box)->Value() != 0) (this->*state.preset)();
    }
}

void DialogState::LoadStateFile() {
    // Preparing the window reads the file itself; reading it twice would tell twice about a
    // corrupted one.
    if (!IsLoaded()) {
        Load();
        return;
    }
    LoadFrom(EmployeeFile(program_.ActiveUser, kStateFileExtension));
}

void DialogState::LoadDefaultStateFile() {
    Load();
    LoadFrom(EmployeeFile("", kStateFileExtension));
}

void DialogState::LoadFrom(const std::filesystem::path& file) {
    const SettingsFileResult read = ReadStateFile(file, program_.stateSettings, program_.profile);
    // After a corrupted file every control keeps what it showed: a flag read before the failure
    // must not be ticked, or the next store would make it the employee's state.
    if (ReadToShow(GetHost(), file.string(), read)) {
        ShowSettings();
    } else if (read.status == SettingsFileStatus::Corrupted) {
        return;
    }
    ShowChoices();
    ShowUserInfoFields();
}

bool DialogState::SaveStateFile() {
    // A NO STATE TAX ticked since the window stored its boxes goes with the tables it clears,
    // as the next preparation would clear them: the file never holds the flag beside tables
    // that would still count until then.
    const StateTaxSettings& memory = program_.stateSettings;
    const StateTaxSettings saved =
        memory.NoStateTax == 1 ? PreparedStateSettings(memory, program_.profile) : memory;
    const WriteResult written = WriteStateFile(
        EmployeeFile(program_.ActiveUser, kStateFileExtension), saved, program_.profile);
    return WrittenOrReported(GetHost(), written);
}

void DialogState::ShowSettings() {
    StateTaxSettings& s = program_.stateSettings;
    DialogStateUi& u = ui();
    // The California allowance is among them although the state file does not carry it; memory
    // has it from the profile files.
    ShowCells(Cells(u, s));
    u.ckNoStateTax->SetValue(s.NoStateTax);
    u.ckSDI->SetValue(s.SdiUseBase);
    u.ckSUI->SetValue(s.SuiUseBase);
}

void DialogState::ShowChoices() {
    const StateTaxSettings& s = program_.stateSettings;
    DialogStateUi& u = ui();
    u.ckAriz->SetValue(s.ArizonaFlag);
    u.ckLouis->SetValue(s.LouisianaFlag);
    u.ckIowa->SetValue(s.IowaFlag);
    u.ckMass->SetValue(s.MassFlag);
    u.ckOregon->SetValue(s.OregonFlag);
    u.ckKentucky->SetValue(s.KentuckyFlag);
    u.ckMissouri->SetValue(s.MissouriFlag);
    u.ckOkla->SetValue(s.OklahomaFlag);
    u.ckWiscon->SetValue(s.WisconsinFlag);
    u.ckAlabama->SetValue(s.AlabamaFlag);
    u.ckNC->SetValue(s.NorthCarolinaFlag);
    u.ckSpouse->SetValue(s.SpouseWorks);
    u.ckRoundOff->SetValue(s.RoundState);
}

void DialogState::ShowUserInfoFields() {
    // A User Info window that is not open shows the record when it opens.
    if (!program_.taxInfo.IsLoaded()) return;
    const EmployeeProfile& p = program_.profile;
    frmTaxInfoUi& t = program_.taxInfo.ui();
    t.cboDepend2->SetText(std::to_string(p.StateAllowances));
    t.cboStatus2->SetText(p.StateStatus);
    t.txtFedAddL->SetText(SingleText(p.AdditionalFederal));
    t.ckFedExemp->SetValue(p.FederalExempt);
    t.ckSSMediExemp->SetValue(p.FicaExempt);
}

void DialogState::ShowSingleBoxes() {
    ShowCells(InsuranceCells(ui(), program_.stateSettings));
}

bool DialogState::BiWeeklySelected() {
    if (program_.taxInfo.IsLoaded()) return program_.taxInfo.ui().optBiWeek->Value();
    // What the window would show if it were opened now.
    const EmployeeProfile& p = program_.profile;
    return p.BiWeeklyPay && !p.WeeklyPay;
}

std::string DialogState::StateStatusShown() {
    if (program_.taxInfo.IsLoaded()) return program_.taxInfo.ui().cboStatus2->Text();
    return UserInfoDefaults(program_.profile).StateStatus;
}

void DialogState::ShowBaseCaptions() {
    DialogStateUi& u = ui();
    u.Label26->SetCaption(u.ckSDI->Value() != 0 ? "Wage Base" : "Flat Rate");
    u.Label23->SetCaption(u.ckSUI->Value() != 0 ? "Wage Base" : "Flat Rate");
}

void DialogState::CheckFor() {
    // New York's SDI, SUI, adjustment and California fields are 0, which is what a blank one of
    // those six boxes gets.
    StateTaxSettings ny = NewYorkStateDefaults();
    FillBlankCells(Cells(ui(), ny));
}

bool DialogState::fillVari() {
    CheckFor();
    DialogStateUi& u = ui();
    StateTaxSettings& s = program_.stateSettings;
    s.NoStateTax = Flag(*u.ckNoStateTax);
    // Straight into memory, box by box: what was stored before a box that is not a number keeps
    // its new value.
    if (StoreCells(Cells(u, s)) != nullptr) return false;
    const auto flag = [](const CheckBox* box) { return Flag(*box); };
    s.SdiUseBase = flag(u.ckSDI);
    s.SuiUseBase = flag(u.ckSUI);
    s.ArizonaFlag = flag(u.ckAriz);
    s.LouisianaFlag = flag(u.ckLouis);
    s.IowaFlag = flag(u.ckIowa);
    s.MassFlag = flag(u.ckMass);
    s.OregonFlag = flag(u.ckOregon);
    s.OklahomaFlag = flag(u.ckOkla);
    s.AlabamaFlag = flag(u.ckAlabama);
    s.WisconsinFlag = flag(u.ckWiscon);
    s.NorthCarolinaFlag = flag(u.ckNC);
    s.KentuckyFlag = flag(u.ckKentucky);
    s.MissouriFlag = flag(u.ckMissouri);
    s.SpouseWorks = flag(u.ckSpouse);
    s.RoundState = flag(u.ckRoundOff);
    return true;
}

void DialogState::TakeAdjustments(StateTaxSettings& settings) {
    DialogStateUi& u = ui();
    for (TextBox* box : {u.txtSDIpercent, u.txtSDIwageBase, u.txtStateAdj, u.txtCalAllow,
                         u.txtSUIpercent, u.txtSUIwageBase}) {
        if (box->Text().empty()) box->SetText("0");
    }
    settings.StateAdjustment = StrictSingle(u.txtStateAdj->Text()).value_or(0);
    settings.CaliforniaAllowance = StrictSingle(u.txtCalAllow->Text()).value_or(0);
}

void DialogState::cmdNewYork_Click() {
    DialogStateUi& u = ui();
    // Nothing is stored before SAVE, so the box's reaction must not clear the flag in memory.
    const CheckFlag noStateTax = program_.stateSettings.NoStateTax;
    u.ckNoStateTax->SetValue(0);
    program_.stateSettings.NoStateTax = noStateTax;
    for (CheckBox* state : u.SpecialStates())
        state->SetValue(0);
    u.ckSpouse->SetValue(0);
    u.ckSpouse->SetVisible(false);
    StateTaxSettings ny = NewYorkStateDefaults();
    ShowCells(TableCells(u, ny));
    // The other six boxes keep what they hold; only a blank one gets New York's 0.
    FillBlankCells(InsuranceCells(u, ny));
    // The presets rename and grey these; New York puts them back.
    u.Label14->SetCaption("Single");
    u.Label15->SetCaption("Married");
    u.Label21->SetCaption("BiWeekly");
    u.Label13->SetCaption("# of Exemp");
    u.Label5->SetCaption("Table for MARRIED Persons");
    for (std::size_t i = 0; i < 10; ++i)
        u.Label27[i]->SetCaption(std::to_string(i));
    for (Label* heading :
         {u.Label1, u.Label2, u.Label3, u.Label4, u.Label6, u.Label19, u.Label5, u.Label8, u.Label9,
          u.Label10, u.Label11, u.Label20, u.Label13, u.Label14, u.Label15, u.Label21}) {
        heading->SetEnabled(true);
    }
    for (Label* number : u.Label27)
        number->SetEnabled(true);
    u.fraLinesS->SetEnabled(true);
    for (const DialogStateUi::Boxes* column :
         {&u.txtStateMinBS, &u.txtStateAmtBS, &u.txtStatePerBS, &u.txtStateMinBM, &u.txtStateAmtBM,
          &u.txtStatePerBM, &u.txtStateSgExp, &u.txtStateMarExp}) {
        for (TextBox* box : *column)
            box->SetEnabled(true);
    }
}

void DialogState::cmdClearAll_Click() {
    DialogStateUi& u = ui();
    StateTaxSettings cleared = UnusedTables();
    ShowCells(TableCells(u, cleared));
    u.ckRoundOff->SetValue(0);
    u.ckSpouse->SetValue(0);
    u.ckSpouse->SetVisible(false);
}

void DialogState::cmdSave_Click() {
    // Nothing is stored either, so the window still shows what was typed; Make Default is the
    // way to write the default set.
    if (!EmployeeOpenOrTell(program_)) return;
    if (!fillVari()) {
        ShowMessage(GetHost(), kNonNumeric);
        return;
    }
    // A failed write has told the user; the window stays open so nothing typed is lost.
    if (!SaveStateFile()) return;
    // The California allowance, Spouse Works, Round State and the Oklahoma, Wisconsin and N.C.
    // flags live in the profile files.
    if (!SaveOT(program_)) {
        ShowMessage(GetHost(), kNonNumeric);
        return;
    }
    Unload();
}

void DialogState::cmdCancel_Click() {
    Unload();
}

void DialogState::cmdMakeDefault_Click() {
    const auto fail = [this] { ShowMessage(GetHost(), kNonNumeric); };
    // The employee's own files are brought up to date first.
    if (!fillVari() || !SaveStateFile() || !SaveOT(program_)) {
        fail();
        return;
    }
    // The year-to-date view is closed below; what was posted in it is the employee's too.
    if (!program_.ActiveUser.empty() && !StoreYearToDate(program_)) return;
    const std::string user = program_.ActiveUser;
    // An empty name box makes SaveOT take the empty name, that of the default file set.
    TextBox& nameBox = *program_.saveUser.ui().txtSaveUser;
    nameBox.SetText("");
    const bool written = SaveOT(program_, true) && program_.dialogVac.SaveVac() &&
                         SaveStateFile() && program_.dialogCity.SaveCityFile() &&
                         program_.dialogNonCity.SaveNonResidentFile();
    if (!written) {
        // The employee stays open under its own name, or the next saves would go on writing
        // the default files.
        program_.ActiveUser = user;
        nameBox.SetText(user);
        fail();
        return;
    }
    // The name the main window shows, unless no employee is open: its label then holds only
    // the placeholder "USER".
    std::string shown = user;
    if (!user.empty() && program_.form1.IsLoaded()) shown = program_.form1.ui().lbUser->Caption();
    program_.CloseWindows(
        {Program::Window::YearToDate, Program::Window::Overtime, Program::Window::Leave});
    if (program_.saveUser.IsLoaded()) program_.saveUser.Unload();
    Unload();
    program_.CloseWindows({Program::Window::CityTax, Program::Window::NonCityTax});
    program_.ActiveUser = shown;
}

void DialogState::cmdGetDefault_Click() {
    // Straight into memory and the boxes: no preset runs and the headings stay as they are.
    LoadDefaultStateFile();
}

void DialogState::ckNoStateTax_Click() {
    DialogStateUi& u = ui();
    StateTaxSettings& s = program_.stateSettings;
    if (u.ckNoStateTax->Value() != 0) {
        // In force at once, even if the window is cancelled.
        s.NoStateTax = 1;
        StateTaxSettings none = UnusedTables();
        ShowCells(TableCells(u, none));
        ShowSingleBoxes();
        u.ckSDI->SetValue(s.SdiUseBase);
        u.ckSUI->SetValue(s.SuiUseBase);
        u.ckAriz->SetValue(s.ArizonaFlag);
        u.ckLouis->SetValue(s.LouisianaFlag);
        u.ckIowa->SetValue(s.IowaFlag);
        u.ckMissouri->SetValue(s.MissouriFlag);
        u.ckSpouse->SetValue(s.SpouseWorks);
        u.ckRoundOff->SetValue(s.RoundState);
        return;
    }
    // Cleared at once as well, or the tables shown would be saved beside a flag that clears
    // them at the next preparation.
    s.NoStateTax = 0;
    ShowCells(TableCells(u, s));
    ShowSingleBoxes();
    u.ckSDI->SetValue(s.SdiUseBase);
    u.ckSUI->SetValue(s.SuiUseBase);
}

void DialogState::ckSDI_Click() {
    DialogStateUi& u = ui();
    if (u.ckSDI->Value() != 0) {
        u.Label26->SetCaption("Wage Base");
        return;
    }
    u.Label26->SetCaption("Flat Rate");
    u.txtSDIpercent->SetText("0");
}

void DialogState::ckSUI_Click() {
    DialogStateUi& u = ui();
    if (u.ckSUI->Value() != 0) {
        u.Label23->SetCaption("Wage Base");
        return;
    }
    u.Label23->SetCaption("Flat Rate");
    u.txtSUIpercent->SetText("0");
}

void DialogState::ckSpouse_Click() {
    // Missouri's standard deduction depends on the box.
    if (ui().ckMissouri->Value() != 0) MissouriSet();
}

void DialogState::SpecialState_MouseDown(CheckBox& pressed) {
    DialogStateUi& u = ui();
    for (CheckBox* state : u.SpecialStates()) {
        if (state != &pressed) state->SetValue(0);
    }
    if (&pressed == u.ckMissouri || &pressed == u.ckOkla) {
        // The press comes before the toggle: a clear box is about to be set.
        if (pressed.Value() == 0) u.ckSpouse->SetVisible(true);
    } else {
        u.ckSpouse->SetValue(0);
        u.ckSpouse->SetVisible(false);
    }
    if (&pressed == u.ckOregon || &pressed == u.ckWiscon || &pressed == u.ckNC) {
        program_.stateSettings.LouisianaFlag = 0;
    }
    if (&pressed == u.ckOkla || &pressed == u.ckNC) u.ckRoundOff->SetValue(1);
    for (const SpecialStatePreset& state : kPresetOrder) {
        if (u.*state.box == &pressed) (this->*state.preset)();
    }
}

}  // namespace kestrel

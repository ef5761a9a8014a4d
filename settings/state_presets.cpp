#include "settings/state_presets.h"

#include <array>
#include <cstddef>
#include <string>

#include "app/program.h"
#include "platform/numbers.h"
#include "platform/scripted_host.h"
#include "settings/dialog_state.h"

namespace kestrel {

namespace {

// The texts of one table line: Minimum, Amount, Percent.
struct LineTexts {
    const char* minimum;
    const char* amount;
    const char* percent;
};
using Column = std::array<const char*, 10>;

constexpr LineTexts kUnusedLine{"999999", "0", "0"};
constexpr LineTexts kZeroLine{"0", "0", "0"};
constexpr Column kZeros{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"};

void ShowLine(DialogStateUi& u, std::size_t line, const LineTexts& single,
              const LineTexts& married) {
    u.txtStateMinBS[line]->SetText(single.minimum);
    u.txtStateAmtBS[line]->SetText(single.amount);
    u.txtStatePerBS[line]->SetText(single.percent);
    u.txtStateMinBM[line]->SetText(married.minimum);
    u.txtStateAmtBM[line]->SetText(married.amount);
    u.txtStatePerBM[line]->SetText(married.percent);
}

void EnableLine(DialogStateUi& u, std::size_t line, bool enabled) {
    for (TextBox* box : {u.txtStateMinBS[line], u.txtStateAmtBS[line], u.txtStatePerBS[line],
                         u.txtStateMinBM[line], u.txtStateAmtBM[line], u.txtStatePerBM[line]}) {
        box->SetEnabled(enabled);
    }
}

// Lines first to last - 1 (counted from 0) out of use and greyed, as most presets leave the lines
// their formula does not read.
void RetireLines(DialogStateUi& u, std::size_t first, std::size_t last) {
    for (std::size_t line = first; line < last; ++line) {
        EnableLine(u, line, false);
        ShowLine(u, line, kUnusedLine, kUnusedLine);
    }
}

void ShowExemptions(DialogStateUi& u, const Column& single, const Column& married) {
    for (std::size_t row = 0; row < 10; ++row) {
        u.txtStateSgExp[row]->SetText(single[row]);
        u.txtStateMarExp[row]->SetText(married[row]);
    }
}

void EnableExemptions(DialogStateUi& u, bool enabled) {
    for (std::size_t row = 0; row < 10; ++row) {
        u.txtStateSgExp[row]->SetEnabled(enabled);
        u.txtStateMarExp[row]->SetEnabled(enabled);
    }
}

void NumberExemptionRows(DialogStateUi& u) {
    for (std::size_t row = 0; row < 10; ++row)
        u.Label27[row]->SetCaption(std::to_string(row));
}

// The formulas that read only the exemption table have no use for the bracket tables' headings.
void GreyBracketHeadings(DialogStateUi& u) {
    u.fraLinesS->SetEnabled(false);
    for (Label* heading : {u.Label1, u.Label2, u.Label3, u.Label4, u.Label6, u.Label19, u.Label5,
                           u.Label8, u.Label9, u.Label10, u.Label11, u.Label20}) {
        heading->SetEnabled(false);
    }
}

// Oklahoma and Alabama compute from the profile alone: nothing in the tables is theirs.
void EmptyAllTables(DialogStateUi& u) {
    NumberExemptionRows(u);
    for (std::size_t line = 0; line < 10; ++line) {
        EnableLine(u, line, false);
        ShowLine(u, line, {"", "", ""}, {"", "", ""});
    }
    for (std::size_t row = 0; row < 10; ++row) {
        u.txtStateSgExp[row]->SetText("");
        u.txtStateMarExp[row]->SetText("");
    }
    EnableExemptions(u, false);
}

void EnableAllLines(DialogStateUi& u) {
    for (std::size_t line = 0; line < 10; ++line)
        EnableLine(u, line, true);
}

}  // namespace

void DialogState::ArizonaSet() {
    DialogStateUi& u = ui();
    EnableExemptions(u, false);
    for (std::size_t line = 0; line < 10; ++line) {
        u.txtStateMinBS[line]->SetText("999999");
        u.txtStateMinBM[line]->SetText("999999");
        u.txtStateAmtBS[line]->SetText("0");
        u.txtStateAmtBM[line]->SetText("0");
        EnableLine(u, line, false);
    }
    for (std::size_t line = 1; line < 10; ++line) {
        u.txtStatePerBS[line]->SetText("0");
        u.txtStatePerBM[line]->SetText("0");
    }
    ShowExemptions(u, kZeros, kZeros);
    u.Label14->SetCaption("Single");
    u.Label15->SetCaption("Married");
    u.Label21->SetCaption("BiWeekly");
    u.Label13->SetCaption("# of Exemp");
    u.Label5->SetCaption("Table for MARRIED Persons");
    NumberExemptionRows(u);
    // The rate is the one thing the user keeps: the stored one, whatever the box held before.
    const StateTaxSettings& s = program_.stateSettings;
    u.txtStatePerBS[0]->SetEnabled(true);
    u.txtStatePerBM[0]->SetEnabled(true);
    u.txtStatePerBS[0]->SetText(SingleText(s.SingleBrackets[0].Percent));
    u.txtStatePerBM[0]->SetText(SingleText(s.MarriedBrackets[0].Percent));
}

void DialogState::LouisianaSet() {
    DialogStateUi& u = ui();
    u.Label14->SetCaption("Personal");
    u.Label15->SetCaption("Dependent");
    u.Label21->SetCaption("Enter Number Of");
    u.Label13->SetCaption("");
    u.Label5->SetCaption("Table for MARRIED Persons");
    for (Label* row : u.Label27)
        row->SetCaption("");
    for (std::size_t row = 1; row < 10; ++row) {
        u.txtStateSgExp[row]->SetEnabled(false);
        u.txtStateMarExp[row]->SetEnabled(false);
    }
    u.txtStatePerBS[0]->SetText("0");
    u.txtStatePerBM[0]->SetText("0");
    for (std::size_t line = 1; line < 10; ++line)
        ShowLine(u, line, kUnusedLine, kUnusedLine);
    for (std::size_t line = 0; line < 10; ++line)
        EnableLine(u, line, false);
    for (std::size_t row = 1; row < 10; ++row) {
        u.txtStateSgExp[row]->SetText("0");
        u.txtStateMarExp[row]->SetText("0");
    }
    // Row 0 holds two counts. A stored amount (the New York allowance, say) is no count the
    // formula knows: more than 2 personal or 6 dependent exemptions shows 0.
    const StateTaxSettings& s = program_.stateSettings;
    const float personal = s.SingleExemptions[0];
    const float dependents = s.MarriedExemptions[0];
    u.txtStateSgExp[0]->SetText(personal > 2 ? "0" : SingleText(personal));
    u.txtStateMarExp[0]->SetText(dependents > 6 ? "0" : SingleText(dependents));
    u.txtStateSgExp[0]->SetEnabled(true);
    u.txtStateMarExp[0]->SetEnabled(true);
}

void DialogState::MassSet() {
    DialogStateUi& u = ui();
    NumberExemptionRows(u);
    RetireLines(u, 1, 10);
    EnableLine(u, 0, true);
    ShowLine(u, 0, {"0", "0", "0.053"}, {"0", "0", "0.053"});
    constexpr Column kAllowance{"0", "169", "208", "247", "286", "325", "364", "403", "442", "481"};
    ShowExemptions(u, kAllowance, kAllowance);
}

void DialogState::OklaSet() {
    EmptyAllTables(ui());
}

void DialogState::AlabamaSet() {
    EmptyAllTables(ui());
}

void DialogState::IowaSet() {
    DialogStateUi& u = ui();
    u.Label14->SetCaption("Standard");
    u.Label15->SetCaption("Credit");
    u.Label21->SetCaption("BiWeekly");
    u.Label13->SetCaption("# of Exemp");
    GreyBracketHeadings(u);
    NumberExemptionRows(u);
    RetireLines(u, 0, 10);
    // Unlike the generic tables these figures are already weekly for a weekly employee.
    constexpr Column kStandardBiWeekly{"57.69",  "57.69",  "138.46", "138.46", "138.46",
                                       "138.46", "138.46", "138.46", "138.46", "138.46"};
    constexpr Column kCreditBiWeekly{"0",   "1.54", "3.08",  "4.62",  "6.16",
                                     "7.7", "9.24", "10.78", "12.32", "13.86"};
    constexpr Column kStandardWeekly{"28.85", "28.85", "69.23", "69.23", "69.23",
                                     "69.23", "69.23", "69.23", "69.23", "69.23"};
    constexpr Column kCreditWeekly{"0",    "0.77", "1.54", "2.31", "3.08",
                                   "3.85", "4.62", "5.39", "6.16", "6.93"};
    if (BiWeeklySelected()) {
        ShowExemptions(u, kStandardBiWeekly, kCreditBiWeekly);
    } else {
        ShowExemptions(u, kStandardWeekly, kCreditWeekly);
    }
    u.ckRoundOff->SetValue(1);
}

void DialogState::MissouriSet() {
    DialogStateUi& u = ui();
    u.Label14->SetCaption("Standard");
    u.Label15->SetCaption("W4 Allowance");
    u.Label21->SetCaption("BiWeekly");
    u.Label13->SetCaption("# of Exemp");
    GreyBracketHeadings(u);
    NumberExemptionRows(u);
    RetireLines(u, 0, 10);

    const bool biWeekly = BiWeeklySelected();
    // A married employee whose spouse also works gets the single deduction.
    const std::string status = StateStatusShown();
    const char* standard = nullptr;
    if (status == "Single" || (status == "Married" && u.ckSpouse->Value() != 0)) {
        standard = biWeekly ? "186.54" : "93.27";
    } else if (status == "Married") {
        standard = biWeekly ? "373.08" : "186.54";
    }
    if (standard != nullptr) {
        for (TextBox* box : u.txtStateSgExp)
            box->SetText(standard);
    }

    constexpr Column kAllowanceBiWeekly{"0",      "46.15", "92.3",   "138.45", "184.6",
                                        "230.75", "276.9", "323.05", "369.2",  "415.35"};
    constexpr Column kAllowanceWeekly{"0",     "23.08",  "46.16",  "69.24",  "92.32",
                                      "115.4", "138.48", "161.56", "184.64", "207.72"};
    const Column& allowance = biWeekly ? kAllowanceBiWeekly : kAllowanceWeekly;
    for (std::size_t row = 0; row < 10; ++row)
        u.txtStateMarExp[row]->SetText(allowance[row]);
}

void DialogState::KentuckySet() {
    DialogStateUi& u = ui();
    NumberExemptionRows(u);
    const bool biWeekly = BiWeeklySelected();
    for (Label* heading : {u.Label19, u.Label20, u.Label21})
        heading->SetEnabled(biWeekly);
    RetireLines(u, 5, 10);
    // One standard deduction in the Amount column of every line; line 2's bi-weekly minimum is
    // 153.84 as the state prints it.
    constexpr std::array<LineTexts, 5> kBiWeekly{{{"115.38", "73.46", "0.02"},
                                                  {"153.84", "73.46", "0.03"},
                                                  {"192.3", "73.46", "0.04"},
                                                  {"307.69", "73.46", "0.05"},
                                                  {"615.37", "73.46", "0.06"}}};
    constexpr std::array<LineTexts, 5> kWeekly{{{"57.69", "36.73", "0.02"},
                                                {"76.92", "36.73", "0.03"},
                                                {"96.15", "36.73", "0.04"},
                                                {"153.85", "36.73", "0.05"},
                                                {"307.69", "36.73", "0.06"}}};
    for (std::size_t line = 0; line < 5; ++line) {
        EnableLine(u, line, true);
        const LineTexts& texts = biWeekly ? kBiWeekly[line] : kWeekly[line];
        ShowLine(u, line, texts, texts);
    }
    constexpr Column kCreditBiWeekly{"0",    "0.77", "1.54", "2.31", "3.08",
                                     "3.85", "4.62", "5.39", "6.16", "6.93"};
    constexpr Column kCreditWeekly{"0",     "0.385", "0.77",  "1.155", "1.54",
                                   "1.925", "2.31",  "2.695", "3.08",  "3.465"};
    const Column& credit = biWeekly ? kCreditBiWeekly : kCreditWeekly;
    ShowExemptions(u, credit, credit);
}

void DialogState::OregonSet() {
    // Oregon starts again from what is stored: edits in the window are dropped and every flag set
    // in memory shows again.
    ShowSettings();
    ShowChoices();
    ShowUserInfoFields();
    DialogStateUi& u = ui();
    u.ckOkla->SetValue(0);
    NumberExemptionRows(u);
    RetireLines(u, 3, 10);
    for (std::size_t line = 0; line < 3; ++line)
        EnableLine(u, line, true);
    ShowLine(u, 0, kZeroLine, kZeroLine);
    const bool weekly = !BiWeeklySelected();
    for (Label* heading : {u.Label19, u.Label20, u.Label21})
        heading->SetCaption(weekly ? "WEEKLY" : "BIWEEKLY");
    if (weekly) {
        ShowLine(u, 1, {"6", "0", "0.07"}, {"52", "0", "0.07"});
        ShowLine(u, 2, {"154", "10", "0.09"}, {"309", "18", "0.09"});
        constexpr Column kAllowance{"0",     "2.75", "5.5",   "8.25", "11",
                                    "13.75", "16.5", "19.25", "22",   "24.75"};
        ShowExemptions(u, kAllowance, kAllowance);
    } else {
        ShowLine(u, 1, {"12", "0", "0.07"}, {"105", "0", "0.07"});
        ShowLine(u, 2, {"309", "21", "0.09"}, {"618", "36", "0.09"});
        constexpr Column kAllowance{"0",    "5.5", "11",   "16.5", "22",
                                    "27.5", "33",  "38.5", "44",   "49.5"};
        ShowExemptions(u, kAllowance, kAllowance);
    }
}

void DialogState::WisconsinSet() {
    DialogStateUi& u = ui();
    NumberExemptionRows(u);
    // Lines 8 to 10 stay usable, so a user may extend the table.
    for (std::size_t line = 7; line < 10; ++line)
        ShowLine(u, line, kUnusedLine, kUnusedLine);
    EnableAllLines(u);
    constexpr std::array<std::array<LineTexts, 2>, 7> kLines{{
        {{kZeroLine, kZeroLine}},
        {{{"153.85", "0", "0.046"}, {"211.54", "0", "0.046"}}},
        {{{"408.46", "11.73", "0.05154"}, {"518.08", "14.12", "0.0615"}}},
        {{{"454.81", "14.12", "0.06888"}, {"575", "17.62", "0.0738"}}},
        {{{"716.5", "32.15", "0.0728"}, {"771.81", "32.15", "0.078"}}},
        {{{"1690.5", "103.08", "0.065"}, {"1632.69", "99.31", "0.065"}}},
        {{{"4428.46", "281.04", "0.0675"}, {"4428.46", "281.04", "0.0675"}}},
    }};
    for (std::size_t line = 0; line < kLines.size(); ++line)
        ShowLine(u, line, kLines[line][0], kLines[line][1]);
    constexpr Column kAllowance{"0",    "0.85", "1.7",  "2.55", "3.4",
                                "4.25", "5.1",  "5.95", "6.8",  "7.65"};
    ShowExemptions(u, kAllowance, kAllowance);
}

void DialogState::NCSet() {
    DialogStateUi& u = ui();
    NumberExemptionRows(u);
    for (std::size_t line = 5; line < 10; ++line)
        ShowLine(u, line, kUnusedLine, kUnusedLine);
    EnableAllLines(u);
    constexpr std::array<std::array<LineTexts, 2>, 5> kLines{{
        {{kZeroLine, kZeroLine}},
        {{{"115.38", "6.92", "0.06"}, {"115.38", "6.92", "0.06"}}},
        {{{"605.77", "12.98", "0.07"}, {"524.04", "12.16", "0.07"}}},
        {{{"2423.08", "31.15", "0.0775"}, {"2038.46", "27.45", "0.0775"}}},
        {{{"4730.77", "54.8", "0.0825"}, {"3961.54", "47.26", "0.0825"}}},
    }};
    for (std::size_t line = 0; line < kLines.size(); ++line)
        ShowLine(u, line, kLines[line][0], kLines[line][1]);
    constexpr Column kAllowance{"0",      "96.15", "192.3",  "288.45", "384.6",
                                "480.75", "576.9", "673.05", "769.2",  "865.35"};
    ShowExemptions(u, kAllowance, kAllowance);
}

StateTaxSettings PreparedStateSettings(const StateTaxSettings& stored,
                                       const EmployeeProfile& profile) {
    // A program of its own, shown nowhere, so that the window's own rules decide and nothing of a
    // running program is touched.
    ScriptedHost host;
    Program program(host);
    program.stateSettings = stored;
    program.profile = profile;
    program.dialogState.LoadFromMemory();
    return program.stateSettings;
}

}  // namespace kestrel

// The State Tax window: the open employee's two bracket tables, the exemption table, SDI and SUI,
// the adjustment and California allowance, NO STATE TAX and the choice of a special state.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/form.h"

namespace kestrel {

class Program;
struct StateTaxSettings;

struct DialogStateUi {
    using Boxes = std::array<TextBox*, 10>;
    using Labels = std::array<Label*, 10>;

    // The SINGLE table.
    Label* Label1 = nullptr;   // title
    Label* Label19 = nullptr;  // "BIWEEKLY "
    Label* Label6 = nullptr;   // "Line"
    Label* Label2 = nullptr;
    Label* Label3 = nullptr;
    Label* Label4 = nullptr;
    Frame* fraLinesS = nullptr;
    Labels lbLineS{};
    Boxes txtStateMinBS{};
    Boxes txtStateAmtBS{};
    Boxes txtStatePerBS{};

    // The MARRIED table.
    Label* Label5 = nullptr;
    Label* Label20 = nullptr;
    Label* Label11 = nullptr;
    Label* Label8 = nullptr;
    Label* Label9 = nullptr;
    Label* Label10 = nullptr;
    Frame* fraLinesM = nullptr;
    Labels lbLineM{};
    Boxes txtStateMinBM{};
    Boxes txtStateAmtBM{};
    Boxes txtStatePerBM{};

    // The exemption table.
    Label* Label21 = nullptr;
    Label* lbAllowance = nullptr;  // "Withholding Allowance"
    Label* Label13 = nullptr;
    Label* Label14 = nullptr;
    Label* Label15 = nullptr;
    Labels Label27{};
    Boxes txtStateSgExp{};
    Boxes txtStateMarExp{};

    Label* lbWarning = nullptr;
    Label* lbUnusedLines = nullptr;
    Label* lbWeeklyNote = nullptr;
    Label* lbTablesLink = nullptr;

    Frame* fraSDI = nullptr;
    Label* lbSDIrate = nullptr;
    TextBox* txtSDIpercent = nullptr;
    Label* Label26 = nullptr;
    TextBox* txtSDIwageBase = nullptr;
    CheckBox* ckSDI = nullptr;

    Frame* fraSUI = nullptr;
    Label* lbSUIrate = nullptr;
    TextBox* txtSUIpercent = nullptr;
    Label* Label23 = nullptr;
    TextBox* txtSUIwageBase = nullptr;
    CheckBox* ckSUI = nullptr;

    Frame* fraAdjust = nullptr;
    Label* lbAdjust = nullptr;
    TextBox* txtStateAdj = nullptr;
    Label* lbCalAllow = nullptr;
    TextBox* txtCalAllow = nullptr;

    CheckBox* ckNoStateTax = nullptr;
    CheckBox* ckAriz = nullptr;
    CheckBox* ckLouis = nullptr;
    CheckBox* ckIowa = nullptr;
    CheckBox* ckMass = nullptr;
    CheckBox* ckOregon = nullptr;
    CheckBox* ckKentucky = nullptr;
    CheckBox* ckMissouri = nullptr;
    CheckBox* ckOkla = nullptr;
    CheckBox* ckWiscon = nullptr;
    CheckBox* ckAlabama = nullptr;
    CheckBox* ckNC = nullptr;
    CheckBox* ckSpouse = nullptr;
    CheckBox* ckRoundOff = nullptr;

    CommandButton* cmdNewYork = nullptr;
    CommandButton* cmdClearAll = nullptr;
    CommandButton* cmdMakeDefault = nullptr;
    CommandButton* cmdGetDefault = nullptr;
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdCancel = nullptr;

    // The eleven special-state boxes, in the order they stand on the window.
    std::array<CheckBox*, 11> SpecialStates() const {
        return {ckAriz,     ckLouis, ckIowa,   ckMass,    ckOregon, ckKentucky,
                ckMissouri, ckOkla,  ckWiscon, ckAlabama, ckNC};
    }
};

class DialogState : public FormOf<DialogStateUi> {
  public:
    static constexpr std::string_view kNonNumeric = "You have entered a NON numerial.";

    explicit DialogState(Program& program);

    // Options, State Tax: prepared if it is not, shown, then the preset of every special state
    // ticked runs again, so figures that follow the pay frequency or the filing status are
    // current.
    void OpenWindow();
    // Prepares the window from the settings and profile in memory as if they had just been read
    // from the employee's files, reading and writing no file.
    void LoadFromMemory();

    // Reads the employee's ".sta" file into memory and shows it; the special-state boxes, Spouse
    // Works, Round State and the User Info window's state fields follow memory, unless the file
    // was damaged: a partial read is shown nowhere.
    void LoadStateFile();
    // The same from the default file ".sta".
    void LoadDefaultStateFile();
    // Writes the employee's ".sta" file from memory; false, after telling the user, when the
    // write failed.
    bool SaveStateFile();

    // Every box whose text is exactly empty gets its New York value (the six single boxes "0").
    void CheckFor();
    // CheckFor, then every box and check box into memory. False at the first box that is not a
    // number; the fields stored before it keep their new values.
    bool fillVari();

    // What a calculation takes from the window: blank insurance and adjustment boxes count as 0,
    // and the adjustment and California allowance go into `settings` afresh.
    void TakeAdjustments(StateTaxSettings& settings);

    // The presets of the eleven states with a formula of their own: each rewrites the boxes and
    // headings so that the tables hold what that formula reads. Nothing reaches memory before
    // fillVari.
    void ArizonaSet();
    void LouisianaSet();
    void MassSet();
    void OklaSet();
    void AlabamaSet();
    void IowaSet();
    void MissouriSet();
    void KentuckySet();
    void OregonSet();
    void WisconsinSet();
    void NCSet();
    // The preset of every special-state box that is ticked, in the order Louisiana, Arizona,
    // Iowa, Missouri, Mass, Oregon, Oklahoma, Alabama, Kentucky, Wisconsin, N.C.
    void RunPresets();

    void cmdNewYork_Click();
    void cmdClearAll_Click();
    void cmdMakeDefault_Click();
    void cmdGetDefault_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void ckNoStateTax_Click();
    void ckSDI_Click();
    void ckSUI_Click();
    void ckSpouse_Click();
    // A mouse press on a special-state box, before the click toggles it.
    void SpecialState_MouseDown(CheckBox& pressed);

  protected:
    void BuildUi(DialogStateUi& ui) override;
    void OnLoad() override;

  private:
    void BuildTables(DialogStateUi& ui);
    void BuildInsurance(DialogStateUi& ui);
    void BuildChoices(DialogStateUi& ui);
    void LoadFrom(const std::filesystem::path& file);
    void ShowSettings();
    void ShowChoices();
    void ShowUserInfoFields();
    void ShowSingleBoxes();
    void ShowBaseCaptions();
    // What the User Info window shows: the presets read the pay frequency and state status there.
    bool BiWeeklySelected();
    std::string StateStatusShown();

    Program& program_;
    bool fromMemory_ = false;
};

}  // namespace kestrel

// The NON City Resident window: the non-resident city tax table, entered separately for
// bi-weekly and for weekly pay, and its one rate.
#pragma once

#include <array>

#include "platform/form.h"
#include "settings/non_resident_tax_settings.h"

namespace kestrel {

class Program;

struct DialogNonCityUi {
    // Index 0 is the BIWEEKLY table, 1 the WEEKLY one.
    std::array<Label*, 2> lbTableTitle{};
    std::array<Label*, 2> lbFrequency{};
    std::array<Label*, 2> lbLine{};
    std::array<Label*, 2> lbMinRange{};
    std::array<Label*, 2> lbSubtract{};
    std::array<Label*, 8> lbLineBi{};
    std::array<Label*, 8> lbLineWk{};
    std::array<TextBox*, 8> txtNonMinBi{};
    std::array<TextBox*, 8> txtNonExpBi{};
    std::array<TextBox*, 8> txtNonMinWk{};
    std::array<TextBox*, 8> txtNonExpWk{};
    Label* lbPercent = nullptr;
    TextBox* txtNonPer = nullptr;
    Label* lbWarning = nullptr;
    Label* lbUnused = nullptr;
    CommandButton* cmdDefault = nullptr;
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdCancel = nullptr;
};

class DialogNonCity : public FormOf<DialogNonCityUi> {
  public:
    explicit DialogNonCity(Program& program);

    // Reads ActiveUser's ".nci" file into memory and shows it; a missing file reads nothing and a
    // corrupted one is reported and leaves the boxes as they are.
    void LoadNonResidentFile();
    // Every box that is exactly empty gets its default value.
    void ChkFor();
    // Stores the 33 boxes in memory. When a box does not hold a number the user is told which
    // one, nothing at all is stored and the answer is false.
    bool fillVarib();
    // Puts every default value in its box; nothing is stored.
    void deFault();
    // Writes memory to ActiveUser's ".nci" file; false once the failure has been reported.
    bool SaveNonResidentFile();

    // The buttons.
    void cmdSave_Click();
    void cmdCancel_Click();

  protected:
    void BuildUi(DialogNonCityUi& ui) override;
    void OnLoad() override;

  private:
    void ShowTable(NonResidentTaxSettings settings);

    Program& program_;
};

}  // namespace kestrel

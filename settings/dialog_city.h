// The City Tax window: the employee's city (local) withholding tables, the exemption table and
// the NO LOCAL TAX flag, with the New York City values on offer.
#pragma once

#include <array>

#include "platform/form.h"
#include "settings/city_tax_settings.h"

namespace kestrel {

class Program;

struct DialogCityUi {
    Label* lbSingleTitle = nullptr;
    Label* lbMarriedTitle = nullptr;
    // The three "BIWEEKLY " headings: SINGLE table, MARRIED table, exemptions.
    std::array<Label*, 3> lbBiWeekly{};
    // Column headings of the SINGLE (0) and MARRIED (1) tables.
    std::array<Label*, 2> lbMinRange{};
    std::array<Label*, 2> lbAmount{};
    std::array<Label*, 2> lbPercent{};
    std::array<Label*, 10> lbLineS{};
    std::array<Label*, 10> lbLineM{};
    std::array<TextBox*, 10> txtCityMinBS{};
    std::array<TextBox*, 10> txtCityAmtBS{};
    std::array<TextBox*, 10> txtCityPerBS{};
    std::array<TextBox*, 10> txtCityMinBM{};
    std::array<TextBox*, 10> txtCityAmtBM{};
    std::array<TextBox*, 10> txtCityPerBM{};

    Label* lbAllowance = nullptr;
    Label* lbExemp = nullptr;
    Label* lbSingle = nullptr;
    Label* lbMarried = nullptr;
    std::array<Label*, 10> lbExempNo{};
    std::array<TextBox*, 10> txtCitySgExp{};
    std::array<TextBox*, 10> txtCityMarExp{};

    Label* lbWarning = nullptr;
    Label* lbUnused = nullptr;
    Label* lbWeeklyNote = nullptr;
    CheckBox* ckNoLocalTax = nullptr;
    CommandButton* cmdNewYork = nullptr;
    CommandButton* cmdClearAll = nullptr;
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdCancel = nullptr;
};

class DialogCity : public FormOf<DialogCityUi> {
  public:
    explicit DialogCity(Program& program);

    // Reads ActiveUser's ".cti" file into memory and shows it; a missing file reads nothing and a
    // corrupted one is reported and leaves the boxes as they are.
    void LoadCityFile();
    // Every box that is exactly empty gets its New York City value.
    void CheckFor();
    // Stores the check box and the 80 boxes in memory. When a box does not hold a number the user
    // is told which one, nothing at all is stored and the answer is false.
    bool fillVar();
    // Writes memory to ActiveUser's ".cti" file; false once the failure has been reported.
    bool SaveCityFile();

    // The buttons.
    void cmdNewYork_Click();
    void cmdClearAll_Click();
    void cmdSave_Click();
    void cmdCancel_Click();

  protected:
    void BuildUi(DialogCityUi& ui) override;
    void OnLoad() override;

  private:
    void ShowTables(CityTaxSettings settings);
    void ckNoLocalTax_Click();

    Program& program_;
};

}  // namespace kestrel

// The leave window "Vacation / Holiday / Sick": start balances, up to 20 entries of days taken per
// account, and the balances that follow from them.
#pragma once

#include <array>

#include "employee/leave_balances.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct DialogVacUi {
    using Entries = std::array<TextBox*, kLeaveEntries>;

    Label* lbHeading = nullptr;
    // Vacation, Holiday/Personel and Sick, left to right; each group's captions are indexed the
    // same way.
    Frame* fraVac = nullptr;
    Frame* fraHol = nullptr;
    Frame* fraSick = nullptr;
    std::array<Label*, 3> lbStart{};
    std::array<Label*, 3> lbBalance{};
    std::array<Label*, 3> lbTaken{};
    std::array<Label*, 3> lbDates{};

    TextBox* txtVacBal = nullptr;
    TextBox* txtHolBal = nullptr;
    TextBox* txtSickBal = nullptr;
    Label* lbVacBal = nullptr;
    Label* lbHolBal = nullptr;
    Label* lbSickBal = nullptr;
    Entries txtVcnt{};
    Entries txtHcnt{};
    Entries txtScnt{};
    Entries txtVdate{};
    Entries txtHdate{};
    Entries txtSdate{};

    CommandButton* cmdSave = nullptr;
    CommandButton* cmdClearAll = nullptr;
    MenuItem* mnuHelp = nullptr;
};

class DialogVac : public FormOf<DialogVacUi> {
  public:
    explicit DialogVac(Program& program);

    // From the menu and the main window's button: GetVac, empty start boxes "0", balances. A
    // window already on screen is only brought forward, so entries not yet saved stay.
    void OpenWindow();
    // Reads ActiveUser's ".hol" when it exists, then fills the window from the record. A damaged
    // file is reported and leaves the record as it was.
    void GetVac();
    // Window -> record, then writes ".hol"; false when the file could not be written (the user
    // has been told).
    bool SaveVac();
    // New employee: every box and the record back to nothing taken.
    void clearVac();

    void cmdSave_Click();
    void cmdClearAll_Click();

  protected:
    void BuildUi(DialogVacUi& ui) override;
    void OnLoad() override;

  private:
    void ShowRecord();
    void ShowBalance(std::size_t account);
    void ShowBalances();

    Program& program_;
};

}  // namespace kestrel

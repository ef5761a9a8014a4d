// The leave window "Vacation / Holiday / Sick": start balances, up to 20 entries of days taken per
// account, and the balances that follow from them.
#pragma once

#include <array>

#include "employee/leave_balances.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct DialogVacUi {
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdClearAll = nullptr;
};

class DialogVac : public FormOf<DialogVacUi> {
  public:
    explicit DialogVac(Program& program);

    // From the menu and the main window's button: GetVac, empty start boxes "0", balances.
    void OpenWindow();
    // Reads ActiveUser's ".hol" when it exists, then fills the window from the record.
    void GetVac();
    // Window -> record, then writes ".hol"; false when the file could not be written.
    bool SaveVac();
    // New employee: every box and the record back to nothing taken.
    void clearVac();

  protected:
    void BuildUi(DialogVacUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

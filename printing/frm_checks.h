// The check preview "Check Printing": the paycheck of the current period laid out on screen, with
// the amount in figures and in words, before the offsets are chosen and the check is printed.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct frmChecksUi {
    TextBox* txtCheckCompany = nullptr;
    TextBox* txtCheckDate = nullptr;
    TextBox* txtPayTo = nullptr;
    TextBox* txtCheckAmt = nullptr;
    TextBox* txtDollars = nullptr;
    TextBox* txtUserName = nullptr;
    TextBox* txtUserSSnum = nullptr;
    TextBox* txtUserAddress = nullptr;
    TextBox* txtUserState = nullptr;
    TextBox* txtMemo = nullptr;
};

class frmChecks : public FormOf<frmChecksUi> {
  public:
    explicit frmChecks(Program& program);

  protected:
    void BuildUi(frmChecksUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

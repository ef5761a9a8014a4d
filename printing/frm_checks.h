// The check preview "Check Printing": the paycheck of the current period laid out on screen, with
// the amount in figures and in words, before the offsets are chosen and the check is printed.
#pragma once

#include <string>

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

    Label* lbDate = nullptr;
    Label* lbPayTo = nullptr;
    Label* lbDollarSign = nullptr;
    Label* lbDollars = nullptr;
    Label* lbMemo = nullptr;
    MenuItem* mnuPrint = nullptr;
};

// The check's amount figure: the net pay six dollar digits wide, its leading zeros turned into
// asterisks ("**1234.50"); under one dollar the plain "000000.50".
std::string CheckAmountFigure(float netPay);

class frmChecks : public FormOf<frmChecksUi> {
  public:
    explicit frmChecks(Program& program);

    // A click on the window outside its fields, and the window getting the focus: the filled
    // fields again from the current result and profile. The date keeps what the user typed.
    void Form_Click();
    void Form_GotFocus();
    // The menu "Print": the offset dialog.
    void mnuPrint_Click();

    // The amount in words of the latest filling, which the printed check carries.
    const std::string& AmountWords() const { return amountWords_; }

  protected:
    void BuildUi(frmChecksUi& ui) override;
    void OnLoad() override;

  private:
    void FillCheck(bool withDate);

    Program& program_;
    std::string amountWords_;
};

}  // namespace kestrel

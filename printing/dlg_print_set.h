// The offset dialog "Printer Offset": how far the printed check is shifted to land on the check
// stock, stored with the employee, and the button that prints the check.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct dlgPrintSetUi {
    ComboBox* cboHorizontal = nullptr;
    ComboBox* cboVertical = nullptr;
};

class dlgPrintSet : public FormOf<dlgPrintSetUi> {
  public:
    explicit dlgPrintSet(Program& program);

  protected:
    void BuildUi(dlgPrintSetUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

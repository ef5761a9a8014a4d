// The week-ending date picker of the main window.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct frmDateMainUi {
    DatePicker* DTPicker1 = nullptr;
    CommandButton* cmdOk = nullptr;
};

class frmDateMain : public FormOf<frmDateMainUi> {
  public:
    explicit frmDateMain(Program& program);

  protected:
    void BuildUi(frmDateMainUi& ui) override;
    void OnLoad() override;

  private:
    // The picked date goes into the week-ending box as the short date, cut to eight characters.
    void WriteDate();

    Program& program_;
};

}  // namespace kestrel

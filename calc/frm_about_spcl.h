// The About box.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct frmAboutSpclUi {
    Label* lblTitle = nullptr;
    Label* lblVersion = nullptr;
    Label* lblMaker = nullptr;
    Label* lblComments = nullptr;
    CommandButton* cmdOK = nullptr;
};

class frmAboutSpcl : public FormOf<frmAboutSpclUi> {
  public:
    explicit frmAboutSpcl(Program& program);

  protected:
    void BuildUi(frmAboutSpclUi& ui) override;
};

}  // namespace kestrel

// The overtime window's date picker: the picked date goes into the week-ending box of the row
// that was clicked.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct frmDateUi {
    DatePicker* DTPicker1 = nullptr;
    CommandButton* cmdOK = nullptr;
};

class frmDate : public FormOf<frmDateUi> {
  public:
    explicit frmDate(Program& program);

  protected:
    void BuildUi(frmDateUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

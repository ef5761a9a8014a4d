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

    // Opens the picker modally for the week-ending box of `row` (0 for the first row).
    void OpenForRow(int row);
    int Row() const { return row_; }

  protected:
    void BuildUi(frmDateUi& ui) override;
    void OnLoad() override;

  private:
    TextBox& RowBox();
    // The picked date goes into the row's box as the short date, cut to eight characters.
    void WriteDate();

    Program& program_;
    int row_ = 0;
};

}  // namespace kestrel

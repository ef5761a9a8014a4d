// The year-to-date container: the window that holds the grid and the totals strip and owns the
// view's menu bar. It closes only through the view's own Close or the employee operations.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct MDIForm1Ui {
    MenuItem* mnuClose = nullptr;
    MenuItem* mnuPrint = nullptr;
    MenuItem* mnuClear = nullptr;
    MenuItem* mnuClearAll = nullptr;
    MenuItem* mnuAdd = nullptr;
    MenuItem* mnuExcel = nullptr;
};

class MDIForm1 : public FormOf<MDIForm1Ui> {
  public:
    static constexpr int kWidthBeyondGrid = 425;

    explicit MDIForm1(Program& program);

    // Given by every operation that closes the view; cleared when it has closed.
    void PermitClose() { closePermitted_ = true; }

  protected:
    void BuildUi(MDIForm1Ui& ui) override;

  private:
    void FollowGridWidth();

    Program& program_;
    bool closePermitted_ = false;
};

}  // namespace kestrel

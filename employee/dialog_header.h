// The company header window "Print Out Heading": the four lines printed at the top of the pay
// stub and the year-to-date report, kept in "Header.sav".
#pragma once

#include <array>

#include "platform/form.h"

namespace kestrel {

class Program;

struct DialogHeaderUi {
    std::array<TextBox*, 4> txtHeader{};
    CommandButton* cmdOK = nullptr;
    CommandButton* cmdCancel = nullptr;
};

class DialogHeader : public FormOf<DialogHeaderUi> {
  public:
    explicit DialogHeader(Program& program);

    // From the menu: reads "Header.sav", gives empty fields their placeholders, shows the window.
    void OpenWindow();

  protected:
    void BuildUi(DialogHeaderUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

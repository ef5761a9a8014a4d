// The company header window "Print Out Heading": the four lines printed at the top of the pay
// stub and the year-to-date report, kept in "Header.sav".
#pragma once

#include <array>

#include "platform/form.h"

namespace kestrel {

class Program;

struct DialogHeaderUi {
    // Captions of the four boxes, in the same order.
    std::array<Label*, 4> lbHeader{};
    std::array<TextBox*, 4> txtHeader{};
    CommandButton* cmdOK = nullptr;
    CommandButton* cmdCancel = nullptr;
};

class DialogHeader : public FormOf<DialogHeaderUi> {
  public:
    explicit DialogHeader(Program& program);

    // From the menu: reads "Header.sav", gives empty fields their placeholders, shows the window.
    // A window already on screen is only brought forward, keeping what was typed into it.
    void OpenWindow();

    // Boxes -> record, "Header.sav" written, window closed. A file that could not be written is
    // reported, the record keeps what it held and the window stays open.
    void cmdOK_Click();
    // Closes; the record keeps what it received when the window opened.
    void cmdCancel_Click();

  protected:
    void BuildUi(DialogHeaderUi& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

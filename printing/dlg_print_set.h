// The offset dialog "Printer Offset": how far the printed check is shifted to land on the check
// stock, stored with the employee, and the buttons that print the check or an alignment page.
#pragma once

#include <optional>

#include "platform/form.h"
#include "printing/print_offsets.h"

namespace kestrel {

class Program;

struct dlgPrintSetUi {
    Label* lbHeading = nullptr;
    Label* lbHorizontal = nullptr;
    ComboBox* cboHorizontal = nullptr;
    Label* lbVertical = nullptr;
    ComboBox* cboVertical = nullptr;
    Label* lbWeekEnd = nullptr;
    Label* lbInstructions = nullptr;
    CommandButton* cmdApply = nullptr;
    CommandButton* cmdCancel = nullptr;
    CommandButton* cmdPrintCheck = nullptr;
    CommandButton* cmdAlignment = nullptr;
};

class dlgPrintSet : public FormOf<dlgPrintSetUi> {
  public:
    // The offsets a box accepts; beyond them a check would be pushed off any page.
    static constexpr float kLargestOffset = 99;

    explicit dlgPrintSet(Program& program);

    // "&Apply": both boxes into the offsets and the profile files. False, with the user told
    // which box, when a box does not hold a number in range; nothing is stored then.
    bool cmdApply_Click();
    // "&Cancel": closes; nothing is stored.
    void cmdCancel_Click();
    // "Print Check": Apply, the check, then the dialog closes. A refused box stops it all.
    void cmdPrintCheck_Click();
    // "Print &Alignment Page": the check's fields named on plain paper at the boxes' offsets,
    // which are not stored.
    void cmdAlignment_Click();

  protected:
    void BuildUi(dlgPrintSetUi& ui) override;
    void OnLoad() override;

  private:
    // The two boxes as offsets, or nothing after telling the user which box is wrong.
    std::optional<PrintOffsets> ReadBoxes();

    Program& program_;
};

}  // namespace kestrel

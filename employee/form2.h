// The overtime window "OverTime Percentage": one row per pay period of the year with its
// week-ending date and overtime, totalled against an approved percentage of the annual salary.
#pragma once

#include <string>

#include "employee/profile_files.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct Form2Ui {
    TextBox* txtAnnual = nullptr;
    TextBox* txtApPercent = nullptr;
};

class Form2 : public FormOf<Form2Ui> {
  public:
    explicit Form2(Program& program);

    // From the menu and the main window's button, with the main window's overtime pay and
    // week-ending texts.
    void OpenWindow(const std::string& overtimePay, const std::string& weekEnding);
    // Window <- record.
    void FillInOT();
    // New employee.
    void ClearAll();
    // Empty amount boxes of the rows in use become "0"; then the rows in use are copied into the
    // record (what a save stores).
    void StoreRows();
    // The four texts the ".use" file takes its overtime figures from.
    OvertimeBoxTexts BoxTexts();

  protected:
    void BuildUi(Form2Ui& ui) override;

  private:
    Program& program_;
};

}  // namespace kestrel

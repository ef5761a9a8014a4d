// The overtime window "OverTime Percentage": one row per pay period of the year with its
// week-ending date and overtime, totalled against an approved percentage of the annual salary.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "employee/overtime_allowance.h"
#include "employee/profile_files.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct Form2Ui {
    Label* lbAnnual = nullptr;
    Label* lbDollar = nullptr;
    TextBox* txtAnnual = nullptr;
    Label* lbApPercent = nullptr;
    TextBox* txtApPercent = nullptr;
    Label* lbPercentSign = nullptr;

    // Column headings: index 0 over rows 1-26, index 1 over rows 27-52.
    std::array<Label*, 2> lbWeekNo{};
    std::array<Label*, 2> lbWeekEnding{};
    std::array<Label*, 2> lbOtOnly{};
    std::array<Label*, kOvertimeRows> lbRow{};
    std::array<TextBox*, kOvertimeRows> Text1{};
    std::array<TextBox*, kOvertimeRows> txtOT{};

    Frame* fraResults = nullptr;
    Label* lbEarnedCaption = nullptr;
    Label* lbEarned = nullptr;
    Label* lbPresentCaption = nullptr;
    Label* lbPresent = nullptr;
    Label* lbMaxCaption = nullptr;
    Label* lbMax = nullptr;
    Label* lbAvailableCaption = nullptr;
    Label* lbAvailable = nullptr;

    Label* lbOnCaption = nullptr;
    Label* lbOn = nullptr;
    Label* lbOtPayCaption = nullptr;
    Label* lbOtPay = nullptr;

    CommandButton* cmdADD = nullptr;
    CommandButton* cmdAdvance = nullptr;
    CommandButton* cmdUndo = nullptr;
    CommandButton* cmdPrint = nullptr;
    CommandButton* cmdClose = nullptr;
};

class Form2 : public FormOf<Form2Ui> {
  public:
    static constexpr int kWeeklyWidth = 7725;
    static constexpr int kBiWeeklyWidth = 5055;

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

    // TOTAL. Only the button tells the user why nothing was totalled; a redraw stays silent, so
    // closing the message cannot bring it back. False when nothing was totalled.
    bool Total(bool fromButton);

    // The buttons.
    void cmdADD_Click();
    void cmdAdvance_Click();
    void cmdUndo_Click();
    void cmdClose_Click();

    // Rows shown, totalled, stored and shifted: 52 weekly, 26 bi-weekly.
    int RowsInUse() const;

  protected:
    void BuildUi(Form2Ui& ui) override;
    void OnLoad() override;

  private:
    void BuildRows(Form2Ui& ui);
    void BuildResults(Form2Ui& ui);
    void BuildButtons(Form2Ui& ui);
    // The right column and the window's width follow the pay frequency.
    void ShowFrequency();
    void CopyRowsToRecord();
    void ShowFigure(Label& label, double value, std::string_view pattern);
    void MoveFocus(int row, Key key, bool amountColumn);
    // TOTAL steps 7 and 8 from the two boxes' leading numbers.
    void ComputeLimit();

    Program& program_;
};

}  // namespace kestrel

// The main window: the week-ending date, the eight entries of a pay period, the calculation and
// its results, and the menus that lead to every other window.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/pay_calculation.h"
#include "calc/payroll_records.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct Form1Ui {
    Label* lbWeekEnding = nullptr;
    TextBox* txtWeekEnd = nullptr;
    std::array<Label*, 8> lbEntry{};
    std::array<TextBox*, 8> txtEntry{};
    OptionButton* opt1X = nullptr;
    OptionButton* opt2X = nullptr;
    Label* lbClearAdd = nullptr;
    CommandButton* cmdClear = nullptr;
    CommandButton* cmdCal = nullptr;

    Frame* fraResults = nullptr;
    Label* lbGrossCaption = nullptr;
    Label* lbTaxesCaption = nullptr;
    Label* lbDeductCaption = nullptr;
    Label* lbNetCaption = nullptr;
    Label* lbGross = nullptr;
    Label* lbTaxes = nullptr;
    Label* lbDeduct = nullptr;
    Label* lbNet = nullptr;
    Label* lbOverTimeCaption = nullptr;
    Label* lbOverTime = nullptr;
    Label* lbTipsCaption = nullptr;
    Label* lbTips = nullptr;

    Frame* fraTaxes = nullptr;
    std::array<Label*, 11> lbTaxCaption{};
    std::array<Label*, 11> lbTax{};
    Label* lbSdiCaption = nullptr;
    Label* lbSdi = nullptr;
    Label* lbSuiCaption = nullptr;
    Label* lbSui = nullptr;
    Label* lbCafeCaption = nullptr;
    Label* lbCafe = nullptr;

    Label* lbTableCaption = nullptr;
    Label* lbTaxVer = nullptr;
    Label* lbFrequency = nullptr;
    Label* lbUser = nullptr;
    Label* lbStatus = nullptr;

    Label* lbButtonRow = nullptr;
    CommandButton* cmdYear = nullptr;
    CommandButton* cmdOT = nullptr;
    CommandButton* cmdVac = nullptr;
    CommandButton* cmdPrint = nullptr;
    CommandButton* cmdSavePrev = nullptr;
    CommandButton* cmdPeriod = nullptr;

    MenuItem* mnuFile = nullptr;
    MenuItem* mnuNew = nullptr;
    MenuItem* mnuOpen = nullptr;
    MenuItem* mnuSave = nullptr;
    MenuItem* mnuChecks = nullptr;
    MenuItem* mnuPrintSheetItem = nullptr;
    MenuItem* mnuPrintItem = nullptr;
    MenuItem* mnuClearIitem = nullptr;
    MenuItem* mnuExitItem = nullptr;
    MenuItem* mnuForms = nullptr;
    MenuItem* mnuVac = nullptr;
    MenuItem* mnuOtItem = nullptr;
    MenuItem* mnuYear = nullptr;
    MenuItem* mnuPayRun = nullptr;
    MenuItem* mnuReports = nullptr;
    MenuItem* mnuExplain = nullptr;
    MenuItem* mnuNetToGross = nullptr;
    MenuItem* mnuOptions = nullptr;
    MenuItem* mnuHeader = nullptr;
    MenuItem* mnuTaxInfoItem = nullptr;
    MenuItem* mnuState = nullptr;
    MenuItem* mnuCity = nullptr;
    MenuItem* mnuNonCity = nullptr;
    MenuItem* mnuHelp = nullptr;
    MenuItem* mnuHelpItem = nullptr;
    MenuItem* mnuAboutItem = nullptr;
};

class Form1 : public FormOf<Form1Ui> {
  public:
    static constexpr std::array<const char*, 8> kEntryCaptions{
        "STRAIGHT TIME HOURS 1",    "STRAIGHT TIME HOURS 2", "O.T.",
        "O.T. TIME AND 1/2 (1.5X)", "HOLIDAY IN HOURS",      "VACATION - SICK, IN HOURS",
        "PAY IN DOLLAR AMOUNT",     "TIPS (Hours)"};
    static constexpr std::string_view kCleared = "00/00/05";

    explicit Form1(Program& program);

    // Calculate: the whole pay period from the entries, shown on the window. False, with a
    // message and nothing changed, when an entry does not hold a number.
    bool CalculatePay();
    // Clear: entries, results and the week-ending date.
    void ClearEntries();
    // Every entry whose value is 0 becomes empty.
    void BlankZeroEntries();
    // File, Exit: an open year-to-date view's save question first, whose Cancel keeps the
    // program running, then the employee's.
    void mnuExitItem_Click();
    // Result lines 5 to 9 take the profile's five deduction captions.
    void ShowProfileCaptions();
    // "Weekly Tax Tables" or "Bi-Weekly Tax Tables".
    void ShowTableNotice(bool weeklyPay);
    // The status line at the foot of the window: what an operation without a message box did.
    void ShowStatus(std::string text);

    // The entry that does not hold a number, if any.
    std::optional<int> FirstBadEntry();
    // The period as the eight entries state it (each as the calculation reads it).
    PayPeriodEntry EntriesAsRead();
    // Tells why entry `index` stops the calculation and puts the focus on it.
    void RefuseEntry(int index, std::string_view why);
    // Forms, Net to Gross: asks for the net pay wanted, puts the smallest dollar amount that
    // reaches it into PAY IN DOLLAR AMOUNT and calculates.
    void NetToGrossClick();

  protected:
    void BuildUi(Form1Ui& ui) override;
    void OnLoad() override;

  private:
    // What the calculation reads, from the open employee and the register, with `state` as the
    // state settings and the State Tax window's adjustment.
    PayInputs PeriodInputs(const StateTaxSettings& state, float windowAdjustment);
    void BuildMenus(Form1Ui& ui);
    void MoveFocus(int entry, Key key);
    void BlankFigures();
    // The close question of Exit and of the close box: on Yes the save window, modally.
    void AskToSave();

    Program& program_;
};

}  // namespace kestrel

// The Pay Run window: one row per employee of the working folder with the main window's eight
// entries and its 1X/2X choice, filled by hand or from the saved pay periods of a week; every
// employee calculated, posted into its register, or printed at once, each through the
// one-employee path of the pay run.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "payrun/pay_run.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct frmPayRunUi {
    struct Row {
        Label* lbName = nullptr;
        Label* lbFrequency = nullptr;
        std::array<TextBox*, 8> txtEntry{};
        CheckBox* ck2X = nullptr;
        // The register row to post into; empty for the row of the week, else the first free one.
        TextBox* txtRow = nullptr;
        Label* lbGross = nullptr;
        Label* lbTaxes = nullptr;
        Label* lbDeduct = nullptr;
        Label* lbNet = nullptr;
        Label* lbStatus = nullptr;
    };

    Label* lbWeekEnding = nullptr;
    TextBox* txtWeekEnd = nullptr;
    CommandButton* cmdFill = nullptr;
    std::vector<Label*> lbHeading;
    std::vector<Row> rows;
    Label* lbTotalsCaption = nullptr;
    Label* lbTotGross = nullptr;
    Label* lbTotTaxes = nullptr;
    Label* lbTotDeduct = nullptr;
    Label* lbTotNet = nullptr;
    Label* lbSummary = nullptr;
    CommandButton* cmdCalculate = nullptr;
    CommandButton* cmdPost = nullptr;
    CommandButton* cmdStubs = nullptr;
    CommandButton* cmdChecks = nullptr;
    CommandButton* cmdClose = nullptr;
};

class frmPayRun : public FormOf<frmPayRunUi> {
  public:
    explicit frmPayRun(Program& program);

    // Forms, Pay Run: the employees of the working folder as it is now.
    void OpenWindow();

    // "Fill from Saved Periods": each row's entries from the employee's ".prv" of the week.
    void cmdFill_Click();
    // "Calculate All": every row's figures and the totals; a refused employee shows why.
    void cmdCalculate_Click();
    // "Post All": every employee's period into its register, asking once before any row that
    // holds a period is posted over.
    void cmdPost_Click();
    // "Print Stubs" and "Print Checks": one job of every employee's page, through one printer
    // decision.
    void cmdStubs_Click();
    void cmdChecks_Click();

    const std::vector<std::string>& Employees() const { return employees_; }
    // The outcome of the last Calculate All, Post All or print, one per row.
    const std::vector<RunRow>& Results() const { return results_; }

  protected:
    void BuildUi(frmPayRunUi& ui) override;

  private:
    RunPeriod PeriodOf(std::size_t row);
    RunSettings Settings();
    // Runs every row not skipped; `skip` holds a reason for the rows left alone.
    void RunAll(const RunActions& actions, const std::vector<std::string>& skip = {});
    void ShowRow(std::size_t row);
    void ShowTotals();
    void Print(bool checks);
    // False, after saying so, when File, Open has since moved to another working folder: the rows
    // are another folder's employees, and an employee of the same name there is somebody else.
    bool StillInFolder();

    Program& program_;
    std::filesystem::path folder_;
    std::vector<std::string> employees_;
    std::vector<RunRow> results_;
};

}  // namespace kestrel

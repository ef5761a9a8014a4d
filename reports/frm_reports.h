// The Reports window: the employer's table for a quarter or the year over every register of the
// working folder, printed, exported, or as a year summary page per employee.
#pragma once

#include <optional>

#include "platform/form.h"
#include "reports/employer_report.h"

namespace kestrel {

class Program;

struct frmReportsUi {
    Label* lbPeriod = nullptr;
    ComboBox* cboPeriod = nullptr;  // "Quarter 1" .. "Quarter 4", "Whole year"
    Label* lbYear = nullptr;
    TextBox* txtYear = nullptr;
    CommandButton* cmdShow = nullptr;
    Label* lbStatus = nullptr;
    TextBox* txtTable = nullptr;
    CommandButton* cmdPrint = nullptr;
    CommandButton* cmdExport = nullptr;
    CommandButton* cmdSummaries = nullptr;
    CommandButton* cmdClose = nullptr;
};

class frmReports : public FormOf<frmReportsUi> {
  public:
    explicit frmReports(Program& program);

    // Forms, Reports: reads the registers and shows the table; a window opened for the first
    // time starts at the quarter of the latest dated row.
    void OpenWindow();

    // Reads the registers again and shows the table of the period the boxes name. False, with a
    // message, when the year box does not hold a year. Registers that cannot be read are told in
    // a message when `tellNotRead`, and are listed under the table in any case.
    bool ShowTable(bool tellNotRead = true);
    void cmdPrint_Click();
    void cmdExport_Click();
    void cmdSummaries_Click();

    // The table last shown.
    const ReportTable& Table() const { return table_; }
    // The period the boxes name; nullopt when the year box does not hold a year.
    std::optional<ReportPeriod> ChosenPeriod();

  protected:
    void BuildUi(frmReportsUi& ui) override;

  private:
    Program& program_;
    RegisterFolder folder_;
    ReportTable table_;
};

}  // namespace kestrel

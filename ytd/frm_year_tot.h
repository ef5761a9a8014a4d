// The totals strip under the year-to-date grid: the column totals, then the cafeteria plan, SDI,
// SUI and tips totals. Every box takes typing, but the next recomputation writes over it.
#pragma once

#include <array>

#include "platform/form.h"
#include "ytd/ytd_register.h"

namespace kestrel {

class Program;

// The totals the strip shows on its first line, left to right.
inline constexpr std::array<YtdColumn, 14> kStripColumns = {
    YtdColumn::Federal, YtdColumn::SocialSecurity, YtdColumn::Medicare, YtdColumn::State,
    YtdColumn::City,    YtdColumn::CreditUnion,    YtdColumn::Bond,     YtdColumn::Dues,
    YtdColumn::Pension, YtdColumn::Misc,           YtdColumn::KPlan,    YtdColumn::Overtime,
    YtdColumn::Net,     YtdColumn::Gross};

struct frmYearTotUi {
    std::array<Label*, kStripColumns.size()> lbHeading{};
    std::array<TextBox*, kStripColumns.size()> txtTotal{};
    Label* lbTotals = nullptr;
    Label* lbCafe = nullptr;
    TextBox* txtCafe = nullptr;
    Label* lbSdi = nullptr;
    TextBox* txtSdi = nullptr;
    Label* lbSui = nullptr;
    TextBox* txtSui = nullptr;
    Label* lbTips = nullptr;
    TextBox* txtTips = nullptr;
};

class frmYearTot : public FormOf<frmYearTotUi>, public YtdTotalsView {
  public:
    static constexpr int kHeight = 960;

    explicit frmYearTot(Program& program);

    // After each recomputation: every total as "#####.00".
    void ShowTotals(const YtdTotals& totals) override;
    // The text of the strip's box for a column's total (Tips among them), as the export takes it.
    std::string TotalText(YtdColumn column);

  protected:
    void BuildUi(frmYearTotUi& ui) override;
    void OnLoad() override;

  private:
    TextBox* Box(YtdColumn column);

    Program& program_;
};

}  // namespace kestrel

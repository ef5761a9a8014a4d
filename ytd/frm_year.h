// The year-to-date grid: 52 rows in two halves of 26, a week-number panel to post (left click) or
// clear (right click) a row, and the Tips, Net and Gross cells the user may correct by hand.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/form.h"
#include "ytd/ytd_register.h"

namespace kestrel {

class Program;

// Where the grid stands a column, in twips, with its fixed heading; the totals strip lines its
// boxes up under the same places.
struct GridColumnPlace {
    const char* heading;
    int left;
    int width;
};
GridColumnPlace GridColumn(YtdColumn column);

struct frmYearUi {
    static constexpr std::size_t kColumns = kYtdColumns.size();
    // Headings of the top (0) and bottom (1) half: "Week" then one per amount column.
    std::array<std::array<Label*, kColumns + 1>, 2> lbHeading{};
    std::array<Label*, kYtdRows> lbWeekNo{};
    // Display cells are labels, the editable Tips, Net and Gross cells text boxes; both are
    // reached through Cell().
    std::array<Label*, kYtdRows> lbWeekEnding{};
    std::array<std::array<Control*, kColumns>, kYtdRows> cells{};
    std::array<Label*, 2> lbHint{};
    CommandButton* cmdClose = nullptr;
};

class frmYear : public FormOf<frmYearUi>, public YtdGridTexts {
  public:
    static constexpr int kWeeklyHeight = 12075;
    static constexpr int kBiWeeklyHeight = 6130;
    static constexpr int kBiWeeklyLoadHeight = 6165;

    explicit frmYear(Program& program);

    // What the register reads from the grid, weeks 1 to 52.
    std::string WeekEndingText(int week) const override;
    std::string AmountText(int week, YtdColumn column) const override;
    // After a load: rows 1..rowCount with each amount as its shortest text, and the captions.
    void ShowRegister(const YtdRegister& ytd, int rowCount,
                      const std::array<std::string, 5>& deductionCaptions) override;

    // The text of a cell, and setting it whatever kind of control the cell is.
    void SetWeekEnding(int week, std::string text);
    void SetAmount(int week, YtdColumn column, std::string text);
    // The editable cell of a column (Tips, Net, Gross), null for a display column.
    TextBox* EditableCell(int week, YtdColumn column);

    // What the grid shows now, with the register's hidden amounts, is what the file holds.
    void MarkStored();
    // Whether the grid shows anything but what it held when last marked stored; false while it is
    // not loaded.
    bool DiffersFromStored() const;
    // A Clear All has wiped the rows since the grid was last marked stored.
    bool clearedSinceStored = false;

  protected:
    void BuildUi(frmYearUi& ui) override;
    void OnLoad() override;

  private:
    Control& Cell(int week, YtdColumn column) const;
    // Every text of the grid and the hidden amounts of every row, in one list to compare.
    std::vector<std::string> Contents() const;

    Program& program_;
    std::vector<std::string> stored_;
};

}  // namespace kestrel

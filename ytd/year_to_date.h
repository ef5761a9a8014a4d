// The user's work on the year-to-date register through its view: opening it, posting the period
// the main window shows, clearing rows, keeping the register in step with the grid, and closing
// with the save question.
#pragma once

#include "ytd/ytd_register.h"

namespace kestrel {

class Program;

// The "Year to Date" button and menu item: shows the view, always starting from the stored file.
void OpenYearToDate(Program& program);
// Left click on a week number: the main window's period into that row, without a question.
void PasteMe(Program& program, int week);
// Right click on a week number: every cell of the row "0", its hidden amounts 0.
void DeleteRow(Program& program, int week);
// The grid's texts into the register (the leading number of each amount cell).
void Update(Program& program);
// "&Add": Update, then the totals again.
void Recalculate(Program& program);
// The register as stored, every amount shown with two decimals.
void fillBoxes(Program& program);
// "&Clear All" and File, New: every row in use "0", the hidden amounts of all 52 rows 0.
void ClearYearToDate(Program& program);
// "&Close": asks whether to save, then closes the view. A save that fails keeps it open.
void CloseYearToDate(Program& program);
// Closes the view without a question, as the employee operations do; unsaved edits are dropped.
void CloseYearToDateWithoutAsking(Program& program);
// "&Excel": the register as the view shows it, as a workbook opened in the spreadsheet program.
void ExportYearToDate(Program& program);

// The windows showing the register, as far as they are open.
YtdViews ViewsOf(Program& program);

}  // namespace kestrel

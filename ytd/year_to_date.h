// The user's work on the year-to-date register through its view: opening it, posting the period
// the main window shows, clearing rows, keeping the register in step with the grid, and closing
// with the save question.
#pragma once

#include "ytd/ytd_register.h"

namespace kestrel {

class Program;

// The "Year to Date" button and menu item: shows the view, starting from the stored file. A view
// already open with unsaved changes first asks whether to save them, as closing it does.
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
// Every row in use "0", the hidden amounts of all 52 rows 0, without a question: File, New's reset
// of the register.
void ClearYearToDate(Program& program);
// "&Clear All": ClearYearToDate once the user has confirmed it.
void ClearAllConfirmed(Program& program);
// "&Close", and New, Open, Save and Exit before they close the view: when it holds unsaved
// changes, asks whether to save them (Yes, No or Cancel; No is the default after a Clear All),
// then closes it. False when the view stays open because the user cancelled or the register
// could not be written, and the operation that asked must stop.
bool CloseYearToDate(Program& program);
// The full save's part: the view's unsaved changes written without a question. False when the file
// could not be written; the user was told and the view keeps them.
bool StoreYearToDate(Program& program);
// Whether the view is open with postings, clearings or typed cells that are not in the file.
bool YearToDateHoldsChanges(Program& program);
// Closes the view without a question; unsaved changes are dropped. For the paths that store nothing
// by design (Quit, New's reset) or have settled the changes already.
void CloseYearToDateWithoutAsking(Program& program);
// "&Excel": the register as the view shows it, as a workbook opened in the spreadsheet program.
void ExportYearToDate(Program& program);

// The windows showing the register, as far as they are open.
YtdViews ViewsOf(Program& program);

}  // namespace kestrel

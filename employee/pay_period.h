// Saved pay periods: the eight entries of the main window stored under the week-ending date, in
// week-ending text (with "/" as "_") + ActiveUser + ".prv", and brought back later.
#pragma once

namespace kestrel {

class Program;

// "Save This Pay Period". False, with nothing written, when an entry is not a number or the file
// could not be written; the user has been told.
bool SavePayPeriod(Program& program);
// "Get Pay Period": the user picks a ".prv"; its eight numbers go into the entries, its name's
// first eight characters into the week-ending box, and the period is recalculated.
void LoadPayPeriod(Program& program);

}  // namespace kestrel

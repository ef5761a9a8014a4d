// The paycheck: the check at the user's offsets and two stubs under it, and an alignment page
// that shows where each field of the check will land.
#pragma once

#include "platform/print_model.h"
#include "printing/print_offsets.h"

namespace kestrel {

class Program;

// The page as it prints with the check preview's fields; `horizontal` and `vertical` are the
// whole-number offsets H and V the check is shifted by.
PrintJob PaycheckJob(Program& program, int horizontal, int vertical);
// The same check fields on plain paper, each named in brackets where it prints ("[DATE 12/30/05]"),
// at the same offsets, for holding behind a blank check.
PrintJob AlignmentJob(Program& program, int horizontal, int vertical);
// "Print Check" of the offset dialog: the printer dialog, then the entries and the register made
// ready, then the page at the stored offsets. Nothing changes when the dialog is cancelled.
void PrintCheck(Program& program);

// H and V of the stored offsets: whole numbers, ties to even, V three lines lower. Offsets beyond
// the dialog's range (a damaged file) are held to it.
int CheckHorizontal(const PrintOffsets& offsets);
int CheckVertical(const PrintOffsets& offsets);

}  // namespace kestrel

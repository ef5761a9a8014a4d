// The paycheck: the check at the user's offsets and two stubs under it, and an alignment page
// that shows where each field of the check will land.
#pragma once

#include "platform/print_model.h"

namespace kestrel {

class Program;

// The page as it prints with the check preview's fields; `horizontal` and `vertical` are the
// whole-number offsets H and V the check is shifted by.
PrintJob PaycheckJob(Program& program, int horizontal, int vertical);
// The same check fields on plain paper, each framed lightly and named, at the same offsets.
PrintJob AlignmentJob(Program& program, int horizontal, int vertical);
// "Print Check" of the offset dialog: the page on the chosen printer.
void PrintCheck(Program& program);

}  // namespace kestrel

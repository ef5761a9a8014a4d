// The pay stub of the period on the main window: header, earnings, taxes and deductions with
// their year-to-date totals, and the summary.
#pragma once

#include "platform/print_model.h"

namespace kestrel {

class Program;

// The page as it prints now, from the main window, the records and the register in memory.
PrintJob PayStubJob(Program& program);
// The Print button and "Print Sheet": reloads the employee's profile, register and leave,
// blank entries "0", the printer dialog, then the page. False when the dialog was cancelled.
bool PrintText(Program& program);

}  // namespace kestrel

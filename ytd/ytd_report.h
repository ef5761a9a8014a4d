// The year-to-date report: the register as one landscape page with the company heading, a line
// per row, the totals and the banner.
#pragma once

#include "platform/print_model.h"

namespace kestrel {

class Program;

// The report of the register in memory, dated with today's short date.
PrintJob YtdReportJob(Program& program);
// The container's "&Print": the printer dialog, then the report unless it was cancelled.
void PrintYr(Program& program);

}  // namespace kestrel

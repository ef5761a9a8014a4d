#include "ytd/ytd_report.h"

#include "app/program.h"

namespace kestrel {

PrintJob YtdReportJob(Program&) {
    return PrintJob("Year To Date");
}

void PrintYr(Program&) {}

}  // namespace kestrel

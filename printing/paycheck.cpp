#include "printing/paycheck.h"

#include "app/program.h"

namespace kestrel {

PrintJob PaycheckJob(Program&, int, int) {
    return PrintJob("Paycheck");
}

PrintJob AlignmentJob(Program&, int, int) {
    return PrintJob("Check alignment");
}

void PrintCheck(Program&) {}

}  // namespace kestrel

#include "printing/pay_stub.h"

#include "app/program.h"

namespace kestrel {

PrintJob PayStubJob(Program&) {
    return PrintJob("Pay stub");
}

bool PrintText(Program&) {
    return false;
}

}  // namespace kestrel

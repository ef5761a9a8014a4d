#include "employee/pay_period.h"

#include "app/program.h"

namespace kestrel {

bool SavePayPeriod(Program&) {
    return false;
}

void LoadPayPeriod(Program&) {}

}  // namespace kestrel

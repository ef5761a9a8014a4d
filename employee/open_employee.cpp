#include "employee/open_employee.h"

#include "app/program.h"

namespace kestrel {

bool EmployeeOpenOrTell(Program& program) {
    if (!program.ActiveUser.empty()) return true;
    ShowMessage(program.host, kNoEmployeeOpen, MsgIcon::Warning);
    return false;
}

}  // namespace kestrel

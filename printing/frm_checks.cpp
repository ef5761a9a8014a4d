#include "printing/frm_checks.h"

#include "app/program.h"

namespace kestrel {

frmChecks::frmChecks(Program& program)
    : FormOf(program.host, "frmChecks", FormKind::Modeless), program_(program) {}

void frmChecks::BuildUi(frmChecksUi&) {
    SetCaption("Check Printing");
    SetGeometry({0, 0, 9000, 4500});
}

}  // namespace kestrel

#include "printing/dlg_print_set.h"

#include "app/program.h"

namespace kestrel {

dlgPrintSet::dlgPrintSet(Program& program)
    : FormOf(program.host, "dlgPrintSet", FormKind::Modeless), program_(program) {}

void dlgPrintSet::BuildUi(dlgPrintSetUi&) {
    SetCaption("Printer Offset");
    SetGeometry({0, 0, 6000, 4000});
}

}  // namespace kestrel

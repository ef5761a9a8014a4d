#include "employee/dialog_header.h"

#include "app/program.h"

namespace kestrel {

DialogHeader::DialogHeader(Program& program)
    : FormOf(program.host, "DialogHeader", FormKind::Modeless), program_(program) {}

void DialogHeader::BuildUi(DialogHeaderUi&) {
    SetCaption("Print Out Heading");
    SetGeometry({0, 0, 5000, 3000});
}

void DialogHeader::OpenWindow() {
    Show();
}

}  // namespace kestrel

#include "employee/dialog_vac.h"

#include "app/program.h"

namespace kestrel {

DialogVac::DialogVac(Program& program)
    : FormOf(program.host, "DialogVac", FormKind::Modeless), program_(program) {}

void DialogVac::BuildUi(DialogVacUi&) {
    SetCaption("Vacation / Holiday / Sick");
    SetGeometry({0, 0, 9000, 7000});
}

void DialogVac::OpenWindow() {
    Show();
}

void DialogVac::GetVac() {}

bool DialogVac::SaveVac() {
    return true;
}

void DialogVac::clearVac() {}

}  // namespace kestrel

#include "employee/frm_date.h"

#include "app/program.h"

namespace kestrel {

frmDate::frmDate(Program& program)
    : FormOf(program.host, "frmDate", FormKind::Modal), program_(program) {}

void frmDate::BuildUi(frmDateUi& ui) {
    SetCaption("Week Ending");
    SetGeometry({0, 0, 3300, 1500});
    ui.DTPicker1 = &Add<DatePicker>("DTPicker1", {240, 240, 2800, 330});
    ui.cmdOK = &Add<CommandButton>("cmdOK", {1980, 840, 1060, 400});
    ui.cmdOK->SetCaption("&OK");
}

}  // namespace kestrel

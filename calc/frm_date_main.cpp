#include "calc/frm_date_main.h"

#include "app/program.h"
#include "platform/date_picking.h"

namespace kestrel {

frmDateMain::frmDateMain(Program& program)
    : FormOf(program.host, "frmDateMain", FormKind::Modal), program_(program) {}

void frmDateMain::BuildUi(frmDateMainUi& ui) {
    SetCaption("Week Ending");
    SetGeometry({0, 0, 3300, 1500});
    ui.DTPicker1 = &Add<DatePicker>("DTPicker1", {240, 240, 2800, 330});
    ui.cmdOk = &Add<CommandButton>("cmdOk", {1980, 840, 1060, 400});
    ui.cmdOk->SetCaption("Ok");
    ui.cmdOk->Click = [this] {
        WriteDate();
        Unload();
    };
}

void frmDateMain::OnLoad() {
    StartPickerFromBox(GetHost(), *ui().DTPicker1, *program_.form1.ui().txtWeekEnd);
    // Only the user's picks write back; showing the current date must not retype it.
    ui().DTPicker1->Change = [this] { WriteDate(); };
    ui().DTPicker1->Click = [this] { WriteDate(); };
}

void frmDateMain::WriteDate() {
    WritePickedDate(GetHost(), *ui().DTPicker1, *program_.form1.ui().txtWeekEnd);
}

}  // namespace kestrel

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
    ui.cmdOk->SetCaption("&Ok");
    ui.cmdOk->Click = [this] {
        WriteDate();
        Unload();
    };
}

void frmDateMain::OnLoad() {
    std::string before = program_.form1.ui().txtWeekEnd->Text();
    StartPickerFromBox(GetHost(), *ui().DTPicker1, *program_.form1.ui().txtWeekEnd);
    // Only the user's picks write back; showing the current date must not retype it.
    ui().DTPicker1->Change = [this] { WriteDate(); };
    ui().DTPicker1->Click = [this] { WriteDate(); };
    // Enter takes the date as Ok does; Escape puts back what the box held before the picker
    // opened, since every pick was written into it at once.
    ui().DTPicker1->KeyDown = [this](Key key) {
        if (key == Key::Enter) ui().cmdOk->UserClick();
    };
    EscapeAction = [this, before = std::move(before)] {
        program_.form1.ui().txtWeekEnd->SetText(before);
        Unload();
    };
}

void frmDateMain::WriteDate() {
    WritePickedDate(GetHost(), *ui().DTPicker1, *program_.form1.ui().txtWeekEnd);
}

}  // namespace kestrel

#include "employee/frm_date.h"

#include "app/program.h"
#include "platform/date_picking.h"

namespace kestrel {

frmDate::frmDate(Program& program)
    : FormOf(program.host, "frmDate", FormKind::Modal), program_(program) {}

void frmDate::BuildUi(frmDateUi& ui) {
    SetCaption("Week Ending");
    SetGeometry({0, 0, 3300, 1500});
    ui.DTPicker1 = &Add<DatePicker>("DTPicker1", {240, 240, 2800, 330});
    ui.cmdOK = &Add<CommandButton>("cmdOK", {1980, 840, 1060, 400});
    ui.cmdOK->SetCaption("&OK");
    ui.cmdOK->Click = [this] {
        WriteDate();
        Unload();
    };
}

void frmDate::OpenForRow(int row) {
    if (row < 0 || row >= kOvertimeRows) return;
    // A picker still open from an earlier row starts afresh for this one.
    Unload();
    row_ = row;
    ShowModal();
}

TextBox& frmDate::RowBox() {
    return *program_.form2.ui().Text1[static_cast<std::size_t>(row_)];
}

void frmDate::OnLoad() {
    std::string before = RowBox().Text();
    StartPickerFromBox(GetHost(), *ui().DTPicker1, RowBox());
    // Only the user's picks write back; showing the current date must not retype it.
    ui().DTPicker1->Change = [this] { WriteDate(); };
    ui().DTPicker1->Click = [this] { WriteDate(); };
    // Enter takes the date as Ok does; Escape puts back what the box held before the picker
    // opened, since every pick was written into it at once.
    ui().DTPicker1->KeyDown = [this](Key key) {
        if (key == Key::Enter) ui().cmdOK->UserClick();
    };
    EscapeAction = [this, before = std::move(before)] {
        RowBox().SetText(before);
        Unload();
    };
}

void frmDate::WriteDate() {
    WritePickedDate(GetHost(), *ui().DTPicker1, RowBox());
}

}  // namespace kestrel

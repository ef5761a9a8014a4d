#include "calc/frm_date_main.h"

#include "app/program.h"

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
    TextBox& weekEnding = *program_.form1.ui().txtWeekEnd;
    const Date today = GetHost().Today();
    DatePicker& picker = *ui().DTPicker1;
    if (weekEnding.Text().empty()) {
        picker.SetValue(today);
    } else if (const auto date = ParseDate(weekEnding.Text())) {
        picker.SetValue(*date);
    } else {
        // "00/00/05" after a clear is no date: start from today instead.
        weekEnding.SetText(GetHost().ShortDate(today).substr(0, 8));
        picker.SetValue(today);
    }
    // Only the user's picks write back; showing the current date must not retype it.
    picker.Change = [this] { WriteDate(); };
    picker.Click = [this] { WriteDate(); };
}

void frmDateMain::WriteDate() {
    const std::string text = GetHost().ShortDate(ui().DTPicker1->Value());
    program_.form1.ui().txtWeekEnd->SetText(text.substr(0, 8));
}

}  // namespace kestrel

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
    TextBox& weekEnding = RowBox();
    const Date today = GetHost().Today();
    DatePicker& picker = *ui().DTPicker1;
    if (weekEnding.Text().empty()) {
        picker.SetValue(today);
    } else if (const auto date = ParseDate(weekEnding.Text())) {
        picker.SetValue(*date);
    } else {
        // A box holding no date starts from today, and shows it.
        weekEnding.SetText(GetHost().ShortDate(today).substr(0, 8));
        picker.SetValue(today);
    }
    // Only the user's picks write back; showing the current date must not retype it.
    picker.Change = [this] { WriteDate(); };
    picker.Click = [this] { WriteDate(); };
}

void frmDate::WriteDate() {
    const std::string text = GetHost().ShortDate(ui().DTPicker1->Value());
    RowBox().SetText(text.substr(0, 8));
}

}  // namespace kestrel

#include "employee/form2.h"

#include "app/program.h"

namespace kestrel {

Form2::Form2(Program& program)
    : FormOf(program.host, "Form2", FormKind::Modeless), program_(program) {}

void Form2::BuildUi(Form2Ui& ui) {
    SetCaption("OverTime Percentage");
    SetGeometry({0, 0, 7725, 9000});
    ui.txtAnnual = &Add<TextBox>("txtAnnual", {100, 100, 1200, 300});
    ui.txtApPercent = &Add<TextBox>("txtApPercent", {100, 500, 1200, 300});
}

void Form2::OpenWindow(const std::string&, const std::string&) {
    Show();
}

void Form2::FillInOT() {}

void Form2::ClearAll() {}

void Form2::StoreRows() {}

OvertimeBoxTexts Form2::BoxTexts() {
    return {ui().txtAnnual->Text(), ui().txtApPercent->Text(), "", ""};
}

}  // namespace kestrel

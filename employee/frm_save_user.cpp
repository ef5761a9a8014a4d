#include "employee/frm_save_user.h"

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/employee_name.h"
#include "ytd/year_to_date.h"

namespace kestrel {

frmSaveUser::frmSaveUser(Program& program)
    : FormOf(program.host, "frmSaveUser", FormKind::Modal), program_(program) {
    QueryUnload = [this](CloseReason reason) {
        if (reason == CloseReason::User) CloseBox();
        return true;
    };
}

void frmSaveUser::BuildUi(frmSaveUserUi& ui) {
    SetCaption("Save User");
    SetGeometry({0, 0, 4800, 2400});
    ui.lbLine1 = &Add<Label>("lbLine1", {240, 180, 4320, 255});
    ui.lbLine1->SetCaption("Before opening a user file,");
    ui.lbLine1->SetAlignment(Align::Center);
    ui.lbLine2 = &Add<Label>("lbLine2", {240, 480, 4320, 255});
    ui.lbLine2->SetCaption("Do you want to save this user?");
    ui.lbLine2->SetAlignment(Align::Center);
    ui.txtSaveUser = &Add<TextBox>("txtSaveUser", {840, 900, 3120, 315});
    ui.txtSaveUser->SetToolTip("File that is already opened.");
    ui.txtSaveUser->SetSelectAllOnFocus(true);
    ui.txtSaveUser->SetText("TYPE NAME");
    ui.cmdSave = &Add<CommandButton>("cmdSave", {240, 1560, 1320, 420});
    ui.cmdSave->SetCaption("&Save");
    ui.cmdSave->Click = [this] { FullSave(); };
    ui.cmdNo = &Add<CommandButton>("cmdNo", {1740, 1560, 1320, 420});
    ui.cmdNo->SetCaption("&No");
    ui.cmdNo->Click = [this] { cmdNo_Click(); };
    ui.cmdQuit = &Add<CommandButton>("cmdQuit", {3240, 1560, 1320, 420});
    ui.cmdQuit->SetCaption("&Quit");
    ui.cmdQuit->Click = [this] { cmdQuit_Click(); };
}

void frmSaveUser::OnLoad() {
    ui().txtSaveUser->SetText(program_.ActiveUser);
}

void frmSaveUser::ShowSaveWindow() {
    ui().txtSaveUser->SetText(program_.ActiveUser);
    ui().txtSaveUser->SetFocus();
    ShowModal();
}

bool frmSaveUser::FullSave() {
    const std::string name = ui().txtSaveUser->Text();
    if (const auto problem = EmployeeNameProblem(name)) {
        ShowMessage(GetHost(), *problem, MsgIcon::Warning);
        if (IsVisible()) ui().txtSaveUser->SetFocus();
        return false;
    }
    // Every file of the set is written under the lock, so a save in another running copy comes
    // wholly before or wholly after this one.
    const EmployeeLock::Saving saving = EmployeeLock::ForSave(name);
    if (saving.Busy()) {
        ShowMessage(GetHost(),
                    "Another running copy of Kestrel is saving " + name +
                        " and has not finished.\r\nNothing was saved; try again.",
                    MsgIcon::Warning);
        return false;
    }
    program_.ActiveUser = name;
    if (!SaveOT(program_)) return false;
    if (!program_.dialogVac.SaveVac()) return false;
    if (!program_.dialogState.SaveStateFile()) return false;
    if (!program_.dialogCity.SaveCityFile()) return false;
    if (!program_.dialogNonCity.SaveNonResidentFile()) return false;
    // Closing the year-to-date view below must not take the rows posted in it with it.
    if (!StoreYearToDate(program_)) return false;
    // The caption keeps the name the employee was opened under; the label shows where the files
    // went.
    program_.form1.ui().lbUser->SetCaption(name);
    if (program_.employeeLock.Employee() != name) program_.employeeLock.MarkOpen(name);
    program_.CloseWindows({Program::Window::Overtime, Program::Window::Leave,
                           Program::Window::YearToDate, Program::Window::StateTax,
                           Program::Window::CityTax, Program::Window::NonCityTax});
    Unload();
    return true;
}

void frmSaveUser::cmdNo_Click() {
    program_.CloseWindows({Program::Window::Checks});
    Unload();
}

void frmSaveUser::cmdQuit_Click() {
    program_.quitting = true;
    program_.CloseWindows({Program::Window::Overtime, Program::Window::YearToDate,
                           Program::Window::Main, Program::Window::StateTax,
                           Program::Window::CityTax, Program::Window::UserInfo,
                           Program::Window::Checks});
    Unload();
    GetHost().Quit();
}

void frmSaveUser::CloseBox() {
    program_.CloseWindows({Program::Window::Overtime, Program::Window::YearToDate,
                           Program::Window::StateTax, Program::Window::CityTax,
                           Program::Window::NonCityTax, Program::Window::UserInfo,
                           Program::Window::Checks});
}

}  // namespace kestrel

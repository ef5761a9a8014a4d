#include "app/program.h"

#include <system_error>
#include <utility>

#include "ytd/year_to_date.h"

namespace kestrel {

std::string VersionText() {
    return std::to_string(KESTREL_VERSION_MAJOR) + "." + std::to_string(KESTREL_VERSION_MINOR) +
           "." + std::to_string(KESTREL_VERSION_PATCH);
}

Program::Program(Host& hostServices)
    : host(hostServices),
      form1(*this),
      dateMain(*this),
      aboutBox(*this),
      dialogState(*this),
      dialogCity(*this),
      dialogNonCity(*this),
      form2(*this),
      dateOvertime(*this),
      dialogVac(*this),
      dialogHeader(*this),
      taxInfo(*this),
      saveUser(*this),
      ytdContainer(*this),
      ytdGrid(*this),
      ytdTotals(*this),
      checks(*this),
      printSet(*this),
      explain(*this),
      reports(*this),
      payRun(*this) {}

void Program::Start() {
    FollowWorkingFolder();
    form1.Show();
}

void Program::FollowWorkingFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    if (error || folder == headerFolder) return;
    headerFolder = std::move(folder);
    header = CompanyHeader{};
    // A damaged file is reported when the header window opens; until then it prints blank.
    LoadCompanyHeader(header);
}

void Program::CloseWindows(std::initializer_list<Window> windows) {
    for (Window window : windows) {
        Form* form = nullptr;
        switch (window) {
            case Window::Main:
                form = &form1;
                break;
            case Window::UserInfo:
                form = &taxInfo;
                break;
            case Window::Overtime:
                form = &form2;
                break;
            case Window::Leave:
                form = &dialogVac;
                break;
            case Window::StateTax:
                form = &dialogState;
                break;
            case Window::CityTax:
                form = &dialogCity;
                break;
            case Window::NonCityTax:
                form = &dialogNonCity;
                break;
            case Window::YearToDate:
                CloseYearToDateWithoutAsking(*this);
                break;
            case Window::Checks:
                form = &checks;
                break;
        }
        if (form != nullptr && form->IsLoaded()) form->Unload();
    }
}

}  // namespace kestrel

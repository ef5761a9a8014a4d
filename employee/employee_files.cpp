#include "employee/employee_files.h"

#include <system_error>
#include <vector>

#include "app/program.h"
#include "employee/employee_lock.h"
#include "employee/employee_name.h"
#include "employee/frm_tax_info.h"
#include "employee/leave_balances.h"
#include "employee/overtime_allowance.h"
#include "employee/profile_files.h"
#include "platform/numbers.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "ytd/year_to_date.h"
#include "ytd/ytd_register.h"

namespace kestrel {

namespace {

// Reads one profile file when it exists. A refused one is reported, counts as not read, and its
// part of the records starts from a new employee's values: what memory held belongs to whoever
// was open before.
template <class Read, class Reset>
bool ReadIfThere(Program& program, const std::filesystem::path& file, Read read, Reset reset) {
    if (FileMissing(file)) return true;
    if (const std::optional<ReadError> error = read(file)) {
        if (!program.profileDamageReported) ReportDamagedFile(program.host, file.string(), *error);
        reset();
        return false;
    }
    return true;
}

// Every file of the employee that a reader refused during the open, in the order they are read.
std::vector<std::string> RefusedFilesOf(const Program& program) {
    const std::string& user = program.ActiveUser;
    const bool weekly = program.profile.WeeklyPay;
    std::vector<std::filesystem::path> files{
        EmployeeFile(user, kUseFileExtension),  EmployeeFile(user, kAndFileExtension),
        EmployeeFile(user, kCfeFileExtension),  OvertimeFileName(user, weekly),
        AnnualFileName(user, weekly),           EmployeeFile(user, kStateFileExtension),
        EmployeeFile(user, kCityFileExtension), EmployeeFile(user, kNonResidentFileExtension),
        EmployeeFile(user, kLeaveFileExtension)};
    std::vector<std::string> refused;
    for (const auto& file : files) {
        if (refused_files::Contains(file)) refused.push_back(file.string());
    }
    return refused;
}

// A settings window that already shows figures keeps them when its file is refused, and storing
// it would hand them to this employee; prepared afresh it shows the built-in values instead.
template <class Read>
void PrepareAfreshIfRefused(Form& window, const std::filesystem::path& file, Read read) {
    if (!window.IsLoaded() || FileMissing(file)) return;
    if (read(file).status == SettingsFileStatus::Corrupted) window.Unload();
}

// The rates the User Info window holds, strictly read; the message names the failing box.
bool TakeRates(Program& program) {
    frmTaxInfoUi& u = program.taxInfo.ui();
    const std::array<std::pair<TextBox*, const char*>, 3> boxes{
        std::pair{u.txtHourRate, "Hourly Rate 1"}, std::pair{u.txtHourRate2, "Hourly Rate 2"},
        std::pair{u.txtTipsRate, "Tips Rate"}};
    std::array<float, 3> rates{};
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        const auto rate = StrictSingle(boxes[k].first->Text());
        if (!rate) {
            ShowMessage(program.host,
                        "\"" + boxes[k].first->Text() + "\" in " + boxes[k].second +
                            " is not a number.\r\nNothing was saved.",
                        MsgIcon::Warning);
            return false;
        }
        rates[k] = *rate;
    }
    program.profile.HourlyRate1 = rates[0];
    program.profile.HourlyRate2 = rates[1];
    program.profile.TipsRate = rates[2];
    return true;
}

}  // namespace

void ReportDamagedFile(Host& host, std::string_view fileName, const ReadError& error) {
    ShowMessage(host,
                "The file " + DescribeReadError(fileName, error) + "\r\n" +
                    (error.denied ? "It was not read" : "It is damaged and was not read") +
                    "; what it holds starts from a new employee's values.",
                MsgIcon::Warning);
}

bool CommitOrReport(Host& host, RecordWriter& records) {
    const WriteResult written = records.Commit();
    if (written) return true;
    ShowMessage(host,
                "The file " + records.Target().string() + " could not be saved:\r\n" +
                    written.error + "\r\nIt keeps its previous contents.",
                MsgIcon::Warning);
    return false;
}

bool LoadProfileFiles(Program& program, bool withOvertime) {
    const std::string& user = program.ActiveUser;
    OvertimeAllowance overtime = program.overtime;
    bool whole = ReadIfThere(
        program, EmployeeFile(user, kUseFileExtension),
        [&](const auto& file) {
            return ReadUseFile(file, program.profile, overtime, program.reserved);
        },
        [&] { ResetUseFields(program.profile, overtime, program.reserved); });
    whole &= ReadIfThere(
        program, EmployeeFile(user, kAndFileExtension),
        [&](const auto& file) {
            return ReadAndFile(file, program.profile, program.stateSettings, program.offsets,
                               program.reserved);
        },
        [&] {
            ResetAndFields(program.profile, program.stateSettings, program.offsets,
                           program.reserved);
        });
    whole &= ReadIfThere(
        program, EmployeeFile(user, kCfeFileExtension),
        [&](const auto& file) { return ReadCfeFile(file, program.profile); },
        [&] { ResetCfeFields(program.profile); });
    const bool weekly = program.profile.WeeklyPay;
    if (withOvertime) {
        whole &= ReadIfThere(
            program, OvertimeFileName(user, weekly),
            [&](const auto& file) { return ReadOvertimeRows(file, weekly, overtime); },
            [&] { ResetOvertimeRows(overtime); });
        program.overtime = overtime;
    }
    if (program.form1.IsLoaded()) program.form1.ShowTableNotice(weekly);
    if (program.taxInfo.IsLoaded()) program.taxInfo.ShowRecord();
    if (withOvertime && program.form2.IsLoaded()) program.form2.FillInOT();
    return whole;
}

bool SaveOT(Program& program, bool defaultSet) {
    if (program.saveUser.IsLoaded()) program.ActiveUser = program.saveUser.ui().txtSaveUser->Text();
    EmployeeProfile& p = program.profile;
    if (program.taxInfo.IsLoaded()) {
        if (!TakeRates(program)) return false;
    } else {
        // What opening the User Info window would store, without showing it.
        p = UserInfoDefaults(p);
    }
    program.form2.StoreRows();
    if (!p.WeeklyPay && !p.BiWeeklyPay) {
        p.WeeklyPay = true;
        if (program.taxInfo.IsLoaded()) program.taxInfo.ui().optWeek->SetValue(true);
    }
    if (p.KPlanIsPercent == 0 && p.KPlanIsFixed == 0) {
        p.KPlanIsPercent = 1;
        if (program.taxInfo.IsLoaded()) program.taxInfo.ui().ckKpPer->SetValue(1);
    }

    const std::string& user = program.ActiveUser;
    // With no employee open there is nowhere to save to: the empty name belongs to the default
    // file set, which only Make Default writes.
    if (user.empty() && !defaultSet) return true;
    if (const auto problem = user.empty() ? std::nullopt : EmployeeNameProblem(user)) {
        ShowMessage(program.host, *problem, MsgIcon::Warning);
        return false;
    }
    RecordWriter use = UseRecords(EmployeeFile(user, kUseFileExtension), p, program.overtime,
                                  program.form2.BoxTexts(), program.reserved);
    RecordWriter andFile = AndRecords(EmployeeFile(user, kAndFileExtension), p,
                                      program.stateSettings, program.offsets, program.reserved);
    RecordWriter cfe = CfeRecords(EmployeeFile(user, kCfeFileExtension), p);
    RecordWriter rows =
        OvertimeRowRecords(OvertimeFileName(user, p.WeeklyPay), program.overtime, p.WeeklyPay);
    for (RecordWriter* file : {&use, &andFile, &cfe, &rows}) {
        if (!CommitOrReport(program.host, *file)) return false;
    }

    NormaliseKPlan(p);
    if (program.taxInfo.IsLoaded()) {
        program.taxInfo.ui().ckKpPer->SetValue(p.KPlanIsPercent);
        program.taxInfo.ui().ckKpFix->SetValue(p.KPlanIsFixed);
    }
    return true;
}

void BeginEmployee(Program& program) {
    program.employeeLock.MarkOpen(program.ActiveUser);
    program.form1.ShowStatus("");
}

bool GoOnThoughOpenElsewhere(Program& program, std::string_view name) {
    if (!program.employeeLock.OpenElsewhere(name)) return true;
    const MsgResult answer = program.host.MsgBox(
        std::string(name) +
            " is open in another running copy of Kestrel.\r\nWhat either copy saves replaces "
            "what the other saved.\r\nOpen it here anyway?",
        MsgButtons::YesNo, MsgIcon::Question, kAppTitle);
    return answer == MsgResult::Yes;
}

bool EnterFolderOf(Host& host, const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    if (folder.empty()) return true;
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (!error) return true;
    ShowMessage(host, "The folder " + folder.string() + " cannot be opened:\r\n" + error.message(),
                MsgIcon::Warning);
    return false;
}

std::optional<std::filesystem::path> OpenFileInFolder(Host& host, std::string_view filter) {
    std::optional<std::filesystem::path> chosen = host.OpenFile(filter);
    if (!chosen || !EnterFolderOf(host, *chosen)) return std::nullopt;
    return chosen->filename();
}

void mnuNew_Click(Program& program) {
    Host& host = program.host;
    if (!CloseYearToDate(program)) return;
    const MsgResult answer =
        host.MsgBox("........SAVE PREVIOUS USER?", MsgButtons::YesNo, MsgIcon::Question, "Save?");
    if (answer == MsgResult::Yes) {
        program.saveUser.ShowSaveWindow();
        if (program.quitting) return;
    }
    const auto typed = host.InputBox("Enter new user:", "File New");
    // Cancelling the prompt is a change of mind, not a mistake to report.
    if (!typed) return;
    const std::string name = *typed;
    if (const auto problem = EmployeeNameProblem(name)) {
        ShowMessage(host, *problem, MsgIcon::Warning);
        return;
    }
    if (FileExists(EmployeeFile(name, kUseFileExtension))) {
        ShowMessage(host, "........" + name + " already exists. Use Open");
        return;
    }
    program.ActiveUser = name;
    BeginEmployee(program);
    program.saveUser.ui().txtSaveUser->SetText(name);
    program.form1.SetCaption("  User:  " + name);
    program.form1.ui().lbUser->SetCaption(name);
    program.form1.Show();

    // Every window of the previous employee is reset before anything is written.
    program.form2.Hide();
    program.form2.ClearAll();
    program.form2.Unload();
    program.dialogVac.Hide();
    program.dialogVac.clearVac();
    program.dialogVac.Unload();
    program.form1.ClearEntries();
    program.ytdContainer.Hide();
    ClearYearToDate(program);
    program.CloseWindows({Program::Window::YearToDate});
    program.taxInfo.Hide();
    program.taxInfo.ClearAll();
    program.taxInfo.Unload();
    program.CloseWindows({Program::Window::Checks});
    program.dialogState.Hide();
    program.dialogState.cmdNewYork_Click();
    program.dialogState.Unload();
    program.dialogCity.Hide();
    program.dialogCity.cmdNewYork_Click();
    program.dialogCity.Unload();
    // The windows were closed without storing, and preparing them again for the new employee
    // would bring back the previous one's special state and insurance figures from memory: the
    // new employee starts from New York's settings.
    program.stateSettings = NewYorkStateDefaults();
    program.citySettings = NewYorkCityDefaults();

    program.form1.CalculatePay();
}

void mnuOpen_Click(Program& program) {
    if (!CloseYearToDate(program)) return;
    program.saveUser.ShowSaveWindow();
    if (program.quitting) return;
    OpenFile(program);
}

void OpenFile(Program& program) {
    Host& host = program.host;
    const std::optional<std::filesystem::path> chosen = host.OpenFile("Saved Files (*.use)|*.use");
    if (!chosen) return;
    const std::string fileName = chosen->filename().string();
    if (fileName.size() <= kUseFileExtension.size() ||
        fileName.substr(fileName.size() - kUseFileExtension.size()) != kUseFileExtension) {
        ShowMessage(host, "\"" + fileName + "\" is not an employee's file.\r\nChoose a .use file.",
                    MsgIcon::Warning);
        return;
    }
    const std::string name = fileName.substr(0, fileName.size() - kUseFileExtension.size());
    if (const auto problem = EmployeeNameProblem(name)) {
        ShowMessage(host, *problem, MsgIcon::Warning);
        return;
    }
    // The folder of the chosen file is where the employee's files, the federal tables, the
    // header and the help are looked up from now on.
    if (!EnterFolderOf(host, *chosen)) return;
    if (!GoOnThoughOpenElsewhere(program, name)) return;
    program.ActiveUser = name;
    BeginEmployee(program);
    LoadEmployee(program);
    program.form1.SetCaption("  User:  " + name);
    program.form1.ui().lbUser->SetCaption(name);
    program.saveUser.ui().txtSaveUser->SetText(name);
    program.form1.Show();
    if (program.taxInfo.IsLoaded()) {
        program.taxInfo.ui().ckKpPer->SetValue(program.profile.KPlanIsPercent);
        program.taxInfo.ui().ckKpFix->SetValue(program.profile.KPlanIsFixed);
    }
    program.form1.ShowProfileCaptions();
    program.form1.ClearEntries();
}

bool LoadEmployee(Program& program) {
    Host& host = program.host;
    bool whole = LoadProfileFiles(program);
    // Preparing the State Tax window reads the profile files again; what is damaged has been
    // told once.
    program.profileDamageReported = !whole;
    whole &= LoadAnnual(program.ytd, program.ActiveUser, program.profile, host) !=
             LoadAnnualResult::Damaged;
    LoadFederalTables(host, program.federal);
    program.form1.ui().lbTaxVer->SetCaption(program.federal.TableVersion);
    const std::string& user = program.ActiveUser;
    PrepareAfreshIfRefused(program.dialogState, EmployeeFile(user, kStateFileExtension),
                           [](const auto& file) {
                               StateTaxSettings state;
                               EmployeeProfile profile;
                               return ReadStateFile(file, state, profile);
                           });
    PrepareAfreshIfRefused(program.dialogCity, EmployeeFile(user, kCityFileExtension),
                           [](const auto& file) {
                               CityTaxSettings city;
                               return ReadCityFile(file, city);
                           });
    PrepareAfreshIfRefused(program.dialogNonCity, EmployeeFile(user, kNonResidentFileExtension),
                           [](const auto& file) {
                               NonResidentTaxSettings table;
                               return ReadNonResidentFile(file, table);
                           });
    // Preparing a settings window reads its file; one already prepared reads it again.
    if (program.dialogState.IsLoaded()) {
        program.dialogState.LoadStateFile();
        program.dialogState.CheckFor();
        program.dialogState.fillVari();
    } else {
        program.dialogState.Load();
    }
    if (program.dialogCity.IsLoaded()) {
        program.dialogCity.LoadCityFile();
        program.dialogCity.CheckFor();
        program.dialogCity.fillVar();
    } else {
        program.dialogCity.Load();
    }
    if (program.dialogNonCity.IsLoaded()) {
        program.dialogNonCity.LoadNonResidentFile();
    } else {
        program.dialogNonCity.Load();
    }
    program.profileDamageReported = false;
    const std::filesystem::path leaveFile = EmployeeFile(user, kLeaveFileExtension);
    LeaveBalances leave;
    const std::optional<ReadError> leaveDamage =
        FileMissing(leaveFile) ? std::nullopt : ReadLeaveFile(leaveFile, leave);
    if (leaveDamage) {
        // The leave window would keep the balances held before; a new employee's are empty.
        ReportDamagedFile(host, leaveFile.string(), *leaveDamage);
        program.dialogVac.clearVac();
        whole = false;
    } else {
        program.dialogVac.GetVac();
    }
    program.form2.FillInOT();

    const std::vector<std::string> refused = RefusedFilesOf(program);
    std::string notice;
    for (const std::string& name : refused)
        notice +=
            (notice.empty() ? "Not read, started from a new employee's values: " : ", ") + name;
    program.form1.ShowStatus(notice);
    return whole && refused.empty();
}

}  // namespace kestrel

#include "app/demo_folder.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/pay_period.h"
#include "platform/scripted_host.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

struct Period {
    const char* weekEnding;
    std::array<const char*, 8> entries;
};

struct DemoEmployee {
    const char* name;
    const char* fullName;
    const char* address;
    const char* cityStateZip;
    const char* ssn;
    const char* rate1;
    const char* rate2;
    const char* tipsRate;
    int federalStatus;  // list index: 0 Single, 1 Married
    int federalAllowances;
    int stateStatus;
    int stateAllowances;
    bool biWeekly;
    const char* creditUnion;
    const char* dues;
    const char* kPlanPercent;
    const char* annualSalary;
    const char* approvedPercent;
    std::vector<Period> periods;
    const char* vacationStart;
    std::vector<std::pair<const char*, const char*>> vacationTaken;
    const char* sickStart;
    std::vector<std::pair<const char*, const char*>> sickTaken;
};

const std::vector<DemoEmployee>& Employees() {
    static const std::vector<DemoEmployee> employees{
        {"Worker1",
         "Alex Morgan",
         "221 River Road",
         "Albany, NY 12207",
         "123-45-6789",
         "15.5",
         "12",
         "0",
         1,
         2,
         1,
         2,
         false,
         "25",
         "8.5",
         "3",
         "32240",
         "10",
         {{"01/07/05", {"40", "", "", "2", "", "", "", ""}},
          {"01/14/05", {"40", "4", "", "", "", "", "", ""}},
          {"01/21/05", {"32", "", "", "", "8", "", "", ""}},
          {"01/28/05", {"40", "", "", "5.5", "", "", "50", ""}}},
         "10",
         {{"1", "01/21/05"}},
         "5",
         {{"0.5", "01/11/05"}}},
        {"Worker2",
         "Jordan Reyes",
         "18 Lark Street, Apt 2",
         "Troy, NY 12180",
         "987-65-4321",
         "11.25",
         "0",
         "2",
         0,
         1,
         0,
         1,
         true,
         "0",
         "0",
         "0",
         "23400",
         "5",
         {{"01/14/05", {"80", "", "", "", "", "", "", "12"}},
          {"01/28/05", {"72", "", "", "3", "", "8", "", "10"}},
          {"02/11/05", {"80", "", "", "", "", "", "", "14"}}},
         "5",
         {{"1", "01/24/05"}},
         "3",
         {}},
    };
    return employees;
}

bool MakeEmployee(Program& program, ScriptedHost& host, const DemoEmployee& e) {
    host.answers.push_back(MsgResult::No);
    host.inputs.push_back(std::string(e.name));
    program.form1.ui().mnuNew->UserClick();
    if (program.ActiveUser != e.name) return false;

    host.onModal["frmTaxInfo"] = [&](Form&) {
        frmTaxInfoUi& u = program.taxInfo.ui();
        u.txtName->SetText(e.fullName);
        u.txtAddress->SetText(e.address);
        u.txtStateCityZip->SetText(e.cityStateZip);
        u.txtSSnum->SetText(e.ssn);
        u.txtHourRate->SetText(e.rate1);
        u.txtHourRate2->SetText(e.rate2);
        u.txtTipsRate->SetText(e.tipsRate);
        u.cboStatus->UserSelect(e.federalStatus);
        u.cboDepend->UserSelect(e.federalAllowances);
        u.cboStatus2->UserSelect(e.stateStatus);
        u.cboDepend2->UserSelect(e.stateAllowances);
        (e.biWeekly ? u.optBiWeek : u.optWeek)->UserClick();
        u.txtMuni->SetText(e.creditUnion);
        u.txtDues->SetText(e.dues);
        u.txtKplan->SetText(e.kPlanPercent);
        u.cmdOk->UserClick();
    };
    program.form1.ui().mnuTaxInfoItem->UserClick();

    Form1Ui& main = program.form1.ui();
    int week = 0;
    for (const Period& period : e.periods) {
        ++week;
        main.txtWeekEnd->SetText(period.weekEnding);
        for (std::size_t i = 0; i < 8; ++i)
            main.txtEntry[i]->SetText(period.entries[i]);
        // The first period is also kept as a saved pay period, to try "Get Pay Period" on.
        if (week == 1 && !SavePayPeriod(program)) return false;
        if (!program.form1.CalculatePay()) return false;
        // Posted into its row of the register and saved, as a user does in the year-to-date view.
        main.cmdYear->UserClick();
        program.ytdGrid.ui().lbWeekNo[static_cast<std::size_t>(week - 1)]->UserClick();
        host.answers.push_back(MsgResult::Yes);
        program.ytdGrid.ui().cmdClose->UserClick();
        if (program.ytdContainer.IsLoaded()) return false;
        // The overtime window keeps the period's overtime pay against the approved limit.
        program.form2.OpenWindow(main.lbOverTime->Caption(), main.txtWeekEnd->Text());
        Form2Ui& ot = program.form2.ui();
        if (week == 1) {
            ot.txtAnnual->SetText(e.annualSalary);
            ot.txtApPercent->SetText(e.approvedPercent);
        }
        const auto row = static_cast<std::size_t>(week - 1);
        ot.Text1[row]->SetText(period.weekEnding);
        ot.txtOT[row]->SetText(FormatNumber(program.result.TotalOt, "0.00"));
        ot.cmdADD->UserClick();
        ot.cmdClose->UserClick();
    }

    program.dialogVac.OpenWindow();
    DialogVacUi& leave = program.dialogVac.ui();
    leave.txtVacBal->SetText(e.vacationStart);
    leave.txtSickBal->SetText(e.sickStart);
    for (std::size_t k = 0; k < e.vacationTaken.size(); ++k) {
        leave.txtVcnt[k]->SetText(e.vacationTaken[k].first);
        leave.txtVdate[k]->SetText(e.vacationTaken[k].second);
    }
    for (std::size_t k = 0; k < e.sickTaken.size(); ++k) {
        leave.txtScnt[k]->SetText(e.sickTaken[k].first);
        leave.txtSdate[k]->SetText(e.sickTaken[k].second);
    }
    leave.cmdSave->UserClick();
    if (program.dialogVac.IsLoaded()) return false;
    return program.saveUser.FullSave();
}

}  // namespace

std::vector<std::string> WriteDemoFolder(const std::filesystem::path& folder, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::path previous = fs::current_path(code);
    fs::current_path(folder, code);
    if (code) {
        error = "cannot enter " + folder.string() + ": " + code.message();
        return {};
    }
    std::set<std::string> before;
    for (const auto& entry : fs::directory_iterator("."))
        before.insert(entry.path().filename().string());

    ScriptedHost host;
    host.today = Date{2005, 2, 11};
    bool made = true;
    {
        Program program(host);
        program.Start();
        for (const DemoEmployee& employee : Employees()) {
            made = made && MakeEmployee(program, host, employee);
        }
        if (made) {
            program.dialogHeader.OpenWindow();
            DialogHeaderUi& header = program.dialogHeader.ui();
            header.txtHeader[0]->SetText("Wrenfield Demo Bakery");
            header.txtHeader[1]->SetText("40 Market Street");
            header.txtHeader[2]->SetText("Albany, NY 12207");
            header.txtHeader[3]->SetText("EIN 14-0000000");
            header.cmdOK->UserClick();
        }
    }
    // The marks of an employee open in a running copy are not part of what is shipped.
    for (const DemoEmployee& employee : Employees())
        fs::remove(EmployeeLock::FileName(employee.name), code);
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (before.count(name) == 0) written.push_back(name);
    }
    std::sort(written.begin(), written.end());
    fs::current_path(previous, code);
    std::vector<std::string> told;
    for (const auto& message : host.messages) {
        if (message.buttons == MsgButtons::Ok) told.push_back(message.text);
    }
    if (!made || !told.empty() || !host.unscripted.empty()) {
        error = "the demo employees could not be made";
        for (const std::string& text : told)
            error += "; " + text;
        for (const std::string& text : host.unscripted)
            error += "; " + text;
        return {};
    }
    return written;
}

}  // namespace kestrel

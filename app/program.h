// The running program: every record of the open employee and every window, owned once for the
// whole run. Windows reach records and each other through it, openly.
#pragma once

#include <filesystem>
#include <string>

#include "calc/federal_tables.h"
#include "calc/form1.h"
#include "calc/frm_about_spcl.h"
#include "calc/frm_date_main.h"
#include "calc/frm_explain.h"
#include "calc/payroll_records.h"
#include "employee/company_header.h"
#include "employee/dialog_header.h"
#include "employee/dialog_vac.h"
#include "employee/employee_lock.h"
#include "employee/form2.h"
#include "employee/frm_date.h"
#include "employee/frm_save_user.h"
#include "employee/frm_tax_info.h"
#include "employee/leave_balances.h"
#include "employee/overtime_allowance.h"
#include "employee/profile_files.h"
#include "payrun/frm_pay_run.h"
#include "platform/host.h"
#include "printing/dlg_print_set.h"
#include "printing/frm_checks.h"
#include "reports/frm_reports.h"
#include "settings/city_tax_settings.h"
#include "settings/dialog_city.h"
#include "settings/dialog_non_city.h"
#include "settings/dialog_state.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "ytd/frm_year.h"
#include "ytd/frm_year_tot.h"
#include "ytd/mdi_form1.h"
#include "ytd/ytd_register.h"

namespace kestrel {

inline constexpr std::string_view kMakerName = "WRENFIELD WORKS";
inline constexpr std::string_view kProductName = "KESTREL";

// "9.0.2", from the build.
std::string VersionText();

class Program {
  public:
    explicit Program(Host& host);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Opens the main window; no employee file is read. The company header of the working
    // folder is.
    void Start();

    // The company header belongs to the working folder: the first time it is needed after the
    // folder changed (an employee opened in another folder), it is read from that folder's
    // "Header.sav", or is empty when there is none or it cannot be read. Within one folder the
    // record keeps what the header window gave it.
    void FollowWorkingFolder();

    // The windows the employee operations close together.
    enum class Window {
        Main,
        UserInfo,
        Overtime,
        Leave,
        YearToDate,
        StateTax,
        CityTax,
        NonCityTax,
        Checks
    };
    // Closes each window that is loaded, in the order given.
    void CloseWindows(std::initializer_list<Window> windows);

    Host& host;

    // The open employee's name and the base name of every file of the employee; empty until an
    // employee is created or opened.
    std::string ActiveUser;
    float DefaultPayRate = kDefaultPayRate;
    // Set by the save window's Quit: the program is ending and nothing more may run.
    bool quitting = false;
    // Batch programs calculate without the save that ends every calculation on the desktop.
    bool saveEachCalculation = true;
    // Batch programs that never show the Explain window calculate without recording the working.
    bool explainEachCalculation = true;
    // While an employee is being opened: a damaged profile file has been reported already.
    bool profileDamageReported = false;
    // Marks ActiveUser as open in this copy of the program, for other running copies to see.
    EmployeeLock employeeLock;

    // Empty until the main window gives it the User Info window's defaults at start-up.
    EmployeeProfile profile;
    PayPeriodEntry entry;
    PayResult result;
    // The working of the last calculation the main window showed; empty before one, or after a
    // calculation was refused.
    CalcTrace lastTrace;
    FederalTables federal;
    StateTaxSettings stateSettings;
    CityTaxSettings citySettings;
    NonResidentTaxSettings nonResidentSettings;
    YtdRegister ytd;
    OvertimeAllowance overtime;
    LeaveBalances leave;
    CompanyHeader header;
    PrintOffsets offsets;
    ProfileReserved reserved;
    // The folder `header` was read in; empty before the first read.
    std::filesystem::path headerFolder;

    Form1 form1;
    frmDateMain dateMain;
    frmAboutSpcl aboutBox;
    DialogState dialogState;
    DialogCity dialogCity;
    DialogNonCity dialogNonCity;
    Form2 form2;
    frmDate dateOvertime;
    DialogVac dialogVac;
    DialogHeader dialogHeader;
    frmTaxInfo taxInfo;
    frmSaveUser saveUser;
    // The year-to-date view: the container first, since the grid and strip live inside it.
    MDIForm1 ytdContainer;
    frmYear ytdGrid;
    frmYearTot ytdTotals;
    frmChecks checks;
    dlgPrintSet printSet;
    frmExplain explain;
    frmReports reports;
    frmPayRun payRun;
};

}  // namespace kestrel

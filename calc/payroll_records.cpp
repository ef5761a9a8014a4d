#include "calc/payroll_records.h"

namespace kestrel {

EmployeeProfile NewEmployeeProfile() {
    EmployeeProfile p;
    p.FederalAllowances = "0";
    p.FederalStatus = "Single";
    p.StateStatus = "Single";
    p.StateAllowances = 0;
    p.WeeklyPay = true;
    p.BiWeeklyPay = false;
    p.KPlanIsPercent = 1;
    p.KPlanIsFixed = 0;
    p.EmployeeAddress = "Employee's Address for Check";
    p.EmployeeCityStateZip = "State, City Zip Code";
    p.EmployeeSsn = "Soc Sec #";
    p.EmployeeName = "Employee's Name";
    p.DeductionCaptions = {"CrUnion", "Bond", "Dues", "Pension", "Misc."};
    return p;
}

}  // namespace kestrel

#include "printing/pay_stub.h"

#include <optional>
#include <string>
#include <string_view>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/numbers.h"
#include "printing/printed_figures.h"
#include "ytd/year_to_date.h"

namespace kestrel {
namespace {

using printed::Amount;
using printed::Rate;
using printed::ShownAmount;

constexpr int kDescription = 5;
constexpr int kRate = 30;
constexpr int kHours = 50;
constexpr int kEarnings = 65;
constexpr int kCurrent = 100;
constexpr int kYearToDate = 115;
constexpr int kAside = 85;

// The hours typed into an entry, as the calculation reads them.
double EntryValue(const Form1Ui& main, std::size_t index) {
    return LeadingNumber(main.txtEntry[index]->Text());
}

std::string Banner() {
    return std::string(kProductName) + "  Version  " + VersionText();
}

void EarningsRow(PrintJob& job, std::string_view label, const std::string& rate,
                 const std::string& hours, double earnings) {
    job.At(kDescription, label);
    job.At(kRate, rate);
    job.At(kHours, hours);
    job.At(kEarnings, Amount(earnings));
}

void DeductionRow(PrintJob& job, std::string_view label, const Label* shown, float yearToDate) {
    job.At(kEarnings, label);
    job.At(kCurrent, ShownAmount(shown->Caption()));
    job.At(kYearToDate, Amount(yearToDate));
    job.NewLine();
}

void Rule(PrintJob& job) {
    job.At(kDescription, std::string(198, '-'));
    job.NewLine();
}

PrintJob StubJob(Program& program, const YtdTotals& ytd) {
    Host& host = program.host;
    const CompanyHeader& header = program.header;
    const EmployeeProfile& profile = program.profile;
    const PayPeriodEntry& entry = program.entry;
    const PayResult& result = program.result;
    Form1Ui& main = program.form1.ui();
    const std::string weekEnding = main.txtWeekEnd->Text();
    // The check preview may hold a number the user corrected for this check.
    const std::string ssn =
        program.checks.IsLoaded() ? program.checks.ui().txtUserSSnum->Text() : profile.EmployeeSsn;

    PrintJob job("Pay stub");
    job.SetFont("Arial", 11);
    job.NewLine();
    job.Text(header.CompanyName);
    job.NewLine();
    job.Text(header.CompanyAddress);
    job.NewLine();
    job.Text(header.CompanyZipCode);
    job.At(kAside, header.CompanyIdNumber);
    job.NewLine();

    job.SetFont("Arial", 10);
    job.Text(std::string(203, '-'));
    job.NewLine();
    job.Text("Employee:");
    job.At(20, program.ActiveUser);
    job.At(50, ssn);
    job.NewLine(2);
    job.At(kDescription, "Date:");
    job.At(15, host.ShortDate(host.Today()));
    job.At(kAside, "For Week Ending: " + weekEnding);
    job.NewLine(2);
    job.At(45, kProductName);
    job.At(65, "Version  " + VersionText());
    job.NewLine(6);

    // Earnings. The rate column shows the employee's own rate 1; the overtime rates, the
    // vacation pay and the earnings of rate 1 follow PayRate, which is 7.5 when the profile has
    // no rate, while holiday pay is figured on the profile's rate alone.
    const float payRate = result.PayRate;
    const float otRate = payRate * (main.opt1X->Value() ? 1.0f : 2.0f);
    const float otHours = static_cast<float>(EntryValue(main, 2));
    const std::string rate1Text = Rate(profile.HourlyRate1);
    job.At(kDescription, "Description");
    job.At(kRate, "Rate");
    job.At(kHours, "Hours");
    job.At(kEarnings, "Earnings");
    job.NewLine();
    Rule(job);
    EarningsRow(job, "Regular1 Earning", rate1Text, Rate(EntryValue(main, 0)), result.RegularPay1);
    job.NewLine();
    EarningsRow(job, "Regular2 Earning", Rate(profile.HourlyRate2), Rate(EntryValue(main, 1)),
                result.RegularPay2);
    job.NewLine();
    EarningsRow(job, "O.T. 1x / 2x Earned", Rate(otRate), Rate(otHours), otHours * otRate);
    job.NewLine();
    EarningsRow(job, "O.T. 1.5x Earned", Rate(payRate * 1.5f), Rate(EntryValue(main, 3)),
                entry.OtHrs * 1.5f * payRate);
    job.At(kAside, "YTD");
    job.NewLine();
    EarningsRow(job, "Tips", Rate(profile.TipsRate), Rate(entry.TipsHrs),
                profile.TipsRate * entry.TipsHrs);
    job.At(kAside, Amount(ytd.Tips.ToDouble()));
    job.NewLine();
    EarningsRow(job, "Holiday", rate1Text, Rate(EntryValue(main, 4)),
                profile.HourlyRate1 * entry.Avas);
    job.NewLine();
    EarningsRow(job, "Vacation/Sick", rate1Text, Rate(EntryValue(main, 5)), entry.VacDys * payRate);
    job.NewLine();
    EarningsRow(job, "Adjustment", Rate(EntryValue(main, 6)), std::string(),
                entry.Addit.ToDouble());
    job.NewLine(6);

    job.At(kEarnings, "Taxes / Deductions");
    job.At(kCurrent, "Current");
    job.At(kYearToDate, "YTD");
    job.NewLine();
    Rule(job);
    DeductionRow(job, "Federal Tax", main.lbTax[0], ytd.Federal);
    DeductionRow(job, "Social Security Tax", main.lbTax[1], ytd.SocialSecurity);
    DeductionRow(job, "Medicare Tax", main.lbTax[2], ytd.Medicare);
    DeductionRow(job, "State Tax", main.lbTax[3], ytd.State);
    DeductionRow(job, "City Tax", main.lbTax[4], ytd.City);
    DeductionRow(job, "State Disability Ins", main.lbSdi, ytd.Sdi);
    DeductionRow(job, "State Unemployment Ins", main.lbSui, ytd.Sui);
    DeductionRow(job, profile.DeductionCaptions[0], main.lbTax[5], ytd.CreditUnion);
    DeductionRow(job, profile.DeductionCaptions[1], main.lbTax[6], ytd.Bond);
    DeductionRow(job, profile.DeductionCaptions[2], main.lbTax[7], ytd.Dues);
    DeductionRow(job, profile.DeductionCaptions[3], main.lbTax[8], ytd.Pension);
    DeductionRow(job, profile.DeductionCaptions[4], main.lbTax[9], ytd.Misc);
    DeductionRow(job, "K-Plan", main.lbTax[10], ytd.KPlan);
    DeductionRow(job, "Cafeteria Plan", main.lbCafe, ytd.Cafeteria);
    job.NewLine(5);

    // The year's cafeteria total is summed with the taxes, though the period's cafeteria amount
    // is among its deductions: stubs printed over the years carry it so.
    const float ytdTaxes = ytd.SocialSecurity + ytd.Federal + ytd.Medicare + ytd.State + ytd.City +
                           ytd.Sdi + ytd.Sui + ytd.Cafeteria;
    const float ytdDeductions =
        ytd.CreditUnion + ytd.Pension + ytd.Bond + ytd.Dues + ytd.Misc + ytd.KPlan;
    job.At(kRate, "Earnings");
    job.At(kHours, "Taxes");
    job.At(kEarnings, "Deductions");
    job.At(kAside, "Net Pay");
    job.At(kCurrent, "Period Ending");
    job.NewLine();
    Rule(job);
    job.NewLine();
    job.At(kDescription, "Current");
    job.At(kRate, ShownAmount(main.lbGross->Caption()));
    job.At(kHours, ShownAmount(main.lbTaxes->Caption()));
    job.At(kEarnings, ShownAmount(main.lbDeduct->Caption()));
    job.At(kAside, ShownAmount(main.lbNet->Caption()));
    job.NewLine();
    job.At(kDescription, "YTD");
    job.At(kRate, Amount(ytd.Gross.ToDouble()));
    job.At(kHours, Amount(ytdTaxes));
    job.At(kEarnings, Amount(ytdDeductions));
    job.At(kAside, Amount(ytd.Net.ToDouble()));
    job.At(kCurrent, weekEnding);
    job.NewLine();
    Rule(job);

    job.SetFont("Arial", 6);
    job.At(kDescription, Banner());
    job.EndPage();
    return job;
}

// The register's totals as the employee's file holds them. While the year-to-date view is open
// the user may have posted or corrected rows not yet saved; reading the file into the register
// would throw that work away, so the file is read into a copy instead.
YtdTotals StoredTotals(Program& program) {
    if (program.ytdGrid.IsLoaded()) {
        YtdRegister stored;
        LoadAnnual(stored, program.ActiveUser, program.profile, program.host);
        AddAnnual(stored, program.profile, program.host);
        return stored.totals;
    }
    const YtdViews views = ViewsOf(program);
    LoadAnnual(program.ytd, program.ActiveUser, program.profile, program.host, views);
    AddAnnual(program.ytd, program.profile, program.host, views.totals);
    return program.ytd.totals;
}

}  // namespace

PrintJob PayStubJob(Program& program) {
    return StubJob(program, program.ytd.totals);
}

bool PrintText(Program& program) {
    // With no employee open there are no files of one to read: an empty base name would pick up
    // the default file set instead.
    program.FollowWorkingFolder();
    YtdTotals totals = program.ytd.totals;
    if (!program.ActiveUser.empty()) {
        LoadProfileFiles(program, /*withOvertime=*/false);
        totals = StoredTotals(program);
        // The leave balances are not on the stub; a leave window on screen keeps what the user
        // is typing into it.
        if (!program.dialogVac.IsVisible()) program.dialogVac.GetVac();
    }
    for (TextBox* box : program.form1.ui().txtEntry)
        if (box->Text().empty()) box->SetText("0");
    const std::string document =
        DocumentName({"Pay stub", program.ActiveUser, program.form1.ui().txtWeekEnd->Text()});
    if (!program.host.ChoosePrinter(document)) return false;
    program.host.Print(StubJob(program, totals));
    return true;
}

}  // namespace kestrel

#include "ytd/ytd_report.h"

#include <array>
#include <string>
#include <string_view>

#include "app/program.h"
#include "platform/numbers.h"

namespace kestrel {
namespace {

constexpr std::string_view kTotalFormat = "#####.00";
constexpr int kFirstColumn = 5;

struct ReportColumn {
    int column;
    const char* title;
    YtdColumn field;
};

// Left to right as printed. The titles are the report's own: the employee's deduction captions
// head only the on-screen views.
constexpr std::array<ReportColumn, 15> kReportColumns{{
    {17, "Federal", YtdColumn::Federal},
    {30, "SS", YtdColumn::SocialSecurity},
    {43, "MediCare", YtdColumn::Medicare},
    {56, "State", YtdColumn::State},
    {69, "City", YtdColumn::City},
    {82, "MCU", YtdColumn::CreditUnion},
    {95, "Bond", YtdColumn::Bond},
    {108, "Dues", YtdColumn::Dues},
    {121, "Pension", YtdColumn::Pension},
    {134, "Misc", YtdColumn::Misc},
    {145, "KPlan", YtdColumn::KPlan},
    {156, "Tips", YtdColumn::Tips},
    {172, "OT", YtdColumn::Overtime},
    {182, "Net", YtdColumn::Net},
    {197, "Gross", YtdColumn::Gross},
}};

// A row amount between blanks, the minus sign of a negative one standing in the leading blank,
// so the columns of positive amounts line up with each other.
std::string RowAmount(float value) {
    const std::string text = SingleText(value);
    return (text.front() == '-' ? "" : " ") + text + " ";
}

std::string Total(double value) {
    return FormatNumber(value, kTotalFormat);
}

double TotalOf(const YtdTotals& totals, YtdColumn column) {
    if (float YtdTotals::*member = TotalMember(column)) return totals.*member;
    switch (column) {
        case YtdColumn::Overtime:
            return totals.Overtime.ToDouble();
        case YtdColumn::Tips:
            return totals.Tips.ToDouble();
        case YtdColumn::Net:
            return totals.Net.ToDouble();
        default:
            return totals.Gross.ToDouble();
    }
}

}  // namespace

PrintJob YtdReportJob(Program& program) {
    Host& host = program.host;
    const CompanyHeader& header = program.header;
    const YtdRegister& ytd = program.ytd;
    const YtdTotals& totals = ytd.totals;

    PrintJob job("Year To Date");
    job.SetOrientation(PageOrientation::Landscape);
    job.SetFont("Arial", 10);
    job.Text(header.CompanyName);
    job.NewLine();
    job.Text(header.CompanyAddress);
    job.NewLine();
    job.Text(header.CompanyZipCode);
    job.At(134, header.CompanyIdNumber);
    job.NewLine();

    job.SetFont("Arial", 9);
    job.Text("Employee:");
    job.At(17, program.ActiveUser);
    job.At(145, host.ShortDate(host.Today()));
    job.NewLine();

    job.SetFont("Arial", 8);
    job.At(kFirstColumn, "Week");
    for (const ReportColumn& c : kReportColumns)
        job.At(c.column, c.title);
    job.NewLine();

    const int rows = RowCount(program.profile.WeeklyPay);
    for (int week = 1; week <= rows; ++week) {
        const YtdRow& row = ytd.Row(week);
        job.At(kFirstColumn, row.WeekEnding);
        for (const ReportColumn& c : kReportColumns)
            job.At(c.column, RowAmount(row.*ColumnMember(c.field)));
        job.NewLine();
    }

    job.At(kFirstColumn, std::string(291, '-'));
    job.NewLine();
    job.At(kFirstColumn, "TOTALS");
    for (const ReportColumn& c : kReportColumns)
        job.At(c.column, Total(TotalOf(totals, c.field)));
    job.NewLine();
    job.At(56, "Total Tips: " + Total(totals.Tips.ToDouble()));
    job.At(95, "Total SDI: " + Total(totals.Sdi));
    job.At(121, "Total SUI: " + Total(totals.Sui));
    job.At(145, "Total Cafeteria: " + Total(totals.Cafeteria));
    job.NewLine(2);

    job.SetFont("Arial", 6);
    job.At(kFirstColumn, std::string(kProductName) + "  Version  " + VersionText());
    job.EndPage();
    return job;
}

void PrintYr(Program& program) {
    if (!program.host.ChoosePrinter(DocumentName({"Year To Date", program.ActiveUser}))) return;
    program.FollowWorkingFolder();
    program.host.Print(YtdReportJob(program));
}

}  // namespace kestrel

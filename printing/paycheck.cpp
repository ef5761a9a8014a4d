#include "printing/paycheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "app/program.h"
#include "platform/numbers.h"
#include "printing/printed_figures.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

using printed::Amount;
using printed::Rate;
using printed::ShownAmount;

constexpr double kCheckFont = 11;
constexpr double kStubFont = 8;

// The check's own fields as the preview holds them, and each one's name on the alignment page.
struct CheckFields {
    std::string date;
    std::string payTo;
    std::string amount;
    std::string words;
    std::string name;
    std::string ssn;
    std::string address;
    std::string cityStateZip;
    std::string memo;
};

CheckFields FieldsOf(Program& program) {
    // The preview fills itself when it loads, so a check is never printed from empty fields.
    frmChecksUi& preview = program.checks.ui();
    CheckFields fields;
    fields.date = preview.txtCheckDate->Text();
    fields.payTo = preview.txtPayTo->Text();
    fields.amount = preview.txtCheckAmt->Text();
    fields.words = "*****" + program.checks.AmountWords() + "*****";
    fields.name = preview.txtUserName->Text();
    fields.ssn = preview.txtUserSSnum->Text();
    fields.address = preview.txtUserAddress->Text();
    fields.cityStateZip = preview.txtUserState->Text();
    fields.memo = preview.txtMemo->Text();
    return fields;
}

// The check from the top of the page to its memo line; H and V shift it. With `named`, each
// field is framed in brackets that stand just outside its columns, so its text lands exactly where
// the check's would, and its name stands beside it: after it on the left of the check, before it,
// with room for capitals wider than a column, on the right, where the page ends soon after.
void PrintCheckFace(PrintJob& job, const CheckFields& fields, int h, int v, bool named = false) {
    auto field = [&](int column, std::string_view name, const std::string& text) {
        if (!named) {
            job.At(column, text);
            return;
        }
        const int width = static_cast<int>(name.size());
        const int nameColumn = column - 3 - (width * 8 + 4) / 5;
        const bool before = column - h >= 60 && nameColumn >= 1;
        if (before) job.At(nameColumn, name);
        job.Framed(column - 1, "[" + text + "]");
        if (!before) job.Text(" " + std::string(name));
    };
    job.SetFont("Arial", kCheckFont);
    if (v + 1 > 0) job.NewLine(v + 1);
    field(h + 107, "DATE", fields.date);
    job.NewLine(3);
    field(h + 15, "PAY TO", fields.payTo);
    field(h + 102, "$", fields.amount);
    job.NewLine(2);
    field(h + 5, "DOLLARS", fields.words);
    job.NewLine(2);
    field(h + 15, "NAME", fields.name);
    field(h + 75, "SSN", fields.ssn);
    job.NewLine();
    field(h + 15, "ADDRESS", fields.address);
    job.NewLine();
    field(h + 15, "CITY STATE ZIP", fields.cityStateZip);
    job.NewLine(2);
    field(h + 10, "MEMO", fields.memo);
    job.NewLine();
}

// Everything a stub prints that does not depend on where it stands.
struct StubFigures {
    std::string payTo;
    std::string ssn;
    std::string date;
    std::string weekEnding;
    std::array<std::string, 8> entries;  // each "###.00"
    float payRate = 0;
    float otRate = 0;      // O
    float otEarnings = 0;  // OE
    float myTips = 0;
    float ytdTaxes = 0;
    float ytdDeductions = 0;
    std::string ytdGross;
    std::string ytdNet;
};

struct EarningsLine {
    std::string_view label;
    std::string rate;
    std::string hours;
    std::string earned;
};

struct DeductionLine {
    std::string name;
    std::string current;
    float yearToDate = 0;
};

void PrintStub(PrintJob& job, Program& program, const StubFigures& f, int h, int gap) {
    const EmployeeProfile& profile = program.profile;
    const PayPeriodEntry& entry = program.entry;
    const PayResult& result = program.result;
    const YtdTotals& ytd = program.ytd.totals;
    Form1Ui& main = program.form1.ui();
    const int d = h + 5, r = h + 30, hr = h + 45, e = h + 55, td = h + 65, c = h + 102, y = h + 125,
              taxes = h + 50, net = h + 85;

    job.At(d, f.payTo);
    job.At(hr, f.ssn);
    job.At(td, "For Week Ending: " + f.weekEnding);
    job.At(y, f.date);
    job.NewLine();
    job.At(d, "Description");
    job.At(r, "Rate");
    job.At(hr, "Hours");
    job.At(e, "Earnings");
    job.At(td, "Taxes/Deduct");
    job.At(c, "Current");
    job.At(y, "YTD");
    job.NewLine();
    job.At(d, std::string(198, '-'));
    job.NewLine();

    const std::array<DeductionLine, 14> deductions{{
        {"Federal Tax", ShownAmount(main.lbTax[0]->Caption()), ytd.Federal},
        {"Social Security Tax", ShownAmount(main.lbTax[1]->Caption()), ytd.SocialSecurity},
        {"Medicare Tax", ShownAmount(main.lbTax[2]->Caption()), ytd.Medicare},
        {"State Tax", ShownAmount(main.lbTax[3]->Caption()), ytd.State},
        {"City Tax", ShownAmount(main.lbTax[4]->Caption()), ytd.City},
        {"State Disability Ins", ShownAmount(main.lbSdi->Caption()), ytd.Sdi},
        {"State Unemployment Ins", ShownAmount(main.lbSui->Caption()), ytd.Sui},
        {profile.DeductionCaptions[0], ShownAmount(main.lbTax[5]->Caption()), ytd.CreditUnion},
        {profile.DeductionCaptions[1], ShownAmount(main.lbTax[6]->Caption()), ytd.Bond},
        {profile.DeductionCaptions[2], ShownAmount(main.lbTax[7]->Caption()), ytd.Dues},
        {profile.DeductionCaptions[3], ShownAmount(main.lbTax[8]->Caption()), ytd.Pension},
        {profile.DeductionCaptions[4], ShownAmount(main.lbTax[9]->Caption()), ytd.Misc},
        {"K-Plan", ShownAmount(main.lbTax[10]->Caption()), ytd.KPlan},
        {"Cafeteria Plan", ShownAmount(main.lbCafe->Caption()), ytd.Cafeteria},
    }};
    // The rate column shows the employee's own rate 1, and holiday pay is figured on it; the
    // earnings of rate 1, overtime and vacation follow PayRate, the default rate when the profile
    // has none. The pay stub prints them the same way.
    const std::string rate1 = Rate(profile.HourlyRate1);
    const std::array<EarningsLine, 8> earnings{{
        {"Regular1 Earning", rate1, f.entries[0], Amount(result.RegularPay1)},
        {"Regular2 Earning", Rate(profile.HourlyRate2), f.entries[1], Amount(result.RegularPay2)},
        {"O.T. 1x / 2x Earned", Rate(f.otRate), f.entries[2], Amount(f.otEarnings)},
        {"O.T. 1.5x Earned", Rate(1.5f * f.payRate), f.entries[3],
         Amount(entry.OtHrs * 1.5f * f.payRate)},
        {"Holiday", rate1, f.entries[4], Amount(profile.HourlyRate1 * entry.Avas)},
        {"Vacation/Sick", rate1, f.entries[5], Amount(entry.VacDys * f.payRate)},
        {"Adjustment", f.entries[6], "", Amount(entry.Addit.ToDouble())},
        {"Tips", Rate(profile.TipsRate), Rate(entry.TipsHrs), Amount(f.myTips)},
    }};
    for (std::size_t line = 0; line < deductions.size(); ++line) {
        if (line < earnings.size()) {
            job.At(d, earnings[line].label);
            job.At(r, earnings[line].rate);
            job.At(hr, earnings[line].hours);
            job.At(e, earnings[line].earned);
        }
        job.At(td, deductions[line].name);
        job.At(c, deductions[line].current);
        job.At(y, Amount(deductions[line].yearToDate));
        job.NewLine();
    }

    job.NewLine(gap);
    job.At(r, "Earnings");
    job.At(taxes, "Taxes");
    job.At(td, "Deductions");
    job.At(net, "Net Pay");
    job.NewLine();
    job.At(d, "Current");
    job.At(r, ShownAmount(main.lbGross->Caption()));
    job.At(taxes, ShownAmount(main.lbTaxes->Caption()));
    job.At(td, ShownAmount(main.lbDeduct->Caption()));
    job.At(net, ShownAmount(main.lbNet->Caption()));
    job.NewLine();
    job.At(d, "YTD");
    job.At(r, ShownAmount(f.ytdGross));
    job.At(taxes, Amount(f.ytdTaxes));
    job.At(td, Amount(f.ytdDeductions));
    job.At(net, ShownAmount(f.ytdNet));
}

StubFigures FiguresOf(Program& program, const CheckFields& fields) {
    const PayPeriodEntry& entry = program.entry;
    const YtdTotals& ytd = program.ytd.totals;
    Form1Ui& main = program.form1.ui();
    StubFigures f;
    f.payTo = fields.payTo;
    f.ssn = fields.ssn;
    f.date = fields.date;
    f.weekEnding = main.txtWeekEnd->Text();
    for (std::size_t i = 0; i < f.entries.size(); ++i)
        f.entries[i] = Rate(LeadingNumber(main.txtEntry[i]->Text()));
    f.payRate = program.result.PayRate;
    f.otRate = static_cast<float>(entry.OtMultiplier) * f.payRate;
    f.otEarnings = static_cast<float>(LeadingNumber(main.txtEntry[2]->Text())) * f.otRate;
    f.myTips = program.profile.TipsRate * entry.TipsHrs;
    f.ytdTaxes = ytd.Federal + ytd.SocialSecurity + ytd.Medicare + ytd.State + ytd.City + ytd.Sdi +
                 ytd.Sui + ytd.Cafeteria;
    f.ytdDeductions = ytd.CreditUnion + ytd.Pension + ytd.Bond + ytd.Dues + ytd.Misc + ytd.KPlan;
    // The totals strip's boxes when it is open (the user may have typed there), else the totals
    // as the strip would show them.
    if (program.ytdTotals.IsLoaded()) {
        f.ytdGross = program.ytdTotals.TotalText(YtdColumn::Gross);
        f.ytdNet = program.ytdTotals.TotalText(YtdColumn::Net);
    } else {
        f.ytdGross = Amount(ytd.Gross.ToDouble());
        f.ytdNet = Amount(ytd.Net.ToDouble());
    }
    return f;
}

int WholeOffset(float offset, float shift) {
    if (!std::isfinite(offset)) offset = 0;
    const float held =
        std::clamp(offset, -dlgPrintSet::kLargestOffset, dlgPrintSet::kLargestOffset);
    return static_cast<int>(RoundWholeEven(static_cast<double>(held) + shift));
}

}  // namespace

int CheckHorizontal(const PrintOffsets& offsets) {
    return WholeOffset(offsets.Horizontal, 0);
}

int CheckVertical(const PrintOffsets& offsets) {
    return WholeOffset(offsets.Vertical, 3);
}

PrintJob PaycheckJob(Program& program, int horizontal, int vertical) {
    const CheckFields fields = FieldsOf(program);
    const StubFigures figures = FiguresOf(program, fields);
    PrintJob job("Paycheck");
    PrintCheckFace(job, fields, horizontal, vertical);
    job.SetFont("Arial", kStubFont);
    job.NewLine(10);
    PrintStub(job, program, figures, horizontal, 2);
    job.SetFont("Arial", kStubFont);
    job.NewLine(8);
    PrintStub(job, program, figures, horizontal, 1);
    job.EndPage();
    return job;
}

PrintJob AlignmentJob(Program& program, int horizontal, int vertical) {
    PrintJob job("Check alignment");
    PrintCheckFace(job, FieldsOf(program), horizontal, vertical, true);
    job.EndPage();
    return job;
}

void PrintCheck(Program& program) {
    const std::string document =
        DocumentName({"Paycheck", program.ActiveUser, program.form1.ui().txtWeekEnd->Text()});
    if (!program.host.ChoosePrinter(document)) return;
    // The year-to-date view is put away for the check; its register and totals are what the
    // stubs print, from the file when the view was never opened.
    if (program.ytdContainer.IsLoaded()) {
        program.ytdContainer.Hide();
    } else {
        const YtdViews views = ViewsOf(program);
        LoadAnnual(program.ytd, program.ActiveUser, program.profile, program.host, views);
        AddAnnual(program.ytd, program.profile, program.host, views.totals);
    }
    Form1Ui& main = program.form1.ui();
    for (TextBox* box : main.txtEntry)
        if (box->Text().empty()) box->SetText("0");
    program.host.Print(
        PaycheckJob(program, CheckHorizontal(program.offsets), CheckVertical(program.offsets)));
}

}  // namespace kestrel

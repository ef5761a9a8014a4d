#include "calc/pay_calculation.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "calc/bracket_lookup.h"
#include "calc/payroll_taxes.h"
#include "calc/state_formulas.h"

namespace kestrel {

namespace {

float Single(double value) {
    return static_cast<float>(value);
}

Currency ToCurrency(double value) {
    return Currency::FromDouble(value);
}

// Rounds to cents but keeps a figure that overflowed as it is: rounding would make it 0, a
// plausible and wrong tax, and the caller must see it to refuse the period.
template <class Number>
Number Cents(Number value) {
    return std::isfinite(value) ? RoundCents(value) : value;
}

void TraceGrossPay(CalcTrace& trace, const EmployeeProfile& p, const PayPeriodEntry& entry,
                   const PayResult& r, bool overtimeOneTimes, float defaultPayRate) {
    const auto hours = [](float h) { return TraceNumber(h) + " h"; };
    const std::string rate = TraceAmount(r.PayRate);
    trace.Add(TraceFigure::GrossPay, "rate", {{"rate", r.PayRate}}, r.PayRate,
              p.HourlyRate1 != 0
                  ? "hourly rate 1: " + rate
                  : "hourly rate 1 not set: the default rate " + TraceAmount(defaultPayRate));
    struct Piece {
        const char* step;
        float amount;
        std::string text;
    };
    const std::array<Piece, 8> pieces{{
        {"straight time 1", entry.StrHrs, hours(entry.StrHrs) + " x " + rate},
        {"straight time 2", entry.StrHrs2,
         hours(entry.StrHrs2) + " x hourly rate 2 " + TraceAmount(p.HourlyRate2)},
        {"overtime", entry.OtVar,
         hours(entry.OtVar) + (overtimeOneTimes ? "" : " (doubled for 2X)") + " x " + rate},
        {"overtime 1.5", entry.OtHrs, hours(entry.OtHrs) + " x 1.5 x " + rate},
        {"holiday", entry.Avas, hours(entry.Avas) + " x " + rate},
        {"vacation", entry.VacDys, hours(entry.VacDys) + " x " + rate},
        {"dollar amount", static_cast<float>(entry.Addit.ToDouble()),
         "pay in dollar amount " + TraceAmount(entry.Addit.ToDouble())},
        {"tips", entry.TipsHrs, hours(entry.TipsHrs) + " x tips rate " + TraceAmount(p.TipsRate)},
    }};
    const std::array<double, 8> amounts{r.RegularPay1,
                                        r.RegularPay2,
                                        static_cast<double>(entry.OtVar) * r.PayRate,
                                        entry.OtHrs * 1.5 * r.PayRate,
                                        static_cast<double>(entry.Avas) * r.PayRate,
                                        static_cast<double>(r.PayRate) * entry.VacDys,
                                        entry.Addit.ToDouble(),
                                        r.TotalTips};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].amount == 0) continue;
        trace.Add(
            TraceFigure::GrossPay, pieces[i].step, {{"entry", pieces[i].amount}}, amounts[i],
            pieces[i].step + std::string(": ") + pieces[i].text + " = " + TraceAmount(amounts[i]));
    }
    trace.Add(
        TraceFigure::GrossPay, "total", {}, r.GrossPay,
        "the pieces, each taken to the ten-thousandth and added = " + TraceAmount(r.GrossPay));
    trace.Add(TraceFigure::Overtime, "overtime",
              {{"ot15", entry.OtHrs}, {"ot", entry.OtVar}, {"rate", r.PayRate}}, r.TotalOt,
              hours(entry.OtHrs) + " x 1.5 x " + rate + " + " + hours(entry.OtVar) + " x " + rate +
                  " = " + TraceAmount(r.TotalOt));
    trace.Add(TraceFigure::Tips, "tips", {{"hours", entry.TipsHrs}, {"rate", p.TipsRate}},
              r.TotalTips,
              hours(entry.TipsHrs) + " x tips rate " + TraceAmount(p.TipsRate) + " = " +
                  TraceAmount(r.TotalTips));
}

void TraceTotals(CalcTrace& trace, const PayResult& r) {
    const auto sum = [](std::initializer_list<std::pair<const char*, double>> parts) {
        std::string text;
        for (const auto& [name, value] : parts)
            text += (text.empty() ? "" : " + ") + std::string(name) + " " + TraceAmount(value);
        return text;
    };
    trace.Add(TraceFigure::Taxes, "sum", {}, r.TaxDeduct,
              sum({{"federal", r.FederalTax},
                   {"state", r.StateTax},
                   {"SDI", r.SdiTax},
                   {"SUI", r.SuiTax},
                   {"city", r.CityTax},
                   {"medicare", r.MedicareTax},
                   {"soc sec", r.SocSecTax}}) +
                  " = " + TraceAmount(r.TaxDeduct));
    trace.Add(TraceFigure::Deductions, "sum", {}, r.TotDeduct,
              sum({{"bond", r.Bond},
                   {"credit union", r.CreditUnion},
                   {"misc", r.Misc},
                   {"dues", r.Dues},
                   {"K plan", r.KPlanAmount},
                   {"pension", r.PensionAmount},
                   {"cafeteria", r.CafeteriaAmount}}) +
                  " = " + TraceAmount(r.TotDeduct));
    trace.Add(TraceFigure::NetPay, "net",
              {{"gross", r.GrossPay},
               {"taxes", r.TaxDeduct},
               {"deductions", r.TotDeduct},
               {"tips", r.TotalTips}},
              r.NetPay,
              "gross " + TraceAmount(r.GrossPay) + " - taxes " + TraceAmount(r.TaxDeduct) +
                  " - deductions " + TraceAmount(r.TotDeduct) + " - tips " +
                  TraceAmount(r.TotalTips) + " (already received) = " + TraceAmount(r.NetPay));
}

}  // namespace

PayResult ComputePay(const PayInputs& in, PayPeriodEntry& entry) {
    const EmployeeProfile& p = in.profile;
    CalcTrace* const trace = in.trace;
    const auto note = [trace](TraceFigure figure, std::string step, std::vector<TraceValue> values,
                              double result, std::string text) {
        trace->Add(figure, std::move(step), std::move(values), result, std::move(text));
    };
    // The rounding that ends a figure's section: what the window shows.
    const auto noteCents = [&](TraceFigure figure, double before, double after) {
        if (trace != nullptr) {
            note(figure, "rounded to cents", {{"before", before}}, after,
                 TraceNumber(before) + " rounded to cents = " + TraceAmount(after));
        }
    };
    PayResult r;
    r.CafeteriaAmount = p.Cafeteria;

    r.PayRate = p.HourlyRate1 != 0 ? p.HourlyRate1 : in.defaultPayRate;
    const float rate = r.PayRate;

    r.FederalAllowanceAmount =
        FederalAllowanceLookup(in.federal, p.FederalStatus, p.FederalAllowances);
    // The city exemption is looked up by the state status and count too.
    r.StateExemptionAmount =
        ExemptionLookup(in.state.SingleExemptions, in.state.MarriedExemptions, p);
    r.CityExemptionAmount = ExemptionLookup(in.city.SingleExemptions, in.city.MarriedExemptions, p);

    if (!in.overtimeOneTimes) entry.OtVar = entry.OtVar * 2;

    r.RegularPay1 = entry.StrHrs * rate;
    r.RegularPay2 = p.HourlyRate2 * entry.StrHrs2;
    const float otVarPay = entry.OtVar * rate;
    r.TotalOt = Single(entry.OtHrs * 1.5 * rate + otVarPay);
    r.TotalTips = p.TipsRate * entry.TipsHrs;

    // Each piece of gross pay goes to currency on its own, so the total is exact to the
    // ten-thousandth however the pieces were rounded in single precision.
    const float regular = r.RegularPay2 + r.RegularPay1;
    const float holiday = entry.Avas * rate;
    const Currency gross = ToCurrency(regular + entry.OtHrs * 1.5 * rate + holiday) + entry.Addit +
                           ToCurrency(otVarPay) + ToCurrency(rate * entry.VacDys) +
                           ToCurrency(r.TotalTips);
    r.GrossPay = gross.ToSingle();
    if (trace != nullptr)
        TraceGrossPay(*trace, p, entry, r, in.overtimeOneTimes, in.defaultPayRate);

    const double grossPay = r.GrossPay;
    r.KPlanAmount = p.KPlanIsPercent == 1 ? Single(p.KPlan * 0.01 * grossPay) : p.KPlan;
    r.PensionAmount = Single(p.Pension * 0.01 * grossPay);
    r.TaxableWages = r.GrossPay - r.KPlanAmount;
    if (trace != nullptr) {
        note(TraceFigure::KPlan, "K plan", {{"KPlan", p.KPlan}, {"gross", grossPay}}, r.KPlanAmount,
             p.KPlanIsPercent == 1 ? TraceNumber(p.KPlan) + "% of gross " + TraceAmount(grossPay) +
                                         " = " + TraceNumber(r.KPlanAmount)
                                   : "a fixed " + TraceNumber(p.KPlan) + " per period");
        note(TraceFigure::Pension, "pension", {{"Pension", p.Pension}, {"gross", grossPay}},
             r.PensionAmount,
             TraceNumber(p.Pension) + "% of gross " + TraceAmount(grossPay) + " = " +
                 TraceNumber(r.PensionAmount));
    }

    if (p.BiWeeklyPay) r.FederalAllowanceAmount = r.FederalAllowanceAmount * 2;
    // Four singles: each difference is rounded to single before the next, as the types say.
    r.FederalTaxableWages =
        r.TaxableWages - r.PensionAmount - r.FederalAllowanceAmount - r.CafeteriaAmount;
    if (trace != nullptr) {
        note(TraceFigure::FederalTax, "allowances",
             {{"allowances", LeadingNumber(p.FederalAllowances)}}, r.FederalAllowanceAmount,
             p.FederalAllowances + " allowances (" + p.FederalStatus + ") are worth " +
                 TraceAmount(r.FederalAllowanceAmount) +
                 (p.BiWeeklyPay ? " (the weekly figure doubled for bi-weekly pay)" : ""));
        note(TraceFigure::FederalTax, "taxable wages",
             {{"gross", grossPay},
              {"kPlan", r.KPlanAmount},
              {"pension", r.PensionAmount},
              {"allowances", r.FederalAllowanceAmount},
              {"cafeteria", r.CafeteriaAmount}},
             r.FederalTaxableWages,
             "wages " + TraceAmount(grossPay) + " less K plan " + TraceAmount(r.KPlanAmount) +
                 ", pension " + TraceAmount(r.PensionAmount) + ", allowances " +
                 TraceAmount(r.FederalAllowanceAmount) + " and cafeteria " +
                 TraceAmount(r.CafeteriaAmount) + " = " + TraceAmount(r.FederalTaxableWages));
    }

    if (p.FederalExempt == 0) {
        r.FederalTax = FederalWithholding(in.federal, p.FederalStatus != "Single", p.WeeklyPay,
                                          p.BiWeeklyPay, r.FederalTaxableWages, trace);
    }

    r.SocSecTax = GetSocSec(r.GrossPay, r.CafeteriaAmount, in.ytdGross, p.SelfEmployed == 1, trace);
    r.MedicareTax = MedicareTax(r.GrossPay, r.CafeteriaAmount, p.SelfEmployed == 1, trace);
    if (p.FicaExempt == 1) {
        r.MedicareTax = 0;
        r.SocSecTax = 0;
        if (trace != nullptr) {
            for (TraceFigure figure : {TraceFigure::SocSec, TraceFigure::Medicare})
                note(figure, "exempt", {}, 0, "S.S. & Medicare Tax Exempt: 0.00");
        }
    }

    r.CafeteriaStateDeduction = p.CafeteriaReducesState != 0 ? r.CafeteriaAmount : 0;

    // The special states see the federal tax before the additional amount and before rounding.
    const bool wholeDollarState =
        SpecialStateWithholding(in.state, p, in.ytdSocialSecurity, in.ytdMedicare, r, trace);
    if (!in.state.AnySpecialState()) StateTableWithholding(in.state, p, r, trace);
    CityWithholding(in.city, in.nonResident, p, r, trace);
    const SdiSui payroll = GetSDI_SUI(in.state, r.GrossPay, in.ytdGross, trace);
    r.SdiTax = payroll.sdi;
    r.SuiTax = payroll.sui;

    const float federalBefore = r.FederalTax;
    r.FederalTax = Cents(r.FederalTax + p.AdditionalFederal);
    if (trace != nullptr) {
        note(TraceFigure::FederalTax, "additional and rounding",
             {{"tax", federalBefore}, {"additional", p.AdditionalFederal}}, r.FederalTax,
             TraceNumber(federalBefore) + " + additional withholding " +
                 TraceAmount(p.AdditionalFederal) +
                 ", rounded to cents = " + TraceAmount(r.FederalTax));
    }
    const auto roundFigure = [&](TraceFigure figure, float& value) {
        const float before = value;
        value = Cents(value);
        noteCents(figure, before, value);
    };
    roundFigure(TraceFigure::SocSec, r.SocSecTax);
    roundFigure(TraceFigure::Medicare, r.MedicareTax);
    const auto fixedDeduction = [&](TraceFigure figure, float amount, float& into) {
        into = Cents(amount);
        if (trace != nullptr) {
            note(figure, "User Info", {{"amount", amount}}, into,
                 "the fixed amount in User Info, " + TraceNumber(amount) +
                     ", rounded to cents = " + TraceAmount(into));
        }
    };
    fixedDeduction(TraceFigure::CreditUnion, p.CreditUnion, r.CreditUnion);
    fixedDeduction(TraceFigure::Bond, p.Bond, r.Bond);
    fixedDeduction(TraceFigure::Dues, p.Dues, r.Dues);
    roundFigure(TraceFigure::Pension, r.PensionAmount);
    fixedDeduction(TraceFigure::Misc, p.Misc, r.Misc);
    roundFigure(TraceFigure::KPlan, r.KPlanAmount);
    roundFigure(TraceFigure::Sdi, r.SdiTax);
    roundFigure(TraceFigure::Sui, r.SuiTax);
    if (trace != nullptr) {
        note(TraceFigure::Cafeteria, "User Info", {{"amount", r.CafeteriaAmount}},
             r.CafeteriaAmount,
             "the cafeteria plan amount in User Info, " + TraceNumber(r.CafeteriaAmount));
    }
    roundFigure(TraceFigure::Cafeteria, r.CafeteriaAmount);
    const double cityBefore = r.CityTax;
    r.CityTax = Cents(r.CityTax);
    noteCents(TraceFigure::CityTax, cityBefore, r.CityTax);

    if (p.FederalExempt == 1) {
        r.FederalTax = 0;
        if (trace != nullptr)
            note(TraceFigure::FederalTax, "exempt", {}, 0, "Federal Tax Exempt: 0.00");
    }

    const float adjustment = in.windowStateAdjustment.value_or(in.state.StateAdjustment);
    const double stateBefore = r.StateTax;
    r.StateTax = Cents(r.StateTax + adjustment);
    if (trace != nullptr) {
        note(TraceFigure::StateTax, "adjustment and rounding",
             {{"tax", stateBefore}, {"adjustment", adjustment}}, r.StateTax,
             TraceNumber(stateBefore) + " + adjustment " + TraceNumber(adjustment) +
                 ", rounded to cents = " + TraceAmount(r.StateTax));
    }
    if (in.state.RoundState == 1 || wholeDollarState) {
        const double cents = r.StateTax;
        r.StateTax = RoundWholeEven(r.StateTax);
        if (trace != nullptr) {
            note(TraceFigure::StateTax, "whole dollars", {{"tax", cents}}, r.StateTax,
                 std::string(wholeDollarState ? "the state's formula" : "Round State") +
                     " takes whole dollars (halves to even): " + TraceAmount(cents) + " = " +
                     TraceAmount(r.StateTax));
        }
    }
    if (std::isfinite(r.StateTax) && r.StateTax < 0) {
        r.StateTax = 0;
        if (trace != nullptr)
            note(TraceFigure::StateTax, "not below zero", {}, 0, "below zero, so 0.00");
    }

    r.TaxDeduct = static_cast<double>(r.FederalTax) + r.StateTax + r.SdiTax + r.SuiTax + r.CityTax +
                  r.MedicareTax + r.SocSecTax;
    r.TotDeduct = r.Bond + r.CreditUnion + r.Misc + r.Dues + r.KPlanAmount + r.PensionAmount +
                  r.CafeteriaAmount;
    r.NetPay = Single(grossPay - (r.TaxDeduct + r.TotDeduct) - r.TotalTips);
    if (trace != nullptr) TraceTotals(*trace, r);
    return r;
}

std::optional<int> EntryBeyondRange(const PayInputs& in, const PayPeriodEntry& entry) {
    const EmployeeProfile& p = in.profile;
    const float rate = p.HourlyRate1 != 0 ? p.HourlyRate1 : in.defaultPayRate;
    const float otVar = in.overtimeOneTimes ? entry.OtVar : entry.OtVar * 2;
    // The pieces of gross pay in the order the calculation forms them, each with its entry.
    struct Piece {
        int entry;
        double amount;
    };
    const std::array<Piece, 4> first{{{0, entry.StrHrs * rate},
                                      {1, p.HourlyRate2 * entry.StrHrs2},
                                      {3, entry.OtHrs * 1.5 * rate},
                                      {4, entry.Avas * rate}}};
    double firstSum = 0;
    const Piece* largest = first.data();
    for (const Piece& piece : first) {
        if (!Currency::TryFromDouble(piece.amount)) return piece.entry;
        if (std::fabs(piece.amount) > std::fabs(largest->amount)) largest = &piece;
        firstSum += piece.amount;
    }
    auto total = Currency::TryFromDouble(firstSum);
    if (!total) return largest->entry;
    total = Currency::TrySum(*total, entry.Addit);
    if (!total) return 6;
    const std::array<Piece, 3> rest{
        {{2, otVar * rate}, {5, rate * entry.VacDys}, {7, p.TipsRate * entry.TipsHrs}}};
    for (const Piece& piece : rest) {
        const auto amount = Currency::TryFromDouble(piece.amount);
        if (!amount) return piece.entry;
        total = Currency::TrySum(*total, *amount);
        if (!total) return piece.entry;
    }
    return std::nullopt;
}

std::optional<PaySource> UnrepresentableSource(const PayResult& r, const EmployeeProfile& p) {
    // In the order the calculation forms them, so that the first figure that overflowed names
    // its source, not a later figure that inherited it.
    const PaySource city =
        p.NonCityResident == 1 ? PaySource::NonResidentTable : PaySource::CityTable;
    const std::initializer_list<std::pair<double, PaySource>> figures{
        {r.PayRate, PaySource::Profile},
        {r.RegularPay1, PaySource::Profile},
        {r.RegularPay2, PaySource::Profile},
        {r.TotalOt, PaySource::Profile},
        {r.TotalTips, PaySource::Profile},
        {r.GrossPay, PaySource::Profile},
        {r.KPlanAmount, PaySource::Profile},
        {r.PensionAmount, PaySource::Profile},
        {r.CafeteriaAmount, PaySource::Profile},
        {r.TaxableWages, PaySource::Profile},
        {r.CreditUnion, PaySource::Profile},
        {r.Bond, PaySource::Profile},
        {r.Dues, PaySource::Profile},
        {r.Misc, PaySource::Profile},
        {r.SocSecTax, PaySource::Profile},
        {r.MedicareTax, PaySource::Profile},
        {r.FederalAllowanceAmount, PaySource::FederalTables},
        {r.FederalTaxableWages, PaySource::FederalTables},
        {r.FederalTax, PaySource::FederalTables},
        {r.StateExemptionAmount, PaySource::StateTable},
        {r.CafeteriaStateDeduction, PaySource::StateTable},
        {r.StateTaxableWages, PaySource::StateTable},
        {r.StateTax, PaySource::StateTable},
        {r.CityExemptionAmount, city},
        {r.CityTaxableWages, city},
        {r.CityTax, city},
        {r.SdiTax, PaySource::Sdi},
        {r.SuiTax, PaySource::Sui},
        // Totals of figures that each fit: too large together, which the profile's deductions
        // are the likeliest to make.
        {r.TaxDeduct, PaySource::Profile},
        {r.TotDeduct, PaySource::Profile},
        {r.NetPay, PaySource::Profile}};
    for (const auto& [figure, source] : figures) {
        if (!std::isfinite(figure)) return source;
    }
    return std::nullopt;
}

std::string PaySourceText(PaySource source, const PaySourceFiles& files) {
    const auto of = [](std::string what, const std::string& file) {
        return file.empty() ? what : what + " of \"" + file + "\"";
    };
    switch (source) {
        case PaySource::Profile:
            return "the rates and deductions in User Info";
        case PaySource::FederalTables:
            return "the federal table file \"" + std::string(kFederalTableFile) + "\"";
        case PaySource::StateTable:
            return of("the state table", files.state);
        case PaySource::Sdi:
            return of("the SDI rate and base", files.state);
        case PaySource::Sui:
            return of("the SUI rate and base", files.state);
        case PaySource::CityTable:
            return of("the city table", files.city);
        case PaySource::NonResidentTable:
            return of("the non-resident table", files.nonResident);
    }
    return {};
}

PayDisplay FormatPayResult(const PayResult& r) {
    constexpr std::string_view kLine = "#,###.00";
    constexpr std::string_view kTotal = "$#,###.00";
    PayDisplay d;
    if (r.TaxableWages != 0) d.gross = FormatNumber(r.GrossPay, kTotal);
    d.taxes = FormatNumber(r.TaxDeduct, kTotal);
    d.deductions = FormatNumber(r.TotDeduct, kTotal);
    d.net = FormatNumber(r.NetPay, kTotal);
    d.overtime = FormatNumber(r.TotalOt, kTotal);
    d.tips = FormatNumber(r.TotalTips, kTotal);
    const std::array<double, 11> lines{r.FederalTax,    r.SocSecTax,   r.MedicareTax, r.StateTax,
                                       r.CityTax,       r.CreditUnion, r.Bond,        r.Dues,
                                       r.PensionAmount, r.Misc,        r.KPlanAmount};
    for (std::size_t i = 0; i < lines.size(); ++i)
        d.lines[i] = FormatNumber(lines[i], kLine);
    d.sdi = FormatNumber(r.SdiTax, kLine);
    d.sui = FormatNumber(r.SuiTax, kLine);
    d.cafeteria = FormatNumber(r.CafeteriaAmount, kLine);
    return d;
}

}  // namespace kestrel

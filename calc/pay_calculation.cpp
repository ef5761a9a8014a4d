#include "calc/pay_calculation.h"

#include <cmath>

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

}  // namespace

PayResult ComputePay(const PayInputs& in, PayPeriodEntry& entry) {
    const EmployeeProfile& p = in.profile;
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

    const double grossPay = r.GrossPay;
    r.KPlanAmount = p.KPlanIsPercent == 1 ? Single(p.KPlan * 0.01 * grossPay) : p.KPlan;
    r.PensionAmount = Single(p.Pension * 0.01 * grossPay);
    r.TaxableWages = r.GrossPay - r.KPlanAmount;

    if (p.BiWeeklyPay) r.FederalAllowanceAmount = r.FederalAllowanceAmount * 2;
    // Four singles: each difference is rounded to single before the next, as the types say.
    r.FederalTaxableWages =
        r.TaxableWages - r.PensionAmount - r.FederalAllowanceAmount - r.CafeteriaAmount;

    if (p.FederalExempt == 0) {
        r.FederalTax = FederalWithholding(in.federal, p.FederalStatus != "Single", p.WeeklyPay,
                                          p.BiWeeklyPay, r.FederalTaxableWages);
    }

    r.SocSecTax = GetSocSec(r.GrossPay, r.CafeteriaAmount, in.ytdGross, p.SelfEmployed == 1);
    r.MedicareTax = MedicareTax(r.GrossPay, r.CafeteriaAmount, p.SelfEmployed == 1);
    if (p.FicaExempt == 1) {
        r.MedicareTax = 0;
        r.SocSecTax = 0;
    }

    r.CafeteriaStateDeduction = p.CafeteriaReducesState != 0 ? r.CafeteriaAmount : 0;

    // The special states see the federal tax before the additional amount and before rounding.
    const bool wholeDollarState =
        SpecialStateWithholding(in.state, p, in.ytdSocialSecurity, in.ytdMedicare, r);
    if (!in.state.AnySpecialState()) StateTableWithholding(in.state, p, r);
    CityWithholding(in.city, in.nonResident, p, r);
    const SdiSui payroll = GetSDI_SUI(in.state, r.GrossPay, in.ytdGross);
    r.SdiTax = payroll.sdi;
    r.SuiTax = payroll.sui;

    r.FederalTax = Cents(r.FederalTax + p.AdditionalFederal);
    r.SocSecTax = Cents(r.SocSecTax);
    r.MedicareTax = Cents(r.MedicareTax);
    r.CreditUnion = Cents(p.CreditUnion);
    r.Bond = Cents(p.Bond);
    r.Dues = Cents(p.Dues);
    r.PensionAmount = Cents(r.PensionAmount);
    r.Misc = Cents(p.Misc);
    r.KPlanAmount = Cents(r.KPlanAmount);
    r.SdiTax = Cents(r.SdiTax);
    r.SuiTax = Cents(r.SuiTax);
    r.CafeteriaAmount = Cents(r.CafeteriaAmount);
    r.CityTax = Cents(r.CityTax);

    if (p.FederalExempt == 1) r.FederalTax = 0;

    const float adjustment = in.windowStateAdjustment.value_or(in.state.StateAdjustment);
    r.StateTax = Cents(r.StateTax + adjustment);
    if (in.state.RoundState == 1 || wholeDollarState) r.StateTax = RoundWholeEven(r.StateTax);
    if (std::isfinite(r.StateTax) && r.StateTax < 0) r.StateTax = 0;

    r.TaxDeduct = static_cast<double>(r.FederalTax) + r.StateTax + r.SdiTax + r.SuiTax + r.CityTax +
                  r.MedicareTax + r.SocSecTax;
    r.TotDeduct = r.Bond + r.CreditUnion + r.Misc + r.Dues + r.KPlanAmount + r.PensionAmount +
                  r.CafeteriaAmount;
    r.NetPay = Single(grossPay - (r.TaxDeduct + r.TotDeduct) - r.TotalTips);
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

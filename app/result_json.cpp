#include "app/result_json.h"

#include <array>
#include <cmath>

#include "app/terminal_text.h"
#include "calc/pay_calculation.h"

namespace kestrel {

bool JsonObject::Finite(std::string_view key, double value) {
    if (std::isfinite(value)) return true;
    if (!unrepresentable_) {
        unrepresentable_ = std::string(key) + " cannot be represented (" +
                           (std::isnan(value) ? "not a number" : "infinite") + ")";
    }
    return false;
}

void JsonObject::Number(std::string_view key, float value) {
    if (Finite(key, value)) Raw(key, SingleText(value));
}

void JsonObject::Number(std::string_view key, double value) {
    if (Finite(key, value)) Raw(key, DoubleText(value));
}

void JsonObject::String(std::string_view key, std::string_view value) {
    Raw(key, JsonQuoted(value));
}

void JsonObject::Raw(std::string_view key, std::string_view json) {
    text_ += text_.empty() ? "{" : ",";
    text_ += "\n  " + JsonQuoted(key) + ": " + std::string(json);
}

std::string JsonObject::Finish() const {
    return text_.empty() ? "{}" : text_ + "\n}";
}

std::string NestedJson(std::string json) {
    // Built afresh rather than inserted in place: a run's output of thousands of lines would
    // move its whole tail once per line.
    std::string nested;
    nested.reserve(json.size() + json.size() / 8);
    for (char c : json) {
        nested += c;
        if (c == '\n') nested += "  ";
    }
    return nested;
}

std::string ResultJson(const PayResult& r, const PayPeriodEntry& entry,
                       std::string_view tableVersion, Currency ytdGross,
                       std::optional<std::string>& unrepresentable) {
    JsonObject json;
    json.String("TableVersion", tableVersion);
    json.Raw("YtdGross", CurrencyText(ytdGross));
    json.Number("OtVar", entry.OtVar);
    json.Number("PayRate", r.PayRate);
    json.Number("RegularPay1", r.RegularPay1);
    json.Number("RegularPay2", r.RegularPay2);
    json.Number("TotalOt", r.TotalOt);
    json.Number("TotalTips", r.TotalTips);
    json.Number("GrossPay", r.GrossPay);
    json.Number("KPlanAmount", r.KPlanAmount);
    json.Number("PensionAmount", r.PensionAmount);
    json.Number("CafeteriaAmount", r.CafeteriaAmount);
    json.Number("TaxableWages", r.TaxableWages);
    json.Number("FederalAllowanceAmount", r.FederalAllowanceAmount);
    json.Number("FederalTaxableWages", r.FederalTaxableWages);
    json.Number("FederalTax", r.FederalTax);
    json.Number("SocSecTax", r.SocSecTax);
    json.Number("MedicareTax", r.MedicareTax);
    json.Number("StateExemptionAmount", r.StateExemptionAmount);
    json.Number("CityExemptionAmount", r.CityExemptionAmount);
    json.Number("CafeteriaStateDeduction", r.CafeteriaStateDeduction);
    json.Number("StateTaxableWages", r.StateTaxableWages);
    json.Number("CityTaxableWages", r.CityTaxableWages);
    json.Number("StateTax", r.StateTax);
    json.Number("CityTax", r.CityTax);
    json.Number("SdiTax", r.SdiTax);
    json.Number("SuiTax", r.SuiTax);
    json.Number("TaxDeduct", r.TaxDeduct);
    json.Number("TotDeduct", r.TotDeduct);
    json.Number("NetPay", r.NetPay);
    json.Number("CreditUnion", r.CreditUnion);
    json.Number("Bond", r.Bond);
    json.Number("Dues", r.Dues);
    json.Number("Misc", r.Misc);
    unrepresentable = json.Unrepresentable();

    const PayDisplay shown = FormatPayResult(r);
    JsonObject display;
    display.String("gross", shown.gross);
    display.String("taxes", shown.taxes);
    display.String("deductions", shown.deductions);
    display.String("net", shown.net);
    display.String("overtime", shown.overtime);
    display.String("tips", shown.tips);
    const std::array<const char*, 11> lineNames{"federal", "socialSecurity", "medicare", "state",
                                                "city",    "creditUnion",    "bond",     "dues",
                                                "pension", "misc",           "kPlan"};
    for (std::size_t k = 0; k < lineNames.size(); ++k)
        display.String(lineNames[k], shown.lines[k]);
    display.String("sdi", shown.sdi);
    display.String("sui", shown.sui);
    display.String("cafeteria", shown.cafeteria);
    json.Raw("display", NestedJson(display.Finish()));
    return json.Finish();
}

}  // namespace kestrel

#include "ytd/frm_year_tot.h"

#include "app/program.h"
#include "platform/numbers.h"
#include "ytd/frm_year.h"

namespace kestrel {

namespace {

constexpr std::size_t kFirstDeduction = 5;
constexpr int kBoxesTop = 210;
constexpr int kSecondLineTop = 552;
constexpr int kBoxHeight = 285;

std::string Shown(double value) {
    return FormatNumber(value, "#####.00");
}

// A fresh strip shows each total as its shortest text; money with up to four decimals.
std::string Fresh(const YtdTotals& t, YtdColumn column) {
    switch (column) {
        case YtdColumn::Overtime:
            return CurrencyText(t.Overtime);
        case YtdColumn::Net:
            return CurrencyText(t.Net);
        case YtdColumn::Gross:
            return CurrencyText(t.Gross);
        case YtdColumn::Tips:
            return CurrencyText(t.Tips);
        default: {
            float YtdTotals::*total = TotalMember(column);
            return total != nullptr ? SingleText(t.*total) : std::string();
        }
    }
}

}  // namespace

frmYearTot::frmYearTot(Program& program)
    : FormOf(program.host, "frmYearTot", FormKind::MdiChild), program_(program) {
    SetMdiParent(&program.ytdContainer);
}

void frmYearTot::BuildUi(frmYearTotUi& ui) {
    SetCaption("Totals");
    SetGeometry({0, frmYear::kWeeklyHeight, 10584 + 768 + 120, kHeight});
    for (std::size_t k = 0; k < kStripColumns.size(); ++k) {
        const GridColumnPlace place = GridColumn(kStripColumns[k]);
        const int index = static_cast<int>(k);
        ui.lbHeading[k] = &Add<Label>("lbHeading", {place.left, 0, place.width, 210}, index);
        ui.lbHeading[k]->SetCaption(place.heading);
        ui.lbHeading[k]->SetAlignment(Align::Center);
        ui.txtTotal[k] =
            &Add<TextBox>("txtTotal", {place.left, kBoxesTop, place.width, kBoxHeight}, index);
        ui.txtTotal[k]->SetAlignment(Align::Right);
        if (kStripColumns[k] == YtdColumn::Net || kStripColumns[k] == YtdColumn::Gross)
            ui.txtTotal[k]->SetAllowedKeys(std::string(kNumberKeys));
    }
    auto label = [this](const std::string& name, int left, int width, const char* caption) {
        auto& text = Add<Label>(name, {left, kSecondLineTop + 30, width, 240});
        text.SetCaption(caption);
        text.SetAlignment(Align::Right);
        return &text;
    };
    auto box = [this](const std::string& name, int left) {
        auto& total = Add<TextBox>(name, {left, kSecondLineTop, 768, kBoxHeight});
        total.SetAlignment(Align::Right);
        return &total;
    };
    ui.lbTotals = label("lbTotals", 132, 1000, "TOTALS:");
    ui.lbTotals->SetAlignment(Align::Left);
    ui.lbTotals->SetFont({0, true});
    ui.lbCafe = label("lbCafe", 1272, 1260, "Cafeteria Plan:");
    ui.txtCafe = box("txtCafe", 2604);
    ui.lbSdi = label("lbSdi", 3480, 660, "SDI:");
    ui.txtSdi = box("txtSdi", 4200);
    ui.lbSui = label("lbSui", 5076, 660, "SUI:");
    ui.txtSui = box("txtSui", 5796);
    ui.lbTips = label("lbTips", 6672, 660, "Tips:");
    ui.txtTips = box("txtTips", 7392);
}

void frmYearTot::OnLoad() {
    const YtdTotals& t = program_.ytd.totals;
    for (std::size_t k = 0; k < kStripColumns.size(); ++k)
        ui().txtTotal[k]->SetText(Fresh(t, kStripColumns[k]));
    ui().txtCafe->SetText(SingleText(t.Cafeteria));
    ui().txtSdi->SetText(SingleText(t.Sdi));
    ui().txtSui->SetText(SingleText(t.Sui));
    ui().txtTips->SetText(CurrencyText(t.Tips));
    for (std::size_t k = 0; k < 5; ++k)
        ui().lbHeading[kFirstDeduction + k]->SetCaption(program_.profile.DeductionCaptions[k]);
}

TextBox* frmYearTot::Box(YtdColumn column) {
    if (column == YtdColumn::Tips) return ui().txtTips;
    for (std::size_t k = 0; k < kStripColumns.size(); ++k) {
        if (kStripColumns[k] == column) return ui().txtTotal[k];
    }
    return nullptr;
}

std::string frmYearTot::TotalText(YtdColumn column) {
    return Box(column)->Text();
}

void frmYearTot::ShowTotals(const YtdTotals& t) {
    for (std::size_t k = 0; k < kStripColumns.size(); ++k) {
        const YtdColumn column = kStripColumns[k];
        double value = 0;
        switch (column) {
            case YtdColumn::Overtime:
                value = t.Overtime.ToDouble();
                break;
            case YtdColumn::Net:
                value = t.Net.ToDouble();
                break;
            case YtdColumn::Gross:
                value = t.Gross.ToDouble();
                break;
            default: {
                float YtdTotals::*total = TotalMember(column);
                value = total != nullptr ? t.*total : 0.0;
            }
        }
        ui().txtTotal[k]->SetText(Shown(value));
    }
    ui().txtCafe->SetText(Shown(t.Cafeteria));
    ui().txtSdi->SetText(Shown(t.Sdi));
    ui().txtSui->SetText(Shown(t.Sui));
    ui().txtTips->SetText(Shown(t.Tips.ToDouble()));
}

}  // namespace kestrel

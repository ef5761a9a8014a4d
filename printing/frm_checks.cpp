#include "printing/frm_checks.h"

#include <array>
#include <string_view>

#include "app/program.h"
#include "platform/numbers.h"
#include "printing/amount_in_words.h"

namespace kestrel {

namespace {

// Twips. The fields sit where a check has them: the company top left, the date top right, the
// payee line with the figure at its end, the words line, the employee's block, the memo.
constexpr int kMargin = 240;
constexpr int kBoxHeight = 300;
constexpr int kLabelHeight = 255;
constexpr int kWidth = 9000;
constexpr int kDateLabelLeft = 5700;
constexpr int kDateLeft = 6360;
constexpr int kPayToTop = 1320;
constexpr int kPayToLeft = 2580;
constexpr int kDollarSignLeft = 6960;
constexpr int kAmountLeft = 7200;
constexpr int kAmountWidth = kWidth - kMargin - kAmountLeft;
constexpr int kWordsTop = 1800;
constexpr int kDollarsLeft = 7680;
constexpr int kNameTop = 2400;
constexpr int kLinePitch = 360;
constexpr int kMemoTop = kNameTop + 3 * kLinePitch + 240;
constexpr int kHeight = kMemoTop + kBoxHeight + kMargin;

}  // namespace

std::string CheckAmountFigure(float netPay) {
    const double amount = static_cast<double>(netPay);
    const std::string full = FormatNumber(amount, "000000.00");
    if (full.size() != 9 || full.compare(0, 6, "000000") == 0) return full;
    const std::size_t zeros = full.find_first_not_of('0');
    // Six integer digits less the leading zeros: "00000.00" for one, down to "0.00" for five.
    static constexpr std::array<std::string_view, 6> kPatterns{"000000.00", "00000.00", "0000.00",
                                                               "000.00",    "00.00",    "0.00"};
    return std::string(zeros, '*') + FormatNumber(amount, kPatterns[zeros]);
}

frmChecks::frmChecks(Program& program)
    : FormOf(program.host, "frmChecks", FormKind::Modeless), program_(program) {
    // Coming back to the window (shown, uncovered, activated) refills the check from the latest
    // calculation, as the focus arriving does.
    Paint = [this] { Form_GotFocus(); };
}

void frmChecks::BuildUi(frmChecksUi& ui) {
    SetCaption("Check Printing");
    SetGeometry({0, 0, kWidth, kHeight});

    auto box = [this](const std::string& name, Rect where) { return &Add<TextBox>(name, where); };
    auto label = [this](const std::string& name, Rect where, std::string caption) {
        auto& text = Add<Label>(name, where);
        text.SetCaption(std::move(caption));
        return &text;
    };

    ui.txtCheckCompany = box("txtCheckCompany", {kMargin, 120, 4200, 1020});
    ui.txtCheckCompany->SetMultiLine(true);

    ui.lbDate = label("lbDate", {kDateLabelLeft, 480, 600, kLabelHeight}, "DATE");
    ui.txtCheckDate = box("txtCheckDate", {kDateLeft, 450, 1800, kBoxHeight});
    ui.txtCheckDate->SetToolTip("Change on Previous Form");

    ui.lbPayTo =
        label("lbPayTo", {kMargin, kPayToTop + 30, kPayToLeft - 60 - kMargin, kLabelHeight},
              "PAY TO THE ORDER OF");
    ui.lbPayTo->SetFont({0, true});
    ui.txtPayTo =
        box("txtPayTo", {kPayToLeft, kPayToTop, kDollarSignLeft - 120 - kPayToLeft, kBoxHeight});
    ui.lbDollarSign =
        label("lbDollarSign", {kDollarSignLeft, kPayToTop + 30, 180, kLabelHeight}, "$");
    ui.lbDollarSign->SetFont({0, true});
    ui.txtCheckAmt = box("txtCheckAmt", {kAmountLeft, kPayToTop, kAmountWidth, kBoxHeight});
    ui.txtCheckAmt->SetAlignment(Align::Right);

    ui.txtDollars =
        box("txtDollars", {kMargin, kWordsTop, kDollarsLeft - 120 - kMargin, kBoxHeight});
    ui.lbDollars = label(
        "lbDollars", {kDollarsLeft, kWordsTop + 30, kWidth - kMargin - kDollarsLeft, kLabelHeight},
        "DOLLARS");
    ui.lbDollars->SetFont({0, true});

    ui.txtUserName = box("txtUserName", {kMargin, kNameTop, 4200, kBoxHeight});
    ui.txtUserSSnum = box("txtUserSSnum", {4680, kNameTop, 1800, kBoxHeight});
    ui.txtUserAddress = box("txtUserAddress", {kMargin, kNameTop + kLinePitch, 4200, kBoxHeight});
    ui.txtUserState = box("txtUserState", {kMargin, kNameTop + 2 * kLinePitch, 4200, kBoxHeight});

    ui.lbMemo = label("lbMemo", {kMargin, kMemoTop + 30, 660, kLabelHeight}, "MEMO");
    ui.lbMemo->SetFont({0, true});
    ui.txtMemo = box("txtMemo", {kMargin + 720, kMemoTop, 3480, kBoxHeight});

    ui.mnuPrint = &AddMenu("mnuPrint", "Print");
    ui.mnuPrint->Click = [this] { mnuPrint_Click(); };
}

void frmChecks::OnLoad() {
    FillCheck(true);
}

void frmChecks::Form_Click() {
    FillCheck(false);
}

void frmChecks::Form_GotFocus() {
    FillCheck(false);
}

void frmChecks::mnuPrint_Click() {
    program_.printSet.Show();
}

void frmChecks::FillCheck(bool withDate) {
    frmChecksUi& fields = ui();
    const EmployeeProfile& profile = program_.profile;
    // A check cannot be written for less than nothing; the period's result itself says so from
    // here on, as the printed stubs do.
    float& netPay = program_.result.NetPay;
    if (netPay < 0) netPay = 0;

    fields.txtPayTo->SetText(profile.EmployeeName + "********");
    fields.txtUserName->SetText(profile.EmployeeName);
    fields.txtUserAddress->SetText(profile.EmployeeAddress);
    fields.txtUserState->SetText(profile.EmployeeCityStateZip);
    fields.txtUserSSnum->SetText(profile.EmployeeSsn);
    amountWords_ = AmountInWords(netPay);
    fields.txtDollars->SetText(amountWords_);
    fields.txtCheckAmt->SetText(CheckAmountFigure(netPay));
    if (withDate) fields.txtCheckDate->SetText(program_.form1.ui().txtWeekEnd->Text());
}

}  // namespace kestrel

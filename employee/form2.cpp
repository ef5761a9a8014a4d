#include "employee/form2.h"

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/numbers.h"
#include "platform/print_model.h"

namespace kestrel {

namespace {

// Twips. Rows 1-26 stand on the left, the totals and buttons in the middle, rows 27-52 on the
// right, where the bi-weekly window simply ends. The row pitch is tight so that 26 rows and the
// title bar fit a 768-pixel screen.
constexpr int kMargin = 120;
constexpr int kLineHeight = 255;
constexpr int kBoxHeight = 285;
constexpr int kRowPitch = 300;
constexpr int kHeadingsTop = 900;
constexpr int kHeadingsHeight = 450;  // room for a heading to wrap onto a second line
constexpr int kRowsTop = kHeadingsTop + kHeadingsHeight + 30;
constexpr int kRowsPerColumn = kOvertimeRows / 2;
constexpr int kRowNoWidth = 480;
constexpr int kDateOffset = kRowNoWidth + 60;
constexpr int kBoxWidth = 960;
constexpr int kAmountOffset = kDateOffset + kBoxWidth + 60;
constexpr int kColumnWidth = kAmountOffset + kBoxWidth;
constexpr std::array<int, 2> kColumnLeft{kMargin, Form2::kBiWeeklyWidth};
constexpr int kPanelLeft = kMargin + kColumnWidth + 120;
constexpr int kPanelWidth = Form2::kBiWeeklyWidth - kMargin - kPanelLeft;
constexpr int kFormHeight = kRowsTop + (kRowsPerColumn - 1) * kRowPitch + kBoxHeight + kMargin;

constexpr std::string_view kMoneyPattern = "$#,###.#0";
constexpr std::string_view kPercentPattern = "##.##%";
constexpr std::string_view kEnterAmounts =
    "Please enter amounts in\r\nAnnual Salary and\r\nApproved Percent Boxes.";
constexpr std::string_view kDateTip = "You have to go back 26 pay periods.";
constexpr std::string_view kAmountTip = "Fill in your o.t. for the past 26 weeks";

int RowTop(int row) {
    return kRowsTop + (row % kRowsPerColumn) * kRowPitch;
}

int ColumnLeft(int row) {
    return kColumnLeft[static_cast<std::size_t>(row / kRowsPerColumn)];
}

std::string NotANumber(const std::string& text, std::string_view box) {
    return "\"" + text + "\" in " + std::string(box) + " is not a number.\r\nNothing was totalled.";
}

}  // namespace

Form2::Form2(Program& program)
    : FormOf(program.host, "Form2", FormKind::Modeless), program_(program) {
    Paint = [this] { Total(false); };
    // The close box keeps what was typed, as Back does; only Undo goes back to the files.
    QueryUnload = [this](CloseReason reason) {
        if (reason == CloseReason::User) CopyRowsToRecord();
        return true;
    };
}

void Form2::BuildUi(Form2Ui& ui) {
    SetCaption("OverTime Percentage");
    SetGeometry({0, 0, kWeeklyWidth, kFormHeight});

    auto label = [this](const std::string& name, Rect where, std::string caption, int index = -1) {
        auto& text = Add<Label>(name, where, index);
        text.SetCaption(std::move(caption));
        return &text;
    };
    auto number = [this](const std::string& name, Rect where, int index = -1) {
        auto& box = Add<TextBox>(name, where, index);
        box.SetAllowedKeys(std::string(kNumberKeys));
        box.SetSelectAllOnFocus(true);
        box.SetAlignment(Align::Right);
        return &box;
    };

    ui.lbAnnual = label("lbAnnual", {kMargin, 150, 1500, kLineHeight}, "Annual Salary");
    ui.lbDollar = label("lbDollar", {1680, 150, 150, kLineHeight}, "$");
    ui.txtAnnual = number("txtAnnual", {1860, 120, 1200, kBoxHeight});
    ui.txtAnnual->SetToolTip("Look on your pay stub for SALARY");
    ui.lbApPercent =
        label("lbApPercent", {kMargin, 510, 3300, kLineHeight}, "Enter Your Approved Percentage");
    ui.txtApPercent = number("txtApPercent", {3480, 480, 900, kBoxHeight});
    ui.lbPercentSign = label("lbPercentSign", {4440, 510, 240, kLineHeight}, "%");

    BuildRows(ui);
    BuildResults(ui);
    BuildButtons(ui);
}

void Form2::BuildRows(Form2Ui& ui) {
    for (std::size_t c = 0; c < 2; ++c) {
        const int left = kColumnLeft[c];
        const int index = static_cast<int>(c);
        ui.lbWeekNo[c] =
            &Add<Label>("lbWeekNo", {left, kHeadingsTop, kRowNoWidth, kHeadingsHeight}, index);
        ui.lbWeekNo[c]->SetCaption("Week No.");
        ui.lbWeekEnding[c] = &Add<Label>(
            "lbWeekEnding", {left + kDateOffset, kHeadingsTop, kBoxWidth, kHeadingsHeight}, index);
        ui.lbWeekEnding[c]->SetCaption(" Week Ending");
        ui.lbWeekEnding[c]->SetToolTip(std::string(kDateTip));
        ui.lbOtOnly[c] = &Add<Label>(
            "lbOtOnly", {left + kAmountOffset, kHeadingsTop, kBoxWidth, kHeadingsHeight}, index);
        ui.lbOtOnly[c]->SetCaption(" O.T. Only");
        ui.lbOtOnly[c]->SetToolTip(std::string(kAmountTip));
    }
    for (int row = 0; row < kOvertimeRows; ++row) {
        const auto k = static_cast<std::size_t>(row);
        const int left = ColumnLeft(row);
        const int top = RowTop(row);
        ui.lbRow[k] = &Add<Label>("lbRow", {left, top + 15, kRowNoWidth, kLineHeight}, row);
        ui.lbRow[k]->SetCaption(std::to_string(row + 1));
        ui.lbRow[k]->SetAlignment(Align::Right);

        TextBox& date =
            Add<TextBox>("Text1", {left + kDateOffset, top, kBoxWidth, kBoxHeight}, row);
        date.SetSelectAllOnFocus(true);
        date.SetToolTip(std::string(kDateTip));
        date.KeyDown = [this, row](Key key) { MoveFocus(row, key, false); };
        date.Click = [this, row] { program_.dateOvertime.OpenForRow(row); };
        ui.Text1[k] = &date;

        TextBox& amount =
            Add<TextBox>("txtOT", {left + kAmountOffset, top, kBoxWidth, kBoxHeight}, row);
        amount.SetAllowedKeys(std::string(kNumberKeys));
        amount.SetSelectAllOnFocus(true);
        amount.SetAlignment(Align::Right);
        amount.SetToolTip(std::string(kAmountTip));
        amount.KeyDown = [this, row](Key key) { MoveFocus(row, key, true); };
        ui.txtOT[k] = &amount;
    }
}

void Form2::BuildResults(Form2Ui& ui) {
    ui.fraResults = &Add<Frame>("fraResults", {kPanelLeft, kHeadingsTop, kPanelWidth, 3705});
    ui.fraResults->SetCaption("Results");
    struct Figure {
        const char* name;
        const char* caption;
        const char* tip;
        int lines;  // the caption wraps in the narrow frame
        Label** captionLabel;
        Label** value;
    };
    const std::array<Figure, 4> figures{
        Figure{"lbEarned", "OverTime Earned", "Total from O.T. Only boxes", 1, &ui.lbEarnedCaption,
               &ui.lbEarned},
        Figure{"lbPresent", "You are at", "Present percent rate", 1, &ui.lbPresentCaption,
               &ui.lbPresent},
        Figure{"lbMax", "Max. allowable amount at approved percentage ",
               "Your limit at the approved % rate", 3, &ui.lbMaxCaption, &ui.lbMax},
        Figure{"lbAvailable", "Available overtime left", "The difference", 2,
               &ui.lbAvailableCaption, &ui.lbAvailable}};
    const int width = kPanelWidth - 240;
    int top = 300;
    for (const Figure& figure : figures) {
        const int height = figure.lines * 245 + 10;
        Label& caption =
            Add<Label>(std::string(figure.name) + "Caption", {120, top, width, height});
        caption.SetContainer(ui.fraResults);
        caption.SetCaption(figure.caption);
        caption.SetToolTip(figure.tip);
        *figure.captionLabel = &caption;
        top += height + 15;
        Label& value = Add<Label>(figure.name, {120, top, width, kBoxHeight});
        value.SetContainer(ui.fraResults);
        value.SetAlignment(Align::Right);
        value.SetBordered(true);
        value.SetToolTip(figure.tip);
        *figure.value = &value;
        top += kBoxHeight + 105;
    }

    const int captionWidth = 1140;
    const int valueLeft = kPanelLeft + captionWidth + 60;
    const int valueWidth = kPanelLeft + kPanelWidth - valueLeft;
    const int onTop = kHeadingsTop + 3705 + 150;
    ui.lbOnCaption =
        &Add<Label>("lbOnCaption", {kPanelLeft, onTop + 15, captionWidth, kLineHeight});
    ui.lbOnCaption->SetCaption("On:");
    ui.lbOn = &Add<Label>("lbOn", {valueLeft, onTop, valueWidth, kBoxHeight});
    ui.lbOn->SetAlignment(Align::Right);
    ui.lbOn->SetBordered(true);
    ui.lbOtPayCaption =
        &Add<Label>("lbOtPayCaption", {kPanelLeft, onTop + 375, captionWidth, kLineHeight});
    ui.lbOtPayCaption->SetCaption("OT Earned:");
    ui.lbOtPay = &Add<Label>("lbOtPay", {valueLeft, onTop + 360, valueWidth, kBoxHeight});
    ui.lbOtPay->SetAlignment(Align::Right);
    ui.lbOtPay->SetBordered(true);
}

void Form2::BuildButtons(Form2Ui& ui) {
    const int firstTop = kHeadingsTop + 3705 + 150 + 720 + 180;
    int top = firstTop;
    auto button = [this, &top](const std::string& name, std::string caption) {
        auto& command = Add<CommandButton>(name, {kPanelLeft, top, kPanelWidth, 405});
        command.SetCaption(std::move(caption));
        top += 480;
        return &command;
    };
    ui.cmdADD = button("cmdADD", "&TOTAL");
    ui.cmdADD->Click = [this] { cmdADD_Click(); };
    ui.cmdAdvance = button("cmdAdvance", "&New Week");
    ui.cmdAdvance->SetToolTip("Move up one pay period. Delete 1st wk, add new 26wk.");
    ui.cmdAdvance->Click = [this] { cmdAdvance_Click(); };
    ui.cmdUndo = button("cmdUndo", "&Undo");
    ui.cmdUndo->SetToolTip("ONLY BACK TO WHEN FIRST OPENED");
    ui.cmdUndo->Click = [this] { cmdUndo_Click(); };
    ui.cmdPrint = button("cmdPrint", "&Print");
    // A cancelled printer dialog prints nothing.
    ui.cmdPrint->Click = [this] {
        if (GetHost().ChoosePrinter(DocumentName({"Overtime", program_.ActiveUser})))
            GetHost().PrintFormImage(*this);
    };
    ui.cmdClose = button("cmdClose", "&Back");
    ui.cmdClose->Click = [this] { cmdClose_Click(); };
}

void Form2::OnLoad() {
    FillInOT();
    // Every row starts with an amount, the rows not in use too.
    for (TextBox* amount : ui().txtOT) {
        if (amount->Text().empty()) amount->SetText("0");
    }
}

int Form2::RowsInUse() const {
    return OvertimeRowCount(program_.profile.WeeklyPay);
}

void Form2::ShowFrequency() {
    Form2Ui& u = ui();
    const bool weekly = program_.profile.WeeklyPay;
    for (std::size_t k = kRowsPerColumn; k < kOvertimeRows; ++k) {
        u.lbRow[k]->SetVisible(weekly);
        u.Text1[k]->SetVisible(weekly);
        u.txtOT[k]->SetVisible(weekly);
    }
    u.lbWeekNo[1]->SetVisible(weekly);
    u.lbWeekEnding[1]->SetVisible(weekly);
    u.lbOtOnly[1]->SetVisible(weekly);
    Rect geometry = Geometry();
    geometry.width = weekly ? kWeeklyWidth : kBiWeeklyWidth;
    SetGeometry(geometry);
}

void Form2::OpenWindow(const std::string& overtimePay, const std::string& weekEnding) {
    Form2Ui& u = ui();
    u.lbOtPay->SetCaption(overtimePay);
    u.lbOn->SetCaption(weekEnding);
    ShowFrequency();
    // Drawing the window runs TOTAL.
    Show();
}

void Form2::FillInOT() {
    Form2Ui& u = ui();
    const OvertimeAllowance& ot = program_.overtime;
    u.txtAnnual->SetText(SingleText(ot.AnnualSalary));
    u.txtApPercent->SetText(SingleText(ot.ApprovedPercent));
    if (LeadingNumber(u.txtAnnual->Text()) == 0) u.txtAnnual->SetText("15600");
    const auto rows = static_cast<std::size_t>(RowsInUse());
    for (std::size_t k = 0; k < rows; ++k) {
        u.Text1[k]->SetText(ot.OtWeekEnding[k]);
        u.txtOT[k]->SetText(ot.OtAmount[k]);
    }
    ShowFrequency();
}

void Form2::ClearAll() {
    Form2Ui& u = ui();
    OvertimeAllowance& ot = program_.overtime;
    // A new employee keeps nothing of the one before: every row, and the salary shown, too.
    for (std::size_t k = 0; k < kOvertimeRows; ++k) {
        u.txtOT[k]->SetText("0");
        u.Text1[k]->SetText("");
        ot.OtAmount[k] = "0";
        ot.OtWeekEnding[k].clear();
    }
    u.txtApPercent->SetText("0");
    u.txtAnnual->SetText(SingleText(kNewEmployeeSalary));
    ot.OvertimeEarned = 0;
    ot.PresentPercent = 0;
    ShowFigure(*u.lbEarned, 0, kMoneyPattern);
    ShowFigure(*u.lbPresent, 0, kPercentPattern);
    ot.AnnualSalary = kNewEmployeeSalary;
    ot.ApprovedPercent = 0;
    ComputeLimit();
}

void Form2::StoreRows() {
    Form2Ui& u = ui();
    const auto rows = static_cast<std::size_t>(RowsInUse());
    for (std::size_t k = 0; k < rows; ++k) {
        if (u.txtOT[k]->Text().empty()) u.txtOT[k]->SetText("0");
    }
    CopyRowsToRecord();
}

void Form2::CopyRowsToRecord() {
    Form2Ui& u = ui();
    OvertimeAllowance& ot = program_.overtime;
    const auto rows = static_cast<std::size_t>(RowsInUse());
    for (std::size_t k = 0; k < rows; ++k) {
        ot.OtWeekEnding[k] = u.Text1[k]->Text();
        ot.OtAmount[k] = u.txtOT[k]->Text();
    }
}

OvertimeBoxTexts Form2::BoxTexts() {
    Form2Ui& u = ui();
    return {u.txtAnnual->Text(), u.txtApPercent->Text(), u.lbMax->Caption(),
            u.lbAvailable->Caption()};
}

void Form2::ShowFigure(Label& label, double value, std::string_view pattern) {
    label.SetCaption(FormatNumber(value, pattern));
}

void Form2::ComputeLimit() {
    Form2Ui& u = ui();
    OvertimeAllowance& ot = program_.overtime;
    ot.MaxAllowable = static_cast<float>(LeadingNumber(u.txtApPercent->Text()) * 0.01 *
                                         LeadingNumber(u.txtAnnual->Text()));
    ShowFigure(*u.lbMax, ot.MaxAllowable, kMoneyPattern);
    ot.OvertimeAvailable = ot.MaxAllowable - ot.OvertimeEarned;
    ShowFigure(*u.lbAvailable, ot.OvertimeAvailable, kMoneyPattern);
}

bool Form2::Total(bool fromButton) {
    Form2Ui& u = ui();
    auto refuse = [this, fromButton](std::string_view text) {
        if (fromButton) GetHost().MsgBox(text, MsgButtons::Ok, MsgIcon::Warning, "Attention");
        return false;
    };
    const std::string annualText = u.txtAnnual->Text();
    const std::string percentText = u.txtApPercent->Text();
    if (annualText.empty() || percentText.empty()) return refuse(kEnterAmounts);
    // The key filter lets "1-2" through; such a box stops the total rather than counting as 1.
    const std::optional<float> annual = StrictSingle(annualText);
    if (!annual) return refuse(NotANumber(annualText, "Annual Salary"));
    if (*annual == 0) return refuse(kEnterAmounts);
    const std::optional<float> percent = StrictSingle(percentText);
    if (!percent) return refuse(NotANumber(percentText, "Approved Percent"));

    OvertimeAllowance& ot = program_.overtime;
    const auto rows = static_cast<std::size_t>(RowsInUse());
    double earned = 0;
    for (std::size_t k = 0; k < rows; ++k) {
        TextBox& amount = *u.txtOT[k];
        if (amount.Text().empty()) amount.SetText("0");
        earned += LeadingNumber(amount.Text());
    }
    ot.OvertimeEarned = static_cast<float>(earned);
    ShowFigure(*u.lbEarned, ot.OvertimeEarned, kMoneyPattern);
    ot.PresentPercent =
        static_cast<float>(static_cast<double>(ot.OvertimeEarned) / LeadingNumber(annualText));
    ShowFigure(*u.lbPresent, ot.PresentPercent, kPercentPattern);
    ot.AnnualSalary = *annual;
    ot.ApprovedPercent = *percent;
    ComputeLimit();
    return true;
}

void Form2::cmdADD_Click() {
    Total(true);
}

void Form2::cmdAdvance_Click() {
    Form2Ui& u = ui();
    const auto rows = static_cast<std::size_t>(RowsInUse());
    for (std::size_t k = 0; k + 1 < rows; ++k) {
        u.Text1[k]->SetText(u.Text1[k + 1]->Text());
        u.txtOT[k]->SetText(u.txtOT[k + 1]->Text());
    }
    u.Text1[rows - 1]->SetText("");
    u.txtOT[rows - 1]->SetText("0");
}

void Form2::cmdUndo_Click() {
    // The stored files replace the whole profile in memory, not only the overtime rows; a damaged
    // file has been reported, and the window then shows what the record holds.
    LoadProfileFiles(program_);
    FillInOT();
}

void Form2::cmdClose_Click() {
    CopyRowsToRecord();
    Unload();
}

void Form2::MoveFocus(int row, Key key, bool amountColumn) {
    const int rows = RowsInUse();
    if (row >= rows) return;
    auto& column = amountColumn ? ui().txtOT : ui().Text1;
    int target = row;
    switch (key) {
        case Key::Enter:
            target = (row + 1) % rows;
            break;
        case Key::Down:
            if (row + 1 < rows) target = row + 1;
            break;
        case Key::Up:
            if (row > 0) target = row - 1;
            break;
        case Key::Right:
            if (!amountColumn) ui().txtOT[static_cast<std::size_t>(row)]->SetFocus();
            return;
        case Key::Left:
            if (amountColumn) ui().Text1[static_cast<std::size_t>(row)]->SetFocus();
            return;
        case Key::Escape:
        case Key::Space:
        case Key::Delete:
            return;
    }
    if (target != row) column[static_cast<std::size_t>(target)]->SetFocus();
}

}  // namespace kestrel

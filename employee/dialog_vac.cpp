#include "employee/dialog_vac.h"

#include <algorithm>
#include <limits>
#include <string>

#include "app/program.h"
#include "employee/help.h"
#include "employee/open_employee.h"
#include "employee/profile_files.h"
#include "platform/numbers.h"

namespace kestrel {

namespace {

using Amounts = std::array<float, kLeaveEntries>;
using Texts = std::array<std::string, kLeaveEntries>;
using Entries = DialogVacUi::Entries;

constexpr auto kEntries = static_cast<std::size_t>(kLeaveEntries);

// One leave account: its controls and its fields in the record.
struct Account {
    const char* caption;
    const char* frameName;
    Frame* DialogVacUi::*frame;
    const char* startName;
    TextBox* DialogVacUi::*start;
    const char* balanceName;
    Label* DialogVacUi::*balance;
    const char* takenName;
    Entries DialogVacUi::*taken;
    const char* datesName;
    Entries DialogVacUi::*dates;
    float LeaveBalances::*balanceField;
    float LeaveBalances::*startField;
    Amounts LeaveBalances::*takenField;
    Texts LeaveBalances::*datesField;
};

constexpr std::array<Account, 3> kAccounts{{
    {"Vacation", "fraVac", &DialogVacUi::fraVac, "txtVacBal", &DialogVacUi::txtVacBal, "lbVacBal",
     &DialogVacUi::lbVacBal, "txtVcnt", &DialogVacUi::txtVcnt, "txtVdate", &DialogVacUi::txtVdate,
     &LeaveBalances::VacationBalance, &LeaveBalances::VacationStart, &LeaveBalances::VacationTaken,
     &LeaveBalances::VacationDates},
    {"Holiday/Personel", "fraHol", &DialogVacUi::fraHol, "txtHolBal", &DialogVacUi::txtHolBal,
     "lbHolBal", &DialogVacUi::lbHolBal, "txtHcnt", &DialogVacUi::txtHcnt, "txtHdate",
     &DialogVacUi::txtHdate, &LeaveBalances::HolidayBalance, &LeaveBalances::HolidayStart,
     &LeaveBalances::HolidayTaken, &LeaveBalances::HolidayDates},
    {"Sick", "fraSick", &DialogVacUi::fraSick, "txtSickBal", &DialogVacUi::txtSickBal, "lbSickBal",
     &DialogVacUi::lbSickBal, "txtScnt", &DialogVacUi::txtScnt, "txtSdate", &DialogVacUi::txtSdate,
     &LeaveBalances::SickBalance, &LeaveBalances::SickStart, &LeaveBalances::SickTaken,
     &LeaveBalances::SickDates},
}};

// Twips. The three accounts stand side by side so that 20 entries each fit a 768-pixel screen.
constexpr int kMargin = 120;
constexpr int kHeadingTop = 120;
constexpr int kFramesTop = 480;
constexpr int kFrameWidth = 2820;
constexpr int kFramePitch = kFrameWidth + kMargin;
constexpr int kInnerLeft = 120;
constexpr int kInnerRight = kFrameWidth - 120;
constexpr int kBoxHeight = 300;
constexpr int kLabelHeight = 255;
constexpr int kStartTop = 300;
constexpr int kBalanceTop = 690;
constexpr int kHeadingsTop = 1080;
constexpr int kRowsTop = 1380;
constexpr int kRowPitch = 330;
constexpr int kTakenWidth = 900;
constexpr int kDatesLeft = kInnerLeft + kTakenWidth + 60;
constexpr int kFrameHeight = kRowsTop + (kLeaveEntries - 1) * kRowPitch + kBoxHeight + 150;
constexpr int kRightEdge = kMargin + 3 * kFramePitch - kMargin;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 390;
constexpr int kButtonsTop = kFramesTop + kFrameHeight + 150;

// A double beyond the single range would turn into infinity, which no record file can hold.
float ToSingle(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

// The taken amounts are summed in single precision, each addition rounded, and only the
// subtraction from the start is carried in double: 10 less 2.2 shows 7.79999995231628.
double Balance(const TextBox& start, const Entries& taken) {
    float sum = 0;
    for (const TextBox* box : taken)
        sum = sum + ToSingle(LeadingNumber(box->Text()));
    return LeadingNumber(start.Text()) - static_cast<double>(sum);
}

std::string DamagedMessage(const std::string& fileName, const ReadError& error) {
    return "The leave balances file is damaged and was not read:\r\n" +
           DescribeReadError(fileName, error) + "\r\nThe balances held before are kept.";
}

std::string NotSavedMessage(const std::string& fileName, const WriteResult& written) {
    return "The leave balances could not be saved to " + fileName + ":\r\n" + written.error +
           "\r\nThe file was left as it was.";
}

}  // namespace

DialogVac::DialogVac(Program& program)
    : FormOf(program.host, "DialogVac", FormKind::Modeless), program_(program) {}

void DialogVac::BuildUi(DialogVacUi& ui) {
    SetCaption("Vacation / Holiday / Sick");
    SetGeometry({0, 0, kRightEdge + kMargin, kButtonsTop + kButtonHeight + kMargin});

    auto label = [this](const std::string& name, int index, Rect where, std::string caption,
                        Frame* frame) {
        auto& text = Add<Label>(name, where, index);
        text.SetCaption(std::move(caption));
        text.SetContainer(frame);
        return &text;
    };
    auto box = [this](const std::string& name, int index, Rect where, Frame* frame, bool number) {
        auto& added = Add<TextBox>(name, where, index);
        added.SetSelectAllOnFocus(true);
        added.SetContainer(frame);
        if (number) {
            added.SetAllowedKeys(std::string(kNumberKeys));
            added.SetAlignment(Align::Right);
        }
        return &added;
    };

    ui.lbHeading = label("lbHeading", -1, {kMargin, kHeadingTop, kRightEdge - kMargin, 285},
                         "SAVED / ACCUMULATED DAYS", nullptr);
    ui.lbHeading->SetAlignment(Align::Center);
    ui.lbHeading->SetFont({0, true});

    for (std::size_t a = 0; a < kAccounts.size(); ++a) {
        const Account& account = kAccounts[a];
        const int index = static_cast<int>(a);
        Frame& frame = Add<Frame>(account.frameName, {kMargin + index * kFramePitch, kFramesTop,
                                                      kFrameWidth, kFrameHeight});
        frame.SetCaption(account.caption);
        ui.*account.frame = &frame;

        ui.lbStart[a] = label("lbStart", index, {kInnerLeft, kStartTop + 30, 1380, kLabelHeight},
                              "Start Balance", &frame);
        constexpr int kStartLeft = kInnerLeft + 1440;
        TextBox* start =
            box(account.startName, -1,
                {kStartLeft, kStartTop, kInnerRight - kStartLeft, kBoxHeight}, &frame, true);
        start->Change = [this, a] { ShowBalance(a); };
        ui.*account.start = start;

        ui.lbBalance[a] =
            label("lbBalance", index, {kInnerLeft, kBalanceTop + 30, 780, kLabelHeight}, "Balance",
                  &frame);
        constexpr int kValueLeft = kInnerLeft + 840;
        Label* balance =
            label(account.balanceName, -1,
                  {kValueLeft, kBalanceTop, kInnerRight - kValueLeft, kBoxHeight}, "", &frame);
        balance->SetBordered(true);
        balance->SetAlignment(Align::Right);
        ui.*account.balance = balance;

        ui.lbTaken[a] =
            label("lbTaken", index, {kInnerLeft, kHeadingsTop, kTakenWidth, kLabelHeight}, "#Taken",
                  &frame);
        ui.lbTaken[a]->SetAlignment(Align::Center);
        ui.lbDates[a] = label("lbDates", index,
                              {kDatesLeft, kHeadingsTop, kInnerRight - kDatesLeft, kLabelHeight},
                              "Dates", &frame);
        ui.lbDates[a]->SetAlignment(Align::Center);

        for (int row = 0; row < kLeaveEntries; ++row) {
            const auto k = static_cast<std::size_t>(row);
            const int top = kRowsTop + row * kRowPitch;
            TextBox* taken = box(account.takenName, row, {kInnerLeft, top, kTakenWidth, kBoxHeight},
                                 &frame, true);
            taken->Change = [this, a] { ShowBalance(a); };
            (ui.*account.taken)[k] = taken;
            (ui.*account.dates)[k] =
                box(account.datesName, row, {kDatesLeft, top, kInnerRight - kDatesLeft, kBoxHeight},
                    &frame, false);
        }
    }

    auto button = [this](const std::string& name, int left, std::string caption) {
        auto& command = Add<CommandButton>(name, {left, kButtonsTop, kButtonWidth, kButtonHeight});
        command.SetCaption(std::move(caption));
        return &command;
    };
    const int clearLeft = kRightEdge - kButtonWidth;
    ui.cmdSave = button("cmdSave", clearLeft - kMargin - kButtonWidth, "Save");
    ui.cmdSave->Click = [this] { cmdSave_Click(); };
    ui.cmdClearAll = button("cmdClearAll", clearLeft, "Clear All");
    ui.cmdClearAll->Click = [this] { cmdClearAll_Click(); };

    ui.mnuHelp = &AddMenu("mnuHelp", "&Help");
    ui.mnuHelp->Click = [this] { ShowHelpFile(GetHost()); };
}

// A window loaded afresh (after Save closed it, or by the full save) starts from the record,
// never from empty boxes: storing empty boxes would wipe the employee's leave.
void DialogVac::OnLoad() {
    ShowRecord();
}

void DialogVac::ShowRecord() {
    DialogVacUi& boxes = ui();
    const LeaveBalances& leave = program_.leave;
    for (const Account& account : kAccounts) {
        (boxes.*account.start)->SetText(SingleText(leave.*account.startField));
        for (std::size_t k = 0; k < kEntries; ++k) {
            (boxes.*account.taken)[k]->SetText(SingleText((leave.*account.takenField)[k]));
            (boxes.*account.dates)[k]->SetText((leave.*account.datesField)[k]);
        }
    }
    // The labels show what the boxes give, even when the file's balances disagree with them.
    ShowBalances();
}

void DialogVac::ShowBalance(std::size_t a) {
    const Account& account = kAccounts[a];
    DialogVacUi& boxes = ui();
    (boxes.*account.balance)
        ->SetCaption(DoubleText(Balance(*(boxes.*account.start), boxes.*account.taken)));
}

void DialogVac::ShowBalances() {
    for (std::size_t a = 0; a < kAccounts.size(); ++a)
        ShowBalance(a);
}

void DialogVac::OpenWindow() {
    if (IsVisible()) {
        Show();
        return;
    }
    GetVac();
    for (const Account& account : kAccounts) {
        TextBox* start = ui().*account.start;
        if (start->Text().empty()) start->SetText("0");
    }
    ShowBalances();
    Show();
}

void DialogVac::GetVac() {
    const std::filesystem::path file = EmployeeFile(program_.ActiveUser, kLeaveFileExtension);
    if (!FileMissing(file)) {
        if (const std::optional<ReadError> damage = ReadLeaveFile(file, program_.leave)) {
            ShowMessage(GetHost(), DamagedMessage(file.string(), *damage), MsgIcon::Warning);
        }
    }
    ShowRecord();
}

bool DialogVac::SaveVac() {
    DialogVacUi& boxes = ui();
    LeaveBalances& leave = program_.leave;
    for (const Account& account : kAccounts) {
        for (std::size_t k = 0; k < kEntries; ++k) {
            (leave.*account.takenField)[k] =
                ToSingle(LeadingNumber((boxes.*account.taken)[k]->Text()));
            // The file cannot hold a double quote; the box shows what is kept instead.
            TextBox* date = (boxes.*account.dates)[k];
            std::string text = SanitizeRecordText(date->Text());
            date->SetText(text);
            (leave.*account.datesField)[k] = std::move(text);
        }
        leave.*account.balanceField = ToSingle(LeadingNumber((boxes.*account.balance)->Caption()));
        leave.*account.startField = ToSingle(LeadingNumber((boxes.*account.start)->Text()));
    }

    const std::filesystem::path file = EmployeeFile(program_.ActiveUser, kLeaveFileExtension);
    RecordWriter records = LeaveRecords(file, leave);
    const WriteResult written = records.Commit();
    if (written) return true;
    ShowMessage(GetHost(), NotSavedMessage(file.string(), written), MsgIcon::Warning);
    return false;
}

void DialogVac::clearVac() {
    program_.leave = LeaveBalances{};
    ShowRecord();
}

void DialogVac::cmdSave_Click() {
    // With no employee open the window keeps its entries; the full save and Make Default call
    // SaveVac themselves.
    if (!EmployeeOpenOrTell(program_)) return;
    // A file that could not be written keeps the window open with the entries still in it.
    if (SaveVac()) Unload();
}

void DialogVac::cmdClearAll_Click() {
    clearVac();
}

}  // namespace kestrel

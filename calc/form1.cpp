#include "calc/form1.h"

#include "app/program.h"
#include "calc/net_to_gross.h"
#include "calc/pay_calculation.h"
#include "employee/employee_files.h"
#include "employee/help.h"
#include "employee/pay_period.h"
#include "printing/pay_stub.h"
#include "settings/state_presets.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

constexpr std::array<const char*, 11> kTaxCaptions{
    "Federal Tax", "Soc Sec",    "Medicare", "State Tax", "City Tax", "Muni Cr Union",
    "Bond",        "Union Dues", "Pension",  "Misc.",     "K Plan"};

// Entry 6 is money; the others are hours.
bool IsDollarEntry(int index) {
    return index == 6;
}

// The value an entry stands for; nullopt when it holds text that is not a number. A text whose
// leading number is 0 ("-", ".", "0-", "0 0") stands for 0, as the calculation turns every such
// entry into "0" before it reads them; anything else must be a number as a whole ("1-2" is not).
std::optional<double> EntryValue(int index, const std::string& text) {
    if (LeadingNumber(text) == 0) return 0.0;
    if (IsDollarEntry(index)) {
        const auto money = StrictCurrency(text);
        if (!money) return std::nullopt;
        return money->ToDouble();
    }
    const auto hours = StrictSingle(text);
    if (!hours) return std::nullopt;
    return *hours;
}

}  // namespace

Form1::Form1(Program& program) : FormOf(program.host, "Form1", FormKind::Main), program_(program) {
    QueryUnload = [this](CloseReason reason) {
        if (reason == CloseReason::User) {
            if (!CloseYearToDate(program_)) return false;
            AskToSave();
            program_.CloseWindows({Program::Window::Overtime, Program::Window::YearToDate,
                                   Program::Window::UserInfo, Program::Window::StateTax,
                                   Program::Window::CityTax, Program::Window::Checks});
            GetHost().Quit();
        }
        return true;
    };
}

void Form1::BuildUi(Form1Ui& ui) {
    SetCaption(std::string(kMakerName));
    SetGeometry({0, 0, 11520, 6600});

    ui.lbWeekEnding = &Add<Label>("lbWeekEnding", {240, 210, 1440, 255});
    ui.lbWeekEnding->SetCaption("WEEK ENDING:");
    ui.txtWeekEnd = &Add<TextBox>("txtWeekEnd", {1740, 150, 1200, 315});
    ui.txtWeekEnd->SetMaxLength(8);
    ui.txtWeekEnd->SetText(std::string(kCleared));
    ui.txtWeekEnd->SetToolTip("Click to pick the week-ending date");
    ui.txtWeekEnd->Change = [this] { program_.entry.WeekEnding = this->ui().txtWeekEnd->Text(); };
    ui.txtWeekEnd->Click = [this] { program_.dateMain.ShowModal(); };
    // The picker is the way to a valid date, so it must be reachable without a mouse.
    ui.txtWeekEnd->KeyDown = [this](Key key) {
        if (key == Key::Enter || key == Key::Down) program_.dateMain.ShowModal();
    };

    for (int i = 0; i < 8; ++i) {
        const int top = 720 + i * 420;
        auto& caption = Add<Label>("lbEntry", {240, top + 30, i == 2 ? 600 : 2700, 255}, i);
        caption.SetCaption(kEntryCaptions[static_cast<std::size_t>(i)]);
        ui.lbEntry[static_cast<std::size_t>(i)] = &caption;
        auto& entry = Add<TextBox>("txtEntry", {3000, top, 1200, 315}, i);
        entry.SetAllowedKeys(std::string(kNumberKeys));
        entry.SetSelectAllOnFocus(true);
        entry.SetAlignment(Align::Right);
        entry.KeyDown = [this, i](Key key) { MoveFocus(i, key); };
        ui.txtEntry[static_cast<std::size_t>(i)] = &entry;
    }
    ui.opt1X = &Add<OptionButton>("opt1X", {900, 720 + 2 * 420, 900, 315});
    ui.opt1X->SetCaption("(1X)");
    ui.opt1X->SetValue(true);
    ui.opt2X = &Add<OptionButton>("opt2X", {1860, 720 + 2 * 420, 900, 315});
    ui.opt2X->SetCaption("(2X)");

    ui.lbClearAdd = &Add<Label>("lbClearAdd", {240, 4140, 3960, 255});
    ui.lbClearAdd->SetCaption("    CLEAR               ADD");
    ui.cmdClear = &Add<CommandButton>("cmdClear", {360, 4440, 1440, 480});
    ui.cmdClear->SetCaption("C&lear");
    ui.cmdClear->Click = [this] { ClearEntries(); };
    ui.cmdCal = &Add<CommandButton>("cmdCal", {2160, 4440, 1440, 480});
    ui.cmdCal->SetCaption("&Calculate");
    ui.cmdCal->Click = [this] {
        if (CalculatePay()) this->ui().txtEntry[0]->SetFocus();
    };

    ui.fraResults = &Add<Frame>("fraResults", {4560, 90, 3900, 1860});
    ui.fraResults->SetCaption("Results");
    const std::array<const char*, 4> resultCaptions{"GROSS PAY", "TAXES", "DEDUCTIONS", "NET PAY"};
    const std::array<Label**, 4> resultCaptionLabels{&ui.lbGrossCaption, &ui.lbTaxesCaption,
                                                     &ui.lbDeductCaption, &ui.lbNetCaption};
    const std::array<const char*, 4> resultNames{"lbGross", "lbTaxes", "lbDeduct", "lbNet"};
    const std::array<Label**, 4> resultLabels{&ui.lbGross, &ui.lbTaxes, &ui.lbDeduct, &ui.lbNet};
    for (std::size_t k = 0; k < 4; ++k) {
        const int top = 330 + static_cast<int>(k) * 360;
        auto& caption = Add<Label>(std::string(resultNames[k]) + "Caption", {180, top, 1620, 285});
        caption.SetContainer(ui.fraResults);
        caption.SetCaption(resultCaptions[k]);
        caption.SetFont({0, true});
        *resultCaptionLabels[k] = &caption;
        auto& value = Add<Label>(resultNames[k], {1860, top, 1860, 285});
        value.SetContainer(ui.fraResults);
        value.SetAlignment(Align::Right);
        value.SetBordered(true);
        value.SetFont({0, true});
        *resultLabels[k] = &value;
    }
    ui.lbOverTimeCaption = &Add<Label>("lbOverTimeCaption", {8640, 420, 1080, 285});
    ui.lbOverTimeCaption->SetCaption("OverTime");
    ui.lbOverTime = &Add<Label>("lbOverTime", {9720, 420, 1560, 285});
    ui.lbOverTime->SetAlignment(Align::Right);
    ui.lbOverTime->SetBordered(true);
    ui.lbTipsCaption = &Add<Label>("lbTipsCaption", {8640, 780, 1080, 285});
    ui.lbTipsCaption->SetCaption("Tips");
    ui.lbTips = &Add<Label>("lbTips", {9720, 780, 1560, 285});
    ui.lbTips->SetAlignment(Align::Right);
    ui.lbTips->SetBordered(true);

    ui.fraTaxes = &Add<Frame>("fraTaxes", {4560, 2040, 6720, 2640});
    ui.fraTaxes->SetCaption("Taxes/Deductions");
    // Two columns of seven lines: the taxes on the left, the deductions on the right.
    auto place = [&](int slot, const std::string& name, int index, Label*& caption, Label*& value,
                     const std::string& text) {
        const int column = slot / 7;
        const int top = 330 + (slot % 7) * 315;
        const int left = column == 0 ? 180 : 3420;
        caption = &Add<Label>(name + "Caption", {left, top, 1700, 255}, index);
        caption->SetContainer(ui.fraTaxes);
        caption->SetCaption(text);
        value = &Add<Label>(name, {left + 1740, top, 1320, 255}, index);
        value->SetContainer(ui.fraTaxes);
        value->SetAlignment(Align::Right);
    };
    for (int i = 0; i < 11; ++i) {
        const auto k = static_cast<std::size_t>(i);
        place(i, "lbTax", i, ui.lbTaxCaption[k], ui.lbTax[k], kTaxCaptions[k]);
    }
    place(11, "lbSdi", -1, ui.lbSdiCaption, ui.lbSdi, "SDI");
    place(12, "lbSui", -1, ui.lbSuiCaption, ui.lbSui, "SUI");
    place(13, "lbCafe", -1, ui.lbCafeCaption, ui.lbCafe, "Cafeteria Plan");
    // A double click on a figure opens its working.
    const auto explains = [this](Label* figure, TraceFigure which) {
        figure->DblClick = [this, which] { program_.explain.OpenAt(which); };
    };
    explains(ui.lbGross, TraceFigure::GrossPay);
    explains(ui.lbTaxes, TraceFigure::Taxes);
    explains(ui.lbDeduct, TraceFigure::Deductions);
    explains(ui.lbNet, TraceFigure::NetPay);
    explains(ui.lbOverTime, TraceFigure::Overtime);
    explains(ui.lbTips, TraceFigure::Tips);
    for (std::size_t k = 0; k < ui.lbTax.size(); ++k)
        explains(ui.lbTax[k], static_cast<TraceFigure>(static_cast<int>(TraceFigure::FederalTax) +
                                                       static_cast<int>(k)));
    explains(ui.lbSdi, TraceFigure::Sdi);
    explains(ui.lbSui, TraceFigure::Sui);
    explains(ui.lbCafe, TraceFigure::Cafeteria);

    ui.cmdSavePrev = &Add<CommandButton>("cmdSavePrev", {240, 5040, 1920, 420});
    ui.cmdSavePrev->SetCaption("Save This Pay Period");
    ui.cmdPeriod = &Add<CommandButton>("cmdPeriod", {2280, 5040, 1920, 420});
    ui.cmdPeriod->SetCaption("Get Pay Period");

    ui.lbButtonRow = &Add<Label>("lbButtonRow", {4560, 4770, 6720, 255});
    ui.lbButtonRow->SetCaption("      YTD                 OT               VAC/HOL          PRINT");
    const std::array<const char*, 4> buttonNames{"cmdYear", "cmdOT", "cmdVac", "cmdPrint"};
    const std::array<const char*, 4> buttonCaptions{"Year to Date", "OverTime", "Vacation",
                                                    "Print"};
    const std::array<CommandButton**, 4> buttons{&ui.cmdYear, &ui.cmdOT, &ui.cmdVac, &ui.cmdPrint};
    for (std::size_t k = 0; k < 4; ++k) {
        *buttons[k] = &Add<CommandButton>(buttonNames[k],
                                          {4560 + static_cast<int>(k) * 1710, 5040, 1560, 420});
        (*buttons[k])->SetCaption(buttonCaptions[k]);
    }

    ui.lbTableCaption = &Add<Label>("lbTableCaption", {240, 5880, 2640, 255});
    ui.lbTableCaption->SetCaption("Federal Table: Cir E - Pub15");
    ui.lbTaxVer = &Add<Label>("lbTaxVer", {2940, 5880, 2400, 255});
    ui.lbFrequency = &Add<Label>("lbFrequency", {5460, 5880, 2700, 255});
    ui.lbFrequency->SetCaption("Weekly Tax Tables");
    ui.lbUser = &Add<Label>("lbUser", {8280, 5880, 3000, 255});
    ui.lbUser->SetCaption("USER");
    ui.lbUser->SetAlignment(Align::Right);
    ui.lbUser->SetFont({0, true});
    ui.lbStatus = &Add<Label>("lbStatus", {240, 6240, 11040, 255});

    ui.cmdSavePrev->Click = [this] { SavePayPeriod(program_); };
    ui.cmdPeriod->Click = [this] { LoadPayPeriod(program_); };
    ui.cmdOT->Click = [this] {
        program_.form2.OpenWindow(this->ui().lbOverTime->Caption(), this->ui().txtWeekEnd->Text());
    };
    ui.cmdVac->Click = [this] { program_.dialogVac.OpenWindow(); };
    ui.cmdYear->Click = [this] { OpenYearToDate(program_); };
    // The stub asks for the printer itself; asking here as well would make the user choose twice.
    ui.cmdPrint->Click = [this] { PrintText(program_); };
    BuildMenus(ui);
}

void Form1::BuildMenus(Form1Ui& ui) {
    int separators = 0;
    auto separator = [&](MenuItem* menu) {
        AddMenu("mnuSep" + std::to_string(++separators), "-", menu);
    };
    ui.mnuFile = &AddMenu("mnuFile", "&File");
    ui.mnuNew = &AddMenu("mnuNew", "&New", ui.mnuFile);
    ui.mnuNew->Click = [this] { mnuNew_Click(program_); };
    ui.mnuOpen = &AddMenu("mnuOpen", "&Open", ui.mnuFile);
    ui.mnuOpen->Click = [this] { mnuOpen_Click(program_); };
    ui.mnuSave = &AddMenu("mnuSave", "&Save", ui.mnuFile);
    ui.mnuSave->Click = [this] {
        if (CloseYearToDate(program_)) program_.saveUser.ShowSaveWindow();
    };
    separator(ui.mnuFile);
    ui.mnuChecks = &AddMenu("mnuChecks", "C&hecks", ui.mnuFile);
    separator(ui.mnuFile);
    ui.mnuPrintSheetItem = &AddMenu("mnuPrintSheetItem", "Print Sheet", ui.mnuFile);
    ui.mnuPrintItem = &AddMenu("mnuPrintItem", "&Print Image", ui.mnuFile);
    separator(ui.mnuFile);
    ui.mnuClearIitem = &AddMenu("mnuClearIitem", "&Clear", ui.mnuFile);
    ui.mnuClearIitem->Click = [this] { ClearEntries(); };
    ui.mnuExitItem = &AddMenu("mnuExitItem", "E&xit", ui.mnuFile);
    ui.mnuExitItem->Click = [this] { mnuExitItem_Click(); };

    ui.mnuForms = &AddMenu("mnuForms", "Fo&rms");
    ui.mnuVac = &AddMenu("mnuVac", "&Vacation", ui.mnuForms);
    ui.mnuOtItem = &AddMenu("mnuOtItem", "OT %", ui.mnuForms);
    ui.mnuYear = &AddMenu("mnuYear", "&Year to Date", ui.mnuForms);
    ui.mnuPayRun = &AddMenu("mnuPayRun", "Pay &Run", ui.mnuForms);
    ui.mnuPayRun->Click = [this] { program_.payRun.OpenWindow(); };
    ui.mnuReports = &AddMenu("mnuReports", "Re&ports", ui.mnuForms);
    ui.mnuReports->Click = [this] { program_.reports.OpenWindow(); };
    ui.mnuExplain = &AddMenu("mnuExplain", "E&xplain", ui.mnuForms);
    ui.mnuExplain->Click = [this] { program_.explain.OpenAt(); };
    ui.mnuNetToGross = &AddMenu("mnuNetToGross", "&Net to Gross...", ui.mnuForms);
    ui.mnuNetToGross->Click = [this] { NetToGrossClick(); };
    ui.mnuVac->Click = [this] { program_.dialogVac.OpenWindow(); };
    ui.mnuOtItem->Click = [this] {
        program_.form2.OpenWindow(this->ui().lbOverTime->Caption(), this->ui().txtWeekEnd->Text());
    };

    ui.mnuOptions = &AddMenu("mnuOptions", "&Options");
    ui.mnuHeader = &AddMenu("mnuHeader", "H&eader", ui.mnuOptions);
    separator(ui.mnuOptions);
    ui.mnuTaxInfoItem = &AddMenu("mnuTaxInfoItem", "&User Info", ui.mnuOptions);
    ui.mnuHeader->Click = [this] { program_.dialogHeader.OpenWindow(); };
    ui.mnuTaxInfoItem->Click = [this] { program_.taxInfo.OpenWindow(); };
    separator(ui.mnuOptions);
    ui.mnuState = &AddMenu("mnuState", "S&tate Tax", ui.mnuOptions);
    ui.mnuCity = &AddMenu("mnuCity", "C&ity Tax", ui.mnuOptions);
    ui.mnuNonCity = &AddMenu("mnuNonCity", "Non City Tax", ui.mnuOptions);
    ui.mnuState->Click = [this] { program_.dialogState.OpenWindow(); };
    ui.mnuCity->Click = [this] { program_.dialogCity.Show(); };
    ui.mnuNonCity->Click = [this] { program_.dialogNonCity.Show(); };

    ui.mnuHelp = &AddMenu("mnuHelp", "&Help");
    ui.mnuHelpItem = &AddMenu("mnuHelpItem", "He&lp", ui.mnuHelp);
    separator(ui.mnuHelp);
    ui.mnuAboutItem = &AddMenu("mnuAboutItem", "&About", ui.mnuHelp);
    ui.mnuAboutItem->Click = [this] { program_.aboutBox.ShowModal(); };
    ui.mnuHelpItem->Click = [this] { ShowHelpFile(GetHost()); };

    ui.mnuYear->Click = [this] { OpenYearToDate(program_); };
    ui.mnuChecks->Click = [this] { program_.checks.Show(); };
    ui.mnuPrintSheetItem->Click = [this] { PrintText(program_); };
    ui.mnuPrintItem->Click = [this] {
        const std::string document =
            DocumentName({"Main window", program_.ActiveUser, this->ui().txtWeekEnd->Text()});
        if (GetHost().ChoosePrinter(document)) GetHost().PrintFormImage(*this);
    };
}

void Form1::OnLoad() {
    LoadFederalTables(GetHost(), program_.federal);
    program_.DefaultPayRate = kDefaultPayRate;
    program_.result = PayResult{};
    BlankFigures();
    ui().lbTaxVer->SetCaption(program_.federal.TableVersion);
    // No employee is open: the profile takes what the User Info window would store, so the
    // deduction lines show the default captions.
    program_.profile = UserInfoDefaults(program_.profile);
    ShowProfileCaptions();
}

void Form1::ShowTableNotice(bool weeklyPay) {
    ui().lbFrequency->SetCaption(weeklyPay ? "Weekly Tax Tables" : "Bi-Weekly Tax Tables");
}

void Form1::ShowStatus(std::string text) {
    ui().lbStatus->SetCaption(std::move(text));
    ui().lbStatus->SetToolTip(ui().lbStatus->Caption());
}

void Form1::ShowProfileCaptions() {
    for (std::size_t k = 0; k < 5; ++k) {
        ui().lbTaxCaption[5 + k]->SetCaption(program_.profile.DeductionCaptions[k]);
    }
}

void Form1::MoveFocus(int entry, Key key) {
    int target = entry;
    if (key == Key::Enter) target = (entry + 1) % 8;
    if (key == Key::Down && entry < 7) target = entry + 1;
    if (key == Key::Up && entry > 0) target = entry - 1;
    if (target != entry) ui().txtEntry[static_cast<std::size_t>(target)]->SetFocus();
}

void Form1::BlankFigures() {
    for (Label* figure :
         {ui().lbGross, ui().lbNet, ui().lbTaxes, ui().lbDeduct, ui().lbOverTime, ui().lbTips}) {
        figure->SetCaption("");
    }
    // The working shown must always be that of the figures on the window.
    program_.lastTrace = CalcTrace{};
    program_.explain.Refresh();
}

std::optional<int> Form1::FirstBadEntry() {
    for (int i = 0; i < 8; ++i) {
        if (!EntryValue(i, ui().txtEntry[static_cast<std::size_t>(i)]->Text())) return i;
    }
    return std::nullopt;
}

PayPeriodEntry Form1::EntriesAsRead() {
    Form1Ui& u = ui();
    std::array<float, 8> hours{};
    for (std::size_t i = 0; i < 8; ++i) {
        hours[i] =
            static_cast<float>(EntryValue(static_cast<int>(i), u.txtEntry[i]->Text()).value_or(0));
    }
    PayPeriodEntry entry = program_.entry;
    entry.StrHrs = hours[0];
    entry.StrHrs2 = hours[1];
    entry.OtVar = hours[2];
    entry.OtHrs = hours[3];
    entry.Avas = hours[4];
    entry.VacDys = hours[5];
    const std::string& dollars = u.txtEntry[6]->Text();
    entry.Addit =
        LeadingNumber(dollars) == 0 ? Currency() : StrictCurrency(dollars).value_or(Currency());
    entry.TipsHrs = hours[7];
    entry.OtMultiplier = u.opt1X->Value() ? 1 : 2;
    entry.WeekEnding = u.txtWeekEnd->Text();
    return entry;
}

PayInputs Form1::PeriodInputs(const StateTaxSettings& state, float windowAdjustment) {
    PayInputs inputs{program_.profile, program_.federal, state, program_.citySettings,
                     program_.nonResidentSettings};
    inputs.ytdGross = program_.ytd.totals.Gross;
    inputs.ytdSocialSecurity = program_.ytd.totals.SocialSecurity;
    inputs.ytdMedicare = program_.ytd.totals.Medicare;
    inputs.windowStateAdjustment = windowAdjustment;
    inputs.defaultPayRate = program_.DefaultPayRate;
    inputs.overtimeOneTimes = ui().opt1X->Value();
    return inputs;
}

bool Form1::CalculatePay() {
    Form1Ui& u = ui();
    // Every entry must be a number before anything changes; the key filter lets "1-2" through.
    if (const auto bad = FirstBadEntry()) {
        RefuseEntry(*bad, "is not a number");
        return false;
    }
    // Absurd hours or amounts would make a gross pay that money cannot hold.
    {
        PayInputs inputs{program_.profile, program_.federal, program_.stateSettings,
                         program_.citySettings, program_.nonResidentSettings};
        inputs.defaultPayRate = program_.DefaultPayRate;
        inputs.overtimeOneTimes = u.opt1X->Value();
        if (const auto beyond = EntryBeyondRange(inputs, EntriesAsRead())) {
            RefuseEntry(*beyond, "makes an amount too large to calculate");
            return false;
        }
    }

    BlankFigures();
    LoadFederalTables(GetHost(), program_.federal);
    u.lbTaxVer->SetCaption(program_.federal.TableVersion);
    // Preparing the two settings windows brings the city and state settings up to date from the
    // employee's files, exactly as opening them does; they are closed again at the end.
    program_.dialogCity.Load();
    program_.dialogState.Load();
    // NO STATE TAX ticked in the open window is in memory at once. Its tables are cleared here as
    // preparing the window clears them, so the first calculation after the tick counts it, and
    // the save at the end writes the flag with the tables it goes with.
    if (program_.stateSettings.NoStateTax == 1)
        program_.stateSettings = PreparedStateSettings(program_.stateSettings, program_.profile);
    for (Label* line : u.lbTax)
        line->SetCaption("");

    for (std::size_t i = 0; i < 8; ++i) {
        if (LeadingNumber(u.txtEntry[i]->Text()) == 0) u.txtEntry[i]->SetText("0");
    }
    PayPeriodEntry& entry = program_.entry;
    entry = EntriesAsRead();

    // The state routines work with the allowance in memory; only the insurance step takes the
    // adjustment and the allowance afresh from the window.
    StateTaxSettings fresh = program_.stateSettings;
    program_.dialogState.TakeAdjustments(fresh);

    PayInputs inputs = PeriodInputs(program_.stateSettings, fresh.StateAdjustment);
    CalcTrace trace;
    if (program_.explainEachCalculation) inputs.trace = &trace;
    const PayResult computed = ComputePay(inputs, entry);
    if (const auto source = UnrepresentableSource(computed, program_.profile)) {
        // Refused before anything is shown or saved: the files keep what they held.
        const std::string& user = program_.ActiveUser;
        const PaySourceFiles files{user + std::string(kStateFileExtension),
                                   user + std::string(kCityFileExtension),
                                   user + std::string(kNonResidentFileExtension)};
        GetHost().MsgBox("The figures of this period are too large to be worked out: check " +
                             PaySourceText(*source, files) + ".\r\nNothing was calculated.",
                         MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
        BlankZeroEntries();
        program_.federal.ClearValues();
        program_.dialogCity.Unload();
        program_.dialogState.Unload();
        return false;
    }
    PayResult& r = program_.result;
    r = computed;
    program_.stateSettings.StateAdjustment = fresh.StateAdjustment;
    program_.stateSettings.CaliforniaAllowance = fresh.CaliforniaAllowance;
    // The fixed deductions are rounded to cents in the profile itself.
    program_.profile.CreditUnion = r.CreditUnion;
    program_.profile.Bond = r.Bond;
    program_.profile.Dues = r.Dues;
    program_.profile.Misc = r.Misc;

    const PayDisplay shown = FormatPayResult(r);
    u.lbGross->SetCaption(shown.gross);
    for (std::size_t k = 0; k < shown.lines.size(); ++k)
        u.lbTax[k]->SetCaption(shown.lines[k]);
    u.lbSdi->SetCaption(shown.sdi);
    u.lbSui->SetCaption(shown.sui);
    u.lbCafe->SetCaption(shown.cafeteria);
    u.lbTaxes->SetCaption(shown.taxes);
    u.lbDeduct->SetCaption(shown.deductions);
    u.lbNet->SetCaption(shown.net);
    u.lbOverTime->SetCaption(shown.overtime);
    u.lbTips->SetCaption(shown.tips);
    program_.lastTrace = std::move(trace);
    program_.explain.Refresh();

    BlankZeroEntries();
    // The tables are read afresh by every calculation and never linger in memory.
    program_.federal.ClearValues();
    // Every calculation ends by saving the employee's whole file set, as the save window's Save
    // does. With no employee open there is nothing to save to.
    if (!program_.ActiveUser.empty() && program_.saveEachCalculation) program_.saveUser.FullSave();
    program_.dialogCity.Unload();
    program_.dialogState.Unload();
    return true;
}

void Form1::NetToGrossClick() {
    Form1Ui& u = ui();
    const auto typed = GetHost().InputBox("Net pay wanted:", "Net to Gross");
    if (!typed) return;
    const std::optional<Currency> target = StrictCurrency(*typed);
    if (!target) {
        GetHost().MsgBox("\"" + *typed + "\" is not an amount.", MsgButtons::Ok, MsgIcon::Warning,
                         kAppTitle);
        return;
    }
    if (const auto bad = FirstBadEntry()) {
        RefuseEntry(*bad, "is not a number");
        return;
    }
    if (!LoadFederalTables(GetHost(), program_.federal)) return;
    // The settings exactly as Calculate prepares them, without keeping anything.
    program_.dialogCity.Load();
    program_.dialogState.Load();
    StateTaxSettings state = program_.stateSettings;
    if (state.NoStateTax == 1) state = PreparedStateSettings(state, program_.profile);
    StateTaxSettings fresh = state;
    program_.dialogState.TakeAdjustments(fresh);
    const auto found =
        NetToGross(PeriodInputs(state, fresh.StateAdjustment), EntriesAsRead(), *target);
    program_.federal.ClearValues();
    program_.dialogCity.Unload();
    program_.dialogState.Unload();
    if (!found) {
        GetHost().MsgBox("No pay in dollar amount brings the net pay to " +
                             FormatNumber(target->ToDouble(), "$#,###.00") + ".",
                         MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
        return;
    }
    u.txtEntry[6]->SetText(CurrencyText(found->amount));
    CalculatePay();
}

void Form1::RefuseEntry(int index, std::string_view why) {
    TextBox& box = *ui().txtEntry[static_cast<std::size_t>(index)];
    GetHost().MsgBox("\"" + box.Text() + "\" in " +
                         kEntryCaptions[static_cast<std::size_t>(index)] + " " + std::string(why) +
                         ".\r\nNothing was calculated.",
                     MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
    box.SetFocus();
}

void Form1::ClearEntries() {
    Form1Ui& u = ui();
    for (TextBox* entry : u.txtEntry)
        entry->SetText("");
    for (Label* line : u.lbTax)
        line->SetCaption("");
    u.lbSdi->SetCaption("");
    u.lbSui->SetCaption("");
    u.lbCafe->SetCaption("");
    PayResult& r = program_.result;
    r.TaxableWages = 0;
    r.GrossPay = 0;
    r.NetPay = 0;
    r.TotDeduct = 0;
    r.TaxDeduct = 0;
    r.FederalTax = 0;
    r.StateTax = 0;
    r.CityTax = 0;
    r.SdiTax = 0;
    r.SuiTax = 0;
    program_.stateSettings.StateAdjustment = 0;
    BlankFigures();
    u.txtWeekEnd->SetText(std::string(kCleared));
}

void Form1::BlankZeroEntries() {
    for (std::size_t i = 0; i < 8; ++i) {
        TextBox& entry = *ui().txtEntry[i];
        const auto value = EntryValue(static_cast<int>(i), entry.Text());
        if (value && *value == 0) entry.SetText("");
    }
}

void Form1::mnuExitItem_Click() {
    if (!CloseYearToDate(program_)) return;
    AskToSave();
    GetHost().Quit();
}

void Form1::AskToSave() {
    const MsgResult answer = GetHost().MsgBox("     SAVE USER'S SETTINGS?", MsgButtons::YesNo,
                                              MsgIcon::Question, "Save?");
    if (answer == MsgResult::Yes) program_.saveUser.ShowSaveWindow();
}

}  // namespace kestrel

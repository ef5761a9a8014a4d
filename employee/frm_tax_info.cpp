#include "employee/frm_tax_info.h"

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/open_employee.h"
#include "employee/profile_files.h"
#include "platform/numbers.h"

namespace kestrel {

namespace {

constexpr int kBoxHeight = 315;
constexpr int kRowPitch = 390;
constexpr int kLeft = 120;
constexpr int kMiddle = 4200;
constexpr int kMiddleWidth = 3000;
constexpr int kRight = 7320;
constexpr int kRightWidth = 2760;
constexpr int kFormWidth = kRight + kRightWidth + 120;
constexpr int kButtonsTop = 5040;
constexpr int kFormHeight = kButtonsTop + 420 + 180;

// An exemption count as the lists offer it: a whole number from 0 to 9.
std::optional<std::int16_t> ExemptionCount(const std::string& text) {
    return AllowanceCount(text);
}

std::string NotANumber(std::string_view box, std::string_view text) {
    return "\"" + std::string(text) + "\" in " + std::string(box) +
           " is not a number.\r\nNothing was stored.";
}

}  // namespace

void NormaliseKPlan(EmployeeProfile& p) {
    if (p.KPlanIsPercent == 0 && p.KPlanIsFixed == 0) {
        p.KPlanIsPercent = 1;
    } else if (p.KPlanIsPercent == 1) {
        p.KPlanIsFixed = 0;
    } else if (p.KPlanIsFixed == 1) {
        p.KPlanIsPercent = 0;
    }
}

EmployeeProfile UserInfoDefaults(EmployeeProfile p) {
    if (p.FederalAllowances.empty()) p.FederalAllowances = "0";
    if (p.FederalStatus.empty()) p.FederalStatus = "Single";
    if (p.StateStatus.empty() || p.StateStatus == "0") p.StateStatus = "Single";
    if (p.EmployeeName.empty()) p.EmployeeName = "Employee's Name";
    if (p.EmployeeAddress.empty()) p.EmployeeAddress = "Employee's Address for Check";
    if (p.EmployeeCityStateZip.empty()) p.EmployeeCityStateZip = "City, State Zip Code";
    if (p.EmployeeSsn.empty()) p.EmployeeSsn = "Soc Sec #";
    if (!p.WeeklyPay && !p.BiWeeklyPay) p.WeeklyPay = true;
    NormaliseKPlan(p);
    for (std::size_t k = 0; k < 5; ++k) {
        if (p.DeductionCaptions[k].empty()) p.DeductionCaptions[k] = kDefaultDeductionCaptions[k];
    }
    // The box shows the rate as its shortest text and reads it back, so only 0 itself changes.
    if (p.HourlyRate1 == 0) p.HourlyRate1 = kDefaultPayRate;
    return p;
}

frmTaxInfo::frmTaxInfo(Program& program)
    : FormOf(program.host, "frmTaxInfo", FormKind::Modal), program_(program) {}

void frmTaxInfo::BuildUi(frmTaxInfoUi& ui) {
    SetCaption("User Info");
    SetGeometry({0, 0, kFormWidth, kFormHeight});

    auto label = [this](const std::string& name, Rect where, std::string caption,
                        Frame* frame = nullptr) {
        auto& text = Add<Label>(name, where);
        text.SetCaption(std::move(caption));
        if (frame != nullptr) text.SetContainer(frame);
        return &text;
    };
    auto sign = [this, &ui](Rect where, const char* text, Frame* frame = nullptr) {
        auto& mark = Add<Label>("lbSign", where, static_cast<int>(ui.lbSign.size()));
        mark.SetCaption(text);
        mark.SetAlignment(Align::Right);
        if (frame != nullptr) mark.SetContainer(frame);
        ui.lbSign.push_back(&mark);
    };
    auto text = [this](const std::string& name, Rect where, int index = -1) {
        return &Add<TextBox>(name, where, index);
    };
    auto amount = [this](const std::string& name, Rect where, Frame* frame = nullptr) {
        auto& box = Add<TextBox>(name, where);
        box.SetAllowedKeys(std::string(kNumberKeys));
        box.SetSelectAllOnFocus(true);
        box.SetAlignment(Align::Right);
        if (frame != nullptr) box.SetContainer(frame);
        return &box;
    };
    auto list = [this](const std::string& name, Rect where, Frame* frame,
                       std::initializer_list<const char*> items, bool editable) {
        auto& combo = Add<ComboBox>(name, where);
        for (const char* item : items)
            combo.AddItem(item);
        combo.SetEditable(editable);
        combo.SetSelectAllOnFocus(true);
        combo.SetContainer(frame);
        return &combo;
    };
    auto check = [this](const std::string& name, Rect where, std::string caption, Frame* frame) {
        auto& box = Add<CheckBox>(name, where);
        box.SetCaption(std::move(caption));
        box.SetContainer(frame);
        return &box;
    };

    // The employee, and the three rates below.
    const std::array<std::pair<Label**, TextBox**>, 4> identity{
        std::pair{&ui.lbName, &ui.txtName}, std::pair{&ui.lbAddress, &ui.txtAddress},
        std::pair{&ui.lbStateCityZip, &ui.txtStateCityZip}, std::pair{&ui.lbSSnum, &ui.txtSSnum}};
    const std::array<const char*, 4> identityNames{"Name", "Address", "StateCityZip", "SSnum"};
    const std::array<const char*, 4> identityCaptions{"Name", "Address", "City, State Zip",
                                                      "Soc. Sec. #"};
    for (std::size_t k = 0; k < identity.size(); ++k) {
        const int top = 120 + static_cast<int>(k) * kRowPitch;
        *identity[k].first = label(std::string("lb") + identityNames[k],
                                   {kLeft, top + 45, 1260, 255}, identityCaptions[k]);
        *identity[k].second =
            text(std::string("txt") + identityNames[k], {kLeft + 1320, top, 2640, kBoxHeight});
    }
    const std::array<std::pair<Label**, TextBox**>, 3> rates{
        std::pair{&ui.lbHourRate, &ui.txtHourRate}, std::pair{&ui.lbHourRate2, &ui.txtHourRate2},
        std::pair{&ui.lbTipsRate, &ui.txtTipsRate}};
    const std::array<const char*, 3> rateNames{"HourRate", "HourRate2", "TipsRate"};
    const std::array<const char*, 3> rateCaptions{"Hourly Rate 1", "Hourly Rate 2", "Tips Rate"};
    for (std::size_t k = 0; k < rates.size(); ++k) {
        const int top = 1800 + static_cast<int>(k) * kRowPitch;
        *rates[k].first =
            label(std::string("lb") + rateNames[k], {kLeft, top + 45, 1260, 255}, rateCaptions[k]);
        sign({kLeft + 1320, top + 45, 240, 255}, "$");
        *rates[k].second =
            amount(std::string("txt") + rateNames[k], {kLeft + 1620, top, 1200, kBoxHeight});
    }
    ui.fraPay = &Add<Frame>("fraPay", {kLeft, 3060, 3960, 720});
    ui.fraPay->SetCaption("Pay Frequency");
    ui.optWeek = &Add<OptionButton>("optWeek", {240, 300, 1560, 285});
    ui.optWeek->SetCaption("Weekly");
    ui.optWeek->SetContainer(ui.fraPay);
    ui.optBiWeek = &Add<OptionButton>("optBiWeek", {1980, 300, 1680, 285});
    ui.optBiWeek->SetCaption("Bi-Weekly");
    ui.optBiWeek->SetContainer(ui.fraPay);

    // Federal status, then state and city status.
    ui.fraFederal = &Add<Frame>("fraFederal", {kMiddle, 60, kMiddleWidth, 2400});
    ui.fraFederal->SetCaption("FEDERAL STATUS");
    ui.lbStatus = label("lbStatus", {120, 345, 1140, 255}, "Status", ui.fraFederal);
    ui.cboStatus = list("cboStatus", {1320, 300, 1560, kBoxHeight}, ui.fraFederal,
                        {"Single", "Married"}, false);
    ui.lbDepend = label("lbDepend", {120, 735, 1140, 255}, "Exemptions", ui.fraFederal);
    ui.cboDepend = list("cboDepend", {1320, 690, 1560, kBoxHeight}, ui.fraFederal,
                        {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, true);
    ui.ckFedExemp =
        check("ckFedExemp", {120, 1080, 2760, 285}, "Federal Tax Exempt", ui.fraFederal);
    ui.lbFedAddL = label("lbFedAddL", {120, 1440, 2760, 255}, "Additional Federal Withholdings",
                         ui.fraFederal);
    sign({1020, 1845, 240, 255}, "$", ui.fraFederal);
    ui.txtFedAddL = amount("txtFedAddL", {1320, 1800, 1560, kBoxHeight}, ui.fraFederal);

    ui.fraState = &Add<Frame>("fraState", {kMiddle, 2580, kMiddleWidth, 2280});
    // "&&" shows one ampersand.
    ui.fraState->SetCaption("STATE && CITY STATUS");
    ui.lbStatus2 = label("lbStatus2", {120, 345, 1140, 255}, "Status", ui.fraState);
    ui.cboStatus2 = list("cboStatus2", {1320, 300, 1560, kBoxHeight}, ui.fraState,
                         {"Single", "Married"}, false);
    ui.lbDepend2 = label("lbDepend2", {120, 735, 1140, 255}, "Exemptions", ui.fraState);
    ui.cboDepend2 = list("cboDepend2", {1320, 690, 1560, kBoxHeight}, ui.fraState,
                         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, true);
    ui.ckNonCity = check("ckNonCity", {120, 1080, 2760, 285}, "NON-CITY Resident", ui.fraState);
    ui.ckSSMediExemp =
        check("ckSSMediExemp", {120, 1440, 2760, 285}, "S.S. && Medicare Tax Exempt", ui.fraState);
    ui.ckSelfEmp = check("ckSelfEmp", {120, 1800, 2760, 285}, "Self Employed", ui.fraState);

    // The deductions: the user's captions beside their amounts, then the K plan and cafeteria.
    ui.fraDeduct = &Add<Frame>("fraDeduct", {kRight, 60, kRightWidth, 4800});
    ui.fraDeduct->SetCaption("Deductions");
    ui.lbCaptions = label("lbCaptions", {120, 300, 1260, 255}, "Caption", ui.fraDeduct);
    ui.lbAmounts = label("lbAmounts", {1680, 300, 960, 255}, "Amount", ui.fraDeduct);
    const std::array<TextBox**, 5> amounts{&ui.txtMuni, &ui.txtBond, &ui.txtDues, &ui.txtPension,
                                           &ui.txtMisc};
    const std::array<const char*, 5> amountNames{"txtMuni", "txtBond", "txtDues", "txtPension",
                                                 "txtMisc"};
    for (std::size_t k = 0; k < 5; ++k) {
        const int top = 600 + static_cast<int>(k) * kRowPitch;
        ui.txtTax[k] = text("txtTax", {120, top, 1260, kBoxHeight}, static_cast<int>(k) + 5);
        ui.txtTax[k]->SetContainer(ui.fraDeduct);
        // The pension is a percentage of gross pay.
        sign({1380, top + 45, 240, 255}, k == 3 ? "%" : "$", ui.fraDeduct);
        *amounts[k] = amount(amountNames[k], {1680, top, 960, kBoxHeight}, ui.fraDeduct);
    }
    ui.lbKplan = label("lbKplan", {120, 2625, 1260, 255}, "K Plan", ui.fraDeduct);
    ui.txtKplan = amount("txtKplan", {1680, 2580, 960, kBoxHeight}, ui.fraDeduct);
    ui.ckKpPer = check("ckKpPer", {1380, 2970, 600, 285}, "%", ui.fraDeduct);
    ui.ckKpFix = check("ckKpFix", {2040, 2970, 600, 285}, "$", ui.fraDeduct);
    ui.lbCafe = label("lbCafe", {120, 3420, 1500, 255}, "Cafeteria Plan", ui.fraDeduct);
    sign({1380, 3780, 240, 255}, "$", ui.fraDeduct);
    ui.txtCafe = amount("txtCafe", {1680, 3735, 960, kBoxHeight}, ui.fraDeduct);
    ui.ckCafeState = check("ckCafeState", {120, 4200, 2520, 285}, "Deduct State", ui.fraDeduct);

    // A click on one K plan box clears the other, so at most one is ever ticked.
    ui.ckKpPer->Click = [this] {
        if (this->ui().ckKpPer->Value() != 0) this->ui().ckKpFix->SetValue(0);
    };
    ui.ckKpFix->Click = [this] {
        if (this->ui().ckKpFix->Value() != 0) this->ui().ckKpPer->SetValue(0);
    };

    ui.cmdOk = &Add<CommandButton>("cmdOk", {kFormWidth - 3600, kButtonsTop, 1560, 420});
    ui.cmdOk->SetCaption("&Save");
    ui.cmdOk->Click = [this] { cmdOk_Click(); };
    ui.Command1 = &Add<CommandButton>("Command1", {kFormWidth - 1920, kButtonsTop, 1560, 420});
    ui.Command1->SetCaption("&Close");
    ui.Command1->Click = [this] { Command1_Click(); };
}

void frmTaxInfo::OnLoad() {
    // A fresh window applies its defaults to the record itself, before showing it.
    program_.profile = UserInfoDefaults(program_.profile);
    ShowRecord();
}

void frmTaxInfo::ShowRecord() {
    const EmployeeProfile& p = program_.profile;
    frmTaxInfoUi& u = ui();
    u.txtName->SetText(p.EmployeeName);
    u.txtAddress->SetText(p.EmployeeAddress);
    u.txtStateCityZip->SetText(p.EmployeeCityStateZip);
    u.txtSSnum->SetText(p.EmployeeSsn);
    u.txtHourRate->SetText(SingleText(p.HourlyRate1));
    u.txtHourRate2->SetText(SingleText(p.HourlyRate2));
    u.txtTipsRate->SetText(SingleText(p.TipsRate));
    u.cboStatus->SetText(p.FederalStatus);
    u.cboDepend->SetText(p.FederalAllowances);
    u.ckFedExemp->SetValue(p.FederalExempt);
    u.txtFedAddL->SetText(SingleText(p.AdditionalFederal));
    u.cboStatus2->SetText(p.StateStatus);
    u.cboDepend2->SetText(std::to_string(p.StateAllowances));
    u.ckNonCity->SetValue(p.NonCityResident);
    u.ckSSMediExemp->SetValue(p.FicaExempt);
    u.ckSelfEmp->SetValue(p.SelfEmployed);
    if (p.BiWeeklyPay && !p.WeeklyPay) {
        u.optBiWeek->SetValue(true);
    } else {
        u.optWeek->SetValue(true);
    }
    for (std::size_t k = 0; k < 5; ++k)
        u.txtTax[k]->SetText(p.DeductionCaptions[k]);
    u.txtMuni->SetText(SingleText(p.CreditUnion));
    u.txtBond->SetText(SingleText(p.Bond));
    u.txtDues->SetText(SingleText(p.Dues));
    u.txtPension->SetText(SingleText(p.Pension));
    u.txtMisc->SetText(SingleText(p.Misc));
    u.txtKplan->SetText(SingleText(p.KPlan));
    // Set in this order so that the exclusive click reactions leave both as recorded.
    u.ckKpFix->SetValue(0);
    u.ckKpPer->SetValue(p.KPlanIsPercent);
    u.ckKpFix->SetValue(p.KPlanIsFixed);
    u.txtCafe->SetText(SingleText(p.Cafeteria));
    u.ckCafeState->SetValue(p.CafeteriaReducesState);
}

void frmTaxInfo::SetHourRate1Default() {
    TextBox& rate = *ui().txtHourRate;
    if (LeadingNumber(rate.Text()) == 0) rate.SetText("7.5");
}

std::optional<frmTaxInfo::BadBox> frmTaxInfo::FindBadBox() {
    frmTaxInfoUi& u = ui();
    for (auto [box, caption] :
         {std::pair{u.txtHourRate, "Hourly Rate 1"}, std::pair{u.txtHourRate2, "Hourly Rate 2"},
          std::pair{u.txtTipsRate, "Tips Rate"}}) {
        if (!StrictSingle(box->Text())) return BadBox{box, NotANumber(caption, box->Text())};
    }
    for (auto [list, group] : {std::pair{u.cboDepend, "FEDERAL STATUS"},
                               std::pair{u.cboDepend2, "STATE & CITY STATUS"}}) {
        if (!ExemptionCount(list->Text())) {
            return BadBox{list, "\"" + list->Text() + "\" in Exemptions of " + group +
                                    " is not a count from 0 to 9.\r\nNothing was stored."};
        }
    }
    return std::nullopt;
}

bool frmTaxInfo::StoreWindow() {
    SetHourRate1Default();
    if (const auto bad = FindBadBox()) {
        ShowMessage(GetHost(), bad->message, MsgIcon::Warning);
        bad->box->SetFocus();
        return false;
    }
    frmTaxInfoUi& u = ui();
    EmployeeProfile& p = program_.profile;
    p.FederalAllowances = u.cboDepend->Text();
    p.FederalStatus = u.cboStatus->Text();
    p.StateStatus = u.cboStatus2->Text();
    p.StateAllowances = *ExemptionCount(u.cboDepend2->Text());
    p.Pension = static_cast<float>(LeadingNumber(u.txtPension->Text()));
    p.CreditUnion = static_cast<float>(LeadingNumber(u.txtMuni->Text()));
    p.Bond = static_cast<float>(LeadingNumber(u.txtBond->Text()));
    p.Misc = static_cast<float>(LeadingNumber(u.txtMisc->Text()));
    p.Dues = static_cast<float>(LeadingNumber(u.txtDues->Text()));
    p.KPlan = static_cast<float>(LeadingNumber(u.txtKplan->Text()));
    p.AdditionalFederal = static_cast<float>(LeadingNumber(u.txtFedAddL->Text()));
    p.Cafeteria = static_cast<float>(LeadingNumber(u.txtCafe->Text()));
    p.NonCityResident = static_cast<CheckFlag>(u.ckNonCity->Value());
    p.FederalExempt = static_cast<CheckFlag>(u.ckFedExemp->Value());
    p.FicaExempt = static_cast<CheckFlag>(u.ckSSMediExemp->Value());
    p.KPlanIsPercent = static_cast<CheckFlag>(u.ckKpPer->Value());
    p.KPlanIsFixed = static_cast<CheckFlag>(u.ckKpFix->Value());
    p.CafeteriaReducesState = static_cast<CheckFlag>(u.ckCafeState->Value());
    p.SelfEmployed = static_cast<CheckFlag>(u.ckSelfEmp->Value());
    p.WeeklyPay = u.optWeek->Value();
    p.BiWeeklyPay = u.optBiWeek->Value();
    p.HourlyRate2 = *StrictSingle(u.txtHourRate2->Text());
    p.TipsRate = *StrictSingle(u.txtTipsRate->Text());
    p.EmployeeName = u.txtName->Text();
    p.EmployeeAddress = u.txtAddress->Text();
    p.EmployeeCityStateZip = u.txtStateCityZip->Text();
    p.EmployeeSsn = u.txtSSnum->Text();
    for (std::size_t k = 0; k < 5; ++k)
        p.DeductionCaptions[k] = u.txtTax[k]->Text();
    p.HourlyRate1 = *StrictSingle(u.txtHourRate->Text());
    if (program_.form1.IsLoaded()) {
        program_.form1.ShowProfileCaptions();
        program_.form1.ShowTableNotice(p.WeeklyPay);
    }
    return true;
}

bool frmTaxInfo::fillVar_() {
    if (!StoreWindow()) return false;
    return SaveOT(program_);
}

void frmTaxInfo::OpenWindow() {
    // The window always starts from the record, never from what an earlier visit left in it.
    Unload();
    Load();
    fillVar_();
    ShowModal();
}

void frmTaxInfo::ClearAll() {
    // Loading a fresh window applies the opening defaults, which New must not keep.
    Load();
    program_.profile = NewEmployeeProfile();
    ShowRecord();
    ui().txtHourRate->SetText("7.5");
    for (std::size_t k = 0; k < 5; ++k) {
        ui().txtTax[k]->SetText(kDefaultDeductionCaptions[k]);
        program_.profile.DeductionCaptions[k] = ui().txtTax[k]->Text();
    }
}

void frmTaxInfo::cmdOk_Click() {
    if (!fillVar_()) return;
    // The record keeps what the window stored; only the files need an employee.
    if (!EmployeeOpenOrTell(program_)) return;
    if (!SaveOT(program_)) return;
    if (!program_.saveUser.FullSave()) return;
    Unload();
}

void frmTaxInfo::Command1_Click() {
    Unload();
}

}  // namespace kestrel

// The User Info window: the employee's identity, pay rates, federal and state filing status,
// exemptions, pay frequency and deductions.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/payroll_records.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct frmTaxInfoUi {
    Label* lbName = nullptr;
    TextBox* txtName = nullptr;
    Label* lbAddress = nullptr;
    TextBox* txtAddress = nullptr;
    Label* lbStateCityZip = nullptr;
    TextBox* txtStateCityZip = nullptr;
    Label* lbSSnum = nullptr;
    TextBox* txtSSnum = nullptr;

    Label* lbHourRate = nullptr;
    TextBox* txtHourRate = nullptr;
    Label* lbHourRate2 = nullptr;
    TextBox* txtHourRate2 = nullptr;
    Label* lbTipsRate = nullptr;
    TextBox* txtTipsRate = nullptr;

    Frame* fraFederal = nullptr;
    Label* lbStatus = nullptr;
    ComboBox* cboStatus = nullptr;
    Label* lbDepend = nullptr;
    ComboBox* cboDepend = nullptr;
    CheckBox* ckFedExemp = nullptr;
    Label* lbFedAddL = nullptr;
    TextBox* txtFedAddL = nullptr;

    Frame* fraState = nullptr;
    Label* lbStatus2 = nullptr;
    ComboBox* cboStatus2 = nullptr;
    Label* lbDepend2 = nullptr;
    ComboBox* cboDepend2 = nullptr;
    CheckBox* ckNonCity = nullptr;
    CheckBox* ckSSMediExemp = nullptr;
    CheckBox* ckSelfEmp = nullptr;

    Frame* fraPay = nullptr;
    OptionButton* optWeek = nullptr;
    OptionButton* optBiWeek = nullptr;

    Frame* fraDeduct = nullptr;
    Label* lbCaptions = nullptr;
    Label* lbAmounts = nullptr;
    // The captions of the credit union, bond, dues, pension and misc deductions.
    std::array<TextBox*, 5> txtTax{};
    TextBox* txtMuni = nullptr;
    TextBox* txtBond = nullptr;
    TextBox* txtDues = nullptr;
    TextBox* txtPension = nullptr;
    TextBox* txtMisc = nullptr;
    Label* lbKplan = nullptr;
    TextBox* txtKplan = nullptr;
    CheckBox* ckKpPer = nullptr;
    CheckBox* ckKpFix = nullptr;
    Label* lbCafe = nullptr;
    TextBox* txtCafe = nullptr;
    CheckBox* ckCafeState = nullptr;

    // The "$" and "%" signs beside the amount boxes.
    std::vector<Label*> lbSign;

    CommandButton* cmdOk = nullptr;
    CommandButton* Command1 = nullptr;

    // The five deduction amount boxes, in caption order.
    std::array<TextBox*, 5> DeductionBoxes() const {
        return {txtMuni, txtBond, txtDues, txtPension, txtMisc};
    }
};

inline constexpr std::array<const char*, 5> kDefaultDeductionCaptions{"CrUnion", "Bond", "Dues",
                                                                      "Pension", "Misc."};

// Both K plan flags set, or both clear, cannot be shown by two boxes that exclude each other: the
// percent box wins.
void NormaliseKPlan(EmployeeProfile& profile);

// What opening the User Info window and storing it does to a profile: blank statuses and
// identity texts take their placeholders, the pay frequency and K plan flags are made whole,
// blank captions take their defaults and an Hourly Rate 1 of 0 becomes 7.5.
EmployeeProfile UserInfoDefaults(EmployeeProfile profile);

class frmTaxInfo : public FormOf<frmTaxInfoUi> {
  public:
    explicit frmTaxInfo(Program& program);

    // From the Options menu: a fresh window, its defaults stored at once, shown modally.
    void OpenWindow();
    // Window -> record (and the main window's captions and table notice), then SaveOT. False,
    // with the user told which box and nothing stored, when a rate or the state exemptions is
    // not a number.
    bool fillVar_();
    // Window -> record without saving: fillVar_ but for its SaveOT.
    bool StoreWindow();
    // Record -> window.
    void ShowRecord();
    // New employee: record and window to the new-employee values.
    void ClearAll();

    void cmdOk_Click();
    void Command1_Click();

  protected:
    void BuildUi(frmTaxInfoUi& ui) override;
    void OnLoad() override;

  private:
    // The first box that cannot be stored, with what the user is told about it.
    struct BadBox {
        Control* box;
        std::string message;
    };
    std::optional<BadBox> FindBadBox();
    void SetHourRate1Default();

    Program& program_;
};

}  // namespace kestrel

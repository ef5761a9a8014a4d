#include "employee/frm_tax_info.h"

#include <gtest/gtest.h>

#include <set>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;

class UserInfoWindow : public ::testing::Test {
  protected:
    UserInfoWindow() {
        std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.Start();
        program.ActiveUser = "Worker1";
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    // Opens the window from the menu and runs `inside` while it is shown.
    void Open(const std::function<void(frmTaxInfoUi&)>& inside) {
        host.onModal["frmTaxInfo"] = [&](Form&) { inside(program.taxInfo.ui()); };
        program.form1.ui().mnuTaxInfoItem->UserClick();
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(UserInfoWindow, StartUpProfileHasTheWindowsDefaults) {
    const EmployeeProfile& p = program.profile;
    EXPECT_EQ(p.EmployeeCityStateZip, "City, State Zip Code");
    EXPECT_EQ(p.EmployeeName, "Employee's Name");
    EXPECT_EQ(p.HourlyRate1, 7.5f);
    EXPECT_EQ(p.FederalStatus, "Single");
    EXPECT_EQ(p.StateStatus, "Single");
    EXPECT_EQ(p.FederalAllowances, "0");
    EXPECT_TRUE(p.WeeklyPay);
    EXPECT_EQ(p.KPlanIsPercent, 1);
    EXPECT_EQ(program.form1.ui().lbTaxCaption[5]->Caption(), "CrUnion");
    EXPECT_EQ(program.form1.ui().lbTaxCaption[9]->Caption(), "Misc.");
    // Start-up reads and writes no employee file.
    EXPECT_FALSE(FileExists("Worker1.use"));
    EXPECT_FALSE(FileExists(".use"));
}

TEST_F(UserInfoWindow, OpeningStoresItsDefaultsAtOnce) {
    program.profile = EmployeeProfile{};
    program.profile.KPlanIsPercent = 1;
    program.profile.KPlanIsFixed = 1;
    program.profile.DeductionCaptions[1] = "Savings";
    Open([&](frmTaxInfoUi& u) {
        EXPECT_EQ(u.txtHourRate->Text(), "7.5");
        EXPECT_EQ(u.txtStateCityZip->Text(), "City, State Zip Code");
        EXPECT_EQ(u.txtTax[0]->Text(), "CrUnion");
        EXPECT_EQ(u.txtTax[1]->Text(), "Savings");
        EXPECT_EQ(u.cboStatus->Text(), "Single");
        EXPECT_EQ(u.cboDepend2->Text(), "0");
        EXPECT_TRUE(u.optWeek->Value());
        EXPECT_EQ(u.ckKpPer->Value(), 1);
        EXPECT_EQ(u.ckKpFix->Value(), 0);
        // Already on disk while the window is still open.
        EXPECT_TRUE(FileExists("Worker1.use"));
        u.Command1->UserClick();
    });
    EXPECT_FALSE(program.taxInfo.IsLoaded());
    EXPECT_EQ(program.profile.HourlyRate1, 7.5f);
    EXPECT_EQ(program.profile.KPlanIsFixed, 0);
    EXPECT_EQ(program.profile.DeductionCaptions[4], "Misc.");
    EXPECT_EQ(ReadFile("Worker1.use").substr(0, 30), "0,0,0\r\n15600,0,0\r\n7.5,0,0\r\n\"0\"");
}

TEST_F(UserInfoWindow, SaveStoresEveryBoxAndTheWholeFileSet) {
    Open([&](frmTaxInfoUi& u) {
        u.txtName->SetText("Ann Lee");
        u.txtHourRate->SetText("12.25");
        u.txtHourRate2->SetText("9");
        u.txtTipsRate->SetText("1.5");
        u.cboStatus->UserSelect(1);
        u.cboDepend->UserEdit("3");
        u.cboStatus2->UserSelect(1);
        u.cboDepend2->UserSelect(2);
        u.ckFedExemp->UserClick();
        u.txtFedAddL->SetText("5.5");
        u.ckNonCity->UserClick();
        u.optBiWeek->UserClick();
        u.txtTax[0]->SetText("Muni");
        u.txtMuni->SetText("10abc");  // leading number: 10
        u.txtPension->SetText("4");
        u.txtKplan->SetText("25");
        u.ckKpFix->UserClick();
        u.txtCafe->SetText("");
        u.ckCafeState->UserClick();
        u.cmdOk->UserClick();
    });
    EXPECT_FALSE(program.taxInfo.IsLoaded());
    const EmployeeProfile& p = program.profile;
    EXPECT_EQ(p.EmployeeName, "Ann Lee");
    EXPECT_EQ(p.HourlyRate1, 12.25f);
    EXPECT_EQ(p.HourlyRate2, 9.0f);
    EXPECT_EQ(p.TipsRate, 1.5f);
    EXPECT_EQ(p.FederalStatus, "Married");
    EXPECT_EQ(p.FederalAllowances, "3");
    EXPECT_EQ(p.StateStatus, "Married");
    EXPECT_EQ(p.StateAllowances, 2);
    EXPECT_EQ(p.FederalExempt, 1);
    EXPECT_EQ(p.AdditionalFederal, 5.5f);
    EXPECT_EQ(p.NonCityResident, 1);
    EXPECT_FALSE(p.WeeklyPay);
    EXPECT_TRUE(p.BiWeeklyPay);
    EXPECT_EQ(p.CreditUnion, 10.0f);
    EXPECT_EQ(p.Pension, 4.0f);
    EXPECT_EQ(p.KPlan, 25.0f);
    EXPECT_EQ(p.KPlanIsPercent, 0);
    EXPECT_EQ(p.KPlanIsFixed, 1);
    EXPECT_EQ(p.Cafeteria, 0.0f);
    EXPECT_EQ(p.CafeteriaReducesState, 1);
    EXPECT_EQ(program.form1.ui().lbTaxCaption[5]->Caption(), "Muni");
    EXPECT_EQ(program.form1.ui().lbFrequency->Caption(), "Bi-Weekly Tax Tables");
    // Save writes the whole file set, the bi-weekly rows among it.
    for (const char* file : {"Worker1.use", "Worker1.and", "Worker1.cfe", "Worker1.ovb",
                             "Worker1.hol", "Worker1.sta", "Worker1.cti", "Worker1.nci"}) {
        EXPECT_TRUE(FileExists(file)) << file;
    }
    EXPECT_EQ(ReadFile("Worker1.cfe"), "0,1,0\r\n");
}

TEST_F(UserInfoWindow, ARateThatIsNotANumberIsNamedAndNothingIsStored) {
    struct Case {
        std::function<void(frmTaxInfoUi&)> type;
        std::string message;
    };
    const std::vector<Case> cases{
        {[](frmTaxInfoUi& u) { u.txtHourRate->SetText("1-2"); },
         "\"1-2\" in Hourly Rate 1 is not a number.\r\nNothing was stored."},
        {[](frmTaxInfoUi& u) { u.txtHourRate2->SetText(""); },
         "\"\" in Hourly Rate 2 is not a number.\r\nNothing was stored."},
        {[](frmTaxInfoUi& u) { u.txtTipsRate->SetText(". "); },
         "\". \" in Tips Rate is not a number.\r\nNothing was stored."},
        {[](frmTaxInfoUi& u) { u.cboDepend2->UserEdit("12"); },
         "\"12\" in Exemptions of STATE & CITY STATUS is not a count from 0 to 9.\r\nNothing "
         "was stored."},
        {[](frmTaxInfoUi& u) { u.cboDepend->UserEdit("x"); },
         "\"x\" in Exemptions of FEDERAL STATUS is not a count from 0 to 9.\r\nNothing was "
         "stored."},
    };
    for (const Case& c : cases) {
        host.messages.clear();
        Open([&](frmTaxInfoUi& u) {
            const std::string before = ReadFile("Worker1.use");
            const EmployeeProfile stored = program.profile;
            u.txtName->SetText("Changed");
            c.type(u);
            u.cmdOk->UserClick();
            ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{c.message});
            EXPECT_TRUE(program.taxInfo.IsVisible());
            EXPECT_EQ(program.profile.EmployeeName, stored.EmployeeName);
            EXPECT_EQ(ReadFile("Worker1.use"), before);
            u.Command1->UserClick();
        });
        EXPECT_EQ(program.profile.EmployeeName, "Employee's Name");
    }
}

TEST_F(UserInfoWindow, HourlyRateOfZeroBecomesTheDefaultRate) {
    Open([&](frmTaxInfoUi& u) {
        u.txtHourRate->SetText("0");
        u.cmdOk->UserClick();
    });
    EXPECT_EQ(program.profile.HourlyRate1, 7.5f);
    EXPECT_EQ(ReadFile("Worker1.use").substr(18, 9), "7.5,0,0\r\n");
}

TEST_F(UserInfoWindow, KPlanBoxesExcludeEachOtherAndKeysAreFiltered) {
    Open([&](frmTaxInfoUi& u) {
        EXPECT_EQ(u.ckKpPer->Value(), 1);
        u.ckKpFix->UserClick();
        EXPECT_EQ(u.ckKpFix->Value(), 1);
        EXPECT_EQ(u.ckKpPer->Value(), 0);
        u.ckKpPer->UserClick();
        EXPECT_EQ(u.ckKpPer->Value(), 1);
        EXPECT_EQ(u.ckKpFix->Value(), 0);

        for (TextBox* box :
             {u.txtHourRate, u.txtHourRate2, u.txtTipsRate, u.txtFedAddL, u.txtMuni, u.txtBond,
              u.txtDues, u.txtPension, u.txtMisc, u.txtKplan, u.txtCafe}) {
            box->SetText("");
            box->Type("1a2.5-b ");
            EXPECT_EQ(box->Text(), "12.5- ") << box->Name();
            box->SetFocus();
            EXPECT_EQ(box->SelLength(), static_cast<int>(box->Text().size())) << box->Name();
        }
        u.txtName->SetText("");
        u.txtName->Type("Ann B.");
        EXPECT_EQ(u.txtName->Text(), "Ann B.");
        // Only the exemption counts take typed text; the statuses are one of the two.
        EXPECT_TRUE(u.cboDepend->Editable());
        EXPECT_FALSE(u.cboStatus->Editable());
        EXPECT_FALSE(u.cboStatus2->Editable());
        u.Command1->UserClick();
    });
}

TEST_F(UserInfoWindow, ClearAllGivesTheNewEmployeeValues) {
    program.profile.HourlyRate1 = 20;
    program.profile.DeductionCaptions[2] = "Union";
    program.profile.SelfEmployed = 1;
    program.profile.EmployeeCityStateZip = "Elsewhere";
    program.taxInfo.ClearAll();
    frmTaxInfoUi& u = program.taxInfo.ui();
    EXPECT_EQ(u.txtHourRate->Text(), "7.5");
    EXPECT_EQ(u.txtHourRate2->Text(), "0");
    EXPECT_EQ(u.txtTax[2]->Text(), "Dues");
    EXPECT_EQ(u.ckSelfEmp->Value(), 0);
    EXPECT_EQ(u.ckKpPer->Value(), 1);
    EXPECT_TRUE(u.optWeek->Value());
    EXPECT_EQ(program.profile.HourlyRate1, 0.0f);
    EXPECT_EQ(program.profile.EmployeeCityStateZip, "State, City Zip Code");
    EXPECT_EQ(program.profile.DeductionCaptions[2], "Dues");
    EXPECT_EQ(program.profile.SelfEmployed, 0);
}

TEST_F(UserInfoWindow, LayoutShowsEveryCaptionInsideItsGroup) {
    Open([&](frmTaxInfoUi&) {
        const frmTaxInfo& window = program.taxInfo;
        EXPECT_EQ(window.Caption(), "User Info");
        EXPECT_EQ(window.Kind(), FormKind::Modal);
        testing::ExpectControlsInsideTheirContainersAndApart(window);
        const std::multiset<std::string> texts = testing::ShownTexts(window);
        for (const char* text :
             {"Hourly Rate 1", "Hourly Rate 2", "Tips Rate", "Status", "Exemptions",
              "Additional Federal Withholdings", "K Plan", "Cafeteria Plan", "&Save", "&Close"}) {
            EXPECT_GE(texts.count(text), 1u) << text;
        }
        const frmTaxInfoUi& u = program.taxInfo.ui();
        EXPECT_EQ(u.fraFederal->Caption(), "FEDERAL STATUS");
        EXPECT_EQ(u.fraState->Caption(), "STATE && CITY STATUS");
        EXPECT_EQ(u.ckSSMediExemp->Caption(), "S.S. && Medicare Tax Exempt");
        program.taxInfo.ui().Command1->UserClick();
    });
}

}  // namespace
}  // namespace kestrel

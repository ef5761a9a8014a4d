#include "printing/frm_checks.h"

#include <gtest/gtest.h>

#include <set>

#include "check_fixture.h"
#include "support/form_layout.h"

namespace kestrel {
namespace {

using CheckPreview = testing::CheckFixture;

struct FigureCase {
    float netPay;
    const char* figure;
};

class AmountFigure : public ::testing::TestWithParam<FigureCase> {};

TEST_P(AmountFigure, LeadingZerosBecomeAsterisks) {
    EXPECT_EQ(CheckAmountFigure(GetParam().netPay), GetParam().figure) << GetParam().netPay;
}

INSTANTIATE_TEST_SUITE_P(
    NetPays, AmountFigure,
    ::testing::Values(FigureCase{1234.5f, "**1234.50"}, FigureCase{12345.67f, "*12345.67"},
                      FigureCase{123456.78f, "123456.78"}, FigureCase{5, "*****5.00"},
                      FigureCase{0.5f, "000000.50"}, FigureCase{0, "000000.00"},
                      FigureCase{99.999f, "***100.00"}, FigureCase{10, "****10.00"},
                      FigureCase{100000, "100000.00"}));

TEST_F(CheckPreview, LaidOutLikeACheckWithItsCaptions) {
    program.checks.Show();
    frmChecks& window = program.checks;
    EXPECT_EQ(window.Caption(), "Check Printing");
    EXPECT_EQ(window.Kind(), FormKind::Modeless);
    testing::ExpectControlsInsideAndApart(window);
    const std::multiset<std::string> texts = testing::ShownTexts(window);
    for (const char* text : {"DATE", "PAY TO THE ORDER OF", "$", "DOLLARS", "MEMO"})
        EXPECT_EQ(texts.count(text), 1u) << text;
    EXPECT_EQ(window.ui().txtCheckDate->ToolTip(), "Change on Previous Form");
    EXPECT_TRUE(window.ui().txtCheckCompany->MultiLine());
    ASSERT_EQ(window.Menus().size(), 1u);
    EXPECT_EQ(window.Menus()[0]->Caption(), "Print");
}

TEST_F(CheckPreview, LoadingFillsTheFieldsFromTheProfileAndThePeriod) {
    program.checks.Show();
    const frmChecksUi& ui = program.checks.ui();
    EXPECT_EQ(ui.txtCheckDate->Text(), "12/30/05");
    EXPECT_EQ(ui.txtPayTo->Text(), "Ann Lee********");
    EXPECT_EQ(ui.txtCheckAmt->Text(), "**1234.50");
    EXPECT_EQ(ui.txtDollars->Text(), " One Thousand Two Hundred Thirty Four and 50/100");
    EXPECT_EQ(program.checks.AmountWords(), ui.txtDollars->Text());
    EXPECT_EQ(ui.txtUserName->Text(), "Ann Lee");
    EXPECT_EQ(ui.txtUserSSnum->Text(), "123-45-6789");
    EXPECT_EQ(ui.txtUserAddress->Text(), "12 Elm St");
    EXPECT_EQ(ui.txtUserState->Text(), "Albany, NY 12207");
    EXPECT_EQ(ui.txtMemo->Text(), "");
    EXPECT_EQ(ui.txtCheckCompany->Text(), "");
}

TEST_F(CheckPreview, NegativeNetPayWritesAZeroCheckAndStaysZero) {
    program.result.NetPay = -42.5f;
    program.checks.Show();
    EXPECT_EQ(program.checks.ui().txtCheckAmt->Text(), "000000.00");
    EXPECT_EQ(program.checks.ui().txtDollars->Text(), "Zero and No/100");
    EXPECT_EQ(program.result.NetPay, 0.0f);
}

TEST_F(CheckPreview, ClickAndFocusRefillAllButTheDateMemoAndCompany) {
    program.checks.Show();
    frmChecksUi& ui = program.checks.ui();
    ui.txtCheckDate->UserEdit("01/06/06");
    ui.txtMemo->UserEdit("Bonus");
    ui.txtCheckCompany->UserEdit("Wren Ltd");
    ui.txtPayTo->UserEdit("Somebody else");
    ui.txtDollars->UserEdit("a lot");
    program.result.NetPay = 10;
    program.checks.Form_Click();
    EXPECT_EQ(ui.txtPayTo->Text(), "Ann Lee********");
    EXPECT_EQ(ui.txtDollars->Text(), " Ten and No/100");
    EXPECT_EQ(ui.txtCheckAmt->Text(), "****10.00");
    EXPECT_EQ(program.checks.AmountWords(), " Ten and No/100");
    EXPECT_EQ(ui.txtCheckDate->Text(), "01/06/06");
    EXPECT_EQ(ui.txtMemo->Text(), "Bonus");
    EXPECT_EQ(ui.txtCheckCompany->Text(), "Wren Ltd");

    program.profile.EmployeeName = "Ann Lee-Ray";
    program.result.NetPay = -1;
    // The desktop tells the window it was activated or uncovered.
    program.checks.NotifyPainted();
    EXPECT_EQ(ui.txtUserName->Text(), "Ann Lee-Ray");
    EXPECT_EQ(ui.txtCheckAmt->Text(), "000000.00");
    EXPECT_EQ(program.result.NetPay, 0.0f);
    EXPECT_EQ(ui.txtCheckDate->Text(), "01/06/06");
}

TEST_F(CheckPreview, PrintMenuOpensTheOffsetDialog) {
    program.checks.Show();
    program.checks.Menus()[0]->UserClick();
    EXPECT_TRUE(program.printSet.IsVisible());
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace kestrel

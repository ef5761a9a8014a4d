#include "printing/paycheck.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "check_fixture.h"

namespace kestrel {
namespace {

using testing::Row;

// The check's lines at H = 0, V = 3, counted from 0.
constexpr std::size_t kDateLine = 4;
constexpr std::size_t kFirstStub = 26;   // memo line 15, then 10 empty lines
constexpr std::size_t kSecondStub = 55;  // the first stub's YTD line 47, then 7 empty lines

class Paycheck : public testing::CheckFixture {
  protected:
    Paycheck() {
        PayResult& r = program.result;
        r.PayRate = 10;
        r.RegularPay1 = 400;
        r.RegularPay2 = 12.5f;
        program.entry.OtHrs = 2;
        program.entry.Avas = 8;
        program.entry.VacDys = 4;
        program.entry.Addit = Currency::FromDouble(25);
        program.entry.TipsHrs = 3;
        program.entry.OtMultiplier = 2;
        program.profile.HourlyRate2 = 12.5f;
        program.profile.TipsRate = 1.5f;
        main().txtEntry[0]->SetText("40");
        main().txtEntry[1]->SetText("1");
        main().txtEntry[2]->SetText("3");
        main().txtEntry[3]->SetText("2");
        main().txtEntry[4]->SetText("8");
        main().txtEntry[5]->SetText("4");
        main().txtEntry[6]->SetText("25");
        main().txtEntry[7]->SetText("3");
        main().lbTax[0]->SetCaption("123.40");
        main().lbTax[1]->SetCaption("1,000.00");
        main().lbTax[10]->SetCaption("4.00");
        main().lbCafe->SetCaption("");
        main().lbGross->SetCaption("$1,500.25");
        main().lbTaxes->SetCaption("$200.00");
        main().lbDeduct->SetCaption("$65.75");
        main().lbNet->SetCaption("$1,234.50");
        YtdTotals& ytd = program.ytd.totals;
        ytd.Federal = 900;
        ytd.SocialSecurity = 100;
        ytd.Sdi = 10;
        ytd.Cafeteria = 5;
        ytd.Bond = 20;
        ytd.KPlan = 30;
        ytd.Gross = Currency::FromDouble(15000.5);
        ytd.Net = Currency::FromDouble(12000);
    }

    std::vector<std::string> Lines(int horizontal = 0, int vertical = 3) {
        return testing::PrintedLines(PlainText(PaycheckJob(program, horizontal, vertical)));
    }
};

TEST(CheckOffsets, WholeNumbersTiesToEvenAndVThreeLinesDown) {
    struct Case {
        float offset;
        int horizontal;
        int vertical;
    };
    for (const Case& c :
         {Case{0, 0, 3}, Case{-5, -5, -2}, Case{5, 5, 8}, Case{2.5f, 2, 6}, Case{-2.5f, -2, 0},
          Case{0.5f, 0, 4}, Case{-0.5f, 0, 2}, Case{1.4f, 1, 4}, Case{1e30f, 99, 102},
          Case{std::numeric_limits<float>::quiet_NaN(), 0, 3}}) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(CheckHorizontal({c.offset, 0}), c.horizontal);
        EXPECT_EQ(CheckVertical({0, c.offset}), c.vertical);
    }
}

TEST_F(Paycheck, CheckFaceAtNoOffset) {
    program.checks.ui().txtMemo->SetText("Week 52");
    const auto lines = Lines();
    ASSERT_GT(lines.size(), kFirstStub);
    for (std::size_t i = 0; i < kDateLine; ++i)
        EXPECT_EQ(lines[i], "") << i;
    EXPECT_EQ(lines[kDateLine], Row({{107, "12/30/05"}}));
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], Row({{15, "Ann Lee********"}, {102, "**1234.50"}}));
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], Row({{5, "***** One Thousand Two Hundred Thirty Four and 50/100*****"}}));
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], Row({{15, "Ann Lee"}, {75, "123-45-6789"}}));
    EXPECT_EQ(lines[12], Row({{15, "12 Elm St"}}));
    EXPECT_EQ(lines[13], Row({{15, "Albany, NY 12207"}}));
    EXPECT_EQ(lines[14], "");
    EXPECT_EQ(lines[15], Row({{10, "Week 52"}}));
    for (std::size_t i = 16; i < kFirstStub; ++i)
        EXPECT_EQ(lines[i], "") << i;
}

TEST_F(Paycheck, LowestOffsetsPutTheDateOnTheFirstLineAndTheWordsAtColumnOne) {
    const auto lines = Lines(-5, -2);
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[0], Row({{102, "12/30/05"}}));
    EXPECT_EQ(lines[3], Row({{10, "Ann Lee********"}, {97, "**1234.50"}}));
    EXPECT_EQ(lines[5], "***** One Thousand Two Hundred Thirty Four and 50/100*****");
}

TEST_F(Paycheck, CheckInElevenPointStubsInEight) {
    const std::vector<LaidOutPage> pages = LayOut(PaycheckJob(program, 0, 3), FixedColumnMetrics());
    ASSERT_EQ(pages.size(), 1u);
    int stubItems = 0;
    for (const PlacedText& item : pages[0].items) {
        const double expected = item.line < static_cast<int>(kFirstStub) ? 11 : 8;
        EXPECT_EQ(item.font, (PrintFont{"Arial", expected})) << item.text;
        if (item.line >= static_cast<int>(kFirstStub)) ++stubItems;
    }
    EXPECT_GT(stubItems, 100);
}

TEST_F(Paycheck, BothStubsListTheEarningsTaxesAndTotals) {
    const auto lines = Lines();
    for (std::size_t top : {kFirstStub, kSecondStub}) {
        SCOPED_TRACE(top);
        ASSERT_GE(lines.size(), top + 21);
        EXPECT_EQ(lines[top], Row({{5, "Ann Lee********"},
                                   {45, "123-45-6789"},
                                   {65, "For Week Ending: 12/30/05"},
                                   {125, "12/30/05"}}));
        EXPECT_EQ(lines[top + 1], Row({{5, "Description"},
                                       {30, "Rate"},
                                       {45, "Hours"},
                                       {55, "Earnings"},
                                       {65, "Taxes/Deduct"},
                                       {102, "Current"},
                                       {125, "YTD"}}));
        EXPECT_EQ(lines[top + 2], Row({{5, std::string(198, '-')}}));
        const std::size_t d = top + 3;
        EXPECT_EQ(lines[d], Row({{5, "Regular1 Earning"},
                                 {30, "10.00"},
                                 {45, "40.00"},
                                 {55, "400.00"},
                                 {65, "Federal Tax"},
                                 {102, "123.40"},
                                 {125, "900.00"}}));
        EXPECT_EQ(lines[d + 1], Row({{5, "Regular2 Earning"},
                                     {30, "12.50"},
                                     {45, "1.00"},
                                     {55, "12.50"},
                                     {65, "Social Security Tax"},
                                     {102, "1000.00"},
                                     {125, "100.00"}}));
        // "(2X)": the rate is doubled and the entry's 3 hours are paid at it.
        EXPECT_EQ(lines[d + 2], Row({{5, "O.T. 1x / 2x Earned"},
                                     {30, "20.00"},
                                     {45, "3.00"},
                                     {55, "60.00"},
                                     {65, "Medicare Tax"},
                                     {125, ".00"}}));
        EXPECT_EQ(lines[d + 3], Row({{5, "O.T. 1.5x Earned"},
                                     {30, "15.00"},
                                     {45, "2.00"},
                                     {55, "30.00"},
                                     {65, "State Tax"},
                                     {125, ".00"}}));
        EXPECT_EQ(lines[d + 4], Row({{5, "Holiday"},
                                     {30, "10.00"},
                                     {45, "8.00"},
                                     {55, "80.00"},
                                     {65, "City Tax"},
                                     {125, ".00"}}));
        EXPECT_EQ(lines[d + 5], Row({{5, "Vacation/Sick"},
                                     {30, "10.00"},
                                     {45, "4.00"},
                                     {55, "40.00"},
                                     {65, "State Disability Ins"},
                                     {125, "10.00"}}));
        EXPECT_EQ(lines[d + 6], Row({{5, "Adjustment"},
                                     {30, "25.00"},
                                     {55, "25.00"},
                                     {65, "State Unemployment Ins"},
                                     {125, ".00"}}));
        EXPECT_EQ(lines[d + 7], Row({{5, "Tips"},
                                     {30, "1.50"},
                                     {45, "3.00"},
                                     {55, "4.50"},
                                     {65, "CrUnion"},
                                     {125, ".00"}}));
        EXPECT_EQ(lines[d + 8], Row({{65, "Bond"}, {125, "20.00"}}));
        EXPECT_EQ(lines[d + 12], Row({{65, "K-Plan"}, {102, "4.00"}, {125, "30.00"}}));
        // A result line still blank prints nothing in the current column.
        EXPECT_EQ(lines[d + 13], Row({{65, "Cafeteria Plan"}, {125, "5.00"}}));
    }
    // Two empty lines after the first stub's details, one after the second's.
    for (auto [summary, gap] : {std::pair{kFirstStub + 19, 2u}, std::pair{kSecondStub + 18, 1u}}) {
        SCOPED_TRACE(summary);
        for (std::size_t i = 1; i <= gap; ++i)
            EXPECT_EQ(lines[summary - i], "");
        EXPECT_EQ(lines[summary],
                  Row({{30, "Earnings"}, {50, "Taxes"}, {65, "Deductions"}, {85, "Net Pay"}}));
        EXPECT_EQ(
            lines[summary + 1],
            Row({{5, "Current"}, {30, "1500.25"}, {50, "200.00"}, {65, "65.75"}, {85, "1234.50"}}));
        // YTD taxes take the cafeteria total; YTD deductions the six deduction totals.
        EXPECT_EQ(
            lines[summary + 2],
            Row({{5, "YTD"}, {30, "15000.50"}, {50, "1015.00"}, {65, "50.00"}, {85, "12000.00"}}));
    }
    EXPECT_EQ(lines.size(), kSecondStub + 21);
    for (std::size_t i = kFirstStub + 22; i < kSecondStub; ++i)
        EXPECT_EQ(lines[i], "") << i;
}

TEST_F(Paycheck, WithoutHourlyRateOneTheRateColumnShowsNothingWhileEarningsUseTheDefaultRate) {
    program.profile.HourlyRate1 = 0;
    program.result.PayRate = 7.5f;
    program.result.RegularPay1 = 300;
    const auto lines = Lines();
    ASSERT_GT(lines.size(), kFirstStub + 8);
    EXPECT_EQ(lines[kFirstStub + 3].substr(0, 64),
              Row({{5, "Regular1 Earning"}, {30, ".00"}, {45, "40.00"}, {55, "300.00"}, {65, ""}}));
    // Holiday pay is figured on the profile's own rate.
    EXPECT_EQ(lines[kFirstStub + 7].substr(0, 64),
              Row({{5, "Holiday"}, {30, ".00"}, {45, "8.00"}, {55, ".00"}, {65, ""}}));
}

TEST_F(Paycheck, PrintCheckFillsEmptyEntriesAndLoadsTheRegisterWhenTheViewIsClosed) {
    main().txtEntry[1]->SetText("");
    main().txtEntry[7]->SetText("");
    host.printerAnswers = {true};
    PrintCheck(program);
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(main().txtEntry[1]->Text(), "0");
    EXPECT_EQ(main().txtEntry[7]->Text(), "0");
    EXPECT_EQ(main().txtEntry[0]->Text(), "40");
    const auto lines = testing::PrintedLines(PlainText(host.printed[0]));
    ASSERT_GT(lines.size(), kFirstStub + 4);
    EXPECT_EQ(lines[kFirstStub + 4], Row({{5, "Regular2 Earning"},
                                          {30, "12.50"},
                                          {45, ".00"},
                                          {55, "12.50"},
                                          {65, "Social Security Tax"},
                                          {102, "1000.00"},
                                          {125, ".00"}}));
    // With no register file the register starts empty: no figure of memory is printed as the
    // year's.
    EXPECT_EQ(program.ytd.totals.Federal, 0.0f);
    EXPECT_EQ(lines[kDateLine], Row({{107, "12/30/05"}}));
}

TEST_F(Paycheck, PrintCheckHidesAnOpenViewAndKeepsItsTotals) {
    program.ytdContainer.Show();
    program.ytd.totals.Federal = 900;
    host.printerAnswers = {true};
    PrintCheck(program);
    EXPECT_FALSE(program.ytdContainer.IsVisible());
    ASSERT_EQ(host.printed.size(), 1u);
    const auto lines = testing::PrintedLines(PlainText(host.printed[0]));
    ASSERT_GT(lines.size(), kFirstStub + 3);
    EXPECT_EQ(lines[kFirstStub + 3].substr(124), "900.00");
}

TEST_F(Paycheck, CancelledPrinterDialogChangesNothing) {
    main().txtEntry[1]->SetText("");
    host.printerAnswers = {false};
    PrintCheck(program);
    EXPECT_TRUE(host.printed.empty());
    EXPECT_EQ(main().txtEntry[1]->Text(), "");
    EXPECT_EQ(program.ytd.totals.Federal, 900.0f);
}

}  // namespace
}  // namespace kestrel

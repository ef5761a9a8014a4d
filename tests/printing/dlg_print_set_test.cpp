#include "printing/dlg_print_set.h"

#include <gtest/gtest.h>

#include <set>

#include "check_fixture.h"
#include "employee/profile_files.h"
#include "support/form_layout.h"

namespace kestrel {
namespace {

using testing::ReadFile;

class OffsetDialog : public testing::CheckFixture {
  protected:
    dlgPrintSetUi& ui() { return program.printSet.ui(); }

    // The employee's ".and" file as it would be saved with these offsets.
    void StoreOffsets(PrintOffsets offsets) {
        RecordWriter file = AndRecords("Worker1.and", program.profile, program.stateSettings,
                                       offsets, program.reserved);
        ASSERT_TRUE(file.Commit());
    }
    PrintOffsets StoredOffsets() {
        EmployeeProfile profile;
        StateTaxSettings state;
        PrintOffsets offsets;
        ProfileReserved reserved;
        EXPECT_FALSE(ReadAndFile("Worker1.and", profile, state, offsets, reserved).has_value());
        return offsets;
    }
};

TEST_F(OffsetDialog, ShowsItsTextsAndTheOffsetChoices) {
    program.printSet.Show();
    EXPECT_EQ(program.printSet.Caption(), "Printer Offset");
    testing::ExpectControlsInsideAndApart(program.printSet);
    const std::multiset<std::string> texts = testing::ShownTexts(program.printSet);
    for (const char* text :
         {"OFFSET ADJUSTMENT", "Horizontal ", "Vertical", "12/30/05", "&Apply", "&Cancel",
          "Print Check", "Print A&lignment Page",
          "Before printing on actual checks, print on plain printer paper. Match up by holding "
          "the printed paper behind the actual blank check sheet and hold up to light. To adust "
          "change settings above until disired settings are achived"})
        EXPECT_EQ(texts.count(text), 1u) << text;
    const std::vector<std::string> choices{"+5", "+4", "+3", "+2", "+1", "0",
                                           "-1", "-2", "-3", "-4", "-5"};
    EXPECT_EQ(ui().cboHorizontal->Items(), choices);
    EXPECT_EQ(ui().cboVertical->Items(), choices);
    EXPECT_TRUE(ui().cboHorizontal->Editable());
}

TEST_F(OffsetDialog, OpensOnTheStoredOffsetsAndCancelStoresNothing) {
    StoreOffsets({2, -1});
    const std::string before = ReadFile("Worker1.and");
    program.printSet.Show();
    EXPECT_EQ(ui().cboHorizontal->Text(), "2");
    EXPECT_EQ(ui().cboVertical->Text(), "-1");
    EXPECT_EQ(program.offsets, (PrintOffsets{2, -1}));
    ui().cboHorizontal->UserEdit("+4");
    ui().cboVertical->UserSelect(10);
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(program.printSet.IsLoaded());
    EXPECT_EQ(ReadFile("Worker1.and"), before);
    EXPECT_EQ(program.offsets, (PrintOffsets{2, -1}));
    EXPECT_TRUE(host.printed.empty());
}

TEST_F(OffsetDialog, StoredOffsetsShowAsWholeNumbersTiesToEven) {
    StoreOffsets({2.5f, -3.5f});
    program.printSet.Show();
    EXPECT_EQ(ui().cboHorizontal->Text(), "2");
    EXPECT_EQ(ui().cboVertical->Text(), "-4");
}

TEST_F(OffsetDialog, ApplyTakesAPlusSignAndSavesWithTheDialogOpen) {
    program.printSet.Show();
    ui().cboHorizontal->UserEdit("+3");
    ui().cboVertical->UserSelect(8);  // "-3"
    ui().cmdApply->UserClick();
    EXPECT_EQ(program.offsets, (PrintOffsets{3, -3}));
    EXPECT_EQ(StoredOffsets(), (PrintOffsets{3, -3}));
    EXPECT_TRUE(program.printSet.IsVisible());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(OffsetDialog, ABoxThatIsNotANumberIsNamedAndNothingIsStoredOrPrinted) {
    StoreOffsets({1, 1});
    const std::string before = ReadFile("Worker1.and");
    program.printSet.Show();
    for (const char* bad : {"abc", "", "+", "1000"}) {
        SCOPED_TRACE(bad);
        host.messages.clear();
        ui().cboHorizontal->UserEdit("2");
        ui().cboVertical->UserEdit(bad);
        host.printerAnswers = {true};
        ui().cmdPrintCheck->UserClick();
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].text.find("Vertical"), std::string::npos);
        EXPECT_EQ(program.offsets, (PrintOffsets{1, 1}));
        EXPECT_EQ(ReadFile("Worker1.and"), before);
        EXPECT_TRUE(host.printed.empty());
        EXPECT_TRUE(program.printSet.IsVisible());
        host.printerAnswers.clear();
    }
    ui().cboHorizontal->UserEdit("x1");
    ui().cboVertical->UserEdit("0");
    ui().cmdAlignment->UserClick();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find("Horizontal"), std::string::npos);
    EXPECT_TRUE(host.printed.empty());
}

TEST_F(OffsetDialog, PrintCheckAppliesPrintsAndCloses) {
    program.printSet.Show();
    ui().cboHorizontal->UserEdit("-2");
    ui().cboVertical->UserEdit("+1");
    host.printerAnswers = {true};
    ui().cmdPrintCheck->UserClick();
    EXPECT_EQ(StoredOffsets(), (PrintOffsets{-2, 1}));
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(host.printed[0].Title(), "Paycheck");
    const auto lines = testing::PrintedLines(PlainText(host.printed[0]));
    // V = 1 + 3: five line breaks put the date on the sixth line, two columns to the left.
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[5], testing::Row({{105, "12/30/05"}}));
    EXPECT_FALSE(program.printSet.IsLoaded());
}

TEST_F(OffsetDialog, CancelledPrinterDialogPrintsNothingButTheOffsetsAreApplied) {
    program.printSet.Show();
    ui().cboHorizontal->UserEdit("1");
    host.printerAnswers = {false};
    ui().cmdPrintCheck->UserClick();
    EXPECT_TRUE(host.printed.empty());
    EXPECT_EQ(StoredOffsets().Horizontal, 1.0f);
}

TEST_F(OffsetDialog, AlignmentPageNamesTheFieldsWithoutStoringTheOffsets) {
    StoreOffsets({0, 0});
    program.printSet.Show();
    ui().cboHorizontal->UserEdit("3");
    host.printerAnswers = {true};
    ui().cmdAlignment->UserClick();
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(host.printed[0].Title(), "Check alignment");
    const auto lines = testing::PrintedLines(PlainText(host.printed[0]));
    ASSERT_EQ(lines.size(), 16u);
    // Each field's text stands where the check's would, framed, with its name beside it.
    EXPECT_EQ(lines[4], testing::Row({{100, "DATE"}, {109, "[12/30/05]"}}));
    EXPECT_EQ(lines[7],
              testing::Row({{17, "[Ann Lee********] PAY TO"}, {100, "$"}, {104, "[**1234.50]"}}));
    EXPECT_EQ(lines[9], testing::Row({{7,
                                       "[***** One Thousand Two Hundred Thirty Four and "
                                       "50/100*****] DOLLARS"}}));
    EXPECT_EQ(lines[11],
              testing::Row({{17, "[Ann Lee] NAME"}, {70, "SSN"}, {77, "[123-45-6789]"}}));
    EXPECT_EQ(lines[15], testing::Row({{12, "[] MEMO"}}));
    EXPECT_EQ(StoredOffsets(), (PrintOffsets{0, 0}));
    EXPECT_TRUE(program.printSet.IsVisible());
}

}  // namespace
}  // namespace kestrel

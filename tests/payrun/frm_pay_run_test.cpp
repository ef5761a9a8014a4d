// The Pay Run window driven through its controls, on a copy of the demo folder with a damaged
// employee beside the two good ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/program.h"
#include "employee/employee_files.h"
#include "payrun/frm_pay_run.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

double Amount(const Label* label) {
    std::string text = label->Caption();
    std::erase_if(text, [](char c) { return c == '$' || c == ','; });
    return LeadingNumber(text);
}

class PayRunWindow : public ::testing::Test {
  protected:
    PayRunWindow() {
        fs::copy(testing::DemoFolder(), ".");
        testing::WriteFile("Broken.use", "1,2\r\n");
        program.Start();
        program.form1.ui().mnuPayRun->UserClick();
    }
    frmPayRunUi& Ui() { return program.payRun.ui(); }
    const Label* Status(std::size_t row) { return Ui().rows[row].lbStatus; }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(PayRunWindow, FillsCalculatesAndTotalsEveryEmployeeSkippingTheRefusedOne) {
    ASSERT_TRUE(program.payRun.IsVisible());
    EXPECT_EQ(program.payRun.Employees(),
              (std::vector<std::string>{"Broken", "Worker1", "Worker2"}));
    frmPayRunUi& u = Ui();
    EXPECT_EQ(u.rows[1].lbFrequency->Caption(), "Weekly");
    EXPECT_EQ(u.rows[2].lbFrequency->Caption(), "Bi-Weekly");

    u.txtWeekEnd->SetText("01/07/05");
    u.cmdFill->UserClick();
    EXPECT_EQ(u.rows[1].txtEntry[0]->Text(), "40");
    EXPECT_EQ(u.rows[1].txtEntry[3]->Text(), "2");
    EXPECT_EQ(Status(1)->Caption(), "Filled from 01_07_05Worker1.prv.");
    EXPECT_EQ(u.rows[2].txtEntry[0]->Text(), "");
    EXPECT_NE(Status(2)->Caption().find("No saved period"), std::string::npos);

    u.rows[2].txtEntry[0]->SetText("80");
    u.rows[2].txtEntry[2]->SetText("3");
    u.rows[2].ck2X->UserClick();
    u.cmdCalculate->UserClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(Status(0)->Caption().find("Broken.use"), std::string::npos) << Status(0)->Caption();
    EXPECT_EQ(u.rows[0].lbNet->Caption(), "");
    // The week is in Worker1's register already; Worker2's first free row takes it.
    EXPECT_EQ(Status(1)->Caption(), "Row 1 holds 01/07/05.");
    EXPECT_EQ(Status(2)->Caption(), "Posts into row 4.");
    // Worker1: 40 hours and 2 at time and a half at 15.50, the demo's 20 of K plan.
    EXPECT_EQ(u.rows[1].lbGross->Caption(), "$666.50");
    // Worker2: 80 hours and 3 hours of O.T. counted twice at 11.25.
    EXPECT_EQ(u.rows[2].lbGross->Caption(), "$967.50");
    for (auto [figures, total] : {std::pair{&frmPayRunUi::Row::lbGross, u.lbTotGross},
                                  {&frmPayRunUi::Row::lbTaxes, u.lbTotTaxes},
                                  {&frmPayRunUi::Row::lbDeduct, u.lbTotDeduct},
                                  {&frmPayRunUi::Row::lbNet, u.lbTotNet}}) {
        EXPECT_NEAR(Amount(total), Amount(u.rows[1].*figures) + Amount(u.rows[2].*figures), 1e-9);
    }
    EXPECT_EQ(u.lbSummary->Caption(), "2 done, 1 skipped.");

    u.rows[2].txtRow->SetText("27");
    u.cmdCalculate->UserClick();
    EXPECT_EQ(Status(2)->Caption(), "Row 27 is not a row of the register (1 to 26).");
}

TEST_F(PayRunWindow, PostsAllAndAsksOnceBeforePostingOverRows) {
    frmPayRunUi& u = Ui();
    u.txtWeekEnd->SetText("02/25/05");
    u.rows[1].txtEntry[0]->SetText("40");
    u.rows[2].txtEntry[0]->SetText("80");
    u.cmdPost->UserClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Status(1)->Caption(), "Posted in row 5.");
    EXPECT_EQ(Status(2)->Caption(), "Posted in row 4.");
    const std::string posted1 = testing::ReadFile("Worker1.yrw");
    const std::string posted2 = testing::ReadFile("Worker2.yrb");
    EXPECT_NE(posted1, testing::ReadFile(testing::DemoFolder() / "Worker1.yrw"));

    // A chosen row and the rows of the week both hold a period now: one question lists them.
    u.rows[2].txtRow->SetText("2");
    host.answers = {MsgResult::Cancel};
    u.cmdPost->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "These rows of the registers hold a period already:\r\nWorker1: row 5 (02/25/05)"
              "\r\nWorker2: row 2 (01/28/05)\r\nPost over them? No posts the other employees "
              "only.");
    EXPECT_EQ(testing::ReadFile("Worker1.yrw"), posted1);

    host.answers = {MsgResult::No};
    u.cmdPost->UserClick();
    EXPECT_EQ(Status(1)->Caption(), "Row 5 (02/25/05) holds a period already; nothing was posted.");
    EXPECT_EQ(testing::ReadFile("Worker1.yrw"), posted1);
    EXPECT_EQ(testing::ReadFile("Worker2.yrb"), posted2);

    host.answers = {MsgResult::Yes};
    u.cmdPost->UserClick();
    EXPECT_EQ(Status(2)->Caption(), "Posted in row 2.");
    EXPECT_NE(testing::ReadFile("Worker2.yrb"), posted2);
    EXPECT_TRUE(host.unscripted.empty());
}

// Where the first text starting with `text` stands on `page`.
double ColumnOf(const PrintJob& job, std::size_t page, const std::string& text) {
    const std::vector<LaidOutPage> pages = LayOut(job, FixedColumnMetrics());
    for (const PlacedText& item : pages.at(page).items)
        if (item.text.starts_with(text)) return item.column;
    return -1;
}

TEST_F(PayRunWindow, PrintsEveryStubAndEveryCheckAsOneJobEach) {
    // Worker2's checks print 10 columns further right than Worker1's.
    {
        ScriptedHost other;
        Program worker2(other);
        worker2.Start();
        worker2.ActiveUser = "Worker2";
        ASSERT_TRUE(LoadEmployee(worker2));
        worker2.offsets.Horizontal = 10;
        ASSERT_TRUE(SaveOT(worker2));
    }
    frmPayRunUi& u = Ui();
    u.txtWeekEnd->SetText("02/25/05");
    u.rows[1].txtEntry[0]->SetText("40");
    u.rows[2].txtEntry[0]->SetText("80");
    // Cancelled at the printer dialog: nothing is calculated or printed.
    u.cmdStubs->UserClick();
    EXPECT_TRUE(host.printed.empty());
    EXPECT_EQ(Status(1)->Caption(), "");

    host.printerAnswers = {true, true};
    u.cmdStubs->UserClick();
    u.cmdChecks->UserClick();
    ASSERT_EQ(host.printed.size(), 2u);
    EXPECT_EQ(host.printerDialogs.size(), 3u);
    // The stub names the employee by file, the check by the name to pay.
    const std::array<std::array<const char*, 2>, 2> names{
        {{"Worker1", "Worker2"}, {"Alex Morgan", "Jordan Reyes"}}};
    for (std::size_t k = 0; k < 2; ++k) {
        const PrintJob& job = host.printed[k];
        const std::string text = PlainText(job);
        EXPECT_EQ(LayOut(job, FixedColumnMetrics()).size(), 2u) << job.Title();
        // In the grid's order, one employee a page.
        const auto page = text.find('\f');
        EXPECT_LT(text.find(names[k][0]), page) << job.Title();
        EXPECT_NE(text.find(names[k][1], page), std::string::npos) << job.Title();
    }
    EXPECT_EQ(host.printed[0].Title(), "Pay stubs 02/25/05");
    EXPECT_EQ(ColumnOf(host.printed[1], 1, "Jordan Reyes*"),
              ColumnOf(host.printed[1], 0, "Alex Morgan*") + 10);
    EXPECT_NE(Status(0)->Caption(), "");
    EXPECT_EQ(u.lbSummary->Caption(), "2 done, 1 skipped.");
}

TEST_F(PayRunWindow, DoesNothingOnceFileOpenHasMovedToAnotherFolder) {
    // Another folder with employees of the same names, who are other people.
    fs::create_directory("elsewhere");
    fs::copy(testing::DemoFolder(), "elsewhere");
    fs::current_path("elsewhere");
    const auto before = testing::FolderContents();
    frmPayRunUi& u = Ui();
    u.txtWeekEnd->SetText("02/25/05");
    u.rows[1].txtEntry[0]->SetText("40");
    for (CommandButton* button : {u.cmdFill, u.cmdCalculate, u.cmdPost, u.cmdStubs}) {
        host.messages.clear();
        button->UserClick();
        ASSERT_EQ(host.messages.size(), 1u) << button->Name();
        EXPECT_NE(host.messages[0].text.find("open Pay Run again"), std::string::npos);
        EXPECT_EQ(Status(1)->Caption(), "") << button->Name();
    }
    EXPECT_TRUE(host.printerDialogs.empty());
    EXPECT_EQ(testing::FolderContents(), before);
    // Opened again, it lists this folder's employees and runs here.
    host.messages.clear();
    program.form1.ui().mnuPayRun->UserClick();
    EXPECT_EQ(program.payRun.Employees(), (std::vector<std::string>{"Worker1", "Worker2"}));
    Ui().rows[0].txtEntry[0]->SetText("40");
    Ui().cmdCalculate->UserClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(Ui().rows[0].lbNet->Caption(), "");
}

}  // namespace
}  // namespace kestrel

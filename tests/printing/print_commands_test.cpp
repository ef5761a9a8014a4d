// Every command that prints asks for the printer once, and offers a PDF under the document's name.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct PrintCommand {
    const char* name;
    std::function<void(Program&)> run;
    std::string pdfFile;  // the name the printer dialog suggests
    bool image;           // a window's image rather than a job
};

class PrintCommands : public ::testing::TestWithParam<PrintCommand> {
  protected:
    void SetUp() override {
        for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
            fs::copy_file(entry.path(), entry.path().filename());
        program.Start();
        host.files.push_back(dir.Path() / "Worker1.use");
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        program.form1.ui().mnuOpen->UserClick();
        program.form1.ui().txtWeekEnd->SetText("01/07/05");
        program.form1.ui().txtEntry[0]->SetText("40");
        program.form1.ui().cmdCal->UserClick();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_P(PrintCommands, OnePrinterDialogNamedAfterTheDocument) {
    const PrintCommand& command = GetParam();
    // A second dialog would find no answer and count as unscripted.
    host.printerAnswers = {true};
    command.run(program);
    EXPECT_EQ(host.printerDialogs, std::vector<std::string>{command.pdfFile});
    EXPECT_EQ(host.printed.size(), command.image ? 0u : 1u);
    EXPECT_EQ(host.imagesPrinted.size(), command.image ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPrintout, PrintCommands,
    ::testing::Values(
        PrintCommand{"PrintSheet", [](Program& p) { p.form1.ui().mnuPrintSheetItem->UserClick(); },
                     "Pay stub Worker1 01-07-05.pdf", false},
        PrintCommand{"PrintButton", [](Program& p) { p.form1.ui().cmdPrint->UserClick(); },
                     "Pay stub Worker1 01-07-05.pdf", false},
        PrintCommand{"PrintImage", [](Program& p) { p.form1.ui().mnuPrintItem->UserClick(); },
                     "Main window Worker1 01-07-05.pdf", true},
        PrintCommand{"YearToDate",
                     [](Program& p) {
                         p.form1.ui().cmdYear->UserClick();
                         p.ytdContainer.ui().mnuPrint->UserClick();
                     },
                     "Year To Date Worker1.pdf", false},
        PrintCommand{"PrintCheck",
                     [](Program& p) {
                         p.checks.Show();
                         p.checks.Menus()[0]->UserClick();
                         p.printSet.ui().cmdPrintCheck->UserClick();
                     },
                     "Paycheck Worker1 01-07-05.pdf", false},
        PrintCommand{"Alignment",
                     [](Program& p) {
                         p.printSet.Show();
                         p.printSet.ui().cmdAlignment->UserClick();
                     },
                     "Check alignment Worker1.pdf", false},
        PrintCommand{"Overtime",
                     [](Program& p) {
                         p.form1.ui().cmdOT->UserClick();
                         p.form2.ui().cmdPrint->UserClick();
                     },
                     "Overtime Worker1.pdf", true}),
    [](const ::testing::TestParamInfo<PrintCommand>& info) { return info.param.name; });

}  // namespace
}  // namespace kestrel

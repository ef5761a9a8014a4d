// kestrel-print runs as a separate program on a copy of the demo folder, the way scripts use it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/scripted_host.h"
#include "printing/pay_stub.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::CommandRun;
using testing::ReadFile;

CommandRun Print(const std::string& arguments) {
    return testing::RunCommand(std::string(KESTREL_PRINT_PATH) + " " + arguments + " 2>stderr.txt");
}

std::map<std::string, std::string> FolderContents() {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        contents[entry.path().filename().string()] = ReadFile(entry.path());
    return contents;
}

class PrintCli : public ::testing::Test {
  protected:
    PrintCli() {
        for (const auto& entry : std::filesystem::directory_iterator(testing::DemoFolder()))
            std::filesystem::copy_file(entry.path(), entry.path().filename());
        before_ = FolderContents();
    }
    // The employee's files as they were before the run; the run may add only `output`.
    void ExpectNothingChangedBut(const std::string& output = {}) {
        std::map<std::string, std::string> after = FolderContents();
        after.erase("stderr.txt");
        if (!output.empty()) after.erase(output);
        EXPECT_EQ(after.size(), before_.size());
        for (const auto& [name, contents] : before_)
            EXPECT_TRUE(after.count(name) == 1 && after[name] == contents) << name << " changed";
    }
    testing::TempWorkDir dir;
    std::map<std::string, std::string> before_;
};

// The pay stub the desktop would print after typing the hours and pressing Calculate.
std::string StubAsTheDesktopMakesIt(const std::string& straightHours) {
    ScriptedHost host;
    Program program(host);
    program.Start();
    program.ActiveUser = "Worker1";
    LoadEmployee(program);
    program.form1.ui().txtEntry[0]->SetText(straightHours);
    program.saveEachCalculation = false;
    program.form1.CalculatePay();
    return PlainText(PayStubJob(program));
}

TEST_F(PrintCli, StubTextIsTheDesktopsPage) {
    const CommandRun run = Print("--employee Worker1 --straight 40 --stub stub.pdf --text");
    ASSERT_EQ(run.status, 0) << ReadFile("stderr.txt");
    EXPECT_EQ(run.out, StubAsTheDesktopMakesIt("40"));
    EXPECT_NE(run.out.find("620.00"), std::string::npos) << run.out;  // 40 hours at 15.50
    EXPECT_FALSE(std::filesystem::exists("stub.pdf"));
    ExpectNothingChangedBut();
}

TEST_F(PrintCli, PeriodOptionsReachTheEntries) {
    struct Case {
        std::string options;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{{"--ot 2", "31.00"},
                                           {"--ot 2 --ot2x", "62.00"},
                                           {"--straight=8 --week-ending 01/28/05", "01/28/05"},
                                           {"--dollars 12.34", "12.34"}}) {
        const CommandRun run = Print("--employee Worker1 " + c.options + " --stub s.pdf --text");
        ASSERT_EQ(run.status, 0) << c.options << ": " << ReadFile("stderr.txt");
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.options << "\n" << run.out;
    }
    ExpectNothingChangedBut();
}

TEST_F(PrintCli, YtdReportIsALandscapePdf) {
    const CommandRun run = Print("--employee Worker1 --straight 40 --ytd-report ytd.pdf");
    ASSERT_EQ(run.status, 0) << ReadFile("stderr.txt");
    EXPECT_EQ(ReadFile("ytd.pdf").substr(0, 5), "%PDF-");
    const std::string info = testing::RunCommand("pdfinfo ytd.pdf").out;
    EXPECT_NE(info.find("792 x 612 pts"), std::string::npos) << info;
    const std::string text = testing::RunCommand("pdftotext -layout ytd.pdf -").out;
    EXPECT_NE(text.find("Worker1"), std::string::npos) << text;
    EXPECT_LT(text.find("01/07/05"), text.find("01/28/05"));
    EXPECT_LT(text.find("01/28/05"), text.find("TOTALS"));
    ExpectNothingChangedBut("ytd.pdf");
}

TEST_F(PrintCli, EveryDocumentIsWrittenAsAPdf) {
    struct Case {
        std::string option;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{{"--stub", "620.00"},
                                           {"--check", "451.51"},
                                           {"--align", "451.51"},
                                           {"--ytd-report", "TOTALS"}}) {
        const CommandRun run = Print("--employee Worker1 --straight 40 " + c.option + " doc.pdf");
        ASSERT_EQ(run.status, 0) << c.option << ": " << ReadFile("stderr.txt");
        const std::string text = testing::RunCommand("pdftotext -layout doc.pdf -").out;
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.option << "\n" << text;
    }
    ExpectNothingChangedBut("doc.pdf");
}

// Where the check's amount starts in the plain text of the check.
std::size_t AmountColumn(const std::string& text) {
    const auto at = text.find("***451.51");
    if (at == std::string::npos) return std::string::npos;
    const auto lineStart = text.rfind('\n', at);
    return lineStart == std::string::npos ? at : at - lineStart - 1;
}

TEST_F(PrintCli, OffsetsShiftTheCheck) {
    const CommandRun unshifted =
        Print("--employee Worker1 --straight 40 --offsets 0,0 --check c.pdf --text");
    const CommandRun shifted =
        Print("--employee Worker1 --straight 40 --offsets 5,0 --check c.pdf --text");
    ASSERT_EQ(unshifted.status, 0) << ReadFile("stderr.txt");
    ASSERT_EQ(shifted.status, 0) << ReadFile("stderr.txt");
    ASSERT_NE(AmountColumn(unshifted.out), std::string::npos) << unshifted.out;
    EXPECT_EQ(AmountColumn(shifted.out), AmountColumn(unshifted.out) + 5);
    // As from the offset dialog: at 0,0 the date stands on the fifth line, at column 107.
    std::vector<std::string> lines;
    std::istringstream in(unshifted.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[4].find_first_not_of(' '), 106u) << lines[4];
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i].find_first_not_of(' '), std::string::npos) << i;
}

TEST_F(PrintCli, RefusedRunsSayWhyAndWriteNothing) {
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {"--employee Nobody --stub a.pdf", 2, "Nobody.use is not in the current folder"},
             {"--stub a.pdf", 2, "--employee NAME is needed"},
             {"--employee Worker1", 2, "name the document"},
             {"--employee Worker1 --stub", 2, "--stub needs a value"},
             {"--employee Worker1 --stub a.pdf --check b.pdf", 2, "one document at a time"},
             {"--employee Worker1 --straight x --stub a.pdf", 2, "--straight needs a number"},
             {"--employee Worker1 --dollars 1.2.3 --stub a.pdf", 2, "--dollars needs an amount"},
             {"--employee Worker1 --week-ending 13/45/05 --stub a.pdf", 2, "--week-ending"},
             {"--employee Worker1 --offsets 3 --check a.pdf", 2, "--offsets needs two"},
             {"--employee Worker1 --frobnicate --stub a.pdf", 2, "unknown option"},
             {"--employee Worker1 --text=yes --stub a.pdf", 2, "--text takes no value"},
             {"--employee ../Worker1 --stub a.pdf", 2, "--employee"},
             {"--employee Worker1 --ytd-report no-such-folder/a.pdf", 1, "cannot write"},
         }) {
        const CommandRun run = Print(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        const std::string error = ReadFile("stderr.txt");
        EXPECT_NE(error.find(c.message), std::string::npos) << c.arguments << "\n" << error;
        EXPECT_FALSE(std::filesystem::exists("a.pdf")) << c.arguments;
    }
    ExpectNothingChangedBut();
}

TEST_F(PrintCli, DamagedEmployeeFilesStopTheRun) {
    testing::WriteFile("Worker1.sta", "not a state file\r\n");
    before_ = FolderContents();
    const CommandRun run = Print("--employee Worker1 --straight 40 --stub a.pdf --text");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(ReadFile("stderr.txt").find("are not whole"), std::string::npos)
        << ReadFile("stderr.txt");
    ExpectNothingChangedBut();
}

}  // namespace
}  // namespace kestrel

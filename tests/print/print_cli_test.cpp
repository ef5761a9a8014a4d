// kestrel-print runs as a separate program on a copy of the demo folder, the way scripts use it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
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

// `prelude` goes before the command: limits, a timeout, the environment.
CommandRun Print(const std::string& arguments, const std::string& prelude = "") {
    return testing::RunCommand(prelude + KESTREL_PRINT_PATH + " " + arguments + " 2>stderr.txt");
}

std::map<std::string, std::string> FolderContents() {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        contents[entry.path().filename().string()] = entry.is_regular_file()
                                                         ? ReadFile(entry.path())
                                                     : entry.is_fifo() ? "<pipe>"
                                                                       : "<folder>";
    return contents;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
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

// What the desktop prints for Worker1 after File, Open, 40 hours and 2 at time and a half for
// the week ending 02/04/05 and Calculate, on 01/02/06: the pay stub from the Print button, the
// check from the offset dialog's Print Check, the report from the register view's Print. In a copy
// of the folder, since Calculate and Apply save.
std::vector<std::string> DesktopPrints() {
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::create_directory("desktop");
    for (const auto& entry : std::filesystem::directory_iterator(here))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), "desktop" / entry.path().filename());
    ScriptedHost host;
    host.today = {2006, 1, 2};
    Program program(host);
    program.Start();
    host.files.push_back(here / "desktop" / "Worker1.use");
    Form1Ui& main = program.form1.ui();
    main.mnuOpen->UserClick();
    main.txtWeekEnd->SetText("02/04/05");
    main.txtEntry[0]->SetText("40");
    main.txtEntry[3]->SetText("2");
    main.cmdCal->UserClick();
    std::vector<std::string> pages;
    host.printerAnswers = {true, true};
    main.cmdPrint->UserClick();
    main.mnuChecks->UserClick();
    program.checks.ui().mnuPrint->UserClick();
    host.printerAnswers = {true};
    program.printSet.ui().cmdPrintCheck->UserClick();
    main.cmdYear->UserClick();
    host.printerAnswers = {true};
    program.ytdContainer.ui().mnuPrint->UserClick();
    for (const PrintJob& job : host.printed)
        pages.push_back(PlainText(job));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{});
    std::filesystem::current_path(here);
    return pages;
}

TEST_F(PrintCli, DocumentsAreTheDesktopsOwnPrints) {
    // Amounts of week 1 that the file does not total: the register must be summed again.
    testing::WriteFile("Worker1.yrw",
                       Replace(ReadFile("Worker1.yrw"), "46.5,666.5,481.51\r\n0,0,0,0\r\n",
                               "46.5,666.5,481.51\r\n1.5,2.25,10,0\r\n"));
    before_ = FolderContents();
    const CommandRun run = Print(
        "--employee Worker1 --straight 40 --ot15 2 --week-ending 02/04/05 --date 01/02/06 "
        "--stub s.pdf --check c.pdf --ytd-report y.pdf --text");
    ASSERT_EQ(run.status, 0) << ReadFile("stderr.txt");
    ExpectNothingChangedBut();
    std::vector<std::string> printed;
    std::istringstream documents(run.out);
    for (std::string page; std::getline(documents, page, '\f');)
        printed.push_back(page);
    const std::vector<std::string> desktop = DesktopPrints();
    ASSERT_EQ(desktop.size(), 3u);
    EXPECT_EQ(printed, desktop);
    // What kestrel-print used to leave out: the company, the date asked for, the year's SDI.
    for (const char* expected : {"Wrenfield Demo Bakery", "01/02/06", "1.50"})
        EXPECT_NE(desktop[0].find(expected), std::string::npos) << expected << "\n" << desktop[0];

    // Without --date the date is the system's.
    const CommandRun today = Print("--employee Worker1 --stub s.pdf --ytd-report y.pdf --text");
    const std::string date = testing::RunCommand("date +%m/%d/%y").out.substr(0, 8);
    EXPECT_NE(today.out.find("Date:     " + date), std::string::npos) << today.out;
    EXPECT_NE(today.out.find(date, today.out.find('\f')), std::string::npos) << today.out;

    // Several PDFs in one call, each as a call of its own writes it.
    ASSERT_EQ(Print("--employee Worker1 --straight 40 --stub s.pdf --check c.pdf").status, 0);
    for (const char* file : {"s.pdf", "c.pdf"})
        EXPECT_EQ(testing::RunCommand(std::string("pdfinfo ") + file + " >/dev/null").status, 0);
    EXPECT_NE(testing::RunCommand("pdftotext c.pdf -").out.find("451.51"), std::string::npos);
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
    ASSERT_EQ(testing::RunCommand("mkfifo pipe && mkdir folder").status, 0);
    before_ = FolderContents();
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
             {"--employee Worker1 --stub a.pdf --stub b.pdf", 2, "--stub is given twice"},
             {"--employee Worker1 --stub a.pdf --check ./a.pdf", 2, "two documents would be"},
             {"--employee Worker1 --date 2006-01-02 --stub a.pdf", 2, "--date needs a date"},
             {"--employee Worker1 --straight x --stub a.pdf", 2, "--straight needs a number"},
             {"--employee Worker1 --dollars 1.2.3 --stub a.pdf", 2, "--dollars needs an amount"},
             {"--employee Worker1 --week-ending 13/45/05 --stub a.pdf", 2, "--week-ending"},
             {"--employee Worker1 --offsets 3 --check a.pdf", 2, "--offsets needs two"},
             {"--employee Worker1 --frobnicate --stub a.pdf", 2, "unknown option"},
             {"--employee Worker1 --text=yes --stub a.pdf", 2, "--text takes no value"},
             {"--employee ../Worker1 --stub a.pdf", 2, "--employee"},
             {"--employee Worker1 --ytd-report no-such-folder/a.pdf", 1,
              "no-such-folder/a.pdf was not written: the folder no-such-folder does not exist"},
             // Never replaced by a file, nor written into (a pipe would hang the run).
             {"--employee Worker1 --stub pipe", 1, "pipe was not written: pipe is a pipe"},
             {"--employee Worker1 --stub folder", 1, "folder was not written: folder is a folder"},
         }) {
        const CommandRun run = Print(c.arguments, "timeout 60 ");
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

bool GoodPdf(const std::string& file) {
    return testing::RunCommand("pdfinfo " + file + " >/dev/null 2>&1").status == 0;
}

// The names a run left in the folder beside the files it started with and `kept`.
std::vector<std::string> Strays(const std::map<std::string, std::string>& before,
                                const std::string& kept) {
    std::vector<std::string> strays;
    for (const auto& [name, contents] : FolderContents())
        if (before.count(name) == 0 && name != "stderr.txt" && name != kept) strays.push_back(name);
    return strays;
}

TEST_F(PrintCli, APdfIsReplacedWholeOrNotAtAll) {
    ASSERT_EQ(Print("--employee Worker1 --straight 40 --stub stub.pdf").status, 0);
    const std::string good = ReadFile("stub.pdf");
    ASSERT_TRUE(GoodPdf("stub.pdf"));

    // A disk that fills up while the report is written: files may not grow past 8 KiB.
    const CommandRun full =
        Print("--employee Worker1 --ytd-report stub.pdf", "trap '' XFSZ; ulimit -f 16; ");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(ReadFile("stderr.txt").find("stub.pdf was not written: "), std::string::npos)
        << ReadFile("stderr.txt");
    EXPECT_EQ(ReadFile("stub.pdf"), good);
    EXPECT_EQ(Strays(before_, "stub.pdf"), std::vector<std::string>{});

    // Killed at any moment, a run leaves the old document or the new one, and at most a hidden
    // temporary file, which the next run removes.
    std::mt19937 random(20051230);
    for (int run = 0; run < 40; ++run) {
        const int delay = std::uniform_int_distribution<int>(0, 150)(random);
        testing::RunCommand(std::string(KESTREL_PRINT_PATH) +
                            " --employee Worker1 --straight 40 --ytd-report stub.pdf 2>/dev/null & "
                            "sleep " +
                            std::to_string(delay / 1000.0) + "; kill -KILL $! 2>/dev/null; wait");
        ASSERT_TRUE(GoodPdf("stub.pdf")) << "killed after " << delay << " ms";
        for (const std::string& stray : Strays(before_, "stub.pdf"))
            ASSERT_EQ(stray.rfind(".stub.pdf.tmp-", 0), 0u) << stray;
    }
    ASSERT_EQ(Print("--employee Worker1 --stub stub.pdf").status, 0);
    EXPECT_EQ(Strays(before_, "stub.pdf"), std::vector<std::string>{});
    ExpectNothingChangedBut("stub.pdf");
}

// The check's page count, and the top of its date on the first page in points.
struct CheckPage {
    int pages = 0;
    double dateTop = -1;
};

CheckPage CheckAt(int vertical) {
    Print("--employee Worker1 --week-ending 02/04/05 --offsets 5," + std::to_string(vertical) +
          " --check c.pdf");
    const std::string words = testing::RunCommand("pdftotext -bbox -l 1 c.pdf -").out;
    std::smatch date;
    std::regex_search(words, date, std::regex(R"re(yMin="([0-9.]+)"[^>]*>02/04/05<)re"));
    return {std::atoi(testing::RunCommand("pdfinfo c.pdf | sed -n 's/^Pages: *//p'").out.c_str()),
            date.empty() ? -1 : std::stod(date[1])};
}

TEST_F(PrintCli, TheCheckStaysOnOnePageAtEveryOffset) {
    const CheckPage level = CheckAt(0);
    const double line = CheckAt(1).dateTop - level.dateTop;  // one line of Arial 11
    EXPECT_NEAR(line, 11 * 1.149, 0.1);
    for (int vertical = 5; vertical >= -5; --vertical) {
        const CheckPage page = CheckAt(vertical);
        EXPECT_EQ(page.pages, 1) << "offset " << vertical;
        // Still moved by the whole offset: at -4 and -5 the date is on the first line.
        EXPECT_NEAR(page.dateTop, level.dateTop + std::max(vertical, -4) * line, 0.1)
            << "offset " << vertical;
    }
}

TEST_F(PrintCli, RulesEndInsideThePrintableWidthOnLetterPaperInAnyLocale) {
    struct Case {
        std::string locale, option;
        double printableRight;  // the paper's width less the quarter-inch margin, in points
        std::string size;
    };
    for (const Case& c : {Case{"C", "--ytd-report", 774, "792 x 612 pts (letter)"},
                          Case{"en_GB.UTF-8", "--stub", 594, "612 x 792 pts (letter)"},
                          Case{"C", "--check", 594, "612 x 792 pts (letter)"}}) {
        const CommandRun run = Print("--employee Worker1 --straight 40 " + c.option + " doc.pdf",
                                     "LANG=" + c.locale + " LC_ALL=" + c.locale + " ");
        ASSERT_EQ(run.status, 0) << ReadFile("stderr.txt");
        EXPECT_NE(testing::RunCommand("pdfinfo doc.pdf").out.find(c.size), std::string::npos)
            << c.locale << " " << c.option;
        const std::string words = testing::RunCommand("pdftotext -bbox doc.pdf -").out;
        const std::regex rule(R"re(xMax="([0-9.]+)"[^>]*>-{20,}<)re");
        int rules = 0;
        for (auto it = std::sregex_iterator(words.begin(), words.end(), rule);
             it != std::sregex_iterator(); ++it, ++rules) {
            EXPECT_LE(std::stod((*it)[1]), c.printableRight) << c.option;
        }
        EXPECT_GT(rules, 0) << c.option;
    }
}

}  // namespace
}  // namespace kestrel

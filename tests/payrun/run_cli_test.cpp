// kestrel-run as scripts use it, on copies of the demo folder: the figures kestrel-calc gives for
// each employee, a damaged employee skipped while the others are done, a bad periods file doing
// nothing at all, and a second posting of the same file refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/calc_run.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#ifdef KESTREL_RUN_PATH
namespace kestrel {
namespace {

namespace fs = std::filesystem;

testing::CommandRun RunPay(const std::string& arguments) {
    return testing::RunCommand(std::string(KESTREL_RUN_PATH) + " " + arguments +
                               " 2>../stderr.txt");
}

// The lines of the object of `employee` in the run's output, each without its indent.
std::set<std::string> EmployeeLines(const std::string& json, const std::string& employee) {
    const auto start = json.find("\"employee\": \"" + employee + "\"");
    if (start == std::string::npos) return {};
    const auto end = json.find("\"employee\": ", start + 1);
    std::istringstream in(json.substr(start, end == std::string::npos ? end : end - start));
    std::set<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find_first_not_of(' '));
        if (!line.empty() && line.back() == ',') line.pop_back();
        lines.insert(line);
    }
    return lines;
}

class RunCli : public ::testing::Test {
  protected:
    RunCli() {
        fs::create_directory("demo");
        fs::copy(testing::DemoFolder(), "demo");
        fs::current_path("demo");
        // Spreadsheets write a byte order mark, CRLF and quotes around what they like.
        testing::WriteFile("../week.csv",
                           "\xEF\xBB\xBF"
                           "employee,straight,ot15,dollars,ot,ot2x\r\n"
                           "\"Worker1\",40,\"2.5\",,,\r\n"
                           "Worker2,80,,125.50,3,1\r\n");
    }
    testing::TempWorkDir dir;
};

TEST_F(RunCli, GivesEachEmployeeTheFiguresOfKestrelCalcAndWritesNothing) {
    const auto before = testing::FolderContents();
    const testing::CommandRun run = RunPay("../week.csv --week-ending 02/25/05");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("../stderr.txt");
    EXPECT_TRUE(testing::FolderContents() == before);
    const struct {
        const char* employee;
        const char* options;
    } kCases[] = {{"Worker1", "--straight 40 --ot15 2.5"},
                  {"Worker2", "--straight 80 --dollars 125.50 --ot 3 --ot-double"}};
    for (const auto& each : kCases) {
        const testing::CalcRun calc = testing::Calc(std::string("--employee ") + each.employee +
                                                    " " + each.options + " 2>/dev/null");
        ASSERT_EQ(calc.status, 0) << each.employee;
        const std::set<std::string> ran = EmployeeLines(run.out, each.employee);
        std::istringstream expected(calc.out);
        int figures = 0;
        for (std::string line; std::getline(expected, line);) {
            line.erase(0, line.find_first_not_of(' '));
            if (!line.empty() && line.back() == ',') line.pop_back();
            if (line == "{" || line == "}") continue;
            ++figures;
            EXPECT_TRUE(ran.contains(line)) << each.employee << ": " << line;
        }
        EXPECT_GT(figures, 40);
    }
    EXPECT_NE(run.out.find("\"notInFile\": []"), std::string::npos);
    EXPECT_NE(run.out.find("\"done\": 2"), std::string::npos) << run.out;
}

TEST_F(RunCli, SkipsADamagedEmployeeAndDoesTheOthers) {
    testing::WriteFile("Worker2.use", "not,a,profile\r\n");
    testing::WriteFile("../week.csv", "employee,straight\nWorker1,40\nWorker2,80\nNobody,1\n");
    const testing::CommandRun run = RunPay("../week.csv --week-ending 02/25/05 --post");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(EmployeeLines(run.out, "Worker1").count("\"postedRow\": 5"), 0u) << run.out;
    EXPECT_NE(run.out.find("Worker2.use"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Nobody.use is not in the folder"), std::string::npos);
    EXPECT_NE(run.out.find("\"done\": 1"), std::string::npos);
    EXPECT_EQ(testing::ReadFile("Worker2.yrb"),
              testing::ReadFile(testing::DemoFolder() / "Worker2.yrb"));
    EXPECT_NE(testing::ReadFile("Worker1.yrw"),
              testing::ReadFile(testing::DemoFolder() / "Worker1.yrw"));
}

TEST_F(RunCli, RefusesABadFileOrCommandLineAndDoesNothing) {
    const auto before = testing::FolderContents();
    const char* kFiles[] = {
        "employee,straight\nWorker1,forty\n",
        "employee,dollars\nWorker1,1.2.3\n",
        "employee,ot2x\nWorker1,2\n",
        "employee,straight,overtime\nWorker1,40,1\n",
        "employee,straight\nWorker1,40\nWorker1,8\n",
        "employee,straight\n\"Worker1,40\n",
        "employee,straight\nWorker1,40,8\n",
        "straight\n40\n",
        "",
    };
    for (const char* file : kFiles) {
        testing::WriteFile("../bad.csv", file);
        const testing::CommandRun run =
            RunPay("../bad.csv --week-ending 02/25/05 --post --stubs ../s.pdf --checks ../c.pdf");
        EXPECT_EQ(run.status, 2) << file;
        EXPECT_TRUE(run.out.empty()) << file;
        EXPECT_NE(testing::ReadFile("../stderr.txt").find("line"), std::string::npos) << file;
    }
    for (const char* line :
         {"../week.csv --post", "../week.csv --overwrite", "", "../week.csv --week-ending 2/30/05",
          "../week.csv --bogus", "../week.csv --stubs ../a.pdf --checks ../a.pdf", "../none.csv"}) {
        EXPECT_EQ(RunPay(line).status, 2) << line;
    }
    EXPECT_TRUE(testing::FolderContents() == before);
    EXPECT_FALSE(fs::exists("../s.pdf") || fs::exists("../c.pdf") || fs::exists("../a.pdf"));
}

TEST_F(RunCli, PostsAFileOnceAndAgainOnlyWithOverwrite) {
    testing::WriteFile("../week.csv", "employee,straight\nWorker1,40\nWorker2,80\n");
    const testing::CommandRun first = RunPay("../week.csv --week-ending 02/25/05 --post");
    ASSERT_EQ(first.status, 0) << testing::ReadFile("../stderr.txt");
    const auto posted = testing::FolderContents();

    const testing::CommandRun again = RunPay("../week.csv --week-ending 02/25/05 --post");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.out.find("Row 5 (02/25/05) holds a period already"), std::string::npos)
        << again.out;
    EXPECT_NE(again.out.find("Row 4 (02/25/05) holds a period already"), std::string::npos);
    EXPECT_TRUE(testing::FolderContents() == posted);

    // With --overwrite the same rows take the period again, calculated against the register
    // that now holds it.
    const testing::CommandRun overwrite =
        RunPay("../week.csv --week-ending 02/25/05 --post --overwrite --stubs ../stubs.pdf");
    EXPECT_EQ(overwrite.status, 0);
    EXPECT_NE(EmployeeLines(overwrite.out, "Worker1").count("\"postedRow\": 5"), 0u);
    EXPECT_EQ(testing::RunCommand("pdfinfo ../stubs.pdf | grep -c '^Pages: *2$'").out, "1\n");
}

}  // namespace
}  // namespace kestrel
#endif

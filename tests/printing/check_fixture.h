// A program with the main window started and one employee's period on it, for the check preview,
// the offset dialog and the paycheck.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel::testing {

class CheckFixture : public ::testing::Test {
  protected:
    CheckFixture() {
        std::filesystem::copy_file(DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.saveEachCalculation = false;
        program.Start();
        program.ActiveUser = "Worker1";
        EmployeeProfile& p = program.profile;
        p.EmployeeName = "Ann Lee";
        p.EmployeeSsn = "123-45-6789";
        p.EmployeeAddress = "12 Elm St";
        p.EmployeeCityStateZip = "Albany, NY 12207";
        p.HourlyRate1 = 10;
        p.DeductionCaptions = {"CrUnion", "Bond", "Dues", "Pension", "Misc."};
        main().txtWeekEnd->SetText("12/30/05");
        program.result.NetPay = 1234.5f;
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    Form1Ui& main() { return program.form1.ui(); }

    TempWorkDir dir;  // first, so every file lands in the test's own folder
    ScriptedHost host;
    Program program{host};
};

// The plain text of a job, one string per printed line.
inline std::vector<std::string> PrintedLines(const std::string& plain) {
    std::vector<std::string> lines;
    std::istringstream in(plain);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A printed line as the plain text lays it out: each text from its column (1 is the first).
inline std::string Row(const std::vector<std::pair<int, std::string>>& items) {
    std::string line;
    for (const auto& [column, text] : items) {
        const auto at = static_cast<std::size_t>(column - 1);
        if (line.size() < at) line.resize(at, ' ');
        line += text;
    }
    return line;
}

}  // namespace kestrel::testing

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
#include "support/printed_text.h"
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

}  // namespace kestrel::testing

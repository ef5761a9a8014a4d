// The employee's file readers take only a file of their own kind: it ends where its layout ends,
// and a folder, a pipe or an oversized file standing in its place is refused, not taken for a
// missing file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "employee/company_header.h"
#include "employee/employee_files.h"
#include "employee/leave_balances.h"
#include "employee/overtime_allowance.h"
#include "employee/pay_period.h"
#include "employee/profile_files.h"
#include "platform/scripted_host.h"
#include "settings/state_tax_settings.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

// One file kind: how the program writes a sample of it, and its reader over a fresh record. The
// reader answers whether it changed the record it was given, so a refusal can be seen to keep it.
struct Kind {
    const char* name;
    std::size_t lines;  // of the file the program writes
    std::function<RecordWriter(const std::string&)> write;
    std::function<std::optional<ReadError>(const std::string&, bool& changed)> read;
};

EmployeeProfile Sample() {
    EmployeeProfile p = NewEmployeeProfile();
    p.EmployeeName = "Ann Lee";
    p.HourlyRate1 = 12.25F;
    p.Cafeteria = 20;
    return p;
}

std::vector<Kind> Kinds() {
    return {
        {"use", 12,
         [](const std::string& file) {
             return UseRecords(file, Sample(), OvertimeAllowance{}, OvertimeBoxTexts{},
                               ProfileReserved{});
         },
         [](const std::string& file, bool& changed) {
             EmployeeProfile p;
             OvertimeAllowance o;
             ProfileReserved r;
             auto error = ReadUseFile(file, p, o, r);
             changed = p.HourlyRate1 != 0;
             return error;
         }},
        {"and", 9,
         [](const std::string& file) {
             return AndRecords(file, Sample(), StateTaxSettings{}, PrintOffsets{},
                               ProfileReserved{});
         },
         [](const std::string& file, bool& changed) {
             EmployeeProfile p;
             StateTaxSettings s;
             PrintOffsets o;
             ProfileReserved r;
             auto error = ReadAndFile(file, p, s, o, r);
             changed = !p.EmployeeName.empty();
             return error;
         }},
        {"cfe", 1, [](const std::string& file) { return CfeRecords(file, Sample()); },
         [](const std::string& file, bool& changed) {
             EmployeeProfile p;
             auto error = ReadCfeFile(file, p);
             changed = p.Cafeteria != 0;
             return error;
         }},
        {"hol", 41,
         [](const std::string& file) {
             LeaveBalances leave;
             leave.VacationStart = 10;
             leave.SickDates[19] = "12/30/05";
             return LeaveRecords(file, leave);
         },
         [](const std::string& file, bool& changed) {
             LeaveBalances leave;
             auto error = ReadLeaveFile(file, leave);
             changed = leave.VacationStart != 0;
             return error;
         }},
        {"ovb", 52,
         [](const std::string& file) {
             OvertimeAllowance overtime;
             overtime.OtWeekEnding[0] = "01/07/05";
             overtime.OtAmount[0] = "12.5";
             return OvertimeRowRecords(file, overtime, false);
         },
         [](const std::string& file, bool& changed) {
             OvertimeAllowance overtime;
             auto error = ReadOvertimeRows(file, false, overtime);
             changed = !overtime.OtWeekEnding[0].empty();
             return error;
         }},
        {"prv", 8,
         [](const std::string& file) {
             return PayPeriodRecords(file, {40, 0, 2, 1.5F, 0, 0, 12.5F, 3});
         },
         [](const std::string& file, bool& changed) {
             std::array<float, 8> entries{};
             auto error = ReadPayPeriod(file, entries);
             changed = entries[0] != 0;
             return error;
         }},
        {"sav", 1,
         [](const std::string& file) {
             RecordWriter out(file);
             out.Line({field::Text("Wrenfield"), field::Text("1 Main St"), field::Text("12207"),
                       field::Text("ID 7")});
             return out;
         },
         [](const std::string& file, bool& changed) {
             CompanyHeader header;
             auto error = LoadCompanyHeader(header, file);
             changed = !header.CompanyName.empty();
             return error;
         }},
    };
}

class StrictReaders : public ::testing::Test {
  protected:
    TempWorkDir dir;
};

TEST_F(StrictReaders, WhatTheProgramWritesReadsBack) {
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::string file = std::string("good.") + kind.name;
        ASSERT_TRUE(kind.write(file).Commit().ok);
        bool changed = false;
        EXPECT_FALSE(kind.read(file, changed).has_value());
        EXPECT_TRUE(changed);
        // Blank lines and blanks after the last field are harmless.
        WriteFile(file, ReadFile(file) + "\r\n \t\r\n\n");
        EXPECT_FALSE(kind.read(file, changed).has_value());
    }
}

TEST_F(StrictReaders, AnythingAfterTheLastFieldIsRefused) {
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::string file = std::string("long.") + kind.name;
        ASSERT_TRUE(kind.write(file).Commit().ok);
        const std::string good = ReadFile(file);
        for (const std::string& extra :
             {std::string("0\r\n"), std::string("\r\n\"x\"\r\n"), std::string(",\r\n"), good}) {
            SCOPED_TRACE(extra);
            WriteFile(file, good + extra);
            bool changed = true;
            const std::optional<ReadError> error = kind.read(file, changed);
            ASSERT_TRUE(error.has_value());
            EXPECT_FALSE(changed);
            EXPECT_EQ(error->line, kind.lines + (extra[0] == '\r' ? 2 : 1));
        }
        // A field more at the end of the last line.
        WriteFile(file, good.substr(0, good.size() - 2) + ",0\r\n");
        bool changed = true;
        const std::optional<ReadError> error = kind.read(file, changed);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, kind.lines);
        EXPECT_FALSE(changed);
    }
}

TEST_F(StrictReaders, AFileCutInsideItsLastLineIsRefused) {
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::string file = std::string("cut.") + kind.name;
        ASSERT_TRUE(kind.write(file).Commit().ok);
        const std::string good = ReadFile(file);
        WriteFile(file, good.substr(0, good.size() - 3));
        bool changed = true;
        const std::optional<ReadError> error = kind.read(file, changed);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, kind.lines);
        EXPECT_FALSE(changed);
    }
}

TEST_F(StrictReaders, AWeeklyOvertimeFileIsNotABiWeeklyOne) {
    OvertimeAllowance overtime;
    overtime.OtWeekEnding[30] = "07/29/05";
    ASSERT_TRUE(OvertimeRowRecords("Worker1.ovw", overtime, true).Commit().ok);
    OvertimeAllowance read;
    const auto error = ReadOvertimeRows("Worker1.ovw", false, read);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, 53u);
    EXPECT_FALSE(ReadOvertimeRows("Worker1.ovw", true, read).has_value());
    EXPECT_EQ(read.OtWeekEnding[30], "07/29/05");
}

TEST_F(StrictReaders, NotARegularFileIsRefusedWithItsReason) {
    std::filesystem::create_directory("folder.use");
    ASSERT_EQ(::mkfifo("pipe.hol", 0600), 0);
    EmployeeProfile p;
    OvertimeAllowance o;
    ProfileReserved r;
    auto error = ReadUseFile("folder.use", p, o, r);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, 0u);
    EXPECT_EQ(error->reason, "is a directory");
    LeaveBalances leave;
    error = ReadLeaveFile("pipe.hol", leave);  // must not wait for a writer
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->reason, "is a pipe");
    CompanyHeader header;
    error = LoadCompanyHeader(header, "/dev/zero");  // must not read forever
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->reason, "is a device");
}

TEST_F(StrictReaders, AFileLargerThanAnyLayoutIsRefusedUnread) {
    ASSERT_TRUE(CfeRecords("Worker1.cfe", Sample()).Commit().ok);
    const std::string good = ReadFile("Worker1.cfe");
    // Blank lines only, but two megabytes of them.
    WriteFile("Worker1.cfe", good + std::string(2 << 20, '\n'));
    EmployeeProfile p;
    const auto error = ReadCfeFile("Worker1.cfe", p);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, 0u);
    const std::string size = std::to_string(good.size() + (2 << 20));
    EXPECT_EQ(error->reason.rfind("is too large: " + size + " bytes", 0), 0u) << error->reason;
    EXPECT_EQ(p.Cafeteria, 0.0F);
}

// Opening an employee: what stands in the place of a file is told, not passed over as missing.
TEST_F(StrictReaders, OpeningAnEmployeeReportsAFolderInPlaceOfAFile) {
    ScriptedHost host;
    Program program(host);
    program.Start();
    host.messages.clear();
    program.ActiveUser = "Worker1";
    std::filesystem::create_directory("Worker1.cfe");
    std::filesystem::create_directory("Worker1.hol");
    program.profile.Cafeteria = 7;
    EXPECT_FALSE(LoadProfileFiles(program));
    // Not the value held before: that may be another employee's.
    EXPECT_EQ(program.profile.Cafeteria, 0.0F);
    program.dialogVac.GetVac();
    const std::vector<std::string> told = host.MessageTexts();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].rfind("The file Worker1.cfe: is a directory\r\n", 0), 0u) << told[0];
    EXPECT_NE(told[1].find("Worker1.hol: is a directory"), std::string::npos) << told[1];
}

// Values the windows could never have stored are refused with where they stand, not read as
// something else: "single" was taxed as Married, a damaged allowance byte as no allowances.
TEST_F(StrictReaders, ValuesNoWindowStoresAreRefusedWithTheirPlace) {
    struct Case {
        const char* name;
        const char* file;
        std::size_t line;  // counted from 1
        std::string text;
        const char* where;
    };
    const std::vector<Case> cases{
        {"lower-case status", "W.use", 4, "\"0\",\"single\",0", "W.use, line 4, field 11"},
        {"blank status", "W.use", 4, "\"0\",\"\",0", "W.use, line 4, field 11"},
        {"damaged allowance", "W.use", 4, "\"\x01\",\"Single\",0", "W.use, line 4, field 10"},
        {"ten allowances", "W.use", 4, "\"10\",\"Single\",0", "W.use, line 4, field 10"},
        {"half an allowance", "W.use", 4, "\"2.5\",\"Single\",0", "W.use, line 4, field 10"},
        {"both frequencies", "W.use", 7, "#TRUE#,#TRUE#,\"CrUnion\"", "W.use, line 7, field 20"},
        {"state allowances", "W.sta", 23, "0,0,0,12,\"Single\",0,0,0,0,0,0",
         "W.sta, line 23, field 94"},
        {"negative state allowances", "W.sta", 23, "0,0,0,-1,\"Single\",0,0,0,0,0,0",
         "W.sta, line 23, field 94"},
    };
    for (const Case& c : cases) {
        EmployeeProfile profile = NewEmployeeProfile();
        OvertimeAllowance overtime;
        ProfileReserved reserved;
        StateTaxSettings state = NewYorkStateDefaults();
        std::string text = std::string(c.file) == "W.use"
                               ? UseRecords(c.file, profile, overtime, {}, reserved).Contents()
                               : StateRecords(c.file, state, profile).Contents();
        std::size_t start = 0;
        for (std::size_t line = 1; line < c.line; ++line)
            start = text.find("\r\n", start) + 2;
        text.replace(start, text.find("\r\n", start) - start, c.text);
        WriteFile(c.file, text);

        std::optional<ReadError> error;
        if (std::string(c.file) == "W.use") {
            error = ReadUseFile(c.file, profile, overtime, reserved);
        } else if (const auto read = ReadStateFile(c.file, state, profile);
                   read.status == SettingsFileStatus::Corrupted) {
            error = read.error;
        }
        ASSERT_TRUE(error.has_value()) << c.name;
        EXPECT_EQ(DescribeReadError(c.file, *error).substr(0, std::string(c.where).size()), c.where)
            << c.name << ": " << error->reason;
        EXPECT_EQ(profile.FederalStatus, "Single") << c.name;
        EXPECT_EQ(profile.StateAllowances, 0) << c.name;
    }
}

}  // namespace
}  // namespace kestrel

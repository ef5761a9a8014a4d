#include "employee/profile_files.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

EmployeeProfile SampleProfile() {
    EmployeeProfile p = NewEmployeeProfile();
    p.EmployeeName = "Ann \"Nan\" Lee";
    p.EmployeeAddress = "12 Elm St, Apt 3";
    p.EmployeeCityStateZip = "Albany, NY 12207";
    p.EmployeeSsn = "123-45-6789";
    p.HourlyRate1 = 12.25f;
    p.HourlyRate2 = 9.1f;
    p.TipsRate = 2.5f;
    p.FederalAllowances = "2";
    p.FederalStatus = "Married";
    p.Pension = 5;
    p.CreditUnion = 10.5f;
    p.Bond = 6.25f;
    p.Misc = 1.75f;
    p.Dues = 12;
    p.KPlan = 3;
    p.NonCityResident = 1;
    p.WeeklyPay = false;
    p.BiWeeklyPay = true;
    p.KPlanIsPercent = 0;
    p.KPlanIsFixed = 1;
    p.Cafeteria = 20;
    p.CafeteriaReducesState = 1;
    p.SelfEmployed = 1;
    p.DeductionCaptions = {"Muni", "Savings", "Union", "Retire", "Other"};
    return p;
}

TEST(ProfileFiles, WriteEveryLineAsLaidOut) {
    TempWorkDir dir;
    const EmployeeProfile p = SampleProfile();
    OvertimeAllowance overtime;
    overtime.OvertimeEarned = 1000;
    overtime.PresentPercent = 0.02f;
    StateTaxSettings state;
    state.SpouseWorks = 1;
    state.CaliforniaAllowance = 37.5f;
    state.RoundState = 1;
    state.OklahomaFlag = 1;
    state.NorthCarolinaFlag = 1;
    const PrintOffsets offsets{-5, 2.5f};
    const ProfileReserved reserved;
    // The limit and available texts are money with a sign first, so they are stored as 0.
    const OvertimeBoxTexts boxes{"50000", "10", "$5,000.00", "$4,000.00"};

    RecordWriter use = UseRecords("W.use", p, overtime, boxes, reserved);
    EXPECT_EQ(use.Contents(),
              "1000,0,0\r\n"
              "50000,10,0.02\r\n"
              "12.25,9.1,2.5\r\n"
              "\"2\",\"Married\",5\r\n"
              "10.5,6.25,1.75\r\n"
              "12,3,1\r\n"
              "#FALSE#,#TRUE#,\"Muni\"\r\n"
              "\"Savings\",\"Union\",\"Retire\",\"Other\"\r\n"
              ",,,\r\n,,,\r\n,,,\r\n,,,\r\n");
    RecordWriter andFile = AndRecords("W.and", p, state, offsets, reserved);
    // A double quote cannot live inside a text field; it is stored as a single quote.
    EXPECT_EQ(andFile.Contents(),
              "-5,2.5,1\r\n"
              "37.5,0,0\r\n"
              "0,0,0\r\n"
              "#FALSE#,#FALSE#,#FALSE#\r\n"
              "\"12 Elm St, Apt 3\",\"Albany, NY 12207\",\"123-45-6789\"\r\n"
              "\"Ann 'Nan' Lee\",\"\",\"\"\r\n"
              "1,1,0,0\r\n"
              "1,0,0\r\n"
              "0,1\r\n");
    RecordWriter cfe = CfeRecords("W.cfe", p);
    EXPECT_EQ(cfe.Contents(), "20,1,1\r\n");
}

TEST(ProfileFiles, RoundTripKeepsEveryFieldAndTheReservedOnes) {
    TempWorkDir dir;
    // Reserved fields written by another program come back exactly as they were.
    WriteFile("W.use",
              "0,0,0\r\n11440,0,0\r\n7.5,0,0\r\n\"0\",\"Single\",0\r\n0,0,0\r\n0,0,0\r\n"
              "#TRUE#,#FALSE#,\"CrUnion\"\r\n\"Bond\",\"Dues\",\"Pension\",\"Misc.\"\r\n"
              "1,\"x\",,#TRUE#\r\n,,,\r\n,,,\r\n2.5,\"y z\",3,4\r\n");
    WriteFile("W.and",
              "0,0,0\r\n0,7,8\r\n1,2,3\r\n#TRUE#,#FALSE#,#TRUE#\r\n\"a\",\"b\",\"c\"\r\n"
              "\"n\",\"r1\",\"r2\"\r\n0,0,0,1\r\n0,-1,5\r\n1,0\r\n");
    EmployeeProfile p = NewEmployeeProfile();
    OvertimeAllowance overtime;
    StateTaxSettings state;
    PrintOffsets offsets;
    ProfileReserved reserved;
    ASSERT_FALSE(ReadUseFile("W.use", p, overtime, reserved));
    ASSERT_FALSE(ReadAndFile("W.and", p, state, offsets, reserved));
    EXPECT_EQ(overtime.AnnualSalary, 11440);
    EXPECT_EQ(p.HourlyRate1, 7.5f);
    EXPECT_EQ(state.AlabamaFlag, 1);
    EXPECT_EQ(p.EmployeeName, "n");
    EXPECT_EQ(UseRecords("W.use", p, overtime, {"11440", "0", "", ""}, reserved).Contents(),
              ReadFile("W.use"));
    EXPECT_EQ(AndRecords("W.and", p, state, offsets, reserved).Contents(), ReadFile("W.and"));

    // And what this program writes reads back to the same records.
    const EmployeeProfile sample = SampleProfile();
    StateTaxSettings flags;
    flags.WisconsinFlag = 1;
    flags.SpouseWorks = 1;
    ASSERT_TRUE(UseRecords("S.use", sample, {}, {}, ProfileReserved{}).Commit());
    ASSERT_TRUE(AndRecords("S.and", sample, flags, {3, 4}, ProfileReserved{}).Commit());
    ASSERT_TRUE(CfeRecords("S.cfe", sample).Commit());
    EmployeeProfile back;
    StateTaxSettings backState;
    PrintOffsets backOffsets;
    ProfileReserved backReserved;
    OvertimeAllowance backOvertime;
    ASSERT_FALSE(ReadUseFile("S.use", back, backOvertime, backReserved));
    ASSERT_FALSE(ReadAndFile("S.and", back, backState, backOffsets, backReserved));
    ASSERT_FALSE(ReadCfeFile("S.cfe", back));
    EmployeeProfile expected = sample;
    expected.EmployeeName = "Ann 'Nan' Lee";
    // The state status, allowances and exemptions live in the state file, not here.
    expected.StateStatus = back.StateStatus;
    EXPECT_EQ(back.EmployeeName, expected.EmployeeName);
    EXPECT_EQ(back.DeductionCaptions, expected.DeductionCaptions);
    EXPECT_EQ(back.HourlyRate2, expected.HourlyRate2);
    EXPECT_EQ(back.KPlanIsFixed, 1);
    EXPECT_EQ(back.SelfEmployed, 1);
    EXPECT_EQ(back.BiWeeklyPay, true);
    EXPECT_EQ(backState.WisconsinFlag, 1);
    EXPECT_EQ(backState.SpouseWorks, 1);
    EXPECT_EQ(backOffsets, (PrintOffsets{3, 4}));
    EXPECT_EQ(backReserved, ProfileReserved{});
}

// A damaged file changes nothing at all and names where it failed.
struct DamagedCase {
    const char* name;
    const char* contents;
    std::size_t line;
};

class DamagedUseFile : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedUseFile, IsRefusedWhole) {
    TempWorkDir dir;
    WriteFile("W.use", GetParam().contents);
    EmployeeProfile p = SampleProfile();
    OvertimeAllowance overtime;
    overtime.AnnualSalary = 777;
    ProfileReserved reserved;
    const auto error = ReadUseFile("W.use", p, overtime, reserved);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, GetParam().line);
    EXPECT_EQ(p.HourlyRate1, SampleProfile().HourlyRate1);
    EXPECT_EQ(p.FederalStatus, "Married");
    EXPECT_EQ(overtime.AnnualSalary, 777);
    EXPECT_EQ(reserved, ProfileReserved{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedUseFile,
    ::testing::Values(
        DamagedCase{"CutAfterTheRates", "0,0,0\r\n11440,0,0\r\n7.5,0,0\r\n", 4},
        DamagedCase{"LetterForARate", "0,0,0\r\n11440,0,0\r\n7.5,x,0\r\n", 3},
        DamagedCase{"NoReservedLines",
                    "0,0,0\r\n1,0,0\r\n7.5,0,0\r\n\"0\",\"Single\",0\r\n0,0,0\r\n0,0,0\r\n"
                    "#TRUE#,#FALSE#,\"a\"\r\n\"b\",\"c\",\"d\",\"e\"\r\n",
                    9},
        DamagedCase{"FlagOutOfRange",
                    "0,0,0\r\n1,0,0\r\n7.5,0,0\r\n\"0\",\"Single\",0\r\n0,0,0\r\n0,0,99999\r\n",
                    6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFiles, DamagedAndAndCfeFilesChangeNothing) {
    TempWorkDir dir;
    WriteFile("W.and", "1,2,1\r\n5,0,0\r\n0,0,0\r\n");
    WriteFile("W.cfe", "20,1\r\n");
    EmployeeProfile p = SampleProfile();
    StateTaxSettings state;
    PrintOffsets offsets;
    ProfileReserved reserved;
    EXPECT_TRUE(ReadAndFile("W.and", p, state, offsets, reserved).has_value());
    EXPECT_EQ(offsets, PrintOffsets{});
    EXPECT_EQ(state.CaliforniaAllowance, 0);
    EXPECT_TRUE(ReadCfeFile("W.cfe", p).has_value());
    EXPECT_EQ(p.Cafeteria, 20);
    EXPECT_EQ(p.SelfEmployed, 1);
    p.Cafeteria = 5;
    EXPECT_TRUE(ReadCfeFile("W.cfe", p).has_value());
    EXPECT_EQ(p.Cafeteria, 5);
}

TEST(ProfileFiles, DescribeNamesFileLineAndField) {
    EXPECT_EQ(DescribeReadError("W.use", ReadError{11, 4, "not a number: \"x\""}),
              "W.use, line 4, field 11: not a number: \"x\"");
    EXPECT_EQ(DescribeReadError("W.use", ReadError{0, 0, "cannot open W.use: Is a directory"}),
              "W.use: cannot open W.use: Is a directory");
}

}  // namespace
}  // namespace kestrel

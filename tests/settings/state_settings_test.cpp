#include "settings/state_tax_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Every field of a file in order; none of these files has a comma inside a text.
std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    for (const auto& line : SplitLines(text)) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            fields.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return fields;
}

// The New York tables with every other value distinct, so that a field written or read in
// another field's place shows up.
struct Known {
    StateTaxSettings settings = NewYorkStateDefaults();
    EmployeeProfile profile = NewEmployeeProfile();
    Known() {
        StateTaxSettings& s = settings;
        s.NoStateTax = 1;
        s.SdiPercent = 0.9f;
        s.SuiPercent = 1.2f;
        s.SdiWageBase = 7000;
        s.SuiWageBase = 8500;
        s.StateAdjustment = -2.5f;
        s.SdiUseBase = 1;
        s.SuiUseBase = 2;
        profile.FicaExempt = 3;
        s.AlabamaFlag = 4;
        s.ArizonaFlag = 5;
        s.LouisianaFlag = 6;
        s.IowaFlag = 7;
        profile.StateAllowances = 8;
        profile.StateStatus = "Married";
        profile.FederalExempt = 9;
        profile.AdditionalFederal = 12.5f;
        s.MassFlag = 10;
        s.OregonFlag = 11;
        s.KentuckyFlag = 12;
        s.MissouriFlag = 13;
    }
};

const std::vector<std::string> kKnownLines{
    "0,0,0.04,0,0,0.04",
    "308,12.31,0.045,308,12.31,0.045",
    "423,17.5,0.0525,423,17.5,0.0525",
    "500,21.54,0.059,500,21.54,0.059",
    "769,37.42,0.0685,769,37.42,0.0685",
    "3462,221.85,0.0764,3462,221.85,0.0764",
    "3846,251.23,0.0854,3846,251.23,0.0814",
    "5769,415.46,0.0855,5769,407.85,0.0895",
    "7692,579.88,0.0775,7692,579.88,0.0775",
    "19231,1474.12,0.082,19231,1474.12,0.082",
    "1",
    "268.3,287.5",
    "306.8,326",
    "345.3,364.5",
    "383.8,403",
    "422.3,441.5",
    "460.8,480",
    "499.3,518.5",
    "537.8,557",
    "576.3,595.5",
    "614.8,634",
    "0.9,1.2,7000,8500,-2.5,1,2,3,4",
    "5,6,7,8,\"Married\",9,12.5,10,11,12,13",
};

// A record unlike the known one in every field the file carries.
struct Old {
    StateTaxSettings settings;
    EmployeeProfile profile = NewEmployeeProfile();
    Old() {
        for (BracketTable* table : {&settings.SingleBrackets, &settings.MarriedBrackets}) {
            for (BracketRow& row : *table)
                row = {99, 98, 0.97f};
        }
        settings.SingleExemptions.fill(96);
        settings.MarriedExemptions.fill(95);
        for (CheckFlag* flag :
             {&settings.NoStateTax, &settings.SdiUseBase, &settings.SuiUseBase,
              &settings.AlabamaFlag, &settings.ArizonaFlag, &settings.LouisianaFlag,
              &settings.IowaFlag, &settings.MassFlag, &settings.OregonFlag, &settings.KentuckyFlag,
              &settings.MissouriFlag, &profile.FicaExempt, &profile.StateAllowances,
              &profile.FederalExempt}) {
            *flag = 77;
        }
        settings.SdiPercent = settings.SuiPercent = settings.SdiWageBase = settings.SuiWageBase =
            settings.StateAdjustment = profile.AdditionalFederal = 94;
        profile.StateStatus = "Single";
    }
};

std::string Written(const StateTaxSettings& settings, const EmployeeProfile& profile) {
    EXPECT_TRUE(WriteStateFile("Written.sta", settings, profile).ok);
    return ReadFile("Written.sta");
}

TEST(StateFile, WritesTheTwentyThreeLinesInTheirOrder) {
    TempWorkDir dir;
    const Known known;
    ASSERT_TRUE(WriteStateFile("Worker1.sta", known.settings, known.profile).ok);
    EXPECT_EQ(ReadFile("Worker1.sta"), JoinLines(kKnownLines));
}

TEST(StateFile, ReadsBackWhatItWrote) {
    TempWorkDir dir;
    const Known known;
    ASSERT_TRUE(WriteStateFile("Worker1.sta", known.settings, known.profile).ok);
    Old read;
    const SettingsFileResult result = ReadStateFile("Worker1.sta", read.settings, read.profile);
    EXPECT_EQ(result.status, SettingsFileStatus::Loaded);
    EXPECT_EQ(read.settings, known.settings);
    EXPECT_EQ(read.profile.StateStatus, "Married");
    EXPECT_EQ(read.profile.StateAllowances, 8);
    EXPECT_EQ(read.profile.FederalExempt, 9);
    EXPECT_EQ(read.profile.AdditionalFederal, 12.5f);
    EXPECT_EQ(read.profile.FicaExempt, 3);
    EXPECT_EQ(Written(read.settings, read.profile), JoinLines(kKnownLines));
}

TEST(StateFile, LeavesOutWhatTheProfileFilesCarry) {
    TempWorkDir dir;
    Known known;
    known.settings.CaliforniaAllowance = 50;
    known.settings.SpouseWorks = 1;
    known.settings.RoundState = 1;
    known.settings.OklahomaFlag = 1;
    known.settings.WisconsinFlag = 1;
    known.settings.NorthCarolinaFlag = 1;
    EXPECT_EQ(Written(known.settings, known.profile), JoinLines(kKnownLines));

    Old read;
    ASSERT_EQ(ReadStateFile("Written.sta", read.settings, read.profile).status,
              SettingsFileStatus::Loaded);
    EXPECT_EQ(read.settings.CaliforniaAllowance, 0.0f);
    EXPECT_EQ(read.settings.OklahomaFlag, 0);
}

TEST(StateFile, NewYorkHasNothingButTheTables) {
    const StateTaxSettings ny = NewYorkStateDefaults();
    StateTaxSettings tablesOnly;
    tablesOnly.SingleBrackets = ny.SingleBrackets;
    tablesOnly.MarriedBrackets = ny.MarriedBrackets;
    tablesOnly.SingleExemptions = ny.SingleExemptions;
    tablesOnly.MarriedExemptions = ny.MarriedExemptions;
    EXPECT_EQ(ny, tablesOnly);
    EXPECT_FALSE(ny.AnySpecialState());
}

TEST(StateFile, AnySpecialStateSeesEachOfTheEleven) {
    using Flag = CheckFlag StateTaxSettings::*;
    for (Flag flag :
         {&StateTaxSettings::ArizonaFlag, &StateTaxSettings::LouisianaFlag,
          &StateTaxSettings::IowaFlag, &StateTaxSettings::MissouriFlag, &StateTaxSettings::MassFlag,
          &StateTaxSettings::OregonFlag, &StateTaxSettings::OklahomaFlag,
          &StateTaxSettings::AlabamaFlag, &StateTaxSettings::KentuckyFlag,
          &StateTaxSettings::WisconsinFlag, &StateTaxSettings::NorthCarolinaFlag}) {
        StateTaxSettings settings;
        settings.*flag = 1;
        EXPECT_TRUE(settings.AnySpecialState());
    }
    StateTaxSettings others;
    others.NoStateTax = others.SpouseWorks = others.RoundState = 1;
    EXPECT_FALSE(others.AnySpecialState());
}

TEST(StateFile, MissingFileChangesNothing) {
    TempWorkDir dir;
    Old read;
    const SettingsFileResult result = ReadStateFile("Nobody.sta", read.settings, read.profile);
    EXPECT_EQ(result.status, SettingsFileStatus::Missing);
    EXPECT_EQ(read.settings, Old().settings);
    EXPECT_EQ(Written(read.settings, read.profile), Written(Old().settings, Old().profile));
}

struct Damage {
    const char* name;
    std::size_t keptLines;  // the file is cut after this many lines
    std::size_t badLine;    // 1-based; 0 for none
    std::size_t badField;   // 0-based within that line
    const char* badText;
    std::size_t failField;  // 1-based over the whole file
    std::size_t failLine;
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

class DamagedStateFile : public ::testing::TestWithParam<Damage> {};

// The read stops at the failing field, and every field the file carries then holds a new
// employee's value: neither what the file held before the failure nor what memory held before.
TEST_P(DamagedStateFile, StopsAtTheFailingFieldAndTakesNothingOfTheFile) {
    TempWorkDir dir;
    const Damage& d = GetParam();
    std::vector<std::string> lines(kKnownLines.begin(),
                                   kKnownLines.begin() + static_cast<long>(d.keptLines));
    if (d.badLine > 0) {
        std::vector<std::string> fields = Fields(lines[d.badLine - 1] + "\r\n");
        fields[d.badField] = d.badText;
        std::string line;
        for (std::size_t i = 0; i < fields.size(); ++i)
            line += (i > 0 ? "," : "") + fields[i];
        lines[d.badLine - 1] = line;
    }
    WriteFile("Worker1.sta", JoinLines(lines));

    Old read;
    const SettingsFileResult result = ReadStateFile("Worker1.sta", read.settings, read.profile);
    EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(result.error.field, d.failField);
    EXPECT_EQ(result.error.line, d.failLine);

    const std::vector<std::string> after = Fields(Written(read.settings, read.profile));
    EXPECT_EQ(after, Fields(Written(NewYorkStateDefaults(), NewEmployeeProfile())));
}

INSTANTIATE_TEST_SUITE_P(
    StateFile, DamagedStateFile,
    ::testing::Values(Damage{"Empty", 0, 0, 0, "", 1, 1},
                      Damage{"TablesOnly", 10, 0, 0, "", 61, 11},
                      Damage{"NoLastLine", 22, 0, 0, "", 91, 23},
                      Damage{"LetterInAnExemption", 23, 12, 0, "abc", 62, 12},
                      Damage{"FlagOutOfRange", 23, 22, 5, "70000", 87, 22},
                      Damage{"WordForAdditionalFederal", 23, 23, 6, "x", 97, 23},
                      Damage{"SpaceInsideAPercent", 23, 3, 2, "0.0 525", 15, 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrel

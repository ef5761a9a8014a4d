// A register file is read only for the pay frequency it was written for, and only when it is a
// file at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/scripted_host.h"
#include "support/temp_dir.h"
#include "ytd/ytd_register.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

EmployeeProfile Profile(bool weekly) {
    EmployeeProfile profile = NewEmployeeProfile();
    profile.WeeklyPay = weekly;
    profile.BiWeeklyPay = !weekly;
    return profile;
}

// A register with a gross in week 1 and a federal figure in week 30, saved for `weekly` pay.
void SaveSample(bool weekly) {
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(1).WeekEnding = "01/07/05";
    ytd.Row(1).Gross = 89900;
    ytd.Row(30).Federal = 12.5F;
    ASSERT_TRUE(SaveAnnual(ytd, "Worker1", Profile(weekly), host));
}

TEST(StrictRegister, AWeeklyFileIsNotABiWeeklyOne) {
    TempWorkDir dir;
    SaveSample(true);
    std::filesystem::rename("Worker1.yrw", "Worker1.yrb");
    YtdRegister ytd;
    ytd.Row(2).Net = 5;
    const auto damage = ReadAnnualFile("Worker1.yrb", false, ytd);
    ASSERT_TRUE(damage.has_value());
    // 26 row blocks and three total lines take the weekly file's first 107 lines; week 27 follows.
    EXPECT_EQ(damage->line, 108u);
    EXPECT_EQ(damage->field, 26u * 19 + 15 + 1);
    EXPECT_EQ(ytd.Row(2).Net, 5.0F);

    // The employee's window load refuses it and says so.
    ScriptedHost host;
    EXPECT_EQ(LoadAnnual(ytd, "Worker1", Profile(false), host), LoadAnnualResult::Damaged);
    EXPECT_EQ(ytd, YtdRegister{});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Worker1.yrb is damaged"), std::string::npos);
    EXPECT_NE(host.messages[0].text.find("line 108"), std::string::npos) << host.messages[0].text;

    // Either file reads for its own frequency.
    SaveSample(false);
    SaveSample(true);
    for (const bool weekly : {true, false}) {
        ytd = YtdRegister{};
        EXPECT_FALSE(ReadAnnualFile(weekly ? "Worker1.yrw" : "Worker1.yrb", weekly, ytd));
        EXPECT_EQ(ytd.totals.Gross, Currency::FromRaw(899000000));
    }
}

TEST(StrictRegister, ADirectoryInThePlaceOfTheFileIsReported) {
    TempWorkDir dir;
    std::filesystem::create_directory("Worker1.yrw");
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(1).Gross = 3;
    EXPECT_EQ(LoadAnnual(ytd, "Worker1", Profile(true), host), LoadAnnualResult::Damaged);
    EXPECT_EQ(ytd, YtdRegister{});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The year-to-date file Worker1.yrw is damaged and could not be read (is a "
              "directory). The register was left empty.");
}

}  // namespace
}  // namespace kestrel

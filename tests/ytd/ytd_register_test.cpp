#include "ytd/ytd_register.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

constexpr std::string_view kUser = "Worker1";
constexpr std::string_view kFault = "CHECK YOUR ENTRY FOR NON NUMBER TYPE";

EmployeeProfile Profile(bool weekly) {
    EmployeeProfile profile = NewEmployeeProfile();
    profile.WeeklyPay = weekly;
    profile.BiWeeklyPay = !weekly;
    profile.DeductionCaptions = {"Union", "Bond", "Dues", "401", "Misc"};
    return profile;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

// A grid window with typed cells; a cell nobody typed into is empty.
class FakeGrid : public YtdGridTexts {
  public:
    std::string WeekEndingText(int week) const override {
        auto found = weekEndings.find(week);
        return found == weekEndings.end() ? std::string() : found->second;
    }
    std::string AmountText(int week, YtdColumn column) const override {
        auto found = cells.find({week, column});
        return found == cells.end() ? std::string() : found->second;
    }
    void ShowRegister(const YtdRegister& ytd, int rowCount,
                      const std::array<std::string, 5>& deductionCaptions) override {
        shown.push_back({ytd, rowCount, deductionCaptions});
    }

    struct Shown {
        YtdRegister ytd;
        int rowCount;
        std::array<std::string, 5> captions;
    };
    std::map<int, std::string> weekEndings;
    std::map<std::pair<int, YtdColumn>, std::string> cells;
    std::vector<Shown> shown;
};

class FakeTotals : public YtdTotalsView {
  public:
    void ShowTotals(const YtdTotals& totals) override { shown.push_back(totals); }
    std::vector<YtdTotals> shown;
};

// Two-decimal amounts, as postings leave them, so every value survives its 7-digit text.
YtdRegister SampleRegister() {
    YtdRegister ytd;
    YtdRow& first = ytd.Row(1);
    first = {"01/07/05", 41.5F, 24.8F,  5.8F, 12.06F,  3.1F, 10,   5,   2.5F, 8,
             1.25F,      20,    45.75F, 400,  290.33F, 1.6F, 2.4F, 125, 18.2F};
    ytd.Row(2).WeekEnding = "Jan 14, 2005";  // a comma inside the quotes
    ytd.Row(2).Gross = 1234.56F;
    ytd.Row(2).Sdi = 0.1F;
    ytd.Row(52).WeekEnding = "0";
    ytd.Row(52).Gross = 1.5e7F;  // written in exponent form by its shortest text
    return ytd;
}

TEST(YtdRegisterTest, WeeklyEmployeeWithoutFileIsEmptiedAndSavesZeros) {
    TempWorkDir dir;
    ScriptedHost host;
    const EmployeeProfile weekly = Profile(true);
    YtdRegister ytd = SampleRegister();  // the employee open before
    ytd.totals.Gross = Currency::FromRaw(5);
    ytd.totals.Sdi = 3;

    EXPECT_FALSE(AnnualFileExists(kUser, true));
    EXPECT_EQ(LoadAnnual(ytd, kUser, weekly, host), LoadAnnualResult::NoFile);
    EXPECT_EQ(ytd, YtdRegister{});
    EXPECT_TRUE(host.messages.empty());

    ASSERT_TRUE(SaveAnnual(ytd, kUser, weekly, host));
    const std::string file = ReadFile("Worker1.yrw");
    EXPECT_EQ(Lines(file).size(), 211U);
    const std::string block = "\"\",0,0,0,0\r\n0,0,0,0,0\r\n0,0,0,0,0\r\n0,0,0,0\r\n";
    EXPECT_EQ(file, Repeat(block, 52) + Repeat("0,0,0,0,0\r\n", 3));
    EXPECT_FALSE(fs::exists("Worker1.yrb"));
}

TEST(YtdRegisterTest, BiWeeklyFileHoldsOnlyTheFirst26Weeks) {
    TempWorkDir dir;
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(26).WeekEnding = "06/30/05";
    ytd.Row(26).Federal = 2;
    ytd.Row(27).WeekEnding = "07/07/05";
    ytd.Row(27).Federal = 9;
    ytd.Row(27).Gross = 300;

    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(false), host));
    EXPECT_FALSE(fs::exists("Worker1.yrw"));
    const std::vector<std::string> lines = Lines(ReadFile("Worker1.yrb"));
    ASSERT_EQ(lines.size(), 107U);
    EXPECT_EQ(lines[100], "\"06/30/05\",2,0,0,0");
    EXPECT_EQ(lines[103], "0,0,0,0");
    EXPECT_EQ(lines[104], "2,0,0,0,0");  // week 27's 9 is not in the total
    EXPECT_EQ(lines[106], "0,0,0,0,0");  // nor its gross
    EXPECT_EQ(ReadFile("Worker1.yrb").find("07/07/05"), std::string::npos);
}

TEST(YtdRegisterTest, ChangingFrequencySwitchesFileAndLeavesTheOtherUntouched) {
    TempWorkDir dir;
    ScriptedHost host;
    YtdRegister ytd = SampleRegister();
    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(true), host));
    const std::string weeklyFile = ReadFile("Worker1.yrw");

    EXPECT_TRUE(AnnualFileExists(kUser, true));
    EXPECT_FALSE(AnnualFileExists(kUser, false));
    EXPECT_EQ(LoadAnnual(ytd, kUser, Profile(false), host), LoadAnnualResult::NoFile);
    EXPECT_EQ(ytd, YtdRegister{});

    ytd.Row(1).WeekEnding = "bi-weekly";
    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(false), host));
    EXPECT_EQ(ReadFile("Worker1.yrw"), weeklyFile);
    EXPECT_TRUE(AnnualFileExists(kUser, false));

    EXPECT_EQ(LoadAnnual(ytd, kUser, Profile(true), host), LoadAnnualResult::Loaded);
    EXPECT_EQ(ytd.Row(1).WeekEnding, "01/07/05");
    EXPECT_EQ(LoadAnnual(ytd, kUser, Profile(false), host), LoadAnnualResult::Loaded);
    EXPECT_EQ(ytd.Row(1).WeekEnding, "bi-weekly");
    EXPECT_TRUE(host.messages.empty());
}

TEST(YtdRegisterTest, SaveWritesTheGridTextsAndTheHiddenAmountsFromTheRegister) {
    TempWorkDir dir;
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(1).WeekEnding = "01/07/05";
    ytd.Row(1).Federal = 99;  // the grid was edited since the last update
    ytd.Row(1).Sdi = 0.1F;
    ytd.Row(1).Sui = 2.25F;
    ytd.Row(1).Cafeteria = 1250;
    FakeGrid grid;
    grid.weekEndings[1] = "0";
    grid.cells[{1, YtdColumn::Federal}] = "12.50";
    grid.cells[{1, YtdColumn::SocialSecurity}] = " 3.1";
    grid.cells[{1, YtdColumn::Gross}] = "abc";
    grid.cells[{1, YtdColumn::Net}] = "1234567.89";  // beyond a single's 7 digits
    grid.cells[{1, YtdColumn::Tips}] = "7x";
    FakeTotals totals;

    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(true), host, {&grid, &totals}));
    const std::vector<std::string> lines = Lines(ReadFile("Worker1.yrw"));
    ASSERT_EQ(lines.size(), 211U);
    EXPECT_EQ(lines[0], "\"0\",12.5,3.1,0,0");
    EXPECT_EQ(lines[1], "0,0,0,0,0");
    EXPECT_EQ(lines[2], "0,0,0,0,1234567.89");
    EXPECT_EQ(lines[3], "0.1,2.25,1250,7");
    EXPECT_EQ(lines[208], "99,0,0,0,0");  // totals come from the register
    ASSERT_EQ(totals.shown.size(), 1U);
    EXPECT_EQ(totals.shown[0], ytd.totals);
}

TEST(YtdRegisterTest, FloatTotalsKeepSevenDigitsAndMoneyTotalsAreExact) {
    TempWorkDir dir;
    ScriptedHost host;
    YtdRegister ytd;
    float plain = 0;
    for (int week = 1; week <= 10; ++week) {
        ytd.Row(week).Federal = 0.1F;
        ytd.Row(week).Overtime = 0.1F;
        plain += 0.1F;
    }
    ASSERT_NE(plain, 1.0F);  // what the rounding through text is there to avoid
    FakeTotals view;

    ASSERT_TRUE(AddAnnual(ytd, Profile(true), host, &view));
    EXPECT_EQ(ytd.totals.Federal, 1.0F);
    EXPECT_EQ(ytd.totals.Overtime, Currency::FromRaw(10000));
    ASSERT_EQ(view.shown.size(), 1U);
    EXPECT_EQ(view.shown[0], ytd.totals);

    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(true), host));
    const std::vector<std::string> lines = Lines(ReadFile("Worker1.yrw"));
    EXPECT_EQ(lines[208], "1,0,0,0,0");
    EXPECT_EQ(lines[210], "0,1,0,0,0");
}

TEST(YtdRegisterTest, BiWeeklyTotalsSkipLaterWeeksExceptSdiSuiCafeteria) {
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(1).Federal = 1;
    ytd.Row(1).Sdi = 1;
    ytd.Row(27).Federal = 100;
    ytd.Row(27).Gross = 100;
    ytd.Row(30).Sdi = 2;
    ytd.Row(52).Sui = 3;
    ytd.Row(40).Cafeteria = 4;

    ASSERT_TRUE(AddAnnual(ytd, Profile(false), host));
    EXPECT_EQ(ytd.totals.Federal, 1.0F);
    EXPECT_EQ(ytd.totals.Gross, Currency());
    EXPECT_EQ(ytd.totals.Sdi, 3.0F);
    EXPECT_EQ(ytd.totals.Sui, 3.0F);
    EXPECT_EQ(ytd.totals.Cafeteria, 4.0F);

    ASSERT_TRUE(AddAnnual(ytd, Profile(true), host));
    EXPECT_EQ(ytd.totals.Federal, 101.0F);
    EXPECT_EQ(ytd.totals.Gross, Currency::FromRaw(100 * 10000));
}

TEST(YtdRegisterTest, RoundTripGivesBackRowsAndTotals) {
    TempWorkDir dir;
    ScriptedHost host;
    const EmployeeProfile weekly = Profile(true);
    YtdRegister ytd = SampleRegister();
    ASSERT_TRUE(SaveAnnual(ytd, kUser, weekly, host));
    const YtdRegister saved = ytd;
    // 1234.56F lies just above 1234.56 and converts to 1234.5601.
    EXPECT_EQ(saved.totals.Gross, Currency::FromRaw(150016345601));

    // Another employee's register, with Sdi, Sui and Cafeteria totals the file cannot replace.
    YtdRegister other;
    other.Row(30).WeekEnding = "other";
    other.totals.Sdi = 9;
    FakeGrid grid;
    EXPECT_EQ(LoadAnnual(other, kUser, weekly, host, {&grid}), LoadAnnualResult::Loaded);
    EXPECT_EQ(other.rows, saved.rows);
    YtdTotals expected = saved.totals;
    expected.Sdi = 9;
    expected.Sui = 0;
    expected.Cafeteria = 0;
    EXPECT_EQ(other.totals, expected);
    ASSERT_EQ(grid.shown.size(), 1U);
    EXPECT_EQ(grid.shown[0].ytd, other);
    EXPECT_EQ(grid.shown[0].rowCount, 52);
    EXPECT_EQ(grid.shown[0].captions, weekly.DeductionCaptions);

    ASSERT_TRUE(AddAnnual(other, weekly, host));
    EXPECT_EQ(other, saved);
    EXPECT_TRUE(host.messages.empty());
}

TEST(YtdRegisterTest, LoadTakesTheStoredTotalsWithoutRecomputing) {
    TempWorkDir dir;
    ScriptedHost host;
    std::vector<std::string> lines(211, "0,0,0,0,0");
    for (int week = 0; week < 52; ++week) {
        lines[week * 4] = "\"\",0,0,0,0";
        lines[week * 4 + 3] = "0,0,0,0";
    }
    lines[0] = "\"01/07/05\",1.5,0,0,0";
    lines[208] = "7.25,1,2,3,4";
    lines[210] = "5,100.12346,200,300.5,-4";
    WriteFile("Worker1.yrw", Join(lines));

    YtdRegister ytd;
    ASSERT_EQ(LoadAnnual(ytd, kUser, Profile(true), host), LoadAnnualResult::Loaded);
    EXPECT_EQ(ytd.Row(1).Federal, 1.5F);
    EXPECT_EQ(ytd.totals.Federal, 7.25F);
    EXPECT_EQ(ytd.totals.City, 4.0F);
    EXPECT_EQ(ytd.totals.KPlan, 5.0F);
    EXPECT_EQ(ytd.totals.Overtime, Currency::FromRaw(1001235));  // rounded to four decimals
    EXPECT_EQ(ytd.totals.Gross, Currency::FromRaw(2000000));
    EXPECT_EQ(ytd.totals.Net, Currency::FromRaw(3005000));
    EXPECT_EQ(ytd.totals.Tips, Currency::FromRaw(-40000));
}

TEST(YtdRegisterTest, DamagedFileIsReportedAndLeavesTheRegisterEmpty) {
    struct Case {
        std::string name;
        std::size_t keepLines;  // of the good file
        std::size_t line;       // 1-based line to replace, 0 for none
        std::string replacement;
        std::string where;
    };
    const std::vector<Case> cases = {
        {"short", 100, 0, "", "line 101, week 26, WeekEnding: unexpected end of file"},
        {"text in a row", 211, 12, "0,0,abc,0",
         "line 12, week 3, Cafeteria: not a number: \"abc\""},
        {"text in a money total", 211, 211, "0,0,abc,0,0",
         "line 211, totals, Gross: not an amount: \"abc\""},
        {"missing total", 211, 211, "0,0,0,0", "line 212, totals, Tips: unexpected end of file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        ScriptedHost host;
        YtdRegister ytd = SampleRegister();
        ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(true), host));
        std::vector<std::string> lines = Lines(ReadFile("Worker1.yrw"));
        lines.resize(c.keepLines);
        if (c.line > 0) lines[c.line - 1] = c.replacement;
        WriteFile("Worker1.yrw", Join(lines));

        FakeGrid grid;
        EXPECT_EQ(LoadAnnual(ytd, kUser, Profile(true), host, {&grid}), LoadAnnualResult::Damaged);
        EXPECT_EQ(ytd, YtdRegister{});
        ASSERT_EQ(host.messages.size(), 1U);
        EXPECT_EQ(host.messages[0].text,
                  "The year-to-date file Worker1.yrw is damaged and could "
                  "not be read (" +
                      c.where +
                      "). The register was left empty.\r\nBefore a save replaces it, it will be "
                      "kept as Worker1.yrw.damaged.");
        EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
        ASSERT_EQ(grid.shown.size(), 1U);
        EXPECT_EQ(grid.shown[0].ytd, YtdRegister{});
    }
}

TEST(YtdRegisterTest, FailedWriteIsReportedAndLosesNothing) {
    TempWorkDir dir;
    ScriptedHost host;
    const EmployeeProfile weekly = Profile(true);
    const std::string tail = ". The register is still open; nothing was lost.";

    // A folder standing where the file belongs.
    fs::create_directory("Worker1.yrw");
    YtdRegister ytd = SampleRegister();
    ASSERT_TRUE(AddAnnual(ytd, weekly, host));
    const YtdRegister before = ytd;
    EXPECT_FALSE(SaveAnnual(ytd, kUser, weekly, host));
    EXPECT_EQ(ytd, before);
    ASSERT_EQ(host.messages.size(), 1U);
    const std::string& text = host.messages[0].text;
    EXPECT_EQ(text.rfind("Worker1.yrw could not be saved: ", 0), 0U) << text;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(fs::is_directory("Worker1.yrw"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);

    // A write that breaks off partway through the bi-weekly file.
    ASSERT_TRUE(SaveAnnual(ytd, kUser, Profile(false), host));
    const std::string old = ReadFile("Worker1.yrb");
    ytd.Row(1).WeekEnding = "changed";
    RecordWriter records = AnnualRecords(ytd, kUser, false, RegisterGridTexts(ytd));
    records.FailAfterBytes(100);
    EXPECT_FALSE(CommitAnnual(records, host));
    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(host.messages[1].text.rfind("Worker1.yrb could not be saved: ", 0), 0U);
    EXPECT_EQ(ReadFile("Worker1.yrb"), old);
    EXPECT_EQ(ytd.Row(1).WeekEnding, "changed");
}

TEST(YtdRegisterTest, ArithmeticFaultStopsTheTotalsWhereTheyAre) {
    const EmployeeProfile weekly = Profile(true);
    FakeTotals view;
    auto expectFault = [&](YtdRegister& ytd) {
        ScriptedHost host;
        EXPECT_FALSE(AddAnnual(ytd, weekly, host, &view));
        ASSERT_EQ(host.messages.size(), 1U);
        EXPECT_EQ(host.messages[0].text, kFault);
        EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
    };
    {
        SCOPED_TRACE("float total becomes infinite");
        YtdRegister ytd;
        for (int week : {1, 2}) {
            ytd.Row(week).Federal = 3e38F;
            ytd.Row(week).SocialSecurity = 5;
        }
        ytd.totals.Sdi = 7;
        expectFault(ytd);
        EXPECT_EQ(ytd.totals.Federal, 3e38F);
        EXPECT_EQ(ytd.totals.SocialSecurity, 5.0F);  // week 2 never reached
        EXPECT_EQ(ytd.totals.Sdi, 7.0F);
    }
    {
        SCOPED_TRACE("amount beyond the currency range");
        YtdRegister ytd;
        ytd.Row(1).Overtime = 2;
        ytd.Row(1).Gross = 3e38F;
        ytd.Row(1).Net = 4;
        expectFault(ytd);
        EXPECT_EQ(ytd.totals.Overtime, Currency::FromRaw(20000));
        EXPECT_EQ(ytd.totals.Gross, Currency());
        EXPECT_EQ(ytd.totals.Net, Currency());
    }
    {
        SCOPED_TRACE("currency sum overflows");
        YtdRegister ytd;
        ytd.Row(1).Gross = 6e14F;
        ytd.Row(2).Gross = 6e14F;
        expectFault(ytd);
        EXPECT_EQ(ytd.totals.Gross, Currency::FromSingle(6e14F));
    }
    {
        SCOPED_TRACE("sdi total becomes infinite");
        YtdRegister ytd;
        ytd.Row(1).Federal = 2;
        ytd.Row(30).Sdi = 3e38F;
        ytd.Row(40).Sdi = 3e38F;
        expectFault(ytd);
        EXPECT_EQ(ytd.totals.Federal, 2.0F);
        EXPECT_EQ(ytd.totals.Sdi, 3e38F);
    }
    EXPECT_TRUE(view.shown.empty());
}

}  // namespace
}  // namespace kestrel

// kestrel-calc runs as a separate program here, the way scripts use it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include <string>

#include "support/temp_dir.h"

namespace kestrel {
namespace {

struct CalcRun {
    int status = -1;
    std::string out;
};

CalcRun Calc(const std::string& arguments) {
    const std::string command = std::string(KESTREL_CALC_PATH) + " " + arguments + " 2>stderr.txt";
    CalcRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// The value of one "key": value pair of the output, as printed.
std::string Field(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const auto at = json.find(marker);
    if (at == std::string::npos) return "<missing " + key + ">";
    const auto start = at + marker.size();
    const auto end = json.find_first_of(",\n", start);
    return json.substr(start, end - start);
}

class CalcCli : public ::testing::Test {
  protected:
    CalcCli() { std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax"); }
    testing::TempWorkDir dir;
};

TEST_F(CalcCli, FortyHoursPrintsResultsAndFigures) {
    const CalcRun run = Calc("--straight 40");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    EXPECT_EQ(Field(run.out, "GrossPay"), "300");
    EXPECT_EQ(Field(run.out, "FederalTax"), "30.5");
    EXPECT_EQ(Field(run.out, "NetPay"), "269.5");
    EXPECT_EQ(Field(run.out, "TableVersion"), "\"2005 Circular E\"");
    EXPECT_EQ(Field(run.out, "gross"), "\"$300.00\"");
    EXPECT_EQ(Field(run.out, "federal"), "\"30.50\"");
    EXPECT_EQ(Field(run.out, "net"), "\"$269.50\"");
    EXPECT_EQ(run.out.front(), '{');
}

TEST_F(CalcCli, ProfileOptionsReachTheCalculation) {
    const CalcRun run = Calc(
        "--biweekly --federal-status=Married --federal-allowances 2 --rate1 20 --straight 80 "
        "--ot 2 --ot-double --kplan 50 --kplan-fixed --credit-union 10.125 --tips-rate 3 "
        "--tips-hours 10 --dollars 1,000.50");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    // 1600 + 2 x 2 x 20 + 30 tips + 1000.50
    EXPECT_EQ(Field(run.out, "GrossPay"), "2710.5");
    EXPECT_EQ(Field(run.out, "OtVar"), "4");
    EXPECT_EQ(Field(run.out, "KPlanAmount"), "50");
    EXPECT_EQ(Field(run.out, "FederalAllowanceAmount"), "246.16");
    EXPECT_EQ(Field(run.out, "CreditUnion"), "10.13");
    // Married bi-weekly: 2710.5 - 50 - 246.16 = 2414.34, in the 869-2546 row.
    EXPECT_EQ(Field(run.out, "FederalTaxableWages"), "2414.34");
    EXPECT_EQ(Field(run.out, "display"), "{");
    EXPECT_EQ(Field(run.out, "tips"), "\"$30.00\"");
}

TEST_F(CalcCli, WritesNoFile) {
    ASSERT_EQ(Calc("--straight 40 --weekly").status, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Fedtaxx.tax", "stderr.txt"}));
}

struct BadArguments {
    const char* name;
    const char* arguments;
    const char* complaint;
};

class CalcCliBadOptions : public CalcCli, public ::testing::WithParamInterface<BadArguments> {};

TEST_P(CalcCliBadOptions, ExitTwoWithAMessage) {
    const CalcRun run = Calc(GetParam().arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const std::string err = testing::ReadFile("stderr.txt");
    EXPECT_NE(err.find(GetParam().complaint), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CalcCliBadOptions,
    ::testing::Values(BadArguments{"Unknown", "--wage 3", "unknown option \"--wage\""},
                      BadArguments{"NotANumber", "--straight 1-2", "--straight needs a number"},
                      BadArguments{"MissingValue", "--rate1", "--rate1 needs a value"},
                      BadArguments{"BadStatus", "--federal-status single", "\"Single\" or"},
                      BadArguments{"BadAllowances", "--federal-allowances 10", "0 to 9"},
                      BadArguments{"FlagWithValue", "--weekly=1", "takes no value"},
                      BadArguments{"BadDollars", "--dollars 5-", "--dollars needs an amount"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalcCliWithoutTables, SaysSoAndFails) {
    testing::TempWorkDir dir;
    const CalcRun run = Calc("--straight 40");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(testing::ReadFile("stderr.txt").find("Fedtaxx.tax"), std::string::npos);
}

}  // namespace
}  // namespace kestrel

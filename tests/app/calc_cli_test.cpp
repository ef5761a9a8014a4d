// kestrel-calc runs as a separate program here, the way scripts use it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include <string>

#include "platform/scripted_host.h"
#include "settings/city_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "support/temp_dir.h"
#include "ytd/ytd_register.h"

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
    EXPECT_EQ(Field(run.out, "StateTax"), "6.69");
    EXPECT_EQ(Field(run.out, "CityTax"), "4.43");
    EXPECT_EQ(Field(run.out, "NetPay"), "235.43");
    EXPECT_EQ(Field(run.out, "TableVersion"), "\"2005 Circular E\"");
    EXPECT_EQ(Field(run.out, "gross"), "\"$300.00\"");
    EXPECT_EQ(Field(run.out, "federal"), "\"30.50\"");
    EXPECT_EQ(Field(run.out, "net"), "\"$235.43\"");
    EXPECT_EQ(Field(run.out, "state"), "\"6.69\"");
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

TEST_F(CalcCli, SettingsAndRegisterFilesReplaceTheBuiltInValues) {
    // A ".sta" with a flat 5 % state table and "Married" in its profile fields, a ".cti" with no
    // local tax, and a register whose gross stands 100 below the Social Security wage base.
    StateTaxSettings state = NewYorkStateDefaults();
    for (auto* table : {&state.SingleBrackets, &state.MarriedBrackets}) {
        for (auto& row : *table)
            row = {kUnusedMinimum, 0, 0};
        (*table)[0] = {0, 0, 0.05f};
    }
    state.MarriedExemptions = {};
    EmployeeProfile married = NewEmployeeProfile();
    married.StateStatus = "Married";
    ASSERT_TRUE(WriteStateFile("flat.sta", state, married));
    CityTaxSettings city;
    for (auto* table : {&city.SingleBrackets, &city.MarriedBrackets}) {
        for (auto& row : *table)
            row = {kUnusedMinimum, 0, 0};
    }
    ASSERT_TRUE(WriteCityFile("none.cti", city));
    YtdRegister ytd;
    ytd.Row(1).Gross = 89900;
    ScriptedHost host;
    EmployeeProfile weekly = NewEmployeeProfile();
    ASSERT_TRUE(AddAnnual(ytd, weekly, host));
    ASSERT_TRUE(SaveAnnual(ytd, "Worker1", weekly, host));

    const CalcRun run = Calc("--straight 40 --sta flat.sta --cti none.cti --ytd Worker1.yrw");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    EXPECT_EQ(Field(run.out, "StateTax"), "15");
    EXPECT_EQ(Field(run.out, "CityTax"), "0");
    EXPECT_EQ(Field(run.out, "YtdGross"), "89900");
    EXPECT_EQ(Field(run.out, "SocSecTax"), "6.2");

    // An option on the command line wins over the file's profile fields.
    const CalcRun single =
        Calc("--straight 40 --sta flat.sta --state-status Single --state-allowances 0");
    ASSERT_EQ(single.status, 0);
    EXPECT_EQ(Field(single.out, "StateExemptionAmount"), "268.3");
    EXPECT_EQ(Field(single.out, "StateTax"), "8.29");  // (300 - 134.15) x 0.05
}

TEST_F(CalcCli, NonResidentAndCafeteriaOptions) {
    const CalcRun run =
        Calc("--straight 40 --no-city-resident --cafeteria 20 --cafeteria-state --biweekly");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    // Bi-weekly defaults: 300 lies in the 145-385 line, less 115, at 0.45 %.
    EXPECT_EQ(Field(run.out, "CityExemptionAmount"), "115");
    EXPECT_EQ(Field(run.out, "CityTax"), "0.83");
    EXPECT_EQ(Field(run.out, "CafeteriaStateDeduction"), "20");
    // 300 - 268.30 - 20, in single precision.
    EXPECT_EQ(Field(run.out, "StateTaxableWages"), "11.70001");
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
    ::testing::Values(
        BadArguments{"Unknown", "--wage 3", "unknown option \"--wage\""},
        BadArguments{"NotANumber", "--straight 1-2", "--straight needs a number"},
        BadArguments{"MissingValue", "--rate1", "--rate1 needs a value"},
        BadArguments{"BadStatus", "--federal-status single", "\"Single\" or"},
        BadArguments{"BadAllowances", "--federal-allowances 10", "0 to 9"},
        BadArguments{"FlagWithValue", "--weekly=1", "takes no value"},
        BadArguments{"BadDollars", "--dollars 5-", "--dollars needs an amount"},
        BadArguments{"MissingSettings", "--sta nothing.sta", "cannot read nothing.sta"},
        BadArguments{"DamagedSettings", "--cti Fedtaxx.tax", "Fedtaxx.tax is damaged"},
        BadArguments{"StateCount", "--state-allowances 11", "0 to 9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalcCliWithoutTables, SaysSoAndFails) {
    testing::TempWorkDir dir;
    const CalcRun run = Calc("--straight 40");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(testing::ReadFile("stderr.txt").find("Fedtaxx.tax"), std::string::npos);
}

}  // namespace
}  // namespace kestrel

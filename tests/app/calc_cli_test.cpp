// kestrel-calc runs as a separate program here, the way scripts use it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/scripted_host.h"
#include "settings/city_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "support/calc_run.h"
#include "support/temp_dir.h"
#include "support/xlsx_reader.h"
#include "ytd/ytd_register.h"

namespace kestrel {
namespace {

using testing::Calc;
using testing::CalcRun;
using testing::Field;

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
        BadArguments{"StateCount", "--state-allowances 11", "0 to 9"},
        BadArguments{"StateCountFraction", "--state-allowances 8.6", "not \"8.6\""},
        BadArguments{"EmptyFileName", "--sta \"\"", "--sta needs a file name"},
        BadArguments{"EmptyRegisterName", "--ytd=", "--ytd needs a file name"},
        BadArguments{"UnknownState", "--state texas", "not \"texas\""},
        BadArguments{"PayBeyondSingles", "--rate1 3e38 --straight 40",
                     "--straight makes an amount too large"},
        BadArguments{"GrossBeyondMoney", "--straight 100000 --dollars 922337203685477",
                     "--dollars makes an amount too large"},
        BadArguments{"NetBeyondMoney", "--straight 40 --net-to-gross 900000000000000",
                     "no pay in dollar amount the calculation can hold"},
        BadArguments{"BadNetAmount", "--net-to-gross lots", "--net-to-gross needs an amount"},
        BadArguments{"BothExplains", "--explain --explain-text", "choose one"},
        BadArguments{"SdiBeyondSingles",
                     "--straight 40 --sdi-use-base --sdi-percent 3e38 --sdi-base 1000000",
                     "the SDI rate and base makes an amount too large"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalcCliWithoutTables, SaysSoAndFails) {
    testing::TempWorkDir dir;
    const CalcRun run = Calc("--straight 40");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(testing::ReadFile("stderr.txt").find("Fedtaxx.tax"), std::string::npos);
}

// --employee: an employee's file set made and opened by the program itself.

// Every file of the folder with its bytes, but the captured standard error.
std::map<std::string, std::string> FolderFiles() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name != "stderr.txt") files[name] = testing::ReadFile(entry.path());
    }
    return files;
}

// A displayed figure of the output, unquoted; figures may hold thousands separators.
std::string Figure(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": \"";
    const auto at = json.find(marker);
    if (at == std::string::npos) return "<missing " + key + ">";
    const auto start = at + marker.size();
    return json.substr(start, json.find('"', start) - start);
}

using Figures = std::vector<std::pair<std::string, std::string>>;

const std::array<const char*, 11> kLineKeys{"federal", "socialSecurity", "medicare", "state",
                                            "city",    "creditUnion",    "bond",     "dues",
                                            "pension", "misc",           "kPlan"};

Figures CalcFigures(const std::string& json) {
    Figures figures;
    for (const char* key : {"gross", "taxes", "deductions", "net", "overtime", "tips"})
        figures.emplace_back(key, Figure(json, key));
    for (const char* key : kLineKeys)
        figures.emplace_back(key, Figure(json, key));
    for (const char* key : {"sdi", "sui", "cafeteria"})
        figures.emplace_back(key, Figure(json, key));
    return figures;
}

Figures WindowFigures(const Form1Ui& u) {
    Figures figures{{"gross", u.lbGross->Caption()},       {"taxes", u.lbTaxes->Caption()},
                    {"deductions", u.lbDeduct->Caption()}, {"net", u.lbNet->Caption()},
                    {"overtime", u.lbOverTime->Caption()}, {"tips", u.lbTips->Caption()}};
    for (std::size_t k = 0; k < kLineKeys.size(); ++k)
        figures.emplace_back(kLineKeys[k], u.lbTax[k]->Caption());
    figures.emplace_back("sdi", u.lbSdi->Caption());
    figures.emplace_back("sui", u.lbSui->Caption());
    figures.emplace_back("cafeteria", u.lbCafe->Caption());
    return figures;
}

// One pay period as typed into the main window and as given to kestrel-calc.
struct Period {
    const char* name;
    std::array<const char*, 8> entries;
    bool doubleOvertime;
    const char* options;
};

const std::array<Period, 2> kPeriods{
    Period{"Plain", {"40", "", "", "", "", "", "", ""}, false, "--straight 40"},
    Period{"Everything",
           {"72", "6", "3", "2.5", "8", "4", "1,250.75", "12"},
           true,
           "--straight 72 --straight2 6 --ot 3 --ot-double --ot15 2.5 --holiday 8 --vacation 4 "
           "--dollars 1,250.75 --tips-hours 12"}};

class CalcCliEmployee : public CalcCli {
  protected:
    // Worker9 made the way a user makes an employee: File, New, then the fields and a save. It
    // differs from a new employee in every part the calculation reads.
    CalcCliEmployee() {
        ScriptedHost host;
        Program program(host);
        program.Start();
        host.answers.push_back(MsgResult::No);
        host.inputs.emplace_back("Worker9");
        mnuNew_Click(program);
        EmployeeProfile& p = program.profile;
        p.HourlyRate1 = 12.5f;
        p.HourlyRate2 = 15;
        p.TipsRate = 2;
        p.FederalStatus = "Married";
        p.FederalAllowances = "2";
        p.StateStatus = "Married";
        p.StateAllowances = 1;
        p.AdditionalFederal = 5;
        p.WeeklyPay = false;
        p.BiWeeklyPay = true;
        p.CreditUnion = 10.125f;
        p.Dues = 4.25f;
        p.Pension = 3;
        p.KPlan = 5;
        p.KPlanIsPercent = 1;
        p.KPlanIsFixed = 0;
        p.Cafeteria = 20;
        p.CafeteriaReducesState = 1;
        program.stateSettings.StateAdjustment = 2.5f;
        program.stateSettings.SdiPercent = 0.5f;
        program.stateSettings.CaliforniaAllowance = 1.5f;
        program.citySettings.SingleExemptions[1] = 40;
        program.citySettings.MarriedExemptions[1] = 60;
        EXPECT_TRUE(program.saveUser.FullSave());
        // A year so far just under the Social Security wage base.
        program.ytd.Row(1).Gross = 89900;
        EXPECT_TRUE(SaveAnnual(program.ytd, "Worker9", p, host));
        EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"........SAVE PREVIOUS USER?"});
    }

    // Opens Worker9 with File, Open, lets `change` act as the user would in the windows, and
    // calculates `period`. Calculating saves the employee, so this comes after the runs of
    // kestrel-calc it is compared with.
    static Figures Window(const Period& period,
                          const std::function<void(Program&)>& change = nullptr) {
        ScriptedHost host;
        Program program(host);
        program.Start();
        host.files.emplace_back("Worker9.use");
        OpenFile(program);
        EXPECT_EQ(program.ActiveUser, "Worker9");
        if (change) change(program);
        Form1Ui& u = program.form1.ui();
        for (std::size_t i = 0; i < 8; ++i)
            u.txtEntry[i]->SetText(period.entries[i]);
        u.opt2X->SetValue(period.doubleOvertime);
        u.opt1X->SetValue(!period.doubleOvertime);
        EXPECT_TRUE(program.form1.CalculatePay());
        EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{});
        return WindowFigures(u);
    }

    // Runs kestrel-calc and checks that it left every file as it was.
    static CalcRun CalcLeavingFiles(const std::string& arguments) {
        const auto before = FolderFiles();
        const CalcRun run = Calc(arguments);
        EXPECT_EQ(FolderFiles(), before) << arguments;
        return run;
    }
};

TEST_F(CalcCliEmployee, FiguresAreThoseTheMainWindowShows) {
    std::vector<CalcRun> runs;
    for (const Period& period : kPeriods) {
        runs.push_back(CalcLeavingFiles("--employee Worker9 " + std::string(period.options)));
        ASSERT_EQ(runs.back().status, 0) << testing::ReadFile("stderr.txt");
        // Without the employee the same period comes out otherwise, so the files were used.
        EXPECT_NE(CalcFigures(Calc(period.options).out), CalcFigures(runs.back().out));
    }
    EXPECT_EQ(Field(runs[0].out, "YtdGross"), "89900");
    for (std::size_t k = 0; k < kPeriods.size(); ++k) {
        SCOPED_TRACE(kPeriods[k].name);
        EXPECT_EQ(CalcFigures(runs[k].out), Window(kPeriods[k]));
    }
}

// The working printed is the window's, word for word; net to gross gives the period with the
// amount found, and its working.
TEST_F(CalcCliEmployee, ExplainAndNetToGrossAreTheWindowsOwn) {
    const CalcRun text = CalcLeavingFiles("--employee Worker9 --straight 80 --explain-text");
    ASSERT_EQ(text.status, 0) << testing::ReadFile("stderr.txt");
    const CalcRun found =
        CalcLeavingFiles("--employee Worker9 --straight 80 --net-to-gross 1500 --explain");
    ASSERT_EQ(found.status, 0) << testing::ReadFile("stderr.txt");
    const std::string amount = Field(found.out, "DollarAmount");
    EXPECT_NE(found.out.find("\"figure\": \"federal\", \"step\": \"table row\""), std::string::npos)
        << found.out;

    ScriptedHost host;
    Program program(host);
    program.Start();
    host.files.emplace_back("Worker9.use");
    OpenFile(program);
    program.form1.ui().txtEntry[0]->SetText("80");
    ASSERT_TRUE(program.form1.CalculatePay());
    EXPECT_EQ(text.out, TraceText(program.lastTrace));
    program.form1.ui().txtEntry[6]->SetText(amount);
    ASSERT_TRUE(program.form1.CalculatePay());
    EXPECT_EQ(Field(found.out, "NetPay"), SingleText(program.result.NetPay));
    EXPECT_GE(program.result.NetPay, 1499.995f);
}

struct Override {
    const char* name;
    const char* options;
    std::function<void(Program&)> change;  // the same change made in the windows
};

TEST_F(CalcCliEmployee, OptionsOverrideTheFilesWhereverTheyStand) {
    const std::vector<Override> overrides{
        {"Rates", "--rate1 20 --rate2 0 --tips-rate 1",
         [](Program& p) {
             p.profile.HourlyRate1 = 20;
             p.profile.HourlyRate2 = 0;
             p.profile.TipsRate = 1;
         }},
        {"Frequency", "--weekly",
         [](Program& p) {
             p.profile.WeeklyPay = true;
             p.profile.BiWeeklyPay = false;
         }},
        {"Statuses", "--federal-status Single --federal-allowances 0 --state-status Single",
         [](Program& p) {
             p.profile.FederalStatus = "Single";
             p.profile.FederalAllowances = "0";
             p.profile.StateStatus = "Single";
         }},
        {"Deductions", "--kplan 30 --kplan-fixed --credit-union 0 --pension 1",
         [](Program& p) {
             p.profile.KPlan = 30;
             p.profile.KPlanIsPercent = 0;
             p.profile.KPlanIsFixed = 1;
             p.profile.CreditUnion = 0;
             p.profile.Pension = 1;
         }},
        {"Flags", "--no-city-resident --fica-exempt",
         [](Program& p) {
             p.profile.NonCityResident = 1;
             p.profile.FicaExempt = 1;
         }},
    };
    const Period& period = kPeriods[1];
    for (const Override& o : overrides) {
        SCOPED_TRACE(o.name);
        const CalcRun after =
            CalcLeavingFiles("--employee Worker9 " + std::string(period.options) + " " + o.options);
        const CalcRun before =
            CalcLeavingFiles(std::string(o.options) + " --employee=Worker9 " + period.options);
        ASSERT_EQ(after.status, 0) << testing::ReadFile("stderr.txt");
        EXPECT_EQ(before.out, after.out);
        EXPECT_EQ(CalcFigures(after.out), Window(period, o.change));
    }
}

struct FileOverride {
    const char* option;
    const char* replaced;  // the employee's own file it stands for
    std::function<void()> write;
};

TEST_F(CalcCliEmployee, NamedFilesReplaceTheEmployeesOwn) {
    // What the employee's own files say, kept apart under other names: a flat 5 % state table
    // without the adjustment, a city with no tax, and an empty register.
    const std::vector<FileOverride> files{
        {"--sta flat.sta", "Worker9.sta",
         [] {
             StateTaxSettings state = NewYorkStateDefaults();
             for (auto* table : {&state.SingleBrackets, &state.MarriedBrackets}) {
                 for (auto& row : *table)
                     row = {kUnusedMinimum, 0, 0};
                 (*table)[0] = {0, 0, 0.05f};
             }
             // The profile fields of the file are Worker9's, as its own file holds them.
             StateTaxSettings own;
             EmployeeProfile profile;
             ASSERT_EQ(ReadStateFile("Worker9.sta", own, profile).status,
                       SettingsFileStatus::Loaded);
             ASSERT_TRUE(WriteStateFile("flat.sta", state, profile));
         }},
        {"--cti none.cti", "Worker9.cti",
         [] {
             CityTaxSettings city;
             for (auto* table : {&city.SingleBrackets, &city.MarriedBrackets}) {
                 for (auto& row : *table)
                     row = {kUnusedMinimum, 0, 0};
             }
             ASSERT_TRUE(WriteCityFile("none.cti", city));
         }},
        {"--ytd empty.yrb", "Worker9.yrb",
         [] {
             ScriptedHost host;
             YtdRegister ytd;
             EmployeeProfile biweekly = NewEmployeeProfile();
             biweekly.WeeklyPay = false;
             biweekly.BiWeeklyPay = true;
             ASSERT_TRUE(SaveAnnual(ytd, "empty", biweekly, host));
         }},
    };
    const Period& period = kPeriods[1];
    for (const FileOverride& file : files) {
        SCOPED_TRACE(file.option);
        file.write();
        const std::string name = std::string(file.option).substr(6);
        const CalcRun run =
            CalcLeavingFiles(std::string(file.option) + " --employee Worker9 " + period.options);
        ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
        const CalcRun own = Calc("--employee Worker9 " + std::string(period.options));
        EXPECT_NE(CalcFigures(run.out), CalcFigures(own.out));
        // The window shows the same once the named file stands in for the employee's own.
        std::filesystem::copy_file(file.replaced, "kept");
        std::filesystem::copy_file(name, file.replaced,
                                   std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(CalcFigures(run.out), Window(period));
        std::filesystem::rename("kept", file.replaced);
    }
}

struct NameProblem {
    const char* argument;  // as the shell is given it
    std::string told;      // what standard error must hold; the name is always shown printable
};

TEST_F(CalcCliEmployee, RefusedNamesAndMissingFilesExitTwoNamingThem) {
    const std::string folder = std::filesystem::current_path().string();
    const std::vector<NameProblem> problems{
        {"../x", "--employee \"../x\""},
        {"a/b", "--employee \"a/b\""},
        {"''", "--employee \"\""},
        {"' x'", "--employee \" x\""},
        {"a:b", "--employee \"a:b\""},
        {"..", "--employee \"..\""},
        {"\"$(printf 'a\\033b')\"", "--employee \"a\\x1bb\""},
        {"Nobody", "Nobody.use is not in the current folder (" + folder + ")"},
        {"\"$(printf '\\377x')\"", "\\xffx.use is not in the current folder"},
    };
    for (const NameProblem& problem : problems) {
        SCOPED_TRACE(problem.argument);
        const CalcRun run =
            CalcLeavingFiles("--straight 40 --employee " + std::string(problem.argument));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string err = testing::ReadFile("stderr.txt");
        EXPECT_NE(err.find(problem.told), std::string::npos) << err;
        EXPECT_EQ(err.find('\x1b'), std::string::npos);
        EXPECT_EQ(err.find('\xff'), std::string::npos);
    }
}

TEST_F(CalcCliEmployee, MissingFederalTablesFailAsWithoutAnEmployee) {
    std::filesystem::remove("Fedtaxx.tax");
    const CalcRun plain = Calc("--straight 40");
    const std::string plainErr = testing::ReadFile("stderr.txt");
    const CalcRun run = CalcLeavingFiles("--employee Worker9 --straight 40");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(testing::ReadFile("stderr.txt"), plainErr);
}

// Keeps the first `lines` lines of `file`.
void CutShort(const std::string& file, std::size_t lines) {
    const std::string text = testing::ReadFile(file);
    std::size_t end = 0;
    for (std::size_t k = 0; k < lines; ++k)
        end = text.find('\n', end) + 1;
    testing::WriteFile(file, text.substr(0, end));
}

// Replaces the first field of line `line` (from 1) of `file` by `field`.
void SpoilField(const std::string& file, std::size_t line, const std::string& field) {
    std::string text = testing::ReadFile(file);
    std::size_t start = 0;
    for (std::size_t k = 1; k < line; ++k)
        start = text.find('\n', start) + 1;
    const std::size_t end = text.find_first_of(",\r\n", start);
    text.replace(start, end - start, field);
    testing::WriteFile(file, text);
}

struct Damage {
    const char* name;
    std::function<void()> spoil;
    std::vector<std::string> told;  // what stderr must hold
};

TEST_F(CalcCliEmployee, DamagedFilesExitTwoNamingFileAndLine) {
    const std::vector<Damage> damages{
        {"UseCutShort", [] { CutShort("Worker9.use", 3); }, {"Worker9.use, line 4"}},
        {"StateField",
         [] { SpoilField("Worker9.sta", 22, "x\x1b[2J"); },
         {"You have corupted a file.", "Worker9.sta", "Worker9.sta is damaged at line 22, field ",
          "x\\x1b[2J"}},
        {"CityField",
         [] { SpoilField("Worker9.cti", 3, "?"); },
         {"Worker9.cti is damaged at line 3, field "}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        const auto good = FolderFiles();
        damage.spoil();
        const CalcRun run = CalcLeavingFiles("--employee Worker9 --straight 40");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string err = testing::ReadFile("stderr.txt");
        for (const std::string& text : damage.told)
            EXPECT_NE(err.find(text), std::string::npos) << text << " in " << err;
        // Nothing raw from the file reaches the terminal.
        EXPECT_EQ(err.find('\x1b'), std::string::npos);
        EXPECT_EQ(err.find('\r'), std::string::npos);
        for (const auto& [name, bytes] : good)
            testing::WriteFile(name, bytes);
    }
}

// --export-ytd: the employee's register as the workbook of the Year To Date window's Excel menu.

TEST_F(CalcCliEmployee, ExportYtdWritesTheRegisterAsAWorkbookAndNothingElse) {
    testing::WriteFile("ytd.xlsx", "an older export");
    auto before = FolderFiles();
    const CalcRun run = Calc("--employee Worker9 --export-ytd ytd.xlsx");
    ASSERT_EQ(run.status, 0) << testing::ReadFile("stderr.txt");
    EXPECT_EQ(Field(run.out, "ytdWorkbook"),
              "\"" + (std::filesystem::current_path() / "ytd.xlsx").string() + "\"");
    EXPECT_EQ(Field(run.out, "rows"), "26");
    auto after = FolderFiles();
    EXPECT_NE(after["ytd.xlsx"], before["ytd.xlsx"]);
    after.erase("ytd.xlsx");
    before.erase("ytd.xlsx");
    EXPECT_EQ(after, before);

    // Worker9 is paid bi-weekly: 26 rows, totals in row 28, the extra totals in rows 31 and 32.
    const testing::XlsxDump dump = testing::ReadXlsx("ytd.xlsx");
    ASSERT_EQ(dump.error, "");
    using Read = std::vector<std::string>;
    EXPECT_EQ(dump.cells.at("A1"), (Read{"s", "Date", "1", "FFFF0000", "General"}));
    EXPECT_EQ(dump.cells.at("G1"), (Read{"s", "CrUnion", "1", "FFFF0000", "General"}));
    EXPECT_EQ(dump.cells.at("P2"), (Read{"n", "89900", "0", "-", "0.00"}));
    EXPECT_EQ(dump.cells.at("B27"), (Read{"n", "0", "0", "-", "0.00"}));
    EXPECT_EQ(dump.cells.count("A28"), 1u);
    EXPECT_EQ(dump.cells.at("A28"), (Read{"s", "TOTALS=", "1", "FF0000FF", "General"}));
    EXPECT_EQ(dump.cells.at("P28"), (Read{"n", "89900", "1", "FF0000FF", "0.00"}));
    EXPECT_EQ(dump.cells.at("C31"), (Read{"s", "SDI", "1", "FFFF0000", "General"}));
    EXPECT_EQ(dump.cells.at("F32"), (Read{"n", "0", "0", "FF0000FF", "0.00"}));
    EXPECT_EQ(dump.cells.count("A29") + dump.cells.count("A33") + dump.cells.count("A54"), 0u);
    EXPECT_EQ(dump.items.at("freeze"), "A2");
    EXPECT_EQ(dump.items.at("orientation"), "landscape");
    EXPECT_EQ(dump.items.at("rawFooter"), "&LWorker9    Soc Sec #&CKestrel\xC2\xAE");

    // Paid weekly on the command line, the employee has no weekly register yet: an empty one.
    ASSERT_EQ(Calc("--weekly --employee Worker9 --export-ytd weekly.xlsx").status, 0);
    const testing::XlsxDump weekly = testing::ReadXlsx("weekly.xlsx");
    ASSERT_EQ(weekly.error, "");
    EXPECT_EQ(weekly.cells.at("A54"), (Read{"s", "TOTALS=", "1", "FF0000FF", "General"}));
    EXPECT_EQ(weekly.cells.at("P2"), (Read{"n", "0", "0", "-", "0.00"}));
    EXPECT_EQ(weekly.cells.at("P54"), (Read{"n", "0", "1", "FF0000FF", "0.00"}));
}

TEST_F(CalcCliEmployee, ExportYtdFailuresExitTwoNamingTheFile) {
    const std::vector<std::pair<std::string, std::string>> failures{
        {"--export-ytd ytd.xlsx", "--export-ytd needs --employee NAME"},
        {"--employee Worker9 --export-ytd", "--export-ytd needs a value"},
        {"--employee Worker9 --export-ytd nope/ytd.xlsx",
         "cannot write the register to nope/ytd.xlsx: the folder nope does not exist"},
        {"--employee Nobody --export-ytd ytd.xlsx", "Nobody.use is not in the current folder"},
        {"--weekly --employee Worker9 --export-ytd ytd.xlsx", "Worker9.yrw is damaged at line 1: "},
    };
    // The weekly register, read only when an option switches Worker9 to weekly pay.
    testing::WriteFile("Worker9.yrw", "\"01/07/05\",oops\r\n");
    for (const auto& [arguments, told] : failures) {
        SCOPED_TRACE(arguments);
        const CalcRun run = CalcLeavingFiles(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string err = testing::ReadFile("stderr.txt");
        EXPECT_NE(err.find(told), std::string::npos) << err;
    }

    // A folder of that name stays as it was.
    std::filesystem::create_directory("taken.xlsx");
    const CalcRun run = Calc("--employee Worker9 --export-ytd taken.xlsx");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const std::string err = testing::ReadFile("stderr.txt");
    EXPECT_NE(err.find("cannot write the register to taken.xlsx: taken.xlsx is a folder"),
              std::string::npos)
        << err;
    EXPECT_TRUE(std::filesystem::is_empty("taken.xlsx"));
}

}  // namespace
}  // namespace kestrel

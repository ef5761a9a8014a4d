// kestrel-calc refuses a file that is not the kind its option names, says why a file cannot be
// read, keeps the usage text for mistakes in the options, and never echoes a file's raw bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/scripted_host.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "ytd/ytd_register.h"

extern char** environ;

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;

struct CalcResult {
    int status = -1;
    std::string out;
    std::string err;
};

CalcResult Calc(const std::string& arguments) {
    const auto run = testing::RunCommand(std::string(KESTREL_CALC_PATH) + " " + arguments +
                                         " 2>stderr.txt </dev/null");
    return {run.status, run.out, ReadFile("stderr.txt")};
}

// The value of one "key": value pair of the output, as printed.
std::string Field(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const auto at = json.find(marker);
    if (at == std::string::npos) return "<missing " + key + ">";
    const auto start = at + marker.size();
    return json.substr(start, json.find_first_of(",\n", start) - start);
}

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class StrictCli : public ::testing::Test {
  protected:
    StrictCli() {
        std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    }

    // A refusal: exit status, the words that must be in the message, and no usage text.
    static void ExpectRefused(const CalcResult& run, int status, const std::string& told) {
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(Holds(run.err, told)) << run.err;
        EXPECT_FALSE(Holds(run.err, "usage:")) << run.err;
    }

    testing::TempWorkDir dir;
};

TEST_F(StrictCli, AWeeklyRegisterIsNotTakenForABiWeeklyOne) {
    ScriptedHost host;
    YtdRegister ytd;
    ytd.Row(1).Gross = 89900;
    EmployeeProfile weekly = NewEmployeeProfile();
    ASSERT_TRUE(SaveAnnual(ytd, "W", weekly, host));

    const CalcResult good = Calc("--straight 40 --ytd W.yrw");
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(Field(good.out, "YtdGross"), "89900");

    ExpectRefused(Calc("--biweekly --straight 80 --ytd W.yrw"), 2,
                  "W.yrw is not a bi-weekly register file: line 108, ");
}

TEST_F(StrictCli, AStateFileIsNotTakenForACityFile) {
    ASSERT_TRUE(WriteStateFile("W.sta", NewYorkStateDefaults(), NewEmployeeProfile()).ok);
    const CalcResult good = Calc("--straight 40 --sta W.sta");
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(Field(good.out, "StateTax"), "6.69");
    ExpectRefused(Calc("--straight 40 --cti W.sta"), 2, "W.sta is damaged at line 22, field 82: ");
}

TEST_F(StrictCli, AFederalTableFileMustEndAfterItsVersion) {
    const std::string table = ReadFile("Fedtaxx.tax");
    WriteFile("Fedtaxx.tax", table + "0,0,0\r\n");
    ExpectRefused(Calc("--straight 40"), 1, "Fedtaxx.tax is damaged at line 36, field 138: ");
}

TEST_F(StrictCli, AFederalTableFileMustWriteOutEveryNumber) {
    // Row 2 of the Single weekly block blank: the tax on 300 would silently be 0.
    std::string table = ReadFile("Fedtaxx.tax");
    const std::string row = "188,606,188,0.15,13.7";
    table.replace(table.find(row), row.size(), ",,,,");
    WriteFile("Fedtaxx.tax", table);
    ExpectRefused(Calc("--straight 40"), 1, "Fedtaxx.tax is damaged at line 9, field 34: ");
}

TEST_F(StrictCli, ANonResidentFileCutInsideItsRateIsRefused) {
    ASSERT_TRUE(WriteNonResidentFile("W.nci", NonResidentDefaults()).ok);
    const CalcResult good = Calc("--straight 40 --no-city-resident --biweekly --nci W.nci");
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(Field(good.out, "CityTax"), "0.83");
    const std::string text = ReadFile("W.nci");
    WriteFile("W.nci", text.substr(0, text.size() - 6));  // "0." of "0.0045"
    ExpectRefused(Calc("--straight 40 --no-city-resident --biweekly --nci W.nci"), 2,
                  "W.nci is damaged at line 9, field 33: ");
}

TEST_F(StrictCli, AStateFileStatusMustBeSingleOrMarried) {
    EmployeeProfile profile = NewEmployeeProfile();
    profile.StateStatus = "Married";
    ASSERT_TRUE(WriteStateFile("W.sta", NewYorkStateDefaults(), profile).ok);
    std::string text = ReadFile("W.sta");
    text.replace(text.find("\"Married\""), 9, "\"Maried\"");
    WriteFile("W.sta", text);
    ExpectRefused(Calc("--straight 40 --sta W.sta"), 2,
                  "W.sta is damaged at line 23, field 95: the status is \"Single\" or "
                  "\"Married\", not \"Maried\"");
}

TEST_F(StrictCli, AFederalTableFileThatIsNoFileSaysWhatItIs) {
    std::filesystem::remove("Fedtaxx.tax");
    std::filesystem::create_directory("Fedtaxx.tax");
    ExpectRefused(Calc("--straight 40"), 1, "cannot read Fedtaxx.tax: is a directory");
    std::filesystem::remove("Fedtaxx.tax");
    ASSERT_EQ(::mkfifo("Fedtaxx.tax", 0600), 0);
    const CalcResult pipe = Calc("--straight 40");
    ExpectRefused(pipe, 1, "cannot read Fedtaxx.tax: is a pipe");
    EXPECT_FALSE(Holds(pipe.err, "is not in the current folder"));
    std::filesystem::remove("Fedtaxx.tax");
    ExpectRefused(Calc("--straight 40"), 1, "Fedtaxx.tax is not in the current folder");
}

TEST_F(StrictCli, ASettingsFileThatCannotBeReadSaysWhy) {
    std::filesystem::create_directory("d");
    ExpectRefused(Calc("--straight 40 --sta d"), 2, "cannot read d: is a directory");
    ExpectRefused(Calc("--straight 40 --cti /dev/null"), 2, "cannot read /dev/null: is a device");
    ExpectRefused(Calc("--straight 40 --nci none.nci"), 2,
                  "cannot read none.nci: there is no such file");
    ExpectRefused(Calc("--straight 40 --ytd d"), 2, "cannot read d: is a directory");
    // The options' own mistakes still show how to spell them.
    EXPECT_TRUE(Holds(Calc("--straight 40 --sta").err, "usage:"));
}

TEST_F(StrictCli, AFileWithoutReadPermissionSaysSo) {
    ASSERT_TRUE(WriteNonResidentFile("W.nci", NonResidentDefaults()).ok);
    ASSERT_EQ(::chmod("W.nci", 0), 0);
    // Root may read any file: it runs the program as nobody, who may read the rest of the folder.
    std::string prefix;
    if (::geteuid() == 0) {
        if (!std::filesystem::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv for root";
        ASSERT_EQ(::chmod(".", 0755), 0);
        ASSERT_EQ(::chmod("Fedtaxx.tax", 0644), 0);
        prefix = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups -- ";
    }
    const auto run = testing::RunCommand(prefix + KESTREL_CALC_PATH +
                                         " --straight 40 --nci W.nci 2>stderr.txt </dev/null");
    ExpectRefused({run.status, run.out, ReadFile("stderr.txt")}, 2,
                  "cannot read W.nci: cannot be opened: permission denied");
}

// Runs kestrel-calc directly and measures the most memory it held.
long PeakKilobytes(const std::vector<std::string>& arguments, int& status) {
    std::vector<std::string> words{KESTREL_CALC_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int raw = 0;
    struct rusage usage {};
    if (::wait4(pid, &raw, 0, &usage) != pid) return -1;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return usage.ru_maxrss;
}

TEST_F(StrictCli, AHugeFileIsRefusedWithoutBeingRead) {
    ASSERT_TRUE(WriteNonResidentFile("small.nci", NonResidentDefaults()).ok);
    ASSERT_TRUE(WriteNonResidentFile("big.nci", NonResidentDefaults()).ok);
    std::filesystem::resize_file("big.nci", 50 << 20);
    // Measured against the same run on a file of the right size, so that what the build adds
    // (a sanitizer's shadow memory, say) does not count: reading the 50 MB would add far more
    // than the margin.
    int status = -1;
    const long baseline = PeakKilobytes({"--straight", "40", "--nci", "small.nci"}, status);
    EXPECT_EQ(status, 0);
    const long peak = PeakKilobytes({"--straight", "40", "--nci", "big.nci"}, status);
    EXPECT_EQ(status, 2);
    EXPECT_GT(baseline, 0);
    EXPECT_LT(peak, baseline + 10 * 1024) << "kilobytes, against " << baseline;
    EXPECT_TRUE(Holds(ReadFile("stderr.txt"), "cannot read big.nci: is too large: 52428800 bytes"))
        << ReadFile("stderr.txt");
}

TEST_F(StrictCli, BytesOfADamagedFileAreShownEscaped) {
    ASSERT_TRUE(WriteStateFile("W.sta", NewYorkStateDefaults(), NewEmployeeProfile()).ok);
    std::string text = ReadFile("W.sta");
    text.replace(0, 1, "\x1b[2J\x9b");
    WriteFile("W.sta", text);
    const CalcResult run = Calc("--straight 40 --sta W.sta");
    ExpectRefused(run, 2, "W.sta is damaged at line 1, field 1: not a number: \"\\x1b[2J\\x9b\"");
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.err.find('\x9b'), std::string::npos);

    // The option's value itself is shown escaped too.
    std::filesystem::rename("W.sta", "W\x1b.sta");
    const CalcResult named = Calc("--straight 40 --sta \"$(printf 'W\\033.sta')\"");
    ExpectRefused(named, 2, "W\\x1b.sta is damaged at line 1");
    EXPECT_EQ(named.err.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace kestrel

// Saves killed at any moment: every file of the employee is left whole, as one save or the other
// wrote it, and whatever a killed save left behind goes with the next save of that file and
// nothing else does. Saves of two running copies take turns, so a set never mixes them.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/employee_lock.h"
#include "employee/record_file.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::DemoFolder;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

using Snapshot = std::map<std::string, std::string>;

// Every entry of the folder with its contents; a folder is only named.
Snapshot Take(const fs::path& folder = ".") {
    Snapshot files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] =
            entry.is_directory() ? "(folder)" : ReadFile(entry.path());
    }
    return files;
}

std::set<std::string> Names(const Snapshot& files) {
    std::set<std::string> names;
    for (const auto& [name, contents] : files)
        names.insert(name);
    return names;
}

// A name a killed save may leave: hidden, and the saved file's name only in its middle.
bool IsTemporaryOf(const std::string& entry, const std::string& file) {
    const std::string prefix = "." + file + ".tmp-";
    if (entry.size() != prefix.size() + 6 || entry.rfind(prefix, 0) != 0) return false;
    return entry.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz", prefix.size()) ==
           std::string::npos;
}

class CrashSave : public ::testing::Test {
  protected:
    CrashSave() {
        fs::copy_file(DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.Start();
        host.answers.push_back(MsgResult::No);
        host.inputs.emplace_back("Worker1");
        mnuNew_Click(program);
    }

    // Two versions of the employee that differ in every file the save writes.
    void Vary(int version) {
        const auto v = static_cast<float>(version % 2);
        program.profile.HourlyRate1 = 10 + v;
        program.profile.EmployeeAddress = version % 2 ? "2 Second St" : "1 First St";
        program.profile.Cafeteria = 15 + v;
        program.overtime.OtWeekEnding[0] = version % 2 ? "01/14/05" : "01/07/05";
        program.overtime.OtAmount[0] = version % 2 ? "3.50" : "12.25";
        program.leave.SickStart = 4 + v;
        program.stateSettings.StateAdjustment = 1 + v;
        program.citySettings.SingleExemptions[1] = 40 + v;
        program.nonResidentSettings.NonResidentPercent = 1 + v;
    }

    // The employee's files, and whatever else a save leaves.
    static Snapshot Saved() {
        Snapshot files = Take();
        files.erase("Fedtaxx.tax");
        files.erase(".Worker1.lock");
        return files;
    }

    Snapshot SaveVersion(int version) {
        Vary(version);
        EXPECT_TRUE(program.saveUser.FullSave());
        return Saved();
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(CrashSave, KilledSavesLeaveWholeFilesAndTheNextSaveLeavesNoTemporary) {
    const Snapshot first = SaveVersion(0);
    const Snapshot second = SaveVersion(1);
    ASSERT_EQ(Names(first), Names(second));
    ASSERT_EQ(first.size(), 8U);
    for (const auto& [name, contents] : first)
        ASSERT_NE(contents, second.at(name)) << name << " is the same in both versions";

    // How long one full save takes here, so that the kills land anywhere inside one.
    const auto start = std::chrono::steady_clock::now();
    constexpr int kTimedSaves = 5;
    for (int i = 0; i < kTimedSaves; ++i)
        SaveVersion(i);
    const auto oneSave = (std::chrono::steady_clock::now() - start) / kTimedSaves;
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(2 * oneSave);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> delay(0, window.count());
    constexpr int kTrials = 80;
    int mixed = 0;
    int leftBehind = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two versions in turn until it is killed, starting with the one not on
            // disk; a child never returns into the test runner.
            ::close(ready[0]);
            const char go = 'g';
            if (::write(ready[1], &go, 1) != 1) ::_exit(3);
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (int version = trial; std::chrono::steady_clock::now() < giveUp; ++version) {
                Vary(version);
                if (!program.saveUser.FullSave()) ::_exit(4);
            }
            ::_exit(5);
        }
        ::close(ready[1]);
        char go = 0;
        const bool started = ::read(ready[0], &go, 1) == 1;
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(started);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself, status " << status;

        Snapshot now = Take();
        now.erase("Fedtaxx.tax");
        now.erase(".Worker1.lock");
        int fromFirst = 0;
        for (const auto& [name, contents] : first) {
            ASSERT_EQ(now.count(name), 1U) << name << " is gone after kill " << trial;
            const std::string& left = now.at(name);
            ASSERT_TRUE(left == contents || left == second.at(name))
                << name << " is neither version after kill " << trial << ":\n"
                << left;
            fromFirst += left == contents ? 1 : 0;
        }
        if (fromFirst != 0 && fromFirst != static_cast<int>(first.size())) ++mixed;
        for (const auto& [name, contents] : now) {
            if (first.count(name) != 0) continue;
            bool known = false;
            for (const auto& [file, unused] : first)
                known = known || IsTemporaryOf(name, file);
            ASSERT_TRUE(known) << "kill " << trial << " left " << name;
            ++leftBehind;
        }

        // The next save of the employee takes away whatever the killed one left.
        const Snapshot saved = SaveVersion(trial);
        ASSERT_EQ(Names(saved), Names(first)) << "after kill " << trial;
        ASSERT_EQ(saved, trial % 2 ? second : first);
    }
    // The kills did land inside saves, between files and inside a file's own write.
    EXPECT_GT(mixed, 0);
    EXPECT_GT(leftBehind, 0);
}

TEST_F(CrashSave, TheNextSaveRemovesOnlyAbandonedTemporariesOfTheFilesItWrites) {
    const Snapshot saved = SaveVersion(0);
    const std::set<std::string> stale = {".Worker1.use.tmp-abc123", ".Worker1.sta.tmp-000000",
                                         ".Worker1.nci.tmp-zzzzzz"};
    // Another employee's debris, a user's own copies, and names that are not ours.
    const std::set<std::string> kept = {".Worker2.use.tmp-abc123",  ".Worker1.use.tmp-ABC123",
                                        ".Worker1.use.tmp-abc1234", ".Worker1.use.tmp-abc12",
                                        "Worker1.use.tmp-abc123",   "Worker1.use.abc12345",
                                        "..Worker1.use.tmp-abc123", ".Worker1.usetmp-abc123"};
    for (const auto& name : stale)
        WriteFile(name, "half a file");
    for (const auto& name : kept)
        WriteFile(name, "someone else's");
    // A folder with a temporary's name is not something a save left.
    fs::create_directory(".Worker1.cti.tmp-folder");
    // A save still writing in another process holds its temporary file locked.
    WriteFile(".Worker1.hol.tmp-inwork", "still being written");
    const int busy = ::open(".Worker1.hol.tmp-inwork", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX | LOCK_NB), 0);

    ASSERT_EQ(SaveVersion(1).size(), saved.size() + kept.size() + 2);
    std::set<std::string> expected = Names(saved);
    expected.insert(kept.begin(), kept.end());
    expected.insert(".Worker1.cti.tmp-folder");
    expected.insert(".Worker1.hol.tmp-inwork");
    Snapshot now = Take();
    now.erase("Fedtaxx.tax");
    now.erase(".Worker1.lock");
    EXPECT_EQ(Names(now), expected);
    for (const auto& name : kept)
        EXPECT_EQ(now.at(name), "someone else's") << name;

    // Once the other save is gone, its file is as abandoned as any.
    ::close(busy);
    SaveVersion(0);
    now = Take();
    EXPECT_EQ(now.count(".Worker1.hol.tmp-inwork"), 0U);
    EXPECT_EQ(now.count(".Worker1.cti.tmp-folder"), 1U);
}

// Two copies save their own version over and over; after each save, under the save lock, each
// counts the sets that are neither version.
TEST_F(CrashSave, SavesFromTwoRunningCopiesNeverInterleave) {
    const Snapshot versions[2] = {SaveVersion(0), SaveVersion(1)};
    auto run = [&](int copy) {
        int mixed = 0;
        for (int i = 0; i < 60; ++i) {
            SaveVersion(copy);
            const EmployeeLock::Saving looking = EmployeeLock::ForSave("Worker1");
            const Snapshot now = Saved();
            mixed += now != versions[0] && now != versions[1] ? 1 : 0;
        }
        return mixed;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(std::min(run(1), 100));
    EXPECT_EQ(run(0), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "sets mixed, as the other copy saw them";
}

TEST_F(CrashSave, OpeningAnEmployeeOpenElsewhereAsksWhetherToGoOn) {
    program.employeeLock.Release();  // only the other process has Worker1 open
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another copy with Worker1 open until the test closes its end, or gives up on it.
        ::alarm(60);
        ::close(done[1]);
        EmployeeLock other;
        const char mark = other.MarkOpen("Worker1") ? 'y' : 'n';
        char end = 0;
        if (::write(ready[1], &mark, 1) != 1 || ::read(done[0], &end, 1) < 0) ::_exit(1);
        ::_exit(0);
    }
    ::close(done[0]);
    char mark = 0;
    ASSERT_EQ(::read(ready[0], &mark, 1), 1);
    ASSERT_EQ(mark, 'y');

    ScriptedHost secondHost;
    Program second{secondHost};
    second.Start();
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        secondHost.messages.clear();
        secondHost.onModal["frmSaveUser"] = [&](Form&) { second.saveUser.ui().cmdNo->UserClick(); };
        secondHost.files.emplace_back("Worker1.use");
        secondHost.answers.push_back(answer);
        second.form1.ui().mnuOpen->UserClick();
        ASSERT_EQ(secondHost.messages.size(), 1U);
        EXPECT_EQ(secondHost.messages[0].buttons, MsgButtons::YesNo);
        EXPECT_NE(secondHost.messages[0].text.find("open in another running copy"),
                  std::string::npos);
        EXPECT_EQ(second.ActiveUser, answer == MsgResult::Yes ? "Worker1" : "");
    }
    ::close(done[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // Its own mark is not another copy's: with the other copy gone, nothing is open elsewhere.
    EXPECT_EQ(second.employeeLock.Employee(), "Worker1");
    EXPECT_FALSE(second.employeeLock.OpenElsewhere("Worker1"));
}

TEST(RecordWriterTemporaries, AreMadeAndSweptInTheTargetsOwnFolder) {
    TempWorkDir dir;
    fs::create_directory("sub");
    WriteFile("sub/.Worker1.sta.tmp-000000", "left by a killed save");
    WriteFile(".Worker1.sta.tmp-000000", "a save of the other folder's file");
    RecordWriter writer("sub/Worker1.sta");
    writer.Line({field::Int16(7)});
    ASSERT_TRUE(writer.Commit().ok);
    EXPECT_EQ(Names(Take("sub")), std::set<std::string>{"Worker1.sta"});
    EXPECT_EQ(ReadFile("sub/Worker1.sta"), "7\r\n");
    EXPECT_EQ(Names(Take()), (std::set<std::string>{".Worker1.sta.tmp-000000", "sub"}));

    // A file named by its folder alone cannot be saved, and nothing is touched trying.
    RecordWriter folderOnly("sub/");
    folderOnly.Line({field::Int16(1)});
    EXPECT_FALSE(folderOnly.Commit().ok);
    EXPECT_EQ(Names(Take("sub")), std::set<std::string>{"Worker1.sta"});
}

}  // namespace
}  // namespace kestrel

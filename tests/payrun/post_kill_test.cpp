// Posting is safe under failure: kestrel-run killed at any moment of a posting run leaves each
// register as it was or with its new row, and a posting waits for another copy's save of the
// employee.
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "employee/employee_lock.h"
#include "payrun/pay_run.h"
#include "support/temp_dir.h"

#ifdef KESTREL_RUN_PATH
namespace kestrel {
namespace {

namespace fs = std::filesystem;

constexpr int kEmployees = 40;

std::string Name(int i) {
    return "E" + std::to_string(100 + i);
}

// A folder of `kEmployees`, copies of the two demo employees, and the periods file paying them.
void MakeFolder(const fs::path& folder) {
    fs::create_directories(folder);
    std::string csv = "employee,straight,ot15\n";
    for (const auto& file : fs::directory_iterator(testing::DemoFolder())) {
        const std::string name = file.path().filename().string();
        if (name.starts_with("Worker")) {
            for (int i = 0; i < kEmployees; ++i) {
                if ((i % 2 == 0) == name.starts_with("Worker1"))
                    fs::copy_file(file.path(),
                                  folder / (Name(i) + file.path().extension().string()));
            }
        } else if (!name.ends_with(".prv")) {
            fs::copy_file(file.path(), folder / name);
        }
    }
    for (int i = 0; i < kEmployees; ++i)
        csv += Name(i) + ",40," + std::to_string(i % 5) + "\n";
    testing::WriteFile(folder / "periods.csv", csv);
}

std::string Register(const fs::path& folder, int i) {
    return testing::ReadFile(folder / (Name(i) + (i % 2 == 0 ? ".yrw" : ".yrb")));
}

// Starts kestrel-run posting the periods in `folder`; its pid.
pid_t StartPosting(const fs::path& folder) {
    std::vector<std::string> words{KESTREL_RUN_PATH, "periods.csv", "--week-ending", "02/25/05",
                                   "--post"};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

int Wait(pid_t pid) {
    int raw = 0;
    if (::waitpid(pid, &raw, 0) != pid) return -1;
    return raw;
}

TEST(PostingKilled, LeavesEveryRegisterAsItWasOrWithItsNewRow) {
    testing::TempWorkDir dir;
    MakeFolder("whole");
    const auto started = std::chrono::steady_clock::now();
    const int whole = Wait(StartPosting("whole"));
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(WIFEXITED(whole) && WEXITSTATUS(whole) == 0);
    MakeFolder("before");

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    int cutShort = 0;
    for (int round = 0; round < 12; ++round) {
        const fs::path folder = "round" + std::to_string(round);
        MakeFolder(folder);
        const pid_t pid = StartPosting(folder);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(pid, SIGKILL);
        const int status = Wait(pid);
        cutShort += WIFSIGNALED(status) ? 1 : 0;
        int posted = 0;
        for (int i = 0; i < kEmployees; ++i) {
            const std::string now = Register(folder, i);
            const bool asItWas = now == Register("before", i);
            const bool withItsRow = now == Register("whole", i);
            EXPECT_TRUE(asItWas || withItsRow) << folder << " " << Name(i);
            posted += withItsRow ? 1 : 0;
        }
        // The run takes the employees in the file's order, a few threads at once, none more than
        // four employees a thread ahead of the first one not yet done: what was posted is a
        // beginning of the file and a few beyond it.
        int firstLeft = 0;
        while (firstLeft < kEmployees &&
               Register(folder, firstLeft) == Register("whole", firstLeft))
            ++firstLeft;
        const int threads =
            static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 8U));
        for (int i = firstLeft + 4 * threads; i < kEmployees; ++i)
            EXPECT_EQ(Register(folder, i), Register("before", i)) << folder << " " << i;
        EXPECT_LE(posted - firstLeft, 4 * threads) << folder;
    }
    EXPECT_GT(cutShort, 0);
}

TEST(PostingSweep, RemovesWhatKilledWritesLeftOnceAndLeavesWritesInProgress) {
    testing::TempWorkDir dir;
    MakeFolder("folder");
    const std::vector<std::string> stale = {".E100.yrw.tmp-abc123", ".E101.use.tmp-000000"};
    const std::vector<std::string> kept = {".E100.hol.tmp-inwork", "..E100.yrw.tmp-abc123",
                                           ".E100.yrw.tmp-ABC123"};
    for (const auto& name : stale)
        testing::WriteFile("folder" / fs::path(name), "half a file");
    for (const auto& name : kept)
        testing::WriteFile("folder" / fs::path(name), "not a leftover");
    // A save still writing in another process holds its temporary file locked.
    const int busy = ::open(("folder/" + kept[0]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX | LOCK_NB), 0);
    const int status = Wait(StartPosting("folder"));
    ::close(busy);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const auto& name : stale)
        EXPECT_FALSE(fs::exists("folder" / fs::path(name))) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists("folder" / fs::path(name))) << name;
}

TEST(PostingLocked, WaitsForAnotherCopysSaveAndSkipsTheEmployeeIfItGoesOn) {
    testing::TempWorkDir dir;
    MakeFolder("folder");
    fs::current_path("folder");
    const std::string before = Register(".", 0);
    RunSettings settings{"02/25/05", Date{2005, 2, 25}};
    settings.lockPatience = std::chrono::milliseconds(200);
    RunPeriod period;
    period.entries[0] = "40";
    {
        const EmployeeLock::Saving elsewhere = EmployeeLock::ForSave(Name(0));
        ASSERT_TRUE(elsewhere.Held());
        const RunRow row = RunEmployee(Name(0), period, settings, {.post = true});
        EXPECT_NE(row.refusal.find("is saving " + Name(0)), std::string::npos) << row.refusal;
        EXPECT_EQ(Register(".", 0), before);
    }
    // Open in another copy, whose register view would save over the posting: refused. The copy
    // the run is started from does not count its own open employee.
    EmployeeLock open;
    ASSERT_TRUE(open.MarkOpen(Name(0)));
    const RunRow refused = RunEmployee(Name(0), period, settings, {.post = true});
    EXPECT_NE(refused.refusal.find("is open in another running copy"), std::string::npos)
        << refused.refusal;
    EXPECT_EQ(Register(".", 0), before);
    settings.startedFrom = &open;
    const RunRow row = RunEmployee(Name(0), period, settings, {.post = true});
    EXPECT_EQ(row.refusal, "");
    EXPECT_EQ(row.postedRow, 5);
    EXPECT_NE(Register(".", 0), before);
}

}  // namespace
}  // namespace kestrel
#endif

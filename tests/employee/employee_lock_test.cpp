// Two running copies of the program on one employee, as two processes: their saves never mix
// into one file set, and opening an employee open elsewhere asks first.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/employee_lock.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempWorkDir;

using FileSet = std::map<std::string, std::string>;

constexpr const char* kFiles[] = {"Worker1.use", "Worker1.and", "Worker1.cfe", "Worker1.ovw",
                                  "Worker1.hol", "Worker1.sta", "Worker1.cti", "Worker1.nci"};

FileSet Read() {
    FileSet files;
    for (const char* name : kFiles)
        files[name] = ReadFile(name);
    return files;
}

class TwoCopies : public ::testing::Test {
  protected:
    TwoCopies() {
        fs::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.Start();
        host.answers.push_back(MsgResult::No);
        host.inputs.emplace_back("Worker1");
        program.form1.ui().mnuNew->UserClick();
    }

    // One copy's version of the employee, different in every file.
    FileSet Save(int copy) {
        const auto v = static_cast<float>(copy);
        program.profile.HourlyRate1 = 10 + v;
        program.profile.EmployeeAddress = copy ? "2 Second St" : "1 First St";
        program.profile.Cafeteria = 15 + v;
        program.overtime.OtAmount[0] = copy ? "3.50" : "12.25";
        program.leave.SickStart = 4 + v;
        program.stateSettings.StateAdjustment = 1 + v;
        program.citySettings.SingleExemptions[1] = 40 + v;
        program.nonResidentSettings.NonResidentPercent = 1 + v;
        EXPECT_TRUE(program.saveUser.FullSave());
        return Read();
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(TwoCopies, SavesOfOneEmployeeNeverInterleave) {
    const FileSet versions[2] = {Save(0), Save(1)};
    for (const char* name : kFiles)
        ASSERT_NE(versions[0].at(name), versions[1].at(name)) << name;

    // Each copy saves its version over and over; after each save it looks at the set, under the
    // save lock, and counts the sets that hold files of both versions.
    constexpr int kSaves = 60;
    auto run = [&](int copy) {
        int mixed = 0;
        for (int i = 0; i < kSaves; ++i) {
            Save(copy);
            const EmployeeLock::Saving looking = EmployeeLock::ForSave("Worker1");
            int fromFirst = 0;
            for (const auto& [name, contents] : Read()) {
                if (contents == versions[0].at(name)) ++fromFirst;
            }
            if (fromFirst != 0 && fromFirst != static_cast<int>(std::size(kFiles))) ++mixed;
        }
        return mixed;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(std::min(run(1), 100));
    const int mixedHere = run(0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "sets mixed, seen by the other copy";
    EXPECT_EQ(mixedHere, 0);
}

TEST_F(TwoCopies, OpeningAnEmployeeOpenElsewhereAsksWhetherToGoOn) {
    ASSERT_TRUE(program.saveUser.FullSave());
    // Only the copy in the child process has Worker1 open.
    program.employeeLock.Release();
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another copy with Worker1 open, until the test is done with it, or gives up on it.
        ::alarm(60);
        ::close(done[1]);
        EmployeeLock other;
        const char mark = other.MarkOpen("Worker1") ? 'y' : 'n';
        if (::write(ready[1], &mark, 1) != 1) ::_exit(1);
        char end = 0;
        if (::read(done[0], &end, 1) < 0) ::_exit(2);  // ends when the test closes its end
        ::_exit(0);
    }
    ::close(done[0]);
    char mark = 0;
    ASSERT_EQ(::read(ready[0], &mark, 1), 1);
    ASSERT_EQ(mark, 'y');

    ScriptedHost secondHost;
    Program second{secondHost};
    second.Start();
    EXPECT_TRUE(second.employeeLock.OpenElsewhere("Worker1"));
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

}  // namespace
}  // namespace kestrel

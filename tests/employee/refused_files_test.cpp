// A file refused when its employee is opened: its part of the employee starts from a new
// employee's values, the main window names it, and the save that replaces it first keeps it
// beside itself. A file its permissions keep from being read is not replaced at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

struct Session {
    ScriptedHost host;
    Program program{host};

    Session() { program.Start(); }
    void New(const std::string& name) {
        host.answers.push_back(MsgResult::No);
        host.inputs.emplace_back(name);
        program.form1.ui().mnuNew->UserClick();
    }
    void Open(const fs::path& file) {
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        host.files.emplace_back(file);
        program.form1.ui().mnuOpen->UserClick();
    }
    void Calculate(const std::string& hours) {
        program.form1.ui().txtEntry[0]->SetText(hours);
        program.form1.ui().cmdCal->UserClick();
    }
    std::string Status() { return program.form1.ui().lbStatus->Caption(); }
    std::string AllMessages() const {
        std::string all;
        for (const auto& text : host.MessageTexts())
            all += text + "\n";
        return all;
    }
};

// Worker1 with a figure of its own in every file; Worker2 with others.
void MakeTwoEmployees() {
    Session run;
    run.New("Worker1");
    Program& p = run.program;
    p.profile.HourlyRate1 = 12.5F;
    p.profile.EmployeeAddress = "1 First St";
    p.profile.Cafeteria = 15;
    p.profile.CafeteriaReducesState = 1;
    p.profile.StateAllowances = 3;
    p.overtime.OtAmount[0] = "12.25";
    p.leave.SickStart = 4;
    p.stateSettings.SdiPercent = 1.5F;
    p.citySettings.SingleExemptions[1] = 40;
    p.nonResidentSettings.NonResidentPercent = 1;
    ASSERT_TRUE(p.saveUser.FullSave());
    run.New("Worker2");
    ASSERT_TRUE(p.saveUser.FullSave());
}

class RefusedFiles : public ::testing::Test {
  protected:
    RefusedFiles() { fs::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax"); }
    TempWorkDir dir;
};

TEST_F(RefusedFiles, ACutShortCafeteriaFileStartsFromDefaultsAndIsKeptByTheNextSave) {
    MakeTwoEmployees();
    WriteFile("Worker2.cfe", "30,1,0");
    Session run;
    run.Open("Worker1.use");
    ASSERT_EQ(run.program.profile.Cafeteria, 15.0F);
    run.host.messages.clear();
    run.Open("Worker2.use");

    ASSERT_EQ(run.host.MessageTexts().size(), 1U) << run.AllMessages();
    const std::string told = run.host.MessageTexts()[0];
    EXPECT_NE(told.find("Worker2.cfe, line 1, field 3"), std::string::npos) << told;
    EXPECT_NE(told.find("ending its last line"), std::string::npos) << told;
    EXPECT_NE(told.find("kept as Worker2.cfe.damaged"), std::string::npos) << told;
    EXPECT_EQ(run.program.profile.Cafeteria, 0.0F);
    EXPECT_EQ(run.program.profile.CafeteriaReducesState, 0);
    EXPECT_NE(run.Status().find("Worker2.cfe"), std::string::npos) << run.Status();

    run.Calculate("40");
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged"), "30,1,0");
    EXPECT_EQ(ReadFile("Worker2.cfe"), "0,0,0\r\n");

    // Refused again later, it goes beside the first kept copy, which stays as it was.
    WriteFile("Worker2.cfe", "31,1,0");
    run.Open("Worker2.use");
    run.Calculate("40");
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged"), "30,1,0");
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged-2"), "31,1,0");
    // A file read whole is not kept by the next save.
    run.Calculate("40");
    EXPECT_FALSE(fs::exists("Worker2.cfe.damaged-3"));
}

// Each file of the employee, refused at Open after Worker1 was open: the figures it carries come
// from a new employee, never from Worker1.
TEST_F(RefusedFiles, EveryRefusedFileLeavesItsPartAtTheNewEmployeeValues) {
    struct Case {
        const char* extension;
        std::function<bool(const Program&)> fromNewEmployee;
    };
    const std::vector<Case> cases{
        {".use", [](const Program& p) { return p.profile.HourlyRate1 == 0; }},
        {".and",
         [](const Program& p) {
             return p.profile.EmployeeAddress == "Employee's Address for Check";
         }},
        {".cfe", [](const Program& p) { return p.profile.Cafeteria == 0; }},
        {".sta",
         [](const Program& p) {
             return p.stateSettings.SdiPercent == 0 && p.profile.StateAllowances == 0;
         }},
        {".cti",
         [](const Program& p) {
             return p.citySettings.SingleExemptions[1] == NewYorkCityDefaults().SingleExemptions[1];
         }},
        {".nci",
         [](const Program& p) {
             return p.nonResidentSettings.NonResidentPercent ==
                    NonResidentDefaults().NonResidentPercent;
         }},
        {".hol", [](const Program& p) { return p.leave.SickStart == 0; }},
        {".ovw", [](const Program& p) { return p.overtime.OtAmount[0] == "0"; }},
    };
    MakeTwoEmployees();
    for (const Case& c : cases) {
        const std::string file = std::string("Worker2") + c.extension;
        const std::string good = ReadFile(file);
        WriteFile(file, "not,this,program's\r\n");
        Session run;
        run.Open("Worker1.use");
        ASSERT_FALSE(c.fromNewEmployee(run.program)) << c.extension;
        run.Open("Worker2.use");
        EXPECT_TRUE(c.fromNewEmployee(run.program)) << c.extension;
        EXPECT_NE(run.Status().find(file), std::string::npos) << run.Status();
        EXPECT_NE(run.AllMessages().find(file), std::string::npos) << run.AllMessages();
        WriteFile(file, good);
    }
}

// Root reads any file, so the permission case runs in a child that gives root's rights up.
TEST_F(RefusedFiles, AFileThatMayNotBeReadIsSaidSoAndNotReplaced) {
    MakeTwoEmployees();
    const std::string held = ReadFile("Worker1.sta");
    fs::permissions(".", fs::perms::all);
    ASSERT_EQ(::chmod("Worker1.sta", 0), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
        Session run;
        run.Open("Worker1.use");
        const std::string told = run.AllMessages();
        int failures = 0;
        if (told.find("Worker1.sta: cannot be opened: permission denied") == std::string::npos)
            failures |= 1;
        if (told.find("corupted") != std::string::npos) failures |= 2;
        run.host.messages.clear();
        if (run.program.saveUser.FullSave()) failures |= 4;
        if (run.AllMessages().find("so it is not replaced") == std::string::npos) failures |= 8;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not said, 2: called corrupted, 4: saved, "
                                         "8: refusal not said";
    ASSERT_EQ(::chmod("Worker1.sta", 0600), 0);
    EXPECT_EQ(ReadFile("Worker1.sta"), held);
}

TEST_F(RefusedFiles, ASaveLeavesEveryFileReadableAndWritableByItsOwner) {
    MakeTwoEmployees();
    // Mode 000 is the case seen, and root can still read it; anyone else needs the read bit.
    ASSERT_EQ(::chmod("Worker1.sta", ::geteuid() == 0 ? 0 : 0400), 0);
    ASSERT_EQ(::chmod("Worker1.cti", 0440), 0);
    const mode_t mask = ::umask(0277);
    Session run;
    run.New("Worker3");
    ::umask(mask);
    run.program.saveUser.ui().txtSaveUser->SetText("Worker1");
    ASSERT_TRUE(run.program.saveUser.FullSave()) << run.AllMessages();
    for (const char* file : {"Worker1.sta", "Worker1.cti", "Worker3.use"}) {
        struct stat info {};
        ASSERT_EQ(::stat(file, &info), 0) << file;
        EXPECT_EQ(info.st_mode & 0600, 0600U) << file;
    }
}

}  // namespace
}  // namespace kestrel

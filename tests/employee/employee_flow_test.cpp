// New, User Info, Calculate, Exit with Save, then a second run that opens the employee again: the
// flows a user goes through, driven through the windows on a scripted host in a folder of their
// own, with every file checked.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::set<std::string> Folder(const fs::path& folder = ".") {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// One run of the program: a host, the program, and the helpers a user's hands would be.
struct Session {
    ScriptedHost host;
    Program program{host};

    Session() { program.Start(); }
    // What the program told the user, leaving out its Yes/No questions.
    std::vector<ScriptedHost::Message> Notices() const {
        std::vector<ScriptedHost::Message> notices;
        for (const auto& message : host.messages) {
            if (message.buttons == MsgButtons::Ok) notices.push_back(message);
        }
        return notices;
    }
    std::vector<std::string> NoticeTexts() const {
        std::vector<std::string> texts;
        for (const auto& notice : Notices())
            texts.push_back(notice.text);
        return texts;
    }
    Form1Ui& main() { return program.form1.ui(); }

    void New(const std::string& name, MsgResult savePrevious = MsgResult::No) {
        host.answers.push_back(savePrevious);
        host.inputs.push_back(name);
        main().mnuNew->UserClick();
    }
    void Open(const fs::path& file) {
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        host.files.push_back(file);
        main().mnuOpen->UserClick();
    }
    void UserInfo(const std::function<void(frmTaxInfoUi&)>& edit) {
        host.onModal["frmTaxInfo"] = [this, edit](Form&) {
            edit(program.taxInfo.ui());
            program.taxInfo.ui().cmdOk->UserClick();
        };
        main().mnuTaxInfoItem->UserClick();
    }
    void Calculate(const std::string& straightHours) {
        main().txtEntry[0]->SetText(straightHours);
        main().cmdCal->UserClick();
    }
    void ExitSaving() {
        host.answers.push_back(MsgResult::Yes);
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdSave->UserClick(); };
        main().mnuExitItem->UserClick();
    }
};

class EmployeeFlow : public ::testing::Test {
  protected:
    EmployeeFlow() { fs::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax"); }
    TempWorkDir dir;
};

TEST_F(EmployeeFlow, NewUserInfoCalculateExitThenOpenShowsWhatWasSaved) {
    {
        Session run;
        run.New("Worker1");
        EXPECT_EQ(run.host.prompts, std::vector<std::string>{"Enter new user:"});
        EXPECT_EQ(run.program.ActiveUser, "Worker1");
        EXPECT_EQ(run.program.form1.Caption(), "  User:  Worker1");
        EXPECT_EQ(run.main().lbUser->Caption(), "Worker1");
        // The closing calculation of New created the whole file set with the new-employee values.
        EXPECT_EQ(Lines(ReadFile("Worker1.use")),
                  (std::vector<std::string>{"0,0,0", "11440,0,0", "7.5,0,0", "\"0\",\"Single\",0",
                                            "0,0,0", "0,0,0", "#TRUE#,#FALSE#,\"CrUnion\"",
                                            "\"Bond\",\"Dues\",\"Pension\",\"Misc.\"", ",,,", ",,,",
                                            ",,,", ",,,"}));
        EXPECT_EQ(Lines(ReadFile("Worker1.and")),
                  (std::vector<std::string>{
                      "0,0,0", "0,0,0", "0,0,0", "#FALSE#,#FALSE#,#FALSE#",
                      "\"Employee's Address for Check\",\"State, City Zip Code\",\"Soc Sec #\"",
                      "\"Employee's Name\",\"\",\"\"", "0,0,0,0", "0,0,0", "1,0"}));
        EXPECT_EQ(ReadFile("Worker1.cfe"), "0,0,0\r\n");

        run.UserInfo([](frmTaxInfoUi& u) {
            u.txtName->SetText("Ann \"Nan\" Lee");
            u.txtAddress->SetText("12 Elm St, Apt 3");
            u.txtHourRate->SetText("12.5");
            u.cboStatus->UserSelect(1);
            u.cboDepend->UserSelect(2);
            u.cboStatus2->UserSelect(1);
            u.cboDepend2->UserSelect(1);
            u.txtMuni->SetText("10");
            u.txtTax[0]->SetText("Muni");
        });
        run.Calculate("40");
        EXPECT_EQ(run.main().lbGross->Caption(), "$500.00");
        EXPECT_EQ(run.main().lbTax[5]->Caption(), "10.00");
        EXPECT_TRUE(run.Notices().empty()) << run.Notices()[0].text;
        run.ExitSaving();
        EXPECT_TRUE(run.host.quitRequested);
        EXPECT_TRUE(run.host.unscripted.empty()) << run.host.unscripted[0];
    }

    // Every file of the set, with the exact line count of its layout.
    const std::vector<std::pair<const char*, std::size_t>> layouts{
        {"Worker1.use", 12}, {"Worker1.and", 9},  {"Worker1.cfe", 1},  {"Worker1.ovw", 104},
        {"Worker1.hol", 41}, {"Worker1.sta", 23}, {"Worker1.cti", 21}, {"Worker1.nci", 9}};
    for (const auto& [file, lines] : layouts)
        EXPECT_EQ(Lines(ReadFile(file)).size(), lines) << file;
    EXPECT_EQ(Lines(ReadFile("Worker1.use"))[2], "12.5,0,0");
    EXPECT_EQ(Lines(ReadFile("Worker1.use"))[3], "\"2\",\"Married\",0");
    EXPECT_EQ(Lines(ReadFile("Worker1.use"))[6], "#TRUE#,#FALSE#,\"Muni\"");
    EXPECT_EQ(Lines(ReadFile("Worker1.and"))[4],
              "\"12 Elm St, Apt 3\",\"State, City Zip Code\",\"Soc Sec #\"");
    EXPECT_EQ(Lines(ReadFile("Worker1.and"))[5], "\"Ann 'Nan' Lee\",\"\",\"\"");
    // The state file carries the state status and exemptions.
    EXPECT_EQ(Lines(ReadFile("Worker1.sta"))[22].substr(0, 18), "0,0,0,1,\"Married\",");

    Session again;
    EXPECT_EQ(again.program.ActiveUser, "");
    again.Open(dir.Path() / "Worker1.use");
    EXPECT_EQ(again.program.ActiveUser, "Worker1");
    EXPECT_EQ(again.program.form1.Caption(), "  User:  Worker1");
    EXPECT_EQ(again.main().lbTaxCaption[5]->Caption(), "Muni");
    EXPECT_EQ(again.main().lbFrequency->Caption(), "Weekly Tax Tables");
    const EmployeeProfile& p = again.program.profile;
    EXPECT_EQ(p.EmployeeName, "Ann 'Nan' Lee");
    EXPECT_EQ(p.HourlyRate1, 12.5f);
    EXPECT_EQ(p.FederalStatus, "Married");
    EXPECT_EQ(p.FederalAllowances, "2");
    EXPECT_EQ(p.StateStatus, "Married");
    EXPECT_EQ(p.StateAllowances, 1);
    EXPECT_EQ(p.CreditUnion, 10.0f);
    again.host.onModal["frmTaxInfo"] = [&](Form&) {
        frmTaxInfoUi& u = again.program.taxInfo.ui();
        EXPECT_EQ(u.txtName->Text(), "Ann 'Nan' Lee");
        EXPECT_EQ(u.txtHourRate->Text(), "12.5");
        EXPECT_EQ(u.cboStatus2->Text(), "Married");
        EXPECT_EQ(u.cboDepend2->Text(), "1");
        EXPECT_EQ(u.txtTax[0]->Text(), "Muni");
        u.Command1->UserClick();
    };
    again.main().mnuTaxInfoItem->UserClick();
    // The same period gives the same figures.
    again.Calculate("40");
    EXPECT_EQ(again.main().lbGross->Caption(), "$500.00");
    EXPECT_TRUE(again.host.messages.empty()) << again.host.messages[0].text;
    EXPECT_TRUE(again.host.unscripted.empty()) << again.host.unscripted[0];
}

TEST_F(EmployeeFlow, ASaveFailingPartWayKeepsEveryOtherFile) {
    Session run;
    run.New("Worker1");
    const std::string use = ReadFile("Worker1.use");
    const std::string sta = ReadFile("Worker1.sta");
    const std::string nci = ReadFile("Worker1.nci");
    // The leave file cannot be replaced: a folder stands in its place.
    fs::remove("Worker1.hol");
    fs::create_directory("Worker1.hol");
    WriteFile("Worker1.hol/keep", "kept");
    run.program.stateSettings.SdiPercent = 1.5f;
    run.program.profile.Bond = 3;
    run.host.messages.clear();
    EXPECT_FALSE(run.program.saveUser.FullSave());
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_NE(run.host.messages[0].text.find("Worker1.hol"), std::string::npos)
        << run.host.messages[0].text;
    // The files before it were written, the failing one and those after it are as they were.
    EXPECT_NE(ReadFile("Worker1.use"), use);
    EXPECT_EQ(Lines(ReadFile("Worker1.use"))[4], "0,3,0");
    EXPECT_EQ(ReadFile("Worker1.hol/keep"), "kept");
    EXPECT_EQ(ReadFile("Worker1.sta"), sta);
    EXPECT_EQ(ReadFile("Worker1.nci"), nci);
    // Nothing half-written is left behind.
    for (const std::string& name : Folder())
        EXPECT_EQ(name.find("Worker1.hol."), std::string::npos) << name;
}

TEST_F(EmployeeFlow, NamesThatAreNotFileNamesAreRefusedAndNothingIsWritten) {
    Session run;
    const std::set<std::string> before = Folder();
    const std::set<std::string> parent = Folder("..");
    // A name of 240 bytes is a file name, but not once a save adds its temporary suffix.
    const std::vector<std::string> names{"../evil",
                                         "a/b",
                                         "a\\b",
                                         "..",
                                         "c:d",
                                         " lead",
                                         "trail ",
                                         "",
                                         "tab\tin",
                                         "nl\nin",
                                         std::string(240, 'a')};
    for (const std::string& name : names) {
        run.host.messages.clear();
        run.New(name);
        ASSERT_EQ(run.Notices().size(), 1u) << name;
        EXPECT_EQ(run.Notices()[0].icon, MsgIcon::Warning);
        EXPECT_EQ(run.program.ActiveUser, "") << name;
    }
    // A cancelled prompt is a change of mind: nothing is said and nothing changes.
    run.host.messages.clear();
    run.host.answers.push_back(MsgResult::No);
    run.host.inputs.push_back(std::nullopt);
    run.main().mnuNew->UserClick();
    EXPECT_EQ(run.NoticeTexts(), std::vector<std::string>{});
    EXPECT_EQ(Folder(), before);
    EXPECT_EQ(Folder(".."), parent);

    // The save window's name box is held to the same rule.
    run.New("Worker1");
    run.host.messages.clear();
    run.host.onModal["frmSaveUser"] = [&](Form& form) {
        run.program.saveUser.ui().txtSaveUser->SetText("../Worker1");
        run.program.saveUser.ui().cmdSave->UserClick();
        EXPECT_TRUE(form.IsVisible());
        run.program.saveUser.ui().cmdNo->UserClick();
    };
    run.main().mnuSave->UserClick();
    EXPECT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.program.ActiveUser, "Worker1");
    EXPECT_EQ(Folder(".."), parent);
}

TEST_F(EmployeeFlow, NewWithAnExistingNameSaysSoAndChangesNothing) {
    Session run;
    run.New("Worker1");
    run.New("Worker2");
    const std::string use = ReadFile("Worker1.use");
    run.host.messages.clear();
    run.New("Worker1");
    EXPECT_EQ(run.NoticeTexts(),
              std::vector<std::string>{"........Worker1 already exists. Use Open"});
    EXPECT_EQ(run.program.ActiveUser, "Worker2");
    EXPECT_EQ(run.program.form1.Caption(), "  User:  Worker2");
    EXPECT_EQ(run.program.saveUser.ui().txtSaveUser->Text(), "Worker2");
    EXPECT_EQ(ReadFile("Worker1.use"), use);
}

TEST_F(EmployeeFlow, NewAsksToSavePreviousAndResetsEveryRecord) {
    Session run;
    run.New("Worker1");
    run.UserInfo([](frmTaxInfoUi& u) {
        u.txtHourRate->SetText("20");
        u.ckSelfEmp->UserClick();
    });
    run.program.leave.VacationStart = 10;
    run.program.overtime.OtAmount[0] = "250";
    run.program.stateSettings.OklahomaFlag = 1;
    run.program.stateSettings.SdiPercent = 1.5f;
    run.program.citySettings.NoLocalTax = 1;
    run.main().txtEntry[3]->SetText("2");
    // Yes: the save window opens first; its Save stores Worker1 as it stands.
    run.host.onModal["frmSaveUser"] = [&](Form&) {
        EXPECT_EQ(run.program.saveUser.ui().txtSaveUser->Text(), "Worker1");
        run.program.saveUser.ui().cmdSave->UserClick();
    };
    run.New("Worker2", MsgResult::Yes);
    EXPECT_EQ(run.host.messages[0].text, "........SAVE PREVIOUS USER?");
    EXPECT_EQ(Lines(ReadFile("Worker1.hol"))[0], "10,10,0,0,0,0");
    EXPECT_EQ(Lines(ReadFile("Worker1.ovw"))[1], "250");
    const EmployeeProfile& p = run.program.profile;
    EXPECT_EQ(p.HourlyRate1, 7.5f);
    EXPECT_EQ(p.SelfEmployed, 0);
    EXPECT_EQ(run.program.leave, LeaveBalances{});
    EXPECT_EQ(run.program.overtime.OtAmount[0], "0");
    EXPECT_EQ(run.program.overtime.AnnualSalary, 11440);
    EXPECT_EQ(Lines(ReadFile("Worker2.use"))[2], "7.5,0,0");
    EXPECT_EQ(Lines(ReadFile("Worker2.cfe"))[0], "0,0,0");
    EXPECT_EQ(Lines(ReadFile("Worker2.hol"))[0], "0,0,0,0,0,0");
    EXPECT_EQ(run.main().txtEntry[3]->Text(), "");
    // Nothing of the previous employee's tax settings carries over.
    EXPECT_EQ(run.program.stateSettings, NewYorkStateDefaults());
    EXPECT_EQ(run.program.citySettings, NewYorkCityDefaults());
    EXPECT_EQ(Lines(ReadFile("Worker1.sta"))[21].substr(0, 4), "1.5,");
}

TEST_F(EmployeeFlow, OpenInAnotherFolderMakesItCurrent) {
    {
        Session run;
        run.New("Worker1");
    }
    const fs::path other = dir.Path() / "other";
    fs::create_directory(other);
    fs::copy_file("Fedtaxx.tax", other / "Fedtaxx.tax");
    {
        fs::current_path(other);
        Session run;
        run.New("Worker2");
        run.UserInfo([](frmTaxInfoUi& u) { u.txtHourRate->SetText("30"); });
    }
    fs::current_path(dir.Path());
    Session run;
    run.Open(other / "Worker2.use");
    EXPECT_EQ(fs::current_path(), other);
    EXPECT_EQ(run.program.profile.HourlyRate1, 30.0f);
    // A save goes to the new current folder.
    run.Calculate("1");
    EXPECT_TRUE(fs::exists(other / "Worker2.hol"));
    EXPECT_FALSE(fs::exists(dir.Path() / "Worker2.use"));
}

TEST_F(EmployeeFlow, OpeningAnEmployeeWithOnlyAUseFileKeepsThePreviousEmployeesOtherValues) {
    {
        Session run;
        run.New("Worker1");
        run.UserInfo([](frmTaxInfoUi& u) {
            u.txtCafe->SetText("15");
            u.txtAddress->SetText("1 First St");
        });
        run.program.leave.SickStart = 4;
        run.program.saveUser.FullSave();
        run.New("Lonely");
    }
    // Only the ".use" of Lonely is kept.
    for (const char* extension : {".and", ".cfe", ".hol", ".ovw", ".sta", ".cti", ".nci"})
        fs::remove(std::string("Lonely") + extension);
    Session run;
    run.Open("Worker1.use");
    run.Open("Lonely.use");
    EXPECT_EQ(run.program.ActiveUser, "Lonely");
    EXPECT_EQ(run.program.profile.Cafeteria, 15.0f);
    EXPECT_EQ(run.program.profile.EmployeeAddress, "1 First St");
    EXPECT_EQ(run.program.leave.SickStart, 4.0f);
    EXPECT_TRUE(run.host.messages.empty()) << run.host.messages[0].text;
}

TEST_F(EmployeeFlow, ADamagedFileIsNamedAndTheOthersAreStillRead) {
    {
        Session run;
        run.New("Worker1");
        run.UserInfo([](frmTaxInfoUi& u) { u.txtCafe->SetText("15"); });
    }
    WriteFile("Worker1.use", "0,0,0\r\n11440,0,0\r\n7.5,zz,0\r\n");
    Session run;
    run.Open("Worker1.use");
    ASSERT_EQ(run.NoticeTexts().size(), 1u) << run.NoticeTexts()[1];
    EXPECT_NE(run.NoticeTexts()[0].find("Worker1.use, line 3, field 8"), std::string::npos)
        << run.NoticeTexts()[0];
    EXPECT_EQ(run.program.ActiveUser, "Worker1");
    EXPECT_EQ(run.program.profile.Cafeteria, 15.0f);
}

TEST_F(EmployeeFlow, SaveUnderAnotherNameWritesTheSetThereAndKeepsTheCaption) {
    Session run;
    run.New("Worker1");
    run.host.onModal["frmSaveUser"] = [&](Form&) {
        frmSaveUserUi& u = run.program.saveUser.ui();
        EXPECT_EQ(u.txtSaveUser->Text(), "Worker1");
        u.txtSaveUser->SetText("Copy");
        u.cmdSave->UserClick();
    };
    run.main().mnuSave->UserClick();
    EXPECT_EQ(run.program.ActiveUser, "Copy");
    EXPECT_EQ(run.main().lbUser->Caption(), "Copy");
    EXPECT_EQ(run.program.form1.Caption(), "  User:  Worker1");
    for (const char* extension : {".use", ".and", ".cfe", ".ovw", ".hol", ".sta", ".cti", ".nci"})
        EXPECT_TRUE(FileExists(std::string("Copy") + extension)) << extension;
}

TEST_F(EmployeeFlow, ExitWithoutSavingAndQuitWriteNothing) {
    Session run;
    run.New("Worker1");
    run.program.profile.Bond = 99;
    const std::set<std::string> before = Folder();
    const std::string use = ReadFile("Worker1.use");
    run.host.answers.push_back(MsgResult::No);
    run.main().mnuExitItem->UserClick();
    EXPECT_TRUE(run.host.quitRequested);
    EXPECT_EQ(ReadFile("Worker1.use"), use);

    Session second;
    second.Open("Worker1.use");
    second.program.profile.Bond = 99;
    second.host.answers.push_back(MsgResult::Yes);
    second.host.onModal["frmSaveUser"] = [&](Form&) {
        second.program.saveUser.ui().cmdQuit->UserClick();
    };
    second.main().mnuExitItem->UserClick();
    EXPECT_TRUE(second.host.quitRequested);
    EXPECT_TRUE(second.program.quitting);
    EXPECT_FALSE(second.program.form1.IsLoaded());
    EXPECT_EQ(ReadFile("Worker1.use"), use);
    EXPECT_EQ(Folder(), before);
}

TEST_F(EmployeeFlow, TheSaveWindowsCloseBoxClosesTheEmployeesWindowsAndKeepsTheMainWindow) {
    Session run;
    run.New("Worker1");
    run.main().mnuState->UserClick();
    run.main().mnuOtItem->UserClick();
    ASSERT_TRUE(run.program.dialogState.IsVisible());
    const std::string use = ReadFile("Worker1.use");
    run.program.profile.Bond = 99;
    run.host.onModal["frmSaveUser"] = [&](Form& form) { form.UserClose(); };
    run.main().mnuSave->UserClick();
    EXPECT_FALSE(run.program.dialogState.IsLoaded());
    EXPECT_FALSE(run.program.form2.IsLoaded());
    EXPECT_TRUE(run.program.form1.IsVisible());
    EXPECT_FALSE(run.host.quitRequested);
    EXPECT_EQ(ReadFile("Worker1.use"), use);
}

TEST_F(EmployeeFlow, ACalculationWithNoEmployeeOpenWritesNothing) {
    Session run;
    const std::set<std::string> before = Folder();
    run.Calculate("40");
    EXPECT_EQ(run.main().lbGross->Caption(), "$300.00");
    EXPECT_EQ(Folder(), before);
}

// A file refused when its employee is opened: its part of the employee starts from a new
// employee's values, the main window names it, and the save that replaces it first keeps it
// beside itself. A file its permissions keep from being read is not replaced at all.

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const auto& text : texts)
        all += text + "\n";
    return all;
}

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

TEST_F(EmployeeFlow, ACutShortCafeteriaFileStartsFromDefaultsAndIsKeptByTheNextSave) {
    MakeTwoEmployees();
    WriteFile("Worker2.cfe", "30,1,0");
    Session run;
    run.Open("Worker1.use");
    run.host.messages.clear();
    run.Open("Worker2.use");

    ASSERT_EQ(run.NoticeTexts().size(), 1U) << Joined(run.NoticeTexts());
    const std::string told = run.NoticeTexts()[0];
    EXPECT_NE(told.find("Worker2.cfe, line 1, field 3"), std::string::npos) << told;
    EXPECT_NE(told.find("ending its last line"), std::string::npos) << told;
    EXPECT_NE(told.find("kept as Worker2.cfe.damaged"), std::string::npos) << told;
    EXPECT_EQ(run.program.profile.Cafeteria, 0.0F);
    EXPECT_NE(run.main().lbStatus->Caption().find("Worker2.cfe"), std::string::npos)
        << run.main().lbStatus->Caption();

    run.program.form1.CalculatePay();
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged"), "30,1,0");
    EXPECT_EQ(ReadFile("Worker2.cfe"), "0,0,0\r\n");

    // Refused again later, it goes beside the first kept copy, which stays as it was.
    WriteFile("Worker2.cfe", "31,1,0");
    run.Open("Worker2.use");
    run.program.form1.CalculatePay();
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged"), "30,1,0");
    EXPECT_EQ(ReadFile("Worker2.cfe.damaged-2"), "31,1,0");
    // A file read whole is not kept by the next save.
    run.program.form1.CalculatePay();
    EXPECT_FALSE(fs::exists("Worker2.cfe.damaged-3"));
    // The notice belongs to the employee it was given for.
    run.New("Worker3");
    EXPECT_EQ(run.main().lbStatus->Caption(), "");
}

// Each file of the employee, refused at Open after Worker1 was open: the figures it carries come
// from a new employee, never from Worker1.
TEST_F(EmployeeFlow, EveryRefusedFileLeavesItsPartAtTheNewEmployeeValues) {
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
        EXPECT_NE(run.main().lbStatus->Caption().find(file), std::string::npos)
            << run.main().lbStatus->Caption();
        EXPECT_NE(Joined(run.NoticeTexts()).find(file), std::string::npos)
            << Joined(run.NoticeTexts());
        WriteFile(file, good);
    }
}

// Root reads any file, so the permission case runs in a child that gives root's rights up.
TEST_F(EmployeeFlow, AFileThatMayNotBeReadIsSaidSoAndNotReplaced) {
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
        const std::string told = Joined(run.NoticeTexts());
        int failures = 0;
        if (told.find("Worker1.sta: cannot be opened: permission denied") == std::string::npos)
            failures |= 1;
        if (told.find("corupted") != std::string::npos) failures |= 2;
        if (run.program.saveUser.FullSave()) failures |= 4;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not said, 2: called corrupted, 4: saved";
    ASSERT_EQ(::chmod("Worker1.sta", 0600), 0);
    EXPECT_EQ(ReadFile("Worker1.sta"), held);
}

TEST_F(EmployeeFlow, ASaveLeavesEveryFileReadableAndWritableByItsOwner) {
    MakeTwoEmployees();
    // Mode 000 is the case seen, and root can still read it; anyone else needs the read bit.
    ASSERT_EQ(::chmod("Worker1.sta", ::geteuid() == 0 ? 0 : 0400), 0);
    ASSERT_EQ(::chmod("Worker1.cti", 0440), 0);
    const mode_t mask = ::umask(0277);
    Session run;
    run.New("Worker3");
    ::umask(mask);
    run.program.saveUser.ui().txtSaveUser->SetText("Worker1");
    ASSERT_TRUE(run.program.saveUser.FullSave()) << Joined(run.NoticeTexts());
    for (const char* file : {"Worker1.sta", "Worker1.cti", "Worker3.use"}) {
        struct stat info {};
        ASSERT_EQ(::stat(file, &info), 0) << file;
        EXPECT_EQ(info.st_mode & 0600, 0600U) << file;
    }
}

}  // namespace
}  // namespace kestrel

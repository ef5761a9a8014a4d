#include "platform/form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

struct SampleUi {
    TextBox* txtName = nullptr;
    TextBox* txtAmount = nullptr;
    CheckBox* ckFlag = nullptr;
    Frame* fraGroup = nullptr;
    OptionButton* optA = nullptr;
    OptionButton* optB = nullptr;
    OptionButton* optOther = nullptr;  // same caption group, other container
    ComboBox* cboStatus = nullptr;
    CommandButton* cmdClose = nullptr;
    Label* lbInfo = nullptr;
    DatePicker* dtpDay = nullptr;
};

// A small window whose handlers record what ran.
class SampleForm : public FormOf<SampleUi> {
  public:
    explicit SampleForm(Host& host, FormKind kind = FormKind::Modeless)
        : FormOf(host, "frmSample", kind) {}
    std::vector<std::string> log;
    int loads = 0;

  protected:
    void BuildUi(SampleUi& ui) override {
        SetCaption("Sample");
        ui.txtName = &Add<TextBox>("txtName", {0, 0, 1000, 300});
        ui.txtName->SetText("design");
        ui.txtName->Change = [this] { log.push_back("name changed"); };
        ui.txtName->GotFocus = [this] { log.push_back("name got focus"); };
        ui.txtName->LostFocus = [this] { log.push_back("name lost focus"); };
        ui.txtAmount = &Add<TextBox>("txtAmount", {0, 400, 1000, 300});
        ui.txtAmount->SetAllowedKeys(std::string(kNumberKeys));
        ui.txtAmount->SetSelectAllOnFocus(true);
        ui.ckFlag = &Add<CheckBox>("ckFlag", {0, 800, 1000, 300});
        ui.ckFlag->MouseDown = [this](MouseButton) { log.push_back("flag mouse down"); };
        ui.ckFlag->Click = [this] {
            log.push_back("flag click " + std::to_string(this->ui().ckFlag->Value()));
        };
        ui.fraGroup = &Add<Frame>("fraGroup", {2000, 0, 2000, 2000});
        ui.optA = &Add<OptionButton>("optA", {100, 100, 800, 300});
        ui.optA->SetContainer(ui.fraGroup);
        ui.optA->SetValue(true);
        ui.optB = &Add<OptionButton>("optB", {100, 500, 800, 300});
        ui.optB->SetContainer(ui.fraGroup);
        ui.optB->Click = [this] { log.push_back("B click"); };
        ui.optOther = &Add<OptionButton>("optOther", {0, 1200, 800, 300});
        ui.optOther->SetValue(true);
        ui.cboStatus = &Add<ComboBox>("cboStatus", {0, 1600, 1200, 300});
        ui.cboStatus->AddItem("Single");
        ui.cboStatus->AddItem("Married");
        ui.cboStatus->Click = [this] { log.push_back("status click"); };
        ui.cmdClose = &Add<CommandButton>("cmdClose", {0, 2000, 1000, 400});
        ui.cmdClose->Click = [this] {
            // Unloading destroys this very button while its handler runs.
            Unload();
            log.push_back("after unload");
        };
        ui.lbInfo = &Add<Label>("lbInfo", {0, 2500, 1000, 300});
        ui.dtpDay = &Add<DatePicker>("dtpDay", {0, 2900, 1500, 300});
        ui.dtpDay->Change = [this] { log.push_back("day change"); };
        ui.dtpDay->Click = [this] { log.push_back("day click"); };
    }
    void OnLoad() override { ++loads; }
};

TEST(FormLifecycle, TouchingAControlLoadsTheForm) {
    ScriptedHost host;
    SampleForm form(host);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.ui().txtName->Text(), "design");
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_FALSE(form.IsVisible());
    EXPECT_EQ(form.loads, 1);
    form.ui();
    EXPECT_EQ(form.loads, 1);
}

TEST(FormLifecycle, UnloadingResetsEveryControlToItsDesign) {
    ScriptedHost host;
    SampleForm form(host);
    form.Show();
    form.ui().txtName->SetText("typed");
    form.ui().ckFlag->SetValue(1);
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(form.IsVisible());
    EXPECT_EQ(form.ui().txtName->Text(), "design");
    EXPECT_EQ(form.ui().ckFlag->Value(), 0);
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"show frmSample", "hide frmSample", "unload frmSample"}));
}

TEST(FormLifecycle, HidingKeepsTheControls) {
    ScriptedHost host;
    SampleForm form(host);
    form.Show();
    form.ui().txtName->SetText("kept");
    form.Hide();
    EXPECT_TRUE(form.IsLoaded());
    form.Show();
    EXPECT_EQ(form.ui().txtName->Text(), "kept");
    form.Show();  // already shown: brought to the front
    EXPECT_EQ(host.events.back(), "front frmSample");
}

TEST(FormLifecycle, QueryUnloadCanRefuseTheUsersClose) {
    ScriptedHost host;
    SampleForm form(host);
    form.QueryUnload = [](CloseReason reason) { return reason != CloseReason::User; };
    form.Show();
    EXPECT_FALSE(form.UserClose());
    EXPECT_TRUE(form.IsVisible());
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.IsLoaded());
}

TEST(FormLifecycle, AHandlerMayUnloadItsOwnForm) {
    ScriptedHost host;
    SampleForm form(host);
    form.Show();
    CommandButton* button = form.ui().cmdClose;
    button->UserClick();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.log.back(), "after unload");
}

TEST(FormLifecycle, ModalRunsTheScriptAndReturnsWhenHidden) {
    ScriptedHost host;
    SampleForm form(host, FormKind::Modal);
    bool wasModal = false;
    host.onModal["frmSample"] = [&](Form& f) {
        wasModal = f.IsModal() && f.IsVisible();
        form.ui().cmdClose->UserClick();
    };
    form.ShowModal();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(form.IsModal());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(host.unscripted.empty());
}

TEST(FormLifecycle, AModalLeftOpenIsReportedNotHung) {
    ScriptedHost host;
    SampleForm form(host, FormKind::Modal);
    form.ShowModal();
    EXPECT_FALSE(form.IsVisible());
    EXPECT_EQ(host.unscripted, (std::vector<std::string>{"modal left open: frmSample"}));
}

TEST(Focus, MovesWithLostAndGotFocus) {
    ScriptedHost host;
    SampleForm form(host);
    form.Show();
    form.ui().txtName->SetFocus();
    form.ui().txtAmount->SetFocus();
    EXPECT_EQ(form.log, (std::vector<std::string>{"name got focus", "name lost focus"}));
    EXPECT_TRUE(form.ui().txtAmount->HasFocus());
    EXPECT_EQ(form.Focused(), form.ui().txtAmount);
}

TEST(Focus, DisabledHiddenAndLabelsCannotTakeIt) {
    ScriptedHost host;
    SampleForm form(host);
    form.ui().txtName->SetFocus();
    form.ui().txtAmount->SetEnabled(false);
    form.ui().txtAmount->SetFocus();
    EXPECT_TRUE(form.ui().txtName->HasFocus());
    form.ui().lbInfo->SetFocus();
    EXPECT_TRUE(form.ui().txtName->HasFocus());
    // A control inside a disabled frame is disabled too.
    form.ui().fraGroup->SetEnabled(false);
    EXPECT_FALSE(form.ui().optB->EffectivelyEnabled());
    form.ui().optB->UserClick();
    EXPECT_FALSE(form.ui().optB->Value());
    // Hiding the focused control takes the focus away.
    form.ui().txtName->SetVisible(false);
    EXPECT_EQ(form.Focused(), nullptr);
}

TEST(TextBoxKeys, NumberBoxFiltersTypedKeysButNotCode) {
    ScriptedHost host;
    SampleForm form(host);
    TextBox& amount = *form.ui().txtAmount;
    EXPECT_TRUE(amount.KeyPress('7'));
    EXPECT_TRUE(amount.KeyPress('-'));
    EXPECT_TRUE(amount.KeyPress(' '));
    EXPECT_TRUE(amount.KeyPress(kBackspace));
    EXPECT_FALSE(amount.KeyPress('a'));
    EXPECT_FALSE(amount.KeyPress(','));
    amount.Type("1a2,3");
    EXPECT_EQ(amount.Text(), "123");
    // The program itself may put anything in a box.
    amount.SetText("abc");
    EXPECT_EQ(amount.Text(), "abc");
    // Pasted text loses what the keys could not have typed.
    amount.UserEdit("$1,234.50");
    EXPECT_EQ(amount.Text(), "1234.50");
}

TEST(TextBoxKeys, FocusSelectsAllAndTypingReplacesTheSelection) {
    ScriptedHost host;
    SampleForm form(host);
    TextBox& amount = *form.ui().txtAmount;
    amount.SetText("12.5");
    amount.SetFocus();
    EXPECT_EQ(amount.SelLength(), 4);
    amount.Type("9");
    EXPECT_EQ(amount.Text(), "9");
    amount.Type("8\b7");
    EXPECT_EQ(amount.Text(), "97");
    amount.SetSelection(0, 1);
    amount.Type("\b");
    EXPECT_EQ(amount.Text(), "7");
}

TEST(TextBoxKeys, ChangeFiresOnlyWhenTheTextDiffers) {
    ScriptedHost host;
    SampleForm form(host);
    TextBox& name = *form.ui().txtName;
    name.SetText("design");
    EXPECT_TRUE(form.log.empty());
    name.SetText("other");
    name.SetText("other");
    EXPECT_EQ(form.log, (std::vector<std::string>{"name changed"}));
}

TEST(TextBoxKeys, MaxLengthCutsCodeAndStopsTyping) {
    ScriptedHost host;
    SampleForm form(host);
    TextBox& name = *form.ui().txtName;
    name.SetMaxLength(4);
    name.SetText("abcdef");
    EXPECT_EQ(name.Text(), "abcd");
    name.SetSelection(4, 0);
    name.Type("x");
    EXPECT_EQ(name.Text(), "abcd");
}

TEST(CheckBoxes, ValueFromCodeRunsClickOnlyWhenItChanges) {
    ScriptedHost host;
    SampleForm form(host);
    CheckBox& flag = *form.ui().ckFlag;
    flag.SetValue(0);
    EXPECT_TRUE(form.log.empty());
    flag.SetValue(1);
    flag.SetValue(1);
    EXPECT_EQ(form.log, (std::vector<std::string>{"flag click 1"}));
}

TEST(CheckBoxes, UserClickPressesThenToggles) {
    ScriptedHost host;
    SampleForm form(host);
    form.ui().ckFlag->UserClick();
    form.ui().ckFlag->UserClick();
    EXPECT_EQ(form.log, (std::vector<std::string>{"flag mouse down", "flag click 1",
                                                  "flag mouse down", "flag click 0"}));
}

TEST(OptionButtons, ExcludeOnlyWithinTheirContainer) {
    ScriptedHost host;
    SampleForm form(host);
    SampleUi& ui = form.ui();
    EXPECT_TRUE(ui.optA->Value());
    EXPECT_TRUE(ui.optOther->Value());
    ui.optB->UserClick();
    EXPECT_FALSE(ui.optA->Value());
    EXPECT_TRUE(ui.optB->Value());
    EXPECT_TRUE(ui.optOther->Value());
    EXPECT_EQ(form.log, (std::vector<std::string>{"B click"}));
    ui.optA->SetValue(true);
    EXPECT_FALSE(ui.optB->Value());
}

TEST(ComboBoxes, ListIndexAndTextFollowEachOther) {
    ScriptedHost host;
    SampleForm form(host);
    ComboBox& status = *form.ui().cboStatus;
    status.SetText("Married");
    EXPECT_EQ(status.ListIndex(), 1);
    status.SetText("Widowed");
    EXPECT_EQ(status.ListIndex(), -1);
    status.UserSelect(0);
    EXPECT_EQ(status.Text(), "Single");
    EXPECT_EQ(form.log, (std::vector<std::string>{"status click"}));
}

TEST(DatePickers, OnlyRealDatesAndUserPicksClick) {
    ScriptedHost host;
    SampleForm form(host);
    DatePicker& day = *form.ui().dtpDay;
    day.SetValue({2005, 2, 30});
    EXPECT_TRUE(form.log.empty());
    day.SetValue({2005, 12, 30});
    day.UserPick({2005, 12, 31});
    EXPECT_EQ(day.Value(), (Date{2005, 12, 31}));
    EXPECT_EQ(form.log, (std::vector<std::string>{"day change", "day change", "day click"}));
}

TEST(AccessKeys, StrippedForPlainCaptions) {
    EXPECT_EQ(StripAccessKeys("&File"), "File");
    EXPECT_EQ(StripAccessKeys("STATE && CITY STATUS"), "STATE & CITY STATUS");
    EXPECT_EQ(StripAccessKeys("&State &Disability &Insurance"), "State Disability Insurance");
    EXPECT_EQ(StripAccessKeys("plain"), "plain");
}

// Every window of the program, with Worker1 of the demo folder open.
class ProgramWindows : public ::testing::Test {
  protected:
    ProgramWindows() {
        for (const auto& entry : std::filesystem::directory_iterator(testing::DemoFolder()))
            std::filesystem::copy_file(entry.path(), entry.path().filename());
        program.Start();
        host.files.push_back(dir.Path() / "Worker1.use");
        host.onModal["frmSaveUser"] = [this](Form&) { program.saveUser.ui().cmdNo->UserClick(); };
        program.form1.ui().mnuOpen->UserClick();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }
    std::vector<Form*> All() {
        Program& p = program;
        return {&p.form1,         &p.dateMain, &p.aboutBox,     &p.dialogState, &p.dialogCity,
                &p.dialogNonCity, &p.form2,    &p.dateOvertime, &p.dialogVac,   &p.dialogHeader,
                &p.taxInfo,       &p.saveUser, &p.ytdContainer, &p.ytdGrid,     &p.ytdTotals,
                &p.checks,        &p.printSet, &p.reports,      &p.payRun};
    }

    testing::TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(ProgramWindows, EveryWindowsAccessKeysAreTheirOwn) {
    for (Form* form : All()) {
        form->Load();
        std::map<char, std::string> taken;  // the menu bar's and the controls'; labels have none
        for (const auto& control : form->Controls()) {
            const auto* item = dynamic_cast<const MenuItem*>(control.get());
            const char key = AccessKey(CaptionOf(*control));
            if (key == 0 || (item != nullptr && item->Parent() != nullptr) ||
                control->Kind() == ControlKind::Label) {
                continue;
            }
            const auto [at, fresh] = taken.emplace(key, control->QualifiedName());
            EXPECT_TRUE(fresh) << form->Name() << ": " << at->second << ", "
                               << control->QualifiedName();
        }
    }
    // The menu bar, User Info's Save and Close, State Tax's SAVE and CANCEL, the picker's Ok.
    const Form1Ui& main = program.form1.ui();
    std::string keys;
    for (const Control* control : std::initializer_list<const Control*>{
             main.mnuFile, main.mnuForms, main.mnuOptions, main.mnuHelp, program.taxInfo.ui().cmdOk,
             program.taxInfo.ui().Command1, program.dialogState.ui().cmdSave,
             program.dialogState.ui().cmdCancel, program.dateMain.ui().cmdOk})
        keys += AccessKey(CaptionOf(*control));
    EXPECT_EQ(keys, "frohscsco");
}

TEST_F(ProgramWindows, EscapeCancelsOrClosesEveryWindowButTheMainAndNeverSaves) {
    const auto before = testing::FolderContents();
    for (Form* form : All()) {
        form->Show();
        if (form->Kind() == FormKind::MdiChild) program.form1.ui().cmdYear->UserClick();
        EXPECT_EQ(form->UserEscape(), form != &program.form1) << form->Name();
        EXPECT_EQ(form->IsVisible(), form == &program.form1) << form->Name();
    }
    EXPECT_EQ(testing::FolderContents(), before);
    // The pickers wrote today's date into their boxes on opening; Escape took it back.
    EXPECT_EQ(program.form1.ui().txtWeekEnd->Text(), "00/00/05");
}

TEST_F(ProgramWindows, DatePickersTakeEnterAsOk) {
    program.dateMain.ui().DTPicker1->UserPick({2005, 1, 14});
    program.dateMain.ui().DTPicker1->UserKeyDown(Key::Enter);
    EXPECT_FALSE(program.dateMain.IsLoaded());
    EXPECT_EQ(program.form1.ui().txtWeekEnd->Text(), "01/14/05");
}

TEST_F(ProgramWindows, WeekNumbersPostAndClearFromTheKeyboardAsTheMouseDoes) {
    program.form1.ui().txtEntry[0]->SetText("40");
    program.form1.ui().cmdCal->UserClick();
    program.form1.ui().cmdYear->UserClick();
    frmYear& grid = program.ytdGrid;
    auto& numbers = grid.ui().lbWeekNo;
    EXPECT_TRUE(numbers[0]->HasFocus());
    numbers[0]->UserKeyDown(Key::Down);
    EXPECT_TRUE(numbers[1]->HasFocus());
    numbers[2]->UserKeyDown(Key::Enter);
    numbers[3]->UserKeyDown(Key::Space);
    numbers[4]->UserMouseDown(MouseButton::Left);
    numbers[5]->UserKeyDown(Key::Delete);
    for (int week : {3, 4})
        EXPECT_EQ(grid.AmountText(week, YtdColumn::Gross), grid.AmountText(5, YtdColumn::Gross));
    EXPECT_NE(grid.AmountText(3, YtdColumn::Gross), ".00");
    EXPECT_EQ(grid.WeekEndingText(6), "0");
}

TEST_F(ProgramWindows, CancellingTheNewEmployeePromptIsSilent) {
    host.answers.push_back(MsgResult::No);
    host.inputs.push_back(std::nullopt);
    program.form1.ui().mnuNew->UserClick();
    EXPECT_EQ(host.MessageTexts(), (std::vector<std::string>{"........SAVE PREVIOUS USER?"}));
    EXPECT_EQ(program.ActiveUser, "Worker1");
}

}  // namespace
}  // namespace kestrel

// The generic renderer, run offscreen: small window models made for these tests are drawn by the
// Qt host, and the tests act on the widgets as a user would.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_host.h"
#include "platform/scripted_host.h"
#include "ytd/year_to_date.h"

using namespace kestrel;

namespace QTest {
template <>
char* toString(const std::string& text) {
    return qstrdup(text.c_str());
}
template <>
char* toString(const std::vector<std::string>& texts) {
    std::string joined;
    for (const auto& text : texts)
        joined += (joined.empty() ? "\"" : ", \"") + text + "\"";
    return qstrdup(("{" + joined + "}").c_str());
}
}  // namespace QTest

namespace {

struct SampleUi {
    MenuItem* mnuFile = nullptr;
    MenuItem* mnuOpen = nullptr;
    MenuItem* mnuLine = nullptr;
    MenuItem* mnuExit = nullptr;
    Frame* fraPay = nullptr;
    OptionButton* optWeekly = nullptr;
    OptionButton* optBiWeekly = nullptr;
    TextBox* txtHours = nullptr;
    TextBox* txtName = nullptr;
    TextBox* txtNotes = nullptr;
    Label* lblName = nullptr;
    CheckBox* chkExempt = nullptr;
    ComboBox* cboState = nullptr;
    ComboBox* cboCity = nullptr;
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdClose = nullptr;
    DatePicker* dtpWeek = nullptr;
};

// Every kind of control, with handlers that record what reached them.
class SampleForm : public FormOf<SampleUi> {
  public:
    SampleForm(Host& host, FormKind kind = FormKind::Main) : FormOf(host, "frmSample", kind) {}

    std::vector<std::string> events;
    std::vector<Key> keys;
    bool allowClose = true;

  protected:
    std::function<void()> Record(const std::string& event) {
        return [this, event] { events.push_back(event); };
    }

    void BuildUi(SampleUi& ui) override {
        SetCaption("Sample");
        SetGeometry({0, 0, 6000, 4500});
        ui.mnuFile = &AddMenu("mnuFile", "&File");
        ui.mnuOpen = &AddMenu("mnuOpen", "&Open...", ui.mnuFile);
        ui.mnuLine = &AddMenu("mnuLine", "-", ui.mnuFile);
        ui.mnuExit = &AddMenu("mnuExit", "E&xit", ui.mnuFile);
        ui.mnuFile->Click = Record("mnuFile");
        ui.mnuOpen->Click = Record("mnuOpen");

        ui.fraPay = &Add<Frame>("fraPay", {3000, 120, 2700, 1500});
        ui.fraPay->SetCaption("Pay &Period");
        ui.optWeekly = &Add<OptionButton>("optWeekly", {150, 300, 2000, 255});
        ui.optWeekly->SetContainer(ui.fraPay);
        ui.optWeekly->SetCaption("&Weekly");
        ui.optWeekly->SetValue(true);
        ui.optBiWeekly = &Add<OptionButton>("optBiWeekly", {150, 690, 2000, 255});
        ui.optBiWeekly->SetContainer(ui.fraPay);
        ui.optBiWeekly->SetCaption("&Bi-Weekly");

        ui.txtHours = &Add<TextBox>("txtHours", {120, 120, 1200, 285});
        ui.txtHours->SetAllowedKeys(std::string(kNumberKeys));
        ui.txtHours->SetSelectAllOnFocus(true);
        ui.txtHours->SetAlignment(Align::Right);
        ui.txtHours->Change = Record("txtHours.Change");
        ui.txtHours->GotFocus = Record("txtHours.GotFocus");
        ui.txtHours->KeyDown = [this](Key key) { keys.push_back(key); };
        ui.txtName = &Add<TextBox>("txtName", {120, 540, 2400, 285});
        ui.txtName->Click = Record("txtName.Click");
        ui.txtNotes = &Add<TextBox>("txtNotes", {120, 960, 2400, 900});
        ui.txtNotes->SetMultiLine(true);
        ui.txtNotes->SetText("line one\r\nline two");

        ui.lblName = &Add<Label>("lblName", {120, 2000, 2400, 255});
        ui.lblName->SetCaption("&Name && Address");
        ui.lblName->SetAlignment(Align::Right);
        ui.lblName->Click = Record("lblName.Click");
        ui.lblName->DblClick = Record("lblName.DblClick");
        ui.lblName->MouseDown = [this](MouseButton button) {
            events.emplace_back(button == MouseButton::Right ? "lblName.Right" : "lblName.Left");
        };

        ui.chkExempt = &Add<CheckBox>("chkExempt", {120, 2400, 2400, 255});
        ui.chkExempt->SetCaption("&Exempt");
        ui.chkExempt->Click = Record("chkExempt.Click");
        ui.chkExempt->MouseDown = [this](MouseButton) { events.emplace_back("chkExempt.Down"); };

        ui.cboState = &Add<ComboBox>("cboState", {120, 2800, 2400, 315});
        ui.cboState->SetEditable(false);
        for (const char* state : {"Ohio", "Texas", "Utah"})
            ui.cboState->AddItem(state);
        ui.cboState->Click = Record("cboState.Click");
        ui.cboCity = &Add<ComboBox>("cboCity", {3000, 2800, 2400, 315});
        for (const char* city : {"Akron", "Dayton"})
            ui.cboCity->AddItem(city);

        ui.dtpWeek = &Add<DatePicker>("dtpWeek", {3000, 2000, 1600, 315});
        ui.dtpWeek->SetValue(Date{2005, 12, 30});
        ui.dtpWeek->Change = Record("dtpWeek.Change");

        ui.cmdSave = &Add<CommandButton>("cmdSave", {3000, 3600, 1200, 375});
        ui.cmdSave->SetCaption("&Save");
        ui.cmdSave->Click = Record("cmdSave.Click");
        ui.cmdClose = &Add<CommandButton>("cmdClose", {4500, 3600, 1200, 375});
        ui.cmdClose->SetCaption("&Close");
        ui.cmdClose->Click = [this] { Unload(); };

        QueryUnload = [this](CloseReason) { return allowClose; };
    }
};

struct DialogUi {
    TextBox* txtAnswer = nullptr;
    CommandButton* cmdOK = nullptr;
};

class SampleDialog : public FormOf<DialogUi> {
  public:
    explicit SampleDialog(Host& host) : FormOf(host, "dlgSample", FormKind::Modal) {}

  protected:
    void BuildUi(DialogUi& ui) override {
        SetCaption("Question");
        SetGeometry({0, 0, 3000, 1500});
        ui.txtAnswer = &Add<TextBox>("txtAnswer", {120, 120, 2000, 285});
        ui.cmdOK = &Add<CommandButton>("cmdOK", {120, 600, 1000, 375});
        ui.cmdOK->SetCaption("OK");
        ui.cmdOK->Click = [this] { Hide(); };
    }
};

struct EmptyUi {
    TextBox* txtCell = nullptr;
};

class Container : public FormOf<EmptyUi> {
  public:
    explicit Container(Host& host) : FormOf(host, "MDIForm1", FormKind::MdiContainer) {}

  protected:
    void BuildUi(EmptyUi&) override {
        SetCaption("Year To Date");
        SetGeometry({0, 0, 9000, 6000});
        AddMenu("mnuClose", "&Close");
    }
};

class Child : public FormOf<EmptyUi> {
  public:
    Child(Host& host, Form& parent) : FormOf(host, "frmYear", FormKind::MdiChild) {
        SetMdiParent(&parent);
    }

  protected:
    void BuildUi(EmptyUi& ui) override {
        SetGeometry({0, 0, 4500, 3000});
        ui.txtCell = &Add<TextBox>("txtCell", {150, 150, 1500, 285});
    }
};

template <class W>
W* WidgetOf(QtHost& host, const Form& form, const Control& control) {
    FormWindow* window = host.WindowOf(form);
    return window == nullptr ? nullptr : qobject_cast<W*>(window->WidgetFor(control));
}

QWidget* Shown(QtHost& host, Form& form) {
    form.Show();
    QWidget* window = host.WindowOf(form)->Window();
    if (!QTest::qWaitForWindowExposed(window)) return nullptr;
    return window;
}

// The help windows on screen.
std::vector<HelpViewer*> HelpWindows() {
    std::vector<HelpViewer*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<HelpViewer*>(widget); viewer && viewer->isVisible()) {
            found.push_back(viewer);
        }
    }
    return found;
}

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// A guide long enough to scroll, with a link from its contents to a section far below.
QByteArray SampleGuide(const QByteArray& title) {
    QByteArray html = "<html><head><title>" + title +
                      "</title></head><body><h1><a name=\"contents\">"
                      "</a>" +
                      title + "</h1><p><a href=\"#leave\">Leave balances</a></p>";
    for (int i = 0; i < 200; ++i)
        html += "<p>Filler line " + QByteArray::number(i) + "</p>";
    return html + "<h2><a name=\"leave\"></a>Leave balances</h2><p>Start Balance</p></body></html>";
}

// The controls under `node` a user acts on that a screen reader has no name for.
void Unnamed(QAccessibleInterface* node, const std::string& window, std::vector<std::string>& out) {
    const bool acted = node->state().focusable || node->role() == QAccessible::MenuItem;
    if (acted && node->text(QAccessible::Name).trimmed().isEmpty())
        out.push_back(window + " " + node->object()->parent()->objectName().toStdString());
    for (int i = 0; i < node->childCount(); ++i)
        Unnamed(node->child(i), window, out);
}

// Every window of the program drawn by the generic layer, the year-to-date children inside their
// container.
std::vector<std::unique_ptr<FormWindow>> EveryWindow(Program& p) {
    std::vector<std::unique_ptr<FormWindow>> windows;
    for (Form* form : std::initializer_list<Form*>{
             &p.form1,         &p.dateMain, &p.aboutBox,     &p.dialogState, &p.dialogCity,
             &p.dialogNonCity, &p.form2,    &p.dateOvertime, &p.dialogVac,   &p.dialogHeader,
             &p.taxInfo,       &p.saveUser, &p.ytdContainer, &p.ytdGrid,     &p.ytdTotals,
             &p.checks,        &p.printSet, &p.explain,      &p.reports,     &p.payRun}) {
        form->Load();
        QMdiArea* area = form->MdiParent() != nullptr ? windows[12]->MdiArea() : nullptr;
        windows.push_back(std::make_unique<FormWindow>(*form, area));
    }
    return windows;
}

// All of the content can be scrolled to; with room to spare on the screen (for a title bar and a
// menu bar) it shows whole.
bool ShowsAll(const QAbstractScrollArea& area, QSize content, QSize screen) {
    const QScrollBar& across = *area.horizontalScrollBar();
    const QScrollBar& down = *area.verticalScrollBar();
    const bool roomy =
        content.width() + 20 <= screen.width() && content.height() + 100 <= screen.height();
    return area.viewport()->size() + QSize(across.maximum(), down.maximum()) ==
               content.expandedTo(area.viewport()->size()) &&
           (across.maximum() == 0 || across.isVisible()) &&
           (down.maximum() == 0 || down.isVisible()) &&
           (!roomy || across.maximum() + down.maximum() == 0);
}

bool Has(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

}  // namespace

class RendererTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // The pixel figures below are for the 96 dpi of the offscreen screen.
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0);
    }

    void everyKindRendersAsItsWidget() {
        QtHost host;
        SampleForm form(host);
        QWidget* window = Shown(host, form);
        QVERIFY(window != nullptr);
        auto& ui = form.ui();
        QCOMPARE(window->windowTitle(), QStringLiteral("Sample"));
        QMenuBar* menuBar = host.WindowOf(form)->MenuBar();
        QVERIFY(menuBar != nullptr);
        // The design's size is the client area; the menu bar comes on top of it.
        QCOMPARE(window->width(), 400);
        QCOMPARE(window->height() - menuBar->height(), 300);

        auto* hours = WidgetOf<QLineEdit>(host, form, *ui.txtHours);
        QVERIFY(hours != nullptr);
        QCOMPARE(hours->geometry(), QRect(8, 8, 80, 19));
        QCOMPARE(hours->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        auto* notes = WidgetOf<QPlainTextEdit>(host, form, *ui.txtNotes);
        QVERIFY(notes != nullptr);
        QCOMPARE(notes->toPlainText(), QStringLiteral("line one\nline two"));
        auto* name = WidgetOf<QLabel>(host, form, *ui.lblName);
        QVERIFY(name != nullptr);
        QCOMPARE(name->text(), QStringLiteral("Name & Address"));
        QCOMPARE(WidgetOf<QPushButton>(host, form, *ui.cmdSave)->text(), QStringLiteral("&Save"));
        QCOMPARE(WidgetOf<QCheckBox>(host, form, *ui.chkExempt)->text(), QStringLiteral("&Exempt"));
        auto* state = WidgetOf<QComboBox>(host, form, *ui.cboState);
        QVERIFY(state != nullptr);
        QCOMPARE(state->count(), 3);
        QCOMPARE(state->itemText(2), QStringLiteral("Utah"));
        QVERIFY(!state->isEditable());
        QVERIFY(WidgetOf<QComboBox>(host, form, *ui.cboCity)->isEditable());
        QCOMPARE(WidgetOf<QDateEdit>(host, form, *ui.dtpWeek)->date(), QDate(2005, 12, 30));

        // Controls in a frame are placed inside it, relative to it.
        auto* frame = WidgetOf<QGroupBox>(host, form, *ui.fraPay);
        auto* weekly = WidgetOf<QRadioButton>(host, form, *ui.optWeekly);
        QVERIFY(frame != nullptr && weekly != nullptr);
        QCOMPARE(frame->title(), QStringLiteral("Pay &Period"));
        QCOMPARE(weekly->parentWidget(), frame);
        QCOMPARE(weekly->pos(), QPoint(10, 20));
        QVERIFY(weekly->isChecked());
        QVERIFY(!weekly->autoExclusive());

        const QList<QAction*> topMenus = menuBar->actions();
        QCOMPARE(topMenus.size(), 1);
        QCOMPARE(topMenus[0]->text(), QStringLiteral("&File"));
        const QList<QAction*> entries = topMenus[0]->menu()->actions();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0]->text(), QStringLiteral("&Open..."));
        QVERIFY(entries[1]->isSeparator());
        QCOMPARE(entries[2]->text(), QStringLiteral("E&xit"));
    }

    void typedKeysPassTheKeyFilter() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        TextBox& box = *form.ui().txtHours;
        auto* edit = WidgetOf<QLineEdit>(host, form, box);
        QTest::keyClicks(edit, "12ab.5");
        QCOMPARE(box.Text(), std::string("12.5"));
        QCOMPARE(edit->text(), QStringLiteral("12.5"));
        // A refused key is swallowed: it does not even replace the selection.
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(box.Text(), std::string("12.5"));
        QCOMPARE(edit->selectedText(), QStringLiteral("12.5"));
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(box.Text(), std::string("12."));

        // A paste goes round the key filter; the model drops what it refuses and the box shows
        // what the model kept, with the caret after it.
        QApplication::clipboard()->setText(QStringLiteral("3x4"));
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(box.Text(), std::string("12.34"));
        QCOMPARE(edit->text(), QStringLiteral("12.34"));
        QCOMPARE(edit->cursorPosition(), 5);
        QCOMPARE(box.SelStart(), 5);

        // Other boxes take any key.
        QTest::keyClicks(WidgetOf<QLineEdit>(host, form, *form.ui().txtName), "Al B.");
        QCOMPARE(form.ui().txtName->Text(), std::string("Al B."));
    }

    void navigationKeysReachKeyDown() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        auto* edit = WidgetOf<QLineEdit>(host, form, *form.ui().txtHours);
        QTest::keyClicks(edit, "40");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Down);
        QTest::keyClick(edit, Qt::Key_Left);
        QCOMPARE(form.keys, (std::vector<Key>{Key::Enter, Key::Down, Key::Left}));
        // Left still moves the caret as usual.
        QCOMPARE(edit->cursorPosition(), 1);
        QCOMPARE(form.ui().txtHours->Text(), std::string("40"));

        // Enter on a button presses it.
        QTest::keyClick(WidgetOf<QPushButton>(host, form, *form.ui().cmdSave), Qt::Key_Return);
        QVERIFY(Has(form.events, "cmdSave.Click"));
    }

    void clicksReachTheHandlers() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        auto& ui = form.ui();
        QTest::mouseClick(WidgetOf<QPushButton>(host, form, *ui.cmdSave), Qt::LeftButton);
        QTest::mouseClick(WidgetOf<QLabel>(host, form, *ui.lblName), Qt::LeftButton);
        QTest::mouseClick(WidgetOf<QLineEdit>(host, form, *ui.txtName), Qt::LeftButton);
        QTest::mousePress(WidgetOf<QLabel>(host, form, *ui.lblName), Qt::RightButton);
        QTest::mouseDClick(WidgetOf<QLabel>(host, form, *ui.lblName), Qt::LeftButton);
        QCOMPARE(form.events,
                 (std::vector<std::string>{"cmdSave.Click", "lblName.Left", "lblName.Click",
                                           "txtName.Click", "lblName.Right", "lblName.DblClick"}));

        // A user's click on a check box: one MouseDown, the model toggles, one Click.
        form.events.clear();
        auto* exempt = WidgetOf<QCheckBox>(host, form, *ui.chkExempt);
        QTest::mouseClick(exempt, Qt::LeftButton, {}, QPoint(6, exempt->height() / 2));
        QCOMPARE(form.events, (std::vector<std::string>{"chkExempt.Down", "chkExempt.Click"}));
        QCOMPARE(ui.chkExempt->Value(), 1);
        QVERIFY(exempt->isChecked());
        // A right click is only a MouseDown; it does not toggle.
        QTest::mousePress(exempt, Qt::RightButton);
        QCOMPARE(ui.chkExempt->Value(), 1);
    }

    void modelChangesShowInTheWidgets() {
        QtHost host;
        SampleForm form(host);
        QWidget* window = Shown(host, form);
        QVERIFY(window != nullptr);
        auto& ui = form.ui();
        ui.txtHours->SetText("37.5");
        ui.lblName->SetCaption("Employee");
        ui.cmdSave->SetEnabled(false);
        ui.cmdSave->SetToolTip("Saves the employee");
        ui.txtName->SetGeometry({300, 600, 1500, 285});
        ui.txtName->SetFont(Font{12, true});
        form.SetCaption("Renamed");
        QCOMPARE(WidgetOf<QLineEdit>(host, form, *ui.txtHours)->text(), QStringLiteral("37.5"));
        // Drawing the model's text is not an edit by the user: one Change, from SetText.
        QCOMPARE(std::count(form.events.begin(), form.events.end(), "txtHours.Change"), 1);
        QCOMPARE(WidgetOf<QLabel>(host, form, *ui.lblName)->text(), QStringLiteral("Employee"));
        auto* save = WidgetOf<QPushButton>(host, form, *ui.cmdSave);
        QVERIFY(!save->isEnabled());
        QCOMPARE(save->toolTip(), QStringLiteral("Saves the employee"));
        auto* name = WidgetOf<QLineEdit>(host, form, *ui.txtName);
        QCOMPARE(name->geometry(), QRect(20, 40, 100, 19));
        QCOMPARE(name->font().pointSizeF(), 12.0);
        QVERIFY(name->font().bold());
        QCOMPARE(window->windowTitle(), QStringLiteral("Renamed"));

        // Hiding a frame hides what it holds; showing it again brings them back.
        ui.fraPay->SetVisible(false);
        auto* weekly = WidgetOf<QRadioButton>(host, form, *ui.optWeekly);
        QVERIFY(!weekly->isVisible());
        ui.fraPay->SetVisible(true);
        QVERIFY(weekly->isVisible());
        ui.txtName->SetVisible(false);
        QVERIFY(!name->isVisible());
    }

    void checkBoxesAndOptionsFollowTheModel() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        auto& ui = form.ui();
        // Setting the value from code runs Click, and the box shows it.
        ui.chkExempt->SetValue(1);
        QCOMPARE(form.events, (std::vector<std::string>{"chkExempt.Click"}));
        QVERIFY(WidgetOf<QCheckBox>(host, form, *ui.chkExempt)->isChecked());

        auto* weekly = WidgetOf<QRadioButton>(host, form, *ui.optWeekly);
        auto* biWeekly = WidgetOf<QRadioButton>(host, form, *ui.optBiWeekly);
        QTest::mouseClick(biWeekly, Qt::LeftButton);
        QVERIFY(ui.optBiWeekly->Value());
        QVERIFY(!ui.optWeekly->Value());
        QVERIFY(biWeekly->isChecked());
        QVERIFY(!weekly->isChecked());
        // Clicking the selected option again leaves it selected.
        QTest::mouseClick(biWeekly, Qt::LeftButton);
        QVERIFY(biWeekly->isChecked());
        ui.optWeekly->SetValue(true);
        QVERIFY(weekly->isChecked());
        QVERIFY(!biWeekly->isChecked());
    }

    void combosAndDatePickersReportTheUsersChoice() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        auto& ui = form.ui();
        auto* state = WidgetOf<QComboBox>(host, form, *ui.cboState);
        ui.cboState->SetListIndex(0);
        form.events.clear();
        QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(ui.cboState->ListIndex(), 1);
        QCOMPARE(ui.cboState->Text(), std::string("Texas"));
        QVERIFY(Has(form.events, "cboState.Click"));
        // A control listening for Down gets it instead of the widget.
        ui.cboState->KeyDown = [&form](Key key) { form.keys.push_back(key); };
        QTest::keyClick(state, Qt::Key_Down);
        QCOMPARE(form.keys, std::vector<Key>{Key::Down});
        QCOMPARE(ui.cboState->ListIndex(), 1);
        QCOMPARE(state->currentIndex(), 1);

        auto* city = WidgetOf<QComboBox>(host, form, *ui.cboCity);
        QTest::keyClicks(city->lineEdit(), "Dayton");
        QCOMPARE(ui.cboCity->Text(), std::string("Dayton"));
        QCOMPARE(ui.cboCity->ListIndex(), 1);
        ui.cboCity->SetText("Kent");
        QCOMPARE(city->currentText(), QStringLiteral("Kent"));

        auto* week = WidgetOf<QDateEdit>(host, form, *ui.dtpWeek);
        week->setFocus();
        week->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(week, Qt::Key_Up);
        QCOMPARE(ui.dtpWeek->Value(), (Date{2005, 12, 31}));
        QVERIFY(Has(form.events, "dtpWeek.Change"));
        ui.dtpWeek->SetValue(Date{2006, 1, 6});
        QCOMPARE(week->date(), QDate(2006, 1, 6));
    }

    void menusReachTheirHandlers() {
        QtHost host;
        SampleForm form(host);
        QVERIFY(Shown(host, form) != nullptr);
        auto& ui = form.ui();
        FormWindow* window = host.WindowOf(form);
        window->ActionFor(*ui.mnuOpen)->trigger();
        QCOMPARE(form.events, (std::vector<std::string>{"mnuOpen"}));
        // Opening a menu runs its own click first.
        QMenu* file = window->ActionFor(*ui.mnuFile)->menu();
        file->popup(QPoint(0, 0));
        QVERIFY(Has(form.events, "mnuFile"));
        file->hide();

        ui.mnuExit->SetEnabled(false);
        ui.mnuOpen->SetChecked(true);
        ui.mnuOpen->SetCaption("&Open Employee...");
        QVERIFY(!window->ActionFor(*ui.mnuExit)->isEnabled());
        QVERIFY(window->ActionFor(*ui.mnuOpen)->isChecked());
        QCOMPARE(window->ActionFor(*ui.mnuOpen)->text(), QStringLiteral("&Open Employee..."));
        // The model owns the check mark; a click does not toggle it behind its back.
        window->ActionFor(*ui.mnuOpen)->trigger();
        QVERIFY(window->ActionFor(*ui.mnuOpen)->isChecked());
    }

    void enteringABoxSelectsWhatTheModelSelects() {
        QtHost host;
        SampleForm form(host);
        QWidget* window = Shown(host, form);
        QVERIFY(window != nullptr);
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto& ui = form.ui();
        ui.txtHours->SetText("123.45");
        ui.txtName->SetText("Alice Baker");
        auto* name = WidgetOf<QLineEdit>(host, form, *ui.txtName);
        QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(2, name->height() / 2));
        QCOMPARE(form.Focused(), ui.txtName);

        // A click into a box that selects on entry ends with all of it selected.
        auto* hours = WidgetOf<QLineEdit>(host, form, *ui.txtHours);
        QTest::mouseClick(hours, Qt::LeftButton, {}, QPoint(hours->width() / 2, 9));
        QTRY_COMPARE(hours->selectedText(), QStringLiteral("123.45"));
        QCOMPARE(form.Focused(), ui.txtHours);
        QCOMPARE(ui.txtHours->SelLength(), 6);
        QVERIFY(Has(form.events, "txtHours.GotFocus"));
        // A box that does not, keeps the caret where the click put it.
        QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(2, name->height() / 2));
        QTest::qWait(20);
        QVERIFY(!name->hasSelectedText());
        QCOMPARE(ui.txtName->SelLength(), 0);

        // The model moving the focus moves the keyboard focus.
        form.SetFocus(ui.txtHours);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(hours));
    }

    void modalDialogReturnsWhenHidden() {
        QtHost host;
        SampleDialog dialog(host);
        Qt::WindowModality modality = Qt::NonModal;
        bool timedOut = false;
        QTimer::singleShot(0, [&] {
            FormWindow* window = host.WindowOf(dialog);
            modality = window->Window()->windowModality();
            QTest::mouseClick(window->WidgetFor(*dialog.ui().cmdOK), Qt::LeftButton);
        });
        QObject guard;  // the fallback must not outlive the dialog
        QTimer::singleShot(5000, &guard, [&] {
            timedOut = dialog.IsVisible();
            dialog.Hide();
        });
        dialog.ShowModal();
        QVERIFY(!timedOut);
        QVERIFY(!dialog.IsVisible());
        QCOMPARE(modality, Qt::ApplicationModal);
        QVERIFY(!host.WindowOf(dialog)->Window()->isVisible());
    }

    void closeBoxAsksTheModel() {
        QtHost host;
        SampleForm form(host);
        QPointer<QWidget> window = Shown(host, form);
        QVERIFY(window);
        form.allowClose = false;
        QVERIFY(!window->close());
        QVERIFY(form.IsLoaded());
        QVERIFY(window->isVisible());

        form.allowClose = true;
        window->close();
        QVERIFY(!form.IsLoaded());
        QCOMPARE(host.WindowOf(form), nullptr);
        QTRY_VERIFY(window.isNull());
    }

    void aButtonCanUnloadItsOwnForm() {
        QtHost host;
        SampleForm form(host);
        QPointer<QWidget> window = Shown(host, form);
        QVERIFY(window);
        form.ui().txtName->SetText("typed before");
        QTest::mouseClick(WidgetOf<QPushButton>(host, form, *form.ui().cmdClose), Qt::LeftButton);
        QVERIFY(!form.IsLoaded());
        QTRY_VERIFY(window.isNull());

        // The next showing is a fresh window with the design's values.
        QVERIFY(Shown(host, form) != nullptr);
        QCOMPARE(WidgetOf<QLineEdit>(host, form, *form.ui().txtName)->text(), QString());
    }

    void drawingAWindowAfreshRunsItsPaintHook() {
        QtHost host;
        SampleForm form(host);
        int painted = 0;
        form.Paint = [&painted] { ++painted; };
        QVERIFY(Shown(host, form) != nullptr);
        QTRY_VERIFY(painted > 0);
        // Shown again after being hidden, it is drawn afresh.
        form.Hide();
        const int before = painted;
        QVERIFY(Shown(host, form) != nullptr);
        QTRY_VERIFY(painted > before);
    }

    void childWindowsLiveInTheirContainer() {
        QtHost host;
        Container container(host);
        Child child(host, container);
        child.Show();
        QVERIFY(container.IsVisible());
        FormWindow* outer = host.WindowOf(container);
        FormWindow* inner = host.WindowOf(child);
        QVERIFY(outer != nullptr && inner != nullptr);
        QVERIFY(outer->MdiArea() != nullptr);
        QCOMPARE(outer->MdiArea()->subWindowList().size(), 1);
        QCOMPARE(static_cast<QWidget*>(outer->MdiArea()->subWindowList()[0]), inner->Window());
        QCOMPARE(WidgetOf<QLineEdit>(host, child, *child.ui().txtCell)->geometry(),
                 QRect(10, 10, 100, 19));

        // The container going takes its child windows with it.
        container.Unload();
        QCOMPARE(host.WindowOf(child), nullptr);
    }

    void helpShowsTheGuideInOneWindowWithWorkingLinks() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("Kestrel.hlp"));
        QVERIFY(WriteText(path, SampleGuide("Kestrel Sample Guide")));
        QtHost host;
        host.ShowHelp(path.toStdString());
        std::vector<HelpViewer*> shown = HelpWindows();
        QCOMPARE(shown.size(), std::size_t{1});
        HelpViewer* viewer = shown[0];
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Kestrel Help"));
        QVERIFY(viewer->isWindow());
        QVERIFY(viewer->windowModality() == Qt::NonModal);
        QVERIFY(viewer->width() >= 600 && viewer->height() >= 400);
        QTextBrowser* browser = viewer->Browser();
        QCOMPARE(browser->documentTitle(), QStringLiteral("Kestrel Sample Guide"));
        QVERIFY(browser->toPlainText().startsWith(QStringLiteral("Kestrel Sample Guide")));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(!viewer->BackAction()->isEnabled());

        // Following the contents' link with the keyboard, as a user may, moves down the page.
        browser->setFocus();
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
        QTRY_COMPARE(browser->source().fragment(), QStringLiteral("leave"));
        QVERIFY(browser->verticalScrollBar()->value() > 0);
        QVERIFY(viewer->BackAction()->isEnabled());
        viewer->BackAction()->trigger();
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(viewer->ForwardAction()->isEnabled());
        viewer->ForwardAction()->trigger();
        QVERIFY(browser->verticalScrollBar()->value() > 0);
        // Contents goes to the guide's contents anchor, which sits at the top, inside the margin.
        viewer->ContentsAction()->trigger();
        QCOMPARE(browser->source().fragment(), QStringLiteral("contents"));
        QVERIFY(browser->verticalScrollBar()->value() < 20);

        // Asked again, the same window shows the file as it is now, from its top.
        QVERIFY(WriteText(path, SampleGuide("Kestrel Guide, Second Edition")));
        browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
        host.ShowHelp(path.toStdString());
        shown = HelpWindows();
        QCOMPARE(shown.size(), std::size_t{1});
        QCOMPARE(shown[0], viewer);
        QCOMPARE(browser->documentTitle(), QStringLiteral("Kestrel Guide, Second Edition"));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(!viewer->BackAction()->isEnabled());
    }

    void unreadableHelpIsReportedAndLeavesNoWindow() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QtHost host;
        QString shownText;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownText = box->text();
                box->accept();
            }
        });
        poll.start(20);
        QTimer::singleShot(5000, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        // A folder by the help file's name opens, but cannot be read as a file.
        host.ShowHelp(folder.path().toStdString());
        poll.stop();
        QVERIFY(shownText.contains(folder.path()));
        QVERIFY(HelpWindows().empty());
    }

    void escapeAndCellKeysReachTheModel() {
        QtHost host;
        SampleForm form(host, FormKind::Modeless);
        Label& cell = *form.ui().lblName;
        cell.SetTabStop(true);
        cell.KeyDown = [&form](Key key) { form.keys.push_back(key); };
        QVERIFY(Shown(host, form) != nullptr);
        auto* label = WidgetOf<QLabel>(host, form, cell);
        label->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(cell.HasFocus());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Delete})
            QTest::keyClick(label, key);
        QCOMPARE(form.keys, (std::vector<Key>{Key::Enter, Key::Space, Key::Delete}));
        // Escape in a box is the window's "&Close".
        QTest::keyClick(WidgetOf<QLineEdit>(host, form, *form.ui().txtName), Qt::Key_Escape);
        QVERIFY(!form.IsLoaded());
    }

    void everyWindowNamesEachControlForScreenReaders() {
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        QVERIFY(WriteText("Ann.use", {}) && WriteText("Bob.use", {}));  // rows of the pay run
        ScriptedHost scripted;
        Program p(scripted);
        const auto windows = EveryWindow(p);
        std::vector<std::string> unnamed;
        for (const auto& window : windows) {
            Unnamed(QAccessible::queryAccessibleInterface(window->Window()),
                    window->GetForm()->Name(), unnamed);
        }
        QCOMPARE(unnamed, std::vector<std::string>{});
        for (const auto& [control, name] : std::vector<std::pair<const Control*, const char*>>{
                 {p.form1.ui().txtEntry[0], "STRAIGHT TIME HOURS 1"},
                 {p.form1.ui().lbTax[0], "Federal Tax"}}) {
            QWidget* widget = windows[0]->WidgetFor(*control);
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name),
                     QString::fromUtf8(name));
        }
        // The About box shows every line of its texts, the e-mail address too.
        for (const QLabel* label : windows[2]->Window()->findChildren<QLabel*>())
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(label->text()));
        for (auto& window : windows)
            window->Detach();
    }

    // Qt takes the screen and the scale at its start: each runs in a process of its own.
    void everyWindowFitsEveryScreen() {
        if (qEnvironmentVariableIsSet("KESTREL_FIT")) QSKIP("the parent's part");
        QTemporaryDir folder;
        for (const auto& [width, height, scale] : std::vector<std::tuple<int, int, double>>{
                 {1600, 1200, 1}, {1600, 1200, 1.5}, {1600, 1200, 2}, {1366, 768, 1}}) {
            const QString config = folder.filePath(QString("%1-%2.json").arg(height).arg(scale));
            QVERIFY(WriteText(config, QString(R"({"screens": [{"width": %1, "height": %2}]})")
                                          .arg(width)
                                          .arg(height)
                                          .toUtf8()));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
            env.insert("QT_SCALE_FACTOR", QString::number(scale));
            env.insert("KESTREL_FIT", QString::number(height / scale));  // what the child must see
            QProcess child;
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedChannels);  // its failures in the log
            child.start(QCoreApplication::applicationFilePath(), {"everyWindowFitsThisScreen"});
            QVERIFY(child.waitForFinished(60000));
            QVERIFY2(child.exitCode() == 0, qPrintable(config));
        }
    }

    void everyWindowFitsThisScreen() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        if (qEnvironmentVariableIsSet("KESTREL_FIT"))
            QCOMPARE(available.height(), qEnvironmentVariableIntValue("KESTREL_FIT"));
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        // A pay run of forty employees, far taller than any screen.
        for (int i = 0; i < 40; ++i)
            QVERIFY(WriteText(QString("Employee%1.use").arg(i), {}));
        ScriptedHost scripted;
        Program p(scripted);
        p.profile.WeeklyPay = true;  // the taller grid
        const auto windows = EveryWindow(p);
        OpenYearToDate(p);
        for (const auto& window : windows) {
            if (window->GetForm()->MdiParent() != nullptr) continue;  // inside their container
            window->Show();
            QWidget* shown = window->Window();
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            QTest::qWait(20);  // the container's scroll bars follow its children
            const char* name = window->GetForm()->Name().c_str();
            QVERIFY2(available.contains(shown->frameGeometry()), name);
            const auto* scrolled =
                shown->findChild<QAbstractScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
            QVERIFY2(scrolled != nullptr, name);
            const auto& area = *scrolled;
            QVERIFY2(ShowsAll(area, area.viewport()->childrenRect().size(), available.size()),
                     name);
            window->Hide();
        }
        for (auto& window : windows)
            window->Detach();
    }

    void fileFiltersUseQtsForm() {
        QCOMPARE(QtFileFilter("Saved Files (*.use)|*.use"), QStringLiteral("Saved Files (*.use)"));
        QCOMPARE(QtFileFilter("Employees|*.emp;*.use|All Files (*.*)|*.*"),
                 QStringLiteral("Employees (*.emp *.use);;All Files (*.*)"));
        QCOMPARE(QtFileFilter("*.txt"), QStringLiteral("*.txt"));
    }
};

QTEST_MAIN(RendererTest)
#include "renderer_test.moc"

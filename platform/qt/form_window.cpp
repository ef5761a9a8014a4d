#include "platform/qt/form_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <functional>

namespace kestrel {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

// The models break lines with "\r\n", Qt's widgets with "\n".
QString ToQtLines(std::string_view text) {
    QString converted = ToQt(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

std::string FromQtLines(const QString& text) {
    QString converted = text;
    converted.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQt(converted);
}

Qt::Alignment ToQt(Align align) {
    switch (align) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

Date FromQt(const QDate& date) {
    return Date{date.year(), date.month(), date.day()};
}

bool IsMultiLineEdit(const QWidget& widget) {
    return qobject_cast<const QPlainTextEdit*>(&widget) != nullptr;
}

// Positions in a model's text count bytes of its own text ("\r\n" line breaks); positions in a
// widget count Qt characters.
int WidgetPosition(std::string_view modelText, int position, bool lines) {
    const auto prefix = modelText.substr(0, static_cast<std::size_t>(std::max(position, 0)));
    return static_cast<int>((lines ? ToQtLines(prefix) : ToQt(prefix)).size());
}

int ModelLength(const QString& widgetText, bool lines) {
    return static_cast<int>((lines ? FromQtLines(widgetText) : FromQt(widgetText)).size());
}

class SyncScope {
  public:
    explicit SyncScope(int& depth) : depth_(depth) { ++depth_; }
    ~SyncScope() { --depth_; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

  private:
    int& depth_;
};

constexpr int kUnlimitedLength = 32767;  // QLineEdit's own default

// The window was drawn afresh: shown (also when restored), brought forward or uncovered.
bool IsFreshDrawing(const QObject& watched, const QEvent& event) {
    switch (event.type()) {
        case QEvent::Show:
        case QEvent::WindowActivate:
            return watched.isWidgetType();
        case QEvent::Expose: {
            const auto* window = qobject_cast<const QWindow*>(&watched);
            return window != nullptr && window->isExposed();
        }
        default:
            return false;
    }
}

// The size content of `content` pixels takes in `room`: all of it when it fits, otherwise the
// room, with scroll bars `bar` pixels thick where the content overflows.
QSize ScrolledSize(QSize content, QSize room, int bar) {
    bool across = false;  // a horizontal bar takes height, a vertical one width
    bool down = false;
    for (int pass = 0; pass < 2; ++pass) {
        down = content.height() + (across ? bar : 0) > room.height();
        across = content.width() + (down ? bar : 0) > room.width();
    }
    return QSize(content.width() + (down ? bar : 0), content.height() + (across ? bar : 0))
        .boundedTo(room);
}

}  // namespace

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

// The window itself. Its close box only asks the model; the window goes when the form unloads.
class FormShell : public QWidget {
  public:
    FormShell(QWidget* parent, Qt::WindowFlags flags, std::function<void()> onClose,
              std::function<bool()> onEscape)
        : QWidget(parent, flags), onClose_(std::move(onClose)), onEscape_(std::move(onEscape)) {}

  protected:
    // Escape that no control took (none has the focus, or it was a label's): the window's.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && onEscape_) {
            auto run = onEscape_;
            if (run()) return;
        }
        QWidget::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (onClose_) {
            auto run = onClose_;
            run();
        }
    }

  private:
    std::function<void()> onClose_;
    std::function<bool()> onEscape_;
};

FormWindow::FormWindow(Form& form, QMdiArea* mdiArea) : form_(&form) {
    BuildShell(mdiArea);
    BuildMenus();
    for (const auto& control : form.Controls()) {
        if (control->Kind() != ControlKind::MenuItem) EnsureWidget(*control);
    }
    ApplyCaptionAndGeometry();
    form.SetView(this);
}

FormWindow::~FormWindow() {
    form_ = nullptr;
    widgets_.clear();
    actions_.clear();
    if (subWindow_) {
        subWindow_->hide();
        subWindow_->deleteLater();
    }
    topLevel_.reset();
    sources_.clear();
}

void FormWindow::BuildShell(QMdiArea* mdiArea) {
    auto close = [self = QPointer<FormWindow>(this)] {
        if (self) self->UserClose();
    };
    auto escape = [self = QPointer<FormWindow>(this)] {
        return self && self->form_ != nullptr && self->form_->UserEscape();
    };
    if (mdiArea != nullptr) {
        auto* shell = new FormShell(mdiArea, Qt::Widget, close, escape);
        // A child window is a part of its container's view, placed by the design: no frame or
        // title of its own to shift it from where the design puts it.
        subWindow_ = mdiArea->addSubWindow(shell, Qt::FramelessWindowHint);
        shell_ = shell;
    } else {
        Qt::WindowFlags flags = Qt::Window;
        if (form_->Kind() == FormKind::Modal) {
            flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowCloseButtonHint;
        }
        topLevel_ = std::make_unique<FormShell>(nullptr, flags, close, escape);
        shell_ = topLevel_.get();
    }
    shell_->setObjectName(ToQt(form_->Name()));
    auto* layout = new QVBoxLayout(shell_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (form_->Kind() == FormKind::MdiContainer) {
        mdiArea_ = new QMdiArea(shell_);
        // Children taller than the screen allows are scrolled to, not cut off.
        mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // Where the container is wider than its children, the strip beside them is the window's
        // own colour rather than a dark band that looks like a missing column.
        mdiArea_->setBackground(shell_->palette().window());
        client_ = mdiArea_.data();
        layout->addWidget(mdiArea_);
    } else {
        // The design fixes every position, so the window is exactly its client area and menus,
        // as far as the screen allows; the rest is scrolled to.
        client_ = new QWidget(shell_);
        if (subWindow_) {
            layout->addWidget(client_);
        } else {
            scroll_ = new QScrollArea(shell_);
            scroll_->setFrameShape(QFrame::NoFrame);
            // The controls inside take the keys; the area scrolls to whichever has them.
            scroll_->setFocusPolicy(Qt::NoFocus);
            scroll_->setWidget(client_);
            layout->addWidget(scroll_);
        }
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    Window()->installEventFilter(this);
}

QWidget* FormWindow::Window() const {
    if (subWindow_) return subWindow_.data();
    return topLevel_.get();
}

QMdiArea* FormWindow::MdiArea() const {
    return mdiArea_.data();
}

QMenuBar* FormWindow::MenuBar() const {
    return menuBar_.data();
}

QWidget* FormWindow::WidgetFor(const Control& control) const {
    const auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

QAction* FormWindow::ActionFor(const MenuItem& item) const {
    const auto found = actions_.find(&item);
    return found == actions_.end() ? nullptr : found->second;
}

QRect FormWindow::ToPixels(const Rect& rect) const {
    const QScreen* screen =
        shell_ && shell_->screen() != nullptr ? shell_->screen() : QGuiApplication::primaryScreen();
    const double dpiX = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    return {TwipsToPixels(rect.left, dpiX), TwipsToPixels(rect.top, dpiY),
            TwipsToPixels(rect.width, dpiX), TwipsToPixels(rect.height, dpiY)};
}

// ---------------------------------------------------------------------------------------------
// Building and syncing the controls

QWidget* FormWindow::ParentFor(const Control& control) {
    if (Frame* frame = control.Container(); frame != nullptr && frame != &control) {
        if (QWidget* widget = EnsureWidget(*frame)) return widget;
    }
    return client_;
}

QWidget* FormWindow::EnsureWidget(Control& control) {
    if (QWidget* existing = WidgetFor(control)) return existing;
    if (control.Kind() == ControlKind::MenuItem) {
        ScheduleMenuRebuild();
        return nullptr;
    }
    QWidget* widget = CreateWidget(control, ParentFor(control));
    widget->setObjectName(ToQt(control.QualifiedName()));
    widgets_[&control] = widget;
    Watch(widget, control);
    Sync(control, *widget);
    return widget;
}

QWidget* FormWindow::CreateWidget(Control& control, QWidget* parent) {
    switch (control.Kind()) {
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(control);
            if (box.MultiLine()) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setTabChangesFocus(true);
                connect(edit, &QPlainTextEdit::textChanged, this, [this, &box, edit] {
                    if (form_ != nullptr && syncing_ == 0) {
                        UserEdited(box, FromQtLines(edit->toPlainText()));
                    }
                });
                connect(edit, &QPlainTextEdit::cursorPositionChanged, this,
                        [this, &box] { PushSelection(box); });
                connect(edit, &QPlainTextEdit::selectionChanged, this,
                        [this, &box] { PushSelection(box); });
                return edit;
            }
            auto* edit = new QLineEdit(parent);
            connect(edit, &QLineEdit::textEdited, this, [this, &box](const QString& text) {
                if (form_ != nullptr) UserEdited(box, FromQt(text));
            });
            connect(edit, &QLineEdit::cursorPositionChanged, this,
                    [this, &box] { PushSelection(box); });
            connect(edit, &QLineEdit::selectionChanged, this, [this, &box] { PushSelection(box); });
            return edit;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            if (static_cast<const Label&>(control).TabStop()) {
                label->setFocusPolicy(Qt::StrongFocus);
                // A label shows no focus of its own; the keyboard user must see where it is.
                label->setStyleSheet(
                    QStringLiteral("QLabel:focus { background: palette(highlight); color: "
                                   "palette(highlighted-text); }"));
            }
            return label;
        }
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton: {
            QAbstractButton* button = nullptr;
            if (control.Kind() == ControlKind::CheckBox) {
                button = new QCheckBox(parent);
            } else if (control.Kind() == ControlKind::OptionButton) {
                auto* option = new QRadioButton(parent);
                // The model keeps each group exclusive, per frame and group name.
                option->setAutoExclusive(false);
                button = option;
            } else {
                auto* push = new QPushButton(parent);
                push->setAutoDefault(false);
                button = push;
            }
            connect(button, &QAbstractButton::clicked, this,
                    [this, &control] { UserClicked(control); });
            return button;
        }
        case ControlKind::ComboBox: {
            auto& model = static_cast<ComboBox&>(control);
            auto* combo = new QComboBox(parent);
            combo->setInsertPolicy(QComboBox::NoInsert);
            connect(combo, &QComboBox::activated, this, [this, &model](int index) {
                if (form_ == nullptr || syncing_ > 0) return;
                model.UserSelect(index);
                if (form_ != nullptr) ControlChanged(model);
            });
            return combo;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(parent);
            // The designs place a frame's contents just under its top edge, with the caption
            // sitting on that edge; Fusion would put the caption above the edge instead.
            frame->setStyleSheet(QStringLiteral(
                "QGroupBox { border: 1px solid palette(mid); border-radius: 2px;"
                " margin-top: 0.5em; }"
                "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
            return frame;
        }
        case ControlKind::DatePicker: {
            auto& picker = static_cast<DatePicker&>(control);
            auto* edit = new QDateEdit(parent);
            edit->setCalendarPopup(true);
            edit->setDisplayFormat(QStringLiteral("M/d/yyyy"));
            edit->setMinimumDate(QDate(100, 1, 1));
            connect(edit, &QDateEdit::dateChanged, this, [this, &picker](QDate date) {
                if (form_ == nullptr || syncing_ > 0) return;
                picker.UserPick(FromQt(date));
                if (form_ != nullptr) ControlChanged(picker);
            });
            return edit;
        }
        case ControlKind::MenuItem:
            break;
    }
    return new QWidget(parent);
}

void FormWindow::Watch(QWidget* widget, Control& control) {
    std::vector<QWidget*> parts{widget};
    for (QWidget* part : widget->findChildren<QWidget*>()) {
        // A drop-down list or calendar is a window of its own; its keys are not the control's.
        if (part->window() == widget->window()) parts.push_back(part);
    }
    for (QWidget* part : parts) {
        if (sources_.count(part) != 0) continue;
        sources_[part] = &control;
        part->installEventFilter(this);
        connect(part, &QObject::destroyed, this, [this](QObject* gone) { sources_.erase(gone); });
    }
}

void FormWindow::ControlChanged(Control& control) {
    if (form_ == nullptr || !shell_) return;
    if (control.Kind() == ControlKind::MenuItem) {
        const auto& item = static_cast<const MenuItem&>(control);
        if (QAction* action = ActionFor(item)) {
            SyncAction(item, *action);
        } else {
            ScheduleMenuRebuild();
        }
        return;
    }
    if (control.Kind() == ControlKind::Label) {
        for (const auto& named : form_->Controls()) {
            if (named->CaptionLabel() != &control) continue;
            if (QWidget* other = WidgetFor(*named)) SyncAccessibleName(*named, *other);
        }
    }
    QWidget* widget = WidgetFor(control);
    if (widget == nullptr) {
        EnsureWidget(control);
        return;
    }
    if (control.Kind() == ControlKind::TextBox &&
        static_cast<TextBox&>(control).MultiLine() != IsMultiLineEdit(*widget)) {
        // A box that changes between one line and many needs the other kind of widget.
        widgets_.erase(&control);
        widget->hide();
        widget->deleteLater();
        EnsureWidget(control);
        return;
    }
    Sync(control, *widget);
}

void FormWindow::Sync(Control& control, QWidget& widget) {
    SyncScope scope(syncing_);
    QWidget* parent = ParentFor(control);
    if (widget.parentWidget() != parent) widget.setParent(parent);

    QRect geometry = ToPixels(control.Geometry());
    // A combo box is as tall as its font makes it, whatever the design says.
    if (control.Kind() == ControlKind::ComboBox) geometry.setHeight(widget.sizeHint().height());
    if (widget.geometry() != geometry) widget.setGeometry(geometry);
    widget.setEnabled(control.Enabled());
    const QString toolTip = ToQt(control.ToolTip());
    if (widget.toolTip() != toolTip) widget.setToolTip(toolTip);
    QFont font = QApplication::font();
    if (control.GetFont().points > 0) font.setPointSizeF(control.GetFont().points);
    font.setBold(control.GetFont().bold);
    if (control.GetFont().fixedPitch) {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    if (widget.font() != font) widget.setFont(font);

    switch (control.Kind()) {
        case ControlKind::TextBox:
            SyncTextBox(static_cast<TextBox&>(control), widget);
            break;
        case ControlKind::Label: {
            const auto& model = static_cast<const Label&>(control);
            auto& label = static_cast<QLabel&>(widget);
            const QString caption = ToQtLines(StripAccessKeys(model.Caption()));
            if (label.text() != caption) label.setText(caption);
            // Captions start at the top of their box, as the designs place them.
            label.setAlignment(ToQt(model.Alignment()) | Qt::AlignTop);
            label.setFrameStyle(model.Bordered() ? QFrame::Panel | QFrame::Sunken
                                                 : QFrame::NoFrame);
            label.setMargin(model.Bordered() ? 1 : 0);
            break;
        }
        case ControlKind::CheckBox: {
            const auto& model = static_cast<const CheckBox&>(control);
            auto& box = static_cast<QCheckBox&>(widget);
            box.setText(ToQt(model.Caption()));
            box.setChecked(model.Value() != 0);
            break;
        }
        case ControlKind::OptionButton: {
            const auto& model = static_cast<const OptionButton&>(control);
            auto& option = static_cast<QRadioButton&>(widget);
            option.setText(ToQt(model.Caption()));
            option.setChecked(model.Value());
            break;
        }
        case ControlKind::ComboBox:
            SyncComboBox(static_cast<ComboBox&>(control), widget);
            break;
        case ControlKind::CommandButton:
            static_cast<QPushButton&>(widget).setText(
                ToQt(static_cast<const CommandButton&>(control).Caption()));
            break;
        case ControlKind::Frame:
            static_cast<QGroupBox&>(widget).setTitle(
                ToQt(static_cast<const Frame&>(control).Caption()));
            break;
        case ControlKind::DatePicker: {
            const Date& date = static_cast<const DatePicker&>(control).Value();
            auto& edit = static_cast<QDateEdit&>(widget);
            const QDate value(date.year, date.month, date.day);
            if (edit.date() != value) edit.setDate(value);
            break;
        }
        case ControlKind::MenuItem:
            break;
    }
    SyncAccessibleName(control, widget);
    // Last, because re-parenting hides a widget. A hidden frame hides what it contains.
    widget.setVisible(control.Visible());
}

void FormWindow::SyncAccessibleName(const Control& control, QWidget& widget) {
    const QString name = ToQt(AccessibleName(control));
    if (widget.accessibleName() != name) widget.setAccessibleName(name);
    // A combo's typing line and drop-down list are read on their own.
    if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        combo->view()->setAccessibleName(name);
        if (QLineEdit* line = combo->lineEdit()) line->setAccessibleName(name);
    }
    // A value label is read by the name of its line; what it shows is told after that.
    if (control.Kind() == ControlKind::Label) {
        const auto& label = static_cast<const Label&>(control);
        const QString value =
            label.ShowsValue() ? ToQtLines(StripAccessKeys(label.Caption())) : QString();
        if (widget.accessibleDescription() != value) widget.setAccessibleDescription(value);
    }
}

void FormWindow::SyncTextBox(TextBox& box, QWidget& widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->setReadOnly(box.Locked());
        edit->setAlignment(ToQt(box.Alignment()) | Qt::AlignVCenter);
        edit->setMaxLength(box.MaxLength() > 0 ? box.MaxLength() : kUnlimitedLength);
        const QString text = ToQt(box.Text());
        if (edit->text() != text) edit->setText(text);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(&widget)) {
        multi->setReadOnly(box.Locked());
        // Lines of a fixed-pitch table keep their columns only when they are not wrapped.
        multi->setLineWrapMode(box.GetFont().fixedPitch ? QPlainTextEdit::NoWrap
                                                        : QPlainTextEdit::WidgetWidth);
        const QString text = ToQtLines(box.Text());
        if (multi->toPlainText() != text) multi->setPlainText(text);
    }
    // While the user's own edit is being taken in, the caret is where the user left it.
    if (userEditing_ != &box) ApplySelection(box, widget);
}

FormWindow::Selection FormWindow::WidgetSelection(const TextBox& box, const QWidget& widget) const {
    QString text;
    int start = 0;
    int end = 0;
    const bool lines = IsMultiLineEdit(widget);
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        text = edit->text();
        start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        end = start + edit->selectionLength();
    } else if (const auto* multi = qobject_cast<const QPlainTextEdit*>(&widget)) {
        text = multi->toPlainText();
        const QTextCursor cursor = multi->textCursor();
        start = cursor.selectionStart();
        end = cursor.selectionEnd();
    } else {
        return Selection{box.SelStart(), box.SelLength()};
    }
    const int modelStart = ModelLength(text.left(start), lines);
    return Selection{modelStart, ModelLength(text.left(end), lines) - modelStart};
}

void FormWindow::ApplySelection(const TextBox& box, QWidget& widget) {
    const Selection wanted{box.SelStart(), box.SelLength()};
    if (WidgetSelection(box, widget) == wanted) return;
    const bool lines = IsMultiLineEdit(widget);
    const int start = WidgetPosition(box.Text(), wanted.start, lines);
    const int end = WidgetPosition(box.Text(), wanted.start + wanted.length, lines);
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        if (end > start) {
            edit->setSelection(start, end - start);
        } else {
            edit->deselect();
            edit->setCursorPosition(start);
        }
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(&widget)) {
        QTextCursor cursor = multi->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        multi->setTextCursor(cursor);
        multi->ensureCursorVisible();
    }
}

void FormWindow::PushSelection(TextBox& box) {
    if (form_ == nullptr || syncing_ > 0 || userEditing_ == &box) return;
    const QWidget* widget = WidgetFor(box);
    if (widget == nullptr) return;
    const Selection selection = WidgetSelection(box, *widget);
    box.SetSelection(selection.start, selection.length);
}

void FormWindow::SyncComboBox(ComboBox& model, QWidget& widget) {
    auto& combo = static_cast<QComboBox&>(widget);
    QStringList items;
    for (const auto& item : model.Items())
        items.push_back(ToQt(item));
    bool same = combo.count() == items.size();
    for (int i = 0; same && i < combo.count(); ++i)
        same = combo.itemText(i) == items[i];
    if (!same) {
        combo.clear();
        combo.addItems(items);
    }
    if (combo.isEditable() != model.Editable()) {
        combo.setEditable(model.Editable());
        if (QLineEdit* line = combo.lineEdit()) {
            // Typing shows exactly what was typed; the model decides which item matches.
            combo.setCompleter(nullptr);
            connect(line, &QLineEdit::textEdited, this, [this, &model](const QString& text) {
                if (form_ == nullptr) return;
                model.UserEdit(FromQt(text));
            });
            Watch(line, model);
        }
    }
    if (combo.currentIndex() != model.ListIndex()) combo.setCurrentIndex(model.ListIndex());
    const QString text = ToQt(model.Text());
    if (combo.isEditable() && combo.currentText() != text) combo.setEditText(text);
}

// ---------------------------------------------------------------------------------------------
// Menus

void FormWindow::ScheduleMenuRebuild() {
    if (menuRebuildPending_) return;
    menuRebuildPending_ = true;
    // Entries added at run time are linked into their parent after their first change.
    QTimer::singleShot(0, this, [this] {
        if (form_ != nullptr && menuRebuildPending_) BuildMenus();
    });
}

void FormWindow::BuildMenus() {
    menuRebuildPending_ = false;
    actions_.clear();
    if (menuBar_) {
        menuBar_->hide();
        menuBar_->deleteLater();
        menuBar_ = nullptr;
    }
    if (form_ == nullptr || !shell_ || form_->Menus().empty()) {
        if (shell_) shell_->layout()->setMenuBar(nullptr);
        return;
    }
    menuBar_ = new QMenuBar(shell_);
    shell_->layout()->setMenuBar(menuBar_);
    for (MenuItem* item : form_->Menus())
        AddMenuItems(*item, nullptr);
}

void FormWindow::AddMenuItems(MenuItem& item, QMenu* menu) {
    QAction* action = nullptr;
    if (!item.Children().empty()) {
        QMenu* submenu = menu != nullptr ? menu->addMenu(QString()) : menuBar_->addMenu(QString());
        submenu->setObjectName(ToQt(item.QualifiedName()));
        // A menu's own click runs as it opens, so it can set up its entries first.
        connect(submenu, &QMenu::aboutToShow, this, [this, &item] { UserClicked(item); });
        for (MenuItem* child : item.Children())
            AddMenuItems(*child, submenu);
        action = submenu->menuAction();
    } else {
        action = menu != nullptr ? menu->addAction(QString()) : menuBar_->addAction(QString());
        connect(action, &QAction::triggered, this, [this, &item] { UserClicked(item); });
    }
    action->setObjectName(ToQt(item.QualifiedName()));
    actions_[&item] = action;
    SyncAction(item, *action);
}

void FormWindow::SyncAction(const MenuItem& item, QAction& action) {
    SyncScope scope(syncing_);
    action.setSeparator(item.IsSeparator());
    if (!item.IsSeparator()) action.setText(ToQt(item.Caption()));
    action.setEnabled(item.Enabled());
    action.setVisible(item.Visible());
    action.setCheckable(item.Checked());
    action.setChecked(item.Checked());
}

// ---------------------------------------------------------------------------------------------
// The window

void FormWindow::FormChanged() {
    ApplyCaptionAndGeometry();
}

void FormWindow::ApplyCaptionAndGeometry() {
    if (form_ == nullptr || !shell_) return;
    const QString title = ToQt(form_->Caption());
    shell_->setWindowTitle(title);
    if (subWindow_) subWindow_->setWindowTitle(title);
    ApplyGeometry();
}

void FormWindow::ApplyGeometry() {
    const Rect& geometry = form_->Geometry();
    const QRect pixels = ToPixels(geometry);
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (mdiArea_) {
        // The container's own area scrolls to children beyond it.
        QSize size(pixels.width(), pixels.height() + menuHeight);
        if (topLevel_) size = size.boundedTo(Room().size());
        shell_->resize(size);
    } else {
        client_->setFixedSize(pixels.size());
        if (scroll_) {
            const QSize room = Room().size() - QSize(0, menuHeight);
            const int bar = scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            scroll_->setFixedSize(ScrolledSize(pixels.size(), room, bar));
        }
        if (subWindow_) subWindow_->adjustSize();
    }
    const bool moved =
        geometry.left != appliedGeometry_.left || geometry.top != appliedGeometry_.top;
    // A window designed at 0,0 is placed when first shown instead.
    if (moved && (geometry.left != 0 || geometry.top != 0)) {
        Window()->move(topLevel_ ? InsideRoom(pixels.topLeft()) : pixels.topLeft());
    }
    appliedGeometry_ = geometry;
}

void FormWindow::PlaceOnFirstShow() {
    if (placed_) return;
    placed_ = true;
    if (!topLevel_ || form_->Geometry().left != 0 || form_->Geometry().top != 0) return;
    topLevel_->layout()->activate();
    // The container was given its size; the stock adjustment would cut it to two thirds of the
    // screen.
    if (!mdiArea_) topLevel_->adjustSize();
    const QWidget* over = form_->Kind() == FormKind::Modal ? QApplication::activeWindow() : nullptr;
    const QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = over != nullptr && over != topLevel_.get() ? over->frameGeometry()
                 : screen != nullptr                        ? screen->availableGeometry()
                                                            : QRect();
    if (area.isEmpty()) return;
    const QPoint topLeft = area.center() - QPoint(topLevel_->width() / 2, topLevel_->height() / 2);
    topLevel_->move(InsideRoom(topLeft));
}

QRect FormWindow::Room() const {
    const QScreen* screen =
        shell_ && shell_->screen() != nullptr ? shell_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The window manager's frame is known once the window has been shown; before that, allow
    // for a title bar and thin borders.
    QMargins frame;
    if (topLevel_ && topLevel_->windowHandle() != nullptr)
        frame = topLevel_->windowHandle()->frameMargins();
    if (frame.isNull()) {
        const int border = 4;
        const int title = shell_->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        frame = QMargins(border, std::max(title, 30) + border, border, border);
    }
    return screen->availableGeometry().marginsRemoved(frame);
}

QPoint FormWindow::InsideRoom(QPoint topLeft) const {
    const QRect room = Room();
    const QWidget* window = Window();
    const int right = room.left() + room.width() - window->width();
    const int bottom = room.top() + room.height() - window->height();
    return {std::max(room.left(), std::min(topLeft.x(), right)),
            std::max(room.top(), std::min(topLeft.y(), bottom))};
}

void FormWindow::Show() {
    if (form_ == nullptr || !shell_) return;
    bool menusComplete = true;
    for (const auto& control : form_->Controls()) {
        if (control->Kind() == ControlKind::MenuItem) {
            menusComplete =
                menusComplete && ActionFor(static_cast<const MenuItem&>(*control)) != nullptr;
        } else {
            EnsureWidget(*control);
        }
    }
    if (!menusComplete) BuildMenus();
    ApplyCaptionAndGeometry();
    if (topLevel_) {
        const Qt::WindowModality modality = form_->IsModal() ? Qt::ApplicationModal : Qt::NonModal;
        if (topLevel_->windowModality() != modality) {
            // Qt takes a new modality only on the next showing.
            topLevel_->hide();
            topLevel_->setWindowModality(modality);
        }
    }
    PlaceOnFirstShow();
    if (subWindow_) {
        shell_->show();
        subWindow_->show();
        // A child the program put no focus in leaves the keys with a sibling it did (the grid,
        // not the totals under it).
        if (QMdiArea* area = subWindow_->mdiArea()) {
            QMdiSubWindow* target = subWindow_;
            for (QMdiSubWindow* sibling : area->subWindowList()) {
                if (form_->Focused() != nullptr || sibling == subWindow_) continue;
                if (sibling->isVisible() && sibling->widget() != nullptr &&
                    sibling->widget()->focusWidget() != nullptr) {
                    target = sibling;
                }
            }
            area->setActiveSubWindow(target);
            if (target != subWindow_.data()) target->widget()->focusWidget()->setFocus();
        }
    } else if (topLevel_) {
        topLevel_->show();
        topLevel_->activateWindow();
        // Uncovering reaches the native window only; installing twice keeps one filter.
        if (QWindow* handle = topLevel_->windowHandle()) handle->installEventFilter(this);
    }
    if (Control* focused = form_->Focused()) FocusChanged(focused);
}

void FormWindow::Hide() {
    if (QWidget* window = Window()) window->hide();
}

void FormWindow::BringToFront() {
    if (subWindow_) {
        subWindow_->show();
        if (QMdiArea* area = subWindow_->mdiArea()) area->setActiveSubWindow(subWindow_);
        return;
    }
    if (!topLevel_) return;
    if (topLevel_->isMinimized()) topLevel_->showNormal();
    topLevel_->raise();
    topLevel_->activateWindow();
}

void FormWindow::Detach() {
    if (form_ != nullptr && form_->View() == this) form_->SetView(nullptr);
    form_ = nullptr;
}

void FormWindow::FocusChanged(Control* control) {
    if (form_ == nullptr || control == nullptr) return;
    QWidget* widget = WidgetFor(*control);
    if (widget != nullptr && !widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// What the user does

void FormWindow::UserClose() {
    if (form_ != nullptr) form_->UserClose();
}

void FormWindow::UserClicked(Control& control) {
    if (form_ == nullptr) return;
    control.UserClick();
    // The model toggles check boxes itself and may have refused; show what it decided.
    if (form_ != nullptr) ControlChanged(control);
}

void FormWindow::UserEdited(TextBox& box, std::string text) {
    QWidget* widget = WidgetFor(box);
    if (widget == nullptr) return;
    const Selection before = WidgetSelection(box, *widget);
    const std::string typed = text;
    userEditing_ = &box;
    box.UserEdit(std::move(text));
    userEditing_ = nullptr;
    if (form_ == nullptr) return;
    if (box.Text() == typed) {
        PushSelection(box);
        return;
    }
    // The model dropped what its key filter refuses (a paste, say): keep the caret after what
    // remains of the user's input.
    const int size = static_cast<int>(box.Text().size());
    const int dropped = std::max(0, static_cast<int>(typed.size()) - size);
    box.SetSelection(std::clamp(before.start + before.length - dropped, 0, size), 0);
    if (form_ == nullptr) return;
    if (QWidget* current = WidgetFor(box)) {
        SyncScope scope(syncing_);
        ApplySelection(box, *current);
    }
}

void FormWindow::FocusArrived(Control& control, Qt::FocusReason reason) {
    if (form_ == nullptr || form_->Focused() == &control) return;
    auto* box = control.Kind() == ControlKind::TextBox ? static_cast<TextBox*>(&control) : nullptr;
    const Selection before =
        box != nullptr ? Selection{box->SelStart(), box->SelLength()} : Selection{};
    form_->SetFocus(&control);
    if (form_ == nullptr || reason != Qt::MouseFocusReason) return;
    if (box != nullptr) {
        const Selection chosen{box->SelStart(), box->SelLength()};
        if (!box->SelectAllOnFocus() && chosen == before) return;
        // The click that brought the focus places the caret after this; the selection the
        // model chose on entry wins.
        QTimer::singleShot(0, this, [this, weak = control.weak_from_this(), chosen] {
            const auto alive = weak.lock();
            if (form_ == nullptr || !alive || alive->Detached() || !alive->HasFocus()) return;
            auto& target = static_cast<TextBox&>(*alive);
            target.SetSelection(chosen.start, chosen.length);
            if (QWidget* widget = WidgetFor(target)) {
                SyncScope scope(syncing_);
                ApplySelection(target, *widget);
            }
        });
    } else if (control.Kind() == ControlKind::ComboBox &&
               static_cast<ComboBox&>(control).SelectAllOnFocus()) {
        auto* combo = qobject_cast<QComboBox*>(WidgetFor(control));
        if (combo != nullptr && combo->lineEdit() != nullptr) {
            QTimer::singleShot(0, combo->lineEdit(), &QLineEdit::selectAll);
        }
    }
}

bool FormWindow::IsKeyTarget(const QObject* watched, const Control& control) const {
    // A key the focused part ignores travels on to its parent, which may be part of the same
    // control; take it once, where it arrived.
    const QWidget* focus = QApplication::focusWidget();
    if (const auto found = sources_.find(focus);
        found != sources_.end() && found->second == &control) {
        return watched == focus;
    }
    return watched == WidgetFor(control);
}

bool FormWindow::KeyPressed(Control& control, const QKeyEvent& event) {
    // Enter, Up and Down belong to a control that listens for them; Left and Right still move
    // the caret.
    const auto keyDown = [this, &control](Key key, bool exclusive) {
        const bool hooked = static_cast<bool>(control.KeyDown);
        control.UserKeyDown(key);
        return form_ == nullptr || (exclusive && hooked);
    };
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (control.Kind() == ControlKind::CommandButton) {
                UserClicked(control);
                return true;
            }
            return keyDown(Key::Enter, true);
        case Qt::Key_Up:
            return keyDown(Key::Up, true);
        case Qt::Key_Down:
            return keyDown(Key::Down, true);
        case Qt::Key_Left:
            return keyDown(Key::Left, false);
        case Qt::Key_Right:
            return keyDown(Key::Right, false);
        case Qt::Key_Escape: {
            if (event.modifiers() != Qt::NoModifier) return false;
            if (keyDown(Key::Escape, false)) return true;
            return form_ != nullptr && form_->UserEscape();
        }
        // A box types them, a button presses on Space; a label has them only through KeyDown.
        case Qt::Key_Space:
        case Qt::Key_Delete:
            if (control.Kind() == ControlKind::Label) {
                return keyDown(event.key() == Qt::Key_Space ? Key::Space : Key::Delete, true);
            }
            break;
        default:
            break;
    }
    if (control.Kind() != ControlKind::TextBox) return false;
    // Ctrl+V and the like are commands, not typed characters; what they paste is filtered as an
    // edit.
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    const auto& box = static_cast<const TextBox&>(control);
    for (const QChar ch : event.text()) {
        const bool controlChar = ch.unicode() < 0x20 || ch.unicode() == 0x7f;
        if (controlChar && ch != QLatin1Char(kBackspace)) continue;
        const QByteArray bytes = QString(ch).toUtf8();
        if (!box.KeyPress(bytes.isEmpty() ? '\0' : bytes.front())) return true;
    }
    return false;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (form_ == nullptr) return false;
    if (const QWidget* window = Window();
        window != nullptr && (watched == window || watched == window->windowHandle())) {
        if (IsFreshDrawing(*watched, *event)) {
            // Afterwards, so that the form's reaction never runs inside the window system's event.
            QTimer::singleShot(0, this, [this] {
                if (form_ != nullptr) form_->NotifyPainted();
            });
        }
        return false;
    }
    const auto found = sources_.find(watched);
    if (found == sources_.end()) return false;
    Control& control = *found->second;
    switch (event->type()) {
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason) FocusArrived(control, reason);
            return false;
        }
        case QEvent::KeyPress:
            if (!IsKeyTarget(watched, control)) return false;
            return KeyPressed(control, *static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress: {
            const auto button = static_cast<QMouseEvent*>(event)->button();
            if (button != Qt::RightButton) return false;
            // Taken here, so that a label's press does not travel on to the frame beneath it.
            control.UserMouseDown(MouseButton::Right);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool clickable =
                control.Kind() == ControlKind::TextBox || control.Kind() == ControlKind::Label;
            const auto* widget = static_cast<QWidget*>(watched);
            if (clickable && mouse->button() == Qt::LeftButton &&
                widget->rect().contains(mouse->position().toPoint())) {
                UserClicked(control);
            }
            return false;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !control.DblClick)
                return false;
            control.UserDblClick();
            return true;
        case QEvent::ContextMenu:
            // A control with its own right-button reaction shows no stock menu on top of it.
            return static_cast<bool>(control.MouseDown);
        default:
            return false;
    }
}

}  // namespace kestrel

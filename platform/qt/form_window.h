// Draws one window model as a real window and feeds the user's keys and clicks back into it. It
// knows how to draw every kind of control, never what a particular window is for.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <map>
#include <memory>
#include <string>

#include "platform/form.h"

class QAction;
class QEvent;
class QKeyEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QScrollArea;
class QWidget;

namespace kestrel {

class FormShell;

// Window measures are twips; the screen's logical resolution turns them into pixels (15 twips to
// the pixel at 96 dpi).
int TwipsToPixels(int twips, double dotsPerInch);

class FormWindow : public QObject, public FormView {
    Q_OBJECT

  public:
    // A top-level window, or a child window inside `mdiArea` when one is given.
    FormWindow(Form& form, QMdiArea* mdiArea);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void ControlChanged(Control& control) override;
    void FormChanged() override;
    void FocusChanged(Control* control) override;

    void Show();
    void Hide();
    void BringToFront();
    // Stops mirroring the form and tells it so; the window is about to go.
    void Detach();
    // Stops mirroring without touching the form, which may no longer exist.
    void Forget() { form_ = nullptr; }

    Form* GetForm() const { return form_; }
    // What the user sees as the window: the top-level widget, or the frame of a child window.
    QWidget* Window() const;
    // The area child windows live in, for a container form.
    QMdiArea* MdiArea() const;
    QMenuBar* MenuBar() const;
    QWidget* WidgetFor(const Control& control) const;
    QAction* ActionFor(const MenuItem& item) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Selection {
        int start = 0;
        int length = 0;
        bool operator==(const Selection&) const = default;
    };

    void BuildShell(QMdiArea* mdiArea);
    QWidget* EnsureWidget(Control& control);
    QWidget* CreateWidget(Control& control, QWidget* parent);
    void Watch(QWidget* widget, Control& control);
    QWidget* ParentFor(const Control& control);
    void Sync(Control& control, QWidget& widget);
    void SyncTextBox(TextBox& box, QWidget& widget);
    void SyncAccessibleName(const Control& control, QWidget& widget);
    void SyncComboBox(ComboBox& combo, QWidget& widget);
    void ApplySelection(const TextBox& box, QWidget& widget);
    Selection WidgetSelection(const TextBox& box, const QWidget& widget) const;
    void PushSelection(TextBox& box);
    void ApplyCaptionAndGeometry();
    void ApplyGeometry();
    void PlaceOnFirstShow();
    // The part of the screen a top-level window's frame may take, less that frame.
    QRect Room() const;
    QPoint InsideRoom(QPoint topLeft) const;
    QRect ToPixels(const Rect& rect) const;

    void BuildMenus();
    void AddMenuItems(MenuItem& item, QMenu* menu);
    void SyncAction(const MenuItem& item, QAction& action);
    void ScheduleMenuRebuild();

    // What the user did, passed on to the model.
    void UserEdited(TextBox& box, std::string text);
    void UserClicked(Control& control);
    void FocusArrived(Control& control, Qt::FocusReason reason);
    bool KeyPressed(Control& control, const QKeyEvent& event);
    bool IsKeyTarget(const QObject* watched, const Control& control) const;
    void UserClose();

    Form* form_;
    std::unique_ptr<FormShell> topLevel_;
    QPointer<QMdiSubWindow> subWindow_;
    QPointer<FormShell> shell_;
    QPointer<QWidget> client_;
    QPointer<QScrollArea> scroll_;  // around the client area of a top-level window
    QPointer<QMdiArea> mdiArea_;
    QPointer<QMenuBar> menuBar_;
    std::map<const Control*, QWidget*> widgets_;
    std::map<const QObject*, Control*> sources_;  // a widget, or a part of one, and its control
    std::map<const MenuItem*, QAction*> actions_;
    int syncing_ = 0;  // model changes being drawn: widget signals are not the user's
    const TextBox* userEditing_ = nullptr;
    bool placed_ = false;
    bool menuRebuildPending_ = false;
    Rect appliedGeometry_;
};

}  // namespace kestrel

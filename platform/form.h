// A window model: its controls, menus, caption and geometry, and the lifecycle the program's
// windows depend on. A form that is not loaded has no controls; touching a control loads it with
// its design values; unloading throws the controls away so the next load starts afresh.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/controls.h"
#include "platform/host.h"

namespace kestrel {

enum class FormKind { Main, Modal, Modeless, MdiContainer, MdiChild };

// Why a form is being closed; QueryUnload sees it.
enum class CloseReason { Code, User };

// Implemented by the desktop layer to mirror one form.
class FormView {
  public:
    virtual ~FormView() = default;
    virtual void ControlChanged(Control& control) = 0;
    virtual void FormChanged() = 0;  // caption or geometry
    virtual void FocusChanged(Control* control) = 0;
};

class Form {
  public:
    Form(Host& host, std::string name, FormKind kind);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    FormKind Kind() const { return kind_; }
    Host& GetHost() const { return *host_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    const Rect& Geometry() const { return geometry_; }  // client area, twips
    void SetGeometry(Rect geometry);
    // The container a child window lives in (MdiChild only).
    Form* MdiParent() const { return mdiParent_; }
    void SetMdiParent(Form* parent) { mdiParent_ = parent; }

    bool IsLoaded() const { return loaded_; }
    bool IsVisible() const { return visible_; }
    bool IsModal() const { return modalDepth_ > 0; }

    // Builds the controls with their design values and runs OnLoad; nothing when loaded.
    void Load();
    void Show();
    // Shows the form and blocks until it is hidden or unloaded.
    void ShowModal();
    void Hide();
    // Closes the form from code. False when QueryUnload refused.
    bool Unload();
    // The user's close box.
    bool UserClose();

    const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }
    const std::vector<MenuItem*>& Menus() const { return menus_; }
    // Links each box, picker and value label to the label that names it on screen (the label
    // right before it on its line, or else the heading over its column) as the form stood when
    // it was built. Done on the first question for a caption label, since only a screen needs
    // them and a batch run builds windows by the thousand.
    void LinkCaptionLabels() const;
    Control* FindControl(std::string_view name, int index = -1) const;

    Control* Focused() const { return focused_; }
    // Moves the focus as the user or the program does: LostFocus, GotFocus, and a text box that
    // selects on focus selects its whole text. A control that cannot take the focus is ignored.
    void SetFocus(Control* control);

    void SetView(FormView* view) { view_ = view; }
    FormView* View() const { return view_; }
    void ControlChanged(Control& control);

    // The close handler: false keeps the form open.
    std::function<bool(CloseReason)> QueryUnload;
    // What Escape does, for a window whose cancel is not a button (a date picker).
    std::function<void()> EscapeAction;
    // The user pressed Escape: EscapeAction; else the click of the window's Close or Cancel
    // button (or top-level menu entry); else what the close box does. A child window leaves it
    // to its container, and the main window ignores it, since closing it ends the program.
    // Never a save. False when nothing happened.
    bool UserEscape();
    // The enabled button or top-level menu entry captioned Close or Cancel, in any case and
    // with its access key; null when there is none.
    Control* CancelControl() const;
    // Runs whenever the desktop draws the window afresh: first shown, uncovered, restored.
    std::function<void()> Paint;
    // The desktop layer reports such a drawing; nothing happens unless the form is shown.
    void NotifyPainted();

  protected:
    // Creates the controls and sets the caption and geometry of the design.
    virtual void Build() = 0;
    // Runs after Build, like a window's load event.
    virtual void OnLoad() {}
    // Runs when the form unloads, while its controls still exist.
    virtual void OnUnload() {}
    // Runs after the controls are gone.
    virtual void Destroyed() {}

    template <class T>
    T& Add(std::string name, Rect geometry, int index = -1) {
        static_assert(std::is_base_of_v<Control, T>);
        auto control = std::make_shared<T>(*this, std::move(name), index);
        T& ref = *control;
        controls_.push_back(std::move(control));
        ref.SetGeometry(geometry);
        return ref;
    }
    MenuItem& AddMenu(std::string name, std::string caption, MenuItem* parent = nullptr);

  private:
    bool DoUnload(CloseReason reason);
    // Marks the labels built without a caption as showing values, and notes what linking the
    // caption labels needs to know of each control as it stands now.
    void NoteCaptionPlaces();

    Host* host_;
    std::string name_;
    FormKind kind_;
    std::string caption_;
    Rect geometry_;
    Form* mdiParent_ = nullptr;
    bool loaded_ = false;
    bool visible_ = false;
    bool unloading_ = false;
    int modalDepth_ = 0;
    std::vector<std::shared_ptr<Control>> controls_;
    std::vector<MenuItem*> menus_;
    Control* focused_ = nullptr;
    FormView* view_ = nullptr;
    struct CaptionPlace {
        Rect rect;
        ControlKind kind;
        const Frame* container;
        bool caption;  // a label that names what stands beside or under it
        bool named;    // a box or value label that a caption names
    };
    // Until the caption labels are linked.
    mutable std::vector<CaptionPlace> captionPlaces_;
};

// A form whose controls are reached through a struct of pointers built at load time. `ui()`
// loads the form first, so reading a control of an unloaded form loads it.
template <class Ui>
class FormOf : public Form {
  public:
    using Form::Form;
    Ui& ui() {
        Load();
        return *ui_;
    }

  protected:
    virtual void BuildUi(Ui& ui) = 0;

  private:
    void Build() final {
        ui_ = std::make_unique<Ui>();
        BuildUi(*ui_);
    }
    void Destroyed() final { ui_.reset(); }
    std::unique_ptr<Ui> ui_;
};

}  // namespace kestrel

// The controls a window model is made of. They hold every property a user can see, run the
// event hooks the window models attach, and tell their form's view after each change, so the
// desktop layer only mirrors them. Nothing here knows about Qt.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace kestrel {

class Form;
class Frame;
class Label;

// Window measures are twips (1/1440 inch), relative to the form's client area or to the frame
// that contains the control.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class ControlKind {
    TextBox,
    Label,
    CheckBox,
    OptionButton,
    ComboBox,
    CommandButton,
    Frame,
    DatePicker,
    MenuItem
};

enum class Key { Enter, Up, Down, Left, Right, Escape, Space, Delete };
enum class MouseButton { Left, Right };
enum class Align { Left, Center, Right };

// The characters a number box lets through, besides backspace.
inline constexpr std::string_view kNumberKeys = "0123456789 -.";
inline constexpr char kBackspace = '\b';

struct Font {
    double points = 0;  // 0: the form's default size
    bool bold = false;
    // Every character as wide as the next, for columns of figures laid out in text.
    bool fixedPitch = false;
    bool operator==(const Font&) const = default;
};

// Controls are owned by their form through shared pointers so that a handler which unloads its
// own form (a "Save" button that closes the window) finishes running on a live object; the
// control is only detached from the form, and dies when the handler returns.
class Control : public std::enable_shared_from_this<Control> {
  public:
    Control(Form& form, ControlKind kind, std::string name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }  // -1 when the control is not part of an array
    std::string QualifiedName() const;    // "txtEntry(3)" or "cmdCal"
    Form& Owner() const { return *form_; }
    bool Detached() const { return detached_; }

    const Rect& Geometry() const { return geometry_; }
    void SetGeometry(Rect geometry);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const std::string& ToolTip() const { return toolTip_; }
    void SetToolTip(std::string toolTip);
    // What a screen reader calls the control where its own caption or the label beside it does
    // not say it (a cell of a grid); empty for the rule of AccessibleName().
    const std::string& AccessibleNameOverride() const { return accessibleName_; }
    void SetAccessibleName(std::string name);
    // The label that names this box on screen, as the form was built.
    const Label* CaptionLabel() const;
    void SetCaptionLabel(const Label* label) { captionLabel_ = label; }
    const Font& GetFont() const { return font_; }
    void SetFont(Font font);
    Frame* Container() const { return container_; }
    void SetContainer(Frame* frame);

    // Visible and enabled, with every containing frame visible and enabled too.
    bool EffectivelyEnabled() const;
    bool EffectivelyVisible() const;
    virtual bool CanFocus() const;
    bool HasFocus() const;
    void SetFocus();

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(MouseButton)> MouseDown;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(Key)> KeyDown;

    // What the user does, as the desktop layer (or a test) reports it. A disabled or hidden
    // control ignores them.
    void UserClick();
    void UserMouseDown(MouseButton button);
    // A left double click, after the click of its first press.
    void UserDblClick();
    void UserKeyDown(Key key);

    // Called by the form when it unloads: the control no longer belongs to a live window.
    void Detach() { detached_ = true; }
    // Called by the form when the focus arrives or leaves.
    void NotifyFocus(bool gained);

  protected:
    void Changed();
    void Fire(const std::function<void()>& hook);
    // The kind's own reaction to a left click, between MouseDown and Click.
    virtual void ClickAction();

  private:
    Form* form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Rect geometry_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    std::string accessibleName_;
    const Label* captionLabel_ = nullptr;
    Font font_;
    Frame* container_ = nullptr;
    bool detached_ = false;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, int index);

    const std::string& Text() const { return text_; }
    // Fires Change when the text differs. Text longer than MaxLength is cut.
    void SetText(std::string text);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    const std::string& AllowedKeys() const { return allowedKeys_; }
    void SetAllowedKeys(std::string keys) { allowedKeys_ = std::move(keys); }
    bool SelectAllOnFocus() const { return selectAllOnFocus_; }
    void SetSelectAllOnFocus(bool on) { selectAllOnFocus_ = on; }
    bool Locked() const { return locked_; }  // read-only, still focusable
    void SetLocked(bool locked);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    Align Alignment() const { return alignment_; }
    void SetAlignment(Align alignment);

    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelection(int start, int length);
    void SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }

    // The key filter: true when the typed character is let through.
    bool KeyPress(char key) const;
    // Types characters as a user would: each one passes the key filter, replaces the
    // selection and moves the caret; backspace deletes.
    void Type(std::string_view keys);
    // The desktop widget's text after the user edited it (typing, pasting, cutting). Characters
    // the key filter would not have let through are dropped.
    void UserEdit(std::string text);

    std::function<void()> Change;

  private:
    std::string text_;
    int maxLength_ = 0;
    std::string allowedKeys_;
    bool selectAllOnFocus_ = false;
    bool locked_ = false;
    bool multiLine_ = false;
    Align alignment_ = Align::Left;
    int selStart_ = 0;
    int selLength_ = 0;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    Align Alignment() const { return alignment_; }
    void SetAlignment(Align alignment);
    bool Bordered() const { return bordered_; }
    void SetBordered(bool bordered);
    // A label the keyboard reaches, as a cell the user acts on by mouse (a week number); it
    // takes Tab, Enter, Space and Delete through KeyDown.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    bool CanFocus() const override { return tabStop_ && Control::CanFocus(); }
    // Set when the form was built: the label held no text, so it shows a value, not a caption.
    bool ShowsValue() const { return showsValue_; }
    void SetShowsValue(bool showsValue) { showsValue_ = showsValue; }

  private:
    std::string caption_;
    Align alignment_ = Align::Left;
    bool bordered_ = false;
    bool tabStop_ = false;
    bool showsValue_ = false;
};

// Value 0 clear, 1 set. Setting the value from code runs Click whenever it changes, exactly as a
// user's click does; windows rely on that.
class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int Value() const { return value_; }
    void SetValue(int value);

  protected:
    void ClickAction() override;

  private:
    std::string caption_;
    int value_ = 0;
};

// Option buttons in the same container (form or frame) and group exclude each other.
class OptionButton : public Control {
  public:
    OptionButton(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Value() const { return value_; }
    // Selecting clears the other buttons of the group and runs Click.
    void SetValue(bool value);
    const std::string& Group() const { return group_; }
    void SetGroup(std::string group) { group_ = std::move(group); }

  protected:
    void ClickAction() override;

  private:
    std::string caption_;
    bool value_ = false;
    std::string group_;
};

class ComboBox : public Control {
  public:
    ComboBox(Form& form, std::string name, int index);
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(std::string item);
    void ClearItems();
    // An editable combo takes typed text; a list-only one shows only its items.
    bool Editable() const { return editable_; }
    void SetEditable(bool editable);
    const std::string& Text() const { return text_; }
    // Fires Change when the text differs; selects the matching item, if any.
    void SetText(std::string text);
    int ListIndex() const { return listIndex_; }
    // Selects an item (-1 for none); fires Click when an item is chosen, Change when the text
    // differs.
    void SetListIndex(int index);
    bool SelectAllOnFocus() const { return selectAllOnFocus_; }
    void SetSelectAllOnFocus(bool on) { selectAllOnFocus_ = on; }
    // The user picked an item or typed text in the desktop widget.
    void UserSelect(int index);
    void UserEdit(std::string text);

    std::function<void()> Change;

  private:
    std::vector<std::string> items_;
    bool editable_ = true;
    std::string text_;
    int listIndex_ = -1;
    bool selectAllOnFocus_ = false;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

  private:
    std::string caption_;
};

class Frame : public Control {
  public:
    Frame(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool CanFocus() const override { return false; }

  private:
    std::string caption_;
};

class DatePicker : public Control {
  public:
    DatePicker(Form& form, std::string name, int index);
    const Date& Value() const { return value_; }
    // Fires Change when the date differs.
    void SetValue(Date date);
    // The user picked a date: Change when it differs, then Click.
    void UserPick(Date date);

    std::function<void()> Change;

  private:
    Date value_;
};

// A menu entry. Top-level entries have no parent; a caption of "-" is a separator line.
class MenuItem : public Control {
  public:
    MenuItem(Form& form, std::string name, int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool IsSeparator() const { return caption_ == "-"; }
    MenuItem* Parent() const { return parent_; }
    const std::vector<MenuItem*>& Children() const { return children_; }
    void AddChild(MenuItem& child);
    bool CanFocus() const override { return false; }

  private:
    std::string caption_;
    bool checked_ = false;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> children_;
};

// "&File" -> "File"; "&&" -> "&". For captions shown where no access key applies.
std::string StripAccessKeys(std::string_view caption);
// The letter "&" marks in a caption, lower case ("E&xit" -> 'x'); 0 when there is none. The
// desktop takes the first mark, as it does.
char AccessKey(std::string_view caption);
// The caption a control shows, "&" marks included; empty for boxes and pickers.
std::string CaptionOf(const Control& control);

// What a screen reader calls a control: the name set on it; else a button's, box's or menu's
// caption without "&"; a box's, picker's or value label's caption label; the caption of the
// frame it stands in; a label's own text.
std::string AccessibleName(const Control& control);

}  // namespace kestrel

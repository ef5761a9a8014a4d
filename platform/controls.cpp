#include "platform/controls.h"

#include <cctype>

#include <algorithm>

#include "platform/form.h"

namespace kestrel {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(&form), kind_(kind), name_(std::move(name)), index_(index) {}

Control::~Control() = default;

std::string Control::QualifiedName() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

void Control::Changed() {
    if (!detached_) form_->ControlChanged(*this);
}

void Control::Fire(const std::function<void()>& hook) {
    if (!hook) return;
    // Keep both the control and the hook alive: the hook may unload the form or replace itself.
    auto keepAlive = shared_from_this();
    auto run = hook;
    run();
}

void Control::SetGeometry(Rect geometry) {
    if (geometry_ == geometry) return;
    geometry_ = geometry;
    Changed();
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Changed();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!visible && HasFocus()) form_->SetFocus(nullptr);
    Changed();
}

void Control::SetToolTip(std::string toolTip) {
    if (toolTip_ == toolTip) return;
    toolTip_ = std::move(toolTip);
    Changed();
}

void Control::SetFont(Font font) {
    if (font_ == font) return;
    font_ = font;
    Changed();
}

void Control::SetContainer(Frame* frame) {
    container_ = frame;
    Changed();
}

bool Control::EffectivelyEnabled() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->enabled_) return false;
    }
    return true;
}

bool Control::EffectivelyVisible() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_) return false;
    }
    return true;
}

const Label* Control::CaptionLabel() const {
    form_->LinkCaptionLabels();
    return captionLabel_;
}

void Control::SetAccessibleName(std::string name) {
    if (accessibleName_ == name) return;
    accessibleName_ = std::move(name);
    Changed();
}

bool Control::CanFocus() const {
    return !detached_ && EffectivelyEnabled() && EffectivelyVisible();
}

bool Control::HasFocus() const {
    return !detached_ && form_->Focused() == this;
}

void Control::SetFocus() {
    form_->SetFocus(this);
}

void Control::NotifyFocus(bool gained) {
    if (!gained) {
        Fire(LostFocus);
        return;
    }
    if (kind_ == ControlKind::TextBox) {
        auto& box = static_cast<TextBox&>(*this);
        if (box.SelectAllOnFocus()) box.SelectAll();
    }
    Fire(GotFocus);
}

void Control::UserClick() {
    if (detached_ || !EffectivelyEnabled() || !EffectivelyVisible()) return;
    auto keepAlive = shared_from_this();
    if (MouseDown) {
        auto run = MouseDown;
        run(MouseButton::Left);
    }
    if (detached_) return;
    ClickAction();
}

void Control::ClickAction() {
    Fire(Click);
}

void Control::UserMouseDown(MouseButton button) {
    if (detached_ || !EffectivelyEnabled() || !EffectivelyVisible()) return;
    if (!MouseDown) return;
    auto keepAlive = shared_from_this();
    auto run = MouseDown;
    run(button);
}

void Control::UserDblClick() {
    if (detached_ || !EffectivelyEnabled() || !EffectivelyVisible()) return;
    Fire(DblClick);
}

void Control::UserKeyDown(Key key) {
    if (detached_ || !KeyDown) return;
    auto keepAlive = shared_from_this();
    auto run = KeyDown;
    run(key);
}

// ---------------------------------------------------------------------------------------------

TextBox::TextBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::TextBox, std::move(name), index) {}

void TextBox::SetText(std::string text) {
    if (maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_) {
        text.resize(static_cast<std::size_t>(maxLength_));
    }
    if (text == text_) return;
    text_ = std::move(text);
    selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
    selLength_ = 0;
    Changed();
    Fire(Change);
}

void TextBox::SetMaxLength(int maxLength) {
    maxLength_ = maxLength;
    Changed();
}

void TextBox::SetLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    Changed();
}

void TextBox::SetMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    Changed();
}

void TextBox::SetAlignment(Align alignment) {
    alignment_ = alignment;
    Changed();
}

void TextBox::SetSelection(int start, int length) {
    const int size = static_cast<int>(text_.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (start == selStart_ && length == selLength_) return;
    selStart_ = start;
    selLength_ = length;
    Changed();
}

bool TextBox::KeyPress(char key) const {
    if (allowedKeys_.empty() || key == kBackspace) return true;
    return allowedKeys_.find(key) != std::string::npos;
}

void TextBox::Type(std::string_view keys) {
    if (Detached() || !EffectivelyEnabled() || !EffectivelyVisible()) return;
    auto keepAlive = shared_from_this();
    for (char key : keys) {
        if (Detached() || locked_ || !KeyPress(key)) continue;
        std::string text = text_;
        int caret = selStart_;
        if (key == kBackspace) {
            if (selLength_ > 0) {
                text.erase(static_cast<std::size_t>(selStart_),
                           static_cast<std::size_t>(selLength_));
            } else if (caret > 0) {
                text.erase(static_cast<std::size_t>(caret - 1), 1);
                --caret;
            }
        } else {
            text.erase(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_));
            if (maxLength_ > 0 && static_cast<int>(text.size()) >= maxLength_) continue;
            text.insert(static_cast<std::size_t>(caret), 1, key);
            ++caret;
        }
        SetText(std::move(text));
        SetSelection(caret, 0);
    }
}

void TextBox::UserEdit(std::string text) {
    if (Detached()) return;
    const std::size_t typed = text.size();
    if (!allowedKeys_.empty()) {
        std::erase_if(text, [this](char c) { return !KeyPress(c); });
    }
    if (locked_ || !EffectivelyEnabled()) text = text_;
    const bool dropped = text.size() != typed || text == text_;
    SetText(std::move(text));
    // The widget may still hold what the filter dropped; make it show the model again.
    if (dropped) Changed();
}

// ---------------------------------------------------------------------------------------------

Label::Label(Form& form, std::string name, int index)
    : Control(form, ControlKind::Label, std::move(name), index) {}

void Label::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

void Label::SetAlignment(Align alignment) {
    alignment_ = alignment;
    Changed();
}

void Label::SetBordered(bool bordered) {
    bordered_ = bordered;
    Changed();
}

// ---------------------------------------------------------------------------------------------

CheckBox::CheckBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::CheckBox, std::move(name), index) {}

void CheckBox::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

void CheckBox::SetValue(int value) {
    value = value != 0 ? 1 : 0;
    if (value == value_) return;
    value_ = value;
    Changed();
    Fire(Click);
}

void CheckBox::ClickAction() {
    SetValue(value_ == 0 ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------

OptionButton::OptionButton(Form& form, std::string name, int index)
    : Control(form, ControlKind::OptionButton, std::move(name), index) {}

void OptionButton::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

void OptionButton::SetValue(bool value) {
    if (value == value_) return;
    value_ = value;
    if (value) {
        for (const auto& control : Owner().Controls()) {
            if (control.get() == this || control->Kind() != ControlKind::OptionButton) continue;
            auto& other = static_cast<OptionButton&>(*control);
            if (other.Container() == Container() && other.group_ == group_ && other.value_) {
                other.value_ = false;
                other.Changed();
            }
        }
    }
    Changed();
    if (value) Fire(Click);
}

void OptionButton::ClickAction() {
    if (value_) {
        Fire(Click);
    } else {
        SetValue(true);
    }
}

// ---------------------------------------------------------------------------------------------

ComboBox::ComboBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::ComboBox, std::move(name), index) {}

void ComboBox::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Changed();
}

void ComboBox::ClearItems() {
    items_.clear();
    listIndex_ = -1;
    Changed();
}

void ComboBox::SetEditable(bool editable) {
    editable_ = editable;
    Changed();
}

void ComboBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    const auto found = std::find(items_.begin(), items_.end(), text_);
    listIndex_ = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    Changed();
    Fire(Change);
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    listIndex_ = index;
    std::string text = index < 0 ? std::string() : items_[static_cast<std::size_t>(index)];
    const bool textChanged = text != text_;
    text_ = std::move(text);
    Changed();
    if (textChanged) Fire(Change);
    if (index >= 0) Fire(Click);
}

void ComboBox::UserSelect(int index) {
    if (Detached() || !EffectivelyEnabled()) return;
    SetListIndex(index);
}

void ComboBox::UserEdit(std::string text) {
    if (Detached() || !EffectivelyEnabled() || !editable_) return;
    SetText(std::move(text));
}

// ---------------------------------------------------------------------------------------------

CommandButton::CommandButton(Form& form, std::string name, int index)
    : Control(form, ControlKind::CommandButton, std::move(name), index) {}

void CommandButton::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

Frame::Frame(Form& form, std::string name, int index)
    : Control(form, ControlKind::Frame, std::move(name), index) {}

void Frame::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

// ---------------------------------------------------------------------------------------------

DatePicker::DatePicker(Form& form, std::string name, int index)
    : Control(form, ControlKind::DatePicker, std::move(name), index) {}

void DatePicker::SetValue(Date date) {
    if (date == value_ || !IsValidDate(date)) return;
    value_ = date;
    Changed();
    Fire(Change);
}

void DatePicker::UserPick(Date date) {
    if (Detached() || !EffectivelyEnabled()) return;
    auto keepAlive = shared_from_this();
    SetValue(date);
    if (!Detached()) Fire(Click);
}

// ---------------------------------------------------------------------------------------------

MenuItem::MenuItem(Form& form, std::string name, int index)
    : Control(form, ControlKind::MenuItem, std::move(name), index) {}

void MenuItem::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Changed();
}

void MenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Changed();
}

void MenuItem::AddChild(MenuItem& child) {
    child.parent_ = this;
    children_.push_back(&child);
}

char AccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') {
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        }
        ++i;
    }
    return 0;
}

std::string CaptionOf(const Control& control) {
    switch (control.Kind()) {
        case ControlKind::Label:
            return static_cast<const Label&>(control).Caption();
        case ControlKind::CheckBox:
            return static_cast<const CheckBox&>(control).Caption();
        case ControlKind::OptionButton:
            return static_cast<const OptionButton&>(control).Caption();
        case ControlKind::CommandButton:
            return static_cast<const CommandButton&>(control).Caption();
        case ControlKind::Frame:
            return static_cast<const Frame&>(control).Caption();
        case ControlKind::MenuItem:
            return static_cast<const MenuItem&>(control).Caption();
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
        case ControlKind::DatePicker:
            break;
    }
    return {};
}

std::string AccessibleName(const Control& control) {
    if (!control.AccessibleNameOverride().empty()) return control.AccessibleNameOverride();
    if (const Label* label = control.CaptionLabel()) return StripAccessKeys(label->Caption());
    std::string own = StripAccessKeys(CaptionOf(control));
    const bool named = control.Kind() == ControlKind::Label
                           ? !static_cast<const Label&>(control).ShowsValue()
                           : !own.empty();
    if (named) return own;
    if (const Frame* frame = control.Container()) return StripAccessKeys(frame->Caption());
    // A box alone in its window, as a date picker, is what the window is for.
    if (control.Kind() != ControlKind::Label) return control.Owner().Caption();
    return own;
}

std::string StripAccessKeys(std::string_view caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace kestrel

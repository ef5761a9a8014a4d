#include "platform/form.h"

#include <algorithm>
#include <cctype>

namespace kestrel {

Form::Form(Host& host, std::string name, FormKind kind)
    : host_(&host), name_(std::move(name)), kind_(kind) {}

Form::~Form() {
    // The program's windows live as long as the program; only the view needs telling here.
    view_ = nullptr;
    for (const auto& control : controls_)
        control->Detach();
}

void Form::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    if (view_ != nullptr) view_->FormChanged();
}

void Form::SetGeometry(Rect geometry) {
    if (geometry_ == geometry) return;
    geometry_ = geometry;
    if (view_ != nullptr) view_->FormChanged();
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Build();
    NoteCaptionPlaces();
    OnLoad();
}

namespace {

int Right(const Rect& r) {
    return r.left + r.width;
}
int Bottom(const Rect& r) {
    return r.top + r.height;
}
// Captions stand a little into the line of their box at most.
constexpr int kCaptionSlack = 60;

bool IsCaption(const Control& control) {
    if (control.Kind() != ControlKind::Label) return false;
    const auto& label = static_cast<const Label&>(control);
    return !label.ShowsValue() && !StripAccessKeys(label.Caption()).empty();
}

}  // namespace

void Form::NoteCaptionPlaces() {
    for (const auto& control : controls_) {
        if (control->Kind() == ControlKind::Label) {
            auto& label = static_cast<Label&>(*control);
            label.SetShowsValue(label.Caption().empty());
        }
    }
    captionPlaces_.clear();
    captionPlaces_.reserve(controls_.size());
    for (const auto& control : controls_) {
        const ControlKind kind = control->Kind();
        const bool named =
            (kind == ControlKind::TextBox || kind == ControlKind::ComboBox ||
             kind == ControlKind::DatePicker ||
             (kind == ControlKind::Label && static_cast<const Label&>(*control).ShowsValue())) &&
            control->AccessibleNameOverride().empty();
        captionPlaces_.push_back(
            {control->Geometry(), kind, control->Container(), IsCaption(*control), named});
    }
}

void Form::LinkCaptionLabels() const {
    if (captionPlaces_.empty()) return;
    const std::vector<CaptionPlace> places = std::move(captionPlaces_);
    captionPlaces_.clear();
    // Controls added since the form was built have no place noted and are named by no label.
    const std::size_t count = std::min(places.size(), controls_.size());
    for (std::size_t n = 0; n < count; ++n) {
        const CaptionPlace& place = places[n];
        if (!place.named) continue;
        const Rect& r = place.rect;
        // The nearest caption or control of the same kind on the line to the left, and over the
        // column; the first of equals in the window's order. A box of the same kind nearer than
        // any caption means a table, whose boxes are named by the heading over their column.
        std::size_t left = count;
        std::size_t above = count;
        for (std::size_t i = 0; i < count; ++i) {
            const CaptionPlace& other = places[i];
            if (i == n || (!other.caption && other.kind != place.kind) ||
                other.container != place.container) {
                continue;
            }
            const Rect& o = other.rect;
            if (o.top < Bottom(r) && r.top < Bottom(o) && Right(o) <= r.left + kCaptionSlack &&
                (left == count || Right(o) > Right(places[left].rect))) {
                left = i;
            }
            if (o.left < Right(r) && r.left < Right(o) && Bottom(o) <= r.top + kCaptionSlack &&
                (above == count || Bottom(o) > Bottom(places[above].rect))) {
                above = i;
            }
        }
        const std::size_t found = left != count && places[left].caption     ? left
                                  : above != count && places[above].caption ? above
                                                                            : count;
        controls_[n]->SetCaptionLabel(
            found == count ? nullptr : static_cast<const Label*>(controls_[found].get()));
    }
}

void Form::Show() {
    Load();
    if (!loaded_) return;  // OnLoad may have unloaded it again
    if (visible_) {
        host_->BringToFront(*this);
        return;
    }
    visible_ = true;
    host_->FormShown(*this);
}

void Form::ShowModal() {
    Load();
    if (!loaded_) return;
    visible_ = true;
    ++modalDepth_;
    host_->FormShown(*this);
    host_->RunModal(*this);
    --modalDepth_;
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    host_->FormHidden(*this);
}

bool Form::Unload() {
    return DoUnload(CloseReason::Code);
}

bool Form::UserClose() {
    return DoUnload(CloseReason::User);
}

bool Form::DoUnload(CloseReason reason) {
    if (!loaded_ || unloading_) return true;
    if (QueryUnload) {
        auto ask = QueryUnload;
        if (!ask(reason)) return false;
        if (!loaded_) return true;  // the handler closed it already
    }
    unloading_ = true;
    OnUnload();
    const bool wasVisible = visible_;
    visible_ = false;
    if (wasVisible) host_->FormHidden(*this);
    host_->FormUnloading(*this);
    view_ = nullptr;
    focused_ = nullptr;
    for (const auto& control : controls_)
        control->Detach();
    controls_.clear();
    menus_.clear();
    loaded_ = false;
    unloading_ = false;
    Destroyed();
    return true;
}

bool Form::UserEscape() {
    if (!loaded_ || kind_ == FormKind::Main) return false;
    if (EscapeAction) {
        auto run = EscapeAction;
        run();
        return true;
    }
    if (Control* cancel = CancelControl()) {
        cancel->UserClick();
        return true;
    }
    if (kind_ == FormKind::MdiChild) return mdiParent_ != nullptr && mdiParent_->UserEscape();
    UserClose();
    return true;
}

Control* Form::CancelControl() const {
    for (const auto& control : controls_) {
        const bool button = control->Kind() == ControlKind::CommandButton;
        const bool entry = control->Kind() == ControlKind::MenuItem &&
                           static_cast<const MenuItem&>(*control).Parent() == nullptr &&
                           static_cast<const MenuItem&>(*control).Children().empty();
        if (!(button || entry) || !control->EffectivelyEnabled() ||
            !control->EffectivelyVisible()) {
            continue;
        }
        std::string caption = StripAccessKeys(CaptionOf(*control));
        for (char& c : caption)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (caption == "CLOSE" || caption == "CANCEL") return control.get();
    }
    return nullptr;
}

void Form::NotifyPainted() {
    if (!loaded_ || !visible_ || !Paint) return;
    auto run = Paint;
    run();
}

Control* Form::FindControl(std::string_view name, int index) const {
    for (const auto& control : controls_) {
        if (control->Name() == name && control->Index() == index) return control.get();
    }
    return nullptr;
}

void Form::SetFocus(Control* control) {
    if (control != nullptr && (&control->Owner() != this || !control->CanFocus())) return;
    if (control == focused_) return;
    Control* previous = focused_;
    focused_ = control;
    if (previous != nullptr) previous->NotifyFocus(false);
    // A LostFocus handler may have moved the focus elsewhere already.
    if (focused_ != control) return;
    if (view_ != nullptr) view_->FocusChanged(control);
    if (control != nullptr) control->NotifyFocus(true);
}

void Form::ControlChanged(Control& control) {
    if (view_ != nullptr) view_->ControlChanged(control);
}

MenuItem& Form::AddMenu(std::string name, std::string caption, MenuItem* parent) {
    auto& item = Add<MenuItem>(std::move(name), Rect{});
    item.SetCaption(std::move(caption));
    if (parent != nullptr) {
        parent->AddChild(item);
    } else {
        menus_.push_back(&item);
    }
    return item;
}

}  // namespace kestrel

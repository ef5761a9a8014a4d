#include "platform/form.h"

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
    OnLoad();
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

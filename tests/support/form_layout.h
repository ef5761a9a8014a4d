// Checks a window's design as a user would see it: the texts it shows, and every control inside
// the window and clear of the others.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/form.h"

namespace kestrel::testing {

// The captions of the labels and buttons, counted.
inline std::multiset<std::string> ShownTexts(const Form& form) {
    std::multiset<std::string> texts;
    for (const auto& control : form.Controls()) {
        if (const auto* label = dynamic_cast<const Label*>(control.get())) {
            texts.insert(label->Caption());
        } else if (const auto* button = dynamic_cast<const CommandButton*>(control.get())) {
            texts.insert(button->Caption());
        }
    }
    return texts;
}

inline bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// For windows without frames, whose controls all stand on the window itself.
inline void ExpectControlsInsideAndApart(const Form& form) {
    for (const auto& control : form.Controls()) {
        const Rect& r = control->Geometry();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= form.Geometry().width &&
                    r.top + r.height <= form.Geometry().height)
            << control->QualifiedName();
        for (const auto& other : form.Controls()) {
            if (other != control) {
                EXPECT_FALSE(Overlap(r, other->Geometry()))
                    << control->QualifiedName() << " " << other->QualifiedName();
            }
        }
    }
}

// For windows with frames: every control inside its frame (or the window), every frame inside
// the window, and no two controls of the same container overlapping.
inline void ExpectControlsInsideTheirContainersAndApart(const Form& form) {
    for (const auto& control : form.Controls()) {
        if (control->Kind() == ControlKind::MenuItem) continue;
        const Rect& r = control->Geometry();
        const Frame* frame = control->Container();
        const int width = frame != nullptr ? frame->Geometry().width : form.Geometry().width;
        const int height = frame != nullptr ? frame->Geometry().height : form.Geometry().height;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= width &&
                    r.top + r.height <= height)
            << control->QualifiedName() << " is not inside its container";
        for (const auto& other : form.Controls()) {
            if (other == control || other->Container() != frame ||
                other->Kind() == ControlKind::MenuItem) {
                continue;
            }
            EXPECT_FALSE(Overlap(r, other->Geometry()))
                << control->QualifiedName() << " overlaps " << other->QualifiedName();
        }
    }
}

}  // namespace kestrel::testing

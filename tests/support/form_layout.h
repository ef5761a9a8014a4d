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

}  // namespace kestrel::testing

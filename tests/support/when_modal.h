// Answers a modal Qt dialog from a timer, as a user would, once it is up.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace kestrel::testing {

// Acts on the first modal dialog of type D once it is up.
template <typename D>
void WhenModal(std::function<void(D&)> act) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        QTimer::singleShot(20, *poll);
    };
    QTimer::singleShot(20, *poll);
}

}  // namespace kestrel::testing

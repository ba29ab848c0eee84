#pragma once

#include <QList>
#include <QPair>
#include <QPointer>
#include <QWidget>

namespace marvoxa {

// Disables a set of controls for its lifetime and gives each back the enabled state it had,
// also when the work in between ends early.
class ControlLock {
public:
    // Every widget but the one left free, when given.
    template <typename Widgets>
    explicit ControlLock(const Widgets& widgets, const QWidget* leftFree = nullptr) {
        for (QWidget* widget : widgets) {
            if (widget == leftFree) {
                continue;
            }
            // The control's own setting, not one inherited from a disabled parent.
            states_.append({widget, !widget->testAttribute(Qt::WA_Disabled)});
            widget->setEnabled(false);
        }
    }
    ~ControlLock() {
        for (const auto& [widget, enabled] : states_) {
            if (widget) {
                widget->setEnabled(enabled);
            }
        }
    }
    ControlLock(const ControlLock&) = delete;
    ControlLock& operator=(const ControlLock&) = delete;

private:
    QList<QPair<QPointer<QWidget>, bool>> states_;
};

}  // namespace marvoxa

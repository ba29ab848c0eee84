#include "ui/tab_order.h"

#include <QWidget>

#include <algorithm>

namespace marvoxa {

void SetReadingTabOrder(const QList<QWidget*>& controls) {
    QList<QWidget*> ordered = controls;
    std::sort(ordered.begin(), ordered.end(),
              [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    // Grow bands downwards while the next control's top lies inside the band.
    QList<QList<QWidget*>> bands;
    int bandBottom = -1;
    for (QWidget* control : ordered) {
        if (bands.isEmpty() || control->y() >= bandBottom) {
            bands.append(QList<QWidget*>());
        }
        bands.last().append(control);
        bandBottom = std::max(bandBottom, control->geometry().bottom());
    }
    QWidget* previous = nullptr;
    for (QList<QWidget*>& band : bands) {
        std::stable_sort(band.begin(), band.end(), [](const QWidget* a, const QWidget* b) {
            return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
        });
        for (QWidget* control : band) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, control);
            }
            previous = control;
        }
    }
}

void SetReadingTabOrderOfChildren(QWidget* window) {
    QList<QWidget*> focusable;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0) {
            focusable.append(child);
        }
    }
    SetReadingTabOrder(focusable);
}

}  // namespace marvoxa

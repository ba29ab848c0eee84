#pragma once

#include <QList>

class QWidget;

namespace marvoxa {

// Chains the keyboard focus through controls in reading order: band by band from the top (a
// band is a set of controls whose rows overlap), and left to right inside a band.
void SetReadingTabOrder(const QList<QWidget*>& controls);

// The same for every child of window that takes the focus by the Tab key.
void SetReadingTabOrderOfChildren(QWidget* window);

}  // namespace marvoxa

#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QScrollBar;
class QWidget;

namespace marvoxa {

// Keeps a fixed-size window usable on a screen too small for it (or a display scaled up): the
// window shrinks to the screen and two scroll bars move its controls, which keep their own
// places and sizes. On a screen that holds the window nothing changes and no bar shows.
class WindowScroller : public QObject {
    Q_OBJECT

public:
    WindowScroller(QWidget* window, QSize contentSize);

    // Sizes the window for a screen whose free area is available (the window's frame included).
    void fitInto(QSize available);
    // Fits the window into its screen and places it in the middle; for a start without a saved
    // placement.
    void centreOnScreen();

    QScrollBar* horizontalBar() const { return horizontal_; }
    QScrollBar* verticalBar() const { return vertical_; }

private:
    void placeBars();
    void scrollTo(int x, int y);

    QWidget* window_;
    QSize content_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    QPoint offset_;  // how far the content is scrolled
};

}  // namespace marvoxa

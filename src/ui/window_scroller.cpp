#include "ui/window_scroller.h"

#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

namespace marvoxa {

WindowScroller::WindowScroller(QWidget* window, QSize contentSize)
    : QObject(window),
      window_(window),
      content_(contentSize),
      horizontal_(new QScrollBar(Qt::Horizontal, window)),
      vertical_(new QScrollBar(Qt::Vertical, window)) {
    horizontal_->setObjectName(QStringLiteral("HorizontalScrollBar"));
    vertical_->setObjectName(QStringLiteral("VerticalScrollBar"));
    horizontal_->hide();
    vertical_->hide();
    connect(horizontal_, &QScrollBar::valueChanged, this,
            [this](int x) { scrollTo(x, offset_.y()); });
    connect(vertical_, &QScrollBar::valueChanged, this,
            [this](int y) { scrollTo(offset_.x(), y); });
}

void WindowScroller::centreOnScreen() {
    const QScreen* screen = window_->screen();
    if (screen == nullptr) {
        return;
    }
    fitInto(screen->availableGeometry().size());
    QRect frame = window_->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window_->move(frame.topLeft());
}

void WindowScroller::fitInto(QSize available) {
    scrollTo(0, 0);
    horizontal_->setValue(0);
    vertical_->setValue(0);
    const QSize frame = window_->frameGeometry().size() - window_->size();
    const QSize room = available - frame;
    const int thickness = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // A bar in one direction takes room from the other.
    bool across = content_.width() > room.width();
    bool down = content_.height() > room.height() - (across ? thickness : 0);
    across = content_.width() > room.width() - (down ? thickness : 0);

    const QSize size(across ? room.width() : content_.width() + (down ? thickness : 0),
                     down ? room.height() : content_.height() + (across ? thickness : 0));
    window_->setFixedSize(size);
    horizontal_->setVisible(across);
    vertical_->setVisible(down);
    const QSize view(size.width() - (down ? thickness : 0),
                     size.height() - (across ? thickness : 0));
    horizontal_->setRange(0, std::max(0, content_.width() - view.width()));
    horizontal_->setPageStep(view.width());
    vertical_->setRange(0, std::max(0, content_.height() - view.height()));
    vertical_->setPageStep(view.height());
    placeBars();
}

void WindowScroller::placeBars() {
    const int thickness = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int right = window_->width() - (vertical_->isHidden() ? 0 : thickness);
    const int bottom = window_->height() - (horizontal_->isHidden() ? 0 : thickness);
    horizontal_->setGeometry(0, bottom, right, thickness);
    vertical_->setGeometry(right, 0, thickness, bottom);
    horizontal_->raise();
    vertical_->raise();
}

void WindowScroller::scrollTo(int x, int y) {
    const QPoint target(x, y);
    if (target == offset_) {
        return;
    }
    const QPoint shift = offset_ - target;
    for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != horizontal_ && child != vertical_) {
            child->move(child->pos() + shift);
        }
    }
    offset_ = target;
}

}  // namespace marvoxa

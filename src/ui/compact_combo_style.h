#pragma once

#include <QProxyStyle>

namespace marvoxa {

// The window's lists are narrow; a slimmer drop-down button leaves their text enough room.
class CompactComboStyle : public QProxyStyle {
public:
    static constexpr int kArrowWidth = 14;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
};

}  // namespace marvoxa

#include "ui/compact_combo_style.h"

#include <QStyleOptionComplex>

namespace marvoxa {

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl subControl, const QWidget* widget) const {
    if (control != CC_ComboBox ||
        (subControl != SC_ComboBoxArrow && subControl != SC_ComboBoxEditField)) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    constexpr int kFrame = 2;
    const QRect whole = option->rect;
    const QRect part =
        subControl == SC_ComboBoxArrow
            ? QRect(whole.right() - kArrowWidth + 1, whole.top(), kArrowWidth, whole.height())
            : QRect(whole.left() + kFrame, whole.top() + kFrame,
                    whole.width() - kArrowWidth - 2 * kFrame, whole.height() - 2 * kFrame);
    return visualRect(option->direction, whole, part);
}

}  // namespace marvoxa

#pragma once

#include <QFont>
#include <QString>

namespace marvoxa::test {

// A text exactly width pixels wide in font, as the width check measures it.
QString LineOfWidth(const QFont& font, int width);

}  // namespace marvoxa::test

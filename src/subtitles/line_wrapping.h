#pragma once

#include "render/styled_line.h"

#include <QFont>
#include <QList>

namespace marvoxa {

// The part of line between two character positions of its text, styles kept.
StyledLine SliceLine(const StyledLine& line, qsizetype from, qsizetype to);

// line itself when it is narrower than maxWidth in font; otherwise the line broken at spaces
// into as few lines as are each narrower than maxWidth, with the widest of them as narrow as
// possible. A word too wide on its own is broken between characters.
QList<StyledLine> WrapLine(const StyledLine& line, const QFont& font, int maxWidth);

}  // namespace marvoxa

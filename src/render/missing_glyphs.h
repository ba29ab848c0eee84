#pragma once

#include "render/styled_line.h"

#include <QFont>

namespace marvoxa {

// The first character of the line that is drawn as an empty box, or 0 when every one is drawn.
// The line is laid out exactly as it is drawn, in the font (and each span's style) with the
// fallback faces the drawing takes: a character counts as missing when its glyphs include the
// font's "missing" glyph 0, or when no installed font supports its script and the glyphs come
// from the stand-in that draws boxes. Blanks and invisible characters are never named.
char32_t FirstMissingGlyph(const QFont& font, const StyledLine& line);

}  // namespace marvoxa

#pragma once

#include <QFont>
#include <QHash>

namespace marvoxa {

// Tells which characters the font, or one of the fallback fonts the drawing service picks for
// it, can draw. Remembers its answers, so asking for every character of a film is cheap.
class GlyphCoverage {
public:
    explicit GlyphCoverage(const QFont& font) : font_(font) {}

    // Blanks and invisible control or format characters count as drawable.
    bool draws(char32_t character);

    // The first character of text that cannot be drawn, or 0 when there is none.
    char32_t firstUndrawable(const QString& text);

private:
    QFont font_;
    QHash<char32_t, bool> known_;
};

}  // namespace marvoxa

#include "render/glyph_coverage.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>

namespace marvoxa {

namespace {

bool NeedsNoGlyph(char32_t character) {
    switch (QChar::category(character)) {
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Control:
        case QChar::Other_Format:
            return true;
        default:
            return false;
    }
}

// Lays the character out as it would be drawn: when neither the font nor a fallback has it,
// the layout holds glyph 0, the font's "missing" box.
bool LaidOutWithGlyphs(const QFont& font, char32_t character) {
    QTextLayout layout(QString::fromUcs4(&character, 1), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty()) {
        return false;
    }
    for (const QGlyphRun& run : runs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (glyphs.isEmpty() || glyphs.contains(0u)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool GlyphCoverage::draws(char32_t character) {
    if (const auto found = known_.constFind(character); found != known_.cend()) {
        return *found;
    }
    const bool drawable = NeedsNoGlyph(character) || QFontMetrics(font_).inFontUcs4(character) ||
                          LaidOutWithGlyphs(font_, character);
    known_.insert(character, drawable);
    return drawable;
}

char32_t GlyphCoverage::firstUndrawable(const QString& text) {
    for (const char32_t character : text.toUcs4()) {
        if (!draws(character)) {
            return character;
        }
    }
    return 0;
}

}  // namespace marvoxa

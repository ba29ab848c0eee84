#include "render/missing_glyphs.h"

#include "render/subtitle_font.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <limits>

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

// The one-line layout drawing the text makes, on a picture of the subtitle resolution.
class LaidOutLine {
public:
    LaidOutLine(const QString& text, const QFont& font) : layout_(text, font, &Device()) {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout_.setTextOption(option);
        layout_.beginLayout();
        QTextLine line = layout_.createLine();
        line.setLineWidth(std::numeric_limits<int>::max() / 4);
        layout_.endLayout();
    }

    // Whether the glyphs of text[from, from + length) hold a missing glyph: glyph 0, or a run
    // of the stand-in that Qt draws boxes with when no font supports a script. The stand-in
    // has no font tables; so has a font of an older format, but QFontMetrics finds characters
    // in that one (character 0 asks about the whole line and counts any such run).
    bool holdsMissingGlyph(int from, int length, char32_t character) const {
        for (const QGlyphRun& run : layout_.glyphRuns(from, length)) {
            if (run.glyphIndexes().contains(0u)) {
                return true;
            }
            if (run.rawFont().fontTable("head").isEmpty() &&
                (character == 0 || !metrics().inFontUcs4(character))) {
                return true;
            }
        }
        return false;
    }

private:
    static const QImage& Device() {
        static const QImage device = [] {
            QImage picture(1, 1, QImage::Format_MonoLSB);
            SetSubtitleResolution(picture);
            return picture;
        }();
        return device;
    }

    QFontMetrics metrics() const { return SubtitleMetrics(layout_.font()); }

    QTextLayout layout_;
};

char32_t FirstMissingGlyph(const QFont& font, const QString& text) {
    const LaidOutLine line(text, font);
    // Most lines draw whole: one look at all their glyphs settles them.
    if (!line.holdsMissingGlyph(0, static_cast<int>(text.size()), 0)) {
        return 0;
    }
    for (int at = 0; at < text.size();) {
        const char32_t character = text.at(at).isHighSurrogate() && at + 1 < text.size()
                                       ? QChar::surrogateToUcs4(text.at(at), text.at(at + 1))
                                       : text.at(at).unicode();
        const int length = QChar::requiresSurrogates(character) ? 2 : 1;
        if (!NeedsNoGlyph(character) && line.holdsMissingGlyph(at, length, character)) {
            return character;
        }
        at += length;
    }
    return 0;
}

}  // namespace

char32_t FirstMissingGlyph(const QFont& font, const StyledLine& line) {
    if (line.isPlain()) {
        return FirstMissingGlyph(font, line.text());
    }
    for (const StyledSpan& span : line.spans) {
        if (const char32_t missing = FirstMissingGlyph(SpanFont(font, span.style), span.text)) {
            return missing;
        }
    }
    return 0;
}

}  // namespace marvoxa

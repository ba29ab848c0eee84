#include "render/glyph_mask.h"

#include "render/subtitle_font.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace marvoxa {

namespace {

constexpr int kWordBits = 64;

int WordsFor(int width) {
    return (width + kWordBits - 1) / kWordBits;
}

// dst |= src moved shift pixels towards higher x (shift >= 0), dropping bits past dstWords.
void OrShifted(const std::uint64_t* src, int srcWords, std::uint64_t* dst, int dstWords,
               int shift) {
    const int wordShift = shift / kWordBits;
    const int bitShift = shift % kWordBits;
    for (int i = 0; i < srcWords; ++i) {
        if (src[i] == 0) {
            continue;
        }
        const int target = i + wordShift;
        if (target < dstWords) {
            dst[target] |= src[i] << bitShift;
        }
        if (bitShift != 0 && target + 1 < dstWords) {
            dst[target + 1] |= src[i] >> (kWordBits - bitShift);
        }
    }
}

// Draws the line into a mono picture with the given margin around its text cell.
GlyphMask DrawWithMargin(const QFont& font, const QString& text, QPoint topLeft, int margin) {
    const LineMetrics metrics = MeasureLine(font, text);
    const int width = metrics.width + 2 * margin;
    const int height = metrics.height + 2 * margin;

    QImage picture(width, height, QImage::Format_MonoLSB);
    picture.setColorCount(2);
    picture.setColor(0, qRgb(0, 0, 0));
    picture.setColor(1, qRgb(255, 255, 255));
    picture.fill(0);
    {
        QPainter painter(&picture);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));  // colour 1 of the table
        DrawLine(painter, QPoint(margin, margin), text);
    }

    GlyphMask mask(topLeft - QPoint(margin, margin), width, height);
    const int bytesPerRow = (width + 7) / 8;
    for (int y = 0; y < height; ++y) {
        // MonoLSB keeps pixel x in bit x % 8 of byte x / 8, so on a little-endian machine the
        // bytes read as words hold pixel x in bit x.
        std::memcpy(mask.row(y), picture.constScanLine(y), static_cast<size_t>(bytesPerRow));
        if (width % 8 != 0) {
            auto* bytes = reinterpret_cast<unsigned char*>(mask.row(y));
            bytes[bytesPerRow - 1] &= static_cast<unsigned char>((1u << (width % 8)) - 1);
        }
    }
    return mask;
}

}  // namespace

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "glyph masks read mono pictures as little-endian words");

GlyphMask::GlyphMask(QPoint origin, int width, int height)
    : origin_(origin),
      width_(width),
      height_(height),
      wordsPerRow_(WordsFor(width)),
      bits_(static_cast<size_t>(wordsPerRow_) * static_cast<size_t>(height), 0) {}

bool GlyphMask::test(int x, int y) const {
    return (row(y)[x / kWordBits] >> (x % kWordBits)) & 1u;
}

void GlyphMask::set(int x, int y) {
    row(y)[x / kWordBits] |= std::uint64_t{1} << (x % kWordBits);
}

bool GlyphMask::touchesBorder() const {
    if (width_ == 0 || height_ == 0) {
        return false;
    }
    for (int y : {0, height_ - 1}) {
        const std::uint64_t* bits = row(y);
        if (std::any_of(bits, bits + wordsPerRow_, [](std::uint64_t word) { return word != 0; })) {
            return true;
        }
    }
    for (int y = 0; y < height_; ++y) {
        if (test(0, y) || test(width_ - 1, y)) {
            return true;
        }
    }
    return false;
}

GlyphMask RenderGlyphMask(const QFont& font, const QString& text, QPoint topLeft) {
    // Glyphs rarely reach far outside their cell (accents, italic overhang); grow the margin
    // until nothing touches the edge, so no glyph pixel is lost.
    int margin = std::max(8, QFontMetrics(font).height() / 2);
    GlyphMask mask = DrawWithMargin(font, text, topLeft, margin);
    while (mask.touchesBorder() && margin < 4096) {
        margin *= 4;
        mask = DrawWithMargin(font, text, topLeft, margin);
    }
    return mask;
}

GlyphMask DilateSquare(const GlyphMask& mask, int radius) {
    const int span = 2 * radius + 1;
    GlyphMask widened(mask.origin() - QPoint(radius, 0), mask.width() + 2 * radius, mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        for (int shift = 0; shift < span; ++shift) {
            OrShifted(mask.row(y), mask.wordsPerRow(), widened.row(y), widened.wordsPerRow(),
                      shift);
        }
    }

    GlyphMask result(widened.origin() - QPoint(0, radius), widened.width(),
                     mask.height() + 2 * radius);
    const int words = result.wordsPerRow();
    for (int y = 0; y < widened.height(); ++y) {
        const std::uint64_t* source = widened.row(y);
        if (std::all_of(source, source + words, [](std::uint64_t word) { return word == 0; })) {
            continue;
        }
        // Source row y lands on result rows y .. y + 2 radius.
        for (int offset = 0; offset < span; ++offset) {
            std::uint64_t* target = result.row(y + offset);
            for (int i = 0; i < words; ++i) {
                target[i] |= source[i];
            }
        }
    }
    return result;
}

}  // namespace marvoxa

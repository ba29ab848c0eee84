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

// dst |= src moved shift pixels towards higher x (lower x for a negative shift); bits moved
// past either end are dropped.
void OrShifted(const std::uint64_t* src, std::uint64_t* dst, int words, int shift) {
    const int magnitude = shift < 0 ? -shift : shift;
    const int wordShift = magnitude / kWordBits;
    const int bitShift = magnitude % kWordBits;
    for (int i = 0; i < words; ++i) {
        if (src[i] == 0) {
            continue;
        }
        if (shift >= 0) {
            const int target = i + wordShift;
            if (target < words) {
                dst[target] |= src[i] << bitShift;
            }
            if (bitShift != 0 && target + 1 < words) {
                dst[target + 1] |= src[i] >> (kWordBits - bitShift);
            }
        } else {
            const int target = i - wordShift;
            if (target >= 0) {
                dst[target] |= src[i] >> bitShift;
            }
            if (bitShift != 0 && target - 1 >= 0) {
                dst[target - 1] |= src[i] << (kWordBits - bitShift);
            }
        }
    }
}

// Draws the line into a mono picture with the given margin around its text cell.
GlyphMask DrawWithMargin(const QFont& font, const StyledLine& line, const LineMetrics& metrics,
                         QPoint topLeft, int margin) {
    const int width = metrics.width + 2 * margin;
    const int height = metrics.height + 2 * margin;

    QImage picture(width, height, QImage::Format_MonoLSB);
    SetSubtitleResolution(picture);
    picture.setColorCount(2);
    picture.setColor(0, qRgb(0, 0, 0));
    picture.setColor(1, qRgb(255, 255, 255));
    picture.fill(0);
    {
        QPainter painter(&picture);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));  // colour 1 of the table
        DrawLine(painter, QPoint(margin, margin), line);
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

bool GlyphMask::hasInkWithin(int distance) const {
    for (int y = 0; y < height_; ++y) {
        const std::uint64_t* bits = row(y);
        if (y < distance || y >= height_ - distance) {
            if (std::any_of(bits, bits + wordsPerRow_,
                            [](std::uint64_t word) { return word != 0; })) {
                return true;
            }
            continue;
        }
        for (int step = 0; step < std::min(distance, width_); ++step) {
            if (test(step, y) || test(width_ - 1 - step, y)) {
                return true;
            }
        }
    }
    return false;
}

GlyphMask RenderGlyphMask(const QFont& font, const QString& text, const LineMetrics& metrics,
                          QPoint topLeft, int clearance) {
    return RenderGlyphMask(font, PlainLine(text), metrics, topLeft, clearance);
}

GlyphMask RenderGlyphMask(const QFont& font, const StyledLine& line, const LineMetrics& metrics,
                          QPoint topLeft, int clearance) {
    // Glyphs rarely reach far outside their cell (accents, italic overhang); grow the margin
    // until no glyph pixel lies within the clearance of the edge, so none is lost and the
    // rings fit in the same mask.
    int margin = std::max(8, metrics.height / 2) + clearance;
    GlyphMask mask = DrawWithMargin(font, line, metrics, topLeft, margin);
    while (mask.hasInkWithin(std::max(1, clearance)) && margin < 4096) {
        margin *= 4;
        mask = DrawWithMargin(font, line, metrics, topLeft, margin);
    }
    return mask;
}

GlyphMask DilateSquare(const GlyphMask& mask, int radius) {
    const int words = mask.wordsPerRow();
    GlyphMask widened(mask.origin(), mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        for (int shift = -radius; shift <= radius; ++shift) {
            OrShifted(mask.row(y), widened.row(y), words, shift);
        }
    }

    GlyphMask result(mask.origin(), mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        const std::uint64_t* source = widened.row(y);
        if (std::all_of(source, source + words, [](std::uint64_t word) { return word == 0; })) {
            continue;
        }
        const int last = std::min(mask.height() - 1, y + radius);
        for (int target = std::max(0, y - radius); target <= last; ++target) {
            std::uint64_t* row = result.row(target);
            for (int i = 0; i < words; ++i) {
                row[i] |= source[i];
            }
        }
    }
    return result;
}

}  // namespace marvoxa

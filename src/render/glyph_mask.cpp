#include "render/glyph_mask.h"

#include "render/subtitle_font.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace marvoxa {

namespace {

constexpr int kWordBits = 64;

int WordsFor(int width) {
    return (width + kWordBits - 1) / kWordBits;
}

// Word i of a row, or 0 outside it.
std::uint64_t WordAt(const std::uint64_t* row, int words, int i) {
    return i >= 0 && i < words ? row[i] : 0;
}

// dst = src | src moved `shift` pixels towards higher x | src moved towards lower x, for a
// shift of at least 1; bits moved past either end of the row's words are dropped.
void SpreadRow(const std::uint64_t* src, std::uint64_t* dst, int words, int shift) {
    const int wordShift = shift / kWordBits;
    const int bitShift = shift % kWordBits;
    for (int i = 0; i < words; ++i) {
        std::uint64_t word = src[i];
        word |= WordAt(src, words, i - wordShift) << bitShift;
        word |= WordAt(src, words, i + wordShift) >> bitShift;
        if (bitShift != 0) {
            word |= WordAt(src, words, i - wordShift - 1) >> (kWordBits - bitShift);
            word |= WordAt(src, words, i + wordShift + 1) << (kWordBits - bitShift);
        }
        dst[i] = word;
    }
}

bool RowIsEmpty(const std::uint64_t* row, int words) {
    return std::all_of(row, row + words, [](std::uint64_t word) { return word == 0; });
}

// The steps that grow a reach of 0 to radius, each at most one more than twice the reach so
// far, so the reach stays without gaps: 3 is 1 + 2, 13 is 1 + 3 + 9.
std::vector<int> DoublingSteps(int radius) {
    std::vector<int> steps;
    for (int reach = 0; reach < radius;) {
        const int step = std::min(2 * reach + 1, radius - reach);
        steps.push_back(step);
        reach += step;
    }
    return steps;
}

// Sets bit x of bits for every pixel x of an 8-bit row that holds ink.
void SetInkBits(const uchar* pixels, int width, std::uint64_t* bits) {
    int x = 0;
#ifdef __SSE2__
    // Sixteen pixels at a time, never across a word.
    for (; x + 16 <= width; x += 16) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x));
        const auto ink = static_cast<std::uint64_t>(
            ~_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, _mm_setzero_si128())) & 0xffff);
        bits[x / kWordBits] |= ink << (x % kWordBits);
    }
#endif
    for (; x < width; ++x) {
        if (pixels[x] != 0) {
            bits[x / kWordBits] |= std::uint64_t{1} << (x % kWordBits);
        }
    }
}

// Pictures up to this many pixels are 8-bit: Qt paints a one-bit picture pixel by pixel
// through its colour table, several times slower. Larger ones, lines far wider than any frame,
// stay one-bit, an eighth of the memory. The text is drawn without antialiasing either way, so
// the pixels are the same.
constexpr qint64 kLargestEightBitPicture = 4 * 1024 * 1024;

// A blank picture to draw glyphs on.
QImage GlyphPicture(QSize size) {
    const bool eightBit = qint64{size.width()} * size.height() <= kLargestEightBitPicture;
    QImage picture(size, eightBit ? QImage::Format_Alpha8 : QImage::Format_MonoLSB);
    SetSubtitleResolution(picture);
    if (!eightBit) {
        picture.setColorCount(2);
        picture.setColor(0, qRgb(0, 0, 0));
        picture.setColor(1, qRgb(255, 255, 255));
    }
    picture.fill(0);
    return picture;
}

// The ink of the picture's top-left width x height pixels, placed at origin.
GlyphMask MaskOf(const QImage& picture, QPoint origin, int width, int height) {
    GlyphMask mask(origin, width, height);
    if (picture.format() == QImage::Format_Alpha8) {
        for (int y = 0; y < height; ++y) {
            SetInkBits(picture.constScanLine(y), width, mask.row(y));
        }
        return mask;
    }
    // MonoLSB keeps pixel x in bit x % 8 of byte x / 8, so on a little-endian machine the
    // bytes read as words hold pixel x in bit x.
    const int bytesPerRow = (width + 7) / 8;
    for (int y = 0; y < height; ++y) {
        std::memcpy(mask.row(y), picture.constScanLine(y), static_cast<size_t>(bytesPerRow));
        if (width % 8 != 0) {
            auto* bytes = reinterpret_cast<unsigned char*>(mask.row(y));
            bytes[bytesPerRow - 1] &= static_cast<unsigned char>((1u << (width % 8)) - 1);
        }
    }
    return mask;
}

// Paints glyph pixels on a blank picture, text in colour 1 of a one-bit picture.
template <typename Draw>
void PaintGlyphs(QImage& picture, const QFont& font, Draw draw) {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    draw(painter);
}

// The mask draw(margin) gives, with the margin grown until no glyph pixel lies within the
// clearance of the edge. Glyphs rarely reach far outside their cell (accents, italic
// overhang); this way none is lost and the rings fit in the same mask.
template <typename DrawWithMargin>
GlyphMask WithClearMargin(int margin, int clearance, DrawWithMargin draw) {
    GlyphMask mask = draw(margin);
    while (mask.hasInkWithin(std::max(1, clearance)) && margin < 4096) {
        margin *= 4;
        mask = draw(margin);
    }
    return mask;
}

// Draws the line into a picture with the given margin around its text cell.
GlyphMask DrawWithMargin(const QFont& font, const StyledLine& line, const LineMetrics& metrics,
                         QPoint topLeft, int margin) {
    const int width = metrics.width + 2 * margin;
    const int height = metrics.height + 2 * margin;
    QImage picture = GlyphPicture(QSize(width, height));
    PaintGlyphs(picture, font,
                [&](QPainter& painter) { DrawLine(painter, QPoint(margin, margin), line); });
    return MaskOf(picture, topLeft - QPoint(margin, margin), width, height);
}

// Draws plain text with its cell's top-left corner at (margin, margin) on a picture of at
// least the given size, grown to hold the cell and the margin, and gives the cell's size.
QImage DrawMeasuringCell(const QFont& font, const QString& text, QSize size, int margin,
                         QSize& cell) {
    while (true) {
        QImage picture = GlyphPicture(size);
        QRect drawn;
        PaintGlyphs(picture, font, [&](QPainter& painter) {
            DrawLine(painter, QPoint(margin, margin), text, &drawn);
        });
        cell = drawn.size();
        const QSize needed = cell + QSize(2 * margin, 2 * margin);
        if (needed.width() <= size.width() && needed.height() <= size.height()) {
            return picture;
        }
        size = size.expandedTo(needed);  // the guess was short: draw again on enough room
    }
}

}  // namespace

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "rasters read glyph mask words byte by byte, the lowest pixels first");

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

void GlyphMask::moveBy(QPoint offset) {
    origin_ += offset;
}

DrawnLine DrawAndMeasureLine(const QFont& font, const StyledLine& line, int clearance,
                             int drawWidthLimit) {
    const QString text = line.text();
    const QFontMetrics fontMetrics = SubtitleMetrics(font);
    const int firstMargin = std::max(8, fontMetrics.height() / 2) + clearance;
    // Room for twice the average advance: most lines fit at the first drawing.
    const qint64 guessedWidth = 2 * qint64{fontMetrics.averageCharWidth()} * text.size();
    // Styled spans are measured apart from their drawing, a text offering a choice (U+009C) is
    // measured by its first choice but drawn by its last, and a line far wider than a frame is
    // measured before anything is drawn.
    if (line.isEmpty() || !line.isPlain() || text.contains(QChar(0x9c)) ||
        guessedWidth > kOnePassWidthLimit) {
        const LineMetrics metrics = MeasureLine(font, line);
        if (line.isEmpty() || metrics.width >= drawWidthLimit) {
            return {GlyphMask(), metrics};
        }
        return {RenderGlyphMask(font, line, metrics, QPoint(0, 0), clearance), metrics};
    }
    // The cell's size comes with the drawing.
    QSize cell;
    GlyphMask mask = WithClearMargin(firstMargin, clearance, [&](int margin) {
        const QImage picture = DrawMeasuringCell(font, text,
                                                 QSize(static_cast<int>(guessedWidth) + 2 * margin,
                                                       2 * fontMetrics.height() + 2 * margin),
                                                 margin, cell);
        return MaskOf(picture, QPoint(-margin, -margin), cell.width() + 2 * margin,
                      cell.height() + 2 * margin);
    });
    return {std::move(mask), LineMetrics{cell.width(), cell.height()}};
}

GlyphMask RenderGlyphMask(const QFont& font, const QString& text, const LineMetrics& metrics,
                          QPoint topLeft, int clearance) {
    return RenderGlyphMask(font, PlainLine(text), metrics, topLeft, clearance);
}

GlyphMask RenderGlyphMask(const QFont& font, const StyledLine& line, const LineMetrics& metrics,
                          QPoint topLeft, int clearance) {
    return WithClearMargin(std::max(8, metrics.height / 2) + clearance, clearance, [&](int margin) {
        return DrawWithMargin(font, line, metrics, topLeft, margin);
    });
}

GlyphMask DilateSquare(const GlyphMask& mask, int radius) {
    return DilateRectangle(mask, radius, radius);
}

GlyphMask DilateRectangle(const GlyphMask& mask, int horizontal, int vertical) {
    GlyphMask result(mask.origin(), mask.width(), mask.height());
    if (horizontal < 0 || vertical < 0) {
        return result;
    }
    // Rectangular dilation is separable, and a reach grows by doubling: a few passes over the
    // rows, then over the columns. The passes work on a copy with the reach in blank pixels
    // around it, so a reach half grown is not cut off at the mask's edge.
    const int padWords = (horizontal + kWordBits - 1) / kWordBits;
    const int words = mask.wordsPerRow() + 2 * padWords;
    const int height = mask.height() + 2 * vertical;
    const auto rowBits = static_cast<size_t>(words);
    std::vector<std::uint64_t> current(static_cast<size_t>(height) * rowBits);
    std::vector<std::uint64_t> next(current.size());
    for (int y = 0; y < mask.height(); ++y) {
        std::copy_n(mask.row(y), mask.wordsPerRow(),
                    current.data() + (y + vertical) * rowBits + padWords);
    }
    for (int step : DoublingSteps(horizontal)) {
        for (int y = 0; y < height; ++y) {
            const std::uint64_t* source = current.data() + y * rowBits;
            std::uint64_t* target = next.data() + y * rowBits;
            if (RowIsEmpty(source, words)) {
                std::fill_n(target, words, 0);
            } else {
                SpreadRow(source, target, words, step);
            }
        }
        current.swap(next);
    }
    for (int step : DoublingSteps(vertical)) {
        for (int y = 0; y < height; ++y) {
            std::uint64_t* target = next.data() + y * rowBits;
            std::copy_n(current.data() + y * rowBits, words, target);
            for (int from : {y - step, y + step}) {
                if (from < 0 || from >= height) {
                    continue;
                }
                const std::uint64_t* source = current.data() + from * rowBits;
                for (int i = 0; i < words; ++i) {
                    target[i] |= source[i];
                }
            }
        }
        current.swap(next);
    }
    for (int y = 0; y < mask.height(); ++y) {
        std::copy_n(current.data() + (y + vertical) * rowBits + padWords, mask.wordsPerRow(),
                    result.row(y));
    }
    return result;
}

}  // namespace marvoxa

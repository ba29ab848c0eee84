#pragma once

#include "render/subtitle_font.h"

#include <QFont>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <limits>
#include <vector>

namespace marvoxa {

// A one-bit picture placed in frame coordinates; bit x of a row is pixel left + x.
class GlyphMask {
public:
    GlyphMask() = default;
    GlyphMask(QPoint origin, int width, int height);

    QPoint origin() const { return origin_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int wordsPerRow() const { return wordsPerRow_; }

    bool test(int x, int y) const;
    void set(int x, int y);
    const std::uint64_t* row(int y) const { return bits_.data() + y * wordsPerRow_; }
    std::uint64_t* row(int y) { return bits_.data() + y * wordsPerRow_; }

    // True when a set pixel lies within distance pixels of the mask's edge.
    bool hasInkWithin(int distance) const;

    void moveBy(QPoint offset);

private:
    QPoint origin_;
    int width_ = 0;
    int height_ = 0;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> bits_;
};

// The glyph pixels of one line (measured as metrics) drawn with its text cell's top-left corner
// at topLeft. The mask holds every glyph pixel, also those reaching outside the text cell, with
// at least clearance empty pixels between them and the mask's edge.
GlyphMask RenderGlyphMask(const QFont& font, const QString& text, const LineMetrics& metrics,
                          QPoint topLeft, int clearance);
GlyphMask RenderGlyphMask(const QFont& font, const StyledLine& line, const LineMetrics& metrics,
                          QPoint topLeft, int clearance);

struct DrawnLine {
    GlyphMask glyphs;  // the text cell's top-left corner at (0, 0); empty for an empty line
    LineMetrics metrics;
};

// Lines whose text would need a wider picture than this are measured first and then drawn.
inline constexpr qint64 kOnePassWidthLimit = 4096;

// RenderGlyphMask and MeasureLine in one: a plain line's text is laid out once, for drawing
// and measuring together. Move the mask by the cell's place once the line is placed. A line
// measured first and found at least drawWidthLimit wide is not drawn: its mask stays empty.
DrawnLine DrawAndMeasureLine(const QFont& font, const StyledLine& line, int clearance,
                             int drawWidthLimit = std::numeric_limits<int>::max());

// Every pixel whose horizontal and vertical distance to a set pixel are both at most radius:
// what drawing the mask at every offset of a (2 radius + 1) square leaves. Same geometry as
// the mask; what would fall outside it is dropped.
GlyphMask DilateSquare(const GlyphMask& mask, int radius);
// The same with a rectangle: horizontal pixels to either side, vertical above and below.
GlyphMask DilateRectangle(const GlyphMask& mask, int horizontal, int vertical);

}  // namespace marvoxa

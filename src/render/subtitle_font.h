#pragma once

#include "render/render_settings.h"
#include "render/styled_line.h"

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>

class QImage;
class QPainter;

namespace marvoxa {

struct LineMetrics {
    int width = 0;
    int height = 0;

    friend bool operator==(const LineMetrics&, const LineMetrics&) = default;
};

// Pixels per inch of the display; 96 when there is no screen. Off the application's thread,
// the value last seen on it.
int DisplayDpi();

// Points to pixels at the given resolution, rounded to nearest (a 22-point font is 29 pixels
// at 96 dpi).
int PointsToPixels(int points, int dpi);

// The one font every drawing and measuring of subtitle text uses. Glyphs are drawn unsmoothed,
// so a frame holds only the exact role colours the encoder looks for. For the wide drawing the
// face is condensed to 3/4 of its width (kWideStretch).
QFont SubtitleFont(const RenderSettings& settings);

// The font stretch, in percent, of the wide drawing: an anamorphic 16:9 picture is shown 4/3
// as wide as it is stored.
inline constexpr int kWideStretch = 75;

// The font of a span: base with the span's styles added.
QFont SpanFont(const QFont& base, const FontStyle& extra);

// The resolution of every picture subtitle text is measured or drawn on: 96 pixels per inch,
// whatever the display's, so that a stream does not depend on the display.
inline constexpr int kSubtitleDotsPerMeter = 3780;
void SetSubtitleResolution(QImage& picture);

// Size of one line set in one line, tabs expanded; an empty line measures as one blank.
LineMetrics MeasureLine(const QFont& font, const QString& text);

// The same for a styled line: its spans set one after the other, each in the font with the
// span's styles added. A plain line measures exactly as its text.
LineMetrics MeasureLine(const QFont& font, const StyledLine& line);

// Font metrics on a picture like the ones subtitles are drawn on, not on the screen.
QFontMetrics SubtitleMetrics(const QFont& font);

// Draws one line with the top-left corner of its text cell at topLeft, writing only glyph
// pixels in the painter's pen colour. With cell, also gives the text cell as drawn, which for a
// line without U+009C (a choice of texts) is the size MeasureLine gives.
void DrawLine(QPainter& painter, QPoint topLeft, const QString& text, QRect* cell = nullptr);
// The same for a styled line; the painter's font is the line's base font.
void DrawLine(QPainter& painter, QPoint topLeft, const StyledLine& line);

}  // namespace marvoxa

#pragma once

#include "render/render_settings.h"
#include "render/subtitle_font.h"

#include <QList>
#include <QPoint>

namespace marvoxa {

// Where the two lines go in the frame and which band of rows the encoder reads.
struct SubtitleLayout {
    QPoint firstTopLeft;
    QPoint secondTopLeft;
    int areaTop = 0;  // always even, so the top field starts with the first row
    int areaHeight = 0;

    friend bool operator==(const SubtitleLayout&, const SubtitleLayout&) = default;
};

// Left edge of a line of the given width: centred, 8 pixels from the left, or (any other
// alignment text) its right end 8 pixels from the right edge.
int LineLeft(int frameWidth, int lineWidth, const QString& align);

SubtitleLayout LayoutSubtitle(const LineMetrics& first, const LineMetrics& second,
                              const RenderSettings& settings, int frameWidth, int frameHeight);

// Where every line of a cue goes. The last line sits where a second line sits, the lines above
// it stack upward with the same spacing; with two lines this is LayoutSubtitle.
struct CueLayout {
    QList<QPoint> topLefts;
    int areaTop = 0;  // always even
    int areaHeight = 0;

    friend bool operator==(const CueLayout&, const CueLayout&) = default;
};

// lines holds at least two metrics (a one-line cue measures an empty second line).
CueLayout LayoutCueLines(const QList<LineMetrics>& lines, const RenderSettings& settings,
                         int frameWidth, int frameHeight);

// Where a block of lines goes: rows bottom, middle and top of the frame, columns as the
// alignment setting places a line.
struct Place {
    enum class Row { Bottom, Middle, Top };
    Row row = Row::Bottom;
    QString column;  // "center", "left" or "right"

    friend bool operator==(const Place&, const Place&) = default;
};

// The place of a keypad placement, 1 to 9 (1 bottom left, 9 top right); 0 is the bottom row
// in the settings' alignment.
Place PlaceOf(int placement, const RenderSettings& settings);

// The measured lines of one block, such as one cue shown among others.
struct PlacedMetrics {
    QList<LineMetrics> lines;
    int placement = 0;  // as for PlaceOf
};

// Blocks that share a place stack, each block above the ones before it; a bottom-row stack
// sits as LayoutCueLines places its lines, so the first block of a bottom-row place must hold
// at least two lines. A top-row stack keeps the bottom row's distance (40 + BottomOffset) from
// the top of the frame; a middle-row stack is centred on it. topLefts lists the lines block
// by block; the area spans every block's area.
CueLayout LayoutPlacedLines(const QList<PlacedMetrics>& blocks, const RenderSettings& settings,
                            int frameWidth, int frameHeight);

}  // namespace marvoxa

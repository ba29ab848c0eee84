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

}  // namespace marvoxa

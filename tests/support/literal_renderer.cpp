#include "literal_renderer.h"

#include "render/subtitle_font.h"
#include "render/subtitle_layout.h"

#include <QPainter>

#include <algorithm>

namespace marvoxa::test {

namespace {

void DrawSquare(QPainter& painter, QPoint topLeft, const QString& text, int radius, QRgb colour) {
    painter.setPen(QColor(colour));
    for (int dx = -radius; dx <= radius; ++dx) {
        for (int dy = -radius; dy <= radius; ++dy) {
            DrawLine(painter, topLeft + QPoint(dx, dy), text);
        }
    }
}

}  // namespace

SubtitleFrame RenderSubtitleFrameLiterally(const QString& firstLine, const QString& secondLine,
                                           const RenderSettings& settings,
                                           const RoleColours& colours) {
    QImage frame = BlueFrame(settings.standard);
    const QFont font = SubtitleFont(settings);
    const SubtitleLayout layout =
        LayoutSubtitle(MeasureLine(font, firstLine), MeasureLine(font, secondLine), settings,
                       frame.width(), frame.height());
    {
        QPainter painter(&frame);
        painter.setFont(font);
        for (const auto& [text, topLeft] : {std::pair{firstLine, layout.firstTopLeft},
                                            std::pair{secondLine, layout.secondTopLeft}}) {
            DrawSquare(painter, topLeft, text, settings.outlineWidth, colours.outline);
            DrawSquare(painter, topLeft, text, 1, colours.antialias);
            DrawSquare(painter, topLeft, text, 0, colours.text);
        }
    }
    // The area reaches out to every row the passes painted, its top on an even row.
    int areaTop = layout.areaTop;
    int areaEnd = layout.areaTop + layout.areaHeight;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.pixel(x, y) != qRgb(0, 0, 255)) {
                areaTop = std::min(areaTop, y - y % 2);
                areaEnd = std::max(areaEnd, y + 1);
                break;
            }
        }
    }
    return {frame, areaTop, areaEnd - areaTop};
}

}  // namespace marvoxa::test

#include "render/subtitle_layout.h"

namespace marvoxa {

int LineLeft(int frameWidth, int lineWidth, const QString& align) {
    if (align == QLatin1String("center")) {
        return frameWidth / 2 - lineWidth / 2;
    }
    if (align == QLatin1String("left")) {
        return 8;
    }
    return frameWidth - lineWidth - 8;
}

SubtitleLayout LayoutSubtitle(const LineMetrics& first, const LineMetrics& second,
                              const RenderSettings& settings, int frameWidth, int frameHeight) {
    SubtitleLayout layout;
    const int firstTop = frameHeight - first.height - 40 - settings.bottomOffset;
    const int secondTop = firstTop + second.height - settings.lineOverlap;
    layout.firstTopLeft = {LineLeft(frameWidth, first.width, settings.align), firstTop};
    layout.secondTopLeft = {LineLeft(frameWidth, second.width, settings.align), secondTop};
    // The area moves up to an even row (also below zero); the text stays where it is.
    layout.areaTop = firstTop % 2 == 0 ? firstTop : firstTop - 1;
    layout.areaHeight = first.height + second.height - settings.lineOverlap + 6;
    return layout;
}

}  // namespace marvoxa

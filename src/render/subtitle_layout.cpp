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

CueLayout LayoutCueLines(const QList<LineMetrics>& lines, const RenderSettings& settings,
                         int frameWidth, int frameHeight) {
    Q_ASSERT(lines.size() >= 2);
    const qsizetype count = lines.size();
    QList<int> tops(count);
    tops[count - 1] = frameHeight - lines[count - 2].height + lines[count - 1].height - 40 -
                      settings.bottomOffset - settings.lineOverlap;
    int areaHeight = lines[count - 1].height + 6;
    for (qsizetype i = count - 2; i >= 0; --i) {
        tops[i] = tops[i + 1] - lines[i + 1].height + settings.lineOverlap;
        areaHeight += lines[i].height - settings.lineOverlap;
    }
    CueLayout layout;
    for (qsizetype i = 0; i < count; ++i) {
        layout.topLefts.append({LineLeft(frameWidth, lines[i].width, settings.align), tops[i]});
    }
    layout.areaTop = tops[0] % 2 == 0 ? tops[0] : tops[0] - 1;
    layout.areaHeight = areaHeight;
    return layout;
}

}  // namespace marvoxa

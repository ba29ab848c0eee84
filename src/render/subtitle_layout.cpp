#include "render/subtitle_layout.h"

#include <algorithm>

namespace marvoxa {

namespace {

int EvenRowAtOrAbove(int row) {
    return row % 2 == 0 ? row : row - 1;
}

// The tops of a stack of lines, each line below the one before by its own height less the
// line overlap, with the first line's top at 0.
QList<int> StackedTops(const QList<LineMetrics>& lines, int lineOverlap) {
    QList<int> tops(lines.size());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        tops[i] = tops[i - 1] + lines[i].height - lineOverlap;
    }
    return tops;
}

// Where a stack of lines is placed in its place's row, with its area.
CueLayout LayoutStack(const QList<LineMetrics>& lines, const Place& place,
                      const RenderSettings& settings, int frameWidth, int frameHeight) {
    const qsizetype count = lines.size();
    QList<int> tops = StackedTops(lines, settings.lineOverlap);
    int shift = 0;
    switch (place.row) {
        case Place::Row::Bottom:
            // The last line sits where a second line sits under a first line.
            shift = frameHeight - lines[std::max<qsizetype>(0, count - 2)].height +
                    lines[count - 1].height - 40 - settings.bottomOffset - settings.lineOverlap -
                    tops[count - 1];
            break;
        case Place::Row::Top:
            shift = 40 + settings.bottomOffset;
            break;
        case Place::Row::Middle:
            shift = frameHeight / 2 - (tops[count - 1] + lines[count - 1].height) / 2;
            break;
    }
    CueLayout layout;
    int areaHeight = 6;
    for (qsizetype i = 0; i < count; ++i) {
        layout.topLefts.append(
            {LineLeft(frameWidth, lines[i].width, place.column), tops[i] + shift});
        areaHeight += lines[i].height - (i + 1 < count ? settings.lineOverlap : 0);
    }
    layout.areaTop = EvenRowAtOrAbove(layout.topLefts[0].y());
    layout.areaHeight = areaHeight;
    return layout;
}

}  // namespace

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
    layout.areaTop = EvenRowAtOrAbove(firstTop);
    layout.areaHeight = first.height + second.height - settings.lineOverlap + 6;
    return layout;
}

CueLayout LayoutCueLines(const QList<LineMetrics>& lines, const RenderSettings& settings,
                         int frameWidth, int frameHeight) {
    Q_ASSERT(lines.size() >= 2);
    return LayoutStack(lines, Place{Place::Row::Bottom, settings.align}, settings, frameWidth,
                       frameHeight);
}

Place PlaceOf(int placement, const RenderSettings& settings) {
    if (placement < 1 || placement > 9) {
        const bool leftOrCentre =
            settings.align == QLatin1String("center") || settings.align == QLatin1String("left");
        return Place{Place::Row::Bottom, leftOrCentre ? settings.align : QStringLiteral("right")};
    }
    static const QStringList kColumns{QStringLiteral("left"), QStringLiteral("center"),
                                      QStringLiteral("right")};
    const Place::Row rows[] = {Place::Row::Bottom, Place::Row::Middle, Place::Row::Top};
    return Place{rows[(placement - 1) / 3], kColumns[(placement - 1) % 3]};
}

CueLayout LayoutPlacedLines(const QList<PlacedMetrics>& blocks, const RenderSettings& settings,
                            int frameWidth, int frameHeight) {
    QList<qsizetype> firstLine;  // of each block in topLefts
    qsizetype lineCount = 0;
    for (const PlacedMetrics& block : blocks) {
        firstLine.append(lineCount);
        lineCount += block.lines.size();
    }
    CueLayout layout;
    layout.topLefts.resize(lineCount);
    QList<Place> placesDone;
    int areaEnd = 0;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        const Place place = PlaceOf(blocks[b].placement, settings);
        if (blocks[b].lines.isEmpty() || placesDone.contains(place)) {
            continue;
        }
        placesDone.append(place);
        // The stack of this place, top line first: later blocks above earlier ones.
        QList<LineMetrics> stack;
        QList<qsizetype> stackLines;
        for (qsizetype other = blocks.size() - 1; other >= b; --other) {
            if (PlaceOf(blocks[other].placement, settings) != place) {
                continue;
            }
            for (qsizetype line = 0; line < blocks[other].lines.size(); ++line) {
                stack.append(blocks[other].lines[line]);
                stackLines.append(firstLine[other] + line);
            }
        }
        const CueLayout placed = LayoutStack(stack, place, settings, frameWidth, frameHeight);
        for (qsizetype i = 0; i < stack.size(); ++i) {
            layout.topLefts[stackLines[i]] = placed.topLefts[i];
        }
        const int end = placed.areaTop + placed.areaHeight;
        layout.areaTop =
            placesDone.size() == 1 ? placed.areaTop : std::min(layout.areaTop, placed.areaTop);
        areaEnd = placesDone.size() == 1 ? end : std::max(areaEnd, end);
    }
    layout.areaHeight = areaEnd - layout.areaTop;
    return layout;
}

}  // namespace marvoxa

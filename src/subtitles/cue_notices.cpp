#include "subtitles/cue_notices.h"

#include "render/glyph_coverage.h"
#include "render/subtitle_font.h"
#include "subtitles/cue_lines.h"
#include "subtitles/cue_time.h"
#include "subtitles/display_events.h"

namespace marvoxa {

namespace {

QString CueName(size_t index, const Cue& cue) {
    return QStringLiteral("subtitle %1 at %2").arg(index + 1).arg(FormatCueTime(cue.startMs));
}

}  // namespace

std::optional<QString> ExtraLinesNotice(const CueList& cueList, const RenderSettings& settings) {
    if (settings.text.allLines) {
        return std::nullopt;
    }
    qsizetype count = 0;
    QString first;
    for (size_t index = 0; index < cueList.cues.size(); ++index) {
        const Cue& cue = cueList.cues[index];
        if (DrawnCueLines(cueList, index, settings).count > 2 && count++ == 0) {
            first = CueName(index, cue);
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return (count == 1 ? QStringLiteral("1 subtitle has more than two lines; only its first two "
                                        "are drawn: %1.")
                             .arg(first)
                       : QStringLiteral("%1 subtitles have more than two lines; only their first "
                                        "two are drawn. The first is %2.")
                             .arg(count)
                             .arg(first)) +
           QStringLiteral(" To keep them, draw all lines (Options..., or --all-lines).");
}

std::optional<QString> UndrawableCharactersNotice(const CueList& cueList,
                                                  const RenderSettings& settings) {
    GlyphCoverage coverage(SubtitleFont(settings));
    qsizetype count = 0;
    QString first;
    for (size_t index = 0; index < cueList.cues.size(); ++index) {
        const Cue& cue = cueList.cues[index];
        char32_t missing = 0;
        for (const StyledLine& line : DrawnCueLines(cueList, index, settings).drawn) {
            if ((missing = coverage.firstUndrawable(line.text())) != 0) {
                break;
            }
        }
        if (missing != 0 && count++ == 0) {
            const QString code =
                QString::number(static_cast<uint>(missing), 16).toUpper().rightJustified(4, u'0');
            first = QStringLiteral("%1, character U+%2").arg(CueName(index, cue), code);
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return count == 1 ? QStringLiteral(
                            "1 subtitle holds characters that no installed font can "
                            "draw; they show as empty boxes: %1.")
                            .arg(first)
                      : QStringLiteral(
                            "%1 subtitles hold characters that no installed font can "
                            "draw; they show as empty boxes. The first is %2.")
                            .arg(count)
                            .arg(first);
}

std::optional<QString> OverlappingCuesNotice(const CueList& cueList) {
    const OverlappingCues overlapping = FindOverlappingCues(cueList);
    if (overlapping.count == 0) {
        return std::nullopt;
    }
    return QStringLiteral(
               "%1 subtitles overlap others in time; they are shown together, each "
               "later one above the earlier ones. The first is %2.")
        .arg(overlapping.count)
        .arg(CueName(overlapping.first, cueList.cues[overlapping.first]));
}

}  // namespace marvoxa

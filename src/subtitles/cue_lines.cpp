#include "subtitles/cue_lines.h"

#include "render/subtitle_font.h"
#include "subtitles/line_width_check.h"
#include "subtitles/line_wrapping.h"
#include "subtitles/markup.h"
#include "subtitles/text_decoding.h"

namespace marvoxa {

namespace {

QList<QByteArray> SourceLines(const CueList& cueList, size_t index, bool allLines) {
    const Cue& cue = cueList.cues[index];
    QList<QByteArray> lines;
    if (cueList.frameNumbered && allLines) {
        lines = cue.firstLine.split('|');
    } else {
        lines.append(cue.firstLine);
    }
    // A one-line cue has no second line to draw, only the room of one.
    if (!cue.secondLine.isEmpty()) {
        lines.append(cue.secondLine);
    }
    if (index < cueList.furtherLines.size()) {
        lines.append(cueList.furtherLines[index]);
    }
    return lines;
}

}  // namespace

CueLines DrawnCueLines(const CueList& cueList, size_t index, const RenderSettings& settings) {
    const TextOptions& options = settings.text;
    QStringList texts;
    for (const QByteArray& bytes : SourceLines(cueList, index, options.allLines)) {
        texts.append(CueLineText(bytes, cueList.encoding, settings));
    }
    QList<StyledLine> lines = ParseCueMarkup(texts, options.markup, cueList.frameNumbered);
    if (options.wrap) {
        const QFont font = SubtitleFont(settings);
        QList<StyledLine> wrapped;
        for (const StyledLine& line : lines) {
            wrapped.append(WrapLine(line, font, kMaxLineWidth));
        }
        lines = std::move(wrapped);
    }
    CueLines result{lines, lines.size(), CuePlacement(texts, options.markup)};
    if (!options.allLines && result.drawn.size() > 2) {
        result.drawn.resize(2);
    }
    return result;
}

}  // namespace marvoxa

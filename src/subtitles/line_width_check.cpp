#include "subtitles/line_width_check.h"

#include "render/subtitle_font.h"
#include "subtitles/cue_lines.h"
#include "subtitles/text_decoding.h"

#include <algorithm>

namespace marvoxa {

namespace {

constexpr char kTooLongOnLoadAdvice[] =
    "is too long. Please correct the srt and reload it. You can just use a smaler font size.";
constexpr char kTooLongAfterStyleChangeAdvice[] = "is too long. Please use a smaler font size.";
constexpr char kTooLongInPreviewAdvice[] = "is too long.";

QString TooLongMessage(const QStringList& lines, const char* advice) {
    return QStringLiteral("The string \r") + lines.join(QLatin1Char('\r')) + QLatin1Char('\r') +
           QLatin1String(advice);
}

QString TooLongMessage(const QString& firstLine, const QString& secondLine, const char* advice) {
    return TooLongMessage(QStringList{firstLine, secondLine}, advice);
}

}  // namespace

QString CueLineText(const QByteArray& bytes, TextEncoding encoding,
                    const RenderSettings& settings) {
    return DecodeCueText(bytes, encoding, settings.charset);
}

bool CueLinesFit(const QFont& font, const QString& firstLine, const QString& secondLine) {
    return MeasureLine(font, firstLine).width < kMaxLineWidth &&
           MeasureLine(font, secondLine).width < kMaxLineWidth;
}

bool CueLinesFit(const QFont& font, const QList<StyledLine>& lines) {
    return std::all_of(lines.cbegin(), lines.cend(), [&font](const StyledLine& line) {
        return MeasureLine(font, line).width < kMaxLineWidth;
    });
}

QStringList LineTexts(const QList<StyledLine>& lines) {
    QStringList texts;
    for (const StyledLine& line : lines) {
        texts.append(line.text());
    }
    while (texts.size() < 2) {
        texts.append(QString());
    }
    return texts;
}

std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings) {
    return FindFirstTooWideCue(cueList, settings, 0, cueList.cues.size());
}

std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings, size_t first,
                                              size_t end) {
    const QFont font = SubtitleFont(settings);
    for (size_t index = first; index < end; ++index) {
        const QList<StyledLine> lines = DrawnCueLines(cueList, index, settings).drawn;
        if (!CueLinesFit(font, lines)) {
            const QStringList texts = LineTexts(lines);
            return TooWideCue{static_cast<int>(index), texts[0], texts[1], texts};
        }
    }
    return std::nullopt;
}

QString TooLongOnLoadMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine, kTooLongOnLoadAdvice);
}

QString TooLongAfterStyleChangeMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine, kTooLongAfterStyleChangeAdvice);
}

QString TooLongInPreviewMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine, kTooLongInPreviewAdvice);
}

QString TooLongOnLoadMessage(const QStringList& lines) {
    return TooLongMessage(lines, kTooLongOnLoadAdvice);
}

QString TooLongAfterStyleChangeMessage(const QStringList& lines) {
    return TooLongMessage(lines, kTooLongAfterStyleChangeAdvice);
}

QString TooLongInPreviewMessage(const QStringList& lines) {
    return TooLongMessage(lines, kTooLongInPreviewAdvice);
}

}  // namespace marvoxa

#include "subtitles/line_width_check.h"

#include "render/subtitle_font.h"
#include "subtitles/text_decoding.h"

namespace marvoxa {

namespace {

QString TooLongMessage(const QString& firstLine, const QString& secondLine, const char* advice) {
    return QStringLiteral("The string \r") + firstLine + QLatin1Char('\r') + secondLine +
           QLatin1Char('\r') + QLatin1String(advice);
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

std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings) {
    const QFont font = SubtitleFont(settings);
    for (size_t index = 0; index < cueList.cues.size(); ++index) {
        const Cue& cue = cueList.cues[index];
        QString first = CueLineText(cue.firstLine, cueList.encoding, settings);
        QString second = CueLineText(cue.secondLine, cueList.encoding, settings);
        if (!CueLinesFit(font, first, second)) {
            return TooWideCue{static_cast<int>(index), std::move(first), std::move(second)};
        }
    }
    return std::nullopt;
}

QString TooLongOnLoadMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine,
                          "is too long. Please correct the srt and reload it. You can just use a "
                          "smaler font size.");
}

QString TooLongAfterStyleChangeMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine, "is too long. Please use a smaler font size.");
}

QString TooLongInPreviewMessage(const QString& firstLine, const QString& secondLine) {
    return TooLongMessage(firstLine, secondLine, "is too long.");
}

}  // namespace marvoxa

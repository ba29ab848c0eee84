#include "subtitles/sub_reader.h"

#include "subtitles/frame_rate.h"
#include "subtitles/half_even_rounding.h"
#include "subtitles/integer_text.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"

#include <optional>
#include <tuple>
#include <utility>

namespace marvoxa {
namespace {

// The frame-rate line starts with six characters that are not looked at, normally "{1}{1}".
constexpr qsizetype kFrameRatePrefixLength = 6;

// Frame times are computed from frame x 1000 in 32 bits; larger frame numbers would overflow.
constexpr qint32 kLargestFrameNumber = 2147483;

// Characters from..to of text, counted from 1 and inclusive; empty when to < from.
QByteArray Characters(const QByteArray& text, qsizetype from, qsizetype to) {
    if (to < from) {
        return {};
    }
    return text.mid(from - 1, to - from + 1);
}

Result<qint32> FrameNumberFromText(const QByteArray& text) {
    const Result<qint32> frame = IntegerFromText(text);
    if (frame && (frame.value() > kLargestFrameNumber || frame.value() < -kLargestFrameNumber)) {
        return NotAValidIntegerError(text);
    }
    return frame;
}

// With control codes after the frame numbers, the frame braces are the first two groups
// "{start}{end}": the positions (from 1) of the second "{" and of the "}" after it.
std::optional<std::pair<qsizetype, qsizetype>> FrameBraces(const QByteArray& entry) {
    const qsizetype firstClose = entry.indexOf('}', 1);
    if (firstClose < 0 || entry.size() <= firstClose + 1 || entry.at(firstClose + 1) != '{') {
        return std::nullopt;
    }
    const qsizetype secondClose = entry.indexOf('}', firstClose + 2);
    if (secondClose < 0) {
        return std::nullopt;
    }
    return std::pair{firstClose + 2, secondClose + 1};
}

Result<Cue> ReadSubLine(const QByteArray& entry, long double framesPerSecond, bool controlCodes) {
    // Positions (from 1) of the last "{", "}" and "|"; the leading brace is never looked at.
    qsizetype lastOpen = 0;
    qsizetype lastClose = 0;
    qsizetype lastBar = 0;
    for (qsizetype pos = 2; pos <= entry.size(); ++pos) {
        switch (entry.at(pos - 1)) {
            case '{':
                lastOpen = pos;
                break;
            case '}':
                lastClose = pos;
                break;
            case '|':
                lastBar = pos;
                break;
            default:
                break;
        }
    }
    if (const auto braces = controlCodes ? FrameBraces(entry) : std::nullopt) {
        std::tie(lastOpen, lastClose) = *braces;
        lastBar = lastBar > lastClose ? lastBar : 0;
    }
    const Result<qint32> startFrame = FrameNumberFromText(Characters(entry, 2, lastOpen - 2));
    if (!startFrame) {
        return startFrame.error();
    }
    const Result<qint32> endFrame =
        FrameNumberFromText(Characters(entry, lastOpen + 1, lastClose - 1));
    if (!endFrame) {
        return endFrame.error();
    }

    // Both quotients stay unrounded until the duration is taken, in extended precision.
    const long double startTime = static_cast<qint32>(startFrame.value() * 1000) / framesPerSecond;
    const long double endTime = static_cast<qint32>(endFrame.value() * 1000) / framesPerSecond;
    Cue cue;
    cue.startMs = static_cast<qint32>(RoundHalfEven(startTime));
    cue.durationMs = static_cast<qint32>(RoundHalfEven(endTime - startTime));
    if (lastBar != 0) {
        cue.firstLine = Characters(entry, lastClose + 1, lastBar - 1);
        cue.secondLine = Characters(entry, lastBar + 1, entry.size());
    } else {
        cue.firstLine = Characters(entry, lastClose + 1, entry.size());
    }
    cue.displayEntry = entry;
    return cue;
}

}  // namespace

CueReading ReadSubCues(const QList<QByteArray>& rawLines, bool controlCodes) {
    CueReading reading;
    const QByteArray frameRateText = RawLineAt(rawLines, 0).mid(kFrameRatePrefixLength);
    const std::optional<long double> framesPerSecond = FrameRateFromText(frameRateText);
    if (!framesPerSecond) {
        reading.frameRateRefused = true;
        reading.error = Error{ErrorKind::Format, QString(kFrameRateLineMessage)};
        return reading;
    }
    for (qsizetype i = 1; i < rawLines.size(); ++i) {
        const QByteArray& line = rawLines.at(i);
        if (!line.startsWith('{')) {
            continue;
        }
        Result<Cue> cue = ReadSubLine(line, *framesPerSecond, controlCodes);
        if (!cue) {
            reading.error = cue.error();
            break;
        }
        reading.cues.push_back(std::move(cue).value());
    }
    return reading;
}

}  // namespace marvoxa

#include "subtitles/srt_reader.h"

#include "subtitles/half_even_rounding.h"
#include "subtitles/raw_lines.h"
#include "subtitles/srt_timing_line.h"

#include <algorithm>

namespace marvoxa {
namespace {

// The timing of line, nothing when it is no timing line, or the error that stops reading.
struct TimingLineOutcome {
    std::optional<TimingLine> timing;
    bool unreadable = false;
    std::optional<Error> error;
};

TimingLineOutcome ReadTimingLine(const QByteArray& line) {
    if (HasStrictTimingShape(line)) {
        Result<TimingLine> strict = ReadStrictTimingLine(line);
        if (strict) {
            return {strict.value(), false, std::nullopt};
        }
        // Of classic length by chance (e.g. a one-digit hour padded with a blank): read it
        // leniently before giving up.
        if (const std::optional<TimingLine> lenient = ReadLenientTimingLine(line)) {
            return {lenient, false, std::nullopt};
        }
        return {std::nullopt, false, strict.error()};
    }
    if (!line.contains(QByteArrayLiteral("-->"))) {
        return {};
    }
    if (const std::optional<TimingLine> lenient = ReadLenientTimingLine(line)) {
        return {lenient, false, std::nullopt};
    }
    return {std::nullopt, true, std::nullopt};
}

// A cue's text ends at an empty line, at a timing line and at the number line before one.
bool EndsCueText(const QList<QByteArray>& rawLines, qsizetype index) {
    const QByteArray line = RawLineAt(rawLines, index);
    return line.isEmpty() || line.contains(QByteArrayLiteral("-->")) ||
           RawLineAt(rawLines, index + 1).contains(QByteArrayLiteral("-->"));
}

}  // namespace

CueReading ReadSrtCues(const QList<QByteArray>& rawLines) {
    CueReading reading;
    // Every cue has a timing line: room for them all, so a long film's list is not copied
    // while it grows.
    reading.cues.reserve(static_cast<size_t>(std::count_if(
        rawLines.cbegin(), rawLines.cend(),
        [](const QByteArray& line) { return line.contains(QByteArrayLiteral("-->")); })));
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        TimingLineOutcome outcome = ReadTimingLine(rawLines.at(i));
        if (outcome.error) {
            reading.error = std::move(outcome.error);
            break;
        }
        if (outcome.unreadable) {
            if (reading.unreadableTimingLines == 0) {
                reading.firstUnreadableLineNumber = i + 1;
            }
            ++reading.unreadableTimingLines;
            continue;
        }
        if (!outcome.timing) {
            continue;
        }
        const QByteArray first = RawLineAt(rawLines, i + 1);
        if (first.isEmpty()) {
            // A cue without text: dropped whole so that all fields stay aligned.
            continue;
        }
        const QByteArray second = RawLineAt(rawLines, i + 2);
        Cue cue;
        cue.startMs = static_cast<qint32>(RoundHalfEven(outcome.timing->startMs));
        cue.durationMs =
            static_cast<qint32>(RoundHalfEven(outcome.timing->endMs - outcome.timing->startMs));
        cue.firstLine = first;
        cue.secondLine = second;
        cue.displayEntry = second.isEmpty() ? first : first + QByteArrayLiteral(" | ") + second;
        QList<QByteArray> further;
        if (!second.isEmpty() && !second.contains(QByteArrayLiteral("-->"))) {
            for (qsizetype k = i + 3; !EndsCueText(rawLines, k); ++k) {
                further.append(rawLines.at(k));
            }
        }
        if (!further.isEmpty()) {
            // Held only up to the last cue that has further lines: most files have none, and a
            // list per cue would cost a film-length file megabytes.
            reading.furtherLines.resize(reading.cues.size());
            reading.furtherLines.push_back(std::move(further));
        }
        reading.cues.push_back(std::move(cue));
    }
    return reading;
}

}  // namespace marvoxa

#pragma once

#include "subtitles/cue_time.h"

#include <QLatin1String>
#include <QString>

namespace marvoxa {

// The exact user-facing texts of subtitle loading, typos included: users and their guides quote
// them verbatim.

inline constexpr QLatin1String kLoadIfoFirstMessage(
    "Please load an Ifo file first and then an Srt/Sub/Txt file.");
inline constexpr QLatin1String kLoadingSubtitleCaption("Marvoxa By Pellorn Loading Subtitle...");
inline constexpr QLatin1String kFrameRateLineMessage(
    "The first line of the sub must contain the framerate. Ex: {1}{1}25.000");
// %1: the text that failed to convert.
inline constexpr QLatin1String kNotAValidIntegerMessage("'%1' is not a valid integer value");
// %1: the path of the file.
inline constexpr QLatin1String kCannotOpenFileMessage("Cannot open file %1");
// The same followed by the system's reason, "Cannot open file a.srt: No such file or directory".
inline QString CannotOpenFileMessage(const QString& path, int errorNumber) {
    return QString(kCannotOpenFileMessage).arg(path) + QStringLiteral(": ") +
           qt_error_string(errorNumber);
}

// Said when a file gives no subtitle at all, at its load and at generation.
inline constexpr QLatin1String kNoSubtitlesMessage(
    "The subtitle file holds no subtitles, so there is nothing to generate. Load a subtitle file "
    "with at least one subtitle.");

inline constexpr QLatin1String kNoWebVttHeaderMessage(
    "This is not a WebVTT file: its first line must begin with WEBVTT.");
inline constexpr QLatin1String kNoAssEventsMessage(
    "This is not an ASS or SSA subtitle file: it has no [Events] section with Dialogue lines.");

// What readable timing lines look like in each form, for UnreadableTimingLinesNotice.
inline constexpr QLatin1String kSrtTimingExample("00:01:02,345 --> 00:01:04,500");
inline constexpr QLatin1String kVttTimingExample("00:01:02.345 --> 00:01:04.500");
inline constexpr QLatin1String kAssTimingExample(
    "Dialogue: 0,0:01:02.34,0:01:04.50,Default,,0,0,0,,Text");

// Names how many timing lines could not be read, where the first one is (line numbers count
// from 1) and what a readable timing line looks like.
inline QString UnreadableTimingLinesNotice(qsizetype count, qsizetype firstLineNumber,
                                           QLatin1String example = kSrtTimingExample) {
    if (count == 1) {
        return QStringLiteral(
                   "1 timing line could not be read and was skipped: line %1. "
                   "Write timing lines like %2.")
            .arg(firstLineNumber)
            .arg(example);
    }
    return QStringLiteral(
               "%1 timing lines could not be read and were skipped; the first is line "
               "%2. Write timing lines like %3.")
        .arg(count)
        .arg(firstLineNumber)
        .arg(example);
}

// Names how many subtitles were left out because nothing but markup was left of them (a
// drawing, an empty line) and when the first starts.
inline QString TextlessCuesNotice(qsizetype count, qint64 firstStartMs) {
    if (count == 1) {
        return QStringLiteral(
                   "1 subtitle has no text to draw once its tags are removed and was left out: "
                   "the one at %1.")
            .arg(FormatCueTime(firstStartMs));
    }
    return QStringLiteral(
               "%1 subtitles have no text to draw once their tags are removed and were left "
               "out; the first is at %2.")
        .arg(count)
        .arg(FormatCueTime(firstStartMs));
}

// Names the first line of a mostly UTF-8 file that is not valid UTF-8 (line numbers count from 1).
inline QString CodePageLinesNotice(qsizetype firstLineNumber) {
    return QStringLiteral(
               "Line %1 is not valid UTF-8 although other lines are; it and any other such line "
               "are read in the code page of the chosen charset.")
        .arg(firstLineNumber);
}

}  // namespace marvoxa

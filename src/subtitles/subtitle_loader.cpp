#include "subtitles/subtitle_loader.h"

#include "common/regular_file.h"
#include "subtitles/ass_reader.h"
#include "subtitles/media_reader.h"
#include "subtitles/raw_lines.h"
#include "subtitles/srt_reader.h"
#include "subtitles/sub_reader.h"
#include "subtitles/subtitle_messages.h"
#include "subtitles/vtt_reader.h"
#include "subtitles/wide_text.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace marvoxa {
namespace {

enum class SubtitleForm { Srt, Sub, Vtt, Ass, Unknown };

SubtitleForm FormOfFile(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return SubtitleForm::Unknown;
    }
    const QString extension = name.mid(dot).toUpper();
    if (extension == QLatin1String(".SRT")) {
        return SubtitleForm::Srt;
    }
    if (extension == QLatin1String(".SUB") || extension == QLatin1String(".TXT")) {
        return SubtitleForm::Sub;
    }
    if (extension == QLatin1String(".VTT")) {
        return SubtitleForm::Vtt;
    }
    if (extension == QLatin1String(".ASS") || extension == QLatin1String(".SSA")) {
        return SubtitleForm::Ass;
    }
    return SubtitleForm::Unknown;
}

// All of an open regular file in one buffer of its exact size: readAll rounds the buffer up by
// half again, which a long film's subtitles notice.
QByteArray ReadWholeFile(QFile& file) {
    QByteArray bytes(file.size(), Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), bytes.size());
    bytes.resize(std::max<qint64>(0, read));
    if (read == file.size()) {
        bytes += file.readAll();  // grown since its size was taken
    }
    return bytes;
}

SubtitleLoad LoadSubtitleText(QByteArray bytes, const QString& fileName, MarkupMode markup) {
    SubtitleLoad load;
    // From here on UTF-16 and UTF-32 text is UTF-8 like any other.
    const std::optional<QByteArray> wide = WideTextAsUtf8(bytes);
    // A byte-order mark would otherwise glue itself to the first line and spoil a SUB frame-rate
    // line; it still tells that the file is UTF-8.
    const bool hadUtf8Bom = !wide && StartsWithUtf8Bom(bytes);
    QByteArray text = wide ? *wide : hadUtf8Bom ? bytes.mid(3) : bytes;
    load.cueList.rawLines = SplitRawLines(text);
    load.cueList.encoding = DetectTextEncoding(text, hadUtf8Bom || wide.has_value());
    // The lines hold their own copies: a file read for loading is freed before its cues are.
    text.clear();
    bytes.clear();

    CueReading reading;
    QLatin1String timingExample = kSrtTimingExample;
    switch (FormOfFile(fileName)) {
        case SubtitleForm::Srt:
            reading = ReadSrtCues(load.cueList.rawLines);
            break;
        case SubtitleForm::Vtt:
            reading = ReadVttCues(load.cueList.rawLines, markup);
            timingExample = kVttTimingExample;
            break;
        case SubtitleForm::Ass:
            reading = ReadAssCues(load.cueList.rawLines, markup);
            timingExample = kAssTimingExample;
            break;
        case SubtitleForm::Sub:
            reading = ReadSubCues(load.cueList.rawLines, markup != MarkupMode::Text);
            load.cueList.frameNumbered = true;
            break;
        case SubtitleForm::Unknown:
            return load;
    }
    load.cueList.cues = std::move(reading.cues);
    load.cueList.furtherLines = std::move(reading.furtherLines);
    load.loadFailed = reading.frameRateRefused;
    load.error = std::move(reading.error);
    QStringList notices;
    if (reading.unreadableTimingLines > 0) {
        notices << UnreadableTimingLinesNotice(reading.unreadableTimingLines,
                                               reading.firstUnreadableLineNumber, timingExample);
    }
    if (reading.textlessCues > 0) {
        notices << TextlessCuesNotice(reading.textlessCues, reading.firstTextlessStartMs);
    }
    if (load.cueList.encoding == TextEncoding::Legacy) {
        if (const auto line = FirstCodePageLineAmongUtf8(load.cueList.rawLines)) {
            notices << CodePageLinesNotice(*line + 1);
        }
    }
    if (!notices.isEmpty()) {
        load.notice = notices.join(QLatin1Char('\r'));
    }
    return load;
}

SubtitleLoad LoadMediaTrack(const QString& path, int track, MarkupMode markup) {
    SubtitleLoad load;
    // libavcodec hands every text subtitle over as UTF-8.
    load.cueList.encoding = TextEncoding::Utf8;
    CueReading reading = ReadMediaSubtitles(path, track, markup);
    load.cueList.cues = std::move(reading.cues);
    load.cueList.furtherLines = std::move(reading.furtherLines);
    load.error = std::move(reading.error);
    if (reading.textlessCues > 0) {
        load.notice = TextlessCuesNotice(reading.textlessCues, reading.firstTextlessStartMs);
    }
    return load;
}

}  // namespace

SubtitleLoad LoadSubtitleFile(const QString& path, MarkupMode markup, int track) {
    if (IsMediaFileName(path)) {
        return LoadMediaTrack(path, track, markup);
    }
    const OpenedInput opened = OpenRegularFileForReading(path);
    QFile file;
    if (opened.descriptor < 0 ||
        !file.open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        SubtitleLoad load;
        load.error = Error{ErrorKind::Io, opened.notRegular
                                              ? NotRegularFileMessage(path)
                                              : CannotOpenFileMessage(path, opened.errorNumber)};
        return load;
    }
    return LoadSubtitleText(ReadWholeFile(file), path, markup);
}

QList<MediaTrack> TextTracksToChooseFrom(const QString& path) {
    if (!IsMediaFileName(path)) {
        return {};
    }
    const Result<QList<MediaTrack>> tracks = ReadMediaTracks(path);
    return tracks ? TextSubtitleTracks(tracks.value()) : QList<MediaTrack>();
}

SubtitleLoad LoadSubtitleBytes(const QByteArray& bytes, const QString& fileName,
                               MarkupMode markup) {
    return LoadSubtitleText(bytes, fileName, markup);
}

}  // namespace marvoxa

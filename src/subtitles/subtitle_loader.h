#pragma once

#include "common/result.h"
#include "render/text_options.h"
#include "subtitles/cue_list.h"
#include "subtitles/media_tracks.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace marvoxa {

// The outcome of loading one subtitle file. Reading never throws and never shows anything; the
// caller reports error and notice to the user.
struct SubtitleLoad {
    // Whatever was read, also when an error stopped the load part way.
    CueList cueList;
    // The SUB/TXT first line names no accepted frame rate; error holds the message. The line
    // width check still runs afterwards (it shows no success message while this is set).
    bool loadFailed = false;
    // The message to show: the frame-rate message (kind Format, with loadFailed), a field that is
    // not an integer (kind Conversion), a file that cannot be opened (kind Io), a WebVTT file
    // without its header or an ASS/SSA file without events (kind Format, no cues). After all but
    // the first the load action ends without the line width check.
    std::optional<Error> error;
    // What the user should know about a load that went through, lines separated by CR: timing
    // lines that could not be read and were skipped; WebVTT and ASS subtitles left out for having
    // no text; the first line of a UTF-8 file that had to be read in the code page.
    std::optional<QString> notice;
};

// Reads the file at path and dispatches on its extension, upper-cased, from the last dot of the
// file name: ".SRT" reads SRT, ".SUB" and ".TXT" read SUB, ".VTT" WebVTT, ".ASS" and ".SSA"
// ASS/SSA, a video container's (".MKV", ".MP4", ".WEBM" and the others of IsMediaFileName) its
// subtitle track `track`, counting from 1, or with 0 its first text track; any other extension
// reads no cues. UTF-16 and UTF-32 files are read as their UTF-8 equivalent. Unless markup is
// drawn as text, SUB/TXT lines may carry MicroDVD control codes after their frame numbers.
// WebVTT and ASS styling, in files and in containers, becomes the cue markup of SRT lines for
// markup drawn with styles or stripped, and plain text for markup drawn as text.
SubtitleLoad LoadSubtitleFile(const QString& path, MarkupMode markup = MarkupMode::Text,
                              int track = 0);

// The text subtitle tracks of the video container at path, for the user to choose one; empty
// for other files and for a container that cannot be read (loading it then says why).
QList<MediaTrack> TextTracksToChooseFrom(const QString& path);

// The same for bytes already in memory; fileName decides the form.
SubtitleLoad LoadSubtitleBytes(const QByteArray& bytes, const QString& fileName,
                               MarkupMode markup = MarkupMode::Text);

}  // namespace marvoxa

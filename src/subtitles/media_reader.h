#pragma once

#include "common/result.h"
#include "render/text_options.h"
#include "subtitles/cue_reading.h"
#include "subtitles/media_tracks.h"

#include <QList>
#include <QString>

namespace marvoxa {

// The subtitle tracks of video and audio containers (Matroska, WebM, MP4, QuickTime, MPEG
// transport streams), read through libavformat and libavcodec in a module that is loaded when
// the first container is read. When it cannot be loaded, the error (ErrorKind::Io) says so.

// True for the file names whose extension (any case) names a container read here.
bool IsMediaFileName(const QString& fileName);

// Every stream of the container at path, in stream order. The error says why libavformat cannot
// read it.
Result<QList<MediaTrack>> ReadMediaTracks(const QString& path);

// Reads subtitle track `track` (counting from 1 among the subtitle streams; 0: the first text
// track) of the container at path. Its events, decoded by libavcodec as ASS dialogue, become
// cues with their override tags handled as markup says; times are the packets' own, in
// milliseconds; events with no text left are counted, not kept. The error, which comes without
// cues, explains a container without a text track, a track that is missing or a picture track,
// and a file that libavformat cannot read to its end.
CueReading ReadMediaSubtitles(const QString& path, int track, MarkupMode markup);

}  // namespace marvoxa

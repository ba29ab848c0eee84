#pragma once

#include "common/video_standard.h"
#include "palette/palette.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace marvoxa {

// The head of a VobSub .idx file (version 7): frame size, the 16 palette entries as the RGB
// colours they are displayed in, and the one subtitle stream, named by its two-letter
// language code. With forced, players show its subtitles even when subtitles are off.
QByteArray VobSubIndexHeader(VideoStandard standard, const Palette& palette,
                             const QString& language, bool forced = false);

// "id: fr, index: 1": the line that begins the cues of a further stream.
QByteArray VobSubTrackLine(const QString& language, int track);

// "timestamp: 00:01:02:500, filepos: 00000a800": where in the .sub file a cue starts.
QByteArray VobSubTimestampLine(qint64 startMs, qint64 filePosition);

// A language code the index and dvdauthor accept: two lower-case letters (ISO 639-1).
bool IsLanguageCode(const QString& code);

}  // namespace marvoxa

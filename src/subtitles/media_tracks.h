#pragma once

#include "common/result.h"

#include <QList>
#include <QString>

namespace marvoxa {

// One stream of a video or audio container, as libavformat lists it.
struct MediaTrack {
    enum class Kind { Video, Audio, Subtitle, Other };
    Kind kind = Kind::Other;
    // Among the subtitle streams, counting from 1 as ffprobe and players do; 0 for the others.
    int subtitleNumber = 0;
    // libavcodec's name, such as "subrip", "ass", "mov_text", "dvd_subtitle" or "h264".
    QString codec;
    // The container's language tag, such as "eng"; empty when untagged.
    QString language;
    QString title;
    // A subtitle whose events are text that libavcodec decodes; picture subtitles are not.
    bool text = false;
};

// 2: subrip, eng, "Dialogue" -- the subtitle number, codec, language and title, for lists the
// user chooses from.
QString SubtitleTrackLabel(const MediaTrack& track);

// The text subtitle tracks among tracks, in order.
QList<MediaTrack> TextSubtitleTracks(const QList<MediaTrack>& tracks);

// The subtitle track to read from the container at path: the requested one (counting
// from 1) or, with 0, the first text track. The error, for the user, says why none can be read
// and lists the tracks there are.
Result<MediaTrack> ChooseSubtitleTrack(const QList<MediaTrack>& tracks, int requested,
                                       const QString& path);

}  // namespace marvoxa

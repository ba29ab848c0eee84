#include "subtitles/media_tracks.h"

#include <QStringList>

#include <algorithm>

namespace marvoxa {

namespace {

const QLatin1String kPicturesHoldNoText(
    "Picture subtitles (dvd_subtitle, hdmv_pgs_subtitle) hold no text to draw.");

QString KindName(MediaTrack::Kind kind) {
    switch (kind) {
        case MediaTrack::Kind::Video:
            return QStringLiteral("video");
        case MediaTrack::Kind::Audio:
            return QStringLiteral("audio");
        case MediaTrack::Kind::Subtitle:
            return QStringLiteral("subtitle");
        case MediaTrack::Kind::Other:
            break;
    }
    return QStringLiteral("other");
}

// subrip, eng, "Dialogue": the codec, the language and the title where there are any.
QString TrackDetails(const MediaTrack& track) {
    QStringList parts{track.codec.isEmpty() ? QStringLiteral("unknown codec") : track.codec};
    if (!track.language.isEmpty()) {
        parts << track.language;
    }
    if (!track.title.isEmpty()) {
        parts << QLatin1Char('"') + track.title + QLatin1Char('"');
    }
    return parts.join(QStringLiteral(", "));
}

// "  subtitle 2: subrip, eng" or "  audio: aac": every stream, the subtitles numbered as
// --track counts them.
QString TrackListing(const QList<MediaTrack>& tracks) {
    QStringList lines;
    for (const MediaTrack& track : tracks) {
        lines << QStringLiteral("  ") + KindName(track.kind) +
                     (track.kind == MediaTrack::Kind::Subtitle
                          ? QLatin1Char(' ') + SubtitleTrackLabel(track)
                          : QStringLiteral(": ") + TrackDetails(track));
    }
    return lines.join(QLatin1Char('\r'));
}

}  // namespace

QString SubtitleTrackLabel(const MediaTrack& track) {
    return QString::number(track.subtitleNumber) + QStringLiteral(": ") + TrackDetails(track);
}

QList<MediaTrack> TextSubtitleTracks(const QList<MediaTrack>& tracks) {
    QList<MediaTrack> text;
    std::copy_if(tracks.cbegin(), tracks.cend(), std::back_inserter(text),
                 [](const MediaTrack& track) { return track.text; });
    return text;
}

Result<MediaTrack> ChooseSubtitleTrack(const QList<MediaTrack>& tracks, int requested,
                                       const QString& path) {
    const auto refuse = [&](const QString& why) {
        QString message = why + QStringLiteral(" Its tracks:\r");
        message += tracks.isEmpty() ? QStringLiteral("  none") : TrackListing(tracks);
        return Error{ErrorKind::Format, message + QLatin1Char('\r') + kPicturesHoldNoText};
    };
    if (requested == 0) {
        const QList<MediaTrack> text = TextSubtitleTracks(tracks);
        if (text.isEmpty()) {
            return refuse(QStringLiteral("%1 has no text subtitle track to convert.").arg(path));
        }
        return text.front();
    }
    const auto found = std::find_if(tracks.cbegin(), tracks.cend(), [&](const MediaTrack& track) {
        return track.subtitleNumber == requested;
    });
    if (found == tracks.cend()) {
        return refuse(QStringLiteral("%1 has no subtitle track %2.").arg(path).arg(requested));
    }
    if (!found->text) {
        return refuse(QStringLiteral("Subtitle track %1 of %2 is %3, not text.")
                          .arg(requested)
                          .arg(path, found->codec));
    }
    return *found;
}

}  // namespace marvoxa

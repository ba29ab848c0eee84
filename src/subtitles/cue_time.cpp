#include "subtitles/cue_time.h"

namespace marvoxa {

QString FormatCueTime(qint64 milliseconds) {
    const qint64 magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    return QLatin1String(milliseconds < 0 ? "-" : "") +
           QStringLiteral("%1:%2:%3,%4")
               .arg(magnitude / 3'600'000, 2, 10, QLatin1Char('0'))
               .arg(magnitude / 60'000 % 60, 2, 10, QLatin1Char('0'))
               .arg(magnitude / 1000 % 60, 2, 10, QLatin1Char('0'))
               .arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace marvoxa

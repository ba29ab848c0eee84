#include "subtitles/cue_time.h"

#include <algorithm>
#include <limits>

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

namespace {

// The value of text when it is minDigits to maxDigits decimal digits.
std::optional<qint64> Digits(QByteArrayView text, qsizetype minDigits, qsizetype maxDigits) {
    if (text.size() < minDigits || text.size() > maxDigits) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<qint32> ReadClockTime(QByteArrayView text) {
    const qsizetype lastColon = text.lastIndexOf(':');
    if (lastColon < 0) {
        return std::nullopt;
    }
    const qsizetype firstColon = text.indexOf(':');
    QByteArrayView seconds = text.sliced(lastColon + 1);
    qint64 fractionMs = 0;
    if (const qsizetype point = std::max(seconds.indexOf('.'), seconds.indexOf(',')); point >= 0) {
        const std::optional<qint64> fraction = Digits(seconds.sliced(point + 1), 0, 3);
        if (!fraction) {
            return std::nullopt;
        }
        // ".5" is half a second: the digits are a decimal fraction.
        static constexpr qint64 kScale[] = {0, 100, 10, 1};
        fractionMs = *fraction * kScale[seconds.size() - point - 1];
        seconds.truncate(point);
    }
    const bool hasHours = firstColon != lastColon;
    const qsizetype minutesStart = hasHours ? firstColon + 1 : 0;
    // More hour digits than this overflow a cue's time anyway; the limit keeps qint64 safe.
    const std::optional<qint64> hours = hasHours ? Digits(text.first(firstColon), 1, 9) : 0;
    const std::optional<qint64> minutes =
        Digits(text.sliced(minutesStart, lastColon - minutesStart), 1, 2);
    const std::optional<qint64> wholeSeconds = Digits(seconds, 1, 2);
    if (!hours || !minutes || !wholeSeconds) {
        return std::nullopt;
    }
    const qint64 ms = ((*hours * 60 + *minutes) * 60 + *wholeSeconds) * 1000 + fractionMs;
    if (ms > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return static_cast<qint32>(ms);
}

}  // namespace marvoxa

#include "dvd/dvd_time.h"

namespace marvoxa {
namespace {

constexpr quint8 kRateBits = 0xc0;
constexpr quint8 kRate25 = 0x40;
constexpr quint8 kRate2997 = 0xc0;
constexpr qint64 kTicksPerPalFrame = 3600;
constexpr qint64 kTicksPerNtscFrame = 3003;  // 90000 / 29.97

// -1 when a nibble is no decimal digit.
int FromBcd(quint8 value) {
    const int tens = value >> 4;
    const int units = value & 0x0f;
    return tens > 9 || units > 9 ? -1 : tens * 10 + units;
}

Error BadTime(quint8 hour, quint8 minute, quint8 second, quint8 frameByte, const char* why) {
    return Error{ErrorKind::Format, QStringLiteral("the playback time %1:%2:%3 frame byte %4 %5")
                                        .arg(hour, 2, 16, QLatin1Char('0'))
                                        .arg(minute, 2, 16, QLatin1Char('0'))
                                        .arg(second, 2, 16, QLatin1Char('0'))
                                        .arg(frameByte, 2, 16, QLatin1Char('0'))
                                        .arg(QLatin1String(why))};
}

}  // namespace

Result<DvdTime> DecodeDvdTime(quint8 hour, quint8 minute, quint8 second, quint8 frameByte) {
    DvdTime time;
    time.hours = FromBcd(hour);
    time.minutes = FromBcd(minute);
    time.seconds = FromBcd(second);
    time.frames = FromBcd(frameByte & 0x3f);
    if (time.hours < 0 || time.minutes < 0 || time.seconds < 0 || time.frames < 0) {
        return BadTime(hour, minute, second, frameByte, "holds a digit above 9");
    }
    if (time.minutes > 59 || time.seconds > 59) {
        return BadTime(hour, minute, second, frameByte, "has more than 59 minutes or seconds");
    }
    qint64 frameTicks = 0;
    switch (frameByte & kRateBits) {
        case kRate25:
            time.framesPerSecond = 25;
            frameTicks = kTicksPerPalFrame;
            break;
        case kRate2997:
            time.framesPerSecond = 30;
            frameTicks = kTicksPerNtscFrame;
            break;
        default:
            // Empty cells carry no rate; any frame count needs one.
            if (time.frames != 0) {
                return BadTime(hour, minute, second, frameByte, "names no frame rate");
            }
    }
    if (time.framesPerSecond != 0 && time.frames >= time.framesPerSecond) {
        return BadTime(hour, minute, second, frameByte, "counts more frames than a second has");
    }
    time.ticks = ((time.hours * 60 + time.minutes) * 60 + time.seconds) * kTicksPerSecond +
                 time.frames * frameTicks;
    return time;
}

}  // namespace marvoxa

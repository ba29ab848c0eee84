#include "pgs/pgs_format.h"

#include "subtitles/frame_rate.h"

#include <cmath>

namespace marvoxa {

namespace {

// The codes of the video descriptor's frame_rate field, in the order of PgsRateNames.
constexpr quint8 kRateCodes[] = {0x10, 0x20, 0x30, 0x40, 0x60, 0x70};

}  // namespace

const QStringList& PgsSizeNames() {
    static const QStringList names{QStringLiteral("1920x1080"), QStringLiteral("1280x720"),
                                   QStringLiteral("720x480"), QStringLiteral("720x576"),
                                   QStringLiteral("3840x2160")};
    return names;
}

std::optional<QSize> PgsSizeFromName(const QString& name) {
    if (!PgsSizeNames().contains(name)) {
        return std::nullopt;
    }
    const QStringList sides = name.split(QLatin1Char('x'));
    return QSize(sides[0].toInt(), sides[1].toInt());
}

QString PgsSizeName(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

const QStringList& PgsRateNames() {
    static const QStringList names{QStringLiteral("23.976"), QStringLiteral("24"),
                                   QStringLiteral("25"),     QStringLiteral("29.97"),
                                   QStringLiteral("50"),     QStringLiteral("59.94")};
    return names;
}

std::optional<quint8> PgsRateCodeFromName(const QString& name) {
    const qsizetype index = PgsRateNames().indexOf(name);
    if (index < 0) {
        return std::nullopt;
    }
    return kRateCodes[index];
}

quint8 PgsRateCodeOf(const CueList& cueList) {
    // The SUB/TXT frame-rate line names its rate after six characters such as "{1}{1}".
    if (!cueList.frameNumbered || cueList.rawLines.isEmpty()) {
        return kPgsRate23976;
    }
    const std::optional<long double> rate = FrameRateFromText(cueList.rawLines[0].mid(6));
    if (!rate) {
        return kPgsRate23976;
    }
    const long double rounded = std::round(*rate * 1000) / 1000;
    if (rounded == 23.976L) {
        return 0x10;
    }
    if (rounded == 24) {
        return 0x20;
    }
    if (rounded == 25) {
        return 0x30;
    }
    return 0x40;  // 29.97 and 30
}

}  // namespace marvoxa

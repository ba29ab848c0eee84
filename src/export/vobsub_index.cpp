#include "export/vobsub_index.h"

#include <QStringList>

namespace marvoxa {

namespace {

QString Hex(quint64 value, int digits) {
    return QString::number(value, 16).rightJustified(digits, QLatin1Char('0'));
}

}  // namespace

QByteArray VobSubIndexHeader(VideoStandard standard, const Palette& palette,
                             const QString& language, bool forced) {
    QStringList colours;
    for (const PaletteEntry& entry : palette.entries) {
        colours << Hex(entry.displayColour & 0xffffffu, 6);
    }
    const QString text =
        QStringLiteral(
            "# VobSub index file, v7 (do not modify this line!)\n"
            "# Written by Marvoxa\n"
            "\n"
            "size: %1x%2\n"
            "org: 0, 0\n"
            "scale: 100%, 100%\n"
            "alpha: 100%\n"
            "smooth: OFF\n"
            "fadein/out: 0, 0\n"
            "align: OFF at LEFT TOP\n"
            "time offset: 0\n"
            "forced subs: %5\n"
            "palette: %3\n"
            "custom colors: OFF, tridx: 0000, colors: 000000, 000000, 000000, 000000\n"
            "\n"
            "langidx: 0\n"
            "\n"
            "id: %4, index: 0\n")
            .arg(kFrameWidth)
            .arg(FrameHeight(standard))
            .arg(colours.join(QLatin1String(", ")), language,
                 forced ? QLatin1String("ON") : QLatin1String("OFF"));
    return text.toUtf8();
}

QByteArray VobSubTrackLine(const QString& language, int track) {
    return QStringLiteral("\nid: %1, index: %2\n").arg(language).arg(track).toLatin1();
}

QByteArray VobSubTimestampLine(qint64 startMs, qint64 filePosition) {
    return QStringLiteral("timestamp: %1:%2:%3:%4, filepos: %5\n")
        .arg(startMs / 3'600'000, 2, 10, QLatin1Char('0'))
        .arg(startMs / 60'000 % 60, 2, 10, QLatin1Char('0'))
        .arg(startMs / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(startMs % 1000, 3, 10, QLatin1Char('0'))
        .arg(Hex(static_cast<quint64>(filePosition), 9))
        .toLatin1();
}

bool IsLanguageCode(const QString& code) {
    return code.size() == 2 && code[0] >= QLatin1Char('a') && code[0] <= QLatin1Char('z') &&
           code[1] >= QLatin1Char('a') && code[1] <= QLatin1Char('z');
}

}  // namespace marvoxa

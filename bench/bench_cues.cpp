#include "bench_cues.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>

namespace marvoxa::bench {

QList<CueText> MakeCues() {
    const QStringList words{
        QStringLiteral("harbour"), QStringLiteral("lighthouse"), QStringLiteral("Rethymno"),
        QStringLiteral("morning"), QStringLiteral("fishermen"),  QStringLiteral("walls"),
        QStringLiteral("the"),     QStringLiteral("and"),        QStringLiteral("sea"),
        QStringLiteral("bread"),   QStringLiteral("café"),       QStringLiteral("Fortezza")};
    QList<CueText> cues;
    for (int i = 0; i < kCueCount; ++i) {
        QString first;
        QString second;
        for (int w = 0; w < 5; ++w) {
            first += words[(i * 7 + w * 3) % words.size()] + QLatin1Char(' ');
            second += words[(i * 5 + w * 11 + 1) % words.size()] + QLatin1Char(' ');
        }
        cues.append({first.trimmed(), second.trimmed() + QLatin1Char('.')});
    }
    return cues;
}

namespace {

QString SrtTime(qint64 ms) {
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3'600'000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace

bool WriteSrt(const QString& path, const QList<CueText>& cues, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QTextStream srt(&file);
    // Three seconds a cue; a file too long for the packet clock (about 6.6 hours) gets
    // 110 ms a cue instead.
    const qint64 step = 3000LL * count < 23'000'000 ? 3000 : 110;
    const qint64 duration = std::min<qint64>(2500, step - 10);
    for (int i = 0; i < count; ++i) {
        const qint64 start = 1000 + step * i;
        const CueText& cue = cues[i % cues.size()];
        srt << i + 1 << "\r\n"
            << SrtTime(start) << " --> " << SrtTime(start + duration) << "\r\n"
            << cue.first << "\r\n"
            << cue.second << "\r\n\r\n";
    }
    srt.flush();
    return file.error() == QFile::NoError;
}

}  // namespace marvoxa::bench

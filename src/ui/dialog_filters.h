#pragma once

#include <QString>
#include <QStringList>

namespace marvoxa {

// A file dialog filter named label that offers files with any of the extensions in lower and
// upper case: file systems here tell case apart, and DVD files are named in capitals.
inline QString DialogFilter(const QString& label, const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) {
        patterns << QStringLiteral("*.") + extension.toLower();
    }
    for (const QString& extension : extensions) {
        patterns << QStringLiteral("*.") + extension.toUpper();
    }
    return label + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The subtitle dialog's filters: the SRT and SUB/TXT files first, as ever; then the WebVTT and
// ASS/SSA files and the video containers whose text subtitle tracks can be read.
inline QString SubtitleFilter() {
    return DialogFilter(QStringLiteral("*.srt;*.sub;*.txt"),
                        {QStringLiteral("srt"), QStringLiteral("sub"), QStringLiteral("txt")}) +
           QStringLiteral(";;") +
           DialogFilter(QStringLiteral("WebVTT, ASS and SSA"),
                        {QStringLiteral("vtt"), QStringLiteral("ass"), QStringLiteral("ssa")}) +
           QStringLiteral(";;") +
           DialogFilter(QStringLiteral("Subtitle tracks of videos"),
                        {QStringLiteral("mkv"), QStringLiteral("mka"), QStringLiteral("mks"),
                         QStringLiteral("mp4"), QStringLiteral("m4v"), QStringLiteral("mov"),
                         QStringLiteral("webm"), QStringLiteral("ts")});
}

}  // namespace marvoxa

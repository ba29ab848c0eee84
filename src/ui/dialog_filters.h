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

// The extensions "Load Srt ,Sub" reads: subtitle files, and videos for their text tracks.
inline QStringList SubtitleFileExtensions() {
    return {QStringLiteral("srt"), QStringLiteral("sub"), QStringLiteral("txt"),
            QStringLiteral("vtt"), QStringLiteral("ass"), QStringLiteral("ssa")};
}
inline QStringList VideoFileExtensions() {
    return {QStringLiteral("mkv"),  QStringLiteral("mka"), QStringLiteral("mks"),
            QStringLiteral("mp4"),  QStringLiteral("m4v"), QStringLiteral("mov"),
            QStringLiteral("webm"), QStringLiteral("ts")};
}

// The subtitle dialog's filters: every file it reads first, so that none is hidden at first
// sight; then the SRT and SUB/TXT files, as ever; then the WebVTT and ASS/SSA files and the
// video containers whose text subtitle tracks can be read.
inline QString SubtitleFilter() {
    return DialogFilter(QStringLiteral("All supported files"),
                        SubtitleFileExtensions() + VideoFileExtensions()) +
           QStringLiteral(";;") +
           DialogFilter(QStringLiteral("*.srt;*.sub;*.txt"),
                        {QStringLiteral("srt"), QStringLiteral("sub"), QStringLiteral("txt")}) +
           QStringLiteral(";;") +
           DialogFilter(QStringLiteral("WebVTT, ASS and SSA"),
                        {QStringLiteral("vtt"), QStringLiteral("ass"), QStringLiteral("ssa")}) +
           QStringLiteral(";;") +
           DialogFilter(QStringLiteral("Subtitle tracks of videos"), VideoFileExtensions());
}

}  // namespace marvoxa

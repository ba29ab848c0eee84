#include "sup/completion_report.h"

#include "sup/file_writing.h"

#include <QDir>

namespace marvoxa {

namespace {

QStringList GenericPaletteSteps() {
    return {
        QStringLiteral(
            "Then find the Color 0 Y Cr CB ,doubleclick it, and put the value: 00 80 80"),
        QStringLiteral(
            "Then find the Color 1 Y Cr CB ,doubleclick it, and put the value: 55 80 80"),
        QStringLiteral(
            "Then find the Color 2 Y Cr CB ,doubleclick it, and put the value: AA 80 80"),
        QStringLiteral(
            "Then find the Color 3 Y Cr CB ,doubleclick it, and put the value: FF 80 80"),
    };
}

QString LoadGeneratedIfoStep() {
    return QStringLiteral(
        "After authoring the new dvd, load (the generated from Ifoedit) VTS_01_0.IFO on Ifoedit "
        "and press VTS_PGCITI and then VTS_PGC1.");
}

QString FinalStep() {
    return QStringLiteral("Then press save. Thats all.");
}

QString AuthorStep() {
    return QStringLiteral("Just author your video with the generated sup using Ifoedit.");
}

QStringList GeneratedFilesLines(const QStringList& streamPaths, const QString& helpPath) {
    QStringList lines{QStringLiteral("Generated Files:")};
    for (const QString& path : streamPaths) {
        lines << QDir::toNativeSeparators(path);
    }
    return lines << QDir::toNativeSeparators(helpPath);
}

}  // namespace

QStringList HelpLines(PaletteCase paletteCase, const QStringList& dvdCopyLines) {
    if (!dvdCopyLines.isEmpty()) {
        return HelpLines(paletteCase).mid(0, 1) + dvdCopyLines;
    }
    switch (paletteCase) {
        case PaletteCase::NoIfo:
            return QStringList{QStringLiteral("All Done !!! (Case : No Ifo)"),
                               QStringLiteral("Since you didnt had any ifo, author your video with "
                                              "the generated sup using Ifoedit."),
                               LoadGeneratedIfoStep()} +
                   GenericPaletteSteps() + QStringList{FinalStep()};
        case PaletteCase::MonocromaticIfo:
            return QStringList{QStringLiteral("All Done !!! (Case : Monocromatic Ifo)"),
                               QStringLiteral("Since you had an ifo with no polycromatic palette "
                                              "support , Marvoxa generated for you a sup with a "
                                              "generic pallette."),
                               AuthorStep(), LoadGeneratedIfoStep()} +
                   GenericPaletteSteps() + QStringList{FinalStep()};
        case PaletteCase::WithIfo:
            break;
    }
    return {
        QStringLiteral("All Done !!! (Case : With Ifo)"),
        QStringLiteral("Since you already had an ifo with polycromatic palette support , Marvoxa "
                       "generated for you a sup with the same ifo pallette."),
        AuthorStep(),
        QStringLiteral("After authoring the new dvd, load the original ifo (the ifo that you have "
                       "loaded on Marvoxa) on Ifoedit and press VTS_PGCITI and then VTS_PGC1."),
        QStringLiteral("Then press Subtitle Color, Copy Colors from this PGC"),
        QStringLiteral("Then load (the generated from Ifoedit) VTS_01_0.IFO on Ifoedit and press "
                       "VTS_PGCITI and then VTS_PGC1"),
        QStringLiteral("Then press Subtitle Color, Paste Colors into this PGC"),
        FinalStep(),
    };
}

QString CompletionMessage(PaletteCase paletteCase, const QString& streamPath,
                          const QString& helpPath, const QStringList& dvdCopyLines) {
    return CompletionMessage(paletteCase, QStringList{streamPath}, helpPath, dvdCopyLines);
}

QString CompletionMessage(PaletteCase paletteCase, const QStringList& streamPaths,
                          const QString& helpPath, const QStringList& dvdCopyLines) {
    QString message;
    for (const QString& line : HelpLines(paletteCase, dvdCopyLines)) {
        message += line + QLatin1Char('\r');
    }
    message += QLatin1Char('\r');
    message += GeneratedFilesLines(streamPaths, helpPath).join(QLatin1Char('\r'));
    return message;
}

QByteArray HelpFileContent(PaletteCase paletteCase, const QString& streamPath,
                           const QString& helpPath, const QStringList& dvdCopyLines) {
    return HelpFileContent(paletteCase, QStringList{streamPath}, helpPath, dvdCopyLines);
}

QByteArray HelpFileContent(PaletteCase paletteCase, const QStringList& streamPaths,
                           const QString& helpPath, const QStringList& dvdCopyLines) {
    const QStringList lines = HelpLines(paletteCase, dvdCopyLines) +
                              QStringList{QString(), QString()} +
                              GeneratedFilesLines(streamPaths, helpPath);
    QByteArray content;
    for (const QString& line : lines) {
        content += line.toUtf8() + QByteArrayLiteral("\r\n");
    }
    return content;
}

Status WriteHelpFile(PaletteCase paletteCase, const QString& streamPath, const QString& helpPath,
                     const QStringList& dvdCopyLines) {
    return WriteHelpFile(paletteCase, QStringList{streamPath}, helpPath, dvdCopyLines);
}

Status WriteHelpFile(PaletteCase paletteCase, const QStringList& streamPaths,
                     const QString& helpPath, const QStringList& dvdCopyLines) {
    return WriteFileAtomically(helpPath,
                               HelpFileContent(paletteCase, streamPaths, helpPath, dvdCopyLines));
}

}  // namespace marvoxa

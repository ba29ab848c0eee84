#include "export/dvd_commands.h"

#include "export/output_names.h"

namespace marvoxa {

namespace {

// Single quotes keep every character but the quote itself; that one is closed, escaped and
// reopened.
QString ShellQuoted(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString FormatName(VideoStandard standard) {
    return standard == VideoStandard::Pal ? QStringLiteral("PAL") : QStringLiteral("NTSC");
}

// "spumux -s 1 Generated_spumux.fr.xml < subtitled_1.mpg > subtitled_2.mpg": the last run
// writes subtitled.mpg.
QStringList SpumuxRuns(const QStringList& scriptNames) {
    QStringList runs;
    for (qsizetype i = 0; i < scriptNames.size(); ++i) {
        const QString input =
            i == 0 ? QStringLiteral("VIDEO.mpg") : QStringLiteral("subtitled_%1.mpg").arg(i);
        const QString output = i + 1 == scriptNames.size()
                                   ? QStringLiteral("subtitled.mpg")
                                   : QStringLiteral("subtitled_%1.mpg").arg(i + 1);
        runs << QStringLiteral("spumux -s %1 %2 < %3 > %4")
                    .arg(i)
                    .arg(scriptNames[i], input, output);
    }
    return runs;
}

}  // namespace

QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QStringList& scriptNames) {
    QString commands = QStringLiteral(
                           "To make a DVD of an MPEG-2 video VIDEO.mpg (%1, 720x%2), spumux puts "
                           "the subtitle\nstreams into it one after the other and dvdauthor "
                           "builds the disc in DVD/:\n  cd %3\n")
                           .arg(FormatName(standard))
                           .arg(FrameHeight(standard))
                           .arg(ShellQuoted(folder));
    for (const QString& run : SpumuxRuns(scriptNames)) {
        commands += QStringLiteral("  ") + run + QLatin1Char('\n');
    }
    return commands + QStringLiteral("  VIDEO_FORMAT=%1 dvdauthor -x %2\n")
                          .arg(FormatName(standard), QLatin1String(kDvdauthorProjectFileName));
}

QByteArray DvdauthorProject(VideoStandard standard, const QStringList& scriptNames,
                            const QStringList& languages) {
    QString project = QStringLiteral(
        "<!-- Subtitle streams by Marvoxa, in order. First put them into the video:\n");
    for (const QString& run : SpumuxRuns(scriptNames)) {
        project += QStringLiteral("     ") + run + QLatin1Char('\n');
    }
    project += QStringLiteral(
                   "     then: VIDEO_FORMAT=%1 dvdauthor -x %2 -->\n"
                   "<dvdauthor dest=\"DVD\">\n"
                   "  <vmgm />\n"
                   "  <titleset>\n"
                   "    <titles>\n"
                   "      <video format=\"%3\" />\n")
                   .arg(FormatName(standard), QLatin1String(kDvdauthorProjectFileName),
                        FormatName(standard).toLower());
    for (const QString& language : languages) {
        project += QStringLiteral("      <subpicture lang=\"%1\" />\n").arg(language);
    }
    project += QStringLiteral(
        "      <pgc>\n"
        "        <vob file=\"subtitled.mpg\" />\n"
        "      </pgc>\n"
        "    </titles>\n"
        "  </titleset>\n"
        "</dvdauthor>\n");
    return project.toUtf8();
}

QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QString& language) {
    const QString format = FormatName(standard);
    return QStringLiteral(
               "To make a DVD of an MPEG-2 video VIDEO.mpg (%1, 720x%2), spumux puts the "
               "subtitles\n"
               "into it and dvdauthor builds the disc in DVD/:\n"
               "  cd %3\n"
               "  spumux -s 0 %4 < VIDEO.mpg > subtitled.mpg\n"
               "  VIDEO_FORMAT=%1 dvdauthor -o DVD -t -s %5 subtitled.mpg && VIDEO_FORMAT=%1 "
               "dvdauthor -o DVD -T\n")
        .arg(format)
        .arg(FrameHeight(standard))
        .arg(ShellQuoted(folder), QLatin1String(kSpumuxScriptFileName), language);
}

}  // namespace marvoxa

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

}  // namespace

QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QString& language) {
    const QString format =
        standard == VideoStandard::Pal ? QStringLiteral("PAL") : QStringLiteral("NTSC");
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

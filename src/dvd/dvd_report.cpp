#include "dvd/dvd_report.h"

#include <QDir>

namespace marvoxa {

namespace {

// "Color 13 (FF 80 80)": an entry as IFO editors name it, with the value written.
QString EntryText(int entry, quint32 colour) {
    const auto hex = [](quint32 byte) {
        return QString::number(byte & 0xff, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    };
    return QStringLiteral("Color %1 (%2 %3 %4)")
        .arg(entry)
        .arg(hex(colour >> 16), hex(colour >> 8), hex(colour));
}

// Where the subtitles' colours are in the copy's palette.
QString PaletteText(const DvdTarget& target, const DvdCopyReport& report) {
    if (report.writtenPaletteEntries.isEmpty()) {
        return QStringLiteral(
                   "Title %1's subtitle palette already holds the subtitles' colours: "
                   "no palette entry was changed.")
            .arg(target.discTitle);
    }
    QStringList entries;
    for (qsizetype i = 0; i < report.writtenPaletteEntries.size(); ++i) {
        entries << EntryText(report.writtenPaletteEntries[i], report.writtenPaletteColours[i]);
    }
    return QStringLiteral(
               "The subtitles' colours were written into the copy, into the subtitle "
               "palette of every program chain that plays title %1: %2.")
        .arg(target.discTitle)
        .arg(entries.join(QLatin1String(", ")));
}

int StreamNumber(const DvdTarget& target, const DvdCopyReport& report, qsizetype k) {
    return (k < report.streams.size() ? report.streams[k].number
                                      : target.stream + static_cast<int>(k)) +
           1;
}

// "subtitle stream 2 (de)", or for several "subtitle streams 2 (fr), 3 (es) and 4 (it)".
QString StreamsText(const DvdTarget& target, const DvdCopyReport& report,
                    const QStringList& languages) {
    QStringList streams;
    for (qsizetype k = 0; k < languages.size(); ++k) {
        streams << QStringLiteral("%1 (%2)").arg(StreamNumber(target, report, k)).arg(languages[k]);
    }
    if (streams.size() == 1) {
        return QStringLiteral("subtitle stream ") + streams.front();
    }
    const QString last = streams.takeLast();
    return QStringLiteral("subtitle streams %1 and %2")
        .arg(streams.join(QLatin1String(", ")), last);
}

}  // namespace

QString DvdCopyReportText(const DvdTarget& target, const DvdCopyReport& report,
                          const QString& language) {
    return DvdCopyReportText(target, report, QStringList{language});
}

QString DvdCopyReportText(const DvdTarget& target, const DvdCopyReport& report,
                          const QStringList& languages) {
    return QStringLiteral(
               "The DVD with the subtitles added, as %1 of title %2:\n"
               "%3\n"
               "%5\n"
               "To make an ISO image of it for burning or playing:\n"
               "  %4\n")
        .arg(StreamsText(target, report, languages))
        .arg(target.discTitle)
        .arg(QDir::toNativeSeparators(report.videoTs), DvdIsoCommand(report.videoTs),
             PaletteText(target, report));
}

QStringList DvdCopyHelpText(const DvdTarget& target, const DvdCopyReport& report,
                            const QString& language) {
    return DvdCopyHelpText(target, report, QStringList{language});
}

QStringList DvdCopyHelpText(const DvdTarget& target, const DvdCopyReport& report,
                            const QStringList& languages) {
    return {QStringLiteral("Marvoxa added the subtitles to a copy of the DVD, as %1 of title %2:")
                .arg(StreamsText(target, report, languages))
                .arg(target.discTitle),
            QDir::toNativeSeparators(report.videoTs), PaletteText(target, report),
            QStringLiteral("Nothing is left to do in an IFO editor. To make an ISO image of the "
                           "copy for burning or playing:"),
            QStringLiteral("  ") + DvdIsoCommand(report.videoTs)};
}

std::optional<QString> AfterTitleEndNotice(const DvdTarget& target, const DvdCopyReport& report) {
    if (report.afterEnd == 0) {
        return std::nullopt;
    }
    return QStringLiteral(
               "%1 subtitle(s) start after title %2 has ended and were not added to "
               "the DVD. The first is %3.")
        .arg(report.afterEnd)
        .arg(target.discTitle)
        .arg(report.firstAfterEnd);
}

QString TitlePaletteNotice(int discTitle) {
    return QStringLiteral(
               "Title %1 has a subtitle palette of its own, not the one of the title "
               "set's first program chain: the subtitles are drawn in title %1's "
               "colours, which players will show them in.")
        .arg(discTitle);
}

}  // namespace marvoxa

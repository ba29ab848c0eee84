#include "dvd/dvd_report.h"

#include <QDir>

namespace marvoxa {

QString DvdCopyReportText(const DvdTarget& target, const DvdCopyReport& report,
                          const QString& language) {
    return QStringLiteral(
               "The DVD with the subtitles added, as subtitle stream %1 (%2) of title %3:\n"
               "%4\n"
               "To make an ISO image of it for burning or playing:\n"
               "  %5\n")
        .arg(target.stream + 1)
        .arg(language)
        .arg(target.discTitle)
        .arg(QDir::toNativeSeparators(report.videoTs), DvdIsoCommand(report.videoTs));
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

#pragma once

#include "dvd/dvd_copy.h"
#include "dvd/dvd_target.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace marvoxa {

// Where the copy went, which stream of which title the subtitles became, and the command that
// makes an ISO image of it; lines end with \n.
QString DvdCopyReportText(const DvdTarget& target, const DvdCopyReport& report,
                          const QString& language);

// What the help file and the completion message say of the copy instead of the IFO editor's
// steps: the stream, the palette entries given the subtitles' colours, the ISO command.
QStringList DvdCopyHelpText(const DvdTarget& target, const DvdCopyReport& report,
                            const QString& language);

// The same for several streams added in one copy, one a language, in order.
QString DvdCopyReportText(const DvdTarget& target, const DvdCopyReport& report,
                          const QStringList& languages);
QStringList DvdCopyHelpText(const DvdTarget& target, const DvdCopyReport& report,
                            const QStringList& languages);

// Subtitles left out because the title ends before them, with the first; none when all fit.
std::optional<QString> AfterTitleEndNotice(const DvdTarget& target, const DvdCopyReport& report);

// The title's own palette is not the one of the set's first PGC.
QString TitlePaletteNotice(int discTitle);

}  // namespace marvoxa

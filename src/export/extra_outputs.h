#pragma once

#include "common/video_standard.h"
#include "palette/palette.h"
#include "sup/cue_output.h"

#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace marvoxa {

// Which outputs the user wants besides Generated.sup and the help file.
struct ExtraOutputChoices {
    bool vobSub = false;                      // Generated.idx + Generated.sub
    bool dvdauthor = false;                   // Generated_spumux.xml + Generated_spumux/
    QString language = QStringLiteral("en");  // of the subtitle stream they name
    bool pgs = false;                         // Generated_pgs.sup, for Blu-ray and MKV
    QSize pgsSize{1920, 1080};                // the video the PGS stream is drawn for
    quint8 pgsRateCode = 0;                   // its frame rate code; 0: the subtitle's

    friend bool operator==(const ExtraOutputChoices&, const ExtraOutputChoices&) = default;
};

// With forced, the outputs mark every subtitle forced, as Generated.sup then does.
std::vector<std::unique_ptr<CueOutput>> MakeExtraOutputs(const ExtraOutputChoices& choices,
                                                         const QString& folder,
                                                         VideoStandard standard,
                                                         const Palette& palette,
                                                         bool forced = false);

// After a generation: every file the outputs wrote, one a line, and for dvdauthor the
// commands that finish the DVD. Empty without extra outputs.
QString ExtraOutputsReport(const std::vector<std::unique_ptr<CueOutput>>& outputs,
                           const ExtraOutputChoices& choices, const QString& folder,
                           VideoStandard standard);

}  // namespace marvoxa

#pragma once

#include "common/video_standard.h"
#include "export/extra_outputs.h"
#include "palette/palette.h"
#include "sup/cue_output.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace marvoxa {

// The extra outputs of several streams made in one run: for dvdauthor a spumux script and
// picture folder per stream (Generated_spumux.TAG.xml) and Generated_dvdauthor.xml naming them
// all; for VobSub one Generated.idx/.sub pair with a track per stream; for Blu-ray a PGS stream
// per stream (Generated_pgs.TAG.sup).
struct StreamSetOutputs {
    QStringList languages;
    QStringList tags;                                // StreamTags of the languages
    std::vector<std::unique_ptr<CueOutput>> spumux;  // one a stream, or none
    std::vector<std::unique_ptr<CueOutput>> pgs;     // Generated_pgs.TAG.sup a stream, or none
    std::vector<std::unique_ptr<CueOutput>> shared;  // fed the cues of every stream

    std::vector<CueOutput*> ofStream(size_t stream) const;
    std::vector<CueOutput*> sharedOutputs() const;
};

StreamSetOutputs MakeStreamSetOutputs(const ExtraOutputChoices& choices,
                                      const QStringList& languages, const QString& folder,
                                      VideoStandard standard, const Palette& palette,
                                      bool forced = false);

// After a generation: every file written, and for dvdauthor the commands that finish the DVD.
// Empty without extra outputs.
QString StreamSetOutputsReport(const StreamSetOutputs& outputs, const QString& folder,
                               VideoStandard standard);

}  // namespace marvoxa

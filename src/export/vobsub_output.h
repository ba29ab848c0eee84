#pragma once

#include "common/video_standard.h"
#include "palette/palette.h"
#include "sup/cue_output.h"
#include "sup/file_writing.h"

#include <QString>

namespace marvoxa {

// Writes Generated.idx and Generated.sub into a folder: the same subpicture units as
// Generated.sup, in the VobSub form that libavformat, mkvmerge and players read. With several
// languages, one track a stream: the cues come stream after stream, each on its sub-stream.
class VobSubOutput : public CueOutput {
public:
    VobSubOutput(const QString& folder, VideoStandard standard, const Palette& palette,
                 const QString& language, bool forced = false);
    VobSubOutput(const QString& folder, VideoStandard standard, const Palette& palette,
                 const QStringList& languages, bool forced = false);

    Status begin() override;
    Status add(const EncodedCue& cue) override;
    Status finish() override;
    Status commit() override;
    void discard() override;
    QStringList paths() const override;

private:
    VideoStandard standard_;
    Palette palette_;
    QStringList languages_;
    bool forced_;
    int track_ = 0;  // of the cues written last
    AtomicFile index_;
    AtomicFile stream_;
    qint64 streamSize_ = 0;
};

}  // namespace marvoxa

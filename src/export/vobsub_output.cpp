#include "export/vobsub_output.h"

#include "export/output_names.h"
#include "export/vobsub_index.h"
#include "export/vobsub_packs.h"
#include "sup/generation.h"
#include "sup/time_stamps.h"

namespace marvoxa {

namespace {

constexpr int kSupHeaderSize = 10;

}  // namespace

VobSubOutput::VobSubOutput(const QString& folder, VideoStandard standard, const Palette& palette,
                           const QString& language, bool forced)
    : VobSubOutput(folder, standard, palette, QStringList{language}, forced) {}

VobSubOutput::VobSubOutput(const QString& folder, VideoStandard standard, const Palette& palette,
                           const QStringList& languages, bool forced)
    : standard_(standard),
      palette_(palette),
      languages_(languages),
      forced_(forced),
      index_(OutputPath(folder, kVobSubIndexFileName)),
      stream_(OutputPath(folder, kVobSubFileName)) {}

Status VobSubOutput::begin() {
    streamSize_ = 0;
    track_ = 0;
    if (Status opened = index_.open(); !opened) {
        return opened;
    }
    if (Status opened = stream_.open(); !opened) {
        return opened;
    }
    return index_.write(VobSubIndexHeader(standard_, palette_, languages_.front(), forced_));
}

Status VobSubOutput::add(const EncodedCue& cue) {
    // The header names the first track; each further one begins where its cues begin.
    while (track_ < cue.stream && track_ + 1 < languages_.size()) {
        ++track_;
        if (Status written = index_.write(VobSubTrackLine(languages_[track_], track_)); !written) {
            return written;
        }
    }
    const QByteArray packs = VobSubPacks(QByteArrayView(cue.supPacket).sliced(kSupHeaderSize),
                                         PresentationTime(cue.startMs), track_);
    if (Status written = index_.write(VobSubTimestampLine(cue.startMs, streamSize_)); !written) {
        return written;
    }
    streamSize_ += packs.size();
    return stream_.write(packs);
}

Status VobSubOutput::finish() {
    if (Status finished = index_.finish(); !finished) {
        return finished;
    }
    return stream_.finish();
}

Status VobSubOutput::commit() {
    // The stream first: an index never points into a stream it was not written for.
    if (Status committed = stream_.commit(); !committed) {
        return committed;
    }
    return index_.commit();
}

void VobSubOutput::discard() {
    index_.discard();
    stream_.discard();
}

QStringList VobSubOutput::paths() const {
    return {index_.path(), stream_.path()};
}

}  // namespace marvoxa

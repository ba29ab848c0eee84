#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/subpicture_placement.h"
#include "dvd/title_vob_stream.h"
#include "dvd/vobu_walk.h"

#include <QStringList>

#include <QMap>

#include <memory>

namespace marvoxa {

// The largest title VOB file: a DVD's files stay below 1 GiB.
inline constexpr quint32 kLargestVobSectors = 1024 * 1024 * 1024 / 2048 - 1;

class VobFileSeries;

// Writes the title video of a set into folder with placed packs inserted and every NAV pack
// rewritten for its new place, as VTS_xx_1.VOB, VTS_xx_2.VOB, ... of at most fileSectors
// each, upper-case as players and genisoimage -dvd-video expect, even from a lower-case copy;
// every
// other pack is copied byte for byte. The video is copied front to back in steps, as far as
// the insertions are known, and the NAV packs are rewritten last, once every address is.
// Failures name the file (ErrorKind::Io). The packs were checked by the walk.
class TitleVideoWriter {
public:
    TitleVideoWriter(TitleVobStream& video, const DvdFolder& source, const QString& folder,
                     quint32 fileSectors);
    ~TitleVideoWriter();
    TitleVideoWriter(const TitleVideoWriter&) = delete;
    TitleVideoWriter& operator=(const TitleVideoWriter&) = delete;

    // Copies the source's sectors from where the last step ended up to end, each insertion's
    // packs just before its sector; at the video's end, also those that go after it.
    Status copyUpTo(quint32 end, const QMap<quint32, QByteArray>& insertions);
    quint32 copiedUpTo() const { return copied_; }
    quint32 sectorsWritten() const { return written_; }

    // Writes the NAV packs of vobus (the video's VOBUs in sector order, at least as far as
    // copied) again at their new places, for the packs inserted and the sync addresses of the
    // new sub-streams (those a NAV pack has no entry for in syncs, of other titles, say the
    // sub-stream is absent), as far as their addresses are final: every sector a NAV pack
    // names must have been copied, unless final says that every insertion has been made. Then
    // starts what is final towards the disk.
    Status rewriteNavPacks(const QList<VobuEntry>& vobus,
                           const QHash<quint32, QList<NewStreamSync>>& syncs,
                           const QList<int>& subStreams, bool final);

    QStringList paths() const;

private:
    TitleVobStream& video_;
    std::unique_ptr<VobFileSeries> output_;
    SectorShift shift_;  // of the insertions made so far
    quint32 copied_ = 0;
    quint32 written_ = 0;
    qsizetype navPacksDone_ = 0;
};

// The size of the files the set's title video is split into again: the size of the source's
// first file when it was split, otherwise the largest a DVD allows.
quint32 TitleVobFileSectors(const DvdFolder& folder);

}  // namespace marvoxa

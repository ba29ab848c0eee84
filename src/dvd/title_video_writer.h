#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/subpicture_placement.h"
#include "dvd/title_vob_stream.h"
#include "dvd/vobu_walk.h"

#include <QStringList>

#include <functional>

namespace marvoxa {

// The largest title VOB file: a DVD's files stay below 1 GiB.
inline constexpr quint32 kLargestVobSectors = 1024 * 1024 * 1024 / 2048 - 1;

// Called with the sectors written so far; returning false stops the writing.
using SectorProgress = std::function<bool(quint32 sectorsWritten)>;

// Writes the title video of a set into folder with the placement's packs inserted and every
// NAV pack rewritten for its new place, as VTS_xx_1.VOB, VTS_xx_2.VOB, ... of at most
// fileSectors each; every other pack is copied byte for byte. vobus lists the video's VOBUs.
// Gives the files written. Fails (ErrorKind::Io) when a file cannot be read or written, naming
// it; (ErrorKind::Cancelled) when progress says stop. The packs were checked by the walk.
// The files are named as the source's are (VTS_01_1.VOB, or vts_01_1.vob in a lower-case copy).
Result<QStringList> WriteTitleVideo(TitleVobStream& video, const DvdFolder& source,
                                    const QList<VobuEntry>& vobus,
                                    const SubpicturePlacement& placement, int stream,
                                    const QString& folder, quint32 fileSectors,
                                    const SectorProgress& progress);

// The size of the files the set's title video is split into again: the size of the source's
// first file when it was split, otherwise the largest a DVD allows.
quint32 TitleVobFileSectors(const DvdFolder& folder);

}  // namespace marvoxa

#pragma once

#include "dvd/sector_shift.h"

#include <QList>
#include <QtGlobal>

namespace marvoxa {

// The subpicture sync address of a NAV pack: the VOBU whose NAV pack starts the subpicture
// data that is on screen during this VOBU, or the next one to come.
struct SubpictureSync {
    enum class Kind { None, HereOrLater, Earlier, Later };
    Kind kind = Kind::None;
    quint32 targetSector = 0;  // old sector of that VOBU's NAV pack, for Earlier and Later
};

// The sync address that a new sub-stream (0x20 + subStream) gets in a NAV pack.
struct NewStreamSync {
    int subStream = 0;
    SubpictureSync sync;
};

// Rewrites every sector address in the NAV pack that stood at oldSector in the title video
// for the title video with packs inserted as shift says: NV_PCK_LBN in the PCI and the DSI,
// VOBU_EA (the VOBU runs on to just before the NAV pack that stood at nextVobuSector, or to the
// end of the video), the reference picture ends, every VOBU_SRI pointer, the audio and
// subpicture sync addresses; then sets the sync address of each new sub-stream.
void RewriteNavPack(uchar* sector, quint32 oldSector, quint32 nextVobuSector,
                    const SectorShift& shift, const QList<NewStreamSync>& newStreams);

// The furthest old sector that the NAV pack at oldSector names, forwards: its VOBU's end, its
// reference pictures, its VOBU_SRI pointers, its audio and subpicture sync addresses, the new
// sub-streams' included. Its rewriting is final once the sectors up to there have their place.
quint32 FurthestSectorNamed(const uchar* sector, quint32 oldSector, quint32 nextVobuSector,
                            const QList<NewStreamSync>& newStreams);

}  // namespace marvoxa

#pragma once

#include "common/result.h"

#include <QtGlobal>

#include <array>
#include <span>

namespace marvoxa {

using SectorBytes = std::span<const uchar, 2048>;

// The fields of a NAV pack that place its VOBU in the title video and in time. Sector numbers
// count from the start of the title VOBs; the DSI's end addresses count from this pack.
struct NavPack {
    quint32 sector = 0;     // NV_PCK_LBN as the PCI gives it
    quint32 dsiSector = 0;  // NV_PCK_LBN as the DSI gives it
    quint32 startPtm = 0;   // VOBU_S_PTM, 90 kHz
    quint32 endPtm = 0;     // VOBU_E_PTM
    quint32 sequenceEndPtm = 0;
    quint32 scr = 0;                                 // NV_PCK_SCR
    quint32 vobuEndAddress = 0;                      // VOBU_EA: the VOBU's last sector, relative
    std::array<quint32, 3> referenceEndAddresses{};  // 1st, 2nd and 3rd reference pictures
    int vobId = 0;
    int cellId = 0;
    // VOBU_SRI: relative sector offsets with flag bits; bit 31 set when the VOBU holds video,
    // 0x3fffffff when there is none within the cell.
    quint32 nextVobu = 0;
    quint32 previousVobu = 0;
    quint32 nextVideoVobu = 0;
    quint32 previousVideoVobu = 0;
    std::array<quint32, 19> forward{};  // the time steps ahead and back, in the DSI's order
    std::array<quint32, 19> backward{};
    std::array<quint16, 8> audioSync{};        // A_SYNCA
    std::array<quint32, 32> subpictureSync{};  // SP_SYNCA
};

// A NAV pack is a pack header, a system header and the PCI and DSI packets of private
// stream 2 at their fixed places.
bool IsNavPack(SectorBytes sector);

// Reads the PCI and the DSI of a NAV pack with libdvdread. Fails (ErrorKind::Format) when the
// sector is no NAV pack.
Result<NavPack> ReadNavPack(SectorBytes sector);

// Whether some PES packet of the pack is scrambled: the two scrambling control bits that
// follow the packet length of an MPEG-2 PES header are not zero. Packets without that header
// (padding, private stream 2, the system header) are skipped, and so is a pack that is not
// MPEG-2.
bool IsScrambled(SectorBytes sector);

}  // namespace marvoxa

#include "dvd/nav_pack.h"

#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>

#include <QByteArray>

namespace marvoxa {
namespace {

constexpr int kPackHeaderSize = 14;  // MPEG-2, without stuffing
constexpr int kPciPacket = 0x26;     // after the pack and system headers
constexpr int kDsiPacket = 0x400;
constexpr int kPesHeaderSize = 6;  // start code, stream id, length
constexpr uchar kPackStart = 0xba;
constexpr uchar kSystemHeader = 0xbb;
constexpr uchar kPaddingStream = 0xbe;
constexpr uchar kPrivateStream2 = 0xbf;

bool StartCodeAt(SectorBytes sector, int offset, uchar id) {
    return sector[offset] == 0 && sector[offset + 1] == 0 && sector[offset + 2] == 1 &&
           sector[offset + 3] == id;
}

int LengthAt(SectorBytes sector, int offset) {
    return sector[offset] << 8 | sector[offset + 1];
}

}  // namespace

bool IsNavPack(SectorBytes sector) {
    return StartCodeAt(sector, 0, kPackStart) &&
           StartCodeAt(sector, kPackHeaderSize, kSystemHeader) &&
           StartCodeAt(sector, kPciPacket, kPrivateStream2) &&
           sector[kPciPacket + kPesHeaderSize] == PS2_PCI_SUBSTREAM_ID &&
           StartCodeAt(sector, kDsiPacket, kPrivateStream2) &&
           sector[kDsiPacket + kPesHeaderSize] == PS2_DSI_SUBSTREAM_ID;
}

Result<NavPack> ReadNavPack(SectorBytes sector) {
    if (!IsNavPack(sector)) {
        return Error{ErrorKind::Format, QStringLiteral("the sector is no NAV pack")};
    }
    // navRead_* take the bytes after the sub-stream id and only read them.
    auto* bytes = const_cast<uchar*>(sector.data());
    pci_t pci{};
    dsi_t dsi{};
    navRead_PCI(&pci, bytes + kPciPacket + kPesHeaderSize + 1);
    navRead_DSI(&dsi, bytes + kDsiPacket + kPesHeaderSize + 1);

    NavPack pack;
    pack.sector = pci.pci_gi.nv_pck_lbn;
    pack.dsiSector = dsi.dsi_gi.nv_pck_lbn;
    pack.startPtm = pci.pci_gi.vobu_s_ptm;
    pack.endPtm = pci.pci_gi.vobu_e_ptm;
    pack.sequenceEndPtm = pci.pci_gi.vobu_se_e_ptm;
    pack.scr = dsi.dsi_gi.nv_pck_scr;
    pack.vobuEndAddress = dsi.dsi_gi.vobu_ea;
    pack.referenceEndAddresses = {dsi.dsi_gi.vobu_1stref_ea, dsi.dsi_gi.vobu_2ndref_ea,
                                  dsi.dsi_gi.vobu_3rdref_ea};
    pack.vobId = dsi.dsi_gi.vobu_vob_idn;
    pack.cellId = dsi.dsi_gi.vobu_c_idn;
    pack.nextVobu = dsi.vobu_sri.next_vobu;
    pack.previousVobu = dsi.vobu_sri.prev_vobu;
    pack.nextVideoVobu = dsi.vobu_sri.next_video;
    pack.previousVideoVobu = dsi.vobu_sri.prev_video;
    for (int i = 0; i < 19; ++i) {
        pack.forward[i] = dsi.vobu_sri.fwda[i];
        pack.backward[i] = dsi.vobu_sri.bwda[i];
    }
    for (int i = 0; i < 8; ++i) {
        pack.audioSync[i] = dsi.synci.a_synca[i];
    }
    for (int i = 0; i < 32; ++i) {
        pack.subpictureSync[i] = dsi.synci.sp_synca[i];
    }
    return pack;
}

bool IsScrambled(SectorBytes sector) {
    // MPEG-1 packs (marker bits 0010) carry no scrambling bits.
    if (!StartCodeAt(sector, 0, kPackStart) || (sector[4] & 0xc0) != 0x40) {
        return false;
    }
    int offset = kPackHeaderSize + (sector[13] & 0x07);
    const int size = static_cast<int>(sector.size());
    while (offset + kPesHeaderSize < size) {
        if (sector[offset] != 0 || sector[offset + 1] != 0 || sector[offset + 2] != 1) {
            return false;  // not a packet start: the rest cannot be walked
        }
        const uchar stream = sector[offset + 3];
        const bool hasFlags =
            stream != kSystemHeader && stream != kPaddingStream && stream != kPrivateStream2;
        const uchar flags = sector[offset + kPesHeaderSize];
        // The flags byte of an MPEG-2 PES header starts with the bits 10.
        if (hasFlags && (flags & 0xc0) == 0x80 && (flags & 0x30) != 0) {
            return true;
        }
        offset += kPesHeaderSize + LengthAt(sector, offset + 4);
    }
    return false;
}

}  // namespace marvoxa

#include "dvd/vobu_walk.h"

#include "dvd/nav_pack.h"
#include "dvd/program_stream.h"
#include "dvd/title_vob_stream.h"

#include <algorithm>
#include <vector>

namespace marvoxa {
namespace {

// 512 KiB at a time: few reads, little memory.
constexpr quint32 kSectorsPerRead = 256;

Error PackError(const TitleVobStream& stream, quint32 sector, const QString& what) {
    return Error{ErrorKind::Format, QStringLiteral("%1 %2").arg(stream.describe(sector), what)};
}

}  // namespace

Result<QList<VobuEntry>> WalkTitleVobus(const DvdFolder& folder, const WalkProgress& progress,
                                        std::vector<qint64>* clocks,
                                        const std::function<void(const VobuEntry&)>& found,
                                        SubpictureSurvey* survey) {
    TitleVobStream stream(folder);
    const quint32 total = stream.sectorCount();
    if (clocks != nullptr && clocks->size() != total) {
        clocks->resize(total);
    }
    std::vector<uchar> buffer(kSectorsPerRead * kDvdSectorSize);
    QList<VobuEntry> vobus;
    int cellKey = -1;
    for (quint32 first = 0; first < total; first += kSectorsPerRead) {
        const quint32 count = std::min(kSectorsPerRead, total - first);
        if (Status status = stream.read(first, count, buffer.data()); !status) {
            return status.error();
        }
        for (quint32 i = 0; i < count; ++i) {
            const quint32 sector = first + i;
            const SectorBytes bytes(buffer.data() + i * kDvdSectorSize, kDvdSectorSize);
            if (bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0xba ||
                (bytes[4] & 0xc0) != 0x40) {
                return PackError(stream, sector,
                                 QStringLiteral("is no MPEG-2 pack: the file is not DVD video "
                                                "or is damaged."));
            }
            if (clocks != nullptr) {
                (*clocks)[sector] = PackScr(bytes.data());
            }
            if (IsScrambled(bytes)) {
                return PackError(stream, sector,
                                 QStringLiteral("is scrambled (CSS): Marvoxa can add subtitles "
                                                "only to a decrypted copy of the DVD."));
            }
            if (!IsNavPack(bytes)) {
                if (survey != nullptr && sector > 0) {
                    survey->addPack(bytes, cellKey);
                }
                if (sector == 0) {
                    return PackError(stream, sector,
                                     QStringLiteral("is no NAV pack, but the title video must "
                                                    "start with one."));
                }
                continue;
            }
            const Result<NavPack> pack = ReadNavPack(bytes);
            if (!pack) {
                return PackError(stream, sector, pack.error().message);
            }
            const NavPack& nav = pack.value();
            if (nav.sector != sector || nav.dsiSector != sector) {
                return PackError(stream, sector,
                                 QStringLiteral("holds a NAV pack that calls itself sector %1: "
                                                "the VOB files are out of order or damaged.")
                                     .arg(nav.sector != sector ? nav.sector : nav.dsiSector));
            }
            if (nav.vobuEndAddress >= total - sector) {
                return PackError(stream, sector,
                                 QStringLiteral("starts a VOBU that would end %1 sectors later, "
                                                "past the end of the title video.")
                                     .arg(nav.vobuEndAddress));
            }
            cellKey = SubpictureSurvey::CellKey(nav.vobId, nav.cellId);
            vobus.append(VobuEntry{sector, sector + nav.vobuEndAddress, nav.startPtm, nav.endPtm,
                                   nav.vobId, nav.cellId});
            if (found) {
                found(vobus.back());
            }
        }
        if (progress && !progress(first + count)) {
            return Error{ErrorKind::Cancelled, QStringLiteral("Reading the title video was "
                                                              "cancelled.")};
        }
    }
    return vobus;
}

}  // namespace marvoxa

#include "dvd/vobu_walk.h"

#include "added_stream.h"
#include "dvd/nav_pack.h"
#include "test_discs.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QFile>

#include <optional>

namespace marvoxa {
namespace {

struct DiscSet {
    const test::TestDisc& (*disc)();
    int set;
};
// The last is the PAL disc with a stream added by the converter: its rewriting must leave the
// same story.
constexpr std::array<DiscSet, 5> kAllSets = {{{test::PalDisc, 1},
                                              {test::PalDisc, 2},
                                              {test::NtscSharedDisc, 1},
                                              {test::PalSplitDisc, 1},
                                              {test::PalDiscWithAddedStream, 1}}};

// The walk, VOBU_ADMAP and the cells must tell the same story of the title video.
TEST(VobuWalk, FindsTheVobusOfVobuAdmapBackToBackWithEachCellOnItsOwnNavPacks) {
    for (const DiscSet& entry : kAllSets) {
        const test::TestDisc& disc = entry.disc();
        SCOPED_TRACE(disc.ifo(entry.set).toStdString());
        ASSERT_TRUE(disc.built);
        const std::optional<test::ReadTitleSet> walked = test::ReadWholeSet(disc, entry.set);
        ASSERT_TRUE(walked);
        const QList<VobuEntry>& vobus = walked->vobus;
        QList<quint32> sectors;
        for (const VobuEntry& vobu : vobus) {
            sectors.append(vobu.sector);
        }
        EXPECT_GT(sectors.size(), 2);
        EXPECT_EQ(sectors, walked->info.vobuStartSectors);
        for (qsizetype i = 0; i + 1 < vobus.size(); ++i) {
            EXPECT_EQ(vobus[i].lastSector + 1, vobus[i + 1].sector) << "VOBU " << i;
            EXPECT_LT(vobus[i].startPtm, vobus[i].endPtm) << "VOBU " << i;
            if (vobus[i].vobId == vobus[i + 1].vobId && vobus[i].cellId == vobus[i + 1].cellId) {
                EXPECT_EQ(vobus[i].endPtm, vobus[i + 1].startPtm) << "VOBU " << i;
            }
        }
        EXPECT_EQ(vobus.back().lastSector, walked->folder.titleVobSectors() - 1);

        for (const ProgramChain& chain : walked->info.pgcs) {
            for (const CellPlayback& cell : chain.cells) {
                SCOPED_TRACE(testing::Message()
                             << "PGC " << chain.number << " cell at " << cell.firstSector);
                const qsizetype first = sectors.indexOf(cell.firstSector);
                const qsizetype last = sectors.indexOf(cell.lastVobuStartSector);
                ASSERT_GE(first, 0);
                ASSERT_GE(last, first);
                EXPECT_EQ(vobus[last].lastSector, cell.lastSector);
                for (qsizetype i = first; i <= last; ++i) {
                    EXPECT_EQ(vobus[i].vobId, cell.vobId);
                    EXPECT_EQ(vobus[i].cellId, cell.cellId);
                }
            }
        }
    }
}

TEST(VobuWalk, ReadsASetSplitAcrossTwoVobFilesAsOneRunOfSectors) {
    ASSERT_TRUE(test::PalDisc().built && test::PalSplitDisc().built);
    const std::optional<test::ReadTitleSet> whole = test::ReadWholeSet(test::PalDisc(), 1);
    const std::optional<test::ReadTitleSet> split = test::ReadWholeSet(test::PalSplitDisc(), 1);
    ASSERT_TRUE(whole && split);
    EXPECT_EQ(split->vobus, whole->vobus);
    const quint32 cut = test::PalSplitSector();
    EXPECT_TRUE(std::any_of(split->vobus.begin(), split->vobus.end(), [cut](const VobuEntry& v) {
        return v.sector < cut && cut <= v.lastSector;
    })) << "no VOBU spans the two files, so the test proves less than it should";
}

TEST(VobuWalk, ReportsProgressAndStopsWhenAsked) {
    ASSERT_TRUE(test::PalDisc().built);
    const Result<DvdFolder> folder = FindDvdFolder(test::PalDisc().ifo(1));
    ASSERT_TRUE(folder.ok());
    QList<quint32> reports;
    const Result<QList<VobuEntry>> all = WalkTitleVobus(folder.value(), [&](quint32 read) {
        reports.append(read);
        return true;
    });
    ASSERT_TRUE(all.ok());
    ASSERT_GT(reports.size(), 1);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), folder.value().titleVobSectors());
    const Result<QList<VobuEntry>> stopped =
        WalkTitleVobus(folder.value(), [](quint32) { return false; });
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.error().kind, ErrorKind::Cancelled);
}

// Where the flags byte of a PES packet lies: the first packet of stream id (and, for private
// stream 1, of sub-stream) in the title video.
struct PacketPlace {
    qint64 sector = -1;
    int flagsOffset = 0;
};

PacketPlace FirstPacket(const QByteArray& vob, uchar stream, int subStream = -1) {
    for (qint64 sector = 0; sector < vob.size() / 2048; ++sector) {
        const auto* pack = reinterpret_cast<const uchar*>(vob.constData()) + sector * 2048;
        int offset = 14 + (pack[13] & 0x07);
        while (offset + 9 < 2048 && pack[offset] == 0 && pack[offset + 1] == 0 &&
               pack[offset + 2] == 1) {
            const int length = pack[offset + 4] << 8 | pack[offset + 5];
            const bool flagged =
                pack[offset + 3] >= 0xbd && pack[offset + 3] != 0xbe && pack[offset + 3] != 0xbf;
            if (pack[offset + 3] == stream &&
                (subStream < 0 || (flagged && pack[offset + 9 + pack[offset + 8]] == subStream))) {
                return PacketPlace{sector, offset + 6};
            }
            offset += 6 + length;
        }
    }
    return {};
}

void ChangeSector(const QString& vob, qint64 sector,
                  const std::function<void(QByteArray&)>& change) {
    QFile file(vob);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(sector * 2048));
    QByteArray bytes = file.read(2048);
    change(bytes);
    ASSERT_TRUE(file.seek(sector * 2048));
    ASSERT_EQ(file.write(bytes), 2048);
}

SectorBytes Sector(const QByteArray& vob, qint64 sector) {
    return SectorBytes(reinterpret_cast<const uchar*>(vob.constData()) + sector * 2048, 2048);
}

TEST(VobuWalk, RefusesScrambledPacksOfAnyStreamNamingFileAndSector) {
    struct Stream {
        const char* name;
        uchar id;
        int subStream;
    };
    const std::array<Stream, 3> streams = {{
        {"video", 0xe0, -1},
        {"AC-3 audio", 0xbd, 0x80},
        {"subpicture", 0xbd, 0x20},
    }};
    for (const Stream& stream : streams) {
        SCOPED_TRACE(stream.name);
        QTemporaryDir folder;
        const test::TestDisc copy = test::CopyDisc(test::PalSplitDisc(), folder);
        ASSERT_TRUE(copy.built);
        // The packet may lie in either file; the message must name the right one.
        QString vob;
        quint32 fileStart = 0;
        PacketPlace place;
        QByteArray original;
        for (const quint32 start : {test::PalSplitSector(), 0u}) {
            vob = copy.file(start == 0 ? QStringLiteral("VTS_01_1.VOB")
                                       : QStringLiteral("VTS_01_2.VOB"));
            original = test::ReadFile(vob);
            place = FirstPacket(original, stream.id, stream.subStream);
            fileStart = start;
            if (place.sector >= 0) {
                break;
            }
        }
        ASSERT_GE(place.sector, 0) << "the test disc has no such packet";
        EXPECT_FALSE(IsScrambled(Sector(original, place.sector)));
        for (const uchar bits : {0x10, 0x20, 0x30}) {
            ChangeSector(vob, place.sector, [&](QByteArray& bytes) {
                bytes[place.flagsOffset] = static_cast<char>(
                    (original[place.sector * 2048 + place.flagsOffset] & ~0x30) | bits);
            });
            EXPECT_TRUE(IsScrambled(Sector(test::ReadFile(vob), place.sector))) << int{bits};
            const Result<DvdFolder> found = FindDvdFolder(copy.ifo(1));
            ASSERT_TRUE(found.ok());
            const Result<QList<VobuEntry>> walked = WalkTitleVobus(found.value());
            ASSERT_FALSE(walked.ok());
            EXPECT_EQ(walked.error().kind, ErrorKind::Format);
            EXPECT_TRUE(walked.error().message.startsWith(
                QStringLiteral("%1, sector %2 of the file (sector %3 of the title video) is "
                               "scrambled (CSS)")
                    .arg(vob)
                    .arg(place.sector)
                    .arg(place.sector + fileStart)))
                << walked.error().message.toStdString();
        }
    }
}

TEST(VobuWalk, RefusesVobsThatAreNoDvdVideoOrWhoseNavPacksNameOtherSectors) {
    ASSERT_TRUE(test::PalDisc().built);
    const Result<DvdFolder> source = FindDvdFolder(test::PalDisc().ifo(1));
    ASSERT_TRUE(source.ok());
    const Result<QList<VobuEntry>> vobus = WalkTitleVobus(source.value());
    ASSERT_TRUE(vobus.ok());
    const quint32 nav = vobus.value()[2].sector;
    struct Damage {
        const char* name;
        qint64 sector;
        std::function<void(QByteArray&)> change;
        const char* saying;
    };
    const std::array<Damage, 4> damages = {{
        {"a sector of zeros", nav + 1, [](QByteArray& bytes) { bytes.fill('\0'); },
         "is no MPEG-2 pack"},
        {"an MPEG-1 pack", nav + 1, [](QByteArray& bytes) { bytes[4] = 0x21; },
         "is no MPEG-2 pack"},
        {"the first NAV pack gone", 0, [](QByteArray& bytes) { bytes[0x26 + 3] = char(0xbe); },
         "must start with one"},
        {"a NAV pack naming another sector", nav,
         // NV_PCK_LBN is the first word after the PCI's sub-stream id.
         [](QByteArray& bytes) { bytes[0x2d + 3] = static_cast<char>(bytes[0x2d + 3] + 1); },
         "calls itself sector"},
    }};
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        QTemporaryDir folder;
        const test::TestDisc copy = test::CopyDisc(test::PalDisc(), folder);
        const QString vob = copy.file(QStringLiteral("VTS_01_1.VOB"));
        ChangeSector(vob, damage.sector, damage.change);
        const Result<DvdFolder> found = FindDvdFolder(copy.ifo(1));
        ASSERT_TRUE(found.ok());
        const Result<QList<VobuEntry>> walked = WalkTitleVobus(found.value());
        ASSERT_FALSE(walked.ok());
        EXPECT_EQ(walked.error().kind, ErrorKind::Format);
        const QString message = walked.error().message;
        EXPECT_TRUE(message.startsWith(
            QStringLiteral("%1, sector %2 of the file").arg(vob).arg(damage.sector)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(damage.saying))) << message.toStdString();
    }
}

TEST(NavPack, ReadsOnlyNavPacksWithTheirSectorClockAndSearchPointers) {
    ASSERT_TRUE(test::NtscSharedDisc().built);
    const QByteArray vob =
        test::ReadFile(test::NtscSharedDisc().file(QStringLiteral("VTS_01_1.VOB")));
    QList<NavPack> navPacks;
    for (qint64 sector = 0; sector < vob.size() / 2048; ++sector) {
        const Result<NavPack> pack = ReadNavPack(Sector(vob, sector));
        ASSERT_EQ(pack.ok(), IsNavPack(Sector(vob, sector)));
        if (!pack) {
            continue;
        }
        navPacks.append(pack.value());
        EXPECT_EQ(pack.value().sector, sector);
        EXPECT_EQ(pack.value().dsiSector, sector);
        // NV_PCK_SCR is the 90 kHz base of the pack header's SCR, here below 2^32.
        const auto* b = reinterpret_cast<const uchar*>(vob.constData()) + sector * 2048 + 4;
        const quint64 base = quint64{b[0] & 0x38u} << 27 | quint64{b[0] & 0x03u} << 28 |
                             quint64{b[1]} << 20 | quint64{b[2] & 0xf8u} << 12 |
                             quint64{b[2] & 0x03u} << 13 | quint64{b[3]} << 5 | b[4] >> 3;
        EXPECT_EQ(pack.value().scr, base);
        EXPECT_LT(pack.value().scr, pack.value().startPtm);
    }
    ASSERT_GT(navPacks.size(), 2);
    // The one-step search pointers join the VOBUs of each cell, and end at its edges.
    constexpr quint32 kNone = 0x3fffffff;
    for (qsizetype i = 0; i < navPacks.size(); ++i) {
        const NavPack& pack = navPacks[i];
        const bool cellGoesOn = i + 1 < navPacks.size() && navPacks[i + 1].cellId == pack.cellId &&
                                navPacks[i + 1].vobId == pack.vobId;
        const bool cellWentOn =
            i > 0 && navPacks[i - 1].cellId == pack.cellId && navPacks[i - 1].vobId == pack.vobId;
        EXPECT_EQ(pack.nextVobu & kNone, cellGoesOn ? navPacks[i + 1].sector - pack.sector : kNone)
            << "VOBU at " << pack.sector;
        EXPECT_EQ(pack.previousVobu & kNone,
                  cellWentOn ? pack.sector - navPacks[i - 1].sector : kNone)
            << "VOBU at " << pack.sector;
    }
}

}  // namespace
}  // namespace marvoxa

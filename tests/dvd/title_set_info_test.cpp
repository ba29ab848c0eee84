#include "dvd/title_set_info.h"

#include "added_stream.h"
#include "lsdvd_listing.h"
#include "palette/ifo_reader.h"
#include "test_discs.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

#include <cmath>

namespace marvoxa {
namespace {

Result<TitleSetInfo> ReadSet(const test::TestDisc& disc, int set) {
    const Result<DvdFolder> folder = FindDvdFolder(disc.ifo(set));
    if (!folder) {
        return folder.error();
    }
    return ReadTitleSetInfo(folder.value());
}

qint64 LsdvdMs(const QJsonValue& seconds) {
    return std::llround(seconds.toDouble() * 1000);
}

// lsdvd's words for the permitted display modes of wide video.
QString DisplayModes(const VideoAttributes& video) {
    if (video.panScanAllowed && video.letterboxAllowed) {
        return QStringLiteral("P&S + Letter");
    }
    if (video.panScanAllowed) {
        return QStringLiteral("Pan&Scan");
    }
    return video.letterboxAllowed ? QStringLiteral("Letterbox") : QStringLiteral("?");
}

void ExpectLsdvdAgrees(const test::TestDisc& disc, int set) {
    SCOPED_TRACE(disc.ifo(set).toStdString());
    const Result<TitleSetInfo> read = ReadSet(disc, set);
    ASSERT_TRUE(read.ok()) << read.error().message.toStdString();
    const TitleSetInfo& info = read.value();
    QList<QJsonObject> tracks;
    const QJsonArray allTracks = test::LsdvdTracks(disc.root);
    ASSERT_EQ(info.discTitles.size(), allTracks.size());
    for (const QJsonValue& track : allTracks) {
        const DiscTitle& discTitle = info.discTitles[track[QStringLiteral("ix")].toInt() - 1];
        EXPECT_EQ(discTitle.titleSet, track[QStringLiteral("vts")].toInt());
        EXPECT_EQ(discTitle.vtsTitle, track[QStringLiteral("ttn")].toInt());
        if (track[QStringLiteral("vts")].toInt() == set) {
            tracks.append(track.toObject());
        }
    }
    ASSERT_FALSE(tracks.isEmpty());
    ASSERT_EQ(info.titles.size(), tracks.size());
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const QJsonObject& track = tracks[i];
        const TitleInSet& title = info.titles[i];
        SCOPED_TRACE("title " + std::to_string(title.discTitle));
        EXPECT_EQ(title.discTitle, track[QStringLiteral("ix")].toInt());
        EXPECT_EQ(title.vtsTitle, track[QStringLiteral("ttn")].toInt());
        EXPECT_LE(std::abs(title.lengthMs - LsdvdMs(track[QStringLiteral("length")])), 1);
        EXPECT_EQ(title.chapterCount, track[QStringLiteral("chapter")].toArray().size());
        EXPECT_EQ(title.angles, track[QStringLiteral("angles")].toInt());
        EXPECT_EQ(info.video.standard == VideoStandard::Pal ? QStringLiteral("PAL")
                                                            : QStringLiteral("NTSC"),
                  track[QStringLiteral("format")].toString());
        EXPECT_EQ(info.video.aspect == DisplayAspect::Wide ? QStringLiteral("16/9")
                                                           : QStringLiteral("4/3"),
                  track[QStringLiteral("aspect")].toString());
        EXPECT_EQ(DisplayModes(info.video), track[QStringLiteral("df")].toString());

        const ProgramChain* chain = info.pgc(title.firstPgc);
        ASSERT_NE(chain, nullptr);
        const QJsonArray cells = track[QStringLiteral("cell")].toArray();
        ASSERT_EQ(chain->cells.size(), cells.size());
        for (qsizetype c = 0; c < cells.size(); ++c) {
            SCOPED_TRACE("cell " + std::to_string(c + 1));
            const CellPlayback& cell = chain->cells[c];
            EXPECT_LE(
                std::abs(cell.playbackTime.ms() - LsdvdMs(cells[c][QStringLiteral("length")])), 1);
            EXPECT_EQ(cell.firstSector,
                      static_cast<quint32>(cells[c][QStringLiteral("first_sector")].toInt()));
            EXPECT_EQ(cell.lastSector,
                      static_cast<quint32>(cells[c][QStringLiteral("last_sector")].toInt()));
        }
        const QJsonArray palette = track[QStringLiteral("palette")].toArray();
        ASSERT_EQ(palette.size(), 16);
        for (int entry = 0; entry < 16; ++entry) {
            EXPECT_EQ(
                QStringLiteral("%1").arg(chain->palette[entry] & 0xffffff, 6, 16, QLatin1Char('0')),
                palette[entry].toString());
        }
        // lsdvd lists the streams that the title's PGC makes available.
        QStringList available;
        for (qsizetype s = 0; s < info.subpictureStreams.size(); ++s) {
            if ((chain->subpictureControl[s] & 0x80000000u) != 0) {
                available.append(info.subpictureStreams[s].language);
            }
        }
        QStringList listed;
        for (const QJsonValue& stream : track[QStringLiteral("subp")].toArray()) {
            listed.append(stream[QStringLiteral("langcode")].toString());
        }
        EXPECT_EQ(available, listed);
    }
}

TEST(TitleSetInfo, AgreesWithLsdvdOnTitlesLengthsChaptersCellsPalettesAndStreams) {
    ASSERT_TRUE(test::PalDisc().built && test::NtscSharedDisc().built);
    ExpectLsdvdAgrees(test::PalDisc(), 1);
    ExpectLsdvdAgrees(test::PalDisc(), 2);
    ExpectLsdvdAgrees(test::NtscSharedDisc(), 1);
    ExpectLsdvdAgrees(test::PalDiscWithAddedStream(), 1);
    ExpectLsdvdAgrees(test::PalDiscWithAddedStream(), 2);
}

TEST(TitleSetInfo, NumbersTitlesAcrossSetsAndReadsStreamsVideoAndPalettesAsStored) {
    ASSERT_TRUE(test::PalDisc().built);
    const Result<TitleSetInfo> first = ReadSet(test::PalDisc(), 1);
    const Result<TitleSetInfo> second = ReadSet(test::PalDisc(), 2);
    ASSERT_TRUE(first.ok() && second.ok());
    ASSERT_EQ(second.value().titles.size(), 1);
    EXPECT_EQ(second.value().titles[0].discTitle, 3);
    EXPECT_EQ(second.value().title(3), &second.value().titles[0]);
    EXPECT_EQ(first.value().title(3), nullptr);
    // Set 2 lies on the disc right behind the last sector of set 1.
    EXPECT_EQ(second.value().titleSetStartSector,
              first.value().titleSetStartSector + first.value().lastSector + 1);

    ASSERT_EQ(first.value().subpictureStreams.size(), 1);
    EXPECT_EQ(first.value().subpictureStreams[0].language, QStringLiteral("en"));
    EXPECT_TRUE(second.value().subpictureStreams.isEmpty());
    // dvdauthor makes the stream available, as sub-stream 0 in every mode, only in the PGC
    // whose clip has subtitles: title 1's, not title 2's.
    EXPECT_EQ(first.value().pgc(first.value().title(1)->firstPgc)->subpictureControl[0],
              0x80000000u);
    EXPECT_EQ(first.value().pgc(first.value().title(2)->firstPgc)->subpictureControl[0], 0u);

    for (const Result<TitleSetInfo>* set : {&first, &second}) {
        const TitleSetInfo& info = set->value();
        // Marvoxa's own byte reader of the IFO, which loading a palette uses.
        const Result<IfoPaletteData> bytes = ReadIfoPalette(test::PalDisc().ifo(info.titleSet));
        ASSERT_TRUE(bytes.ok());
        EXPECT_EQ(info.videoAttributesWord, bytes.value().videoAttributes);
        EXPECT_EQ(info.video.aspect,
                  info.titleSet == 1 ? DisplayAspect::Wide : DisplayAspect::FourByThree);
        EXPECT_EQ(info.pgcs.front().palette, bytes.value().storedValues);
        EXPECT_EQ(info.timeMaps.size(), info.pgcs.size());
        EXPECT_TRUE(info.readerRemarks.isEmpty()) << info.readerRemarks.join(u'\n').toStdString();
        // The table places point where the IFO's bytes hold the tables: VOBU_ADMAP starts with
        // its last byte, four bytes before the entries end.
        const QByteArray ifo = test::ReadFile(test::PalDisc().ifo(info.titleSet));
        const qint64 map = qint64{info.tables.vobuAddresses} * 2048;
        ASSERT_LT(map + 4, ifo.size());
        EXPECT_EQ(qFromBigEndian<quint32>(ifo.constData() + map) + 1 - 4,
                  info.vobuStartSectors.size() * 4);
        EXPECT_EQ(qFromBigEndian<quint32>(ifo.constData() + map + info.vobuStartSectors.size() * 4),
                  info.vobuStartSectors.back());
        for (const TitleInSet& title : info.titles) {
            EXPECT_FALSE(title.interleaved || title.multiAngle);
            EXPECT_EQ(info.pgc(title.firstPgc)->entryTitle, title.vtsTitle);
        }
    }
}

struct Damage {
    const char* name;
    std::function<void(const test::TestDisc&)> apply;
    int set;
    const char* namedFile;
    const char* saying;
};

void Truncate(const QString& path, qint64 size) {
    QFile file(path);
    EXPECT_TRUE(file.resize(size)) << path.toStdString();
}

TEST(TitleSetInfo, RefusesDamagedIfosAndIfosThatDisagreeWithTheirVobs) {
    const std::vector<Damage> damages = {
        {"a truncated IFO beside a whole BUP",
         [](const test::TestDisc& disc) { Truncate(disc.ifo(1), 2048); }, 1, "VTS_01_0.IFO",
         "is damaged or incomplete"},
        {"a truncated IFO and BUP",
         [](const test::TestDisc& disc) {
             Truncate(disc.ifo(1), 1000);
             Truncate(disc.file(QStringLiteral("VTS_01_0.BUP")), 1000);
         },
         1, "VTS_01_0.IFO", "is damaged or incomplete"},
        {"a VIDEO_TS.IFO of another disc",
         [](const test::TestDisc& disc) {
             for (const char* name : {"VIDEO_TS.IFO", "VIDEO_TS.BUP"}) {
                 const QString path = disc.file(QString::fromLatin1(name));
                 EXPECT_TRUE(QFile::remove(path));
                 EXPECT_TRUE(
                     QFile::copy(test::NtscSharedDisc().file(QString::fromLatin1(name)), path));
             }
         },
         2, "VIDEO_TS.IFO", "names no title of title set 2"},
        {"a VOB cut short",
         [](const test::TestDisc& disc) {
             const QString vob = disc.file(QStringLiteral("VTS_01_1.VOB"));
             Truncate(vob, QFile(vob).size() / 2 / 2048 * 2048);
         },
         1, "VTS_01_0.IFO", "outside the"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        QTemporaryDir folder;
        const test::TestDisc copy = test::CopyDisc(test::PalDisc(), folder);
        ASSERT_TRUE(copy.built);
        damage.apply(copy);
        const Result<TitleSetInfo> info = ReadSet(copy, damage.set);
        ASSERT_FALSE(info.ok());
        EXPECT_EQ(info.error().kind, ErrorKind::Format);
        const QString message = info.error().message;
        EXPECT_TRUE(message.contains(copy.file(QString::fromLatin1(damage.namedFile))))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(damage.saying))) << message.toStdString();
    }
}

}  // namespace
}  // namespace marvoxa

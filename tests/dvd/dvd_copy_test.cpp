// The converter's --into-dvd on DVDs built by dvdauthor, read back by lsdvd, HandBrake (through
// libdvdnav, as players read) and libavcodec.

#include "added_stream.h"
#include "av_subtitles.h"
#include "cli/cli_options.h"
#include "cli/conversion.h"
#include "dvd/dvd_target.h"
#include "dvd/nav_pack.h"
#include "dvd/title_timeline.h"
#include "lsdvd_listing.h"
#include "palette/palette_state.h"
#include "small_disk.h"
#include "sup_stream_reader.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace marvoxa {
namespace {

using test::PalDiscWithAddedStream;

constexpr int kNewSubStream = 0x21;  // the PAL set has one stream already

QByteArray Digest(const QString& folder) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        hash.addData(name.toUtf8());
        hash.addData(test::ReadFile(QDir(folder).filePath(name)));
    }
    return hash.result().toHex();
}

SectorBytes Sector(const QByteArray& video, qint64 sector) {
    return SectorBytes(reinterpret_cast<const uchar*>(video.constData()) + sector * 2048, 2048);
}

// The sub-stream of a private stream 1 pack, or -1 for any other pack.
int SubStreamOf(SectorBytes pack) {
    if (pack[17] != 0xbd) {
        return -1;
    }
    return pack[14 + 9 + pack[22]];
}

// A palette as libavcodec takes it, each entry in the colour a player shows it in.
QByteArray ShownPalette(const std::array<quint32, 16>& stored) {
    QList<quint32> colours;
    for (const quint32 value : stored) {
        colours << (PaletteEntryFromStoredValue(value).displayColour & 0xffffff);
    }
    return test::PaletteOption(colours);
}

// The palette the converter draws in for a title set IFO, as stored values.
std::array<quint32, 16> DrawingPalette(const QString& ifo) {
    PaletteState state;
    const Result<DvdTarget> target = OpenDvdTarget(ifo, 1);
    EXPECT_TRUE(target.ok());
    state.applyIfoRead(target ? target.value().palette : IfoPaletteData{});
    std::array<quint32, 16> stored{};
    for (int entry = 0; entry < 16; ++entry) {
        const PaletteEntry& colour = state.palette()->entries[entry];
        stored[entry] = quint32{colour.y} << 16 | quint32{colour.cr} << 8 | colour.cb;
    }
    return stored;
}

// The unit with the two bytes of its first SET_COLOR command, which the copy points at the
// title palette's entries, cleared.
QByteArray WithoutColourEntries(QByteArray unit) {
    const qsizetype sequence = static_cast<uchar>(unit[2]) << 8 | static_cast<uchar>(unit[3]);
    if (unit.size() > sequence + 7 && unit[sequence + 5] == '\x03') {
        unit[sequence + 6] = 0;
        unit[sequence + 7] = 0;
    }
    return unit;
}

// The units of Generated.sup as the player's decoder gets them.
QList<test::SupStreamPacket> GeneratedUnits() {
    return test::ReadSupStream(
        test::ReadFile(PalDiscWithAddedStream().root + QStringLiteral("/Generated.sup")));
}

TEST(DvdCopy, LsdvdListsTheNewStreamInItsTitleOnlyAndTheLeftOutCueIsNamed) {
    ASSERT_TRUE(PalDiscWithAddedStream().built);
    const test::ConverterRun& run = test::PalAddedRun();
    EXPECT_TRUE(run.out.contains(QStringLiteral("as subtitle stream 2 (de) of title 1:\n") +
                                 PalDiscWithAddedStream().videoTs()));
    // The command the report gives makes an image that lsdvd reads as it reads the folder.
    const qsizetype command = run.out.indexOf(QStringLiteral("genisoimage -dvd-video"));
    ASSERT_GE(command, 0) << run.out.toStdString();
    const QString image = PalDiscWithAddedStream().root + QStringLiteral(".iso");
    test::RunTool(QStringLiteral("genisoimage"),
                  test::Words("-quiet -dvd-video -V DVD -o")
                      << image << PalDiscWithAddedStream().root,
                  PalDiscWithAddedStream().root);
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("-o '%1' '%2'").arg(image, PalDiscWithAddedStream().root)));
    EXPECT_EQ(test::LsdvdTracks(image), test::LsdvdTracks(PalDiscWithAddedStream().root));
    QFile::remove(image);
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("1 subtitle(s) start after title 1 has ended and "
                                        "were not added to the DVD. The first is "
                                        "Subtitle 4 at 00:00:09,000.")))
        << run.err.toStdString();
    const QJsonArray tracks = test::LsdvdTracks(PalDiscWithAddedStream().root);
    ASSERT_EQ(tracks.size(), 3);
    const auto streams = [&](int track) {
        QStringList listed;
        for (const QJsonValue& stream : tracks[track][QStringLiteral("subp")].toArray()) {
            listed << stream[QStringLiteral("langcode")].toString() + QLatin1Char(' ') +
                          stream[QStringLiteral("streamid")].toString();
        }
        return listed;
    };
    EXPECT_EQ(streams(0), (QStringList{QStringLiteral("en 0x20"), QStringLiteral("de 0x21")}));
    EXPECT_EQ(streams(1), QStringList{});  // title 2 plays other PGCs of the set
    EXPECT_EQ(streams(2), QStringList{});
}

TEST(DvdCopy, AnNtscTitleGetsItsFirstStreamAndTheTitleSharingItsCellsDoesNot) {
    ASSERT_TRUE(test::NtscSharedDisc().built);
    const QTemporaryDir output;
    const test::ConverterRun run = test::AddStream(test::NtscSharedDisc().ifo(1), output.path(),
                                                   "1\n00:00:00,500 --> 00:00:01,500\nHi\n");
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    const QJsonArray tracks = test::LsdvdTracks(output.path());
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[0][QStringLiteral("subp")].toArray().size(), 1);
    EXPECT_EQ(tracks[0][QStringLiteral("subp")][0][QStringLiteral("streamid")].toString(),
              QStringLiteral("0x20"));
    EXPECT_EQ(tracks[1][QStringLiteral("subp")].toArray().size(), 0);
}

TEST(DvdCopy, ATitleWithAPaletteOfItsOwnIsNamedInANotice) {
    const QTemporaryDir folder;
    const test::TestDisc copy = test::CopyDisc(test::PalDisc(), folder);
    QFile ifo(copy.ifo(1));
    ASSERT_TRUE(ifo.open(QIODevice::ReadWrite));
    const QByteArray bytes = ifo.readAll();
    const auto u32 = [&](qsizetype at) {
        const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + at;
        return qsizetype{b[0]} << 24 | b[1] << 16 | b[2] << 8 | b[3];
    };
    const qsizetype programChains = u32(0xcc) * 2048;
    const qsizetype secondPalette = programChains + u32(programChains + 8 + 8 + 4) + 0xa4;
    ASSERT_TRUE(ifo.seek(secondPalette) && ifo.write("\0\x51\x5a\xf0", 4) == 4);  // red
    ifo.close();
    const QTemporaryDir output;
    const test::ConverterRun run =
        test::AddStream(copy.ifo(1), output.path(), "1\n00:00:00,500 --> 00:00:01,000\nHi\n",
                        {QStringLiteral("--title"), QStringLiteral("2")});
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("marvoxa-cli: Title 2 has a subtitle palette of its own")))
        << run.err.toStdString();
}

TEST(DvdCopy, HandBrakeCopiesEveryCueThatLibavcodecShowsAsGeneratedSupDrawsIt) {
    ASSERT_TRUE(PalDiscWithAddedStream().built);
    const QTemporaryDir folder;
    test::RunTool(QStringLiteral("HandBrakeCLI"),
                  QStringList{QStringLiteral("-i"), PalDiscWithAddedStream().videoTs()} +
                      test::Words("-t 1 --min-duration 0 -e x264 -q 45 --encoder-preset "
                                  "ultrafast -a none -s 2 -o copied.mkv"),
                  folder.path());
    // Each side in the colours a player shows it in: the copy in its title's palette.
    const std::optional<test::ReadTitleSet> copy = test::ReadWholeSet(PalDiscWithAddedStream(), 1);
    ASSERT_TRUE(copy);
    const test::ShownFile copied = test::DecodeSubtitleFile(
        folder.filePath(QStringLiteral("copied.mkv")),
        ShownPalette(copy->info.pgc(copy->info.title(1)->firstPgc)->palette), 576);
    const QByteArray palette = ShownPalette(DrawingPalette(test::PalDisc().ifo(1)));
    const QList<test::SupStreamPacket> units = GeneratedUnits();
    ASSERT_EQ(units.size(), 4);
    ASSERT_EQ(copied.cues.size(), 3) << "the cue after the title's end is left out";
    for (qsizetype cue = 0; cue < copied.cues.size(); ++cue) {
        SCOPED_TRACE("cue " + std::to_string(cue + 1));
        const test::ShownCue drawn = test::DecodeUnit(units[cue].unit, palette, 576);
        EXPECT_GT(test::OpaquePixels(drawn.frame), 0);
        EXPECT_TRUE(copied.cues[cue].frame == drawn.frame) << "other pixels";
        const qint64 shownAt = copied.cues[cue].presentationTime - copied.videoStartTime;
        EXPECT_LE(std::abs(shownAt - units[cue].presentationTime), 3600) << "a PAL frame";
    }
}

TEST(DvdCopy, KeepsEveryOtherPackAndFileAndAddsTheUnitsWhole) {
    const test::TestDisc& source = test::PalDisc();
    const test::TestDisc& added = PalDiscWithAddedStream();
    ASSERT_TRUE(added.built);
    for (const QString& name : QDir(added.videoTs()).entryList(QDir::Files)) {
        const QByteArray bytes = test::ReadFile(added.file(name));
        if (name.endsWith(QLatin1String(".BUP"))) {
            EXPECT_EQ(bytes, test::ReadFile(added.file(name.chopped(3) + QStringLiteral("IFO"))))
                << name.toStdString() << " differs from its IFO";
        } else if (name != QLatin1String("VTS_01_0.IFO") && name != QLatin1String("VIDEO_TS.IFO") &&
                   name != QLatin1String("VTS_01_1.VOB")) {
            EXPECT_EQ(bytes, test::ReadFile(source.file(name))) << name.toStdString();
        }
    }
    // Pack for pack, the video is the source's with the new packs added and NAV packs rewritten.
    const QByteArray before = test::ReadFile(source.file(QStringLiteral("VTS_01_1.VOB")));
    const QByteArray after = test::ReadFile(added.file(QStringLiteral("VTS_01_1.VOB")));
    QByteArray payloads;
    qint64 from = 0;
    for (qint64 sector = 0; sector < after.size() / 2048; ++sector) {
        const SectorBytes pack = Sector(after, sector);
        if (SubStreamOf(pack) == kNewSubStream) {
            const int header = 14 + 9 + pack[22] + 1;
            const int length = (pack[18] << 8 | pack[19]) + 20 - header;
            payloads += QByteArray(reinterpret_cast<const char*>(pack.data()) + header, length);
            continue;
        }
        ASSERT_LT(from, before.size() / 2048);
        if (!IsNavPack(pack)) {
            ASSERT_TRUE(std::equal(pack.begin(), pack.end(), Sector(before, from).begin()))
                << "pack " << sector << " is not source pack " << from;
        }
        ++from;
    }
    EXPECT_EQ(from, before.size() / 2048);
    QByteArray units;
    QByteArray copiedUnits;
    for (const test::SupStreamPacket& packet : GeneratedUnits().mid(0, 3)) {
        units += WithoutColourEntries(packet.unit);
        copiedUnits += WithoutColourEntries(payloads.mid(copiedUnits.size(), packet.unit.size()));
    }
    EXPECT_EQ(copiedUnits, units);
    EXPECT_EQ(copiedUnits.size(), payloads.size());
}

// Every address the copy holds names a NAV pack where it should, and TT_SRPT the place each
// set's IFO gets when the folder becomes a disc.
TEST(DvdCopy, EveryAddressLandsOnItsPack) {
    const test::TestDisc& added = PalDiscWithAddedStream();
    ASSERT_TRUE(added.built);
    const std::optional<test::ReadTitleSet> set = test::ReadWholeSet(added, 1);
    ASSERT_TRUE(set);
    QList<quint32> navs;
    for (const VobuEntry& vobu : set->vobus) {
        navs << vobu.sector;
    }
    EXPECT_EQ(set->info.vobuStartSectors, navs);
    for (const TimeMap& map : set->info.timeMaps) {
        for (const quint32 entry : map.entries) {
            EXPECT_TRUE(navs.contains(entry & 0x7fffffff)) << "time map entry " << entry;
        }
    }
    for (const CellAddress& cell : set->info.cellAddresses) {
        EXPECT_TRUE(navs.contains(cell.startSector));
        EXPECT_TRUE(navs.contains(cell.lastSector + 1) ||
                    cell.lastSector + 1 == set->folder.titleVobSectors());
    }
    for (const TitleInSet& title : set->info.titles) {
        EXPECT_TRUE(TitleTimeline::Build(set->info, title.discTitle, set->vobus).ok());
    }
    const QByteArray video = test::ReadFile(added.file(QStringLiteral("VTS_01_1.VOB")));
    int synced = 0;
    for (const quint32 nav : navs) {
        const NavPack pack = ReadNavPack(Sector(video, nav)).value();
        const auto lands = [&](quint32 value, bool backwards) {
            const quint32 distance = value & 0x3fffffff;
            return distance == 0x3fffffff ||
                   navs.contains(backwards ? nav - distance : nav + distance);
        };
        EXPECT_TRUE(lands(pack.nextVobu, false) && lands(pack.previousVobu, true)) << nav;
        const quint32 sync = pack.subpictureSync[1];
        if (sync != 0 && sync != 0x7fffffff) {
            ++synced;
            const quint32 target = sync & 0x80000000 ? nav - (sync & 0x7fffffff) : nav + sync;
            EXPECT_TRUE(navs.contains(target)) << nav;
        }
        for (const quint32 end : pack.referenceEndAddresses) {
            EXPECT_LT(nav + end, nav + pack.vobuEndAddress + 1);
        }
    }
    EXPECT_GT(synced, 0) << "some VOBU points at another for the new stream";
    // VIDEO_TS.IFO's attributes of set 1 name the new stream too.
    const QByteArray manager = test::ReadFile(added.file(QStringLiteral("VIDEO_TS.IFO")));
    const auto u32 = [&](qsizetype at) {
        const auto* b = reinterpret_cast<const uchar*>(manager.constData()) + at;
        return qsizetype{b[0]} << 24 | b[1] << 16 | b[2] << 8 | b[3];
    };
    const qsizetype attributes = u32(0xd0) * 2048 + u32(u32(0xd0) * 2048 + 8);
    EXPECT_EQ(manager[attributes + 349], 2);
    EXPECT_EQ(manager.mid(attributes + 356, 6), QByteArray("\x01\0de\0\0", 6));
    // Each set's last sector is its files' size, and TT_SRPT starts each set after the last.
    const QList<DiscTitle>& titles = set->info.discTitles;
    ASSERT_EQ(titles.size(), 3);
    quint32 start = titles[0].titleSetStartSector;
    for (const int titleSet : {1, 2}) {
        quint32 sectors = 0;
        for (const QFileInfo& file :
             QDir(added.videoTs())
                 .entryInfoList(
                     {QStringLiteral("VTS_%1_*").arg(titleSet, 2, 10, QLatin1Char('0'))})) {
            sectors += static_cast<quint32>(file.size() / 2048);
        }
        const QByteArray ifo = test::ReadFile(added.ifo(titleSet));
        const auto* last = reinterpret_cast<const uchar*>(ifo.constData()) + 12;
        EXPECT_EQ(quint32{last[0]} << 24 | last[1] << 16 | last[2] << 8 | last[3], sectors - 1);
        EXPECT_EQ(titles[titleSet == 1 ? 0 : 2].titleSetStartSector, start) << titleSet;
        start += sectors;
    }
}

TEST(DvdCopy, RefusesWhatItCannotAddAndLeavesNothingBehind) {
    const test::TestDisc& pal = test::PalDisc();
    ASSERT_TRUE(pal.built && test::NtscSharedDisc().built);
    const QTemporaryDir damaged;
    const test::TestDisc copy = test::CopyDisc(pal, damaged);
    QFile vob(copy.file(QStringLiteral("VTS_01_1.VOB")));
    ASSERT_TRUE(vob.open(QIODevice::ReadWrite));
    ASSERT_TRUE(vob.seek(3 * 2048 + 20) && vob.write("\xb1", 1) == 1);  // a scrambled packet
    vob.close();
    // 32 streams already, and a VOBU address map that misses the last VOBU.
    const QTemporaryDir full;
    const test::TestDisc fullCopy = test::CopyDisc(pal, full);
    QFile streams(fullCopy.ifo(1));
    ASSERT_TRUE(streams.open(QIODevice::ReadWrite) && streams.seek(0x255) &&
                streams.write("\x20", 1) == 1);
    streams.close();
    const QTemporaryDir shortMap;
    const test::TestDisc shortMapCopy = test::CopyDisc(pal, shortMap);
    QFile map(shortMapCopy.ifo(1));
    ASSERT_TRUE(map.open(QIODevice::ReadWrite));
    const QByteArray ifo = map.readAll();
    const auto* mapSector = reinterpret_cast<const uchar*>(ifo.constData()) + 0xe4;
    const qint64 mapStart = qint64{mapSector[2] << 8 | mapSector[3]} * 2048;
    const auto* lastByte = reinterpret_cast<const uchar*>(ifo.constData()) + mapStart;
    const quint32 shorter = (quint32{lastByte[2]} << 8 | lastByte[3]) - 4;
    const char shorterBytes[] = {0, 0, static_cast<char>(shorter >> 8), static_cast<char>(shorter)};
    ASSERT_TRUE(map.seek(mapStart) && map.write(shorterBytes, 4) == 4);
    map.close();
    // The first cell of the first PGC marked interleaved in its cell playback entry.
    const QTemporaryDir interleaved;
    const test::TestDisc interleavedCopy = test::CopyDisc(pal, interleaved);
    QFile cells(interleavedCopy.ifo(1));
    ASSERT_TRUE(cells.open(QIODevice::ReadWrite));
    const QByteArray setIfo = cells.readAll();
    const auto u32 = [&](qint64 at) {
        const auto* b = reinterpret_cast<const uchar*>(setIfo.constData()) + at;
        return qint64{b[0]} << 24 | b[1] << 16 | b[2] << 8 | b[3];
    };
    const qint64 pgcTable = u32(0xcc) * 2048;
    const qint64 firstPgc = pgcTable + u32(pgcTable + 12);
    const qint64 firstCell =
        firstPgc + (uchar(setIfo[firstPgc + 0xe8]) << 8 | uchar(setIfo[firstPgc + 0xe9]));
    const char category = static_cast<char>(setIfo[firstCell] | 0x04);
    ASSERT_TRUE(cells.seek(firstCell) && cells.write(&category, 1) == 1);
    cells.close();
    test::SmallDisk smallDisk(512);
    ASSERT_TRUE(smallDisk.mounted()) << smallDisk.mountError().toStdString();
    const QByteArray sourceBefore = Digest(pal.videoTs());
    const struct {
        const char* name;
        QString ifo;
        QByteArray srt;
        QStringList arguments;
        const char* message;
    } cases[] = {
        {"a title of another set",
         pal.ifo(1),
         test::kPalCues,
         {QStringLiteral("--title"), QStringLiteral("3")},
         "Title 3 is not in title set 1 of this DVD. Its titles are: title 1 (0:00:05), "
         "title 2 (0:00:02)."},
        {"scrambled packs", copy.ifo(1), test::kPalCues, {}, "is scrambled (CSS)"},
        {"a cue in a cell two titles share",
         test::NtscSharedDisc().ifo(1),
         "1\n00:00:02,500 --> 00:00:03,000\nShared\n",
         {},
         "Subtitle 1 at 00:00:02,500 cannot be added to the DVD: it falls in video that the DVD "
         "plays in more than one place"},
        {"the source's own folder", pal.ifo(1), test::kPalCues, {}, "would replace the DVD"},
        {"32 streams", fullCopy.ifo(1), test::kPalCues, {}, "already has 32 subtitle streams"},
        {"an address map short of a VOBU",
         shortMapCopy.ifo(1),
         test::kPalCues,
         {},
         "disagrees with its VOBs: its VOBU address map lists"},
        {"an interleaved title",
         interleavedCopy.ifo(1),
         test::kPalCues,
         {},
         "Title 1 of title set 1 is interleaved or has several angles"},
        {"a full disk", pal.ifo(1), test::kPalCues, {}, "No space left on device"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const QTemporaryDir output;
        const QByteArray message(test.message);
        const QString folder = message.contains("replace") ? pal.root
                               : message.contains("space") ? smallDisk.path()
                                                           : output.path();
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        const test::ConverterRun run = test::AddStream(test.ifo, folder, test.srt, test.arguments);
        EXPECT_EQ(run.exitStatus, kExitRefused);
        EXPECT_TRUE(run.err.contains(QLatin1String(test.message))) << run.err.toStdString();
        QStringList after = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        after.removeAll(QStringLiteral("cues.srt"));
        EXPECT_EQ(after, before) << "something was left behind";
        QFile::remove(folder + QStringLiteral("/cues.srt"));
    }
    EXPECT_EQ(Digest(pal.videoTs()), sourceBefore);
}

TEST(DvdCopy, ReplacesAnEarlierCopyWholeAndSplitsAsTheSourceWas) {
    const test::TestDisc& split = test::PalSplitDisc();
    ASSERT_TRUE(split.built);
    const QTemporaryDir output;
    for (int run = 0; run < 2; ++run) {
        const test::ConverterRun done =
            test::AddStream(split.ifo(1), output.path(), test::kPalCues,
                            {QStringLiteral("--aspect=4:3")});  // one drawing, one file
        ASSERT_EQ(done.exitStatus, kExitDone) << done.err.toStdString();
    }
    const QDir folder(output.path());
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                               QDir::Name | QDir::IgnoreCase),
              (QStringList{QStringLiteral("cues.srt"), QStringLiteral("Generated.sup"),
                           QStringLiteral("Marvoxa_Help_File.txt"), QStringLiteral("VIDEO_TS")}));
    EXPECT_EQ(QFileInfo(folder.filePath(QStringLiteral("VIDEO_TS"))).permissions() &
                  QFileDevice::ReadOther,
              QFileDevice::ReadOther)
        << "others can read the copy, as they can the source";
    // The same title video as from the whole file, split where the source split it.
    const test::TestDisc copy{true, output.path()};
    const qint64 splitSize = QFileInfo(split.file(QStringLiteral("VTS_01_1.VOB"))).size();
    QByteArray joined;
    for (const QFileInfo& file :
         QDir(copy.videoTs()).entryInfoList({QStringLiteral("VTS_01_*.VOB")})) {
        if (file.fileName() != QLatin1String("VTS_01_0.VOB")) {
            EXPECT_LE(file.size(), splitSize) << file.fileName().toStdString();
            joined += test::ReadFile(file.filePath());
        }
    }
    EXPECT_EQ(QFileInfo(copy.file(QStringLiteral("VTS_01_1.VOB"))).size(), splitSize);
    EXPECT_TRUE(joined ==
                test::ReadFile(PalDiscWithAddedStream().file(QStringLiteral("VTS_01_1.VOB"))));
}

// Three languages added to title 1 of the PAL disc, which has an English stream, in one run:
// film.fr.srt and film.Spanish.srt name theirs, the third's comes from --language.
struct ThreeLanguages {
    QTemporaryDir folder;
    test::TestDisc disc;
    test::ConverterRun run;
    QStringList streams;  // Generated.LANG.sup, in order
};

const ThreeLanguages& ThreeAdded() {
    static std::unique_ptr<ThreeLanguages> added;
    if (!added) {
        added = std::make_unique<ThreeLanguages>();
        const QDir out(added->folder.path());
        QStringList files;
        for (const char* name : {"film.fr.srt", "film.Spanish.srt", "third.srt"}) {
            // Each its own words, so no stream can pass for another.
            QByteArray cues = test::kPalCues;
            cues.replace("In the first cell", QByteArray("Cell one, ") + name);
            files << test::WriteFile(added->folder, QLatin1String(name), cues);
        }
        // Drawn square, in one drawing each: the streams' ids are checked here, not the wide
        // drawing.
        const Result<ConversionOptions> options = ParseConversionOptions(
            QStringList{QStringLiteral("--ifo"), test::PalDisc().ifo(1),
                        QStringLiteral("--into-dvd"), QStringLiteral("--language"),
                        QStringLiteral(",,it"), QStringLiteral("--aspect=4:3"),
                        QStringLiteral("--output-dir"), out.path()} +
                files,
            {});
        EXPECT_TRUE(options.ok());
        QTextStream stdOut(&added->run.out);
        QTextStream stdErr(&added->run.err);
        added->run.exitStatus = RunConversion(options.value(), stdOut, stdErr);
        added->disc.root = out.path();
        added->disc.built = added->run.exitStatus == kExitDone;
        EXPECT_TRUE(added->disc.built) << added->run.err.toStdString();
        for (const char* language : {"fr", "es", "it"}) {
            added->streams << out.filePath(
                QStringLiteral("Generated.%1.sup").arg(QLatin1String(language)));
        }
    }
    return *added;
}

// The payloads of a sub-stream's packs in the title video, in order.
QByteArray PayloadsOf(const QByteArray& video, int subStream) {
    QByteArray payloads;
    for (qint64 sector = 0; sector < video.size() / 2048; ++sector) {
        const SectorBytes pack = Sector(video, sector);
        if (SubStreamOf(pack) == subStream) {
            const int header = 14 + 9 + pack[22] + 1;
            const int length = (pack[18] << 8 | pack[19]) + 20 - header;
            payloads += QByteArray(reinterpret_cast<const char*>(pack.data()) + header, length);
        }
    }
    return payloads;
}

TEST(DvdCopyOfSeveralStreams, LsdvdListsThemInTheirOrderAfterTheEnglishStream) {
    const ThreeLanguages& added = ThreeAdded();
    ASSERT_TRUE(added.disc.built);
    const QJsonArray tracks = test::LsdvdTracks(added.disc.root);
    ASSERT_EQ(tracks.size(), 3);
    QStringList listed;
    for (const QJsonValue& stream : tracks[0][QStringLiteral("subp")].toArray()) {
        listed << stream[QStringLiteral("langcode")].toString() + QLatin1Char(' ') +
                      stream[QStringLiteral("streamid")].toString();
    }
    EXPECT_EQ(listed, (QStringList{QStringLiteral("en 0x20"), QStringLiteral("fr 0x21"),
                                   QStringLiteral("es 0x22"), QStringLiteral("it 0x23")}));
    EXPECT_TRUE(tracks[1][QStringLiteral("subp")].toArray().isEmpty());

    // HandBrake, reading as players do, lists the four.
    const QTemporaryDir folder;
    const QString scan = test::RunTool(
        QStringLiteral("HandBrakeCLI"),
        QStringList{QStringLiteral("-i"), added.disc.videoTs()} + test::Words("-t 1 --scan"),
        folder.path());
    const QString tracksPart = scan.section(QStringLiteral("+ subtitle tracks:\n"), 1);
    QStringList handBrakeTracks;
    for (const QString& line : tracksPart.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QStringLiteral("    + "))) {
            break;
        }
        handBrakeTracks << line.trimmed();
    }
    ASSERT_EQ(handBrakeTracks.size(), 4) << scan.toStdString();
    for (const char* language : {"English", "Francais", "espa", "italiano"}) {
        EXPECT_TRUE(
            handBrakeTracks.join(u'|').contains(QLatin1String(language), Qt::CaseInsensitive))
            << language << " in " << handBrakeTracks.join(u'|').toStdString();
    }
}

TEST(DvdCopyOfSeveralStreams, EachIdCarriesTheUnitsOfItsStreamAndTheEnglishOnesStay) {
    const ThreeLanguages& added = ThreeAdded();
    ASSERT_TRUE(added.disc.built);
    const QByteArray before = test::ReadFile(test::PalDisc().file(QStringLiteral("VTS_01_1.VOB")));
    const QString vob = added.disc.file(QStringLiteral("VTS_01_1.VOB"));
    const QByteArray after = test::ReadFile(vob);
    EXPECT_EQ(PayloadsOf(after, 0x20), PayloadsOf(before, 0x20));
    ASSERT_FALSE(PayloadsOf(before, 0x20).isEmpty());
    // Each side in the colours a player shows it in: the copy in its title's palette.
    const std::optional<test::ReadTitleSet> copy = test::ReadWholeSet(added.disc, 1);
    ASSERT_TRUE(copy);
    const QByteArray shownPalette =
        ShownPalette(copy->info.pgc(copy->info.title(1)->firstPgc)->palette);
    const QByteArray drawnPalette = ShownPalette(DrawingPalette(test::PalDisc().ifo(1)));
    for (int stream = 0; stream < 3; ++stream) {
        SCOPED_TRACE(added.streams[stream].toStdString());
        const QList<test::SupStreamPacket> units =
            test::ReadSupStream(test::ReadFile(added.streams[stream]));
        ASSERT_EQ(units.size(), 4);
        // Byte for byte but the colour entries, which the copy points at the title's palette.
        const QByteArray payloads = PayloadsOf(after, 0x21 + stream);
        QByteArray expected;
        QByteArray copied;
        for (const test::SupStreamPacket& unit : units.mid(0, 3)) {  // the 4th is after the end
            expected += WithoutColourEntries(unit.unit);
            copied += WithoutColourEntries(payloads.mid(copied.size(), unit.unit.size()));
        }
        EXPECT_EQ(copied, expected);
        EXPECT_EQ(copied.size(), payloads.size());
        const test::ShownFile shown = test::DecodeSubtitleFile(vob, shownPalette, 576, stream + 1);
        ASSERT_EQ(shown.cues.size(), 3);
        for (qsizetype cue = 0; cue < shown.cues.size(); ++cue) {
            const test::ShownCue drawn = test::DecodeUnit(units[cue].unit, drawnPalette, 576);
            EXPECT_GT(test::OpaquePixels(drawn.frame), 0);
            EXPECT_TRUE(shown.cues[cue].frame == drawn.frame) << "cue " << cue + 1;
        }
    }
}

}  // namespace
}  // namespace marvoxa

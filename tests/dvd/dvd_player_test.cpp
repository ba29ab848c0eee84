// Copies of the DVDs people own, read back as a player reads them: through libdvdnav from the
// title's start, HandBrake's scan and genisoimage.

#include "added_stream.h"
#include "cli/conversion.h"
#include "dvd/dvd_copy.h"
#include "dvd/dvd_target.h"
#include "dvd/new_stream_plan.h"
#include "player_reading.h"
#include "sup_stream_reader.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

namespace marvoxa {
namespace {

// The units of a sub-stream a player receives.
QList<test::PlayedUnit> UnitsOf(const test::PlayedTitle& title, int id) {
    QList<test::PlayedUnit> units;
    for (const test::PlayedUnit& unit : title.units) {
        if (unit.subStreamId == id) {
            units.append(unit);
        }
    }
    return units;
}

struct PlayedCase {
    const char* name;
    const test::TestDisc& (*disc)();
    bool lowerCase;
    QByteArray cues;
    QList<qint64> cueMs;  // when each cue is shown in the video
    qint64 frameTicks;
    int newId;
    QList<int> oldIds;
};

// Each new unit arrives on its free sub-stream at its cue's time on the video's own clock, in
// colours the title's palette really gives it, and the disc's own streams are untouched.
TEST(DvdPlayer, NewUnitsArriveOnTimeOnAFreeIdInVisibleColoursAndOldStreamsStayAsTheyWere) {
    const PlayedCase cases[] = {
        {"NTSC, 11 minutes, all-black palette",
         test::NtscLongDisc,
         false,
         "1\n00:00:01,000 --> 00:00:02,000\nFirst\n\n"
         "2\n00:04:30,000 --> 00:04:31,000\nThird cell\n\n"
         "3\n00:10:30,000 --> 00:10:31,000\nLast cell\n",
         {1000, 270000, 630000},
         3003,
         0x20,
         {}},
        {"16:9 with a wide and a letterbox English stream",
         test::WideVariantsDisc,
         false,
         "1\n00:00:01,000 --> 00:00:02,000\nFrench\n",
         {1000},
         3600,
         0x22,
         {0x20, 0x21}},
        {"a lower-case copy",
         test::WideNoPanScanDisc,
         true,
         "1\n00:00:00,800 --> 00:00:01,500\nUpper\n",
         {800},
         3600,
         0x20,
         {}},
    };
    for (const PlayedCase& entry : cases) {
        SCOPED_TRACE(entry.name);
        const test::TestDisc& source = entry.disc();
        ASSERT_TRUE(source.built);
        const QTemporaryDir lowered;
        const test::TestDisc disc =
            entry.lowerCase ? test::CopyDisc(source, lowered, true) : source;
        const QString ifo =
            entry.lowerCase ? disc.root + QStringLiteral("/video_ts/vts_01_0.ifo") : disc.ifo(1);
        const QTemporaryDir output;
        const test::ConverterRun run = test::AddStream(ifo, output.path(), entry.cues);
        ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
        const QString help = QString::fromUtf8(
            test::ReadFile(output.filePath(QStringLiteral("Marvoxa_Help_File.txt"))));
        EXPECT_FALSE(help.contains(QLatin1String("Ifoedit"), Qt::CaseInsensitive))
            << help.toStdString();
        EXPECT_FALSE(run.out.contains(QLatin1String("Ifoedit"), Qt::CaseInsensitive))
            << run.out.toStdString();
        // None of these palettes has greys (dvdauthor's black, spumux's white and black): the
        // copy's palette got the colours.
        EXPECT_TRUE(
            help.contains(QLatin1String("The subtitles' colours were written into the copy")))
            << help.toStdString();

        const test::PlayedTitle before = test::PlayTitle(disc.root, 1);
        const test::PlayedTitle after = test::PlayTitle(output.path(), 1);
        const QList<test::PlayedUnit> added = UnitsOf(after, entry.newId);
        ASSERT_EQ(added.size(), entry.cueMs.size());
        ASSERT_TRUE(after.palette);
        for (qsizetype cue = 0; cue < added.size(); ++cue) {
            SCOPED_TRACE("cue " + std::to_string(cue + 1));
            const qint64 shown = added[cue].pts - after.startPtm;
            EXPECT_LE(std::abs(shown - entry.cueMs[cue] * 90), entry.frameTicks)
                << "shown at " << shown / 90 << " ms of the video";
            const test::UnitColours colours = test::ColoursOf(added[cue].unit);
            ASSERT_GE(colours.text, 0);
            const auto luma = [&](int index) { return int((*after.palette)[index] >> 16 & 0xff); };
            EXPECT_GE(std::abs(luma(colours.text) - luma(colours.outline)), 0x60)
                << "text entry " << colours.text << ", outline entry " << colours.outline;
        }
        for (const int id : entry.oldIds) {
            const QList<test::PlayedUnit> old = UnitsOf(before, id);
            const QList<test::PlayedUnit> kept = UnitsOf(after, id);
            ASSERT_FALSE(old.isEmpty()) << id;
            ASSERT_EQ(kept.size(), old.size()) << id;
            for (qsizetype i = 0; i < old.size(); ++i) {
                EXPECT_EQ(kept[i].pts, old[i].pts);
                EXPECT_EQ(kept[i].unit, old[i].unit);
            }
        }
        // The names players and genisoimage -dvd-video expect, whatever the source had.
        EXPECT_TRUE(QFileInfo::exists(output.filePath(QStringLiteral("VIDEO_TS/VTS_01_0.IFO"))));
        EXPECT_TRUE(QFileInfo::exists(output.filePath(QStringLiteral("VIDEO_TS/VTS_01_1.VOB"))));
        EXPECT_TRUE(QDir(output.filePath(QStringLiteral("VIDEO_TS")))
                        .entryList(QDir::Files)
                        .filter(QRegularExpression(QStringLiteral("[a-z]")))
                        .isEmpty());
    }
}

// Two streams in one copy, the first with a letterbox drawing: each its free ids, the
// letterbox one where the title lets 4:3 screens show the film letterboxed or cut.
TEST(DvdPlayer, AStreamWithALetterboxDrawingGetsTwoIdsThatHandBrakeNamesWideAndLetterbox) {
    ASSERT_TRUE(test::WideVariantsDisc().built && test::WideNoPanScanDisc().built);
    const QTemporaryDir drawn;
    const test::ConverterRun run = test::AddStream(test::WideVariantsDisc().ifo(1), drawn.path(),
                                                   "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
    ASSERT_EQ(run.exitStatus, kExitDone);
    QList<TitleSubpicture> units;
    for (const test::SupStreamPacket& packet :
         test::ReadSupStream(test::ReadFile(drawn.filePath(QStringLiteral("Generated.sup"))))) {
        units.append({QStringLiteral("Subtitle 1 at 00:00:01,000"), 1000, 1000, packet.unit});
    }
    struct Case {
        const test::TestDisc& disc;
        QList<quint32> controls;  // of the new streams
        QStringList scanned;      // HandBrake's names of the new tracks
    };
    const Case cases[] = {
        {test::WideVariantsDisc(),
         {0x82020303, 0x84040404},
         {QStringLiteral("Francais (Wide Screen)"), QStringLiteral("Francais (Letterbox)"),
          QStringLiteral("español (Wide Screen)")}},
        {test::WideNoPanScanDisc(),
         {0x80000100, 0x82020200},
         {QStringLiteral("Francais (Wide Screen)"), QStringLiteral("Francais (Letterbox)"),
          QStringLiteral("español (Wide Screen)")}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.disc.root.toStdString());
        const Result<DvdTarget> target = OpenDvdTarget(entry.disc.ifo(1), 1);
        ASSERT_TRUE(target.ok());
        const QTemporaryDir output;
        DvdCopyRequest request;
        request.target = &target.value();
        request.destination = output.path();
        request.streams = {{QStringLiteral("fr"), units, units, std::nullopt},
                           {QStringLiteral("es"), units, {}, std::nullopt}};
        DvdCopy copy;
        const Result<DvdCopyReport> written = copy.write(request);
        ASSERT_TRUE(written.ok()) << written.error().message.toStdString();
        ASSERT_TRUE(copy.commit().ok());
        const Result<DvdFolder> folder =
            FindDvdFolder(output.filePath(QStringLiteral("VIDEO_TS/VTS_01_0.IFO")));
        ASSERT_TRUE(folder.ok());
        const Result<TitleSetInfo> info = ReadTitleSetInfo(folder.value());
        ASSERT_TRUE(info.ok());
        const int first = target.value().stream;
        const ProgramChain& chain = *info.value().pgc(1);
        EXPECT_EQ(chain.subpictureControl[first], entry.controls[0]);
        EXPECT_EQ(chain.subpictureControl[first + 1], entry.controls[1]);
        const QString scan = test::RunTool(QStringLiteral("HandBrakeCLI"),
                                           QStringList{QStringLiteral("-i"), output.path()} +
                                               test::Words("-t 1 --scan --min-duration 0"),
                                           output.path());
        for (const QString& track : entry.scanned) {
            EXPECT_TRUE(scan.contains(track)) << track.toStdString() << "\n" << scan.toStdString();
        }
        const test::PlayedTitle played = test::PlayTitle(output.path(), 1);
        for (const int id :
             {0x20 + (entry.controls[0] >> 16 & 0x1f), 0x20 + (entry.controls[0] >> 8 & 0x1f),
              0x20 + (entry.controls[1] >> 16 & 0x1f)}) {
            EXPECT_EQ(UnitsOf(played, id).size(), 1) << id;
        }
    }
}

// The converter on a 16:9 title that 4:3 screens may show letterboxed: the new stream's wide id
// carries Generated.sup, drawn wide as a plain run on the same IFO draws it, its letterbox id
// Generated_letterbox.sup, drawn square as --aspect 4:3 draws it.
TEST(DvdPlayer, TheConverterAddsTheWideAndTheLetterboxDrawingUnderTheirIds) {
    const test::TestDisc& disc = test::WideNoPanScanDisc();
    ASSERT_TRUE(disc.built);
    const QTemporaryDir copied;
    const test::ConverterRun run =
        test::AddStream(disc.ifo(1), copied.path(),
                        "1\n00:00:00,800 --> 00:00:01,500\nWide and letterbox\n\n"
                        "2\n01:00:00,000 --> 01:00:01,000\nAfter the end\n");
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    // Counted once, not once a drawing.
    EXPECT_TRUE(
        run.err.contains(QLatin1String("marvoxa-cli: 1 subtitle(s) start after title 1 has ended")))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("wide drawing (sub-stream 0x20)")) &&
                run.out.contains(QLatin1String("with square pixels (sub-stream 0x21)")))
        << run.out.toStdString();
    const auto plainStream = [&](AspectChoice aspect) {
        const QTemporaryDir plain;
        ConversionOptions options;
        options.subtitlePath = copied.filePath(QStringLiteral("cues.srt"));
        options.ifoPath = disc.ifo(1);
        options.outputFolder = plain.path();
        options.aspect = aspect;
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        EXPECT_EQ(RunConversion(options, outStream, errStream), kExitDone) << err.toStdString();
        return test::ReadFile(plain.filePath(QStringLiteral("Generated.sup")));
    };
    const QByteArray wide = test::ReadFile(copied.filePath(QStringLiteral("Generated.sup")));
    const QByteArray letterbox =
        test::ReadFile(copied.filePath(QStringLiteral("Generated_letterbox.sup")));
    EXPECT_EQ(wide, plainStream(AspectChoice::FromIfo));
    EXPECT_EQ(letterbox, plainStream(AspectChoice::FourByThree));
    EXPECT_NE(wide, letterbox);

    const test::PlayedTitle played = test::PlayTitle(copied.path(), 1);
    for (const auto& [id, stream] : {std::pair{0x20, wide}, std::pair{0x21, letterbox}}) {
        const QList<test::PlayedUnit> units = UnitsOf(played, id);
        ASSERT_EQ(units.size(), 1) << id;
        // The pixels as drawn; the copy may give their colours other palette entries.
        const auto pixels = [](const QByteArray& unit) {
            return unit.mid(4, (quint8(unit[2]) << 8 | quint8(unit[3])) - 4);
        };
        EXPECT_EQ(pixels(units[0].unit), pixels(test::ReadSupStream(stream).value(0).unit)) << id;
    }
}

// Several streams on such a title: each gets a wide and a letterbox id, and a letterbox file of
// its own.
TEST(DvdPlayer, EveryStreamOfSeveralGetsItsLetterboxDrawing) {
    const test::TestDisc& disc = test::WideNoPanScanDisc();
    ASSERT_TRUE(disc.built);
    const QTemporaryDir copied;
    const QString first = test::WriteFile(copied, QStringLiteral("first.srt"),
                                          "1\n00:00:00,800 --> 00:00:01,500\nErste\n");
    const test::ConverterRun run =
        test::AddStream(disc.ifo(1), copied.path(), "1\n00:00:01,000 --> 00:00:01,800\nSecond\n",
                        {QStringLiteral("--language"), QStringLiteral("de,fr"), first});
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    for (const char* file : {"Generated_letterbox.de.sup", "Generated_letterbox.fr.sup"}) {
        EXPECT_EQ(test::ReadSupStream(test::ReadFile(copied.filePath(QLatin1String(file)))).size(),
                  1)
            << file;
    }
    const test::PlayedTitle played = test::PlayTitle(copied.path(), 1);
    for (const int id : {0x20, 0x21, 0x22, 0x23}) {
        EXPECT_EQ(UnitsOf(played, id).size(), 1) << id;
    }
}

// What cannot be planned is refused before anything is read or written.
TEST(DvdPlayer, RefusesWhenNoSubStreamIdOrTooFewPaletteEntriesAreFree) {
    ASSERT_TRUE(test::NtscLongDisc().built);
    const Result<DvdTarget> target = OpenDvdTarget(test::NtscLongDisc().ifo(1), 1);
    ASSERT_TRUE(target.ok());
    // Text in grey entry 3 on an outline in entry 0 and an edge in entry 1.
    const QByteArray unit("\x00\x0e\x00\x04\x00\x00\x00\x04\x01\x03\x10\x30\xff\x00", 14);
    std::array<quint32, 16> greys{};
    greys[1] = 0x558080;
    greys[3] = 0xff8080;
    const NewTitleStream stream{
        QStringLiteral("de"), {{QStringLiteral("Subtitle 1"), 0, 500, unit}}, {}, greys};
    struct Case {
        SetSubpictureUse use;
        const char* refusal;  // nullptr: planned
    };
    const Case cases[] = {
        {{0, 0x8001}, nullptr},
        {{0xffffffffu, 0}, "uses all 32 subpicture sub-stream ids"},
        {{0, 0xfffe}, "has no room for the subtitles' colours"},
    };
    for (const Case& entry : cases) {
        const Result<NewStreamsPlan> plan = PlanNewStreams(target.value(), {stream}, entry.use);
        if (entry.refusal == nullptr) {
            ASSERT_TRUE(plan.ok()) << plan.error().message.toStdString();
            // dvdauthor's black is 10 80 80: black and both greys go into entries no unit names.
            ASSERT_EQ(plan.value().paletteWrites.size(), 3);
            for (const int index : {0, 1, 3}) {
                const int written = plan.value().streams[0].entryFor[index];
                EXPECT_EQ(plan.value().paletteWrites.value(written, 1), greys[index]) << index;
                EXPECT_EQ(entry.use.namedEntries & 1 << written, 0) << written;
            }
            continue;
        }
        ASSERT_FALSE(plan.ok());
        EXPECT_TRUE(plan.error().message.contains(QLatin1String(entry.refusal)))
            << plan.error().message.toStdString();
    }
}

// Packs can carry a sub-stream that the IFO no longer names: the walk finds it, and the copy is
// made again on an id nothing carries.
TEST(DvdPlayer, AnIdThePacksCarryButNoProgramChainNamesIsNotTaken) {
    ASSERT_TRUE(test::WideVariantsDisc().built);
    const QTemporaryDir folder;
    const test::TestDisc disc = test::CopyDisc(test::WideVariantsDisc(), folder);
    QFile ifo(disc.ifo(1));
    ASSERT_TRUE(ifo.open(QIODevice::ReadWrite));
    const QByteArray bytes = ifo.readAll();
    const auto u32 = [&](qsizetype at) {
        const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + at;
        return qsizetype{b[0]} << 24 | b[1] << 16 | b[2] << 8 | b[3];
    };
    const qsizetype programChains = u32(0xcc) * 2048;
    const qsizetype control = programChains + u32(programChains + 12) + 0x1c;
    ASSERT_TRUE(ifo.seek(0x255) && ifo.write(QByteArray(1, '\0')) == 1);  // no stream declared
    ASSERT_TRUE(ifo.seek(control) && ifo.write(QByteArray(8, '\0')) == 8);
    ifo.close();
    const QTemporaryDir output;
    const test::ConverterRun run =
        test::AddStream(disc.ifo(1), output.path(), "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    const test::PlayedTitle before = test::PlayTitle(disc.root, 1);
    const test::PlayedTitle after = test::PlayTitle(output.path(), 1);
    EXPECT_EQ(UnitsOf(after, 0x22).size(), 1);
    for (const int id : {0x20, 0x21}) {
        ASSERT_EQ(UnitsOf(after, id).size(), UnitsOf(before, id).size()) << id;
        EXPECT_EQ(UnitsOf(after, id).front().unit, UnitsOf(before, id).front().unit) << id;
    }
}

}  // namespace
}  // namespace marvoxa

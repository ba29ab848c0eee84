#include "sup/generation.h"

#include "render/frame_renderer.h"
#include "small_disk.h"
#include "sup/area_encoding.h"
#include "sup/completion_report.h"
#include "sup/sup_packet.h"
#include "sup/sup_stream_output.h"
#include "sup_stream_reader.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(85, 85, 85), qRgb(0, 0, 0), qRgb(255, 255, 255)};
const ColourRoles kRoles{1, 0, 3, 0};

CueList ThreeCues() {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    // Not in time order: packets follow the list, not the clock.
    list.cues = {
        {5000, 2000, QByteArrayLiteral("Rethymno."), QByteArrayLiteral("Crete Hellas."), {}},
        {1000, 1500, QByteArrayLiteral("Caf\xc3\xa9"), QByteArray(), {}},
        {3000, 0, QByteArrayLiteral("Fortezza"), QByteArrayLiteral("at night"), {}},
    };
    return list;
}

GenerationRequest RequestFor(const CueList& list, const QString& folder) {
    GenerationRequest request;
    request.cueList = &list;
    request.renderSettings = [] { return RenderSettings{}; };
    request.colourRoles = [] { return kRoles; };
    request.roleColours = kColours;
    request.outputFolder = folder;
    return request;
}

// The packet a cue must become, built from the units one by one on a fresh frame.
QByteArray ExpectedPacket(const Cue& cue, const QString& first, const QString& second,
                          const RenderSettings& settings, const ColourRoles& roles) {
    const SubtitleFrame frame = RenderSubtitleFrame(first, second, settings, kColours);
    const Result<FieldData> fields =
        EncodeArea(frame.frame, frame.areaTop, frame.areaHeight, kColours);
    EXPECT_TRUE(fields.ok());
    const Result<QByteArray> packet =
        BuildSupPacket(cue.startMs, cue.durationMs, roles, frame.areaTop, frame.areaHeight,
                       fields.value().top, fields.value().bottom);
    EXPECT_TRUE(packet.ok());
    return packet.value();
}

TEST(GenerateSupStream, WritesOnePacketPerCueInListOrder) {
    QTemporaryDir folder;
    const CueList list = ThreeCues();
    QList<int> before;
    QList<int> drawn;
    GenerationRequest request = RequestFor(list, folder.path());
    request.beforeCue = [&](int index) { before << index; };
    request.cueDrawn = [&](int index, const QImage& frame) {
        drawn << index;
        EXPECT_EQ(frame.size(), QSize(720, 576));
    };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().streamPath, folder.filePath(QStringLiteral("Generated.sup")));
    EXPECT_EQ(before, (QList<int>{0, 1, 2}));
    EXPECT_EQ(drawn, (QList<int>{0, 1, 2}));

    const QByteArray stream = test::ReadFile(result.value().streamPath);
    const QList<test::SupStreamPacket> packets = test::ReadSupStream(stream);
    ASSERT_EQ(packets.size(), 3);
    EXPECT_EQ(packets[0].presentationTime, 5000 * 90);
    EXPECT_EQ(packets[1].presentationTime, 1000 * 90);
    EXPECT_EQ(packets[2].presentationTime, 3000 * 90);

    // Each cue comes out as if drawn on a fresh frame: nothing of the cue before survives.
    const RenderSettings settings;
    QByteArray expected;
    expected += ExpectedPacket(list.cues[0], QStringLiteral("Rethymno."),
                               QStringLiteral("Crete Hellas."), settings, kRoles);
    expected += ExpectedPacket(list.cues[1], QStringLiteral("Café"), QString(), settings, kRoles);
    expected += ExpectedPacket(list.cues[2], QStringLiteral("Fortezza"), QStringLiteral("at night"),
                               settings, kRoles);
    EXPECT_EQ(stream, expected);
}

TEST(GenerateSupStream, ReadsSettingsAndRolesAnewForEveryCue) {
    QTemporaryDir folder;
    const CueList list = ThreeCues();
    int settingsReads = 0;
    int roleReads = 0;
    GenerationRequest request = RequestFor(list, folder.path());
    request.renderSettings = [&] {
        RenderSettings settings;
        settings.bottomOffset = 30 + 100 * settingsReads++;
        return settings;
    };
    request.colourRoles = [&] { return ColourRoles{roleReads++, 0, 3, 0}; };
    ASSERT_TRUE(GenerateSupStream(request).ok());
    EXPECT_EQ(settingsReads, 3);
    EXPECT_EQ(roleReads, 3);

    const auto packets =
        test::ReadSupStream(test::ReadFile(folder.filePath(QStringLiteral("Generated.sup"))));
    ASSERT_EQ(packets.size(), 3);
    RenderSettings third;
    third.bottomOffset = 230;
    const QByteArray expectedThird = ExpectedPacket(
        list.cues[2], QStringLiteral("Fortezza"), QStringLiteral("at night"), third, {2, 0, 3, 0});
    EXPECT_EQ(packets[2].unit, expectedThird.mid(10));
}

TEST(GenerateSupStream, RefusesACueBeyondTheFormatAndKeepsTheEarlierStream) {
    QTemporaryDir folder;
    const QString streamPath = test::WriteFile(folder, QStringLiteral("Generated.sup"),
                                               QByteArrayLiteral("earlier stream"));
    CueList list = ThreeCues();
    list.cues[1].durationMs = -100;
    int drawnCues = 0;
    GenerationRequest request = RequestFor(list, folder.path());
    request.cueDrawn = [&](int, const QImage&) { ++drawnCues; };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().message.startsWith(
        QStringLiteral("Subtitle 2 at 00:00:01,000 cannot be written: ")))
        << result.error().message.toStdString();
    EXPECT_EQ(drawnCues, 2);  // stops at the refused cue
    EXPECT_EQ(test::ReadFile(streamPath), QByteArrayLiteral("earlier stream"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("Generated.sup")});
}

// The letterbox drawing of a wide stream: each cue again, square, into outputs of its own; a
// line that fits only squeezed refuses the whole set, which would be cut off there.
TEST(GenerateSupStream, ASecondDrawingGoesToItsOwnOutputsAndRefusesLinesTooWideForIt) {
    QTemporaryDir folder;
    const CueList list = ThreeCues();
    GenerationRequest request = RequestFor(list, folder.path());
    request.renderSettings = [] {
        RenderSettings wide;
        wide.wide = true;
        return wide;
    };
    SupStreamOutput square(folder.filePath(QStringLiteral("square.sup")));
    request.secondDrawing = SecondDrawing{[](const RenderSettings& wide) {
                                              RenderSettings settings = wide;
                                              settings.wide = false;
                                              return settings;
                                          },
                                          {&square}};
    ASSERT_TRUE(GenerateSupStream(request).ok());
    const QByteArray written = test::ReadFile(folder.filePath(QStringLiteral("square.sup")));
    EXPECT_EQ(test::ReadSupStream(written).value(0).unit,
              ExpectedPacket(list.cues[0], QStringLiteral("Rethymno."),
                             QStringLiteral("Crete Hellas."), RenderSettings{}, kRoles)
                  .mid(10));

    CueList tooWide = ThreeCues();
    tooWide.cues[1].firstLine = QByteArray(34, 'm');  // some 820 pixels, 615 squeezed
    request.cueList = &tooWide;
    const Result<GeneratedStream> refused = GenerateSupStream(request);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().message.startsWith(
        QStringLiteral("Subtitle 2 at 00:00:01,000 cannot be written: a line is too wide for "
                       "the letterbox drawing")))
        << refused.error().message.toStdString();
    EXPECT_EQ(test::ReadFile(folder.filePath(QStringLiteral("square.sup"))), written);
}

TEST(GenerateSupStream, RefusesAnEmptyCueListWithoutTouchingAFile) {
    QTemporaryDir folder;
    const CueList empty;
    const Result<GeneratedStream> result = GenerateSupStream(RequestFor(empty, folder.path()));
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().message.contains(QStringLiteral("no subtitles")));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(GenerateSupStream, ReportsAFolderItCannotWriteAndKeepsTheOldFiles) {
    QTemporaryDir folder;
    const QString streamPath = test::WriteFile(folder, QStringLiteral("Generated.sup"),
                                               QByteArrayLiteral("earlier stream"));
    // Root ignores permission bits; an immutable folder refuses new files to everyone.
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder.path()}) != 0) {
        GTEST_SKIP() << "this file system does not support chattr +i";
    }
    const auto unlock = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder.path()});
    });

    const CueList list = ThreeCues();
    const Result<GeneratedStream> result = GenerateSupStream(RequestFor(list, folder.path()));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Io);
    EXPECT_TRUE(result.error().message.contains(streamPath))
        << result.error().message.toStdString();
    EXPECT_EQ(test::ReadFile(streamPath), QByteArrayLiteral("earlier stream"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("Generated.sup")});
}

// A nearly full disk: the stream no longer fits, and the earlier one must survive the attempt.
TEST(GenerateSupStream, AFullDiskFailsWithTheReasonAndKeepsTheEarlierStream) {
    test::SmallDisk disk(16);
    ASSERT_TRUE(disk.mounted()) << disk.mountError().toStdString();
    const QString streamPath = disk.filePath(QStringLiteral("Generated.sup"));
    {
        QFile earlier(streamPath);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier stream");
        earlier.close();
        QFile filler(disk.filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(512, 'f')) == 512) {
        }
    }

    const CueList list = ThreeCues();
    const Result<GeneratedStream> result = GenerateSupStream(RequestFor(list, disk.path()));
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().message.endsWith(QStringLiteral(": No space left on device")))
        << result.error().message.toStdString();
    EXPECT_EQ(test::ReadFile(streamPath), QByteArrayLiteral("earlier stream"));
}

TEST(FormatCueTime, ShowsHoursToMilliseconds) {
    EXPECT_EQ(FormatCueTime(0), QStringLiteral("00:00:00,000"));
    EXPECT_EQ(FormatCueTime(3723450), QStringLiteral("01:02:03,450"));
    EXPECT_EQ(FormatCueTime(-1500), QStringLiteral("-00:00:01,500"));
    EXPECT_EQ(FormatCueTime(100LL * 3600 * 1000), QStringLiteral("100:00:00,000"));
}

TEST(CompletionReport, NoIfoMessageEndsWithAnEmptyLineAndTheTwoFiles) {
    EXPECT_EQ(
        CompletionMessage(PaletteCase::NoIfo, QStringLiteral("/d/Generated.sup"),
                          QStringLiteral("/d/Marvoxa_Help_File.txt")),
        QStringLiteral(
            "All Done !!! (Case : No Ifo)\r"
            "Since you didnt had any ifo, author your video with the generated sup using Ifoedit.\r"
            "After authoring the new dvd, load (the generated from Ifoedit) VTS_01_0.IFO on "
            "Ifoedit "
            "and press VTS_PGCITI and then VTS_PGC1.\r"
            "Then find the Color 0 Y Cr CB ,doubleclick it, and put the value: 00 80 80\r"
            "Then find the Color 1 Y Cr CB ,doubleclick it, and put the value: 55 80 80\r"
            "Then find the Color 2 Y Cr CB ,doubleclick it, and put the value: AA 80 80\r"
            "Then find the Color 3 Y Cr CB ,doubleclick it, and put the value: FF 80 80\r"
            "Then press save. Thats all.\r"
            "\r"
            "Generated Files:\r"
            "/d/Generated.sup\r"
            "/d/Marvoxa_Help_File.txt"));
}

TEST(CompletionReport, EachCaseHasItsOwnSteps) {
    const QStringList mono = HelpLines(PaletteCase::MonocromaticIfo);
    ASSERT_EQ(mono.size(), 9);
    EXPECT_EQ(mono[0], QStringLiteral("All Done !!! (Case : Monocromatic Ifo)"));
    EXPECT_EQ(mono[1], QStringLiteral("Since you had an ifo with no polycromatic palette support , "
                                      "Marvoxa generated for you a sup with a generic pallette."));
    EXPECT_EQ(mono[2],
              QStringLiteral("Just author your video with the generated sup using Ifoedit."));
    EXPECT_EQ(mono.mid(4, 4), HelpLines(PaletteCase::NoIfo).mid(3, 4));
    EXPECT_EQ(mono[8], QStringLiteral("Then press save. Thats all."));

    const QStringList withIfo = HelpLines(PaletteCase::WithIfo);
    ASSERT_EQ(withIfo.size(), 8);
    EXPECT_EQ(withIfo[0], QStringLiteral("All Done !!! (Case : With Ifo)"));
    EXPECT_EQ(withIfo[3],
              QStringLiteral("After authoring the new dvd, load the original ifo (the ifo "
                             "that you have loaded on Marvoxa) on Ifoedit and press "
                             "VTS_PGCITI and then VTS_PGC1."));
    EXPECT_EQ(withIfo[4], QStringLiteral("Then press Subtitle Color, Copy Colors from this PGC"));
    EXPECT_EQ(withIfo[5], QStringLiteral("Then load (the generated from Ifoedit) VTS_01_0.IFO on "
                                         "Ifoedit and press VTS_PGCITI and then VTS_PGC1"));
    EXPECT_EQ(withIfo[6], QStringLiteral("Then press Subtitle Color, Paste Colors into this PGC"));
}

TEST(CompletionReport, HelpFileEndsEveryLineWithCrLfAndHasTwoEmptyLines) {
    QTemporaryDir folder;
    const QString stream = folder.filePath(QStringLiteral("Generated.sup"));
    const QString help = folder.filePath(QStringLiteral("Marvoxa_Help_File.txt"));
    ASSERT_TRUE(WriteHelpFile(PaletteCase::WithIfo, stream, help).ok());
    const QByteArray bytes = test::ReadFile(help);
    EXPECT_TRUE(bytes.startsWith("All Done !!! (Case : With Ifo)\r\nSince you already had"));
    EXPECT_TRUE(bytes.endsWith("Then press save. Thats all.\r\n\r\n\r\nGenerated Files:\r\n" +
                               stream.toUtf8() + "\r\n" + help.toUtf8() + "\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 8 + 2 + 3);
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
}

}  // namespace
}  // namespace marvoxa

// Generation on every core: packets in cue order, cancelling, and a write failing midway.

#include "sup/generation.h"

#include "render/frame_renderer.h"
#include "small_disk.h"
#include "sup/area_encoding.h"
#include "sup/sup_packet.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(85, 85, 85), qRgb(0, 0, 0), qRgb(255, 255, 255)};
const ColourRoles kRoles{1, 0, 3, 0};

QString FirstLine(int index) {
    static const QStringList words{QStringLiteral("Rethymno"), QStringLiteral("harbour"),
                                   QStringLiteral("Fortezza"), QStringLiteral("café"),
                                   QStringLiteral("WWWWW"),    QStringLiteral("i")};
    QString line;
    for (int w = 0; w <= index % 5; ++w) {
        line += words[(index + 3 * w) % words.size()] + QLatin1Char(' ');
    }
    return line.trimmed();
}

// Cues whose sizes differ widely, so their drawing takes different times and threads finish
// out of order.
CueList ManyCues(int count) {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    for (int i = 0; i < count; ++i) {
        const QByteArray second = i % 3 == 0 ? QByteArray() : FirstLine(i * 7 + 1).toUtf8();
        list.cues.push_back({1000 + 3000 * i, 2500, FirstLine(i).toUtf8(), second, {}});
    }
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

// The stream one thread builds cue after cue from full frames.
QByteArray SequentialStream(const CueList& list) {
    QByteArray stream;
    for (const Cue& cue : list.cues) {
        const SubtitleFrame frame =
            RenderSubtitleFrame(QString::fromUtf8(cue.firstLine), QString::fromUtf8(cue.secondLine),
                                RenderSettings{}, kColours);
        const Result<FieldData> fields =
            EncodeArea(frame.frame, frame.areaTop, frame.areaHeight, kColours);
        const Result<QByteArray> packet =
            BuildSupPacket(cue.startMs, cue.durationMs, kRoles, frame.areaTop, frame.areaHeight,
                           fields.value().top, fields.value().bottom);
        stream += packet.value();
    }
    return stream;
}

TEST(ParallelGeneration, WritesThePacketsOfManyCuesInCueOrderAsOneThreadWould) {
    QTemporaryDir folder;
    const CueList list = ManyCues(400);
    QList<int> before;
    QList<int> drawn;
    GenerationRequest request = RequestFor(list, folder.path());
    request.beforeCue = [&](int index) { before << index; };
    request.frameWanted = [](int index) { return index % 100 == 0; };
    request.cueDrawn = [&](int index, const QImage& frame) {
        drawn << index;
        // The frame shows its own cue: drawn anew, nothing of the cue before.
        const SubtitleFrame expected =
            RenderSubtitleFrame(FirstLine(index), QString::fromUtf8(list.cues[index].secondLine),
                                RenderSettings{}, kColours);
        EXPECT_EQ(frame, expected.frame) << "cue " << index;
    };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().packetCount, 400);
    EXPECT_EQ(test::ReadFile(result.value().streamPath), SequentialStream(list));
    QList<int> every;
    for (int i = 0; i < 400; ++i) {
        every << i;
    }
    EXPECT_EQ(before, every);
    EXPECT_EQ(drawn, (QList<int>{0, 100, 200, 300}));
}

TEST(ParallelGeneration, StopsWhenCancelledWritesNothingAndKeepsTheEarlierStream) {
    QTemporaryDir folder;
    const QString streamPath = test::WriteFile(folder, QStringLiteral("Generated.sup"),
                                               QByteArrayLiteral("earlier stream"));
    const CueList list = ManyCues(300);
    int lastBefore = -1;
    GenerationRequest request = RequestFor(list, folder.path());
    request.beforeCue = [&](int index) { lastBefore = index; };
    request.cancelRequested = [&] { return lastBefore == 20; };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Cancelled);
    EXPECT_EQ(result.error().message,
              QStringLiteral("Generation cancelled. Nothing was written: files generated before "
                             "are unchanged."));
    EXPECT_EQ(lastBefore, 20);  // stopped after the cue in hand
    EXPECT_EQ(test::ReadFile(streamPath), QByteArrayLiteral("earlier stream"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Generated.sup")});
}

TEST(ParallelGeneration, ACancelAskedBeforeTheLastCueIsWrittenStillWritesNothing) {
    QTemporaryDir folder;
    const CueList list = ManyCues(5);
    int lastBefore = -1;
    GenerationRequest request = RequestFor(list, folder.path());
    request.beforeCue = [&](int index) { lastBefore = index; };
    request.cancelRequested = [&] { return lastBefore == 4; };
    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Cancelled);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(ParallelGeneration, ADiskFillingUpMidwayReportsWhyAndKeepsTheEarlierStream) {
    test::SmallDisk disk(256);
    ASSERT_TRUE(disk.mounted()) << disk.mountError().toStdString();
    const QString streamPath = disk.filePath(QStringLiteral("Generated.sup"));
    {
        QFile earlier(streamPath);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier stream");
    }
    const CueList list = ManyCues(600);  // well over a megabyte of packets
    int taken = 0;
    GenerationRequest request = RequestFor(list, disk.path());
    request.beforeCue = [&](int) { ++taken; };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Io);
    EXPECT_EQ(result.error().message,
              QStringLiteral("Cannot write %1: No space left on device").arg(streamPath));
    EXPECT_GT(taken, 10);   // packets were streamed before the disk was full
    EXPECT_LT(taken, 600);  // and generation stopped there
    EXPECT_EQ(test::ReadFile(streamPath), QByteArrayLiteral("earlier stream"));
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Generated.sup")});
}

TEST(ParallelGeneration, RefusesTheFirstCueWithALineTooWideAndWritesNothing) {
    QTemporaryDir folder;
    CueList list = ManyCues(100);
    const QByteArray tooWide(60, 'W');
    list.cues[37].secondLine = tooWide;
    list.cues[70].firstLine = tooWide;
    QList<int> refused;
    GenerationRequest request = RequestFor(list, folder.path());
    request.refuseTooWideCue = [&](int index) {
        refused << index;
        return Error{ErrorKind::State, QStringLiteral("cue %1 is too wide").arg(index)};
    };

    const Result<GeneratedStream> result = GenerateSupStream(request);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, QStringLiteral("cue 37 is too wide"));
    EXPECT_EQ(refused, QList<int>{37});
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    // Without the check the same cues are drawn, clipped by the frame.
    request.refuseTooWideCue = nullptr;
    EXPECT_TRUE(GenerateSupStream(request).ok());
}

}  // namespace
}  // namespace marvoxa

#include "subtitles/subtitle_loader.h"
#include "cue_printing.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"
#include "test_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace marvoxa {
namespace {

const QByteArray kSrt = QByteArrayLiteral("1\n00:00:01,000 --> 00:00:02,000\nHello\n");
const QByteArray kSub = QByteArrayLiteral("{1}{1}25\n{25}{50}Hello\n");
const QByteArray kVtt = QByteArrayLiteral("WEBVTT\n\n00:01.000 --> 00:02.000\nHello\n");
const QByteArray kAss =
    QByteArrayLiteral("[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,,,0,0,0,,Hi\n");

TEST(SplitRawLines, EndsLinesAtCrLfLfAndCr) {
    const std::pair<QByteArray, QList<QByteArray>> cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n", {"a"}},
        {"", {}},
        {"\n", {""}},
        {"a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
        {QByteArray("a\0b\n", 4), {QByteArray("a\0b", 3)}},
    };
    for (const auto& [bytes, lines] : cases) {
        EXPECT_EQ(SplitRawLines(bytes), lines) << bytes.toStdString();
    }
    const QList<QByteArray> lines = {"only"};
    EXPECT_EQ(RawLineAt(lines, 0), QByteArrayLiteral("only"));
    EXPECT_TRUE(RawLineAt(lines, 1).isEmpty());
    EXPECT_TRUE(RawLineAt(lines, -1).isEmpty());
}

TEST(LoadSubtitleBytes, ReadsTheSameCuesWhateverTheLineEnds) {
    QByteArray lf = QByteArrayLiteral(
        "1\n00:00:01,000 --> 00:00:02,000\nOne\nTwo\n\n2\n00:00:03,000 --> 00:00:04,000\nThree");
    for (const char* ending : {"\r\n", "\r"}) {
        QByteArray other = lf;
        other.replace('\n', ending);
        const SubtitleLoad load = LoadSubtitleBytes(other, QStringLiteral("x.srt"));
        EXPECT_EQ(load.cueList.cues, LoadSubtitleBytes(lf, QStringLiteral("x.srt")).cueList.cues);
        EXPECT_EQ(load.cueList.cues.size(), 2u);
        EXPECT_EQ(load.cueList.rawLines.size(), 8);
    }
}

TEST(LoadSubtitleBytes, ChoosesTheReaderByTheUpperCasedExtension) {
    const std::tuple<const char*, QByteArray, size_t> cases[] = {
        {"x.Srt", kSrt, 1},        {"x.SRT", kSrt, 1}, {"x.txt", kSub, 1}, {"x.sub", kSub, 1},
        {"a.srt.sub", kSub, 1},    {"x.srt", kSub, 0}, {"x.idx", kSrt, 0}, {"noextension", kSrt, 0},
        {"dir.srt/file", kSrt, 0}, {"x.Vtt", kVtt, 1}, {"x.ASS", kAss, 1}, {"x.ssa", kAss, 1},
    };
    for (const auto& [name, bytes, cueCount] : cases) {
        const SubtitleLoad load = LoadSubtitleBytes(bytes, QString::fromLatin1(name));
        EXPECT_EQ(load.cueList.cues.size(), cueCount) << name;
        EXPECT_FALSE(load.error.has_value()) << name;
        EXPECT_FALSE(load.loadFailed) << name;
        EXPECT_EQ(load.cueList.rawLines, SplitRawLines(bytes)) << name;
    }
}

TEST(LoadSubtitleBytes, RefusesAnEmptySubButNotAnEmptySrt) {
    const SubtitleLoad sub = LoadSubtitleBytes({}, QStringLiteral("empty.sub"));
    EXPECT_TRUE(sub.loadFailed);
    ASSERT_TRUE(sub.error.has_value());
    EXPECT_EQ(sub.error->message, kFrameRateLineMessage);
    EXPECT_TRUE(sub.cueList.cues.empty());

    const SubtitleLoad srt = LoadSubtitleBytes({}, QStringLiteral("empty.srt"));
    EXPECT_FALSE(srt.loadFailed);
    EXPECT_FALSE(srt.error.has_value());
    EXPECT_TRUE(srt.cueList.cues.empty());
}

TEST(LoadSubtitleBytes, DropsAByteOrderMarkButReadsTheFileAsUtf8) {
    const SubtitleLoad load =
        LoadSubtitleBytes(QByteArrayLiteral("\xEF\xBB\xBF") + kSub, QStringLiteral("bom.sub"));
    EXPECT_FALSE(load.loadFailed);
    ASSERT_EQ(load.cueList.cues.size(), 1u);
    EXPECT_EQ(load.cueList.rawLines.first(), QByteArrayLiteral("{1}{1}25"));
    EXPECT_EQ(load.cueList.encoding, TextEncoding::Utf8);
}

TEST(LoadSubtitleBytes, NamesTheUnreadableTimingLinesInOneNotice) {
    const SubtitleLoad load = LoadSubtitleBytes(
        QByteArrayLiteral("1\n00:00:01 --> 00:00:02\nA\n\n2\n00:00:03,000 -> 00:00:04,000\nB\n\n"
                          "3\n00:00:05,000 --> 00:00:06\nC\n"),
        QStringLiteral("x.srt"));
    ASSERT_TRUE(load.notice.has_value());
    EXPECT_TRUE(load.notice->startsWith(QStringLiteral("2 timing lines")))
        << load.notice->toStdString();
    EXPECT_TRUE(load.notice->contains(QStringLiteral("line 2."))) << load.notice->toStdString();
    EXPECT_FALSE(LoadSubtitleBytes(kSrt, QStringLiteral("x.srt")).notice.has_value());
}

TEST(LoadSubtitleFile, ReadsTheFileOrReportsThatItCannotBeOpened) {
    QTemporaryDir dir;
    const SubtitleLoad load =
        LoadSubtitleFile(test::WriteFile(dir, QStringLiteral("movie.SUB"), kSub));
    EXPECT_FALSE(load.error.has_value());
    ASSERT_EQ(load.cueList.cues.size(), 1u);
    EXPECT_EQ(load.cueList.cues[0].startMs, 1000);

    const QString missing = dir.filePath(QStringLiteral("missing.srt"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.srt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A FIFO without a writer would hang the load; a folder has nothing to read.
    const std::pair<QString, QString> cases[] = {
        {missing, QStringLiteral("Cannot open file ") + missing +
                      QStringLiteral(": No such file or directory")},
        {dir.path(), dir.path() + QStringLiteral(" is not a regular file.")},
        {fifo, fifo + QStringLiteral(" is not a regular file.")},
    };
    for (const auto& [path, message] : cases) {
        const SubtitleLoad failed = LoadSubtitleFile(path);
        ASSERT_TRUE(failed.error.has_value()) << path.toStdString();
        EXPECT_EQ(failed.error->kind, ErrorKind::Io);
        EXPECT_EQ(failed.error->message, message);
        EXPECT_TRUE(failed.cueList.cues.empty());
    }
}

TEST(LoadSubtitleBytes, SurvivesGarbageAndHugeLines) {
    QByteArray garbage;
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.append(static_cast<char>(seed >> 24));
    }
    const QByteArray hugeLines[] = {
        QByteArray(1 << 20, '{'),
        QByteArray("{1}{1}25\n{") + QByteArray(1 << 20, '|'),
        QByteArray(1 << 20, '-') + "->",
        QByteArray(1 << 20, ' ') + "00:00:01,000 --> 00:00:02,000\nx",
    };
    for (const QString& name : {QStringLiteral("g.srt"), QStringLiteral("g.sub")}) {
        for (const QByteArray& bytes : hugeLines) {
            const SubtitleLoad load = LoadSubtitleBytes(bytes, name);
            EXPECT_LE(load.cueList.cues.size(), 1u);
        }
        const SubtitleLoad load = LoadSubtitleBytes(garbage, name);
        EXPECT_EQ(load.cueList.rawLines, SplitRawLines(garbage));
    }
}

}  // namespace
}  // namespace marvoxa

#include "dvd/title_video_writer.h"

#include "dvd/program_stream.h"
#include "test_discs.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

// The copy writes the title video in steps behind its reading. Stepping sector by sector must
// give the bytes of writing it in one go: no insertion may be lost at the end of a step, and no
// NAV pack may be rewritten before the packs inserted ahead of what it names are known.
TEST(TitleVideoWriter, WritingInStepsGivesTheVideoOfOneGo) {
    const std::optional<test::ReadTitleSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    std::vector<qint64> clocks;
    ASSERT_TRUE(WalkTitleVobus(set->folder, {}, &clocks).ok());
    const Result<TitleTimeline> timeline = TitleTimeline::Build(set->info, 1, set->vobus);
    ASSERT_TRUE(timeline.ok());
    QList<TitleSubpicture> units;
    for (int i = 0; i < 12; ++i) {
        units.append({QStringLiteral("Subtitle %1").arg(i + 1), 300 + i * 450, 400,
                      QByteArray(i % 3 == 0 ? 9000 : 1500, '\x5a')});
    }
    const Result<SubpicturePlacement> placed =
        PlaceSubpictures(clocks,
                         PackMuxRate(reinterpret_cast<const uchar*>(
                             test::ReadFile(test::PalDisc().file(QStringLiteral("VTS_01_1.VOB")))
                                 .left(kPackSize)
                                 .constData())),
                         timeline.value(), {{1, units}});
    ASSERT_TRUE(placed.ok()) << placed.error().message.toStdString();
    QMap<quint32, QByteArray> insertions;
    for (const PackInsertion& insertion : placed.value().insertions) {
        insertions.insert(insertion.beforeSector, insertion.packs);
    }
    ASSERT_GT(insertions.size(), 5);

    const quint32 total = set->folder.titleVobSectors();
    const auto write = [&](const QString& folder, quint32 step) {
        TitleVobStream video(set->folder);
        // Small files, so that the steps also cross from one file to the next.
        TitleVideoWriter writer(video, set->folder, folder, 700);
        for (quint32 end = step; end < total; end += step) {
            ASSERT_TRUE(writer.copyUpTo(end, insertions).ok());
            ASSERT_TRUE(writer.rewriteNavPacks(set->vobus, placed.value().syncs, {1}, false).ok());
        }
        ASSERT_TRUE(writer.copyUpTo(total, insertions).ok());
        ASSERT_TRUE(writer.rewriteNavPacks(set->vobus, placed.value().syncs, {1}, true).ok());
        EXPECT_EQ(writer.sectorsWritten(), total + placed.value().shift.inserted());
    };
    const QTemporaryDir oneGo;
    const QTemporaryDir steps;
    write(oneGo.path(), total);
    write(steps.path(), 1);
    const QStringList files = QDir(oneGo.path()).entryList(QDir::Files);
    ASSERT_GT(files.size(), 1);
    EXPECT_EQ(QDir(steps.path()).entryList(QDir::Files), files);
    for (const QString& file : files) {
        EXPECT_TRUE(test::ReadFile(QDir(oneGo.path()).filePath(file)) ==
                    test::ReadFile(QDir(steps.path()).filePath(file)))
            << file.toStdString();
    }
}

}  // namespace
}  // namespace marvoxa

#include "dvd/title_timeline.h"

#include "test_discs.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <optional>

namespace marvoxa {
namespace {

using ReadSet = test::ReadTitleSet;

std::optional<TitleTimeline> Timeline(const ReadSet& set, int title) {
    Result<TitleTimeline> timeline = TitleTimeline::Build(set.info, title, set.vobus);
    if (!timeline) {
        ADD_FAILURE() << timeline.error().message.toStdString();
        return std::nullopt;
    }
    return std::move(timeline).value();
}

TitleTimePoint Find(const TitleTimeline& timeline, qint64 ms) {
    const Result<TitleTimePoint> point = timeline.find(ms);
    EXPECT_TRUE(point.ok()) << ms << " ms";
    return point ? point.value() : TitleTimePoint{};
}

// The VOBUs of a cell, found afresh by sector.
QList<VobuEntry> VobusOf(const ReadSet& set, const CellPlayback& cell) {
    QList<VobuEntry> found;
    for (const VobuEntry& vobu : set.vobus) {
        if (vobu.sector >= cell.firstSector && vobu.sector <= cell.lastSector) {
            found.append(vobu);
        }
    }
    return found;
}

// How long the cell's video plays: its VOBUs' presentation times, not the IFO's BCD time.
qint64 VideoTicks(const ReadSet& set, const CellPlayback& cell) {
    const QList<VobuEntry> vobus = VobusOf(set, cell);
    return vobus.isEmpty() ? 0 : qint64{vobus.back().endPtm} - vobus.front().startPtm;
}

TEST(TitleTimeline, FindsTheStartMiddleAndEndOfEachCellInItsOwnVobus) {
    const std::optional<ReadSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    for (const TitleInSet& title : set->info.titles) {
        SCOPED_TRACE("title " + std::to_string(title.discTitle));
        const std::optional<TitleTimeline> timeline = Timeline(*set, title.discTitle);
        ASSERT_TRUE(timeline);
        const ProgramChain& chain = *set->info.pgc(title.firstPgc);
        qint64 cellStart = 0;
        for (int index = 0; index < chain.cells.size(); ++index) {
            const CellPlayback& cell = chain.cells[index];
            const QList<VobuEntry> vobus = VobusOf(*set, cell);
            ASSERT_FALSE(vobus.isEmpty());
            const qint64 firstMs = (cellStart + 89) / 90;  // the first whole ms in the cell
            const qint64 lastMs = (cellStart + VideoTicks(*set, cell) - 1) / 90;
            for (const qint64 ms : {firstMs, (firstMs + lastMs) / 2, lastMs}) {
                SCOPED_TRACE(testing::Message() << "cell " << index << ", " << ms << " ms");
                const TitleTimePoint point = Find(*timeline, ms);
                EXPECT_EQ(point.outcome, TitleTimeOutcome::Inside);
                EXPECT_EQ(point.pgcNumber, title.firstPgc);
                EXPECT_EQ(point.cellIndex, index);
                EXPECT_EQ(point.pts, vobus.front().startPtm + (ms * 90 - cellStart));
                // The VOBU shown then, or the cell's last when the IFO gives the cell a little
                // more time than its video.
                const auto shown =
                    std::find_if(vobus.begin(), vobus.end(), [&](const VobuEntry& vobu) {
                        return vobu.startPtm <= point.pts && point.pts < vobu.endPtm;
                    });
                EXPECT_EQ(point.vobuSector,
                          shown != vobus.end() ? shown->sector : vobus.back().sector);
            }
            cellStart += VideoTicks(*set, cell);
        }
        EXPECT_EQ(timeline->lengthTicks(), cellStart);
        EXPECT_LE(std::abs(TicksToMs(cellStart) - title.lengthMs), 40);
    }
}

// Title 1 plays a second clip after the first: dvdauthor keeps each clip's own time stamps,
// so the second clip's cell starts again at the time of its file's first picture.
TEST(TitleTimeline, ACellThatRestartsItsTimesIsMeasuredFromItsOwnStart) {
    const std::optional<ReadSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    const std::optional<TitleTimeline> timeline = Timeline(*set, 1);
    ASSERT_TRUE(timeline);
    const ProgramChain& chain = *set->info.pgc(set->info.title(1)->firstPgc);
    const CellPlayback& last = chain.cells.back();
    ASSERT_TRUE(last.timeDiscontinuity) << "the second clip should start a new VOB";
    const qint64 lastStartTicks = timeline->lengthTicks() - VideoTicks(*set, last);
    const qint64 ms = (lastStartTicks + 89) / 90 + 100;
    const TitleTimePoint point = Find(*timeline, ms);
    EXPECT_EQ(point.cellIndex, chain.cells.size() - 1);
    EXPECT_LT(point.pts, VobusOf(*set, chain.cells[chain.cells.size() - 2]).back().endPtm);

    // The second clip's first picture, as ffprobe sees it in the file dvdauthor was given.
    QTemporaryDir folder;
    const QString listing = folder.filePath(QStringLiteral("pts.csv"));
    test::RunTool(QStringLiteral("ffprobe"),
                  test::Words("-v error -select_streams v:0 -show_entries packet=pts "
                              "-read_intervals %+#1 -of csv=p=0")
                      << QFileInfo(test::PalDisc().root).dir().filePath(QStringLiteral("b.mpg")),
                  folder.path(), {}, listing);
    QFile file(listing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qint64 firstPicture = file.readLine().trimmed().toLongLong();
    ASSERT_GT(firstPicture, 0);
    EXPECT_EQ(point.pts, firstPicture + (ms * 90 - lastStartTicks));
}

TEST(TitleTimeline, TellsTimesAfterTheTitlesEndApartAndRefusesTimesBeforeItsStart) {
    const std::optional<ReadSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    for (const TitleInSet& title : set->info.titles) {
        const std::optional<TitleTimeline> timeline = Timeline(*set, title.discTitle);
        ASSERT_TRUE(timeline);
        const qint64 length = timeline->lengthTicks();
        const CellPlayback& lastCell = set->info.pgc(title.firstPgc)->cells.back();
        const TitleTimePoint last = Find(*timeline, (length - 1) / 90);
        EXPECT_EQ(last.outcome, TitleTimeOutcome::Inside);
        EXPECT_EQ(last.vobuSector, lastCell.lastVobuStartSector);
        for (const qint64 after : {(length + 89) / 90, (length + 89) / 90 + 1, length}) {
            EXPECT_EQ(Find(*timeline, after).outcome, TitleTimeOutcome::AfterEnd) << after;
        }
        const Result<TitleTimePoint> before = timeline->find(-1);
        ASSERT_FALSE(before.ok());
        EXPECT_EQ(before.error().kind, ErrorKind::Limit);
    }
}

TEST(TitleTimeline, VobusOfACellTwoTitlesShareArePlayedMoreThanOnce) {
    const std::optional<ReadSet> set = test::ReadWholeSet(test::NtscSharedDisc(), 1);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->info.titles.size(), 2);
    const ProgramChain& both = *set->info.pgc(set->info.title(1)->firstPgc);
    const ProgramChain& again = *set->info.pgc(set->info.title(2)->firstPgc);
    ASSERT_EQ(both.cells.back().firstSector, again.cells.front().firstSector)
        << "dvdauthor should have given the second clip's cells to both titles";

    const std::optional<TitleTimeline> first = Timeline(*set, 1);
    const std::optional<TitleTimeline> second = Timeline(*set, 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(Find(*first, 0).outcome, TitleTimeOutcome::Inside);
    EXPECT_EQ(Find(*first, (first->lengthTicks() - 1) / 90).outcome,
              TitleTimeOutcome::PlayedMoreThanOnce);
    for (const qint64 ms :
         {qint64{0}, second->lengthTicks() / 180, (second->lengthTicks() - 1) / 90}) {
        const TitleTimePoint point = Find(*second, ms);
        EXPECT_EQ(point.outcome, TitleTimeOutcome::PlayedMoreThanOnce) << ms;
        EXPECT_EQ(point.pgcNumber, set->info.title(2)->firstPgc);
    }
    EXPECT_EQ(Find(*second, second->lengthTicks()).outcome, TitleTimeOutcome::AfterEnd);
}

TEST(TitleTimeline, ACellRepeatedWithinOnePgcIsPlayedMoreThanOnce) {
    std::optional<ReadSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    const TitleInSet& title = *set->info.title(2);
    ProgramChain& chain = set->info.pgcs[title.firstPgc - 1];
    ASSERT_GE(chain.cells.size(), 2);
    const std::optional<TitleTimeline> before = Timeline(*set, 2);
    ASSERT_TRUE(before);
    EXPECT_EQ(Find(*before, 0).outcome, TitleTimeOutcome::Inside);
    // The PGC plays its first cell once more at its end, as some discs do for a loop.
    chain.cells.append(chain.cells.front());
    const std::optional<TitleTimeline> after = Timeline(*set, 2);
    ASSERT_TRUE(after);
    EXPECT_EQ(Find(*after, 0).outcome, TitleTimeOutcome::PlayedMoreThanOnce);
    const TitleTimePoint repeated = Find(*after, (after->lengthTicks() - 1) / 90);
    EXPECT_EQ(repeated.outcome, TitleTimeOutcome::PlayedMoreThanOnce);
    EXPECT_EQ(repeated.cellIndex, chain.cells.size() - 1);
    EXPECT_EQ(repeated.vobuSector, chain.cells.front().lastVobuStartSector);
    // A cell between them stays played once, and so does the other title.
    EXPECT_EQ(Find(*after, before->lengthTicks() / 90 - 1).outcome, TitleTimeOutcome::Inside);
    const std::optional<TitleTimeline> other = Timeline(*set, 1);
    ASSERT_TRUE(other);
    EXPECT_EQ(Find(*other, 0).outcome, TitleTimeOutcome::Inside);
}

TEST(TitleTimeline, RefusesTitlesItCannotPlaceTimesInAndCellsOffTheVobus) {
    const std::optional<ReadSet> read = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(read);
    struct Case {
        const char* name;
        int title;
        std::function<void(ReadSet&)> change;
        const char* saying;
    };
    const auto firstCell = [](ReadSet& set) -> CellPlayback& {
        return set.info.pgcs[set.info.title(1)->firstPgc - 1].cells.front();
    };
    const std::vector<Case> cases = {
        {"a title of another set", 3, [](ReadSet&) {}, "Title 3 is not in title set 1."},
        {"an interleaved title", 1, [](ReadSet& set) { set.info.titles[0].interleaved = true; },
         "Title 1 is interleaved or has several angles"},
        {"programs in random order", 1,
         [](ReadSet& set) { set.info.pgcs[set.info.title(1)->firstPgc - 1].playbackMode = 0x82; },
         "plays the programs of PGC 1 in random order"},
        {"a cell starting off a NAV pack", 1,
         [&](ReadSet& set) { firstCell(set).firstSector += 1; },
         "disagrees with its VOBs: cell 1 of PGC 1 starts at sector"},
        {"a cell ending off its last VOBU", 1,
         [&](ReadSet& set) { firstCell(set).lastSector -= 1; },
         "disagrees with its VOBs: cell 1 of PGC 1 has its last VOBU"},
        {"a cell's last VOBU missing from the walk", 1,
         [&](ReadSet& set) {
             set.vobus.removeIf([&](const VobuEntry& vobu) {
                 return vobu.sector == firstCell(set).lastVobuStartSector;
             });
         },
         "disagrees with its VOBs: cell 1 of PGC 1 has its last VOBU"},
        {"an IFO time two seconds off the video's", 1,
         [&](ReadSet& set) { firstCell(set).playbackTime.ticks += 2 * kTicksPerSecond; },
         "disagrees with its VOBs: cell 1 of PGC 1 plays for"},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        ReadSet set = *read;
        entry.change(set);
        const Result<TitleTimeline> timeline =
            TitleTimeline::Build(set.info, entry.title, set.vobus);
        ASSERT_FALSE(timeline.ok());
        EXPECT_EQ(timeline.error().kind, ErrorKind::Format);
        EXPECT_TRUE(timeline.error().message.contains(QString::fromLatin1(entry.saying)))
            << timeline.error().message.toStdString();
    }
}

}  // namespace
}  // namespace marvoxa

#include "dvd/subpicture_placement.h"

#include "dvd/program_stream.h"
#include "test_discs.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

struct PlacementCase {
    const char* name;
    qint64 titleMs;
    qsizetype unitBytes;
    int units;
    int spacingMs;        // between their times
    const char* refusal;  // nullptr: placed
};

// What the gaps of dvdauthor's video can and cannot take before a unit is shown.
TEST(SubpicturePlacement, PlacesUnitsBeforeTheirTimeAndRefusesWhatNoPlayerCouldShow) {
    const std::optional<test::ReadTitleSet> set = test::ReadWholeSet(test::PalDisc(), 1);
    ASSERT_TRUE(set);
    std::vector<qint64> clocks;
    ASSERT_TRUE(WalkTitleVobus(set->folder, {}, &clocks).ok());
    const QByteArray firstPack =
        test::ReadFile(test::PalDisc().file(QStringLiteral("VTS_01_1.VOB"))).left(kPackSize);
    const quint32 muxRate = PackMuxRate(reinterpret_cast<const uchar*>(firstPack.constData()));
    const Result<TitleTimeline> timeline = TitleTimeline::Build(set->info, 1, set->vobus);
    ASSERT_TRUE(timeline.ok());
    const PlacementCase cases[] = {
        {"a unit of one pack", 1000, 1500, 1, 0, nullptr},
        {"units of several packs", 2200, 20000, 3, 300, nullptr},
        {"larger than a player's buffer", 1000, kSubpictureBufferSize + 1, 1, 0,
         "more than the 53220 a player's subpicture buffer holds"},
        {"more than the video's gaps can carry", 0, kSubpictureBufferSize, 20, 40,
         "leaves no room for its 27 packs"},
    };
    for (const PlacementCase& test : cases) {
        SCOPED_TRACE(test.name);
        const QList<TitleSubpicture> units(test.units, {QStringLiteral("Subtitle 1"), test.titleMs,
                                                        500, QByteArray(test.unitBytes, '\x5a')});
        const Result<SubpicturePlacement> placed =
            PlaceSubpictures(clocks, muxRate, timeline.value(), {{1, units}});
        if (test.refusal != nullptr) {
            ASSERT_FALSE(placed.ok());
            EXPECT_TRUE(
                placed.error().message.contains(QLatin1String(" cannot be added to the DVD: ")));
            EXPECT_TRUE(placed.error().message.contains(QLatin1String(test.refusal)))
                << placed.error().message.toStdString();
            continue;
        }
        ASSERT_TRUE(placed.ok()) << placed.error().message.toStdString() << "";
        QByteArray packs;
        for (const PackInsertion& insertion : placed.value().insertions) {
            packs += insertion.packs;
        }
        ASSERT_EQ(packs.size() % kPackSize, 0);
        EXPECT_EQ(placed.value().shift.inserted(), packs.size() / kPackSize);
        // Each pack lies in its gap by the clock and arrives before the unit is shown.
        const qint64 shownAt = (qint64{set->vobus.front().startPtm} +
                                (test.titleMs + test.spacingMs * (test.units - 1)) * 90) *
                               300;
        for (qsizetype at = 0; at < packs.size(); at += kPackSize) {
            EXPECT_LT(PackScr(reinterpret_cast<const uchar*>(packs.constData()) + at), shownAt);
        }
    }
}

}  // namespace
}  // namespace marvoxa

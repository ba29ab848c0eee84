#include "dvd/dvd_folder.h"

#include "test_discs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <functional>

namespace marvoxa {
namespace {

TEST(DvdFolder, FindsTheSetNumberAndItsTitleVobsAsOneRunOfSectors) {
    ASSERT_TRUE(test::PalDisc().built && test::PalSplitDisc().built);
    for (const int set : {1, 2}) {
        const Result<DvdFolder> folder = FindDvdFolder(test::PalDisc().ifo(set));
        ASSERT_TRUE(folder.ok()) << folder.error().message.toStdString();
        EXPECT_EQ(folder.value().titleSet, set);
        EXPECT_EQ(folder.value().videoTsFolder, test::PalDisc().videoTs());
        const QFileInfo vob(test::PalDisc().file(QStringLiteral("VTS_0%1_1.VOB").arg(set)));
        EXPECT_EQ(
            folder.value().titleVobs,
            (QList<TitleVobFile>{{vob.filePath(), 0, static_cast<quint32>(vob.size() / 2048)}}));
    }
    const Result<DvdFolder> whole = FindDvdFolder(test::PalDisc().ifo(1));
    const Result<DvdFolder> split = FindDvdFolder(test::PalSplitDisc().ifo(1));
    ASSERT_TRUE(whole.ok() && split.ok());
    const QList<TitleVobFile>& parts = split.value().titleVobs;
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].sectorCount, test::PalSplitSector());
    EXPECT_EQ(parts[1].path, test::PalSplitDisc().file(QStringLiteral("VTS_01_2.VOB")));
    EXPECT_EQ(parts[1].firstSector, test::PalSplitSector());
    EXPECT_EQ(split.value().titleVobSectors(), whole.value().titleVobSectors());
}

struct Refusal {
    const char* name;
    // Damages the copy and returns the IFO path to pass.
    std::function<QString(const test::TestDisc&)> damage;
    ErrorKind kind;
    const char* namedFile;  // relative to the copy's root; the message must name it
    const char* saying;
};

TEST(DvdFolder, RefusesWhatIsNoCompleteTitleSetAndSaysWhichFileIsWrong) {
    const auto remove = [](const char* name) {
        return [name](const test::TestDisc& disc) {
            EXPECT_TRUE(QFile::remove(disc.file(QString::fromLatin1(name))));
            return disc.ifo(1);
        };
    };
    const std::vector<Refusal> refusals = {
        {"outside VIDEO_TS",
         [](const test::TestDisc& disc) {
             EXPECT_TRUE(
                 QDir(disc.root).rename(QStringLiteral("VIDEO_TS"), QStringLiteral("DISC")));
             return disc.root + QStringLiteral("/DISC/VTS_01_0.IFO");
         },
         ErrorKind::Format, "DISC/VTS_01_0.IFO", "does not lie in a VIDEO_TS folder"},
        {"the disc's own IFO",
         [](const test::TestDisc& disc) { return disc.file(QStringLiteral("VIDEO_TS.IFO")); },
         ErrorKind::Format, "VIDEO_TS/VIDEO_TS.IFO", "is not the IFO of a title set"},
        {"set 00",
         [](const test::TestDisc& disc) { return disc.file(QStringLiteral("VTS_00_0.IFO")); },
         ErrorKind::Format, "VIDEO_TS/VTS_00_0.IFO", "VTS_xx_0.IFO with xx from 01 to 99"},
        {"a set that is not there", [](const test::TestDisc& disc) { return disc.ifo(3); },
         ErrorKind::Io, "VIDEO_TS/VTS_03_0.IFO", "is missing"},
        {"no VIDEO_TS.IFO", remove("VIDEO_TS.IFO"), ErrorKind::Io, "VIDEO_TS/VIDEO_TS.IFO",
         "is missing: the DVD's own IFO"},
        {"no title VOB", remove("VTS_01_1.VOB"), ErrorKind::Io, "VIDEO_TS/VTS_01_1.VOB",
         "has no title video"},
        {"a VOB left out",
         [](const test::TestDisc& disc) {
             EXPECT_TRUE(QFile::copy(disc.file(QStringLiteral("VTS_01_1.VOB")),
                                     disc.file(QStringLiteral("VTS_01_3.VOB"))));
             return disc.ifo(1);
         },
         ErrorKind::Io, "VIDEO_TS/VTS_01_2.VOB", "VTS_01_3.VOB exists"},
        {"IFO is a folder",
         [](const test::TestDisc& disc) {
             EXPECT_TRUE(QDir(disc.videoTs()).mkdir(QStringLiteral("VTS_05_0.IFO")));
             return disc.ifo(5);
         },
         ErrorKind::Io, "VIDEO_TS/VTS_05_0.IFO", "is not a regular file"},
        {"VOB is a FIFO",
         [](const test::TestDisc& disc) {
             const QString vob = disc.file(QStringLiteral("VTS_01_1.VOB"));
             EXPECT_TRUE(QFile::remove(vob));
             EXPECT_EQ(::mkfifo(QFile::encodeName(vob).constData(), 0600), 0);
             return disc.ifo(1);
         },
         ErrorKind::Io, "VIDEO_TS/VTS_01_1.VOB", "is not a regular file"},
        {"VOB of part sectors",
         [](const test::TestDisc& disc) {
             QFile vob(disc.file(QStringLiteral("VTS_02_1.VOB")));
             EXPECT_TRUE(vob.open(QIODevice::Append));
             vob.write(QByteArray(100, '\0'));
             return disc.ifo(2);
         },
         ErrorKind::Format, "VIDEO_TS/VTS_02_1.VOB", "not a whole number of 2048-byte sectors"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        QTemporaryDir folder;
        const test::TestDisc copy = test::CopyDisc(test::PalDisc(), folder);
        ASSERT_TRUE(copy.built);
        const Result<DvdFolder> found = FindDvdFolder(refusal.damage(copy));
        ASSERT_FALSE(found.ok());
        EXPECT_EQ(found.error().kind, refusal.kind);
        const QString message = found.error().message;
        EXPECT_TRUE(
            message.contains(copy.root + QLatin1Char('/') + QString::fromLatin1(refusal.namedFile)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(refusal.saying))) << message.toStdString();
    }
}

// Some systems mount a disc with its names in lower case.
TEST(DvdFolder, TakesALowerCaseCopyWithItsLowerCaseVobs) {
    QTemporaryDir folder;
    const test::TestDisc copy = test::CopyDisc(test::PalDisc(), folder);
    QDir videoTs(copy.videoTs());
    for (const QString& name : videoTs.entryList(QDir::Files)) {
        ASSERT_TRUE(videoTs.rename(name, name.toLower()));
    }
    ASSERT_TRUE(QDir(copy.root).rename(QStringLiteral("VIDEO_TS"), QStringLiteral("video_ts")));
    const Result<DvdFolder> found =
        FindDvdFolder(copy.root + QStringLiteral("/video_ts/vts_01_0.ifo"));
    ASSERT_TRUE(found.ok()) << found.error().message.toStdString();
    ASSERT_EQ(found.value().titleVobs.size(), 1);
    EXPECT_EQ(found.value().titleVobs[0].path,
              copy.root + QStringLiteral("/video_ts/vts_01_1.vob"));
}

}  // namespace
}  // namespace marvoxa

#include "test_discs.h"

#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace marvoxa::test {
namespace {

// The discs live as long as the test executable; their folders go with it.
struct BuiltDisc {
    QTemporaryDir folder;
    TestDisc disc;
};

// A few seconds of moving test pictures and a tone, as DVD video.
void MakeClip(const QString& folder, const QString& name, const QString& pictures, bool pal,
              const char* aspect, int seconds, int toneHz) {
    const QString size = pal ? QStringLiteral("720x576") : QStringLiteral("720x480");
    const QString rate = pal ? QStringLiteral("25") : QStringLiteral("30000/1001");
    RunTool(QStringLiteral("ffmpeg"),
            Words("-nostdin -loglevel error -y -f lavfi -i")
                << QStringLiteral("%1=s=%2:r=%3:d=%4").arg(pictures, size, rate).arg(seconds)
                << Words("-f lavfi -i") << QStringLiteral("sine=f=%1:d=%2").arg(toneHz).arg(seconds)
                << QStringLiteral("-target")
                << (pal ? QStringLiteral("pal-dvd") : QStringLiteral("ntsc-dvd"))
                << QStringLiteral("-aspect") << QString::fromLatin1(aspect) << name,
            folder);
}

void Author(const QString& folder, const char* xml, bool pal) {
    qputenv("VIDEO_FORMAT", pal ? "PAL" : "NTSC");
    QFile file(folder + QStringLiteral("/dvd.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    RunTool(QStringLiteral("dvdauthor"), Words("-x dvd.xml"), folder);
}

void Finish(BuiltDisc& built) {
    built.disc.root = built.folder.filePath(QStringLiteral("DVD"));
    built.disc.built = QFileInfo::exists(built.disc.file(QStringLiteral("VIDEO_TS.IFO")));
}

std::unique_ptr<BuiltDisc> BuildPal() {
    auto built = std::make_unique<BuiltDisc>();
    const QString folder = built->folder.path();
    MakeClip(folder, QStringLiteral("a.mpg"), QStringLiteral("testsrc"), true, "16:9", 3, 440);
    MakeClip(folder, QStringLiteral("b.mpg"), QStringLiteral("testsrc2"), true, "16:9", 2, 660);
    MakeClip(folder, QStringLiteral("c.mpg"), QStringLiteral("testsrc"), true, "16:9", 2, 880);
    MakeClip(folder, QStringLiteral("d.mpg"), QStringLiteral("testsrc"), true, "4:3", 2, 330);
    RunTool(QStringLiteral("ffmpeg"),
            Words("-nostdin -loglevel error -y -f lavfi -i color=c=white:s=200x40 -frames:v 1 "
                  "line.png"),
            folder);
    QFile script(folder + QStringLiteral("/spu.xml"));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "<subpictures><stream>\n"
        "<spu start=\"00:00:00.50\" end=\"00:00:01.20\" image=\"line.png\" xoffset=\"100\" "
        "yoffset=\"400\"/>\n"
        "<spu start=\"00:00:02.00\" end=\"00:00:02.60\" image=\"line.png\" xoffset=\"100\" "
        "yoffset=\"300\"/>\n"
        "</stream></subpictures>\n");
    script.close();
    qputenv("VIDEO_FORMAT", "PAL");
    RunTool(QStringLiteral("spumux"), Words("-s 0 spu.xml"), folder,
            folder + QStringLiteral("/a.mpg"), folder + QStringLiteral("/a_sub.mpg"));
    Author(folder,
           "<dvdauthor dest=\"DVD\"><vmgm/>\n"
           "<titleset><titles><video format=\"pal\" aspect=\"16:9\"/><subpicture lang=\"en\"/>\n"
           "<pgc><vob file=\"a_sub.mpg\" chapters=\"0,1,2\"/><vob file=\"b.mpg\"/></pgc>\n"
           "<pgc><vob file=\"c.mpg\" chapters=\"0,1\"/></pgc>\n"
           "</titles></titleset>\n"
           "<titleset><titles><video format=\"pal\" aspect=\"4:3\"/>\n"
           "<pgc><vob file=\"d.mpg\"/></pgc>\n"
           "</titles></titleset></dvdauthor>\n",
           true);
    Finish(*built);
    return built;
}

std::unique_ptr<BuiltDisc> BuildNtscShared() {
    auto built = std::make_unique<BuiltDisc>();
    const QString folder = built->folder.path();
    MakeClip(folder, QStringLiteral("n1.mpg"), QStringLiteral("testsrc"), false, "4:3", 2, 440);
    MakeClip(folder, QStringLiteral("n2.mpg"), QStringLiteral("testsrc2"), false, "4:3", 2, 550);
    Author(folder,
           "<dvdauthor dest=\"DVD\"><vmgm/>\n"
           "<titleset><titles><video format=\"ntsc\" aspect=\"4:3\"/>\n"
           "<pgc><vob file=\"n1.mpg\" chapters=\"0,1\"/><vob file=\"n2.mpg\"/></pgc>\n"
           "<pgc><vob file=\"n2.mpg\"/></pgc>\n"
           "</titles></titleset></dvdauthor>\n",
           false);
    Finish(*built);
    return built;
}

std::unique_ptr<BuiltDisc> BuildNtscLong() {
    auto built = std::make_unique<BuiltDisc>();
    const QString folder = built->folder.path();
    // A plain picture keeps the 11 minutes small; the clip is joined to itself without
    // re-encoding, so its times run on.
    RunTool(QStringLiteral("ffmpeg"),
            Words("-nostdin -loglevel error -y -f lavfi -i "
                  "color=c=0x406080:s=720x480:r=30000/1001:d=2 -an -target ntsc-dvd "
                  "-aspect 4:3 clip.mpg"),
            folder);
    QFile list(folder + QStringLiteral("/list.txt"));
    EXPECT_TRUE(list.open(QIODevice::WriteOnly));
    for (int i = 0; i < 330; ++i) {
        list.write("file 'clip.mpg'\n");
    }
    list.close();
    RunTool(QStringLiteral("ffmpeg"),
            Words("-nostdin -loglevel error -y -f concat -safe 0 -i list.txt -c copy -f dvd "
                  "long.mpg"),
            folder);
    Author(folder,
           "<dvdauthor dest=\"DVD\"><vmgm/>\n"
           "<titleset><titles><video format=\"ntsc\" aspect=\"4:3\"/>\n"
           "<pgc><vob file=\"long.mpg\" chapters=\"0,2:00,4:00,6:00,8:00,10:00\"/></pgc>\n"
           "</titles></titleset></dvdauthor>\n",
           false);
    Finish(*built);
    return built;
}

std::unique_ptr<BuiltDisc> BuildWideVariants() {
    auto built = std::make_unique<BuiltDisc>();
    const QString folder = built->folder.path();
    MakeClip(folder, QStringLiteral("w.mpg"), QStringLiteral("testsrc"), true, "16:9", 3, 440);
    RunTool(QStringLiteral("ffmpeg"),
            Words("-nostdin -loglevel error -y -f lavfi -i color=c=white:s=160x30 -frames:v 1 "
                  "line.png"),
            folder);
    QFile script(folder + QStringLiteral("/spu.xml"));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "<subpictures><stream>\n"
        "<spu start=\"00:00:00.50\" end=\"00:00:01.50\" image=\"line.png\" xoffset=\"100\" "
        "yoffset=\"400\"/>\n"
        "</stream></subpictures>\n");
    script.close();
    qputenv("VIDEO_FORMAT", "PAL");
    RunTool(QStringLiteral("spumux"), Words("-s 0 spu.xml"), folder,
            folder + QStringLiteral("/w.mpg"), folder + QStringLiteral("/w0.mpg"));
    RunTool(QStringLiteral("spumux"), Words("-s 1 spu.xml"), folder,
            folder + QStringLiteral("/w0.mpg"), folder + QStringLiteral("/w1.mpg"));
    Author(folder,
           "<dvdauthor dest=\"DVD\"><vmgm/>\n"
           "<titleset><titles><video format=\"pal\" aspect=\"16:9\"/>\n"
           "<subpicture lang=\"en\"><stream mode=\"widescreen\" id=\"0\"/>"
           "<stream mode=\"letterbox\" id=\"1\"/></subpicture>\n"
           "<pgc><vob file=\"w1.mpg\"/></pgc>\n"
           "</titles></titleset></dvdauthor>\n",
           true);
    Finish(*built);
    return built;
}

std::unique_ptr<BuiltDisc> BuildWideNoPanScan() {
    auto built = std::make_unique<BuiltDisc>();
    const QString folder = built->folder.path();
    MakeClip(folder, QStringLiteral("p.mpg"), QStringLiteral("testsrc2"), true, "16:9", 2, 550);
    Author(folder,
           "<dvdauthor dest=\"DVD\"><vmgm/>\n"
           "<titleset><titles><video format=\"pal\" aspect=\"16:9\" "
           "widescreen=\"nopanscan\"/>\n"
           "<pgc><vob file=\"p.mpg\"/></pgc>\n"
           "</titles></titleset></dvdauthor>\n",
           true);
    Finish(*built);
    return built;
}

// Sector 0x26 of a NAV pack holds the PCI packet's start code; the split falls on a sector
// that is none, so that one VOBU spans both files.
quint32 SplitSectorOf(const QByteArray& vob) {
    const qint64 sectors = vob.size() / 2048;
    quint32 sector = static_cast<quint32>(sectors / 2);
    while (sector < sectors &&
           vob.mid(qint64{sector} * 2048 + 0x26, 4) == QByteArray("\0\0\1\xbf", 4)) {
        ++sector;
    }
    return sector;
}

std::unique_ptr<BuiltDisc> BuildPalSplit() {
    auto built = std::make_unique<BuiltDisc>();
    const TestDisc& source = PalDisc();
    if (!source.built) {
        return built;
    }
    TestDisc copy = CopyDisc(source, built->folder);
    const QString first = copy.file(QStringLiteral("VTS_01_1.VOB"));
    const QByteArray whole = ReadFile(first);
    const qint64 cut = qint64{SplitSectorOf(whole)} * 2048;
    QFile head(first);
    EXPECT_TRUE(head.resize(cut));
    QFile tail(copy.file(QStringLiteral("VTS_01_2.VOB")));
    EXPECT_TRUE(tail.open(QIODevice::WriteOnly));
    EXPECT_EQ(tail.write(whole.mid(cut)), whole.size() - cut);
    built->disc = copy;
    return built;
}

const TestDisc& Cached(std::unique_ptr<BuiltDisc> (*build)(), std::unique_ptr<BuiltDisc>& slot) {
    if (!slot) {
        slot = build();
        EXPECT_TRUE(slot->disc.built) << "the test disc could not be built; see the tool's output";
    }
    return slot->disc;
}

}  // namespace

const TestDisc& PalDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildPal, disc);
}

const TestDisc& NtscSharedDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildNtscShared, disc);
}

const TestDisc& NtscLongDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildNtscLong, disc);
}

const TestDisc& WideVariantsDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildWideVariants, disc);
}

const TestDisc& WideNoPanScanDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildWideNoPanScan, disc);
}

const TestDisc& PalSplitDisc() {
    static std::unique_ptr<BuiltDisc> disc;
    return Cached(BuildPalSplit, disc);
}

quint32 PalSplitSector() {
    return static_cast<quint32>(
        QFileInfo(PalSplitDisc().file(QStringLiteral("VTS_01_1.VOB"))).size() / 2048);
}

TestDisc CopyDisc(const TestDisc& disc, const QTemporaryDir& into, bool lowerCase) {
    TestDisc copy;
    copy.root = into.path();
    const QString folder = lowerCase ? QStringLiteral("video_ts") : QStringLiteral("VIDEO_TS");
    EXPECT_TRUE(QDir(into.path()).mkpath(folder));
    for (const QFileInfo& file : QDir(disc.videoTs()).entryInfoList(QDir::Files)) {
        const QString name = lowerCase ? file.fileName().toLower() : file.fileName();
        EXPECT_TRUE(QFile::copy(file.filePath(), into.filePath(folder + QLatin1Char('/') + name)))
            << file.filePath().toStdString();
    }
    copy.built = disc.built;
    return copy;
}

std::optional<ReadTitleSet> ReadWholeSet(const TestDisc& disc, int set) {
    EXPECT_TRUE(disc.built);
    const Result<DvdFolder> folder = FindDvdFolder(disc.ifo(set));
    if (!folder) {
        ADD_FAILURE() << folder.error().message.toStdString();
        return std::nullopt;
    }
    const Result<TitleSetInfo> info = ReadTitleSetInfo(folder.value());
    const Result<QList<VobuEntry>> vobus = WalkTitleVobus(folder.value());
    if (!info || !vobus) {
        ADD_FAILURE() << (info ? vobus.error() : info.error()).message.toStdString();
        return std::nullopt;
    }
    return ReadTitleSet{folder.value(), info.value(), vobus.value()};
}

}  // namespace marvoxa::test

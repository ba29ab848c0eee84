#include "cli/conversion.h"

#include "sup_stream_reader.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace marvoxa {
namespace {

struct ConverterRun {
    int exitStatus = -1;
    QString out;
    QString err;
};

ConverterRun Convert(const ConversionOptions& options) {
    ConverterRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitStatus = RunConversion(options, out, err);
    return run;
}

QByteArray IfoWithPalette(const std::array<quint32, 16>& entries, bool pal) {
    QByteArray ifo(4096, '\0');
    const auto put32 = [&](int at, quint32 value) {
        for (int i = 0; i < 4; ++i) {
            ifo[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    put32(204, 1);         // the program chain table starts in sector 1
    put32(2048 + 12, 16);  // the first chain 16 bytes into it
    for (int i = 0; i < 16; ++i) {
        put32(2048 + 16 + 164 + 4 * i, entries[static_cast<size_t>(i)]);
    }
    ifo[512] = pal ? '\x51' : '\x41';
    return ifo;
}

// Greys at 0, 1 and 2: a usable palette.
std::array<quint32, 16> UsablePalette() {
    std::array<quint32, 16> usable{};
    usable.fill(0x00515a5a);
    usable[0] = 0x00108080;
    usable[1] = 0x00808080;
    usable[2] = 0x00eb8080;
    return usable;
}

class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        options_.subtitlePath = test::WriteFile(
            folder_, QStringLiteral("movie.srt"),
            QByteArrayLiteral("1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n"
                              "2\r\n00:00:03,000 --> 00:00:04,500\r\nTwo|lines\r\nhere\r\n"));
    }

    QTemporaryDir folder_;
    ConversionOptions options_;
};

TEST_F(Conversion, WritesBothFilesNextToTheSubtitleAndReportsTheCase) {
    const ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("All Done !!! (Case : No Ifo)\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n\nGenerated Files:\n") +
                                 folder_.filePath(QStringLiteral("Generated.sup")) +
                                 QLatin1Char('\n') +
                                 folder_.filePath(QStringLiteral("Marvoxa_Help_File.txt"))));
    EXPECT_FALSE(test::ReadFile(folder_.filePath(QStringLiteral("Generated.sup"))).isEmpty());
    EXPECT_TRUE(test::ReadFile(folder_.filePath(QStringLiteral("Marvoxa_Help_File.txt")))
                    .startsWith("All Done !!! (Case : No Ifo)\r\n"));
}

TEST_F(Conversion, AlsoWritesTheChosenOutputsListsThemAndTellsHowToMakeTheDvd) {
    options_.extraOutputs = {.vobSub = true, .dvdauthor = true, .language = QStringLiteral("el")};
    const ConverterRun run = Convert(options_);
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    const QDir dir(folder_.path());
    const QString listed = QStringLiteral("\nAlso generated:\n%1\n%2\n%3\n%4\n%5\n")
                               .arg(dir.filePath(QStringLiteral("Generated.idx")),
                                    dir.filePath(QStringLiteral("Generated.sub")),
                                    dir.filePath(QStringLiteral("Generated_spumux.xml")),
                                    dir.filePath(QStringLiteral("Generated_spumux/0001.png")),
                                    dir.filePath(QStringLiteral("Generated_spumux/0002.png")));
    EXPECT_TRUE(run.out.contains(listed)) << run.out.toStdString();
    for (const QString& path : listed.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("  cd '%1'\n  spumux -s 0 Generated_spumux.xml < VIDEO.mpg > subtitled.mpg\n"
                       "  VIDEO_FORMAT=PAL dvdauthor -o DVD -t -s el subtitled.mpg && "
                       "VIDEO_FORMAT=PAL dvdauthor -o DVD -T\n")
            .arg(folder_.path())))
        << run.out.toStdString();

    options_.extraOutputs.dvdauthor = false;
    EXPECT_FALSE(Convert(options_).out.contains(QStringLiteral("spumux")));
}

TEST_F(Conversion, ReportsTheCaseOfTheIfo) {
    const std::array<quint32, 16> usable = UsablePalette();
    options_.ifoPath =
        test::WriteFile(folder_, QStringLiteral("VTS_01_0.IFO"), IfoWithPalette(usable, false));
    options_.outputFolder = folder_.filePath(QStringLiteral("out"));
    QDir().mkpath(options_.outputFolder);
    ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("All Done !!! (Case : With Ifo)")));
    EXPECT_TRUE(QFile::exists(options_.outputFolder + QStringLiteral("/Generated.sup")));

    std::array<quint32, 16> greyless{};
    greyless.fill(0x00515a5a);
    options_.ifoPath =
        test::WriteFile(folder_, QStringLiteral("VTS_02_0.IFO"), IfoWithPalette(greyless, true));
    run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone);
    EXPECT_TRUE(
        run.err.startsWith(QStringLiteral("marvoxa-cli: ATTENTION :\nYour loaded ifo has not a "
                                          "polycromatic color palette.\n")));
    // The report alone stays on standard output.
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("All Done !!! (Case : Monocromatic Ifo)")));
}

// A 16:9 IFO draws wide, with a notice; --aspect overrides the IFO either way.
TEST_F(Conversion, DrawsForTheIfosScreenUnlessTheAspectIsGiven) {
    const std::array<quint32, 16> usable = UsablePalette();
    QByteArray wideIfo = IfoWithPalette(usable, true);
    wideIfo[512] = static_cast<char>(wideIfo[512] | 0x0c);  // display aspect 3: 16:9
    const QString squarePath =
        test::WriteFile(folder_, QStringLiteral("VTS_01_0.IFO"), IfoWithPalette(usable, true));
    const QString widePath = test::WriteFile(folder_, QStringLiteral("VTS_02_0.IFO"), wideIfo);
    const auto stream = [&](const QString& ifo, AspectChoice aspect, bool noticed) {
        options_.ifoPath = ifo;
        options_.aspect = aspect;
        options_.outputFolder = folder_.filePath(QStringLiteral("out"));
        const ConverterRun run = Convert(options_);
        EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
        EXPECT_EQ(run.err.contains(QStringLiteral("The IFO's video is 16:9 (wide screen)")),
                  noticed)
            << run.err.toStdString();
        return test::ReadFile(options_.outputFolder + QStringLiteral("/Generated.sup"));
    };
    const QByteArray square = stream(squarePath, AspectChoice::FromIfo, false);
    const QByteArray wide = stream(widePath, AspectChoice::FromIfo, true);
    EXPECT_NE(wide, square);
    EXPECT_EQ(stream(widePath, AspectChoice::FourByThree, false), square);
    EXPECT_EQ(stream(squarePath, AspectChoice::Wide, false), wide);
    EXPECT_NE(stream(QString(), AspectChoice::Wide, false), stream(QString(), {}, false));
}

TEST_F(Conversion, RefusesWhatItCannotConvertWithoutWritingFiles) {
    ConversionOptions missing = options_;
    missing.subtitlePath = folder_.filePath(QStringLiteral("absent.srt"));
    ConverterRun run = Convert(missing);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_EQ(run.err, QStringLiteral("marvoxa-cli: Cannot open file ") + missing.subtitlePath +
                           QStringLiteral(": No such file or directory\n"));

    ConversionOptions badIfo = options_;
    badIfo.ifoPath = folder_.filePath(QStringLiteral("absent.ifo"));
    run = Convert(badIfo);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("marvoxa-cli: File not found")));

    // A damaged IFO of random bytes, however its fields point, is no readable title set IFO.
    ConversionOptions damagedIfo = options_;
    QByteArray noise(12 * 1024, '\0');
    quint32 seed = 1;
    for (char& byte : noise) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 16);
    }
    // The table's sector: beyond the file's end, and a position negative in 32 bits.
    for (const QByteArray& sector :
         {QByteArray("\x00\x00\x01\x00", 4), QByteArray("\x00\x10\x00\x00", 4)}) {
        noise.replace(0xCC, 4, sector);
        damagedIfo.ifoPath = test::WriteFile(folder_, QStringLiteral("VTS_02_0.IFO"), noise);
        run = Convert(damagedIfo);
        EXPECT_EQ(run.exitStatus, kExitRefused);
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("marvoxa-cli: ") + damagedIfo.ifoPath +
                                       QStringLiteral(" is not a readable IFO of a title set: ")))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("does not begin with DVDVIDEO-VTS")));
    }

    ConversionOptions tooWide = options_;
    tooWide.subtitlePath =
        test::WriteFile(folder_, QStringLiteral("wide.srt"),
                        "1\n00:00:01,000 --> 00:00:02,000\n" + QByteArray(120, 'W') + "\nsecond\n");
    run = Convert(tooWide);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("marvoxa-cli: The string \n") + QString(120, QLatin1Char('W')) +
        QStringLiteral("\nsecond\nis too long. Please correct the srt")));

    ConversionOptions badFrameRate = options_;
    badFrameRate.subtitlePath =
        test::WriteFile(folder_, QStringLiteral("movie.sub"), QByteArrayLiteral("{1}{1}29.97\n"));
    run = Convert(badFrameRate);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_TRUE(run.err.contains(QStringLiteral("must contain the framerate")));

    const std::pair<const char*, QByteArray> notSubtitles[] = {
        {"headless.vtt", "00:01.000 --> 00:02.000\nHello\n"},
        {"no_events.ass", "[Script Info]\nScriptType: v4.00+\n[V4+ Styles]\n"},
        {"picture.ass", QByteArray::fromHex("89504e470d0a1a0a") + QByteArray(500, '\x9c')},
    };
    for (const auto& [name, bytes] : notSubtitles) {
        ConversionOptions notSubtitle = options_;
        notSubtitle.subtitlePath = test::WriteFile(folder_, QString::fromLatin1(name), bytes);
        run = Convert(notSubtitle);
        EXPECT_EQ(run.exitStatus, kExitRefused) << name;
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("marvoxa-cli: This is not a")))
            << run.err.toStdString();
    }

    EXPECT_FALSE(QFile::exists(folder_.filePath(QStringLiteral("Generated.sup"))));
    EXPECT_FALSE(QFile::exists(folder_.filePath(QStringLiteral("Marvoxa_Help_File.txt"))));
}

// A folder in the help file's place cannot be replaced by a file.
TEST_F(Conversion, AHelpFileThatCannotBeWrittenIsReportedInsteadOfSuccess) {
    const QString helpPath = folder_.filePath(QStringLiteral("Marvoxa_Help_File.txt"));
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("Marvoxa_Help_File.txt")));
    const ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_FALSE(run.out.contains(QStringLiteral("All Done"))) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(helpPath)) << run.err.toStdString();
}

TEST_F(Conversion, MakesAMissingOutputFolderWithItsParents) {
    options_.outputFolder = folder_.filePath(QStringLiteral("out/of/sight"));
    const ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(options_.outputFolder + QStringLiteral("/Generated.sup")));

    // A file refused while it is drawn leaves no empty folder behind.
    options_.outputFolder = folder_.filePath(QStringLiteral("never"));
    options_.subtitlePath =
        test::WriteFile(folder_, QStringLiteral("wide.srt"),
                        "1\n00:00:01,000 --> 00:00:02,000\n" + QByteArray(120, 'W') + "\n");
    EXPECT_EQ(Convert(options_).exitStatus, kExitRefused);
    EXPECT_FALSE(QFileInfo::exists(options_.outputFolder));

    options_.outputFolder = options_.subtitlePath + QStringLiteral("/below-a-file");
    const ConverterRun refused = Convert(options_);
    EXPECT_EQ(refused.exitStatus, kExitRefused);
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("marvoxa-cli: The output folder ")))
        << refused.err.toStdString();
}

QByteArray StreamOf(const QString& subtitlePath, const QString& outputFolder,
                    TextOptions text = {}) {
    ConversionOptions options;
    options.subtitlePath = subtitlePath;
    options.outputFolder = outputFolder;
    options.settings.text = text;
    const ConverterRun run = Convert(options);
    EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
    return test::ReadFile(outputFolder + QStringLiteral("/Generated.sup"));
}

TEST_F(Conversion, WritesTheSameStreamForEveryUnicodeEncoding) {
    const QDir collection(test::SubtitleCollectionDir());
    for (const char* form : {"encoding_%1.srt", "encoding_%1.sub"}) {
        const auto stream = [&](const char* variant) {
            return StreamOf(
                collection.filePath(QString::fromLatin1(form).arg(QLatin1String(variant))),
                folder_.filePath(QLatin1String(variant)));
        };
        const QByteArray utf8 = stream("utf8");
        ASSERT_FALSE(utf8.isEmpty());
        for (const char* variant :
             {"utf8bom", "utf16le", "utf16be", "utf32le", "utf32be", "utf16le_nobom"}) {
            EXPECT_EQ(stream(variant), utf8) << form << " " << variant;
        }
    }
}

TEST_F(Conversion, StrippedTagsLeaveTheStreamOfTheUntaggedText) {
    const QString tagged = test::WriteFile(
        folder_, QStringLiteral("tagged.srt"),
        "1\n00:00:01,000 --> 00:00:02,000\n{\\an2}<i>Fish</i> &amp; <FONT color=red>chips</font>\n"
        "<b>and &quot;more&quot;\n");
    const QString plain =
        test::WriteFile(folder_, QStringLiteral("plain.srt"),
                        "1\n00:00:01,000 --> 00:00:02,000\nFish & chips\nand \"more\"\n");
    const QByteArray stripped = StreamOf(tagged, folder_.filePath(QStringLiteral("s")),
                                         TextOptions{.markup = MarkupMode::Strip});
    EXPECT_EQ(stripped, StreamOf(plain, folder_.filePath(QStringLiteral("p"))));
    EXPECT_NE(StreamOf(tagged, folder_.filePath(QStringLiteral("r")),
                       TextOptions{.markup = MarkupMode::Render}),
              stripped);
}

TEST_F(Conversion, StyledVttAndAssFilesWriteTheStreamOfTheSameSrt) {
    const auto write = [&](const char* name, const QByteArray& bytes) {
        return test::WriteFile(folder_, QString::fromLatin1(name), bytes);
    };
    const QString srt = write("same.srt",
                              "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}<i>Fish</i> &amp; chips\n"
                              "second\n");
    const QString plainSrt =
        write("plain.srt", "1\n00:00:01,000 --> 00:00:02,000\nFish & chips\nsecond\n");
    const QString vtt = write(
        "same.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000 line:0\n<i>Fish</i> &amp; chips\nsecond\n");
    const QString ass = write("same.ass",
                              "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,"
                              "{\\an8\\i1}Fish{\\i0} & chips\\Nsecond\n");
    const TextOptions render{.markup = MarkupMode::Render};
    const QByteArray styled = StreamOf(srt, folder_.filePath(QStringLiteral("srt")), render);
    const QByteArray plain = StreamOf(plainSrt, folder_.filePath(QStringLiteral("plain")));
    ASSERT_NE(styled, plain);
    for (const QString& path : {vtt, ass}) {
        EXPECT_EQ(StreamOf(path, folder_.filePath(QStringLiteral("r")), render), styled)
            << path.toStdString();
        EXPECT_EQ(StreamOf(path, folder_.filePath(QStringLiteral("t"))), plain)
            << path.toStdString();
    }
}

TEST_F(Conversion, ReportsLinesLeftOutOnStandardErrorAndStillConverts) {
    options_.subtitlePath =
        test::SubtitleCollectionDir() + QStringLiteral("/three_or_more_lines.srt");
    options_.outputFolder = folder_.path();
    ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone);
    EXPECT_TRUE(
        run.err.startsWith(QStringLiteral("marvoxa-cli: 2 subtitles have more than two lines")))
        << run.err.toStdString();
    const QByteArray twoLines = test::ReadFile(folder_.filePath(QStringLiteral("Generated.sup")));

    options_.settings.text.allLines = true;
    run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone);
    EXPECT_EQ(run.err, QString());
    const QByteArray allLines = test::ReadFile(folder_.filePath(QStringLiteral("Generated.sup")));
    // The one- and two-line cues are the same packets; the taller ones grow.
    EXPECT_GT(allLines.size(), twoLines.size());
}

TEST_F(Conversion, RefusesACueWhoseLinesReachAboveThePicture) {
    QByteArray sixteenLines = "1\n00:00:01,000 --> 00:00:02,000\n";
    for (int line = 1; line <= 16; ++line) {
        sixteenLines += "Line " + QByteArray::number(line) + "\n";
    }
    options_.subtitlePath = test::WriteFile(folder_, QStringLiteral("tall.srt"), sixteenLines);
    options_.settings.text.allLines = true;
    const ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("marvoxa-cli: Subtitle 1 at 00:00:01,000 cannot be written")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("reach above the top")));
}

TEST_F(Conversion, WrapsTooWideLinesInsteadOfRefusing) {
    options_.subtitlePath = test::SubtitleCollectionDir() + QStringLiteral("/long_lines.srt");
    options_.outputFolder = folder_.path();
    const ConverterRun refused = Convert(options_);
    EXPECT_EQ(refused.exitStatus, kExitRefused);
    // The window's message, then a line of its own for the converter's way out.
    EXPECT_TRUE(refused.err.contains(QStringLiteral("smaler font size.\nHint: --wrap breaks")))
        << refused.err.toStdString();
    options_.settings.text = TextOptions{.wrap = true, .allLines = true};
    const ConverterRun run = Convert(options_);
    EXPECT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
}

// Streams the build before overlapping cues and ink outside the text cell were handled wrote
// for the same plain films: both changes leave such films byte for byte as they were. The
// scripts file (accents, Greek, Cyrillic, Arabic, Hebrew, CJK, symbols) keeps the stream it had
// before the faces picked per script came, when fontconfig's fallback drew what Liberation
// Sans lacks.
TEST_F(Conversion, PlainFilmsKeepTheirBytes) {
    const struct {
        const char* file;
        QStringList arguments;
        const char* sha1;
        QString folder = test::ExamplesDir();
    } cases[] = {
        {"rethymno.srt", {}, "6fef2162e18a92f625dfff9627eba1b306e80198"},
        // Without an IFO the drawing is square unless asked for wide.
        {"rethymno.srt",
         {QStringLiteral("--aspect=4:3")},
         "6fef2162e18a92f625dfff9627eba1b306e80198"},
        {"rethymno.srt",
         {QStringLiteral("--aspect=auto")},
         "6fef2162e18a92f625dfff9627eba1b306e80198"},
        {"rethymno.sub", {}, "7ec495f690d978d5ccf1802efb23b3bfd9ba620f"},
        {"rethymno.srt",
         {QStringLiteral("--style=Bold+Italic"), QStringLiteral("--size=28"),
          QStringLiteral("--outline=4")},
         "f376ffd0450734168db33bbbb9d0590930bd2d72"},
        {"rethymno.sub",
         {QStringLiteral("--standard=ntsc"), QStringLiteral("--size=16"),
          QStringLiteral("--outline=2"), QStringLiteral("--align=left"),
          QStringLiteral("--bottom-offset=8")},
         "c37974ec42106a8ce2c659ff0745ad8c3b861e12"},
        {"kept_scripts.srt",
         {},
         "e610338d2b4ec0c5d2772f7321500ad55f3030d1",
         test::SubtitleCollectionDir()},
        {"kept_scripts.srt",
         {QStringLiteral("--style=Bold")},
         "bfe84f9b315ffba617ab828ce55a2145929e231c",
         test::SubtitleCollectionDir()},
    };
    for (const auto& test : cases) {
        const QString output = folder_.filePath(QString::number(&test - cases));
        Result<ConversionOptions> options = ParseConversionOptions(
            test.arguments + QStringList{QStringLiteral("--output-dir"), output,
                                         test.folder + u'/' + QLatin1String(test.file)},
            {});
        ASSERT_TRUE(options.ok());
        ASSERT_EQ(Convert(options.value()).exitStatus, kExitDone) << test.file;
        const QByteArray stream = test::ReadFile(output + QStringLiteral("/Generated.sup"));
        EXPECT_EQ(QCryptographicHash::hash(stream, QCryptographicHash::Sha1).toHex(), test.sha1)
            << test.file << " " << test.arguments.join(u' ').toStdString();
    }
}

TEST_F(Conversion, ForcedMarksEverySubpictureInEveryOutput) {
    options_.extraOutputs = {.vobSub = true, .dvdauthor = true};
    options_.subtitlePath = test::WriteFile(
        folder_, QStringLiteral("overlap.srt"),
        "1\n00:00:01,000 --> 00:00:05,000\nFirst\n\n2\n00:00:02,000 --> 00:00:03,000\nSecond\n");
    for (const bool forced : {false, true}) {
        options_.forced = forced;
        const ConverterRun run = Convert(options_);
        ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();
        EXPECT_EQ(run.err,
                  QStringLiteral("marvoxa-cli: 2 subtitles overlap others in time; they are shown "
                                 "together, each later one above the earlier ones. The "
                                 "first is subtitle 1 at 00:00:01,000.\n"));
        const QDir dir(folder_.path());
        const auto packets =
            test::ReadSupStream(test::ReadFile(dir.filePath(QStringLiteral("Generated.sup"))));
        ASSERT_EQ(packets.size(), 3);  // First; Second above First; First
        for (const test::SupStreamPacket& packet : packets) {
            // The first command after the first control sequence's delay and next offset.
            const int control =
                static_cast<quint8>(packet.unit[2]) << 8 | static_cast<quint8>(packet.unit[3]);
            EXPECT_EQ(static_cast<int>(packet.unit[control + 4]), forced ? 0x00 : 0x01);
        }
        EXPECT_EQ(test::ReadFile(dir.filePath(QStringLiteral("Generated.idx")))
                      .contains(forced ? "\nforced subs: ON\n" : "\nforced subs: OFF\n"),
                  true);
        const QByteArray script =
            test::ReadFile(dir.filePath(QStringLiteral("Generated_spumux.xml")));
        EXPECT_EQ(script.count("<spu "), 3);
        EXPECT_EQ(script.count(" force=\"yes\"/>"), forced ? 3 : 0);
    }
}

TEST_F(Conversion, ConvertsTheBundledExamples) {
    for (const char* example : {"rethymno.srt", "rethymno.sub"}) {
        ConversionOptions options;
        options.subtitlePath = test::ExamplesDir() + QLatin1Char('/') + QLatin1String(example);
        options.outputFolder = folder_.path();
        const ConverterRun run = Convert(options);
        EXPECT_EQ(run.exitStatus, kExitDone) << example << run.err.toStdString();
    }
}

TEST_F(Conversion, SeveralFilesMakeAStreamEachNamedByItsLanguage) {
    const auto srt = [&](const char* name, const char* text) {
        return test::WriteFile(
            folder_, QLatin1String(name),
            QByteArrayLiteral("1\n00:00:01,000 --> 00:00:02,000\n") + text + "\n");
    };
    // The second and third take their language from the name; the list names the others.
    const QStringList files{srt("a.srt", "Un"), srt("film.Spanish.srt", "Dos"),
                            srt("film.fr.srt", "Trois"), srt("b.srt", "Quatre")};
    ConversionOptions options;
    options.subtitlePath = files[0];
    options.moreSubtitlePaths = files.mid(1);
    options.languages = {QStringLiteral("fr"), QString(), QString(), QStringLiteral("fr")};
    options.outputFolder = folder_.filePath(QStringLiteral("all"));
    options.extraOutputs = {.vobSub = true, .dvdauthor = true, .pgs = true};
    const ConverterRun run = Convert(options);
    ASSERT_EQ(run.exitStatus, kExitDone) << run.err.toStdString();

    const QDir out(options.outputFolder);
    const QStringList streams{
        QStringLiteral("Generated.fr.sup"), QStringLiteral("Generated.es.sup"),
        QStringLiteral("Generated.fr.2.sup"), QStringLiteral("Generated.fr.3.sup")};
    QString named = QStringLiteral("Generated Files:\n");
    for (qsizetype i = 0; i < files.size(); ++i) {
        EXPECT_EQ(test::ReadFile(out.filePath(streams[i])),
                  StreamOf(files[i], folder_.filePath(QString::number(i))))
            << streams[i].toStdString();
        named += out.filePath(streams[i]) + QLatin1Char('\n');
    }
    EXPECT_TRUE(run.out.contains(named + out.filePath(QStringLiteral("Marvoxa_Help_File.txt"))))
        << run.out.toStdString();
    EXPECT_TRUE(test::ReadFile(out.filePath(QStringLiteral("Marvoxa_Help_File.txt")))
                    .contains(out.filePath(streams[3]).toUtf8()));
    EXPECT_FALSE(out.exists(QStringLiteral("Generated.sup")));
    const QByteArray index = test::ReadFile(out.filePath(QStringLiteral("Generated.idx")));
    EXPECT_TRUE(index.contains("id: fr, index: 0\n"));
    EXPECT_TRUE(index.contains("\nid: es, index: 1\ntimestamp"));
    EXPECT_TRUE(index.contains("\nid: fr, index: 3\ntimestamp"));
    for (const char* script : {"Generated_spumux.fr.xml", "Generated_spumux.es.xml",
                               "Generated_spumux.fr.2/0001.png", "Generated_dvdauthor.xml"}) {
        EXPECT_TRUE(out.exists(QLatin1String(script))) << script;
    }
    for (const char* pgs : {"Generated_pgs.fr.sup", "Generated_pgs.es.sup",
                            "Generated_pgs.fr.2.sup", "Generated_pgs.fr.3.sup"}) {
        EXPECT_TRUE(test::ReadFile(out.filePath(QLatin1String(pgs))).startsWith("PG")) << pgs;
    }
    EXPECT_TRUE(test::ReadFile(out.filePath(QStringLiteral("Generated_dvdauthor.xml")))
                    .contains("<subpicture lang=\"fr\" />\n      <subpicture lang=\"es\" />\n"
                              "      <subpicture lang=\"fr\" />\n"));
}

TEST_F(Conversion, SeveralFilesRefuseOneWithoutALanguageBeforeWritingAnything) {
    const QByteArray cue("1\n00:00:01,000 --> 00:00:02,000\nHi\n");
    ConversionOptions options;
    options.subtitlePath = test::WriteFile(folder_, QStringLiteral("film.de.srt"), cue);
    options.moreSubtitlePaths = {test::WriteFile(folder_, QStringLiteral("film.Matrix.srt"), cue)};
    options.outputFolder = folder_.filePath(QStringLiteral("out"));
    const ConverterRun run = Convert(options);
    EXPECT_EQ(run.exitStatus, kExitRefused);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("marvoxa-cli: The language of %1 is not known")
                                       .arg(options.moreSubtitlePaths[0])))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(options.outputFolder));

    // A refusal of one file's cue names the file, and nothing is written either.
    options.languages = {QString(), QStringLiteral("it")};
    options.moreSubtitlePaths << test::WriteFile(
        folder_, QStringLiteral("wide.it.srt"),
        "1\n00:00:01,000 --> 00:00:02,000\n" + QByteArray(120, 'W') + "\n");
    const ConverterRun wide = Convert(options);
    EXPECT_EQ(wide.exitStatus, kExitRefused);
    EXPECT_TRUE(wide.err.startsWith(QStringLiteral("marvoxa-cli: ") + options.moreSubtitlePaths[1] +
                                    QStringLiteral(":\n")))
        << wide.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(options.outputFolder));

    // So does a cue that cannot be drawn, as generation refuses it.
    QByteArray sixteenLines = "1\n00:00:01,000 --> 00:00:02,000\n";
    for (int line = 1; line <= 16; ++line) {
        sixteenLines += "Line " + QByteArray::number(line) + "\n";
    }
    options.moreSubtitlePaths[1] =
        test::WriteFile(folder_, QStringLiteral("tall.it.srt"), sixteenLines);
    options.settings.text.allLines = true;
    const ConverterRun tall = Convert(options);
    EXPECT_EQ(tall.exitStatus, kExitRefused);
    EXPECT_TRUE(tall.err.startsWith(QStringLiteral("marvoxa-cli: ") + options.moreSubtitlePaths[1] +
                                    QStringLiteral(":\nSubtitle 1 at 00:00:01,000 cannot be")))
        << tall.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(options.outputFolder));
}

}  // namespace
}  // namespace marvoxa

// marvoxa-cli run as a user runs it: its own arguments, odd file names, other displays.

#include "common/version.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace marvoxa {
namespace {

const QByteArray kSrt = QByteArrayLiteral(
    "1\n00:00:01,000 --> 00:00:02,000\nHello there\n\n"
    "2\n00:00:03,000 --> 00:00:04,500\nTwo lines,\nwith an outline\n");

struct ProcessRun {
    int exitCode = -1;
    bool crashed = true;
    QString out;
    QString err;
};

ProcessRun Start(
    const QString& program, const QStringList& arguments, const QString& folder,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProcessRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ProcessRun Convert(
    const QStringList& arguments, const QString& folder,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    return Start(QStringLiteral(MARVOXA_CLI), arguments, folder, environment);
}

class ConverterProcess : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder_.filePath(name); }
    QTemporaryDir folder_;
};

// Qt would read "-platform x.srt" as its own option and abort looking for that platform.
TEST_F(ConverterProcess, GivesQtNoneOfItsArguments) {
    const ProcessRun run =
        Convert({QStringLiteral("-platform"), QStringLiteral("x.srt")}, folder_.path());
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Unknown option -platform")))
        << run.err.toStdString();
}

// Packaging scripts and users ask the installed converter for its release; before the file
// name, after it, or alone, the answer is the one line and nothing is converted.
TEST_F(ConverterProcess, NamesItsReleaseWithVersion) {
    test::WriteFile(folder_, QStringLiteral("x.srt"), kSrt);
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--version")},
          QStringList{QStringLiteral("x.srt"), QStringLiteral("--version")},
          QStringList{QStringLiteral("--wrap"), QStringLiteral("--version"),
                      QStringLiteral("x.srt")}}) {
        const ProcessRun run = Convert(arguments, folder_.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QStringLiteral("marvoxa-cli %1\n").arg(kVersion));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Generated.sup"))));
    // Numbers between dots, as the package's version and the man pages carry them.
    EXPECT_TRUE(
        QString(kVersion).contains(QRegularExpression(QStringLiteral("^[0-9]+(\\.[0-9]+)+$"))))
        << QString(kVersion).toStdString();
}

TEST_F(ConverterProcess, TakesAFileNameThatLooksLikeAnOptionAfterTheEndOfOptions) {
    test::WriteFile(folder_, QStringLiteral("--x.srt"), kSrt);
    const ProcessRun run =
        Convert({QStringLiteral("--"), QStringLiteral("--x.srt")}, folder_.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Generated.sup"))));
}

// A Latin-1 name under a UTF-8 locale: its bytes cannot be held as text and must still open.
TEST_F(ConverterProcess, OpensAFileWhoseNameIsNotValidUtf8) {
    for (const QByteArray& folder : {QByteArray("plain"), QByteArray("caf\xE9")}) {
        const QByteArray raw = QFile::encodeName(folder_.path()) + '/' + folder;
        ASSERT_EQ(::mkdir(raw.constData(), 0700), 0);
        const int file = ::open((raw + "/caf\xE9.srt").constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::write(file, kSrt.constData(), kSrt.size()), kSrt.size());
        ::close(file);
        // The shell hands the bytes over; QProcess would send its arguments as UTF-8.
        const ProcessRun run = Start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("cd \"$(printf '%1')\" && exec \"$0\" \"$(printf 'caf\\351.srt')\"")
                 .arg(QString::fromLatin1(folder == "plain" ? "plain" : "caf\\351")),
             QStringLiteral(MARVOXA_CLI)},
            folder_.path());
        EXPECT_EQ(run.exitCode, 0) << folder.toStdString() << ": " << run.err.toStdString();
        EXPECT_GT(::access((raw + "/Generated.sup").constData(), R_OK) == 0 ? 1 : 0, 0)
            << "no stream next to the subtitle in " << folder.toStdString();
    }
}

// With only Liberation and DejaVu installed, scripts that need their own face come out as
// boxes: the notice names each script's first cue and the package that brings the faces, and
// the stream is still written.
TEST_F(ConverterProcess, NamesTheCuesOfScriptsNoInstalledFontDraws) {
    const QString fonts = test::WriteFile(
        folder_, QStringLiteral("fonts.conf"),
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n<dir>/usr/share/fonts/truetype/liberation2</dir>\n"
        "<dir>/usr/share/fonts/truetype/dejavu</dir>\n</fontconfig>\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
    QByteArray srt;
    int second = 1;
    for (const char* text : {"नमस्ते दुनिया", "আমি বাংলায় গান গাই", "வணக்கம் உலகம்", "Hello, សួស្តីពិភពលោក",
                             "Plain Latin draws."}) {
        srt += QStringLiteral("%1\n00:00:%2,000 --> 00:00:%3,000\n%4\n\n")
                   .arg(second / 2 + 1)
                   .arg(second, 2, 10, QLatin1Char('0'))
                   .arg(second + 1, 2, 10, QLatin1Char('0'))
                   .arg(QString::fromUtf8(text))
                   .toUtf8();
        second += 2;
    }
    const QString subtitle = test::WriteFile(folder_, QStringLiteral("four.srt"), srt);
    const ProcessRun run = Convert({subtitle}, folder_.path(), environment);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "4 subtitles hold characters that no installed font can draw; they show as empty boxes. "
        "The first is subtitle 1 at 00:00:01,000, character U+0928 (Devanagari). The first in "
        "each other script: subtitle 2 at 00:00:03,000, character U+0986 (Bengali); subtitle 3 "
        "at 00:00:05,000, character U+0BB5 (Tamil); subtitle 4 at 00:00:07,000, character U+179F "
        "(Khmer). To draw them, install fonts-noto-core.\n")))
        << run.err.toStdString();
    // Qt's warnings about the faces it tried for a script are no news to the user.
    EXPECT_FALSE(run.err.contains(QStringLiteral("OpenType"))) << run.err.toStdString();
    EXPECT_FALSE(test::ReadFile(path(QStringLiteral("Generated.sup"))).isEmpty());
}

// The stream may depend on the subtitle, the settings and the installed font, not the display.
TEST_F(ConverterProcess, WritesTheSameStreamWhateverTheDisplayScaling) {
    const QString subtitle = test::WriteFile(folder_, QStringLiteral("movie.srt"), kSrt);
    const auto convert = [&](const char* variable, const char* value, const QString& style) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(variable), QLatin1String(value));
        const QString output = path(
            QStringLiteral("%1-%2-%3").arg(QLatin1String(variable), QLatin1String(value), style));
        QDir().mkpath(output);
        const ProcessRun run = Convert(
            {QStringLiteral("--style"), style, QStringLiteral("--output-dir"), output, subtitle},
            folder_.path(), environment);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return test::ReadFile(output + QStringLiteral("/Generated.sup"));
    };
    for (const QString& style : {QStringLiteral("Normal"), QStringLiteral("Bold+Italic")}) {
        const QByteArray plain = convert("QT_SCALE_FACTOR", "1", style);
        ASSERT_FALSE(plain.isEmpty());
        EXPECT_EQ(convert("QT_SCALE_FACTOR", "2", style), plain) << style.toStdString();
        EXPECT_EQ(convert("QT_FONT_DPI", "144", style), plain) << style.toStdString();
    }
}

}  // namespace
}  // namespace marvoxa

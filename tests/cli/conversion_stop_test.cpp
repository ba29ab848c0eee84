// Stopping the converter: asked in process, and by SIGINT or SIGTERM to the real program.

#include "cli/conversion.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

namespace marvoxa {
namespace {

// An SRT of `count` two-line cues, a second apart.
QByteArray LongSrt(int count) {
    QByteArray srt;
    for (int i = 0; i < count; ++i) {
        const QString start = QStringLiteral("%1:%2:%3")
                                  .arg((i + 1) / 3600, 2, 10, QLatin1Char('0'))
                                  .arg((i + 1) / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg((i + 1) % 60, 2, 10, QLatin1Char('0'));
        srt += QStringLiteral(
                   "%1\r\n%2,000 --> %2,900\r\nCue number %1\r\nand its second "
                   "line\r\n\r\n")
                   .arg(i + 1)
                   .arg(start)
                   .toUtf8();
    }
    return srt;
}

class ConversionStop : public ::testing::Test {
protected:
    void SetUp() override {
        subtitle_ = test::WriteFile(folder_, QStringLiteral("movie.srt"), LongSrt(8000));
        test::WriteFile(folder_, QStringLiteral("Generated.sup"), "earlier stream");
        test::WriteFile(folder_, QStringLiteral("Marvoxa_Help_File.txt"), "earlier help");
    }

    void expectOldFilesKept() const {
        EXPECT_EQ(test::ReadFile(folder_.filePath(QStringLiteral("Generated.sup"))),
                  "earlier stream");
        EXPECT_EQ(test::ReadFile(folder_.filePath(QStringLiteral("Marvoxa_Help_File.txt"))),
                  "earlier help");
        EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    QTemporaryDir folder_;
    QString subtitle_;
};

TEST_F(ConversionStop, AStopRequestEndsWithStatusOneAndTheOldFiles) {
    ConversionOptions options;
    options.subtitlePath = subtitle_;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    int asked = 0;
    const int status =
        RunConversion(options, outStream, errStream, [&asked] { return ++asked > 50; });
    EXPECT_EQ(status, kExitRefused);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_EQ(err, QStringLiteral("Generation cancelled. Nothing was written: files generated "
                                  "before are unchanged.\n"));
    expectOldFilesKept();
}

TEST_F(ConversionStop, InterruptAndTerminateStopTheProgramTheSameWay) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        QProcess converter;
        converter.start(QStringLiteral(MARVOXA_CLI_PATH), {subtitle_});
        ASSERT_TRUE(converter.waitForStarted());
        // Wait until it is loading or drawing; 8,000 cues take longer than that.
        converter.waitForFinished(150);
        ASSERT_EQ(converter.state(), QProcess::Running) << "finished before it could be stopped";
        ::kill(static_cast<pid_t>(converter.processId()), signalNumber);
        ASSERT_TRUE(converter.waitForFinished(30000));
        EXPECT_EQ(converter.exitStatus(), QProcess::NormalExit) << "signal " << signalNumber;
        EXPECT_EQ(converter.exitCode(), kExitRefused) << "signal " << signalNumber;
        EXPECT_TRUE(converter.readAllStandardError().contains("Generation cancelled."));
        expectOldFilesKept();
    }
}

}  // namespace
}  // namespace marvoxa

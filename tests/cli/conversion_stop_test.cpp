// Stopping the converter: asked in process, and by SIGINT or SIGTERM to the real program.

#include "cli/conversion.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

// Whether the process has handlers for SIGINT and SIGTERM ("SigCgt" in /proc/PID/status).
bool CatchesInterruptAndTerminate(qint64 processId) {
    QFile status(QStringLiteral("/proc/%1/status").arg(processId));
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            const quint64 caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
            const quint64 both = (quint64{1} << (SIGINT - 1)) | (quint64{1} << (SIGTERM - 1));
            return (caught & both) == both;
        }
    }
    return false;
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
    EXPECT_EQ(err, QStringLiteral(
                       "marvoxa-cli: Generation cancelled. Nothing was written: files generated "
                       "before are unchanged.\n"));
    expectOldFilesKept();
}

TEST_F(ConversionStop, InterruptAndTerminateStopTheProgramTheSameWay) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        QProcess converter;
        converter.start(QStringLiteral(MARVOXA_CLI), {subtitle_});
        ASSERT_TRUE(converter.waitForStarted());
        // Wait until the program catches both signals, as the system reports it; 8,000 cues
        // keep it busy a good while longer.
        QElapsedTimer waited;
        waited.start();
        while (!CatchesInterruptAndTerminate(converter.processId()) &&
               converter.state() == QProcess::Running && waited.elapsed() < 30000) {
            converter.waitForFinished(5);
        }
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

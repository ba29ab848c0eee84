#include "tool_run.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace marvoxa::test {

QStringList Words(const char* spaced) {
    return QString::fromUtf8(spaced).split(QLatin1Char(' '));
}

QString RunTool(const QString& program, const QStringList& arguments, const QString& folder,
                const QString& inputFile, const QString& outputFile) {
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        ADD_FAILURE() << program.toStdString()
                      << " is not installed; scripts/setup.sh installs it from Debian";
        return {};
    }
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!inputFile.isEmpty()) {
        process.setStandardInputFile(inputFile);
    }
    if (!outputFile.isEmpty()) {
        process.setStandardOutputFile(outputFile);
    }
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60'000);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        << program.toStdString() << " " << arguments.join(QLatin1Char(' ')).toStdString()
        << " failed:\n"
        << errors.toStdString()
        << QString::fromLocal8Bit(process.readAllStandardOutput()).toStdString();
    return errors;
}

}  // namespace marvoxa::test

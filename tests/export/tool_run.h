#pragma once

#include <QString>
#include <QStringList>

namespace marvoxa::test {

// "-o DVD -T" as {"-o", "DVD", "-T"}.
QStringList Words(const char* spaced);

// Runs an outside tool in folder, with optional files for its standard input and output, and
// returns what it wrote to standard error. A tool that is missing, fails or takes longer than
// a minute fails the current test: these tests prove the outputs with the real tools.
QString RunTool(const QString& program, const QStringList& arguments, const QString& folder,
                const QString& inputFile = {}, const QString& outputFile = {});

}  // namespace marvoxa::test

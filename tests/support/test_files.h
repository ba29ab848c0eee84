#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace marvoxa::test {

// Writes bytes to name inside dir and returns the full path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// Reads a whole file; an empty array when it cannot be read.
QByteArray ReadFile(const QString& path);

// The folder of the bundled example subtitles.
QString ExamplesDir();

// The folder of the test subtitle collection, tests/data/subtitles.
QString SubtitleCollectionDir();

}  // namespace marvoxa::test

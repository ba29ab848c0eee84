#include "test_files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace marvoxa::test {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QString ExamplesDir() {
    return QStringLiteral(MARVOXA_EXAMPLES_DIR);
}

QString SubtitleCollectionDir() {
    return QStringLiteral(MARVOXA_TEST_DATA_DIR "/subtitles");
}

}  // namespace marvoxa::test

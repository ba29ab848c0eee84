#include "sup/file_writing.h"

#include "small_disk.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace marvoxa {
namespace {

const QByteArray kOldContent = QByteArrayLiteral("the stream of an earlier run");

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

void WriteOldFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kOldContent);
}

// Qt's buffered QSaveFile reported success here and left an empty file in place of the old one.
TEST(WriteFileAtomically, AFullDiskKeepsTheOldFileAndSaysWhy) {
    test::SmallDisk disk(64);
    ASSERT_TRUE(disk.mounted()) << disk.mountError().toStdString();
    const QString path = disk.filePath(QStringLiteral("Generated.sup"));
    WriteOldFile(path);

    const Status written = WriteFileAtomically(path, QByteArray(256 * 1024, 'x'));

    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, ErrorKind::Io);
    EXPECT_EQ(written.error().message.toStdString(),
              "Cannot write " + path.toStdString() + ": No space left on device");
    EXPECT_EQ(test::ReadFile(path), kOldContent);
    EXPECT_EQ(FilesIn(disk.path()), QStringList{QStringLiteral("Generated.sup")});
}

TEST(WriteFileAtomically, ContentThatFitsReplacesTheOldFile) {
    test::SmallDisk disk(64);
    ASSERT_TRUE(disk.mounted()) << disk.mountError().toStdString();
    const QString path = disk.filePath(QStringLiteral("Generated.sup"));
    WriteOldFile(path);
    const QByteArray content(40 * 1024, 'y');

    ASSERT_TRUE(WriteFileAtomically(path, content).ok());
    EXPECT_EQ(test::ReadFile(path), content);
}

TEST(WriteAllToDescriptor, ReportsTheSystemsReason) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const Status written = WriteAllToDescriptor(full, QByteArrayLiteral("abc"));
    ::close(full);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().message, QStringLiteral("No space left on device"));
}

TEST(AtomicFile, PiecesAppearOnlyAtCommit) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Generated.sup"));
    WriteOldFile(path);

    AtomicFile file(path);
    ASSERT_TRUE(file.open().ok());
    ASSERT_TRUE(file.write(QByteArrayLiteral("new ")).ok());
    ASSERT_TRUE(file.write(QByteArrayLiteral("stream")).ok());
    ASSERT_TRUE(file.finish().ok());
    EXPECT_EQ(test::ReadFile(path), kOldContent);

    ASSERT_TRUE(file.commit().ok());
    EXPECT_EQ(test::ReadFile(path), QByteArrayLiteral("new stream"));
    EXPECT_EQ(FilesIn(folder.path()), QStringList{QStringLiteral("Generated.sup")});
}

TEST(AtomicFile, DiscardedOrAbandonedLeavesNoTrace) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Generated.sup"));
    WriteOldFile(path);
    {
        AtomicFile discarded(path);
        ASSERT_TRUE(discarded.open().ok());
        ASSERT_TRUE(discarded.write(QByteArrayLiteral("half")).ok());
        discarded.discard();
        EXPECT_FALSE(discarded.write(QByteArrayLiteral("more")).ok());

        AtomicFile abandoned(path);
        ASSERT_TRUE(abandoned.open().ok());
        ASSERT_TRUE(abandoned.write(QByteArrayLiteral("half")).ok());
    }
    EXPECT_EQ(test::ReadFile(path), kOldContent);
    EXPECT_EQ(FilesIn(folder.path()), QStringList{QStringLiteral("Generated.sup")});
}

}  // namespace
}  // namespace marvoxa

#include "palette/ifo_reader.h"
#include "palette/palette.h"
#include "palette/role_selection.h"
#include "stored_values.h"
#include "test_files.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace marvoxa {
namespace {

using test::WriteFile;

void PutBigEndian32(QByteArray& bytes, qsizetype position, quint32 value) {
    if (bytes.size() < position + 4) {
        bytes.resize(position + 4, '\xEE');
    }
    qToBigEndian(value, bytes.data() + position);
}

// A title set IFO reduced to the fields the reader takes; every other byte is 0xEE so that a
// read from a wrong position shows.
struct IfoLayout {
    quint32 pgcTableSector = 3;
    quint32 firstPgcOffset = 0x1F4;
    std::array<quint32, kPaletteSize> palette = test::StoredValuesWithGreys({{0, 0x10}});
    quint16 videoAttributes = 0x513C;

    QByteArray bytes() const {
        QByteArray ifo(1024, '\xEE');
        PutBigEndian32(ifo, 0xCC, pgcTableSector);
        const qsizetype table = qsizetype(pgcTableSector) * 2048;
        PutBigEndian32(ifo, table + 12, firstPgcOffset);
        for (int i = 0; i < kPaletteSize; ++i) {
            PutBigEndian32(ifo, table + firstPgcOffset + 0xA4 + 4 * i, palette[i]);
        }
        ifo[0x200] = char(videoAttributes >> 8);
        ifo[0x201] = char(videoAttributes & 0xFF);
        return ifo;
    }
};

class IfoReader : public ::testing::Test {
protected:
    Result<IfoPaletteData> read(const QByteArray& bytes) {
        return ReadIfoPalette(WriteFile(dir_, QStringLiteral("VTS_01_0.IFO"), bytes));
    }
    QTemporaryDir dir_;
};

TEST_F(IfoReader, ReadsPaletteAndVideoAttributesOfAWellFormedIfo) {
    IfoLayout layout;
    for (int i = 0; i < kPaletteSize; ++i) {
        layout.palette[i] = 0x00102030u * quint32(i + 1) + quint32(i);
    }
    const Result<IfoPaletteData> result = read(layout.bytes());
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().storedValues, layout.palette);
    EXPECT_EQ(result.value().videoAttributes, 0x513C);
}

// The sector number times 2048 wraps at 32 bits: sector 0x200000 is position 0 again.
TEST_F(IfoReader, ComputesPositionsIn32BitArithmetic) {
    const IfoLayout layout{.pgcTableSector = 0, .firstPgcOffset = 0x40};
    QByteArray bytes = layout.bytes();
    PutBigEndian32(bytes, 0xCC, 0x200000);
    const Result<IfoPaletteData> result = read(bytes);
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().storedValues, layout.palette);
}

struct UnreachableCase {
    const char* name;
    quint32 pgcTableSector;
    quint32 firstPgcOffset;
};

class UnreachablePosition : public IfoReader,
                            public ::testing::WithParamInterface<UnreachableCase> {};

// A damaged IFO is named as such, with why, never as a failed seek.
TEST_P(UnreachablePosition, IsNotAReadableTitleSetIfo) {
    QByteArray bytes = IfoLayout{.pgcTableSector = 0}.bytes();
    PutBigEndian32(bytes, 0xCC, GetParam().pgcTableSector);
    PutBigEndian32(bytes, 12, GetParam().firstPgcOffset);
    for (const QByteArray& identifier : {QByteArray("DVDVIDEO-VTS"), QByteArray("\x93\x01")}) {
        bytes.replace(0, identifier.size(), identifier);
        const Result<IfoPaletteData> result = read(bytes);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().kind, ErrorKind::Format);
        QString expected = dir_.filePath(QStringLiteral("VTS_01_0.IFO")) +
                           QStringLiteral(
                               " is not a readable IFO of a title set: the subpicture "
                               "palette it points to lies outside its %1 bytes")
                               .arg(bytes.size());
        if (identifier.size() == 2) {
            expected +=
                QStringLiteral(", and it does not begin with DVDVIDEO-VTS as a title set IFO does");
        }
        EXPECT_EQ(result.error().message, expected + QLatin1Char('.'));
    }
}

INSTANTIATE_TEST_SUITE_P(NegativeAsInt32, UnreachablePosition,
                         ::testing::Values(UnreachableCase{"HugeSector", 0x00100000, 0},
                                           UnreachableCase{"HugePgcOffset", 0, 0x7FFFFFF0}),
                         [](const auto& instance) { return std::string(instance.param.name); });

// The DVD's own IFO is refused by its identifier, whatever its name.
TEST_F(IfoReader, DvdOwnIfoIsRefusedByItsIdentifier) {
    QByteArray vmg = IfoLayout{}.bytes();
    vmg.replace(0, 12, "DVDVIDEO-VMG");
    const QString own = WriteFile(dir_, QStringLiteral("own.IFO"), vmg);
    EXPECT_EQ(ReadIfoPalette(own).error().message,
              own + QStringLiteral(" is the IFO of the whole DVD, not the IFO of a title set: "
                                   "load the VTS_xx_0.IFO of the title set that will carry the "
                                   "subtitles."));
}

struct ShortCase {
    const char* name;
    QByteArray bytes;
};

class ShortFile : public IfoReader, public ::testing::WithParamInterface<ShortCase> {};

// A file that ends before any field the reader takes is no title set IFO; it must not pass for
// one with a made-up palette and standard.
TEST_P(ShortFile, IsRefusedWithItsLength) {
    const Result<IfoPaletteData> result = read(GetParam().bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Format);
    EXPECT_TRUE(result.error().message.contains(
        QStringLiteral("is not a readable IFO of a title set: it is only %1 bytes long")
            .arg(GetParam().bytes.size())))
        << result.error().message.toStdString();
}

QByteArray Truncated(const QByteArray& bytes, qsizetype length) {
    return bytes.left(length);
}

QByteArray WithPgcTableInSector1(qsizetype length) {
    QByteArray bytes(length, '\0');
    PutBigEndian32(bytes, 0xCC, 1);
    return bytes;
}

QByteArray WithPaletteEndingAt224() {
    QByteArray bytes(224, '\0');
    PutBigEndian32(bytes, 12, 0x3A);  // palette at 0x3A + 0xA4 = 222: two bytes are there
    return bytes;
}

const IfoLayout kCompact{.pgcTableSector = 0, .firstPgcOffset = 0x40};

INSTANTIATE_TEST_SUITE_P(
    EndsBeforeAField, ShortFile,
    ::testing::Values(ShortCase{"Empty", QByteArray()}, ShortCase{"OneByte", QByteArray(1, 'x')},
                      ShortCase{"BeforeTheTableSector", QByteArray(206, '\0')},
                      ShortCase{"BeforeTheChainPointer", WithPgcTableInSector1(300)},
                      ShortCase{"InsideThePalette", WithPaletteEndingAt224()},
                      // The palette is whole, the attributes word at 512 is cut in half.
                      ShortCase{"InsideTheVideoAttributes", Truncated(kCompact.bytes(), 513)}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST_F(IfoReader, FileEndingRightAfterTheLastFieldIsRead) {
    const Result<IfoPaletteData> result = read(Truncated(kCompact.bytes(), 514));
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().storedValues, kCompact.palette);
    EXPECT_EQ(result.value().videoAttributes, 0x513C);
}

struct StandardCase {
    quint16 videoAttributes;  // the byte at 512 comes first
    VideoStandard standard;
};

class VideoStandardBit : public ::testing::TestWithParam<StandardCase> {};

TEST_P(VideoStandardBit, DecidesBetweenPalAndNtsc) {
    EXPECT_EQ(VideoStandardFromAttributes(GetParam().videoAttributes), GetParam().standard);
}

INSTANTIATE_TEST_SUITE_P(Attributes, VideoStandardBit,
                         ::testing::Values(StandardCase{0x5100, VideoStandard::Pal},
                                           StandardCase{0x4100, VideoStandard::Ntsc},
                                           StandardCase{0x1000, VideoStandard::Pal},
                                           StandardCase{0xEFFF, VideoStandard::Ntsc}));

TEST_F(IfoReader, MissingFileIsNotFound) {
    const Result<IfoPaletteData> result = ReadIfoPalette(dir_.filePath(QStringLiteral("none.IFO")));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::Io);
    EXPECT_TRUE(result.error().message.startsWith(QStringLiteral("File not found")))
        << result.error().message.toStdString();
}

// A FIFO without a writer would block the first read forever; a folder fails with a number.
TEST_F(IfoReader, FolderOrFifoIsRefusedAsNotARegularFile) {
    const QString fifo = dir_.filePath(QStringLiteral("VTS_03_0.IFO"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {dir_.path(), fifo}) {
        const Result<IfoPaletteData> result = ReadIfoPalette(path);
        ASSERT_FALSE(result.ok()) << path.toStdString();
        EXPECT_EQ(result.error().kind, ErrorKind::Io);
        EXPECT_EQ(result.error().message, path + QStringLiteral(" is not a regular file."));
    }
}

bool RunChattr(const QString& flag, const QString& path) {
    QProcess chattr;
    chattr.start(QStringLiteral("chattr"), {flag, path});
    return chattr.waitForFinished() && chattr.exitStatus() == QProcess::NormalExit &&
           chattr.exitCode() == 0;
}

TEST_F(IfoReader, ReadsAWriteProtectedIfo) {
    const IfoLayout layout;
    const QString path = WriteFile(dir_, QStringLiteral("VTS_02_0.IFO"), layout.bytes());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    // Root ignores permission bits; the immutable attribute stops even root from writing.
    const bool immutable =
        QFile(path).open(QIODevice::ReadWrite) && RunChattr(QStringLiteral("+i"), path);
    const auto makeRemovable = qScopeGuard([&] {
        if (immutable) {
            RunChattr(QStringLiteral("-i"), path);
        }
    });
    if (QFile(path).open(QIODevice::ReadWrite)) {
        GTEST_SKIP() << "cannot write-protect " << path.toStdString() << " here";
    }
    const Result<IfoPaletteData> result = ReadIfoPalette(path);
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value().storedValues, layout.palette);
}

}  // namespace
}  // namespace marvoxa

#include "palette/ifo_reader.h"

#include "common/regular_file.h"

#include <QFile>
#include <QScopeGuard>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace marvoxa {
namespace {

constexpr quint32 kSectorSize = 2048;
constexpr qint64 kPgcTableSectorPosition = 0xCC;  // start sector of VTS_PGCITI
constexpr quint32 kFirstPgcPointerOffset = 12;    // second word of the first search pointer
constexpr quint32 kPgcPaletteOffset = 0xA4;
constexpr qint64 kVideoAttributesPosition = 0x200;
constexpr quint16 kPalBit = 0x1000;

Error IoError(int errorNumber, const QString& path) {
    QString text;
    switch (errorNumber) {
        case ENOENT:
            text = QStringLiteral("File not found");
            break;
        case EACCES:
        case EPERM:
            text = QStringLiteral("File access denied");
            break;
        default:
            text = QStringLiteral("I/O error %1").arg(errorNumber);
    }
    return Error{ErrorKind::Io, QStringLiteral("%1: %2").arg(text, path)};
}

// The fields the reader takes lie at fixed places of a title set IFO; a file that ends before one
// of them is something else.
Error NotTitleSetIfoError(const QString& path, qint64 length) {
    return Error{ErrorKind::Format,
                 QStringLiteral("%1 is not a title set IFO: it is only %2 bytes long and ends "
                                "before the subpicture palette or the video attributes.")
                     .arg(path)
                     .arg(length)};
}

// Field positions are 32-bit integer sums that wrap; one that comes out negative cannot be
// reached and fails like a bad seek.
Result<qint64> FieldPosition(quint32 wrappedSum, const QString& path) {
    const auto position = static_cast<qint32>(wrappedSum);
    if (position < 0) {
        return IoError(EINVAL, path);
    }
    return qint64{position};
}

// Every field is read into one 4-byte buffer; a field that does not lie wholly inside the file
// refuses the file instead of yielding a made-up value.
class FieldReader {
public:
    FieldReader(int descriptor, const QString& path, qint64 length)
        : descriptor_(descriptor), path_(path), length_(length) {}

    Status read(qint64 position, int size) {
        if (position + size > length_) {
            return NotTitleSetIfoError(path_, length_);
        }
        int delivered = 0;
        while (delivered < size) {
            const ssize_t count = ::pread(descriptor_, buffer_.data() + delivered, size - delivered,
                                          position + delivered);
            if (count < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return IoError(errno, path_);
            }
            if (count == 0) {
                return NotTitleSetIfoError(path_, length_);  // shortened while being read
            }
            delivered += static_cast<int>(count);
        }
        return Ok();
    }

    quint32 word32() const {
        return quint32{buffer_[0]} << 24 | quint32{buffer_[1]} << 16 | quint32{buffer_[2]} << 8 |
               quint32{buffer_[3]};
    }
    quint16 word16() const { return static_cast<quint16>(buffer_[0] << 8 | buffer_[1]); }

private:
    int descriptor_;
    QString path_;
    qint64 length_;
    std::array<uchar, 4> buffer_{};
};

}  // namespace

Result<IfoPaletteData> ReadIfoPalette(const QString& path) {
    // Read-only: IFOs usually come from a disc or a write-protected folder.
    const OpenedInput opened = OpenRegularFileForReading(path);
    if (opened.notRegular) {
        return Error{ErrorKind::Io, NotRegularFileMessage(path)};
    }
    const int descriptor = opened.descriptor;
    if (descriptor < 0) {
        return IoError(opened.errorNumber, path);
    }
    const auto closeFile = qScopeGuard([descriptor] { ::close(descriptor); });
    struct stat fileStatus {};
    if (::fstat(descriptor, &fileStatus) != 0) {
        return IoError(errno, path);
    }

    FieldReader reader(descriptor, path, fileStatus.st_size);
    if (Status status = reader.read(kPgcTableSectorPosition, 4); !status) {
        return status.error();
    }
    const quint32 pgcTableStart = reader.word32() * kSectorSize;

    const Result<qint64> pointerPosition =
        FieldPosition(pgcTableStart + kFirstPgcPointerOffset, path);
    if (!pointerPosition) {
        return pointerPosition.error();
    }
    if (Status status = reader.read(pointerPosition.value(), 4); !status) {
        return status.error();
    }
    const quint32 firstPgcOffset = reader.word32();

    const Result<qint64> palettePosition =
        FieldPosition(pgcTableStart + firstPgcOffset + kPgcPaletteOffset, path);
    if (!palettePosition) {
        return palettePosition.error();
    }
    IfoPaletteData data;
    for (int i = 0; i < kPaletteSize; ++i) {
        // Consecutive reads go on from the file position, which does not wrap.
        if (Status status = reader.read(palettePosition.value() + 4 * i, 4); !status) {
            return status.error();
        }
        data.storedValues[i] = reader.word32();
    }

    if (Status status = reader.read(kVideoAttributesPosition, 2); !status) {
        return status.error();
    }
    data.videoAttributes = reader.word16();
    return data;
}

VideoStandard VideoStandardFromAttributes(quint16 videoAttributes) {
    return (videoAttributes & kPalBit) != 0 ? VideoStandard::Pal : VideoStandard::Ntsc;
}

bool IsWideVideo(quint16 videoAttributes) {
    // 0 is 4:3 and 3 is 16:9; 1 and 2 are reserved.
    return (videoAttributes >> 10 & 3) == 3;
}

}  // namespace marvoxa

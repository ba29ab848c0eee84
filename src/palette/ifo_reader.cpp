#include "palette/ifo_reader.h"

#include "common/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <optional>

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

constexpr QByteArrayView kTitleSetIdentifier("DVDVIDEO-VTS");
constexpr QByteArrayView kVideoManagerIdentifier("DVDVIDEO-VMG");

// The fields the reader takes lie at fixed places of a title set IFO; a file whose fields lie
// elsewhere is something else, or damaged. Its first bytes say which, where they are not the
// identifier a title set IFO begins with.
Error NotTitleSetIfoError(const QString& path, qint64 length, bool endsBeforeField,
                          bool titleSetIdentifier) {
    QString why = endsBeforeField ? QStringLiteral(
                                        "it is only %1 bytes long and ends before the subpicture "
                                        "palette or the video attributes")
                                  : QStringLiteral(
                                        "the subpicture palette it points to lies outside its %1 "
                                        "bytes");
    if (!titleSetIdentifier) {
        why += QStringLiteral(", and it does not begin with DVDVIDEO-VTS as a title set IFO does");
    }
    return Error{
        ErrorKind::Format,
        QStringLiteral("%1 is not a readable IFO of a title set: %2.").arg(path, why.arg(length))};
}

// Field positions are 32-bit integer sums that wrap; one that comes out negative cannot be
// reached: the table it was computed from is no title set's.
std::optional<qint64> FieldPosition(quint32 wrappedSum) {
    const auto position = static_cast<qint32>(wrappedSum);
    if (position < 0) {
        return std::nullopt;
    }
    return qint64{position};
}

// Every field is read into one 4-byte buffer; a field that does not lie wholly inside the file
// refuses the file instead of yielding a made-up value.
class FieldReader {
public:
    FieldReader(int descriptor, const QString& path, qint64 length)
        : descriptor_(descriptor), path_(path), length_(length) {}

    // Reads the first bytes, to name a file that is no title set IFO for what it is.
    Status readIdentifier() {
        identifier_.resize(std::min<qint64>(length_, kTitleSetIdentifier.size()));
        const ssize_t count = ::pread(descriptor_, identifier_.data(), identifier_.size(), 0);
        if (count < 0) {
            return IoError(errno, path_);
        }
        identifier_.resize(count);
        return Ok();
    }
    bool videoManager() const { return identifier_ == kVideoManagerIdentifier; }
    Error unreadable(bool endsBeforeField) const {
        return NotTitleSetIfoError(path_, length_, endsBeforeField,
                                   identifier_ == kTitleSetIdentifier);
    }

    Status read(std::optional<qint64> position, int size) {
        if (!position) {
            return unreadable(false);
        }
        if (*position + size > length_) {
            return unreadable(true);
        }
        int delivered = 0;
        while (delivered < size) {
            const ssize_t count = ::pread(descriptor_, buffer_.data() + delivered, size - delivered,
                                          *position + delivered);
            if (count < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return IoError(errno, path_);
            }
            if (count == 0) {
                return unreadable(true);  // shortened while being read
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
    QByteArray identifier_;
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
    if (Status status = reader.readIdentifier(); !status) {
        return status.error();
    }
    if (reader.videoManager() || IsDvdOwnIfoName(path)) {
        return DvdOwnIfoError(path);
    }
    if (Status status = reader.read(kPgcTableSectorPosition, 4); !status) {
        return status.error();
    }
    const quint32 pgcTableStart = reader.word32() * kSectorSize;
    if (Status status = reader.read(FieldPosition(pgcTableStart + kFirstPgcPointerOffset), 4);
        !status) {
        return status.error();
    }
    const quint32 firstPgcOffset = reader.word32();

    const std::optional<qint64> palettePosition =
        FieldPosition(pgcTableStart + firstPgcOffset + kPgcPaletteOffset);
    IfoPaletteData data;
    for (int i = 0; i < kPaletteSize; ++i) {
        // Consecutive reads go on from the file position, which does not wrap.
        if (Status status = reader.read(
                palettePosition ? std::optional(*palettePosition + 4 * i) : std::nullopt, 4);
            !status) {
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

bool IsDvdOwnIfoName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.compare(QStringLiteral("VIDEO_TS.IFO"), Qt::CaseInsensitive) == 0 ||
           name.compare(QStringLiteral("VIDEO_TS.BUP"), Qt::CaseInsensitive) == 0;
}

Error DvdOwnIfoError(const QString& path) {
    QStringList titleSets = QFileInfo(path).dir().entryList(
        {QStringLiteral("VTS_[0-9][0-9]_0.IFO")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QString choose =
        titleSets.isEmpty()
            ? QStringLiteral("the VTS_xx_0.IFO of the title set that will carry the subtitles")
            : QStringLiteral(
                  "the IFO of the title set that will carry the subtitles, one of %1 "
                  "beside it")
                  .arg(titleSets.join(QStringLiteral(", ")));
    return Error{ErrorKind::Format,
                 QStringLiteral("%1 is the IFO of the whole DVD, not the IFO of a title set: load "
                                "%2.")
                     .arg(path, choose)};
}

VideoStandard VideoStandardFromAttributes(quint16 videoAttributes) {
    return (videoAttributes & kPalBit) != 0 ? VideoStandard::Pal : VideoStandard::Ntsc;
}

bool IsWideVideo(quint16 videoAttributes) {
    // 0 is 4:3 and 3 is 16:9; 1 and 2 are reserved.
    return (videoAttributes >> 10 & 3) == 3;
}

}  // namespace marvoxa

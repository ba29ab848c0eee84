#include "dvd/title_video_writer.h"

#include "dvd/nav_pack.h"
#include "dvd/nav_rewrite.h"
#include "dvd/program_stream.h"
#include "sup/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace marvoxa {

namespace {

// 1 MiB at a time in and out.
constexpr quint32 kSectorsPerStep = 512;
// Every 16 MiB written start going to the disk, so the closing sync has little left to wait for.
constexpr quint32 kSectorsPerWriteback = 8192;

// Packs the copy cannot carry over: no MPEG-2 pack, or scrambled.
std::optional<QString> UnusablePack(const uchar* pack) {
    if (pack[0] != 0 || pack[1] != 0 || pack[2] != 1 || pack[3] != 0xba ||
        (pack[4] & 0xc0) != 0x40) {
        return QStringLiteral("is no MPEG-2 pack: the file is not DVD video or is damaged.");
    }
    if (IsScrambled(SectorBytes(pack, kPackSize))) {
        return QStringLiteral(
            "is scrambled (CSS): Marvoxa can add subtitles only to a decrypted "
            "copy of the DVD.");
    }
    return std::nullopt;
}

// The numbered files of the title video, each opened when the one before is full.
class VobFileSeries {
public:
    VobFileSeries(const QString& folder, int titleSet, bool lowerCase, quint32 fileSectors)
        : folder_(folder), titleSet_(titleSet), lowerCase_(lowerCase), fileSectors_(fileSectors) {}

    Status write(const uchar* sectors, quint32 count) {
        while (count > 0) {
            if (file_ == nullptr || inFile_ == fileSectors_) {
                if (Status opened = openNext(); !opened) {
                    return opened;
                }
            }
            const quint32 part = std::min(count, fileSectors_ - inFile_);
            const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(sectors),
                                                             qsizetype{part} * kPackSize);
            if (Status written = WriteAllToDescriptor(file_->handle(), bytes); !written) {
                return Error{ErrorKind::Io, QStringLiteral("Cannot write %1: %2")
                                                .arg(QDir::toNativeSeparators(file_->fileName()),
                                                     written.error().message)};
            }
            inFile_ += part;
            sectors += qsizetype{part} * kPackSize;
            count -= part;
            if (inFile_ - handedOver_ >= kSectorsPerWriteback) {
                // Only a hint to the kernel: a failure shows at the closing sync.
                ::sync_file_range(file_->handle(), qint64{handedOver_} * kPackSize,
                                  qint64{inFile_ - handedOver_} * kPackSize, SYNC_FILE_RANGE_WRITE);
                handedOver_ = inFile_;
            }
        }
        return Ok();
    }

    const QStringList& paths() const { return paths_; }

private:
    Status openNext() {
        QString name = QStringLiteral("VTS_%1_%2.VOB")
                           .arg(titleSet_, 2, 10, QLatin1Char('0'))
                           .arg(paths_.size() + 1);
        if (lowerCase_) {
            name = name.toLower();
        }
        file_ = std::make_unique<QFile>(QDir(folder_).filePath(name));
        if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return Error{ErrorKind::Io, QStringLiteral("Cannot write %1: %2")
                                            .arg(QDir::toNativeSeparators(file_->fileName()),
                                                 file_->errorString())};
        }
        paths_ << file_->fileName();
        inFile_ = 0;
        handedOver_ = 0;
        return Ok();
    }

    QString folder_;
    int titleSet_;
    bool lowerCase_;
    quint32 fileSectors_;
    std::unique_ptr<QFile> file_;
    quint32 inFile_ = 0;
    quint32 handedOver_ = 0;  // sectors of the file already sent towards the disk
    QStringList paths_;
};

}  // namespace

quint32 TitleVobFileSectors(const DvdFolder& folder) {
    if (folder.titleVobs.size() > 1) {
        return std::min(folder.titleVobs.front().sectorCount, kLargestVobSectors);
    }
    return kLargestVobSectors;
}

Result<QStringList> WriteTitleVideo(TitleVobStream& video, const DvdFolder& source,
                                    const QList<VobuEntry>& vobus,
                                    const SubpicturePlacement& placement, int stream,
                                    const QString& folder, quint32 fileSectors,
                                    const SectorProgress& progress) {
    const QString firstName = QFileInfo(source.titleVobs.front().path).fileName();
    VobFileSeries output(folder, source.titleSet, firstName == firstName.toLower(), fileSectors);
    const quint32 total = video.sectorCount();
    std::vector<uchar> buffer(size_t{kSectorsPerStep} * kPackSize);
    auto insertion = placement.insertions.cbegin();
    auto vobu = vobus.cbegin();
    quint32 written = 0;
    const auto writeInsertions = [&](quint32 before) -> Status {
        for (; insertion != placement.insertions.cend() && insertion->beforeSector == before;
             ++insertion) {
            const auto count = static_cast<quint32>(insertion->packs.size() / kPackSize);
            if (Status done = output.write(
                    reinterpret_cast<const uchar*>(insertion->packs.constData()), count);
                !done) {
                return done;
            }
            written += count;
        }
        return Ok();
    };
    for (quint32 first = 0; first < total; first += kSectorsPerStep) {
        const quint32 count = std::min(kSectorsPerStep, total - first);
        if (Status read = video.read(first, count, buffer.data()); !read) {
            return read.error();
        }
        for (quint32 i = 0; i < count; ++i) {
            if (const std::optional<QString> why =
                    UnusablePack(buffer.data() + size_t{i} * kPackSize)) {
                return Error{ErrorKind::Format,
                             QStringLiteral("%1 %2").arg(video.describe(first + i), *why)};
            }
        }
        // Runs of untouched sectors are written in one go, up to the next insertion.
        quint32 runStart = 0;
        for (quint32 i = 0; i <= count; ++i) {
            const quint32 sector = first + i;
            const bool insertsHere =
                insertion != placement.insertions.cend() && insertion->beforeSector == sector;
            if (i == count || insertsHere) {
                if (Status done =
                        output.write(buffer.data() + size_t{runStart} * kPackSize, i - runStart);
                    !done) {
                    return done.error();
                }
                written += i - runStart;
                runStart = i;
                if (i < count || sector == total) {
                    if (Status done = writeInsertions(sector); !done) {
                        return done.error();
                    }
                }
            }
            if (i == count) {
                break;
            }
            if (vobu != vobus.cend() && vobu->sector == sector) {
                RewriteNavPack(buffer.data() + size_t{i} * kPackSize, sector, vobu->lastSector + 1,
                               placement.shift, stream, placement.syncs.value(sector));
                ++vobu;
            }
        }
        if (progress && !progress(written)) {
            return Error{ErrorKind::Cancelled, QString()};
        }
    }
    return output.paths();
}

}  // namespace marvoxa

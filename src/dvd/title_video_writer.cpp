#include "dvd/title_video_writer.h"

#include "dvd/nav_rewrite.h"
#include "dvd/program_stream.h"
#include "sup/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <algorithm>
#include <memory>
#include <vector>

namespace marvoxa {

namespace {

// Every 16 MiB written start going to the disk, so the closing sync has little left to wait for.
constexpr quint32 kSectorsPerWriteback = 8192;

// The numbered files of the title video, each opened when the one before is full. Sectors are
// counted through the whole series, as the new title video's addresses count them.
class VobFileSeries {
public:
    VobFileSeries(const QString& folder, int titleSet, bool lowerCase, quint32 fileSectors)
        : folder_(folder), titleSet_(titleSet), lowerCase_(lowerCase), fileSectors_(fileSectors) {}

    Status write(const uchar* sectors, quint32 count) {
        return append(count, [&](int descriptor, quint32 part) {
            const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(sectors),
                                                             qsizetype{part} * kPackSize);
            sectors += qsizetype{part} * kPackSize;
            return WriteAllToDescriptor(descriptor, bytes);
        });
    }

    // Copies sectors of the source video, in the kernel where it can.
    Status copy(TitleVobStream& video, quint32 first, quint32 count) {
        return append(count, [&](int descriptor, quint32 part) {
            const Status copied = video.copyTo(descriptor, first, part);
            first += part;
            return copied;
        });
    }

    // Writes one sector again where the series already holds it.
    Status overwrite(quint32 sector, const uchar* bytes) {
        QFile& file = *files_[sector / fileSectors_];
        const qint64 at = qint64{sector % fileSectors_} * kPackSize;
        if (::pwrite(file.handle(), bytes, kPackSize, at) != kPackSize) {
            return failure(file, QString::fromLocal8Bit(std::strerror(errno)));
        }
        return Ok();
    }

    // Starts what is written towards the disk every 16 MiB, so the closing sync has little
    // left to wait for. Only a hint to the kernel: a failure shows at the closing sync.
    void startWriteback() {
        if (files_.empty() || inFile_ - handedOver_ < kSectorsPerWriteback) {
            return;
        }
        ::sync_file_range(files_.back()->handle(), qint64{handedOver_} * kPackSize,
                          qint64{inFile_ - handedOver_} * kPackSize, SYNC_FILE_RANGE_WRITE);
        handedOver_ = inFile_;
    }

    QStringList paths() const {
        QStringList paths;
        for (const auto& file : files_) {
            paths << file->fileName();
        }
        return paths;
    }

private:
    template <typename Put>
    Status append(quint32 count, Put put) {
        while (count > 0) {
            if (files_.empty() || inFile_ == fileSectors_) {
                if (Status opened = openNext(); !opened) {
                    return opened;
                }
            }
            const quint32 part = std::min(count, fileSectors_ - inFile_);
            if (Status done = put(files_.back()->handle(), part); !done) {
                return done.error().kind == ErrorKind::Io
                           ? failure(*files_.back(), done.error().message)
                           : done;
            }
            inFile_ += part;
            count -= part;
        }
        return Ok();
    }

    Status failure(const QFile& file, const QString& reason) const {
        return Error{ErrorKind::Io, QStringLiteral("Cannot write %1: %2")
                                        .arg(QDir::toNativeSeparators(file.fileName()), reason)};
    }

    Status openNext() {
        startWriteback();
        QString name = QStringLiteral("VTS_%1_%2.VOB")
                           .arg(titleSet_, 2, 10, QLatin1Char('0'))
                           .arg(files_.size() + 1);
        if (lowerCase_) {
            name = name.toLower();
        }
        files_.push_back(std::make_unique<QFile>(QDir(folder_).filePath(name)));
        if (!files_.back()->open(QIODevice::ReadWrite | QIODevice::Truncate |
                                 QIODevice::Unbuffered)) {
            return failure(*files_.back(), files_.back()->errorString());
        }
        inFile_ = 0;
        handedOver_ = 0;
        return Ok();
    }

    QString folder_;
    int titleSet_;
    bool lowerCase_;
    quint32 fileSectors_;
    std::vector<std::unique_ptr<QFile>> files_;
    quint32 inFile_ = 0;      // sectors in the last file
    quint32 handedOver_ = 0;  // of them already sent towards the disk
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
    auto insertion = placement.insertions.cbegin();
    auto vobu = vobus.cbegin();
    std::vector<uchar> nav(kPackSize);
    quint32 written = 0;
    // The video goes over in the kernel between the insertions, in runs of at most 16 MiB; the
    // NAV packs of each run are then written again at their new places while still in memory.
    for (quint32 sector = 0;;) {
        for (; insertion != placement.insertions.cend() && insertion->beforeSector == sector;
             ++insertion) {
            const auto count = static_cast<quint32>(insertion->packs.size() / kPackSize);
            if (Status done = output.write(
                    reinterpret_cast<const uchar*>(insertion->packs.constData()), count);
                !done) {
                return done.error();
            }
            written += count;
        }
        if (sector == total) {
            break;
        }
        quint32 end = std::min(total, sector + kSectorsPerWriteback);
        if (insertion != placement.insertions.cend()) {
            end = std::min(end, insertion->beforeSector);
        }
        if (Status copied = output.copy(video, sector, end - sector); !copied) {
            return copied.error();
        }
        written += end - sector;
        for (; vobu != vobus.cend() && vobu->sector < end; ++vobu) {
            if (Status read = video.read(vobu->sector, 1, nav.data()); !read) {
                return read.error();
            }
            RewriteNavPack(nav.data(), vobu->sector, vobu->lastSector + 1, placement.shift, stream,
                           placement.syncs.value(vobu->sector));
            if (Status done = output.overwrite(placement.shift.map(vobu->sector), nav.data());
                !done) {
                return done.error();
            }
        }
        output.startWriteback();
        sector = end;
        if (progress && !progress(written)) {
            return Error{ErrorKind::Cancelled, QString()};
        }
    }
    return output.paths();
}

}  // namespace marvoxa

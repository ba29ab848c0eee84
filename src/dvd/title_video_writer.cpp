#include "dvd/title_video_writer.h"

#include "dvd/background_writeback.h"
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

}  // namespace

// The numbered files of the title video, each opened when the one before is full. Sectors are
// counted through the whole series, as the new title video's addresses count them.
class VobFileSeries {
public:
    VobFileSeries(const QString& folder, int titleSet, quint32 fileSectors)
        : folder_(folder), titleSet_(titleSet), fileSectors_(fileSectors) {}

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

    // Starts the sectors written before sector towards the disk, 16 MiB or more at a time, so
    // the closing sync has little left to wait for. Only a hint to the kernel: a failure shows
    // at the closing sync.
    void startWritebackBefore(quint32 sector) {
        while (sector >= handedOver_ + kSectorsPerWriteback) {
            QFile& file = *files_[handedOver_ / fileSectors_];
            const quint32 inFile = handedOver_ % fileSectors_;
            const quint32 count = std::min(sector - handedOver_, fileSectors_ - inFile);
            writeback_->start(file.handle(), qint64{inFile} * kPackSize, qint64{count} * kPackSize);
            handedOver_ += count;
        }
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
        const QString name = QStringLiteral("VTS_%1_%2.VOB")
                                 .arg(titleSet_, 2, 10, QLatin1Char('0'))
                                 .arg(files_.size() + 1);
        files_.push_back(std::make_unique<QFile>(QDir(folder_).filePath(name)));
        if (!files_.back()->open(QIODevice::ReadWrite | QIODevice::Truncate |
                                 QIODevice::Unbuffered)) {
            return failure(*files_.back(), files_.back()->errorString());
        }
        inFile_ = 0;
        return Ok();
    }

    QString folder_;
    int titleSet_;
    quint32 fileSectors_;
    std::vector<std::unique_ptr<QFile>> files_;
    // Declared after the files, so it is done with their descriptors before they close.
    std::unique_ptr<BackgroundWriteback> writeback_ = std::make_unique<BackgroundWriteback>();
    quint32 inFile_ = 0;      // sectors in the last file
    quint32 handedOver_ = 0;  // sectors of the series already sent towards the disk
};

TitleVideoWriter::TitleVideoWriter(TitleVobStream& video, const DvdFolder& source,
                                   const QString& folder, quint32 fileSectors)
    : video_(video) {
    output_ = std::make_unique<VobFileSeries>(folder, source.titleSet, fileSectors);
}

TitleVideoWriter::~TitleVideoWriter() = default;

Status TitleVideoWriter::copyUpTo(quint32 end, const QMap<quint32, QByteArray>& insertions) {
    const quint32 total = video_.sectorCount();
    auto insertion = insertions.lowerBound(copied_);
    // The video goes over in the kernel between the insertions, in runs of at most 16 MiB.
    while (true) {
        for (; insertion != insertions.cend() && insertion.key() == copied_; ++insertion) {
            if (copied_ == end && end != total) {
                break;  // the next step writes them, once the cell before them is complete
            }
            const auto count = static_cast<quint32>(insertion.value().size() / kPackSize);
            if (Status done = output_->write(
                    reinterpret_cast<const uchar*>(insertion.value().constData()), count);
                !done) {
                return done;
            }
            written_ += count;
            shift_.insertBefore(copied_, count);
        }
        if (copied_ >= end) {
            return Ok();
        }
        quint32 runEnd = std::min(end, copied_ + kSectorsPerWriteback);
        if (insertion != insertions.cend()) {
            runEnd = std::min(runEnd, insertion.key());
        }
        if (Status copied = output_->copy(video_, copied_, runEnd - copied_); !copied) {
            return copied;
        }
        written_ += runEnd - copied_;
        copied_ = runEnd;
    }
}

Status TitleVideoWriter::rewriteNavPacks(const QList<VobuEntry>& vobus,
                                         const QHash<quint32, QList<NewStreamSync>>& syncs,
                                         const QList<int>& subStreams, bool final) {
    std::vector<uchar> nav(kPackSize);
    for (; navPacksDone_ < vobus.size() && vobus[navPacksDone_].sector < copied_; ++navPacksDone_) {
        const VobuEntry& vobu = vobus[navPacksDone_];
        if (Status read = video_.read(vobu.sector, 1, nav.data()); !read) {
            return read;
        }
        QList<NewStreamSync> sync = syncs.value(vobu.sector);
        for (const int subStream : subStreams) {
            if (std::none_of(sync.begin(), sync.end(), [&](const NewStreamSync& entry) {
                    return entry.subStream == subStream;
                })) {
                sync.append({subStream, SubpictureSync{}});
            }
        }
        // The packs inserted before the sector the copy has reached may still grow.
        if (!final &&
            FurthestSectorNamed(nav.data(), vobu.sector, vobu.lastSector + 1, sync) >= copied_) {
            break;
        }
        RewriteNavPack(nav.data(), vobu.sector, vobu.lastSector + 1, shift_, sync);
        if (Status done = output_->overwrite(shift_.map(vobu.sector), nav.data()); !done) {
            return done;
        }
    }
    // What lies before the first NAV pack still to be rewritten is final.
    output_->startWritebackBefore(navPacksDone_ < vobus.size()
                                      ? std::min(shift_.map(vobus[navPacksDone_].sector), written_)
                                      : written_);
    return Ok();
}

QStringList TitleVideoWriter::paths() const {
    return output_->paths();
}

quint32 TitleVobFileSectors(const DvdFolder& folder) {
    if (folder.titleVobs.size() > 1) {
        return std::min(folder.titleVobs.front().sectorCount, kLargestVobSectors);
    }
    return kLargestVobSectors;
}

}  // namespace marvoxa

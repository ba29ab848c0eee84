#include "dvd/dvd_copy.h"

#include "dvd/ifo_rewrite.h"
#include "dvd/nav_pack.h"
#include "dvd/program_stream.h"
#include "dvd/title_timeline.h"
#include "dvd/title_video_copy.h"
#include "dvd/title_vob_stream.h"
#include "sup/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace marvoxa {

namespace {

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

Error WriteError(const QString& path, const QString& reason) {
    return Error{ErrorKind::Io,
                 QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason)};
}

// The name a file of the source folder has, whatever its case.
QString SourceName(const QDir& folder, const QString& name) {
    for (const QString& entry : folder.entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    return name;
}

Result<QByteArray> ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{ErrorKind::Io,
                     QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString())};
    }
    return file.readAll();
}

Status WriteWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return WriteError(path, file.errorString());
    }
    if (Status written = WriteAllToDescriptor(file.handle(), bytes); !written) {
        return WriteError(path, written.error().message);
    }
    return Ok();
}

// Copies a file in the kernel where it can, reporting how many bytes went.
Status CopyFile(const QString& from, const QString& to,
                const std::function<bool(qint64 bytes)>& copied) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly)) {
        return Error{ErrorKind::Io,
                     QStringLiteral("%1 cannot be read: %2").arg(from, source.errorString())};
    }
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return WriteError(to, target.errorString());
    }
    constexpr size_t kStep = 8 * 1024 * 1024;
    while (true) {
        const ssize_t moved =
            ::copy_file_range(source.handle(), nullptr, target.handle(), nullptr, kStep, 0);
        if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP)) {
            break;  // the kernel cannot: copy through memory below
        }
        if (moved < 0) {
            return WriteError(to, SystemReason());
        }
        if (moved == 0) {
            // Start it towards the disk now; the closing sync reports any failure.
            ::sync_file_range(target.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
            return Ok();
        }
        if (copied && !copied(moved)) {
            return Error{ErrorKind::Cancelled, QString()};
        }
    }
    while (true) {
        const QByteArray chunk = source.read(kStep);
        if (chunk.isEmpty()) {
            return source.error() == QFile::NoError
                       ? Ok()
                       : Status(Error{ErrorKind::Io, QStringLiteral("%1 cannot be read: %2")
                                                         .arg(from, source.errorString())});
        }
        if (Status written = WriteAllToDescriptor(target.handle(), chunk); !written) {
            return WriteError(to, written.error().message);
        }
        if (copied && !copied(chunk.size())) {
            return Error{ErrorKind::Cancelled, QString()};
        }
    }
}

// "VTS_01_0.BUP" for "VTS_01_0.IFO".
QString BackupName(const QString& ifoName) {
    return ifoName.chopped(3) + QStringLiteral("BUP");
}

// The set's IFO and VIDEO_TS.IFO rewritten for the moved sectors and the new stream, each with
// a backup that equals it.
Status WriteRewrittenIfos(const DvdTarget& target, const SectorShift& shift,
                          const QString& language, const QDir& out) {
    const TitleSetInfo& info = target.info;
    NewSubpictureStream stream;
    stream.number = target.stream;
    stream.attributes = SubpictureAttributeBytes(language);
    stream.showingPgcs = info.title(target.discTitle)->pgcs;
    stream.control = SubpictureControl(target.stream, info.video.aspect == DisplayAspect::Wide,
                                       info.video.letterboxAllowed, info.video.panScanAllowed);
    const QDir sourceDir(target.folder.videoTsFolder);
    const QString setIfoName = QFileInfo(target.folder.ifoPath).fileName();
    const QString managerName = SourceName(sourceDir, QStringLiteral("VIDEO_TS.IFO"));
    Result<QByteArray> setIfo = ReadWhole(target.folder.ifoPath);
    if (!setIfo) {
        return setIfo.error();
    }
    if (Status rewritten = RewriteTitleSetIfo(setIfo.value(), shift, stream); !rewritten) {
        return rewritten;
    }
    Result<QByteArray> managerIfo = ReadWhole(sourceDir.filePath(managerName));
    if (!managerIfo) {
        return managerIfo.error();
    }
    if (Status rewritten = RewriteVideoManagerIfo(managerIfo.value(), target.folder.titleSet,
                                                  shift.inserted(), stream);
        !rewritten) {
        return rewritten;
    }
    for (const auto& [name, bytes] :
         {std::pair{setIfoName, setIfo.value()}, std::pair{managerName, managerIfo.value()}}) {
        for (const QString& file : {name, BackupName(name)}) {
            if (Status written = WriteWhole(out.filePath(file.toUpper()), bytes); !written) {
                return written;
            }
        }
    }
    return Ok();
}

}  // namespace

DvdCopy::DvdCopy() = default;

DvdCopy::~DvdCopy() {
    discard();
}

QString DvdIsoCommand(const QString& videoTs) {
    const QString disc = QFileInfo(videoTs).absolutePath();
    // genisoimage lays the files out as the IFOs say, as DVD players expect.
    return QStringLiteral("genisoimage -dvd-video -V DVD -o '%1.iso' '%1'")
        .arg(QDir::toNativeSeparators(disc));
}

Result<DvdCopyReport> DvdCopy::write(const DvdCopyRequest& request) {
    discard();
    if (request.streams.size() != 1 || !request.streams.front().letterboxUnits.isEmpty()) {
        return Error{ErrorKind::State,
                     QStringLiteral("Only one subtitle stream, in one drawing, can be added to a "
                                    "DVD yet.")};
    }
    const NewTitleStream& newStream = request.streams.front();
    const DvdTarget& target = *request.target;
    const DvdFolder& source = target.folder;
    const QDir sourceDir(source.videoTsFolder);
    const QString destination = QDir(request.destination).absolutePath();
    const QString videoTs = QDir(destination).filePath(QStringLiteral("VIDEO_TS"));
    if (QFileInfo(videoTs).canonicalFilePath() == QFileInfo(sourceDir.path()).canonicalFilePath()) {
        return Error{ErrorKind::State,
                     QStringLiteral("The copy would replace the DVD it is made from (%1). Choose "
                                    "another output folder.")
                         .arg(QDir::toNativeSeparators(sourceDir.path()))};
    }
    if (!QDir().mkpath(destination)) {
        return WriteError(destination, QStringLiteral("the folder cannot be made"));
    }
    folder_ = std::make_unique<QTemporaryDir>(destination + QStringLiteral("/.VIDEO_TS-XXXXXX"));
    if (!folder_->isValid()) {
        const QString reason = folder_->errorString();
        folder_.reset();
        return WriteError(destination, reason);
    }
    const QDir out(folder_->path());
    // A temporary folder is its owner's alone; the copy is as readable as any folder made here.
    QFile::setPermissions(out.path(), QFileInfo(sourceDir.path()).permissions() |
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);

    // The walk, the title video written again and the other files copied.
    qint64 otherBytes = 0;
    QStringList others;
    const QString setPrefix =
        QStringLiteral("VTS_%1_").arg(source.titleSet, 2, 10, QLatin1Char('0'));
    for (const QFileInfo& file : sourceDir.entryInfoList(QDir::Files)) {
        const QString upper = file.fileName().toUpper();
        const bool rewritten =
            upper == QLatin1String("VIDEO_TS.IFO") || upper == QLatin1String("VIDEO_TS.BUP") ||
            (upper.startsWith(setPrefix) && upper != setPrefix + QLatin1String("0.VOB"));
        if (!rewritten) {
            others << file.fileName();
            otherBytes += file.size();
        }
    }
    const qint64 videoSectors = source.titleVobSectors();
    const qint64 total = 2 * videoSectors * 2048 + otherBytes;
    qint64 done = 0;
    const auto advance = [&](qint64 bytes) {
        done += bytes;
        return !request.progress || request.progress(done, total);
    };
    const auto cancelled = [&](Status status) {
        discard();
        return status.error();
    };

    // The title's layout and the units' cells come from the IFO alone, so what cannot be
    // placed is refused before the video is read.
    Result<TitleTimeline> timeline = TitleTimeline::Lay(target.info, target.discTitle);
    if (!timeline) {
        return cancelled(timeline.error());
    }
    TitleVobStream video(source);
    std::vector<uchar> firstPack(kPackSize);
    if (Status read = video.read(0, 1, firstPack.data()); !read) {
        return cancelled(read);
    }
    // Cues follow the video's own clock: each cell lasts as its end VOBUs say.
    const auto vobuTimes = [&video](quint32 sector) -> Result<std::pair<quint32, quint32>> {
        std::vector<uchar> pack(kPackSize);
        if (Status read = video.read(sector, 1, pack.data()); !read) {
            return read.error();
        }
        const Result<NavPack> nav = ReadNavPack(SectorBytes(pack.data(), kPackSize));
        if (!nav) {
            return Error{ErrorKind::Format,
                         QStringLiteral("%1 %2").arg(video.describe(sector), nav.error().message)};
        }
        return std::pair{nav.value().startPtm, nav.value().endPtm};
    };
    if (Status measured = timeline.value().measure(vobuTimes); !measured) {
        return cancelled(measured);
    }
    Result<SubpicturePlacer> placer = SubpicturePlacer::Start(
        timeline.value(), newStream.units, PackMuxRate(firstPack.data()), target.stream);
    if (!placer) {
        return cancelled(placer.error());
    }

    const Result<SubpicturePlacement> placement = CopyTitleVideo(
        source, target.info, timeline.value(), placer.value(), target.stream, out.path(), advance);
    if (!placement) {
        return cancelled(placement.error());
    }
    const SubpicturePlacement& placed = placement.value();
    if (Status ifos = WriteRewrittenIfos(target, placed.shift, newStream.language, out); !ifos) {
        return cancelled(ifos);
    }
    for (const QString& name : others) {
        // Players and genisoimage -dvd-video expect upper-case names, whatever the source has.
        if (Status copied =
                CopyFile(sourceDir.filePath(name), out.filePath(name.toUpper()), advance);
            !copied) {
            return cancelled(copied);
        }
    }
    // One sync puts every file on the disk and reports any write that failed.
    const int descriptor =
        ::open(QFile::encodeName(out.path()).constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = descriptor >= 0 && ::syncfs(descriptor) == 0;
    const QString reason = SystemReason();
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!synced) {
        return cancelled(WriteError(out.path(), reason));
    }
    target_ = videoTs;
    DvdCopyReport report;
    report.videoTs = videoTs;
    report.streams = {AddedTitleStream{target.stream, 0x20 + target.stream, -1}};
    report.unitsAdded = static_cast<int>(newStream.units.size()) - placed.afterEnd;
    report.afterEnd = placed.afterEnd;
    report.firstAfterEnd = placed.firstAfterEnd;
    return report;
}

Status DvdCopy::commit() {
    if (folder_ == nullptr) {
        return Ok();
    }
    const QByteArray from = QFile::encodeName(folder_->path());
    const QByteArray to = QFile::encodeName(target_);
    // An older copy is swapped out in one step, then removed.
    if (QFileInfo::exists(target_)) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) !=
            0) {
            return WriteError(target_, SystemReason());
        }
        QDir(folder_->path()).removeRecursively();
        folder_.reset();
        return Ok();
    }
    if (::rename(from.constData(), to.constData()) != 0) {
        return WriteError(target_, SystemReason());
    }
    folder_->setAutoRemove(false);
    folder_.reset();
    return Ok();
}

void DvdCopy::discard() {
    folder_.reset();  // removes the hidden folder and all in it
}

}  // namespace marvoxa

#include "dvd/dvd_copy.h"

#include "dvd/ifo_rewrite.h"
#include "dvd/nav_pack.h"
#include "dvd/new_stream_plan.h"
#include "dvd/program_stream.h"
#include "dvd/title_timeline.h"
#include "dvd/title_video_copy.h"
#include "dvd/title_vob_stream.h"
#include "dvd/unit_colours.h"
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

// The set's IFO and VIDEO_TS.IFO rewritten for the moved sectors, the new streams and the
// colours they need, each with a backup that equals it.
Status WriteRewrittenIfos(const DvdTarget& target, const SectorShift& shift,
                          const QList<NewTitleStream>& requested, const NewStreamsPlan& plan,
                          const QDir& out) {
    const TitleSetInfo& info = target.info;
    QList<NewSubpictureStream> streams;
    for (qsizetype k = 0; k < plan.streams.size(); ++k) {
        NewSubpictureStream stream;
        stream.number = plan.streams[k].number;
        stream.attributes = SubpictureAttributeBytes(requested[k].language);
        stream.showingPgcs = info.title(target.discTitle)->pgcs;
        stream.control = plan.streams[k].control;
        streams.append(stream);
    }
    const PaletteWrites palette{info.title(target.discTitle)->pgcs, plan.paletteWrites};
    const QDir sourceDir(target.folder.videoTsFolder);
    const QString setIfoName = QFileInfo(target.folder.ifoPath).fileName();
    const QString managerName = SourceName(sourceDir, QStringLiteral("VIDEO_TS.IFO"));
    Result<QByteArray> setIfo = ReadWhole(target.folder.ifoPath);
    if (!setIfo) {
        return setIfo.error();
    }
    if (Status rewritten = RewriteTitleSetIfo(setIfo.value(), shift, streams, palette);
        !rewritten) {
        return rewritten;
    }
    Result<QByteArray> managerIfo = ReadWhole(sourceDir.filePath(managerName));
    if (!managerIfo) {
        return managerIfo.error();
    }
    if (Status rewritten = RewriteVideoManagerIfo(managerIfo.value(), target.folder.titleSet,
                                                  shift.inserted(), streams);
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

// The sub-streams that the packs of the set's menu video carry.
Result<quint32> MenuSubStreams(const DvdFolder& source) {
    const QDir sourceDir(source.videoTsFolder);
    const QString name = SourceName(
        sourceDir, QStringLiteral("VTS_%1_0.VOB").arg(source.titleSet, 2, 10, QLatin1Char('0')));
    QFile menu(sourceDir.filePath(name));
    if (!menu.exists()) {
        return quint32{0};
    }
    if (!menu.open(QIODevice::ReadOnly)) {
        return Error{
            ErrorKind::Io,
            QStringLiteral("%1 cannot be read: %2").arg(menu.fileName(), menu.errorString())};
    }
    SubpictureSurvey survey;
    while (true) {
        const QByteArray run = menu.read(256 * kPackSize);
        for (qsizetype at = 0; at + kPackSize <= run.size(); at += kPackSize) {
            survey.addPack(
                SectorBytes(reinterpret_cast<const uchar*>(run.constData()) + at, kPackSize), -1);
        }
        if (run.size() < 256 * kPackSize) {
            break;
        }
    }
    return survey.carriedSubStreams();
}

// The entries that the existing units of the title's cells name.
quint16 TitleEntries(const DvdTarget& target, const SubpictureSurvey& survey) {
    quint16 entries = 0;
    for (const int number : target.info.title(target.discTitle)->pgcs) {
        for (const CellPlayback& cell : target.info.pgc(number)->cells) {
            entries |= survey.entriesOfCell(SubpictureSurvey::CellKey(cell.vobId, cell.cellId));
        }
    }
    return entries;
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
    // Which sub-stream ids the packs carry and which palette entries the existing units name
    // is known once the title video has been read; the copy is made again in the rare case
    // that the first guess meets either.
    const Result<quint32> menuSubStreams = MenuSubStreams(request.target->folder);
    if (!menuSubStreams) {
        return menuSubStreams.error();
    }
    SetSubpictureUse use{menuSubStreams.value(), 0};
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::optional<SetSubpictureUse> found;
        Result<DvdCopyReport> written = writeOnce(request, use, found);
        if (written || !found) {
            return written;
        }
        use = *found;
    }
    return Error{ErrorKind::Io, QStringLiteral("The DVD's files changed while they were read. "
                                               "Nothing was written.")};
}

Result<DvdCopyReport> DvdCopy::writeOnce(const DvdCopyRequest& request, const SetSubpictureUse& use,
                                         std::optional<SetSubpictureUse>& found) {
    discard();
    const DvdTarget& target = *request.target;
    Result<NewStreamsPlan> planned = PlanNewStreams(target, request.streams, use);
    if (!planned) {
        return planned.error();
    }
    const NewStreamsPlan& plan = planned.value();
    QList<SubpictureTrack> tracks;
    QList<int> subStreams;
    int unitCount = 0;
    for (qsizetype k = 0; k < plan.streams.size(); ++k) {
        const PlannedStream& stream = plan.streams[k];
        // With more than one drawing, a refusal names the stream of the unit as well.
        const bool named = plan.streams.size() > 1 || stream.letterboxSubStream >= 0;
        const auto remapped = [&](QList<TitleSubpicture> units, const char* drawing) {
            for (TitleSubpicture& unit : units) {
                unit.unit = RemapUnitColours(unit.unit, stream.entryFor);
                if (named) {
                    unit.name += QStringLiteral(" of subtitle stream %1 (%2%3)")
                                     .arg(stream.number + 1)
                                     .arg(request.streams[k].language, QLatin1String(drawing));
                }
            }
            return units;
        };
        tracks.append({stream.subStream, remapped(request.streams[k].units, "")});
        subStreams.append(stream.subStream);
        unitCount += static_cast<int>(request.streams[k].units.size());
        if (stream.letterboxSubStream >= 0) {
            tracks.append({stream.letterboxSubStream,
                           remapped(request.streams[k].letterboxUnits, ", letterbox")});
            subStreams.append(stream.letterboxSubStream);
            unitCount += static_cast<int>(request.streams[k].letterboxUnits.size());
        }
    }
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
    Result<SubpicturePlacer> placer =
        SubpicturePlacer::Start(timeline.value(), tracks, PackMuxRate(firstPack.data()));
    if (!placer) {
        return cancelled(placer.error());
    }

    SubpictureSurvey survey;
    const Result<SubpicturePlacement> placement =
        CopyTitleVideo(source, target.info, timeline.value(), placer.value(), subStreams,
                       out.path(), advance, survey);
    if (!placement) {
        return cancelled(placement.error());
    }
    const SetSubpictureUse read{use.carriedSubStreams | survey.carriedSubStreams(),
                                TitleEntries(target, survey)};
    if (!PlanHolds(plan, read)) {
        found = read;
        return cancelled(Error{ErrorKind::State, QString()});
    }
    const SubpicturePlacement& placed = placement.value();
    if (Status ifos = WriteRewrittenIfos(target, placed.shift, request.streams, plan, out); !ifos) {
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
    for (const PlannedStream& stream : plan.streams) {
        report.streams.append(
            {stream.number, 0x20 + stream.subStream,
             stream.letterboxSubStream < 0 ? -1 : 0x20 + stream.letterboxSubStream});
    }
    for (auto it = plan.paletteWrites.cbegin(); it != plan.paletteWrites.cend(); ++it) {
        report.writtenPaletteEntries.append(it.key());
        report.writtenPaletteColours.append(it.value());
    }
    report.unitsAdded = unitCount - placed.afterEnd;
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

#include "dvd/dvd_folder.h"

#include "common/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace marvoxa {
namespace {

// A title set has at most nine title VOBs.
constexpr int kMostTitleVobs = 9;

Error MissingFileError(const QString& path, const QString& why) {
    return Error{ErrorKind::Io, QStringLiteral("%1 is missing: %2").arg(path, why)};
}

// Folders, FIFOs and devices have no fixed sectors to read or copy.
Status CheckRegularFile(const QFileInfo& file, const QString& why) {
    if (!file.exists() && !file.isSymLink()) {
        return MissingFileError(file.filePath(), why);
    }
    if (!file.isFile()) {
        return Error{ErrorKind::Io, NotRegularFileMessage(file.filePath())};
    }
    return Ok();
}

}  // namespace

Result<DvdFolder> FindDvdFolder(const QString& ifoPath) {
    const QFileInfo ifo(ifoPath);
    // Discs name their files in capitals; copies made on some systems have them in lower case,
    // and then the whole folder is.
    static const QRegularExpression kIfoName(QStringLiteral("^(vts_(\\d\\d)_)0\\.ifo$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch name = kIfoName.match(ifo.fileName());
    const int titleSet = name.hasMatch() ? name.captured(2).toInt() : 0;
    if (titleSet < 1) {
        return Error{ErrorKind::Format,
                     QStringLiteral("%1 is not the IFO of a title set: its name must be "
                                    "VTS_xx_0.IFO with xx from 01 to 99.")
                         .arg(ifoPath)};
    }
    if (Status status = CheckRegularFile(ifo, QStringLiteral("choose an existing title set IFO."));
        !status) {
        return status.error();
    }
    const QDir folder = ifo.absoluteDir();
    if (folder.dirName().compare(QStringLiteral("VIDEO_TS"), Qt::CaseInsensitive) != 0) {
        return Error{ErrorKind::Format,
                     QStringLiteral("%1 does not lie in a VIDEO_TS folder: choose the IFO inside "
                                    "the VIDEO_TS folder of the DVD, beside its VOB files.")
                         .arg(ifoPath)};
    }
    const bool lowerCase = ifo.fileName() == ifo.fileName().toLower();
    const auto named = [&](const QString& fileName) {
        return QFileInfo(folder.filePath(lowerCase ? fileName.toLower() : fileName));
    };

    if (Status status =
            CheckRegularFile(named(QStringLiteral("VIDEO_TS.IFO")),
                             QStringLiteral("the DVD's own IFO must lie beside %1.").arg(ifoPath));
        !status) {
        return status.error();
    }

    DvdFolder found;
    found.videoTsFolder = folder.absolutePath();
    found.ifoPath = ifo.absoluteFilePath();
    found.titleSet = titleSet;
    const QString prefix = name.captured(1).toUpper();
    quint32 nextSector = 0;
    for (int part = 1; part <= kMostTitleVobs; ++part) {
        const QFileInfo vob = named(prefix + QStringLiteral("%1.VOB").arg(part));
        if (!vob.exists() && !vob.isSymLink()) {
            break;
        }
        if (Status status = CheckRegularFile(vob, {}); !status) {
            return status.error();
        }
        const qint64 size = vob.size();
        if (size == 0 || size % kDvdSectorSize != 0) {
            return Error{ErrorKind::Format,
                         QStringLiteral("%1 is %2 bytes long, which is not a whole number of "
                                        "2048-byte sectors: the DVD copy is damaged or "
                                        "incomplete.")
                             .arg(vob.filePath())
                             .arg(size)};
        }
        found.titleVobs.append(TitleVobFile{vob.absoluteFilePath(), nextSector,
                                            static_cast<quint32>(size / kDvdSectorSize)});
        nextSector += static_cast<quint32>(size / kDvdSectorSize);
    }
    if (found.titleVobs.isEmpty()) {
        return MissingFileError(
            named(prefix + QStringLiteral("1.VOB")).filePath(),
            QStringLiteral("title set %1 has no title video; copy the whole VIDEO_TS folder.")
                .arg(titleSet));
    }
    // A later part after a missing one means a file was lost, not that the set ends.
    for (int part = static_cast<int>(found.titleVobs.size()) + 2; part <= kMostTitleVobs; ++part) {
        const QFileInfo later = named(prefix + QStringLiteral("%1.VOB").arg(part));
        if (later.exists() || later.isSymLink()) {
            return MissingFileError(
                named(prefix + QStringLiteral("%1.VOB").arg(found.titleVobs.size() + 1)).filePath(),
                QStringLiteral("%1 exists, so the title video is incomplete; copy the whole "
                               "VIDEO_TS folder.")
                    .arg(later.fileName()));
        }
    }
    return found;
}

}  // namespace marvoxa

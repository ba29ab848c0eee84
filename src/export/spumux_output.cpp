#include "export/spumux_output.h"

#include "export/cue_picture.h"
#include "export/output_names.h"
#include "export/shown_subpicture.h"
#include "export/spumux_script.h"
#include "sup/generation.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace marvoxa {

namespace {

constexpr int kSupHeaderSize = 10;

Error PicturesError(const QString& path, const QString& reason) {
    return Error{ErrorKind::Io,
                 QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason)};
}

Status Rename(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        return PicturesError(to, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return Ok();
}

}  // namespace

namespace {

QString TaggedName(const char* name, const QString& tag) {
    return tag.isEmpty() ? QLatin1String(name) : QLatin1String(name) + QLatin1Char('.') + tag;
}

}  // namespace

SpumuxOutput::SpumuxOutput(const QString& folder, const Palette& palette, bool forced,
                           const QString& tag)
    : folder_(folder),
      picturesName_(TaggedName(kSpumuxFolderName, tag)),
      forced_(forced),
      entryColours_(SpumuxEntryColours(palette)),
      script_(tag.isEmpty() ? OutputPath(folder, kSpumuxScriptFileName)
                            : QDir::cleanPath(QDir(folder).absoluteFilePath(
                                  TaggedName(kSpumuxFolderName, tag) + QLatin1String(".xml")))) {}

QString SpumuxOutput::scriptName() const {
    return QFileInfo(script_.path()).fileName();
}

SpumuxOutput::~SpumuxOutput() = default;

QString SpumuxOutput::PictureName(int cueIndex) {
    return QLatin1String(kSpumuxFolderName) + QLatin1Char('/') +
           QString::number(cueIndex + 1).rightJustified(4, QLatin1Char('0')) +
           QLatin1String(".png");
}

Status SpumuxOutput::begin() {
    picturePaths_.clear();
    const QString target = QDir::cleanPath(QDir(folder_).absoluteFilePath(picturesName_));
    pictures_ =
        std::make_unique<QTemporaryDir>(QFileInfo(target).absolutePath() + QLatin1String("/.") +
                                        picturesName_ + QLatin1String(".XXXXXX"));
    if (!pictures_->isValid()) {
        const QString reason = pictures_->errorString();
        pictures_.reset();
        return PicturesError(target, reason);
    }
    if (Status opened = script_.open(); !opened) {
        return opened;
    }
    return script_.write(SpumuxScriptHead());
}

Status SpumuxOutput::add(const EncodedCue& cue) {
    const Result<ShownSubpicture> shown =
        DecodeShownSubpicture(QByteArrayView(cue.supPacket).sliced(kSupHeaderSize));
    if (!shown) {
        return shown.error();
    }
    const QString name =
        picturesName_ + QLatin1Char('/') + PictureName(cue.index).section(QLatin1Char('/'), 1);
    const QString finalPath = QDir(folder_).absoluteFilePath(name);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80);  // zlib level 1: fast, and small enough for pictures of four colours
    if (!writer.write(CuePicture(shown.value(), entryColours_))) {
        return PicturesError(finalPath, writer.errorString());
    }

    // The folder is invisible until commit(), so each picture goes straight to its place in
    // it; finish() syncs them all at once instead of one by one.
    QFile picture(pictures_->filePath(name.section(QLatin1Char('/'), 1)));
    if (!picture.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return PicturesError(finalPath, picture.errorString());
    }
    if (Status written = WriteAllToDescriptor(picture.handle(), png); !written) {
        return PicturesError(finalPath, written.error().message);
    }
    picturePaths_ << QDir::cleanPath(finalPath);
    return script_.write(SpumuxScriptEntry(cue.startMs, cue.durationMs, name, shown.value().left,
                                           shown.value().top, forced_));
}

Status SpumuxOutput::finish() {
    // One sync of the file system holding the pictures puts all of them on the disk and
    // reports any write that failed on the way.
    const int descriptor =
        ::open(QFile::encodeName(pictures_->path()).constData(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0 || ::syncfs(descriptor) != 0) {
        const int reason = errno;
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return PicturesError(QDir(folder_).absoluteFilePath(picturesName_),
                             QString::fromLocal8Bit(std::strerror(reason)));
    }
    ::close(descriptor);
    if (Status written = script_.write(SpumuxScriptTail()); !written) {
        return written;
    }
    return script_.finish();
}

Status SpumuxOutput::commit() {
    const QString target = QDir::cleanPath(QDir(folder_).absoluteFilePath(picturesName_));
    // An older folder steps aside first and goes only once the new one is in place.
    QString older;
    if (QFileInfo::exists(target)) {
        older = pictures_->path() + QLatin1String(".old");
        if (Status moved = Rename(target, older); !moved) {
            return moved;
        }
    }
    QFile::setPermissions(pictures_->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::ExeOther);
    if (Status moved = Rename(pictures_->path(), target); !moved) {
        if (!older.isEmpty()) {
            (void)Rename(older, target);
        }
        return moved;
    }
    pictures_->setAutoRemove(false);
    pictures_.reset();
    if (!older.isEmpty()) {
        QDir(older).removeRecursively();
    }
    return script_.commit();
}

void SpumuxOutput::discard() {
    script_.discard();
    pictures_.reset();
    picturePaths_.clear();
}

QStringList SpumuxOutput::paths() const {
    return QStringList{script_.path()} + picturePaths_;
}

}  // namespace marvoxa

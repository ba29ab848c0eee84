#include "sup/file_writing.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace marvoxa {

AtomicFile::AtomicFile(const QString& path) : path_(path) {}

AtomicFile::~AtomicFile() {
    discard();
}

Error AtomicFile::failure(const QString& reason) const {
    return Error{
        ErrorKind::Io,
        QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path_), reason)};
}

Status AtomicFile::open() {
    const QFileInfo info(path_);
    file_ = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".XXXXXX"));
    finished_ = false;
    if (!file_->open()) {
        const QString reason = file_->errorString();
        file_.reset();
        return failure(reason);
    }
    return Ok();
}

Status AtomicFile::write(const QByteArray& bytes) {
    if (!file_) {
        return failure(QStringLiteral("the file is not open"));
    }
    if (file_->write(bytes) != bytes.size()) {
        return failure(file_->errorString());
    }
    return Ok();
}

Status AtomicFile::finish() {
    if (!file_) {
        return failure(QStringLiteral("the file is not open"));
    }
    if (!file_->flush()) {
        return failure(file_->errorString());
    }
    if (::fsync(file_->handle()) != 0) {
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    }
    finished_ = true;
    return Ok();
}

Status AtomicFile::commit() {
    if (!finished_) {
        if (Status finished = finish(); !finished) {
            return finished;
        }
    }
    file_->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(file_->fileName()).constData(),
                    QFile::encodeName(path_).constData()) != 0) {
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    }
    file_->setAutoRemove(false);
    file_.reset();
    return Ok();
}

void AtomicFile::discard() {
    file_.reset();
    finished_ = false;
}

Status WriteFileAtomically(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    const auto failure = [&](const QString& errorText) {
        return Error{
            ErrorKind::Io,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), errorText)};
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(file.errorString());
    }
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit()) {
        return failure(file.errorString());
    }
    return Ok();
}

}  // namespace marvoxa

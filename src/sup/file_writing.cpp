#include "sup/file_writing.h"

#include <QDir>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace marvoxa {

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

Status WriteAllToDescriptor(int descriptor, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Error{ErrorKind::Io, SystemReason(errno)};
        }
        if (written == 0) {
            return Error{ErrorKind::Io, SystemReason(ENOSPC)};
        }
        next += written;
        left -= written;
    }
    return Ok();
}

AtomicFile::AtomicFile(const QString& path) : path_(path) {}

AtomicFile::~AtomicFile() {
    discard();
}

Error AtomicFile::failure(const QString& reason) const {
    return Error{
        ErrorKind::Io,
        QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path_), reason)};
}

Status AtomicFile::fail(const QString& reason) {
    const Error error = failure(reason);
    discard();
    return error;
}

Status AtomicFile::open() {
    discard();
    file_ = std::make_unique<QSaveFile>(path_);
    // Unbuffered: Qt's buffer would hide a failed write until commit, which does not report it.
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file_->errorString());
    }
    finished_ = false;
    written_ = 0;
    handedOver_ = 0;
    return Ok();
}

Status AtomicFile::write(const QByteArray& bytes) {
    if (!file_ || finished_) {
        return failure(QStringLiteral("the file is not open for writing"));
    }
    if (Status written = WriteAllToDescriptor(file_->handle(), bytes); !written) {
        return fail(written.error().message);
    }
    written_ += bytes.size();
#ifdef __linux__
    // A long file starts going to the disk while the rest is still being made, so the sync
    // at the end has little left to wait for. Only a hint: failures show in that sync.
    constexpr qint64 kWritebackStep = 1024 * 1024;
    if (written_ - handedOver_ >= kWritebackStep) {
        ::sync_file_range(file_->handle(), handedOver_, written_ - handedOver_,
                          SYNC_FILE_RANGE_WRITE);
        handedOver_ = written_;
    }
#endif
    return Ok();
}

Status AtomicFile::finish() {
    if (!file_) {
        return failure(QStringLiteral("the file is not open for writing"));
    }
    if (finished_) {
        return Ok();
    }
    // Some file systems report a full disk or an I/O error only when the data is synced.
    if (::fsync(file_->handle()) != 0 && errno != EINVAL && errno != EROFS) {
        return fail(SystemReason(errno));
    }
    finished_ = true;
    return Ok();
}

Status AtomicFile::commit() {
    if (Status finished = finish(); !finished) {
        return finished;
    }
    const bool committed = file_->commit();
    const QString reason = file_->errorString();
    file_.reset();
    finished_ = false;
    if (!committed) {
        return failure(reason);
    }
    return Ok();
}

void AtomicFile::discard() {
    if (file_) {
        file_->cancelWriting();
        file_.reset();
    }
    finished_ = false;
}

Status WriteFileAtomically(const QString& path, const QByteArray& content) {
    AtomicFile file(path);
    if (Status opened = file.open(); !opened) {
        return opened;
    }
    if (Status written = file.write(content); !written) {
        return written;
    }
    return file.commit();
}

}  // namespace marvoxa

#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QSaveFile;

namespace marvoxa {

// A file written in pieces that replaces the file at path only when commit() succeeds: the
// bytes go to a temporary file beside it, and every write, the flush and the sync to disk are
// checked, so a full disk is reported with the system's reason instead of leaving an empty
// file behind. Until commit() the older file stays as it was; a discarded or destroyed
// AtomicFile leaves no trace.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    Status open();
    Status write(const QByteArray& bytes);
    // Every byte written is on the disk afterwards, or an error says why; only the rename is left.
    Status finish();
    // finish() when not done yet, then the rename over path.
    Status commit();
    void discard();

    const QString& path() const { return path_; }

private:
    Error failure(const QString& reason) const;
    Status fail(const QString& reason);

    QString path_;
    std::unique_ptr<QSaveFile> file_;
    bool finished_ = false;
    qint64 written_ = 0;     // bytes written since open()
    qint64 handedOver_ = 0;  // bytes already handed to the disk's writeback
};

// Writes all of bytes to an open file descriptor, retrying short writes; the error names the
// system's reason. Shared by AtomicFile and kept apart so any device can stand behind it.
Status WriteAllToDescriptor(int descriptor, const QByteArray& bytes);

// Replaces the file at path by content, or leaves it untouched when anything fails.
Status WriteFileAtomically(const QString& path, const QByteArray& content);

}  // namespace marvoxa

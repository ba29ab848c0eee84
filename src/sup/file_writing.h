#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace marvoxa {

class AtomicFile {  // replaces path only when commit() succeeds
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();  // discards unless committed
    Status open();  // temporary file beside path
    Status write(const QByteArray& bytes);
    Status finish();  // flush + fsync; after it only the rename is left
    Status commit();  // finish() if not done, then rename over path
    void discard();
    const QString& path() const { return path_; }

private:
    Error failure(const QString& reason) const;

    QString path_;
    std::unique_ptr<QTemporaryFile> file_;
    bool finished_ = false;
};

// Replaces the file at path by content, or leaves it untouched when anything fails: the bytes
// go to a temporary file beside it that is renamed over it only when complete.
Status WriteFileAtomically(const QString& path, const QByteArray& content);

}  // namespace marvoxa

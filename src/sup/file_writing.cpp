#include "sup/file_writing.h"

#include <QDir>
#include <QSaveFile>

namespace marvoxa {

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

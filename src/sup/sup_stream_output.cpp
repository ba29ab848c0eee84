#include "sup/sup_stream_output.h"

#include <QDir>

namespace marvoxa {

SupStreamOutput::SupStreamOutput(const QString& path) : path_(path), file_(path) {}

Error SupStreamOutput::failure(const QString& reason) const {
    return {ErrorKind::Io,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path_), reason)};
}

Status SupStreamOutput::begin() {
    if (!file_.open(QIODevice::WriteOnly)) {
        return failure(file_.errorString());
    }
    return Ok();
}

Status SupStreamOutput::add(const QByteArray& supPacket) {
    if (file_.write(supPacket) != supPacket.size()) {
        const QString reason = file_.errorString();
        discard();
        return failure(reason);
    }
    return Ok();
}

Status SupStreamOutput::finish() {
    if (!file_.flush()) {
        const QString reason = file_.errorString();
        discard();
        return failure(reason);
    }
    return Ok();
}

Status SupStreamOutput::commit() {
    if (!file_.commit()) {
        return failure(file_.errorString());
    }
    return Ok();
}

void SupStreamOutput::discard() {
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();  // with writing cancelled this only removes the temporary file
    }
}

}  // namespace marvoxa

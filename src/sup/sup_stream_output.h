#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace marvoxa {

// Generated.sup written packet by packet as cues are finished, so the stream never has to fit
// in memory. The file at the path changes only on commit(); a failure or discard() leaves the
// stream written before intact.
class SupStreamOutput {
public:
    explicit SupStreamOutput(const QString& path);

    Status begin();
    Status add(const QByteArray& supPacket);
    Status finish();
    Status commit();
    void discard();
    QStringList paths() const { return {path_}; }

private:
    Error failure(const QString& reason) const;

    QString path_;
    QSaveFile file_;
};

}  // namespace marvoxa

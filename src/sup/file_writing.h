#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QString>

namespace marvoxa {

// Replaces the file at path by content, or leaves it untouched when anything fails: the bytes
// go to a temporary file beside it that is renamed over it only when complete.
Status WriteFileAtomically(const QString& path, const QByteArray& content);

}  // namespace marvoxa

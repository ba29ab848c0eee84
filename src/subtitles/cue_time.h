#pragma once

#include <QString>
#include <QtGlobal>

namespace marvoxa {

// "00:01:02,500": how a cue's start is named in messages.
QString FormatCueTime(qint64 milliseconds);

}  // namespace marvoxa

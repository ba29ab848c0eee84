#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace marvoxa {

// "00:01:02.50": a time as spumux reads it, to the nearest hundredth of a second.
QString SpumuxTime(qint64 milliseconds);

// spumux's subtitle script: a head, one <spu> line per cue (its picture placed at
// xoffset/yoffset on the frame, shown from start until start + duration, with force="yes"
// when forced), and a tail.
QByteArray SpumuxScriptHead();
QByteArray SpumuxScriptEntry(qint64 startMs, qint64 durationMs, const QString& picturePath,
                             int xOffset, int yOffset, bool forced = false);
QByteArray SpumuxScriptTail();

}  // namespace marvoxa

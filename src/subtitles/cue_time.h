#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace marvoxa {

// "00:01:02,500": how a cue's start is named in messages.
QString FormatCueTime(qint64 milliseconds);

// Milliseconds of a clock time as WebVTT and ASS write it: [hours:]minutes:seconds, then "." or
// "," and one to three digits of a second, or no fraction. Hours may have any number of digits,
// minutes and seconds one or two. Nothing for any other text or for a time too large for a cue
// (a 32-bit count of milliseconds).
std::optional<qint32> ReadClockTime(QByteArrayView text);

}  // namespace marvoxa

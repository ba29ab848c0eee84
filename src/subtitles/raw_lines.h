#pragma once

#include <QByteArray>
#include <QList>

namespace marvoxa {

// True when bytes begin with the UTF-8 byte-order mark EF BB BF.
bool StartsWithUtf8Bom(const QByteArray& bytes);

// Splits a file into lines ending at CR LF, LF or CR; terminators are not part of the line. A
// terminator at the very end does not open a further, empty line.
QList<QByteArray> SplitRawLines(const QByteArray& bytes);

// The line at index, or an empty line past either end: readers look ahead without bounds checks.
QByteArray RawLineAt(const QList<QByteArray>& lines, qsizetype index);

}  // namespace marvoxa

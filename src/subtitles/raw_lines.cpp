#include "subtitles/raw_lines.h"

namespace marvoxa {

bool StartsWithUtf8Bom(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayLiteral("\xEF\xBB\xBF"));
}

namespace {

// Calls lineFound(start, length) for every line, ended by CR, LF or CR LF or by the end.
template <typename LineFound>
void ForEachRawLine(const QByteArray& bytes, LineFound lineFound) {
    qsizetype lineStart = 0;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        const char c = bytes.at(pos);
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lineFound(lineStart, pos - lineStart);
        const bool crLf = c == '\r' && pos + 1 < size && bytes.at(pos + 1) == '\n';
        pos += crLf ? 2 : 1;
        lineStart = pos;
    }
    if (lineStart < size) {
        lineFound(lineStart, size - lineStart);
    }
}

}  // namespace

QList<QByteArray> SplitRawLines(const QByteArray& bytes) {
    // Counted first: a long file's list would otherwise grow by half again.
    qsizetype count = 0;
    ForEachRawLine(bytes, [&count](qsizetype, qsizetype) { ++count; });
    QList<QByteArray> lines;
    lines.reserve(count);
    ForEachRawLine(
        bytes, [&](qsizetype start, qsizetype length) { lines.append(bytes.mid(start, length)); });
    return lines;
}

QByteArray RawLineAt(const QList<QByteArray>& lines, qsizetype index) {
    if (index < 0 || index >= lines.size()) {
        return {};
    }
    return lines.at(index);
}

}  // namespace marvoxa

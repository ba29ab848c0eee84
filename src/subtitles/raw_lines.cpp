#include "subtitles/raw_lines.h"

namespace marvoxa {

bool StartsWithUtf8Bom(const QByteArray& bytes) {
    return bytes.startsWith(QByteArrayLiteral("\xEF\xBB\xBF"));
}

QList<QByteArray> SplitRawLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype lineStart = 0;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        const char c = bytes.at(pos);
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.append(bytes.mid(lineStart, pos - lineStart));
        const bool crLf = c == '\r' && pos + 1 < size && bytes.at(pos + 1) == '\n';
        pos += crLf ? 2 : 1;
        lineStart = pos;
    }
    if (lineStart < size) {
        lines.append(bytes.mid(lineStart));
    }
    return lines;
}

QByteArray RawLineAt(const QList<QByteArray>& lines, qsizetype index) {
    if (index < 0 || index >= lines.size()) {
        return {};
    }
    return lines.at(index);
}

}  // namespace marvoxa

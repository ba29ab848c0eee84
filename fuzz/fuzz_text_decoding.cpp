// Encoding detection and decoding of arbitrary bytes in every charset's code page. The first
// byte picks the charset.
#include "subtitles/raw_lines.h"
#include "subtitles/text_decoding.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const quint8 charset = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const QList<QByteArray> lines = marvoxa::SplitRawLines(bytes);
    const marvoxa::TextEncoding encoding = marvoxa::DetectTextEncoding(bytes);
    for (const QByteArray& line : lines) {
        const QString text = marvoxa::DecodeCueText(line, encoding, charset);
        // Every byte becomes at most one UTF-16 code unit.
        if (text.size() > line.size()) {
            __builtin_trap();
        }
    }
    const auto first = marvoxa::FirstCodePageLineAmongUtf8(lines);
    return first && *first >= lines.size() ? -1 : 0;
}

#include "subtitles/integer_text.h"

#include "subtitles/subtitle_messages.h"
#include "subtitles/text_decoding.h"

#include <limits>

namespace marvoxa {

Result<qint32> IntegerFromText(const QByteArray& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos) == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == '+' || text.at(pos) == '-')) {
        negative = text.at(pos) == '-';
        ++pos;
    }
    if (pos == text.size()) {
        return NotAValidIntegerError(text);
    }
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the 32-bit range, so
    // long digit runs cannot overflow.
    const qint64 limit = negative ? -qint64(std::numeric_limits<qint32>::min())
                                  : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text.at(pos);
        if (c < '0' || c > '9') {
            return NotAValidIntegerError(text);
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return NotAValidIntegerError(text);
        }
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}

Error NotAValidIntegerError(const QByteArray& text) {
    // Quote the text as the user would see it in the file.
    const QString shown = DecodeCueText(text, DetectTextEncoding(text), kDefaultCharset);
    return Error{ErrorKind::Conversion, QString(kNotAValidIntegerMessage).arg(shown)};
}

}  // namespace marvoxa

#include "subtitles/wide_text.h"

#include <QStringDecoder>

namespace marvoxa {

namespace {

struct ByteOrderMark {
    QByteArray bytes;
    QStringConverter::Encoding encoding;
};

// UTF-32 LE first: its mark begins with the UTF-16 LE one.
const ByteOrderMark kMarks[] = {
    {QByteArrayLiteral("\xFF\xFE\x00\x00"), QStringConverter::Utf32LE},
    {QByteArrayLiteral("\x00\x00\xFE\xFF"), QStringConverter::Utf32BE},
    {QByteArrayLiteral("\xFF\xFE"), QStringConverter::Utf16LE},
    {QByteArrayLiteral("\xFE\xFF"), QStringConverter::Utf16BE},
};

// How far into a file without a mark the zero bytes are counted.
constexpr qsizetype kSniffLength = 512;

// UTF-16 without a mark: subtitle files are mostly digits, punctuation and blanks, whose high
// byte is zero. Text in any 8-bit encoding or UTF-8 holds no zero bytes at all.
std::optional<QStringConverter::Encoding> MarklessUtf16(const QByteArray& bytes) {
    const qsizetype length = std::min(bytes.size(), kSniffLength) & ~qsizetype{1};
    qsizetype zerosAtEven = 0;
    qsizetype zerosAtOdd = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (bytes.at(i) == '\0') {
            ++(i % 2 == 0 ? zerosAtEven : zerosAtOdd);
        }
    }
    const qsizetype units = length / 2;
    if (units == 0) {
        return std::nullopt;
    }
    // More than half of the units with a zero on one side only.
    if (zerosAtOdd * 2 > units && zerosAtEven * 10 < zerosAtOdd) {
        return QStringConverter::Utf16LE;
    }
    if (zerosAtEven * 2 > units && zerosAtOdd * 10 < zerosAtEven) {
        return QStringConverter::Utf16BE;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QByteArray> WideTextAsUtf8(const QByteArray& bytes) {
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.startsWith(mark.bytes)) {
            QStringDecoder decoder(mark.encoding, QStringConverter::Flag::Default);
            return QString(decoder(bytes.mid(mark.bytes.size()))).toUtf8();
        }
    }
    if (const auto encoding = MarklessUtf16(bytes)) {
        QStringDecoder decoder(*encoding, QStringConverter::Flag::Default);
        return QString(decoder(bytes)).toUtf8();
    }
    return std::nullopt;
}

}  // namespace marvoxa

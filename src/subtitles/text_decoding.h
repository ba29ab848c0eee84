#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace marvoxa {

// How the bytes of a subtitle file are to be read as text.
enum class TextEncoding {
    // A single- or double-byte Windows code page, picked by the font charset.
    Legacy,
    Utf8,
};

// GDI charset identifier used when no charset has been chosen.
inline constexpr quint8 kDefaultCharset = 1;

// Utf8 when the file began with a UTF-8 byte-order mark, or when it is valid UTF-8 and holds at
// least one multi-byte sequence; Legacy otherwise (plain ASCII reads the same either way).
TextEncoding DetectTextEncoding(const QByteArray& fileBytes, bool hadUtf8Bom = false);

// Turns a cue line's bytes into the text to draw and measure. Legacy text is converted from the
// Windows code page of the GDI charset (unknown charsets use CP1252). Bytes that cannot be
// converted become U+FFFD.
QString DecodeCueText(const QByteArray& bytes, TextEncoding encoding, quint8 charset);

}  // namespace marvoxa

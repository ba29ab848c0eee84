#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace marvoxa {

// How the bytes of a subtitle file are to be read as text.
enum class TextEncoding {
    // Not marked as UTF-8: each line is read on its own, as UTF-8 when it is valid UTF-8 with a
    // multi-byte character, otherwise in the Windows code page picked by the font charset.
    Legacy,
    // Marked (or entirely valid) UTF-8: every line is read as UTF-8.
    Utf8,
};

// GDI charset identifier used when no charset has been chosen.
inline constexpr quint8 kDefaultCharset = 1;

// Utf8 when the file began with a UTF-8 byte-order mark, or when it is valid UTF-8 and holds at
// least one multi-byte sequence; Legacy otherwise (plain ASCII reads the same either way).
TextEncoding DetectTextEncoding(const QByteArray& fileBytes, bool hadUtf8Bom = false);

// Turns a cue line's bytes into the text to draw and measure. A Legacy line that is not UTF-8 is
// converted from the Windows code page of the GDI charset (unknown charsets use CP1252). Bytes
// that cannot be converted become U+FFFD.
QString DecodeCueText(const QByteArray& bytes, TextEncoding encoding, quint8 charset);

// In a Legacy file that also holds UTF-8 lines, the index of the first line that is read in the
// code page instead (it has bytes beyond ASCII that are not valid UTF-8): one stray byte then
// shows where it is instead of turning the whole file into mojibake.
std::optional<qsizetype> FirstCodePageLineAmongUtf8(const QList<QByteArray>& lines);

}  // namespace marvoxa

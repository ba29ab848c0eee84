#pragma once

#include <QByteArray>

#include <optional>

namespace marvoxa {

// When bytes hold UTF-16 or UTF-32 text, the same text as UTF-8 without a byte-order mark;
// nothing for any other file. Recognised: a UTF-32 LE/BE or UTF-16 LE/BE byte-order mark, and
// UTF-16 without one by the zero bytes of its ASCII characters in the first lines.
std::optional<QByteArray> WideTextAsUtf8(const QByteArray& bytes);

}  // namespace marvoxa

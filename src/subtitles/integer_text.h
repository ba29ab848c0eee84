#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QtGlobal>

namespace marvoxa {

// Reads a 32-bit integer the classic way: optional leading blanks, an optional sign, then
// decimal digits and nothing else. Anything else, or a value outside 32 bits, fails with the
// conversion message quoting the text.
Result<qint32> IntegerFromText(const QByteArray& text);

// The conversion error for text that is not a valid integer.
Error NotAValidIntegerError(const QByteArray& text);

}  // namespace marvoxa

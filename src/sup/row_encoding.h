#pragma once

#include "sup/row_runs.h"

#include <QByteArray>

#include <span>

namespace marvoxa {

// Appends one row in the DVD subpicture run-length code to a field: a code for every run
// (runs longer than 255 pixels as several codes of one value), a 0 nibble when the count of
// nibbles is odd, then 00 00, which a decoder reads as "fill the rest of the line with
// background". The row starts on a byte boundary, as every row of a field does.
void AppendEncodedRow(std::span<const Run> runs, QByteArray& field);

}  // namespace marvoxa

#pragma once

#include "render/styled_line.h"
#include "render/text_options.h"

#include <QList>
#include <QStringList>

namespace marvoxa {

// The lines of one cue with their markup handled as mode says.
//   Text:   every line as it is, unstyled.
//   Strip:  SRT tags <i> <b> <u> <s> <font ...> and their closing forms (any case, closed or
//           not), ASS override blocks such as {\an8} and, with microDvdCodes, MicroDVD control
//           codes such as {y:i} or {c:$0000FF} are removed; HTML entities (&amp; &lt; &gt;
//           &quot; &apos; &nbsp; and numeric ones) are decoded. The result is one unstyled span.
//           A literal \N or \n, as ASS tools write into SRT lines, breaks the line there.
//   Render: as Strip, with the text inside <i>, <b>, <u>, <s> and after {y:...} codes in that
//           style. A tag holds until it is closed, also over the following lines of the cue;
//           a lower-case {y:...} holds to the end of its line, an upper-case {Y:...} to the end
//           of the cue. Font colours are dropped: a subtitle has only its role colours.
QList<StyledLine> ParseCueMarkup(const QStringList& lines, MarkupMode mode, bool microDvdCodes);

// The place an {\anN} override asks for, N from 1 to 9 on the numeric keypad's layout (1 is
// bottom left, 9 top right); the first one counts. 0 when the cue names none or markup is
// drawn as text.
int CuePlacement(const QStringList& lines, MarkupMode mode);

}  // namespace marvoxa

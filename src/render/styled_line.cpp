#include "render/styled_line.h"

#include <algorithm>

namespace marvoxa {

QString StyledLine::text() const {
    QString joined;
    for (const StyledSpan& span : spans) {
        joined += span.text;
    }
    return joined;
}

bool StyledLine::isPlain() const {
    return std::all_of(spans.cbegin(), spans.cend(),
                       [](const StyledSpan& span) { return span.style == FontStyle{}; });
}

StyledLine PlainLine(const QString& text) {
    StyledLine line;
    if (!text.isEmpty()) {
        line.spans.append({text, FontStyle{}});
    }
    return line;
}

FontStyle CombinedStyle(const FontStyle& base, const FontStyle& extra) {
    return FontStyle{base.bold || extra.bold, base.italic || extra.italic,
                     base.underline || extra.underline, base.strikeOut || extra.strikeOut};
}

}  // namespace marvoxa

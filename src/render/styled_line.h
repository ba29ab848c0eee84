#pragma once

#include "render/render_settings.h"

#include <QList>
#include <QString>

namespace marvoxa {

// A run of text drawn with the given styles added to the settings' style.
struct StyledSpan {
    QString text;
    FontStyle style;

    friend bool operator==(const StyledSpan&, const StyledSpan&) = default;
};

// One line of a cue as it is drawn: spans in reading order.
struct StyledLine {
    QList<StyledSpan> spans;

    // The text of all spans, without styles.
    QString text() const;
    bool isEmpty() const { return text().isEmpty(); }
    // True when no span adds a style: the line draws exactly as its text alone.
    bool isPlain() const;

    friend bool operator==(const StyledLine&, const StyledLine&) = default;
};

// A line of one unstyled span (no span at all for empty text).
StyledLine PlainLine(const QString& text);

// base with every style of extra added.
FontStyle CombinedStyle(const FontStyle& base, const FontStyle& extra);

}  // namespace marvoxa

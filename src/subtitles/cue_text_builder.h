#pragma once

#include "render/render_settings.h"
#include "render/text_options.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace marvoxa {

// Collects a cue's text as a styled reader (WebVTT, ASS) finds it, runs of plain text each in its
// style, and writes it as the lines of a cue in the SRT-like markup the markup parser reads, so
// that everything after reading treats these cues as it treats SRT.
class CueTextBuilder {
public:
    explicit CueTextBuilder(FontStyle style = {}) : style_(style) {}

    FontStyle style() const { return style_; }
    void setStyle(FontStyle style) { style_ = style; }
    // Plain text (no markup, no entities), in the current style.
    void append(QByteArrayView text);
    void breakLine() { lines_.append(Line{}); }

    // The lines for the markup mode, top line first, each trimmed of blanks at both ends; lines
    // with nothing to draw are left out, so the list is empty when no text remains.
    //   Text:          the plain text.
    //   Strip, Render: styles as <b> <i> <u> <s>, opened and closed within each line so that
    //                  any line can stand alone; "&" and "<" as entities so that they stay text;
    //                  a placement of 1 to 9 as {\anN} before the first line (0 names none).
    QList<QByteArray> lines(MarkupMode mode, int placement) const;

private:
    struct Run {
        FontStyle style;
        QByteArray text;
    };
    using Line = QList<Run>;

    FontStyle style_;
    QList<Line> lines_{Line{}};
};

}  // namespace marvoxa

#include "subtitles/cue_text_builder.h"

namespace marvoxa {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray Escaped(const QByteArray& text) {
    QByteArray escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '&') {
            escaped += "&amp;";
        } else if (c == '<') {
            escaped += "&lt;";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// Tags in a fixed order, closed in the reverse one, so that they nest.
QByteArray Tagged(const FontStyle& style, const QByteArray& text) {
    QByteArray open;
    QByteArray close;
    const auto tag = [&](bool on, const char* name) {
        if (on) {
            open += QByteArray("<") + name + '>';
            close.prepend(QByteArray("</") + name + '>');
        }
    };
    tag(style.bold, "b");
    tag(style.italic, "i");
    tag(style.underline, "u");
    tag(style.strikeOut, "s");
    return open + Escaped(text) + close;
}

}  // namespace

void CueTextBuilder::append(QByteArrayView text) {
    if (text.isEmpty()) {
        return;
    }
    Line& line = lines_.last();
    if (line.isEmpty() || !(line.last().style == style_)) {
        line.append(Run{style_, {}});
    }
    line.last().text += text;
}

QList<QByteArray> CueTextBuilder::lines(MarkupMode mode, int placement) const {
    QList<QByteArray> written;
    for (Line line : lines_) {
        // Blanks at the ends would shift a centred line; they are dropped from the outer runs.
        while (!line.isEmpty()) {
            QByteArray& first = line.first().text;
            qsizetype blanks = 0;
            while (blanks < first.size() && IsBlank(first.at(blanks))) {
                ++blanks;
            }
            first.remove(0, blanks);
            if (!first.isEmpty()) {
                break;
            }
            line.removeFirst();
        }
        while (!line.isEmpty()) {
            QByteArray& last = line.last().text;
            while (!last.isEmpty() && IsBlank(last.back())) {
                last.chop(1);
            }
            if (!last.isEmpty()) {
                break;
            }
            line.removeLast();
        }
        if (line.isEmpty()) {
            continue;
        }
        QByteArray text;
        for (const Run& run : line) {
            text += mode == MarkupMode::Text ? run.text : Tagged(run.style, run.text);
        }
        written.append(text);
    }
    if (!written.isEmpty() && mode != MarkupMode::Text && placement >= 1 && placement <= 9) {
        written.first().prepend("{\\an" + QByteArray::number(placement) + '}');
    }
    return written;
}

}  // namespace marvoxa

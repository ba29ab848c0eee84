#include "subtitles/ass_text.h"

#include "subtitles/cue_text_builder.h"

namespace marvoxa {

namespace {

// Style fields as scripts write them when they have no Format line.
const QByteArray kAssStyleFields(
    "Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, "
    "Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, "
    "Alignment, MarginL, MarginR, MarginV, Encoding");
const QByteArray kSsaStyleFields(
    "Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, BackColour, Bold, "
    "Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, AlphaLevel, "
    "Encoding");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A whole integer (an optional minus and digits), or nothing.
std::optional<int> IntegerOf(QByteArrayView text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Bold as a style field or \b gives it: -1 and 1 are bold, 0 is not, and weights (100 to 900)
// are bold from 600, as a font's weights go.
bool IsBoldValue(int value) {
    return value >= 100 ? value >= 600 : value != 0;
}

// The keypad place of an SSA alignment: 1-3 bottom left, centre, right; +4 top; +8 middle.
std::optional<int> KeypadOfSsaAlignment(int alignment) {
    const int column = alignment & 3;
    if (alignment < 1 || alignment > 11 || column == 0) {
        return std::nullopt;
    }
    return column + ((alignment & 4) != 0 ? 6 : (alignment & 8) != 0 ? 3 : 0);
}

FontStyle FontStyleOf(const AssStyle& style) {
    return FontStyle{style.bold, style.italic, style.underline, style.strikeOut};
}

// What the override tags of an event have set so far.
struct TagState {
    FontStyle font;
    std::optional<int> placement;
    // Inside {\p1}...{\p0} the text is drawing commands, not words.
    bool drawing = false;
};

// One tag without its backslash, e.g. "i1", "an8", "pos(10,20)", "rSigns".
void ApplyTag(QByteArrayView tag, const AssStyle& style, TagState& state) {
    qsizetype nameLength = 0;
    while (nameLength < tag.size() && IsLetter(tag.at(nameLength))) {
        ++nameLength;
    }
    const QByteArrayView name = tag.first(nameLength);
    const QByteArrayView argument = tag.sliced(nameLength);
    if (name.startsWith('r')) {
        // \r and \rStyleName: a named style's defaults are not known here, the event's stand in.
        state.font = FontStyleOf(style);
        return;
    }
    const std::optional<int> value = IntegerOf(argument);
    // \i1 sets, \i0 clears, a bare \i returns to the style's default.
    const auto toggle = [&](bool& field, bool styleDefault, bool on) {
        if (argument.trimmed().isEmpty()) {
            field = styleDefault;
        } else if (value) {
            field = on;
        }
    };
    const bool nonZero = value.value_or(0) != 0;
    if (name == "i") {
        toggle(state.font.italic, style.italic, nonZero);
    } else if (name == "b") {
        toggle(state.font.bold, style.bold, IsBoldValue(value.value_or(0)));
    } else if (name == "u") {
        toggle(state.font.underline, style.underline, nonZero);
    } else if (name == "s") {
        toggle(state.font.strikeOut, style.strikeOut, nonZero);
    } else if (name == "p") {
        state.drawing = value.value_or(0) > 0;
    } else if (name == "an" && !state.placement && value && *value >= 1 && *value <= 9) {
        // Players take the first placement of an event.
        state.placement = *value;
    } else if (name == "a" && !state.placement && value) {
        state.placement = KeypadOfSsaAlignment(*value);
    }
}

// The inside of one {...} block. Text before the first backslash is a comment; a backslash
// inside parentheses belongs to its tag's argument, as in \t(0,500,\fs40).
void ApplyOverrideBlock(QByteArrayView block, const AssStyle& style, TagState& state) {
    qsizetype pos = block.indexOf('\\');
    while (pos >= 0 && pos < block.size()) {
        qsizetype end = pos + 1;
        int depth = 0;
        for (; end < block.size() && (depth > 0 || block.at(end) != '\\'); ++end) {
            if (block.at(end) == '(') {
                ++depth;
            } else if (block.at(end) == ')' && depth > 0) {
                --depth;
            }
        }
        ApplyTag(block.sliced(pos + 1, end - pos - 1), style, state);
        pos = end;
    }
}

}  // namespace

QHash<QString, AssStyle> ReadAssStyles(const QList<QByteArray>& scriptLines) {
    QHash<QString, AssStyle> styles;
    enum class Section { Other, SsaStyles, AssStyles } section = Section::Other;
    AssFormat format(kAssStyleFields);
    for (const QByteArray& rawLine : scriptLines) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            const QByteArray name = line.toLower().replace(' ', "");
            section = name == "[v4styles]"                              ? Section::SsaStyles
                      : name == "[v4+styles]" || name == "[v4++styles]" ? Section::AssStyles
                                                                        : Section::Other;
            format = AssFormat(section == Section::SsaStyles ? kSsaStyleFields : kAssStyleFields);
            continue;
        }
        if (section == Section::Other) {
            continue;
        }
        if (const std::optional<QByteArray> names = AssLineValue(line, "Format")) {
            format = AssFormat(*names);
            continue;
        }
        const std::optional<QByteArray> value = AssLineValue(line, "Style");
        if (!value) {
            continue;
        }
        const QList<QByteArray> fields = SplitAssFields(*value, format.size());
        const auto number = [&](const char* name) { return IntegerOf(format.field(fields, name)); };
        AssStyle style;
        if (const std::optional<int> alignment = number("alignment")) {
            const std::optional<int> keypad = section == Section::SsaStyles
                                                  ? KeypadOfSsaAlignment(*alignment)
                                                  : std::optional<int>(*alignment);
            style.placement = keypad && *keypad >= 1 && *keypad <= 9 ? *keypad : 2;
        }
        style.italic = number("italic").value_or(0) != 0;
        style.bold = IsBoldValue(number("bold").value_or(0));
        style.underline = number("underline").value_or(0) != 0;
        style.strikeOut = number("strikeout").value_or(0) != 0;
        if (format.has("name")) {
            styles.insert(QString::fromUtf8(format.field(fields, "name").trimmed()), style);
        }
    }
    return styles;
}

AssStyle FindAssStyle(const QHash<QString, AssStyle>& styles, const QString& name) {
    for (const QString& candidate :
         {name, name.startsWith(u'*') ? name.mid(1) : name, QStringLiteral("Default")}) {
        if (const auto found = styles.constFind(candidate); found != styles.cend()) {
            return *found;
        }
    }
    return AssStyle{};
}

std::optional<QByteArray> AssLineValue(const QByteArray& line, QByteArrayView key) {
    if (line.size() <= key.size() ||
        QByteArrayView(line).first(key.size()).compare(key, Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    qsizetype pos = key.size();
    while (pos < line.size() && IsBlank(line.at(pos))) {
        ++pos;
    }
    if (pos >= line.size() || line.at(pos) != ':') {
        return std::nullopt;
    }
    ++pos;
    while (pos < line.size() && IsBlank(line.at(pos))) {
        ++pos;
    }
    return line.mid(pos);
}

AssFormat::AssFormat(const QByteArray& names) {
    const QList<QByteArray> fields = SplitAssFields(names.toLower(), -1);
    size_ = fields.size();
    for (qsizetype place = 0; place < size_; ++place) {
        // A name given twice names its first field.
        const QByteArray name = fields.at(place).trimmed();
        if (!places_.contains(name)) {
            places_.insert(name, place);
        }
    }
}

QByteArray AssFormat::field(const QList<QByteArray>& values, QByteArrayView name) const {
    const qsizetype place = places_.value(name.toByteArray(), -1);
    return place >= 0 && place < values.size() ? values.at(place) : QByteArray();
}

QList<QByteArray> SplitAssFields(const QByteArray& value, qsizetype count) {
    QList<QByteArray> fields;
    qsizetype pos = 0;
    while (count < 0 || fields.size() + 1 < count) {
        const qsizetype comma = value.indexOf(',', pos);
        if (comma < 0) {
            break;
        }
        fields.append(value.mid(pos, comma - pos).trimmed());
        pos = comma + 1;
    }
    fields.append(value.mid(pos));
    return fields;
}

QList<QByteArray> AssEventLines(const QByteArray& text, const AssStyle& style, MarkupMode mode) {
    TagState state{FontStyleOf(style), std::nullopt, false};
    CueTextBuilder builder(state.font);
    qsizetype plainStart = 0;
    const auto takePlain = [&](qsizetype end) {
        if (!state.drawing) {
            builder.append(QByteArrayView(text).sliced(plainStart, end - plainStart));
        }
    };
    // Once a "{" has no "}" after it, neither has any later one: the rest is text.
    bool blocksClosed = true;
    for (qsizetype pos = 0; pos < text.size();) {
        const char c = text.at(pos);
        if (c == '{' && blocksClosed) {
            const qsizetype close = text.indexOf('}', pos + 1);
            if (close < 0) {
                blocksClosed = false;
                continue;
            }
            takePlain(pos);
            ApplyOverrideBlock(QByteArrayView(text).sliced(pos + 1, close - pos - 1), style, state);
            builder.setStyle(state.font);
            pos = plainStart = close + 1;
            continue;
        }
        const char next = pos + 1 < text.size() ? text.at(pos + 1) : '\0';
        if (c == '\\' && (next == 'N' || next == 'n' || next == 'h')) {
            takePlain(pos);
            if (!state.drawing) {
                next == 'h' ? builder.append(" ") : builder.breakLine();
            }
            pos = plainStart = pos + 2;
            continue;
        }
        ++pos;
    }
    takePlain(text.size());
    const int placement = state.placement        ? *state.placement
                          : style.placement != 2 ? style.placement
                                                 : 0;
    return builder.lines(mode, placement);
}

}  // namespace marvoxa

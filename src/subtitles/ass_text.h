#pragma once

#include "render/text_options.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace marvoxa {

// What ASS and SSA scripts, in files and in the subtitle tracks of containers, mean for a cue's
// text: the styles of the script's header and the override tags of an event's text.

// A style's defaults for its events.
struct AssStyle {
    // Numeric-keypad numbering, 1..9 (as \an): 7 8 9 at the top, 1 2 3 at the bottom.
    int placement = 2;
    bool italic = false;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const AssStyle&, const AssStyle&) = default;
};

// The styles of a script's header: the Style lines of its [V4 Styles] or [V4+ Styles] section,
// read through the section's Format line (fields in any order, any of them left out; without a
// Format line the usual fields of the section). Keys are style names as written; SSA alignment
// (1-3 bottom, +4 top, +8 middle) becomes keypad numbering.
QHash<QString, AssStyle> ReadAssStyles(const QList<QByteArray>& scriptLines);

// The style an event names, as players find it: by its exact name, then without a leading "*",
// then "Default"; the plain defaults when the script has none of these.
AssStyle FindAssStyle(const QHash<QString, AssStyle>& styles, const QString& name);

// The value of a "Key: value" line of a script (key in any case, blanks allowed before the
// colon), without the blanks after the colon; nothing when the line is not of that key.
std::optional<QByteArray> AssLineValue(const QByteArray& line, QByteArrayView key);

// The comma-separated fields of a Format, Style or Dialogue value: at most count fields (any
// number when count is negative), the last taking the rest of the value with its commas (an
// event's text comes last). Every field but the last is trimmed of blanks.
QList<QByteArray> SplitAssFields(const QByteArray& value, qsizetype count);

// The field names of a Format line (or a section's usual ones), to find a Style or Dialogue
// line's fields by name.
class AssFormat {
public:
    // names: the Format line's value, e.g. "Name, Fontname, Alignment", in any case.
    explicit AssFormat(const QByteArray& names);

    qsizetype size() const { return size_; }
    bool has(QByteArrayView name) const { return places_.contains(name.toByteArray()); }
    // The field of values (split by SplitAssFields into size() fields) with the lower-case name;
    // empty when the format or the line has none.
    QByteArray field(const QList<QByteArray>& values, QByteArrayView name) const;

private:
    QHash<QByteArray, qsizetype> places_;
    qsizetype size_ = 0;
};

// An event's Text field (bytes of the file's encoding) as the cue's lines for the markup mode,
// top line first, in the markup the SRT lines carry:
//   - {\i1} {\b1} {\u1} {\s1} and their ends, style defaults from style, {\r} back to them;
//   - \N and \n break the line, \h is a blank;
//   - the first {\anN} or legacy {\aN} places the event, else the style's placement
//     (written only when it is not the usual bottom centre);
//   - every other tag, comments in braces, and the drawing commands while {\p} is on, removed;
//   - in Text mode plain text only, without tags or placement.
// Empty when no text remains.
QList<QByteArray> AssEventLines(const QByteArray& text, const AssStyle& style, MarkupMode mode);

}  // namespace marvoxa

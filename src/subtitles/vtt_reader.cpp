#include "subtitles/vtt_reader.h"

#include "subtitles/cue_text_builder.h"
#include "subtitles/cue_time.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <optional>

namespace marvoxa {

namespace {

// Players size cue text so that a frame holds about this many lines; "line" numbers count them.
constexpr int kLinesPerFrame = 16;
// Lines 0 to 4 from the top, about 30% of the frame, count as the top.
constexpr int kTopLines = 5;
constexpr double kTopPercent = 30;

bool IsBlankLine(const QByteArray& line) {
    return std::all_of(line.cbegin(), line.cend(), [](char c) { return c == ' ' || c == '\t'; });
}

bool IsTimingLine(const QByteArray& line) {
    return line.contains(QByteArrayLiteral("-->"));
}

bool IsDigitsLine(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && std::all_of(trimmed.cbegin(), trimmed.cend(),
                                             [](char c) { return c >= '0' && c <= '9'; });
}

bool StartsWithWord(const QByteArray& line, QByteArrayView word) {
    return line.startsWith(word) && (line.size() == word.size() || line.at(word.size()) == ' ' ||
                                     line.at(word.size()) == '\t');
}

// The keypad place that cue settings such as "line:0 align:left" ask for; 0 for the usual
// bottom centre.
int PlacementOfSettings(const QByteArray& settings) {
    bool top = false;
    int column = 2;
    for (const QByteArray& setting : settings.simplified().split(' ')) {
        const qsizetype colon = setting.indexOf(':');
        if (colon < 0) {
            continue;
        }
        const QByteArray name = setting.left(colon);
        const QByteArray value = setting.mid(colon + 1);
        if (name == "line") {
            // "line:0,start": what follows the comma aligns the cue box on the line.
            const QByteArray position = value.split(',').first();
            bool ok = false;
            if (position.endsWith('%')) {
                const double percent = position.chopped(1).toDouble(&ok);
                top = ok && percent >= 0 && percent <= kTopPercent;
            } else {
                const int line = position.toInt(&ok);
                top = ok && (line >= 0 ? line < kTopLines : kLinesPerFrame + line < kTopLines);
            }
        } else if (name == "align") {
            column = value == "left" || value == "start"  ? 1
                     : value == "right" || value == "end" ? 3
                                                          : 2;
        }
    }
    return top ? 6 + column : column == 2 ? 0 : column;
}

struct VttTiming {
    qint32 startMs = 0;
    qint32 endMs = 0;
    int placement = 0;
};

std::optional<VttTiming> ReadTimingLine(const QByteArray& line) {
    const qsizetype arrow = line.indexOf(QByteArrayLiteral("-->"));
    const QByteArray rest = line.mid(arrow + 3).trimmed();
    qsizetype blank = 0;
    while (blank < rest.size() && rest.at(blank) != ' ' && rest.at(blank) != '\t') {
        ++blank;
    }
    const std::optional<qint32> start = ReadClockTime(line.left(arrow).trimmed());
    const std::optional<qint32> end = ReadClockTime(QByteArrayView(rest).first(blank));
    if (!start || !end) {
        return std::nullopt;
    }
    return VttTiming{*start, *end, PlacementOfSettings(rest.mid(blank))};
}

// The character reference at the start of text ("&amp;", "&#233;", "&#xE9;") as UTF-8 and its
// length; nothing when text starts with none this reader knows.
std::optional<std::pair<QByteArray, qsizetype>> CharacterReference(QByteArrayView text) {
    static const QHash<QByteArray, QByteArray> kNamed{
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
        {"nbsp", " "},
        // Direction marks: the line is drawn left to right whatever they say.
        {"lrm", ""},
        {"rlm", ""},
    };
    const qsizetype semicolon = text.first(std::min<qsizetype>(text.size(), 12)).indexOf(';');
    if (semicolon < 2) {
        return std::nullopt;
    }
    const QByteArray name = text.sliced(1, semicolon - 1).toByteArray();
    if (const auto named = kNamed.constFind(name); named != kNamed.cend()) {
        return std::pair{*named, semicolon + 1};
    }
    if (!name.startsWith('#')) {
        return std::nullopt;
    }
    const bool hex = name.size() > 1 && (name.at(1) == 'x' || name.at(1) == 'X');
    bool ok = false;
    const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    const char32_t character = code;
    return std::pair{QString::fromUcs4(&character, 1).toUtf8(), semicolon + 1};
}

// The spans open in a cue's text so far; they may run over several lines.
struct OpenSpans {
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int rubyText = 0;

    void apply(QByteArrayView tag) {
        const bool closing = tag.startsWith('/');
        QByteArrayView name = tag.sliced(closing ? 1 : 0);
        for (qsizetype end = 0; end < name.size(); ++end) {
            if (name.at(end) == '.' || name.at(end) == ' ' || name.at(end) == '\t') {
                name.truncate(end);
                break;
            }
        }
        int* depth = name == "b"    ? &bold
                     : name == "i"  ? &italic
                     : name == "u"  ? &underline
                     : name == "rt" ? &rubyText
                                    : nullptr;
        if (depth != nullptr) {
            *depth = closing ? std::max(0, *depth - 1) : *depth + 1;
        }
    }
    FontStyle style() const { return FontStyle{bold > 0, italic > 0, underline > 0, false}; }
};

void AppendCueText(const QByteArray& line, CueTextBuilder& builder, OpenSpans& spans) {
    qsizetype plainStart = 0;
    const auto takePlain = [&](qsizetype end) {
        if (spans.rubyText == 0) {
            builder.append(QByteArrayView(line).sliced(plainStart, end - plainStart));
        }
    };
    // Once a "<" has no ">" after it, neither has any later one: the rest is text.
    bool tagsClosed = true;
    for (qsizetype pos = 0; pos < line.size();) {
        const char c = line.at(pos);
        if (c == '<' && tagsClosed) {
            const qsizetype close = line.indexOf('>', pos + 1);
            if (close < 0) {
                tagsClosed = false;
                continue;
            }
            takePlain(pos);
            // Timestamps, voices, classes and languages only vanish.
            spans.apply(QByteArrayView(line).sliced(pos + 1, close - pos - 1));
            builder.setStyle(spans.style());
            pos = plainStart = close + 1;
            continue;
        }
        if (c == '&') {
            if (const auto reference = CharacterReference(QByteArrayView(line).sliced(pos))) {
                takePlain(pos);
                if (spans.rubyText == 0) {
                    builder.append(reference->first);
                }
                pos = plainStart = pos + reference->second;
                continue;
            }
        }
        ++pos;
    }
    takePlain(line.size());
}

}  // namespace

CueReading ReadVttCues(const QList<QByteArray>& rawLines, MarkupMode markup) {
    CueReading reading;
    if (!StartsWithWord(RawLineAt(rawLines, 0), "WEBVTT")) {
        reading.error = Error{ErrorKind::Format, QString(kNoWebVttHeaderMessage)};
        return reading;
    }
    const auto endsText = [&rawLines](qsizetype index) {
        const QByteArray line = RawLineAt(rawLines, index);
        return index >= rawLines.size() || IsBlankLine(line) || IsTimingLine(line) ||
               (IsDigitsLine(line) && IsTimingLine(RawLineAt(rawLines, index + 1)));
    };
    // Only timing lines start something to read: the header, NOTE, STYLE and REGION blocks and
    // cue identifiers never hold "-->", so they are passed over with the blank lines.
    for (qsizetype i = 1; i < rawLines.size();) {
        if (!IsTimingLine(rawLines.at(i))) {
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (!endsText(end)) {
            ++end;
        }
        const std::optional<VttTiming> timing = ReadTimingLine(rawLines.at(i));
        if (!timing) {
            if (reading.unreadableTimingLines++ == 0) {
                reading.firstUnreadableLineNumber = i + 1;
            }
            i = end;
            continue;
        }
        CueTextBuilder builder;
        OpenSpans spans;
        for (qsizetype k = i + 1; k < end; ++k) {
            if (k > i + 1) {
                builder.breakLine();
            }
            AppendCueText(rawLines.at(k), builder, spans);
        }
        AppendTextCue(reading, timing->startMs, timing->endMs,
                      builder.lines(markup, timing->placement));
        i = end;
    }
    return reading;
}

}  // namespace marvoxa

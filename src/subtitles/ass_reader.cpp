#include "subtitles/ass_reader.h"

#include "subtitles/ass_text.h"
#include "subtitles/cue_time.h"
#include "subtitles/subtitle_messages.h"

namespace marvoxa {

namespace {

// The usual event fields: "Layer" is SSA's "Marked", at the same place.
const QByteArray kEventFields(
    "Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text");

// The fields of a Format line; the usual ones when it lacks one that a cue needs.
AssFormat EventFormat(const QByteArray& names) {
    AssFormat format(names);
    return format.has("start") && format.has("end") && format.has("text") ? format
                                                                          : AssFormat(kEventFields);
}

// Some files write the two digits of centiseconds after a third colon, "0:00:04:56", and
// players read them as "0:00:04.56".
std::optional<qint32> ReadAssTime(QByteArrayView text) {
    if (text.count(':') != 3 || text.size() - text.lastIndexOf(':') != 3) {
        return ReadClockTime(text);
    }
    QByteArray point = text.toByteArray();
    point[point.lastIndexOf(':')] = '.';
    return ReadClockTime(point);
}

}  // namespace

CueReading ReadAssCues(const QList<QByteArray>& rawLines, MarkupMode markup) {
    CueReading reading;
    const QHash<QString, AssStyle> styles = ReadAssStyles(rawLines);
    bool inEvents = false;
    bool sawEvents = false;
    AssFormat format(kEventFields);
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        const QByteArray line = rawLines.at(i).trimmed();
        if (line.startsWith('[')) {
            inEvents = line.toLower().replace(' ', "") == "[events]";
            sawEvents = sawEvents || inEvents;
            format = AssFormat(kEventFields);
            continue;
        }
        if (!inEvents) {
            continue;
        }
        if (const std::optional<QByteArray> names = AssLineValue(line, "Format")) {
            format = EventFormat(*names);
            continue;
        }
        const std::optional<QByteArray> value = AssLineValue(line, "Dialogue");
        if (!value) {
            continue;
        }
        const QList<QByteArray> fields = SplitAssFields(*value, format.size());
        const auto field = [&](const char* name) { return format.field(fields, name); };
        const std::optional<qint32> start = ReadAssTime(field("start"));
        const std::optional<qint32> end = ReadAssTime(field("end"));
        if (!start || !end) {
            if (reading.unreadableTimingLines++ == 0) {
                reading.firstUnreadableLineNumber = i + 1;
            }
            continue;
        }
        const AssStyle style = FindAssStyle(styles, QString::fromUtf8(field("style")));
        AppendTextCue(reading, *start, *end, AssEventLines(field("text"), style, markup));
    }
    if (!sawEvents) {
        reading.error = Error{ErrorKind::Format, QString(kNoAssEventsMessage)};
    }
    return reading;
}

}  // namespace marvoxa

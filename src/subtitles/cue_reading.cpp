#include "subtitles/cue_reading.h"

namespace marvoxa {

void AppendTextCue(CueReading& reading, qint32 startMs, qint32 endMs, QList<QByteArray> lines) {
    if (lines.isEmpty()) {
        if (reading.textlessCues++ == 0) {
            reading.firstTextlessStartMs = startMs;
        }
        return;
    }
    Cue cue;
    cue.startMs = startMs;
    cue.durationMs = endMs - startMs;
    cue.firstLine = lines.takeFirst();
    if (!lines.isEmpty()) {
        cue.secondLine = lines.takeFirst();
    }
    cue.displayEntry = cue.secondLine.isEmpty()
                           ? cue.firstLine
                           : cue.firstLine + QByteArrayLiteral(" | ") + cue.secondLine;
    if (!lines.isEmpty()) {
        // Held only up to the last cue that has further lines, as the SRT reader holds them.
        reading.furtherLines.resize(reading.cues.size());
        reading.furtherLines.push_back(std::move(lines));
    }
    reading.cues.push_back(std::move(cue));
}

}  // namespace marvoxa

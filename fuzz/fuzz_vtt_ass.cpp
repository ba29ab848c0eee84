// WebVTT and ASS/SSA reading of arbitrary bytes in every markup mode: never crashes, never
// reads out of bounds, never hangs, and every cue it keeps has text.
#include "subtitles/ass_reader.h"
#include "subtitles/raw_lines.h"
#include "subtitles/vtt_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> lines = marvoxa::SplitRawLines(bytes);
    for (const marvoxa::MarkupMode mode :
         {marvoxa::MarkupMode::Text, marvoxa::MarkupMode::Strip, marvoxa::MarkupMode::Render}) {
        for (const marvoxa::CueReading& reading :
             {marvoxa::ReadVttCues(lines, mode), marvoxa::ReadAssCues(lines, mode)}) {
            for (const marvoxa::Cue& cue : reading.cues) {
                if (cue.firstLine.isEmpty()) {
                    __builtin_trap();
                }
            }
            if (reading.cues.size() > static_cast<size_t>(lines.size())) {
                return -1;
            }
        }
    }
    return 0;
}

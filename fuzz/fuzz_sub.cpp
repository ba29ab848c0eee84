// SUB/TXT reading of arbitrary bytes: never crashes, never reads out of bounds.
#include "subtitles/raw_lines.h"
#include "subtitles/sub_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const marvoxa::CueReading reading = marvoxa::ReadSubCues(marvoxa::SplitRawLines(bytes));
    return reading.cues.size() > size ? -1 : 0;
}

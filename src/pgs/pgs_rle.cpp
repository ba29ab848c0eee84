#include "pgs/pgs_rle.h"

#include <algorithm>
#include <span>

namespace marvoxa {

namespace {

// One run at out, which moves past it. Codes: CC one pixel; 00 0L (L < 64) or 00 4L LL
// transparent pixels; 00 8L CC or 00 CL LL CC pixels of colour CC; a run of two is shorter as
// two single pixels.
void PutRun(char*& out, std::uint8_t index, std::uint32_t length) {
    if (index != 0 && length <= 2) {
        *out++ = static_cast<char>(index);
        if (length == 2) {
            *out++ = static_cast<char>(index);
        }
        return;
    }
    *out++ = 0;
    const std::uint32_t colourFlag = index != 0 ? 0x80 : 0;
    if (length < 64) {
        *out++ = static_cast<char>(colourFlag | length);
    } else {
        *out++ = static_cast<char>(colourFlag | 0x40 | length >> 8);
        *out++ = static_cast<char>(length & 0xff);
    }
    if (index != 0) {
        *out++ = static_cast<char>(index);
    }
}

}  // namespace

QByteArray EncodeObjectRuns(const std::uint32_t* runs, size_t count,
                            const std::vector<std::uint8_t>& indexOf) {
    // At most four bytes a run, two closing a row.
    thread_local std::vector<char> buffer;
    buffer.resize(std::max(buffer.size(), count * 4));
    char* out = buffer.data();
    std::uint32_t length = 0;
    std::uint8_t index = 0;
    for (const std::uint32_t run : std::span(runs, count)) {
        if (run == 0) {
            PutRun(out, index, length);
            *out++ = 0;
            *out++ = 0;
            length = 0;
            continue;
        }
        const std::uint8_t runIndex = indexOf[run >> 16];
        if (length != 0 && runIndex != index) {
            PutRun(out, index, length);
            length = 0;
        }
        index = runIndex;
        length += run & 0xffff;
    }
    return QByteArray(buffer.data(), out - buffer.data());
}

}  // namespace marvoxa

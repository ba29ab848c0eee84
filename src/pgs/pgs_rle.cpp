#include "pgs/pgs_rle.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

namespace marvoxa {

namespace {

// One run at out, which moves past it. Codes: CC one pixel; 00 0L (L < 64) or 00 4L LL
// transparent pixels; 00 8L CC or 00 CL LL CC pixels of colour CC; a run of two is shorter as
// two single pixels. Four bytes are always stored, the code chosen without a branch: runs of
// smoothing are short and of every kind in turn.
[[gnu::always_inline]] inline char* PutRun(char* out, std::uint32_t index, std::uint32_t length) {
    // All ones or all zeros: the choices are masks, not branches.
    const std::uint32_t colour = 0u - static_cast<std::uint32_t>(index != 0);
    const std::uint32_t wide = 0u - static_cast<std::uint32_t>(length >= 64);
    const std::uint32_t pixels = colour & (0u - static_cast<std::uint32_t>(length <= 2));
    const std::uint32_t lengthBytes =
        (wide & ((0x40 | length >> 8) | (length & 0xff) << 8)) | (~wide & (length | index << 8));
    const std::uint32_t coded = ((colour & 0x80) | lengthBytes) << 8 | index << 24;
    const std::uint32_t bytes = (pixels & index * 0x0101) | (~pixels & coded);
    const std::uint32_t size = (pixels & length) | (~pixels & (2 + (wide & 1) + (colour & 1)));
    // Little-endian order: the first byte of the code is the lowest.
    const std::array<char, 4> code{static_cast<char>(bytes), static_cast<char>(bytes >> 8),
                                   static_cast<char>(bytes >> 16), static_cast<char>(bytes >> 24)};
    std::memcpy(out, code.data(), code.size());
    return out + size;
}

}  // namespace

QByteArray EncodeObjectRuns(const std::uint32_t* runs, size_t count,
                            const std::vector<std::uint8_t>& indexOf) {
    // At most four bytes a run, two closing a row, and room for the last four stored.
    thread_local std::vector<char> buffer;
    buffer.resize(std::max(buffer.size(), count * 4 + 4));
    char* out = buffer.data();
    std::uint32_t length = 0;
    std::uint8_t index = 0;
    for (const std::uint32_t run : std::span(runs, count)) {
        if (run == 0) {
            out = PutRun(out, index, length);
            *out++ = 0;
            *out++ = 0;
            length = 0;
            continue;
        }
        const std::uint8_t runIndex = indexOf[run >> 16];
        if (length != 0 && runIndex != index) {
            out = PutRun(out, index, length);
            length = 0;
        }
        index = runIndex;
        length += run & 0xffff;
    }
    return QByteArray(buffer.data(), out - buffer.data());
}

}  // namespace marvoxa

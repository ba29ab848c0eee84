#include "sup/row_runs.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace marvoxa {

namespace {

constexpr int kBytesPerPixel = 3;

QRgb ColourAt(const uchar* rgbRow, int column) {
    const uchar* pixel = rgbRow + column * kBytesPerPixel;
    return qRgb(pixel[0], pixel[1], pixel[2]);
}

std::uint64_t Load64(const uchar* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Bits set where the eight bytes at `bytes` differ from the eight bytes one pixel earlier.
std::uint64_t DifferenceFromPreviousPixel(const uchar* bytes) {
    return Load64(bytes) ^ Load64(bytes - kBytesPerPixel);
}

// The first column in [from, to) whose colour differs from the column before it, or `to`.
// A pixel differs from its left neighbour exactly when one of its bytes differs from the
// byte three places earlier, so eight bytes are compared at once: most of a row is long
// stretches of frame blue.
int NextColourChange(const uchar* rgbRow, int from, int to) {
    int byte = from * kBytesPerPixel;
    const int end = to * kBytesPerPixel;
    for (; byte + 8 <= end; byte += 8) {
        if (const std::uint64_t difference = DifferenceFromPreviousPixel(rgbRow + byte)) {
            const int firstDifferentByte = std::endian::native == std::endian::little
                                               ? std::countr_zero(difference) / 8
                                               : std::countl_zero(difference) / 8;
            return (byte + firstDifferentByte) / kBytesPerPixel;
        }
    }
    for (; byte < end; ++byte) {
        if (rgbRow[byte] != rgbRow[byte - kBytesPerPixel]) {
            return byte / kBytesPerPixel;
        }
    }
    return to;
}

}  // namespace

void BuildRowRuns(std::span<const uchar> rgbRow, const RoleColours& roles, RowRuns& runs) {
    const int width = static_cast<int>(rgbRow.size()) / kBytesPerPixel;
    Q_ASSERT(width >= 3);
    const uchar* row = rgbRow.data();
    const int lastColumn = width - 1;  // never read

    // Column 0 belongs to column 1's run: the first shown pixel is column 1.
    runs.clear();
    runs.reserve(lastColumn - 1);  // at most a run for every column shown
    int runStart = 1;
    while (runStart < lastColumn) {
        const int runEnd = NextColourChange(row, runStart + 1, lastColumn);
        runs.push_back({runEnd - runStart, ClassifyPixel(ColourAt(row, runStart), roles)});
        runStart = runEnd;
    }
    // The last run also fills the place of the column that is never read.
    runs.back().length += 1;
}

RowRuns BuildRowRuns(std::span<const uchar> rgbRow, const RoleColours& roles) {
    RowRuns runs;
    BuildRowRuns(rgbRow, roles, runs);
    return runs;
}

}  // namespace marvoxa

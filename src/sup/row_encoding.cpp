#include "sup/row_encoding.h"

#include <cstdint>

namespace marvoxa {

namespace {

// The longest run a single code can hold.
constexpr int kLongestCodedRun = 255;
constexpr int kLongestCodeBytes = 2;
constexpr int kEndOfLineBytes = 2;

// Packs codes into bytes, most significant nibble first, into room reserved beforehand.
// Nibbles gather in a word and go out four bytes at a time.
class NibbleWriter {
public:
    explicit NibbleWriter(char* start) : next_(start) {}

    void Write(unsigned value, int nibbles) {
        pending_ = pending_ << (4 * nibbles) | value;
        pendingNibbles_ += nibbles;
        if (pendingNibbles_ >= 8) {
            pendingNibbles_ -= 8;
            WriteBytes(pending_ >> (4 * pendingNibbles_), 4);
        }
    }

    // Past the last byte; an odd nibble left over goes out with a 0 nibble for padding.
    char* Finish() {
        const int bytes = (pendingNibbles_ + 1) / 2;
        WriteBytes(pending_ << (4 * (2 * bytes - pendingNibbles_)), bytes);
        pendingNibbles_ = 0;
        return next_;
    }

private:
    // The low `count` bytes of `word`, most significant first.
    void WriteBytes(std::uint64_t word, int count) {
        for (int index = count - 1; index >= 0; --index) {
            *next_++ = static_cast<char>(word >> (8 * index));
        }
    }

    char* next_;
    std::uint64_t pending_ = 0;  // the low 4 * pendingNibbles_ bits are still to be written
    int pendingNibbles_ = 0;
};

// A run of 1 to 255 pixels is the number n * 4 + c in as few nibbles as its form allows:
//   n   1 -   3: n n c c
//   n   4 -  15: 0 0 n n  n n c c
//   n  16 -  63: 0 0 0 0  n n n n  n n c c
//   n  64 - 255: 0 0 0 0  0 0 n n  n n n n  n n c c
void WriteCode(NibbleWriter& writer, int length, ColourValue value) {
    Q_ASSERT(length >= 1 && length <= kLongestCodedRun);
    const int nibbles = 1 + (length >= 4) + (length >= 16) + (length >= 64);
    writer.Write(static_cast<unsigned>(length * 4 + static_cast<int>(value)), nibbles);
}

}  // namespace

void AppendEncodedRow(std::span<const Run> runs, QByteArray& field) {
    qsizetype codes = 0;
    for (const Run& run : runs) {
        codes += (run.length + kLongestCodedRun - 1) / kLongestCodedRun;
    }
    const qsizetype rowStart = field.size();
    field.resize(rowStart + codes * kLongestCodeBytes + kEndOfLineBytes);

    NibbleWriter writer(field.data() + rowStart);
    for (const Run& run : runs) {
        int left = run.length;
        while (left > kLongestCodedRun) {
            WriteCode(writer, kLongestCodedRun, run.value);
            left -= kLongestCodedRun;
        }
        WriteCode(writer, left, run.value);
    }
    // End of line: 0 0 0 0  0 0 0 0  0 0 0 0  0 0 c c with c = 0.
    char* end = writer.Finish();
    *end++ = 0;
    *end++ = 0;
    field.truncate(end - field.constData());
}

}  // namespace marvoxa

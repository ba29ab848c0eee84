#pragma once

#include "sup/row_runs.h"

#include <QByteArray>

#include <cstdint>
#include <span>

namespace marvoxa {

// Appends one row in the DVD subpicture run-length code to a field: a code for every run
// (runs longer than 255 pixels as several codes of one value), a 0 nibble when the count of
// nibbles is odd, then 00 00, which a decoder reads as "fill the rest of the line with
// background". The row starts on a byte boundary, as every row of a field does.
void AppendEncodedRow(std::span<const Run> runs, QByteArray& field);

// The same, run by run, for a caller that finds the runs as it scans the row. Inline: it is
// called for every run of every row.
class RowEncoder {
public:
    // Reserves room at the end of field for a row whose runs add up to at most `pixels`.
    RowEncoder(QByteArray& field, int pixels) : field_(field), rowStart_(field.size()) {
        // Every run takes one code of at most two bytes per 255 pixels, or per pixel.
        field_.resize(rowStart_ + 2 * (pixels + 2) + kEndOfLineBytes);
        next_ = field_.data() + rowStart_;
    }

    void addRun(int length, ColourValue value) {
        while (length > kLongestCodedRun) {
            writeCode(kLongestCodedRun, value);
            length -= kLongestCodedRun;
        }
        writeCode(length, value);
    }

    // An odd nibble left over goes out with a 0 nibble for padding, then the end of line
    // 0 0 0 0  0 0 0 0  0 0 0 0  0 0 c c with c = 0.
    void finish() {
        const int bytes = (pendingNibbles_ + 1) / 2;
        writeBytes(pending_ << (4 * (2 * bytes - pendingNibbles_)), bytes);
        *next_++ = 0;
        *next_++ = 0;
        field_.truncate(next_ - field_.constData());
    }

private:
    static constexpr int kLongestCodedRun = 255;
    static constexpr int kEndOfLineBytes = 2;

    // A run of 1 to 255 pixels is the number n * 4 + c in as few nibbles as its form allows:
    //   n   1 -   3: n n c c
    //   n   4 -  15: 0 0 n n  n n c c
    //   n  16 -  63: 0 0 0 0  n n n n  n n c c
    //   n  64 - 255: 0 0 0 0  0 0 n n  n n n n  n n c c
    void writeCode(int length, ColourValue value) {
        Q_ASSERT(length >= 1 && length <= kLongestCodedRun);
        const int nibbles = 1 + (length >= 4) + (length >= 16) + (length >= 64);
        pending_ =
            pending_ << (4 * nibbles) | static_cast<unsigned>(length * 4 + static_cast<int>(value));
        pendingNibbles_ += nibbles;
        // Nibbles gather in a word and go out four bytes at a time, most significant first.
        if (pendingNibbles_ >= 8) {
            pendingNibbles_ -= 8;
            writeBytes(pending_ >> (4 * pendingNibbles_), 4);
        }
    }

    // The low `count` bytes of `word`, most significant first.
    void writeBytes(std::uint64_t word, int count) {
        for (int index = count - 1; index >= 0; --index) {
            *next_++ = static_cast<char>(word >> (8 * index));
        }
    }

    QByteArray& field_;
    qsizetype rowStart_;
    char* next_;
    std::uint64_t pending_ = 0;  // the low 4 * pendingNibbles_ bits are still to be written
    int pendingNibbles_ = 0;
};

}  // namespace marvoxa

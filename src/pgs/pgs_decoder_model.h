#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace marvoxa {

// What a Blu-ray player's presentation graphics decoder can do, in 90 kHz ticks: it fills the
// graphics plane at 256 Mbit/s, decodes objects at 128 Mbit/s (8-bit pixels), and holds the
// decoded objects of a display set in a 4 MiB buffer. A display set must be decoded whole
// between its decoding time stamp and its presentation time stamp.
inline constexpr qint64 kObjectBufferBytes = 4 * 1024 * 1024;
inline constexpr int kMaxObjectsPerComposition = 2;

namespace detail {
inline qint64 TicksFor(qint64 pixels, qint64 bytesPerSecond) {
    return (pixels * 90000 + bytesPerSecond - 1) / bytesPerSecond;
}
}  // namespace detail

// Clearing the whole graphics plane, as an epoch start does.
inline qint64 PlaneInitialisationTicks(QSize video) {
    return detail::TicksFor(qint64{video.width()} * video.height(), 32'000'000);
}

inline qint64 ObjectDecodingTicks(QSize object) {
    return detail::TicksFor(qint64{object.width()} * object.height(), 16'000'000);
}

// Drawing or clearing one window of the plane.
inline qint64 WindowTransferTicks(const QRect& window) {
    return detail::TicksFor(qint64{window.width()} * window.height(), 32'000'000);
}

}  // namespace marvoxa

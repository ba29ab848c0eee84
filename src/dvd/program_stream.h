#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace marvoxa {

// DVD video is an MPEG-2 program stream of 2048-byte packs, each starting with a 14-byte pack
// header that holds the system clock reference (SCR) and the program's mux rate.
inline constexpr int kPackSize = 2048;
inline constexpr int kPackHeaderSize = 14;

// The SCR on the 27 MHz system clock: 300 times the 90 kHz base plus the extension.
qint64 PackScr(const uchar* pack);
void SetPackScr(uchar* pack, qint64 scr27MHz);

// The mux rate in units of 50 bytes a second; 0 when the pack header is not MPEG-2.
quint32 PackMuxRate(const uchar* pack);

// How long one pack takes to arrive at the mux rate, on the 27 MHz clock, rounded up.
qint64 PackDuration27MHz(quint32 muxRate);

// The PES packets of private stream 1 that carry one subpicture unit of sub-stream
// 0x20 + stream, each in a 2048-byte pack with the given mux rate and an SCR of 0 (set it where
// the pack is placed). The first carries the presentation time; the last is filled up with a
// padding packet, or with header stuffing when too little room is left for one.
QList<QByteArray> SubpicturePacks(const QByteArray& unit, int stream, qint64 pts90kHz,
                                  quint32 muxRate);

}  // namespace marvoxa

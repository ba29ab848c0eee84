#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace marvoxa {

// The size of every pack of a VobSub .sub file, as on a DVD.
inline constexpr int kPackSize = 2048;

// One subpicture unit as a VobSub .sub file carries it: MPEG-2 program stream packs of
// kPackSize bytes, each holding one private stream 1 packet of sub-stream 0x20 + track (0x20:
// the first subtitle stream); the first packet carries the presentation time (90 kHz ticks), the
// last pack is filled up with a padding packet.
QByteArray VobSubPacks(QByteArrayView unit, qint64 presentationTime, int track = 0);

}  // namespace marvoxa

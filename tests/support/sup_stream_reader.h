#pragma once

#include <QByteArray>
#include <QList>

namespace marvoxa::test {

// One packet of a SUP stream as a player sees it.
struct SupStreamPacket {
    qint64 presentationTime = 0;  // 90 kHz ticks
    QByteArray unit;              // the subpicture unit, its size field first
};

// Splits a stream into its packets; fails the current test on anything malformed.
QList<SupStreamPacket> ReadSupStream(const QByteArray& stream);

}  // namespace marvoxa::test

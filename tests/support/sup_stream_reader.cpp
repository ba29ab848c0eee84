#include "sup_stream_reader.h"

#include <gtest/gtest.h>

namespace marvoxa::test {

QList<SupStreamPacket> ReadSupStream(const QByteArray& stream) {
    QList<SupStreamPacket> packets;
    qsizetype position = 0;
    const auto byte = [&](qsizetype at) { return static_cast<quint8>(stream[at]); };
    while (position < stream.size()) {
        if (stream.size() - position < 12) {
            ADD_FAILURE() << "truncated packet header at byte " << position;
            break;
        }
        EXPECT_EQ(stream.mid(position, 2), QByteArrayLiteral("SP")) << "at byte " << position;
        const quint32 ticks = byte(position + 2) | byte(position + 3) << 8 |
                              byte(position + 4) << 16 |
                              static_cast<quint32>(byte(position + 5)) << 24;
        for (int i = 6; i < 10; ++i) {
            EXPECT_EQ(byte(position + i), 0) << "second header word at byte " << position;
        }
        const int unitSize = byte(position + 10) << 8 | byte(position + 11);
        if (stream.size() - position - 10 < unitSize) {
            ADD_FAILURE() << "truncated unit at byte " << position;
            break;
        }
        packets.append({static_cast<qint32>(ticks), stream.mid(position + 10, unitSize)});
        position += 10 + unitSize;
    }
    return packets;
}

}  // namespace marvoxa::test

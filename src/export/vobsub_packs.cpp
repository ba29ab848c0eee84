#include "export/vobsub_packs.h"

namespace marvoxa {

namespace {

constexpr int kPackHeaderSize = 14;
constexpr int kPesHeaderSize = 9;  // start code, stream id, length, two flag bytes, length
constexpr int kPtsSize = 5;
constexpr int kFirstSubStreamId = 0x20;  // the first DVD subtitle stream
constexpr int kSmallestPadding = 6;      // a padding packet's own header
// DVD's mux rate, 10.08 Mbit/s, in units of 50 bytes per second.
constexpr int kMuxRate = 25200;

void AppendWord(QByteArray& bytes, int word) {
    bytes += static_cast<char>((word >> 8) & 0xff);
    bytes += static_cast<char>(word & 0xff);
}

// 0100 0 ... : the MPEG-2 pack header with its system clock reference set to time.
void AppendPackHeader(QByteArray& pack, qint64 time) {
    pack += QByteArrayView("\x00\x00\x01\xba", 4);
    // '01' SCR[32..30] 1 SCR[29..28] | SCR[27..20] | SCR[19..15] 1 SCR[14..13] | SCR[12..5] |
    // SCR[4..0] 1 ext[8..7] | ext[6..0] 1, with the extension 0.
    pack += static_cast<char>(0x44 | ((time >> 27) & 0x38) | ((time >> 28) & 0x03));
    pack += static_cast<char>((time >> 20) & 0xff);
    pack += static_cast<char>(((time >> 12) & 0xf8) | 0x04 | ((time >> 13) & 0x03));
    pack += static_cast<char>((time >> 5) & 0xff);
    pack += static_cast<char>(((time << 3) & 0xf8) | 0x04);
    pack += static_cast<char>(0x01);
    // mux rate (22 bits), two marker bits, then 5 reserved bits and no stuffing
    pack += static_cast<char>((kMuxRate >> 14) & 0xff);
    pack += static_cast<char>((kMuxRate >> 6) & 0xff);
    pack += static_cast<char>(((kMuxRate << 2) & 0xfc) | 0x03);
    pack += static_cast<char>(0xf8);
}

// 0010 PTS[32..30] 1 | PTS[29..22] | PTS[21..15] 1 | PTS[14..7] | PTS[6..0] 1
void AppendPts(QByteArray& pack, qint64 time) {
    pack += static_cast<char>(0x21 | ((time >> 29) & 0x0e));
    pack += static_cast<char>((time >> 22) & 0xff);
    pack += static_cast<char>(((time >> 14) & 0xfe) | 0x01);
    pack += static_cast<char>((time >> 7) & 0xff);
    pack += static_cast<char>(((time << 1) & 0xfe) | 0x01);
}

}  // namespace

QByteArray VobSubPacks(QByteArrayView unit, qint64 presentationTime, int track) {
    QByteArray packs;
    qsizetype sent = 0;
    bool first = true;
    while (first || sent < unit.size()) {
        QByteArray pack;
        pack.reserve(kPackSize);
        AppendPackHeader(pack, presentationTime);
        const int timeSize = first ? kPtsSize : 0;
        const qsizetype room = kPackSize - kPackHeaderSize - kPesHeaderSize - timeSize - 1;
        const qsizetype payload = std::min(room, unit.size() - sent);
        const qsizetype left = room - payload;
        // A gap too small for a padding packet is filled by stuffing bytes in this header.
        const int stuffing = left < kSmallestPadding ? static_cast<int>(left) : 0;
        const int headerDataSize = timeSize + stuffing;

        pack += QByteArrayView("\x00\x00\x01\xbd", 4);
        AppendWord(pack, static_cast<int>(3 + headerDataSize + 1 + payload));
        pack += static_cast<char>(0x81);                 // '10', not scrambled, original
        pack += static_cast<char>(first ? 0x80 : 0x00);  // PTS present or not
        pack += static_cast<char>(headerDataSize);
        if (first) {
            AppendPts(pack, presentationTime);
        }
        pack += QByteArray(stuffing, static_cast<char>(0xff));
        pack += static_cast<char>(kFirstSubStreamId + track);
        pack += unit.sliced(sent, payload);
        sent += payload;

        if (const qsizetype padding = kPackSize - pack.size(); padding > 0) {
            pack += QByteArrayView("\x00\x00\x01\xbe", 4);
            AppendWord(pack, static_cast<int>(padding - kSmallestPadding));
            pack += QByteArray(padding - kSmallestPadding, static_cast<char>(0xff));
        }
        packs += pack;
        first = false;
    }
    return packs;
}

}  // namespace marvoxa

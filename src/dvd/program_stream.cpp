#include "dvd/program_stream.h"

#include <QList>

#include <algorithm>

namespace marvoxa {

namespace {

constexpr uchar kPrivateStream1 = 0xbd;
constexpr uchar kPaddingStream = 0xbe;
// Start code, stream id and packet length.
constexpr int kPesStartSize = 6;
// The flags, the header data length, the presentation time and the sub-stream id.
constexpr int kPtsSize = 5;

void WritePackHeader(uchar* pack, quint32 muxRate, int stuffing) {
    pack[0] = 0;
    pack[1] = 0;
    pack[2] = 1;
    pack[3] = 0xba;
    SetPackScr(pack, 0);
    pack[10] = static_cast<uchar>(muxRate >> 14);
    pack[11] = static_cast<uchar>(muxRate >> 6);
    pack[12] = static_cast<uchar>((muxRate << 2) | 3);
    pack[13] = static_cast<uchar>(0xf8 | stuffing);
}

void WritePesStart(uchar* at, uchar streamId, int packetLength) {
    at[0] = 0;
    at[1] = 0;
    at[2] = 1;
    at[3] = streamId;
    at[4] = static_cast<uchar>(packetLength >> 8);
    at[5] = static_cast<uchar>(packetLength);
}

//   0010 PTS[32..30] 1 | PTS[29..15] 1 | PTS[14..0] 1
void WritePts(uchar* at, qint64 pts) {
    at[0] = static_cast<uchar>(0x21 | ((pts >> 29) & 0x0e));
    at[1] = static_cast<uchar>(pts >> 22);
    at[2] = static_cast<uchar>(((pts >> 14) & 0xfe) | 1);
    at[3] = static_cast<uchar>(pts >> 7);
    at[4] = static_cast<uchar>(((pts << 1) & 0xfe) | 1);
}

}  // namespace

qint64 PackScr(const uchar* pack) {
    const uchar* s = pack + 4;
    const qint64 base = (qint64{s[0] & 0x38} << 27) | (qint64{s[0] & 0x03} << 28) |
                        (qint64{s[1]} << 20) | (qint64{s[2] & 0xf8} << 12) |
                        (qint64{s[2] & 0x03} << 13) | (qint64{s[3]} << 5) | (s[4] >> 3);
    const int extension = ((s[4] & 0x03) << 7) | (s[5] >> 1);
    return base * 300 + extension;
}

//   01 SCR[32..30] 1 SCR[29..28] | SCR[27..20] | SCR[19..15] 1 SCR[14..13] | SCR[12..5] |
//   SCR[4..0] 1 EXT[8..7] | EXT[6..0] 1
void SetPackScr(uchar* pack, qint64 scr27MHz) {
    const qint64 base = scr27MHz / 300;
    const int extension = static_cast<int>(scr27MHz % 300);
    uchar* s = pack + 4;
    s[0] = static_cast<uchar>(0x44 | ((base >> 27) & 0x38) | ((base >> 28) & 0x03));
    s[1] = static_cast<uchar>(base >> 20);
    s[2] = static_cast<uchar>(((base >> 12) & 0xf8) | 0x04 | ((base >> 13) & 0x03));
    s[3] = static_cast<uchar>(base >> 5);
    s[4] = static_cast<uchar>(((base << 3) & 0xf8) | 0x04 | ((extension >> 7) & 0x03));
    s[5] = static_cast<uchar>(((extension << 1) & 0xfe) | 1);
}

quint32 PackMuxRate(const uchar* pack) {
    if ((pack[4] & 0xc0) != 0x40) {
        return 0;
    }
    return (quint32{pack[10]} << 14) | (quint32{pack[11]} << 6) | (pack[12] >> 2);
}

qint64 PackDuration27MHz(quint32 muxRate) {
    const qint64 bytesPerSecond = qint64{muxRate} * 50;
    return (qint64{kPackSize} * 27'000'000 + bytesPerSecond - 1) / bytesPerSecond;
}

QList<QByteArray> SubpicturePacks(const QByteArray& unit, int stream, qint64 pts90kHz,
                                  quint32 muxRate) {
    QList<QByteArray> packs;
    qsizetype sent = 0;
    while (sent < unit.size() || packs.isEmpty()) {
        QByteArray pack(kPackSize, '\0');
        auto* bytes = reinterpret_cast<uchar*>(pack.data());
        WritePackHeader(bytes, muxRate, 0);
        const bool first = packs.isEmpty();
        const int headerData = first ? kPtsSize : 0;
        // Flags, header data length, header data, then the sub-stream id before the payload.
        const int fixed = kPesStartSize + 3 + headerData + 1;
        const int room = kPackSize - kPackHeaderSize - fixed;
        const int payload = static_cast<int>(std::min<qsizetype>(room, unit.size() - sent));
        const int left = room - payload;
        // Less than a padding packet's header left over goes into the PES header as stuffing.
        const int stuffing = left > 0 && left < kPesStartSize ? left : 0;
        const int pesLength = 3 + headerData + stuffing + 1 + payload;
        uchar* pes = bytes + kPackHeaderSize;
        WritePesStart(pes, kPrivateStream1, pesLength);
        pes[6] = 0x81;  // MPEG-2 marker bits, not scrambled, original
        pes[7] = first ? 0x80 : 0x00;
        pes[8] = static_cast<uchar>(headerData + stuffing);
        uchar* at = pes + 9;
        if (first) {
            WritePts(at, pts90kHz);
            at += kPtsSize;
        }
        std::fill_n(at, stuffing, 0xff);
        at += stuffing;
        *at++ = static_cast<uchar>(0x20 + stream);
        std::copy_n(unit.constData() + sent, payload, at);
        at += payload;
        sent += payload;
        if (const int padding = left - stuffing; padding > 0) {
            WritePesStart(at, kPaddingStream, padding - kPesStartSize);
            std::fill_n(at + kPesStartSize, padding - kPesStartSize, 0xff);
        }
        packs.append(pack);
    }
    return packs;
}

}  // namespace marvoxa

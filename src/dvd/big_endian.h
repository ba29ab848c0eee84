#pragma once

#include <QtGlobal>

namespace marvoxa {

// IFO tables and NAV packs store their numbers big-endian.
inline quint16 ReadBigEndian16(const uchar* at) {
    return static_cast<quint16>(at[0] << 8 | at[1]);
}

inline quint32 ReadBigEndian32(const uchar* at) {
    return quint32{at[0]} << 24 | quint32{at[1]} << 16 | quint32{at[2]} << 8 | at[3];
}

inline void WriteBigEndian16(uchar* at, quint16 value) {
    at[0] = static_cast<uchar>(value >> 8);
    at[1] = static_cast<uchar>(value);
}

inline void WriteBigEndian32(uchar* at, quint32 value) {
    at[0] = static_cast<uchar>(value >> 24);
    at[1] = static_cast<uchar>(value >> 16);
    at[2] = static_cast<uchar>(value >> 8);
    at[3] = static_cast<uchar>(value);
}

}  // namespace marvoxa

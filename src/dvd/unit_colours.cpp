#include "dvd/unit_colours.h"

#include "dvd/big_endian.h"

#include <functional>

namespace marvoxa {
namespace {

constexpr uchar kSetColour = 0x03;
constexpr uchar kChangeColourContrast = 0x07;
constexpr uchar kEnd = 0xff;

// The bytes each command takes after its code; -1 for one of variable size.
int ArgumentBytes(uchar command) {
    switch (command) {
        case 0x00:
        case 0x01:
        case 0x02:
            return 0;
        case 0x03:
        case 0x04:
            return 2;
        case 0x05:
            return 6;
        case 0x06:
            return 4;
        default:
            return -1;
    }
}

// Calls visit with the place of the two argument bytes of every SET_COLOR command of the unit's
// control sequences, walking the chain of sequences until it ends or leaves the unit.
void ForEachSetColour(QByteArray& unit, const std::function<void(uchar*)>& visit) {
    auto* bytes = reinterpret_cast<uchar*>(unit.data());
    const qsizetype size = unit.size();
    if (size < 4) {
        return;
    }
    qsizetype sequence = ReadBigEndian16(bytes + 2);
    for (int sequences = 0; sequences < 256 && sequence + 4 <= size; ++sequences) {
        const qsizetype next = ReadBigEndian16(bytes + sequence + 2);
        qsizetype at = sequence + 4;
        while (at < size && bytes[at] != kEnd) {
            const uchar command = bytes[at++];
            if (command == kSetColour && at + 2 <= size) {
                visit(bytes + at);
            }
            int arguments = ArgumentBytes(command);
            if (command == kChangeColourContrast && at + 2 <= size) {
                arguments = ReadBigEndian16(bytes + at);
            }
            if (arguments < 0) {
                break;  // unknown: the rest of the sequence cannot be read
            }
            at += arguments;
        }
        if (next == sequence) {
            break;
        }
        sequence = next;
    }
}

}  // namespace

quint16 UnitColourEntries(const QByteArray& unit) {
    QByteArray copy = unit;
    quint16 entries = 0;
    ForEachSetColour(copy, [&](uchar* at) {
        for (const int entry : {at[0] >> 4, at[0] & 15, at[1] >> 4, at[1] & 15}) {
            entries |= static_cast<quint16>(1u << entry);
        }
    });
    return entries;
}

QByteArray RemapUnitColours(QByteArray unit, const std::array<int, 16>& entryFor) {
    ForEachSetColour(unit, [&](uchar* at) {
        for (int i = 0; i < 2; ++i) {
            at[i] = static_cast<uchar>(entryFor[at[i] >> 4] << 4 | entryFor[at[i] & 15]);
        }
    });
    return unit;
}

}  // namespace marvoxa

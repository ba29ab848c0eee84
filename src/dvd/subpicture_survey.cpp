#include "dvd/subpicture_survey.h"

#include "dvd/big_endian.h"
#include "dvd/unit_colours.h"

namespace marvoxa {

namespace {

constexpr uchar kPrivateStream1 = 0xbd;
constexpr int kFirstSubpicture = 0x20;

}  // namespace

void SubpictureSurvey::addPack(SectorBytes pack, int cellKey) {
    const uchar* bytes = pack.data();
    // The packets after the pack header and its stuffing.
    qsizetype at = 14 + (bytes[13] & 7);
    while (at + 6 <= qsizetype{pack.size()} && bytes[at] == 0 && bytes[at + 1] == 0 &&
           bytes[at + 2] == 1) {
        const uchar streamId = bytes[at + 3];
        const qsizetype end = at + 6 + ReadBigEndian16(bytes + at + 4);
        if (end > qsizetype{pack.size()}) {
            return;
        }
        const bool mpeg2Header = (bytes[at + 6] & 0xc0) == 0x80;
        if (streamId == kPrivateStream1 && mpeg2Header && at + 9 <= end) {
            const bool hasPts = (bytes[at + 7] & 0x80) != 0;
            const qsizetype payload = at + 9 + bytes[at + 8];
            const int subStream = payload < end ? bytes[payload] - kFirstSubpicture : -1;
            if (subStream >= 0 && subStream < 32) {
                carried_ |= 1u << subStream;
                Assembly& unit = units_[static_cast<size_t>(subStream)];
                const auto* data = reinterpret_cast<const char*>(bytes + payload + 1);
                const qsizetype length = end - payload - 1;
                if (hasPts && length >= 2) {
                    unit.bytes = QByteArray(data, length);
                    unit.size = ReadBigEndian16(bytes + payload + 1);
                    unit.cellKey = cellKey;
                } else if (unit.size > 0) {
                    unit.bytes.append(data, length);
                }
                if (unit.size > 0 && unit.bytes.size() >= unit.size) {
                    if (unit.cellKey >= 0) {
                        entries_[unit.cellKey] |= UnitColourEntries(unit.bytes.left(unit.size));
                    }
                    unit = Assembly{};
                }
            }
        }
        at = end;
    }
}

}  // namespace marvoxa

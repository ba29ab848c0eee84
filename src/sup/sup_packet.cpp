#include "sup/sup_packet.h"

#include "common/video_standard.h"
#include "sup/time_stamps.h"

#include <optional>
#include <utility>

namespace marvoxa {

namespace {

// Control commands of a subpicture unit.
constexpr char kForcedStartDisplay = 0x00;
constexpr char kStartDisplay = 0x01;
constexpr char kStopDisplay = 0x02;
constexpr char kSetColours = 0x03;
constexpr char kSetContrast = 0x04;
constexpr char kSetDisplayArea = 0x05;
constexpr char kSetFieldAddresses = 0x06;
constexpr char kEndOfSequence = static_cast<char>(0xff);

// The unit's size, the first control sequence's offset and an unreferenced zero word come
// before the fields.
constexpr int kFieldsOffset = 6;
// The first control sequence: delay, next offset, and 20 bytes of commands.
constexpr int kFirstSequenceSize = 24;
// The second: delay, next offset, stop display, end.
constexpr int kSecondSequenceSize = 6;

class ByteWriter {
public:
    explicit ByteWriter(qsizetype capacity) { bytes_.reserve(capacity); }

    void Byte(int value) { bytes_.append(static_cast<char>(value)); }
    void Bytes(const QByteArray& data) { bytes_.append(data); }
    // Writes the low 16 bits.
    void BigEndian16(qint64 value) {
        Byte((value >> 8) & 0xff);
        Byte(value & 0xff);
    }
    void LittleEndian32(qint64 value) {
        for (int shift = 0; shift < 32; shift += 8) {
            Byte((value >> shift) & 0xff);
        }
    }
    QByteArray Take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

std::optional<Error> CheckTimes(qint64 startMs, qint64 durationMs) {
    const auto limit = [](const QString& message) {
        return std::optional<Error>(Error{ErrorKind::Limit, message});
    };
    if (startMs < 0) {
        return limit(QStringLiteral("it starts before the video does (%1 ms). "
                                    "Correct its start time in the subtitle file.")
                         .arg(startMs));
    }
    if (startMs > kLatestStartMs) {
        return limit(QStringLiteral("it starts after %1 ms (6:37:40.929), the latest time a SUP "
                                    "stream can hold. Split the video and its subtitles into "
                                    "shorter parts.")
                         .arg(kLatestStartMs));
    }
    if (durationMs < 0) {
        return limit(QStringLiteral("its duration is negative (%1 ms). "
                                    "Correct its end time in the subtitle file.")
                         .arg(durationMs));
    }
    if (durationMs > kLongestDurationMs) {
        return limit(QStringLiteral("it lasts %1 ms, longer than a subpicture can stay on screen "
                                    "(%2 ms, about 12 minutes). "
                                    "Correct its end time in the subtitle file.")
                         .arg(durationMs)
                         .arg(kLongestDurationMs));
    }
    return std::nullopt;
}

// Four 12-bit numbers, most significant first: first column, last column, first row, last row.
void WriteDisplayArea(ByteWriter& writer, int firstColumn, int lastColumn, int firstRow,
                      int lastRow) {
    Q_ASSERT(firstRow >= 0 && lastRow <= 0xfff);
    writer.Byte(firstColumn >> 4);
    writer.Byte((firstColumn & 0xf) << 4 | lastColumn >> 8);
    writer.Byte(lastColumn & 0xff);
    writer.Byte(firstRow >> 4);
    writer.Byte((firstRow & 0xf) << 4 | lastRow >> 8);
    writer.Byte(lastRow & 0xff);
}

}  // namespace

Result<QByteArray> BuildSupPacket(qint64 startMs, qint64 durationMs, const ColourRoles& roles,
                                  int AreaTop, int AreaHeight, const QByteArray& topField,
                                  const QByteArray& bottomField, bool forced) {
    if (const std::optional<Error> error = CheckTimes(startMs, durationMs)) {
        return *error;
    }
    const qint64 fieldsSize = topField.size() + bottomField.size();
    const bool padded = fieldsSize % 2 != 0;  // keeps the unit's size even
    const qint64 unitSize =
        kFieldsOffset + fieldsSize + kFirstSequenceSize + kSecondSequenceSize + (padded ? 1 : 0);
    if (unitSize > kLargestUnitSize) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("its picture takes %1 bytes once encoded, more than the %2 "
                                    "a subpicture can hold. Use a smaller font or fewer lines.")
                         .arg(unitSize)
                         .arg(kLargestUnitSize)};
    }
    const auto isPaletteIndex = [](int index) { return index >= 0 && index <= 15; };
    Q_ASSERT(isPaletteIndex(roles.antialias) && isPaletteIndex(roles.outline) &&
             isPaletteIndex(roles.text) && isPaletteIndex(roles.background));

    constexpr int kHeaderSize = 10;
    ByteWriter writer(kHeaderSize + unitSize);
    writer.Byte('S');
    writer.Byte('P');
    writer.LittleEndian32(PresentationTime(startMs));
    writer.LittleEndian32(0);

    const qint64 firstSequence = kFieldsOffset + fieldsSize;
    const qint64 secondSequence = firstSequence + kFirstSequenceSize;
    writer.BigEndian16(unitSize);
    writer.BigEndian16(firstSequence);
    writer.BigEndian16(0);
    writer.Bytes(topField);
    writer.Bytes(bottomField);

    writer.BigEndian16(0);  // shown at the presentation time
    writer.BigEndian16(secondSequence);
    writer.Byte(forced ? kForcedStartDisplay : kStartDisplay);
    // Palette entries of values 3 and 2, then of 1 and 0.
    writer.Byte(kSetColours);
    writer.Byte((roles.antialias & 0xf) << 4 | (roles.outline & 0xf));
    writer.Byte((roles.text & 0xf) << 4 | (roles.background & 0xf));
    // Contrast of values 3 and 2, then of 1 and 0: all opaque but the background.
    writer.Byte(kSetContrast);
    writer.Byte(0xff);
    writer.Byte(0xf0);
    writer.Byte(kSetDisplayArea);
    WriteDisplayArea(writer, 0, kFrameWidth - 1, AreaTop, AreaTop + AreaHeight - 1);
    writer.Byte(kSetFieldAddresses);
    writer.BigEndian16(kFieldsOffset);
    writer.BigEndian16(kFieldsOffset + topField.size());
    writer.Byte(kEndOfSequence);

    // The last sequence names itself as the next one.
    writer.BigEndian16(StopDelay(durationMs));
    writer.BigEndian16(secondSequence);
    writer.Byte(kStopDisplay);
    writer.Byte(kEndOfSequence);
    if (padded) {
        writer.Byte(0xff);
    }
    return writer.Take();
}

}  // namespace marvoxa

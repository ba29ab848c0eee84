#include "export/shown_subpicture.h"

#include <optional>

namespace marvoxa {

namespace {

Error Malformed(const char* what) {
    return Error{ErrorKind::Format,
                 QStringLiteral("The subpicture unit is malformed: %1.").arg(QLatin1String(what))};
}

int Word(QByteArrayView bytes, qsizetype at) {
    return (static_cast<quint8>(bytes[at]) << 8) | static_cast<quint8>(bytes[at + 1]);
}

// Reads one line of run-length codes from a field, nibble by nibble; bytes past the unit's end
// read as zero, which ends the line.
class FieldCursor {
public:
    FieldCursor(QByteArrayView unit, qsizetype byteOffset) : unit_(unit), nibble_(byteOffset * 2) {}

    void decodeLine(int width, quint8* line) {
        int column = 0;
        while (column < width) {
            int code = next();
            if (code < 0x4) {
                code = (code << 4) | next();
                if (code < 0x10) {
                    code = (code << 4) | next();
                    if (code < 0x40) {
                        code = (code << 4) | next();
                    }
                }
            }
            const int value = code & 3;
            // A length of zero fills the line to its end.
            const int length =
                code >> 2 == 0 ? width - column : std::min(code >> 2, width - column);
            std::fill(line + column, line + column + length, static_cast<quint8>(value));
            column += length;
        }
        nibble_ += nibble_ % 2;  // every line starts on a byte boundary
    }

private:
    int next() {
        const qsizetype byte = nibble_ / 2;
        const int value = byte < unit_.size() ? static_cast<quint8>(unit_[byte]) : 0;
        return nibble_++ % 2 == 0 ? value >> 4 : value & 0xf;
    }

    QByteArrayView unit_;
    qsizetype nibble_;
};

}  // namespace

Result<ShownSubpicture> DecodeShownSubpicture(QByteArrayView unit) {
    if (unit.size() < 4) {
        return Malformed("it is shorter than its header");
    }
    const qsizetype sequence = Word(unit, 2);
    ShownSubpicture shown;
    std::optional<std::array<int, 2>> fieldAddresses;
    bool areaSet = false;
    bool coloursSet = false;
    bool contrastsSet = false;
    // Only the first control sequence matters: it shows the picture.
    qsizetype at = sequence + 4;
    while (true) {
        if (at >= unit.size()) {
            return Malformed("a control sequence runs past its end");
        }
        const int command = static_cast<quint8>(unit[at++]);
        const auto has = [&](qsizetype count) { return at + count <= unit.size(); };
        if (command == 0xff) {
            break;
        }
        if (command <= 0x02) {
            continue;  // forced start, start, stop: no parameters
        }
        if (command == 0x03 && has(2)) {
            const int word = Word(unit, at);
            for (int value = 0; value < 4; ++value) {
                shown.paletteEntries[static_cast<size_t>(value)] = (word >> (4 * value)) & 0xf;
            }
            coloursSet = true;
            at += 2;
        } else if (command == 0x04 && has(2)) {
            const int word = Word(unit, at);
            for (int value = 0; value < 4; ++value) {
                shown.contrasts[static_cast<size_t>(value)] = (word >> (4 * value)) & 0xf;
            }
            contrastsSet = true;
            at += 2;
        } else if (command == 0x05 && has(6)) {
            const auto twelve = [&](int index) {
                const int first = static_cast<quint8>(unit[at + index * 3 / 2]);
                const int second = static_cast<quint8>(unit[at + index * 3 / 2 + 1]);
                return index % 2 == 0 ? (first << 4) | (second >> 4)
                                      : ((first & 0xf) << 8) | second;
            };
            shown.left = twelve(0);
            shown.width = twelve(1) - shown.left + 1;
            shown.top = twelve(2);
            shown.height = twelve(3) - shown.top + 1;
            areaSet = true;
            at += 6;
        } else if (command == 0x06 && has(4)) {
            fieldAddresses = {Word(unit, at), Word(unit, at + 2)};
            at += 4;
        } else {
            return Malformed("a display command is unknown or cut short");
        }
    }
    if (!areaSet || !coloursSet || !contrastsSet || !fieldAddresses || shown.width <= 0 ||
        shown.height <= 0) {
        return Malformed("the first control sequence lacks area, colours, contrast or fields");
    }

    shown.values.assign(static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height), 0);
    std::array<FieldCursor, 2> fields{FieldCursor(unit, (*fieldAddresses)[0]),
                                      FieldCursor(unit, (*fieldAddresses)[1])};
    for (int row = 0; row < shown.height; ++row) {
        fields[static_cast<size_t>(row % 2)].decodeLine(
            shown.width, shown.values.data() + static_cast<size_t>(row) * shown.width);
    }
    return shown;
}

}  // namespace marvoxa

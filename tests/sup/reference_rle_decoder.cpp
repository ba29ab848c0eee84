#include "reference_rle_decoder.h"

namespace marvoxa::test {

namespace {

class NibbleReader {
public:
    explicit NibbleReader(QByteArrayView data) : data_(data) {}

    bool AtEnd() const { return position_ >= 2 * data_.size(); }
    int Read() {
        const auto byte = static_cast<uchar>(data_[position_ / 2]);
        const int nibble = position_ % 2 == 0 ? byte >> 4 : byte & 0xf;
        ++position_;
        return nibble;
    }
    void SkipToByte() { position_ += position_ % 2; }

private:
    QByteArrayView data_;
    qsizetype position_ = 0;
};

}  // namespace

// Codes: 4-F one nibble, 10-3F two, 040-0FF three, 0000-03FF four; the value is
// length * 4 + colour, and length 0 means "to the end of the line". Rows start on bytes.
DecodedField DecodeField(QByteArrayView data, int width) {
    DecodedField field;
    NibbleReader reader(data);
    while (!reader.AtEnd()) {
        std::vector<int>& row = field.rows.emplace_back();
        while (static_cast<int>(row.size()) < width) {
            // A code of k nibbles is at least 4^k: a smaller value so far means it goes on.
            int code = 0;
            int nibbles = 0;
            do {
                if (reader.AtEnd()) {
                    field.error = QStringLiteral("data ends inside a code");
                    return field;
                }
                code = code << 4 | reader.Read();
                ++nibbles;
            } while (nibbles < 4 && code < 1 << (2 * nibbles));
            const int length = code >> 2;
            const int fill = length == 0 ? width - static_cast<int>(row.size()) : length;
            if (static_cast<int>(row.size()) + fill > width) {
                field.error =
                    QStringLiteral("row %1 is longer than the line").arg(field.rows.size());
                return field;
            }
            row.insert(row.end(), fill, code & 3);
        }
        reader.SkipToByte();
    }
    return field;
}

}  // namespace marvoxa::test

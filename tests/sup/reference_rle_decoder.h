#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace marvoxa::test {

struct DecodedField {
    std::vector<std::vector<int>> rows;  // colour values 0 to 3, one vector a row
    QString error;                       // empty when the data was well formed
};

// Decodes a field of DVD subpicture run-length data, row after row until the data ends.
// Written from the format's definition, independently of the encoder.
DecodedField DecodeField(QByteArrayView data, int width);

}  // namespace marvoxa::test

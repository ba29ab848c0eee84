#include "sup/row_encoding.h"

namespace marvoxa {

void AppendEncodedRow(std::span<const Run> runs, QByteArray& field) {
    int pixels = 0;
    for (const Run& run : runs) {
        pixels += run.length;
    }
    RowEncoder row(field, pixels);
    for (const Run& run : runs) {
        row.addRun(run.length, run.value);
    }
    row.finish();
}

}  // namespace marvoxa

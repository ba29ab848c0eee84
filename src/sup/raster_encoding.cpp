#include "sup/raster_encoding.h"

#include "sup/pixel_classification.h"
#include "sup/row_encoding.h"
#include "sup/row_runs.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace marvoxa {

namespace {

// What a layer becomes in the picture: its 24-bit colour, which decides where runs split,
// and the colour value that colour classifies as.
struct LayerLook {
    std::array<QRgb, 4> colour{};
    std::array<ColourValue, 4> value{};
};

LayerLook LookOfLayers(const RoleColours& roles) {
    constexpr QRgb kRgbMask = 0x00ffffffu;
    LayerLook look;
    for (Layer layer : {Layer::None, Layer::Text, Layer::Outline, Layer::Antialias}) {
        const QRgb colour = layer == Layer::Text        ? roles.text
                            : layer == Layer::Outline   ? roles.outline
                            : layer == Layer::Antialias ? roles.antialias
                                                        : kFrameBlue;
        const auto index = static_cast<size_t>(layer);
        look.colour[index] = colour & kRgbMask;
        look.value[index] = ClassifyPixel(colour, roles);
    }
    return look;
}

// The first column in [from, to) whose layer differs from the column before it, or `to`.
// Eight columns are compared at once: most of a row is untouched.
int NextLayerChange(const Layer* row, int from, int to) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    int x = from;
    for (; x + 8 <= to; x += 8) {
        std::uint64_t here;
        std::uint64_t before;
        std::memcpy(&here, bytes + x, sizeof here);
        std::memcpy(&before, bytes + x - 1, sizeof before);
        if (const std::uint64_t difference = here ^ before) {
            static_assert(std::endian::native == std::endian::little);
            return x + std::countr_zero(difference) / 8;
        }
    }
    for (; x < to; ++x) {
        if (row[x] != row[x - 1]) {
            return x;
        }
    }
    return to;
}

// Encodes the runs BuildRowRuns finds in the painted row as they are found: column 0 is not
// encoded, the last column is never read, and a run ends where the colour changes, not merely
// the layer.
void EncodeLayerRow(const Layer* row, int width, const LayerLook& look, QByteArray& field) {
    const int lastColumn = width - 1;
    RowEncoder encoder(field, lastColumn);
    auto colourOf = [&](Layer layer) { return look.colour[static_cast<size_t>(layer)]; };
    auto valueOf = [&](Layer layer) { return look.value[static_cast<size_t>(layer)]; };
    int runStart = 1;
    Layer runLayer = row[1];
    for (int x = NextLayerChange(row, 2, lastColumn); x < lastColumn;
         x = NextLayerChange(row, x + 1, lastColumn)) {
        if (colourOf(row[x]) != colourOf(runLayer)) {
            encoder.addRun(x - runStart, valueOf(runLayer));
            runStart = x;
            runLayer = row[x];
        }
    }
    encoder.addRun(lastColumn - runStart + 1, valueOf(runLayer));
    encoder.finish();
}

}  // namespace

Result<FieldData> EncodeRaster(const SubtitleRaster& raster, int AreaTop, int AreaHeight,
                               const RoleColours& roles) {
    Q_ASSERT(AreaTop % 2 == 0);
    Q_ASSERT(AreaHeight >= 0);
    if (std::optional<Error> outside =
            AreaOutsideFrame(AreaTop, AreaHeight, raster.frameHeight())) {
        return *outside;
    }
    const int width = raster.frameWidth();
    Q_ASSERT(width >= 3);
    const LayerLook look = LookOfLayers(roles);
    // Rows the text never reached are frame blue from end to end: one run of background.
    const RowRuns blankRow{{width - 1, ColourValue::Background}};

    FieldData fields;
    // Most of a cue's bytes are its text rows; a guess that spares most regrowing.
    fields.top.reserve(AreaHeight * 48);
    fields.bottom.reserve(AreaHeight * 48);
    for (int row = AreaTop; row < AreaTop + AreaHeight; ++row) {
        QByteArray& field = row % 2 == 0 ? fields.top : fields.bottom;
        if (const Layer* layers = raster.row(row)) {
            EncodeLayerRow(layers, width, look, field);
        } else {
            AppendEncodedRow(blankRow, field);
        }
    }
    return fields;
}

}  // namespace marvoxa

#include "sup/raster_encoding.h"

#include "sup/pixel_classification.h"
#include "sup/row_encoding.h"
#include "sup/row_runs.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace marvoxa {

namespace {

// What a layer becomes in the picture. Runs split where the 24-bit colour changes, so layers
// drawn in the same colour share a class; each class has the colour value its colour
// classifies as.
struct LayerLook {
    std::array<std::uint8_t, 4> colourClass{};  // by layer
    std::array<ColourValue, 4> value{};         // by class
    bool classIsLayer = true;                   // four different colours
};

LayerLook LookOfLayers(const RoleColours& roles) {
    constexpr QRgb kRgbMask = 0x00ffffffu;
    LayerLook look;
    std::array<QRgb, 4> colours{};
    for (Layer layer : {Layer::None, Layer::Text, Layer::Outline, Layer::Antialias}) {
        const QRgb colour = layer == Layer::Text        ? roles.text
                            : layer == Layer::Outline   ? roles.outline
                            : layer == Layer::Antialias ? roles.antialias
                                                        : kFrameBlue;
        const auto index = static_cast<size_t>(layer);
        colours[index] = colour & kRgbMask;
        // The first layer of that colour names the class.
        size_t sameColour = 0;
        while (colours[sameColour] != colours[index]) {
            ++sameColour;
        }
        look.colourClass[index] = static_cast<std::uint8_t>(sameColour);
        look.classIsLayer = look.classIsLayer && sameColour == index;
        look.value[sameColour] = ClassifyPixel(colour, roles);
    }
    return look;
}

// Bit x of changes[x / 64] is set where column x's class differs from column x - 1's, for
// x from 1 to width - 1; bit 0 is clear.
void FindClassChanges(const std::uint8_t* classes, int width, std::uint64_t* changes) {
    std::memset(changes, 0, sizeof(std::uint64_t) * static_cast<size_t>((width + 63) / 64));
    int x = 1;
#ifdef __SSE2__
    // Sixteen columns at a time: most of a row is one long run.
    for (; x + 16 <= width; x += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(classes + x));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(classes + x - 1));
        const auto differ =
            static_cast<std::uint64_t>(~_mm_movemask_epi8(_mm_cmpeq_epi8(here, before)) & 0xffff);
        if (differ == 0) {
            continue;
        }
        changes[x / 64] |= differ << (x % 64);
        if (x % 64 > 48) {
            changes[x / 64 + 1] |= differ >> (64 - x % 64);
        }
    }
#endif
    for (; x < width; ++x) {
        if (classes[x] != classes[x - 1]) {
            changes[x / 64] |= std::uint64_t{1} << (x % 64);
        }
    }
}

// Encodes a painted row as BuildRowRuns splits it: column 0 is not encoded, the last column
// is never read, and a run ends where the colour changes, not merely the layer.
void EncodeLayerRow(const Layer* row, int width, const LayerLook& look,
                    std::vector<std::uint8_t>& classBuffer, std::vector<std::uint64_t>& changes,
                    QByteArray& field) {
    const int lastColumn = width - 1;
    const auto* classes = reinterpret_cast<const std::uint8_t*>(row);
    if (!look.classIsLayer) {
        classBuffer.resize(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) {
            classBuffer[static_cast<size_t>(x)] = look.colourClass[classes[x]];
        }
        classes = classBuffer.data();
    }
    changes.resize(static_cast<size_t>((lastColumn + 63) / 64));
    FindClassChanges(classes, lastColumn, changes.data());

    RowEncoder encoder(field, lastColumn);
    int runStart = 1;
    ColourValue runValue = look.value[classes[1]];
    // Column 1 starts the first run whatever it follows.
    changes[0] &= ~std::uint64_t{3};
    for (size_t word = 0; word < changes.size(); ++word) {
        for (std::uint64_t bits = changes[word]; bits != 0; bits &= bits - 1) {
            const int x = static_cast<int>(word * 64) + std::countr_zero(bits);
            encoder.addRun(x - runStart, runValue);
            runStart = x;
            runValue = look.value[classes[x]];
        }
    }
    encoder.addRun(lastColumn - runStart + 1, runValue);
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
    std::vector<std::uint8_t> classBuffer;
    std::vector<std::uint64_t> changes;
    // Rows the text never reached are frame blue from end to end: one run of background.
    const RowRuns blankRow{{width - 1, ColourValue::Background}};

    FieldData fields;
    // Most of a cue's bytes are its text rows; a guess that spares most regrowing.
    fields.top.reserve(AreaHeight * 48);
    fields.bottom.reserve(AreaHeight * 48);
    for (int row = AreaTop; row < AreaTop + AreaHeight; ++row) {
        QByteArray& field = row % 2 == 0 ? fields.top : fields.bottom;
        if (const Layer* layers = raster.row(row)) {
            EncodeLayerRow(layers, width, look, classBuffer, changes, field);
        } else {
            AppendEncodedRow(blankRow, field);
        }
    }
    return fields;
}

}  // namespace marvoxa

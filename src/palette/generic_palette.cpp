#include "palette/generic_palette.h"

namespace marvoxa {
namespace {

constexpr int kGreyCount = 4;
constexpr int kGreyStep = 85;
constexpr quint8 kNoColour = 0x80;

}  // namespace

Palette GenericPalette() {
    Palette palette;
    for (int index = 0; index < kPaletteSize; ++index) {
        PaletteEntry& entry = palette.entries[index];
        const int level = index < kGreyCount ? kGreyStep * index : 0;
        entry.y = static_cast<quint8>(level);
        entry.cr = kNoColour;
        entry.cb = kNoColour;
        entry.displayColour = qRgb(level, level, level);
        // The greys name their level three times ("000", "858585"); the black rest reads
        // "000000".
        entry.tooltip =
            index < kGreyCount ? QString::number(level).repeated(3) : QStringLiteral("000000");
    }
    return palette;
}

}  // namespace marvoxa

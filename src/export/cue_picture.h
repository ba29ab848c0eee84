#pragma once

#include "export/shown_subpicture.h"
#include "palette/palette.h"

#include <QImage>

namespace marvoxa {

#include <array>

// For each palette entry, the picture colour that spumux turns back into the entry's Y Cr Cb.
std::array<QRgb, kPaletteSize> SpumuxEntryColours(const Palette& palette);

// The picture spumux gets for one cue: the shown subpicture pixel for pixel, as an indexed
// image whose four colours are the colour values 0 to 3. Each opaque value gets its palette
// entry's colour from entryColours; a transparent one is fully clear.
QImage CuePicture(const ShownSubpicture& shown, const std::array<QRgb, kPaletteSize>& entryColours);

}  // namespace marvoxa

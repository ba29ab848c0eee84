#pragma once

#include "export/shown_subpicture.h"
#include "palette/palette.h"

#include <QImage>

namespace marvoxa {

// The picture spumux gets for one cue: the shown subpicture pixel for pixel, as an indexed
// image whose four colours are the colour values 0 to 3. Each opaque value gets the colour
// that spumux turns back into its palette entry's Y Cr Cb; a transparent one is fully clear.
QImage CuePicture(const ShownSubpicture& shown, const Palette& palette);

}  // namespace marvoxa

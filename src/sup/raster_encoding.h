#pragma once

#include "common/result.h"
#include "common/role_colours.h"
#include "render/subtitle_raster.h"
#include "sup/area_encoding.h"

namespace marvoxa {

// Encodes rows AreaTop to AreaTop + AreaHeight - 1 straight from the layers the renderer
// painted, without a 24-bit frame: the bytes are those EncodeArea gives for the raster painted
// on a frame-blue picture (PaintRaster), failures included. Layers whose role colours are equal
// form one run, as their pixels would in the picture.
Result<FieldData> EncodeRaster(const SubtitleRaster& raster, int AreaTop, int AreaHeight,
                               const RoleColours& roles);

}  // namespace marvoxa

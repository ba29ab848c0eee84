#pragma once

#include "common/role_colours.h"
#include "common/video_standard.h"
#include "render/placed_lines.h"
#include "render/render_settings.h"

#include <QImage>
#include <QPixmap>
#include <QString>

namespace marvoxa {

// The built-in sample still of the standard, 720 x H.
QImage BuiltInPreviewPicture(VideoStandard standard);

// The picture the preview draws on: the user's picture when its path names a readable file,
// else the built-in still; scaled to 720 x H when its size differs, in the frame format.
QImage PreviewBackground(VideoStandard standard, const QString& userPicturePath);

// Draws a cue's lines over picture exactly as a subtitle frame is drawn for encoding: the
// outline, antialias and text passes of each line in the role colours, in the cue's place.
void DrawPreviewLines(QImage& picture, const PlacedLines& cue, const RenderSettings& settings,
                      const RoleColours& colours);

// The 70 x 70 legend of the four colour roles.
QPixmap ColourRolesLegend();

}  // namespace marvoxa

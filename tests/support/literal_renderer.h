#pragma once

#include "render/frame_renderer.h"

namespace marvoxa::test {

// Draws a cue the slow, obvious way: every line at every offset of the outline square, then
// of the antialias square, then once for the text.
SubtitleFrame RenderSubtitleFrameLiterally(const QString& firstLine, const QString& secondLine,
                                           const RenderSettings& settings,
                                           const RoleColours& colours);

}  // namespace marvoxa::test

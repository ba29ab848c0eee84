#pragma once

#include "render/frame_renderer.h"

namespace marvoxa::test {

// Draws a cue the slow, obvious way: every line at every offset of the outline square, then
// of the antialias square, then once for the text. The area is the two lines' area grown to
// every row that is no longer frame blue.
SubtitleFrame RenderSubtitleFrameLiterally(const QString& firstLine, const QString& secondLine,
                                           const RenderSettings& settings,
                                           const RoleColours& colours);

}  // namespace marvoxa::test

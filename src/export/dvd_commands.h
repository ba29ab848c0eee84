#pragma once

#include "common/video_standard.h"

#include <QString>

namespace marvoxa {

// What the user runs after generation to get a DVD: spumux puts the subtitles into an MPEG-2
// video (VIDEO, a placeholder) in the folder where Generated_spumux.xml lies, then dvdauthor
// builds the VIDEO_TS folder in DVD/ with a subtitle stream in the given language.
QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QString& language);

}  // namespace marvoxa

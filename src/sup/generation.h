#pragma once

#include "common/colour_roles.h"
#include "common/result.h"
#include "common/role_colours.h"
#include "render/render_settings.h"
#include "subtitles/cue_list.h"
#include "subtitles/cue_time.h"
#include "sup/cue_output.h"

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace marvoxa {

struct GenerationRequest {
    const CueList* cueList = nullptr;
    // Read anew for every cue, so a change made while generating applies from the next cue.
    std::function<RenderSettings()> renderSettings;
    // Read anew for every packet.
    std::function<ColourRoles()> colourRoles;
    // Taken once at the start: every cue is classified against these colours.
    RoleColours roleColours;
    // Where Generated.sup goes: the subtitle file's folder, or one the user chose.
    QString outputFolder;
    // Called before each cue is drawn (cue index, from 0) and after it is drawn (with the
    // frame), so a window can handle its events and show progress. Either may be empty.
    std::function<void(int cueIndex)> beforeCue;
    std::function<void(int cueIndex, const QImage& frame)> cueDrawn;
    // Further outputs (not owned) fed every finished cue in order; they and Generated.sup are
    // put in place together, or none of them is.
    std::vector<CueOutput*> extraOutputs;
};

struct GeneratedStream {
    QString streamPath;
    int packetCount = 0;
};

// The full path of a file that generation writes into folder.
QString OutputPath(const QString& folder, const char* fileName);

// Draws, encodes and packs every cue in order and writes the whole stream to Generated.sup in
// the output folder, feeding the extra outputs alongside. Nothing is written when a cue cannot
// be encoded or an output fails; files written earlier stay intact until the new ones are
// complete.
Result<GeneratedStream> GenerateSupStream(const GenerationRequest& request);

}  // namespace marvoxa

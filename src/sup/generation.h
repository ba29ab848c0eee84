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
#include <optional>
#include <vector>

namespace marvoxa {

// Every display event drawn once more in other settings, such as a 16:9 title's letterbox
// drawing beside its wide one.
struct SecondDrawing {
    // The settings of the second drawing, made of the first drawing's on the calling thread.
    std::function<RenderSettings(const RenderSettings&)> settings;
    // Its packets go here only. They are begun, finished and committed with the others, after
    // them: all are written, or none.
    std::vector<CueOutput*> outputs;
};

struct GenerationRequest {
    const CueList* cueList = nullptr;
    // Read anew for every cue, on the calling thread, as the cue is handed to the drawing
    // threads: a change made while generating applies to the cues handed over after it.
    std::function<RenderSettings()> renderSettings;
    // Read anew for every packet, the same way.
    std::function<ColourRoles()> colourRoles;
    // Taken once at the start: every cue is classified against these colours.
    RoleColours roleColours;
    // Where Generated.sup goes: the subtitle file's folder, or one the user chose.
    QString outputFolder;
    // The stream's file name in it; empty: Generated.sup.
    QString streamFileName;
    // Which of several streams this is, from 0: the cues carry it to the outputs.
    int streamIndex = 0;
    // With several streams, the file this one comes from: a refusal of one of its cues names it.
    QString streamSource;
    // Every subpicture starts with the forced start command: shown even when subtitles are off.
    bool forced = false;
    // Called on the calling thread for each subpicture in order (its index among
    // DisplayEvents, from 0): before it is taken from the drawing threads and, with its frame,
    // once it is taken, so a window can handle its events and show progress. Either may be
    // empty. Without overlapping cues a subpicture is a cue and its index the cue's.
    std::function<void(int eventIndex)> beforeCue;
    std::function<void(int eventIndex, const QImage& frame)> cueDrawn;
    // When set, cueDrawn is called only for the subpictures it accepts: painting a full frame
    // for every one is work a preview refreshed a few dozen times a second does not need.
    std::function<bool(int eventIndex)> frameWanted;
    // Asked before each cue; true stops generation after the cues being drawn, and nothing is
    // written (ErrorKind::Cancelled).
    std::function<bool()> cancelRequested;
    // When set, the first cue with a line too wide for the frame (kMaxLineWidth pixels or
    // more) stops generation with the error this gives for it (its index in the cue list), and
    // nothing is written. The lines are measured as they are drawn, so no pass of its own is
    // needed.
    std::function<Error(int cueIndex)> refuseTooWideCue;
    // Files written beside Generated.sup from the same cues, all or none of them with it.
    std::vector<CueOutput*> extraOutputs;
    // A line too wide for the second drawing's frame refuses the file whatever
    // refuseTooWideCue says: it would be cut off.
    std::optional<SecondDrawing> secondDrawing;
};

struct GeneratedStream {
    QString streamPath;
    int packetCount = 0;  // one a display event
};

// The full path of a file that generation writes into folder.
QString OutputPath(const QString& folder, const char* fileName);

// Draws, encodes and packs every display event (DisplayEvents: a cue, or a piece of time in
// which overlapping cues are shown together) and writes the stream to Generated.sup in the
// output folder. Cues are drawn and encoded side by side on every core; packets are written in cue
// order as they are finished, and the callbacks run on the calling thread, in cue order.
// Nothing is written when a cue cannot be encoded, the list is empty or generation is
// cancelled: a stream written earlier stays intact until the new one is complete.
Result<GeneratedStream> GenerateSupStream(const GenerationRequest& request);

// Several streams in one run, one a request, each with its own stream file and extra
// outputs, one after the other. sharedOutputs take the cues of every stream, stream after
// stream, and are finished once the last is in. Every file appears together, or none does.
Result<std::vector<GeneratedStream>> GenerateSupStreams(
    const std::vector<GenerationRequest>& requests, const std::vector<CueOutput*>& sharedOutputs);

}  // namespace marvoxa

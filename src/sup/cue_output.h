#pragma once

#include "common/result.h"
#include "common/role_colours.h"
#include "render/placed_lines.h"
#include "render/render_settings.h"
#include "subtitles/cue_list.h"

#include <QByteArray>
#include <QStringList>

#include <any>

namespace marvoxa {

// One cue as generation finished it.
struct EncodedCue {
    int index = 0;     // position in the stream, from 0: a cue, or a piece of overlapping cues
    int cueIndex = 0;  // the first cue it shows, by position in the cue list
    int stream = 0;    // the subtitle stream it belongs to, from 0, when several are made
    qint64 startMs = 0;
    qint64 durationMs = 0;
    int areaTop = 0;  // first row of the subtitle area, always even
    int areaHeight = 0;
    // The packet exactly as Generated.sup holds it: the 10-byte "SP" header, then the
    // subpicture unit.
    QByteArray supPacket;
    // What the output being fed drew for this cue itself (CueOutput::drawEvent).
    std::any drawing;
};

// A display event for an output that draws it itself.
struct EventToDraw {
    const CueList& cueList;
    const QList<PlacedLines>& blocks;  // every cue shown, as the DVD picture places them
    const RenderSettings& settings;
    const RoleColours& colours;
};

// A file, or a set of files, that generation fills cue by cue, in cue order. Nothing a user
// can see changes before commit(); a failure or discard() keeps the older files intact.
// Generation calls begin() on every output, add() for each cue, then finish() on all, and
// commit() on all only when every finish() succeeded, otherwise discard() on all: a set of
// outputs is written whole or not at all.
class CueOutput {
public:
    virtual ~CueOutput() = default;
    virtual Status begin() = 0;
    virtual Status add(const EncodedCue& cue) = 0;
    // Writes what follows the last cue and syncs it to disk; the files are still temporary.
    virtual Status finish() = 0;
    // Moves the files into place.
    virtual Status commit() = 0;
    virtual void discard() = 0;
    // The files this output writes, for the report.
    virtual QStringList paths() const = 0;
    // Called for every display event on the drawing threads, several at once, before add()
    // gets it: an output that draws its own picture of the cues does it here, beside the DVD
    // drawing, and add() finds the result in cue.drawing. An error refuses the cue.
    virtual Result<std::any> drawEvent(const EventToDraw&) const { return std::any(); }
};

}  // namespace marvoxa

#pragma once

#include "palette/palette.h"
#include "render/render_settings.h"
#include "subtitles/cue_list.h"
#include "sup_stream_reader.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace marvoxa::test {

// Cues with the given lines, the first at firstStartMs, each stepMs after the one before.
CueList SpacedCues(const QList<QPair<QString, QString>>& lines, qint64 firstStartMs, qint64 stepMs,
                   qint64 durationMs);

// Cues that reach the frame's left edge, stand alone on the second line or overlap.
CueList EdgeCues(qint64 firstStartMs, qint64 stepMs, qint64 durationMs);

struct GeneratedOutputs {
    QList<SupStreamPacket> packets;  // of Generated.sup
    QStringList extraPaths;          // the VobSub and spumux files, as the outputs name them
};

// Generates Generated.sup with the VobSub and the spumux output into folder; fails the test
// when generation fails.
GeneratedOutputs GenerateWithOutputs(const CueList& cues, const RenderSettings& settings,
                                     const Palette& palette, const ColourRoles& roles,
                                     const QString& folder);

}  // namespace marvoxa::test

#pragma once

#include "dvd/dvd_copy_output.h"
#include "dvd/dvd_target.h"
#include "render/render_settings.h"
#include "sup/generation.h"
#include "sup/sup_stream_output.h"

#include <QString>

#include <memory>

namespace marvoxa {

// The letterbox drawing's stream, beside Generated.sup.
inline constexpr char kLetterboxStreamFileName[] = "Generated_letterbox.sup";

// The letterbox drawing's file of one of several streams: "Generated_letterbox.fr.sup" for the
// stream tagged "fr".
QString TaggedLetterboxFileName(const QString& tag);

// The letterbox drawing of a 16:9 title: the square drawing, for a 4:3 screen that shows the
// film letterboxed (or cut to pan-scan). Its units go into the DVD copy as the new stream's
// letterbox sub-stream and into Generated_letterbox.sup.
class LetterboxDrawing {
public:
    // None unless the cues are drawn wide for a 16:9 title that a 4:3 screen may show
    // letterboxed or cut to pan-scan. stream is the new stream's place among those the copy
    // adds, fileName that of its letterbox file in outputFolder.
    static std::unique_ptr<LetterboxDrawing> For(
        const DvdTarget& target, const RenderSettings& settings, DvdCopyOutput& copy,
        const QString& outputFolder, int stream = 0,
        const QString& fileName = QLatin1String(kLetterboxStreamFileName));

    LetterboxDrawing(DvdCopyOutput& copy, const QString& path, int stream);

    // Generation's second drawing: each cue again, square, into the copy and the file.
    SecondDrawing secondDrawing();
    // Said after the copy's report: the two drawings' sub-stream ids and where the letterbox
    // drawing's file went.
    QString report(const DvdCopyReport& copy) const;

private:
    DvdCopyOutput& copy_;
    SupStreamOutput file_;
    int stream_;
};

}  // namespace marvoxa

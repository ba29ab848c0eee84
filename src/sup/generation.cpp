#include "sup/generation.h"

#include "render/frame_canvas.h"
#include "render/subtitle_raster.h"
#include "subtitles/cue_lines.h"
#include "sup/area_encoding.h"
#include "sup/completion_report.h"
#include "sup/file_writing.h"
#include "sup/sup_packet.h"

#include <QDir>

namespace marvoxa {

namespace {

Error CueError(int cueIndex, const Cue& cue, const Error& cause) {
    return Error{cause.kind, QStringLiteral("Subtitle %1 at %2 cannot be written: %3")
                                 .arg(cueIndex + 1)
                                 .arg(FormatCueTime(cue.startMs), cause.message)};
}

}  // namespace

QString OutputPath(const QString& folder, const char* fileName) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(QLatin1String(fileName)));
}

Result<GeneratedStream> GenerateSupStream(const GenerationRequest& request) {
    const CueList& cueList = *request.cueList;
    if (cueList.cues.empty()) {
        return Error{ErrorKind::State,
                     QStringLiteral("The subtitle file holds no subtitles, so there is nothing to "
                                    "generate. Load a subtitle file with at least one subtitle.")};
    }

    QByteArray stream;
    FrameCanvas canvas;
    for (int index = 0; index < static_cast<int>(cueList.cues.size()); ++index) {
        const Cue& cue = cueList.cues[static_cast<size_t>(index)];
        if (request.beforeCue) {
            request.beforeCue(index);
        }
        const RenderSettings settings = request.renderSettings();
        const RasterizedCue subtitle = RasterizeCue(
            DrawnCueLines(cueList, static_cast<size_t>(index), settings).drawn, settings);
        const QImage& frame = canvas.draw(subtitle.raster, request.roleColours);
        if (request.cueDrawn) {
            request.cueDrawn(index, frame);
        }

        const Result<FieldData> fields = EncodeArea(
            frame, subtitle.layout.areaTop, subtitle.layout.areaHeight, request.roleColours);
        if (!fields) {
            return CueError(index, cue, fields.error());
        }
        const Result<QByteArray> packet = BuildSupPacket(
            cue.startMs, cue.durationMs, request.colourRoles(), subtitle.layout.areaTop,
            subtitle.layout.areaHeight, fields.value().top, fields.value().bottom);
        if (!packet) {
            return CueError(index, cue, packet.error());
        }
        stream += packet.value();
    }

    const QString streamPath = OutputPath(request.outputFolder, kStreamFileName);
    if (Status written = WriteFileAtomically(streamPath, stream); !written) {
        return written.error();
    }
    return GeneratedStream{streamPath, static_cast<int>(cueList.cues.size())};
}

}  // namespace marvoxa

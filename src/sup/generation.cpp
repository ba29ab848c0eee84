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

// Puts every extra output in place, or discards them all when failed holds an error.
Status EndExtraOutputs(const std::vector<CueOutput*>& outputs, Status failed) {
    if (!failed) {
        for (CueOutput* output : outputs) {
            output->discard();
        }
        return failed;
    }
    for (CueOutput* output : outputs) {
        if (Status committed = output->commit(); !committed) {
            return EndExtraOutputs(outputs, committed);
        }
    }
    return Ok();
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

    const std::vector<CueOutput*>& outputs = request.extraOutputs;
    for (CueOutput* output : outputs) {
        if (Status begun = output->begin(); !begun) {
            return EndExtraOutputs(outputs, begun).error();
        }
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
            (void)EndExtraOutputs(outputs, fields.error());
            return CueError(index, cue, fields.error());
        }
        const Result<QByteArray> packet = BuildSupPacket(
            cue.startMs, cue.durationMs, request.colourRoles(), subtitle.layout.areaTop,
            subtitle.layout.areaHeight, fields.value().top, fields.value().bottom);
        if (!packet) {
            (void)EndExtraOutputs(outputs, packet.error());
            return CueError(index, cue, packet.error());
        }
        stream += packet.value();
        const EncodedCue encoded{index,
                                 cue.startMs,
                                 cue.durationMs,
                                 subtitle.layout.areaTop,
                                 subtitle.layout.areaHeight,
                                 packet.value()};
        for (CueOutput* output : outputs) {
            if (Status added = output->add(encoded); !added) {
                (void)EndExtraOutputs(outputs, added);
                return CueError(index, cue, added.error());
            }
        }
    }

    for (CueOutput* output : outputs) {
        if (Status finished = output->finish(); !finished) {
            return EndExtraOutputs(outputs, finished).error();
        }
    }
    const QString streamPath = OutputPath(request.outputFolder, kStreamFileName);
    if (Status written = WriteFileAtomically(streamPath, stream); !written) {
        return EndExtraOutputs(outputs, written).error();
    }
    if (Status committed = EndExtraOutputs(outputs, Ok()); !committed) {
        return committed.error();
    }
    return GeneratedStream{streamPath, static_cast<int>(cueList.cues.size())};
}

}  // namespace marvoxa

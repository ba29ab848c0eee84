#include "sup/generation.h"

#include "common/ordered_pipeline.h"
#include "render/frame_canvas.h"
#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"
#include "subtitles/text_decoding.h"
#include "sup/completion_report.h"
#include "sup/raster_encoding.h"
#include "sup/sup_packet.h"
#include "sup/sup_stream_output.h"

#include <QDir>

namespace marvoxa {

namespace {

Error CueError(int cueIndex, const Cue& cue, const Error& cause) {
    return Error{cause.kind, QStringLiteral("Subtitle %1 at %2 cannot be written: %3")
                                 .arg(cueIndex + 1)
                                 .arg(FormatCueTime(cue.startMs), cause.message)};
}

Error CancelledError() {
    return Error{ErrorKind::Cancelled,
                 QStringLiteral("Generation cancelled. Nothing was written: files generated "
                                "before are unchanged.")};
}

// One cue drawn and encoded on a pipeline thread.
struct DrawnCue {
    RasterizedSubtitle subtitle;
    Result<QByteArray> packet;
};

// Everything a pipeline thread needs, copied: the request's callbacks run on the caller's
// thread only.
struct CueJob {
    QByteArray firstLine;
    QByteArray secondLine;
    TextEncoding encoding;
    qint64 startMs;
    qint64 durationMs;
    RenderSettings settings;
    ColourRoles roles;
    RoleColours roleColours;

    DrawnCue operator()() const {
        RasterizedSubtitle subtitle =
            RasterizeSubtitle(DecodeCueText(firstLine, encoding, settings.charset),
                              DecodeCueText(secondLine, encoding, settings.charset), settings);
        const Result<FieldData> fields = EncodeRaster(subtitle.raster, subtitle.layout.areaTop,
                                                      subtitle.layout.areaHeight, roleColours);
        if (!fields) {
            return {std::move(subtitle), fields.error()};
        }
        Result<QByteArray> packet =
            BuildSupPacket(startMs, durationMs, roles, subtitle.layout.areaTop,
                           subtitle.layout.areaHeight, fields.value().top, fields.value().bottom);
        return {std::move(subtitle), std::move(packet)};
    }
};

}  // namespace

QString OutputPath(const QString& folder, const char* fileName) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(QLatin1String(fileName)));
}

QString FormatCueTime(qint64 milliseconds) {
    const qint64 magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    return QLatin1String(milliseconds < 0 ? "-" : "") +
           QStringLiteral("%1:%2:%3,%4")
               .arg(magnitude / 3'600'000, 2, 10, QLatin1Char('0'))
               .arg(magnitude / 60'000 % 60, 2, 10, QLatin1Char('0'))
               .arg(magnitude / 1000 % 60, 2, 10, QLatin1Char('0'))
               .arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

Result<GeneratedStream> GenerateSupStream(const GenerationRequest& request) {
    const CueList& cueList = *request.cueList;
    if (cueList.cues.empty()) {
        return Error{ErrorKind::State,
                     QStringLiteral("The subtitle file holds no subtitles, so there is nothing to "
                                    "generate. Load a subtitle file with at least one subtitle.")};
    }
    const auto cancelled = [&] { return request.cancelRequested && request.cancelRequested(); };
    if (cancelled()) {
        return CancelledError();
    }
    DisplayDpi();  // the drawing threads use the resolution last seen on this thread

    const QString streamPath = OutputPath(request.outputFolder, kStreamFileName);
    SupStreamOutput stream(streamPath);
    if (Status begun = stream.begin(); !begun) {
        return begun.error();
    }
    const int cueCount = static_cast<int>(cueList.cues.size());
    FrameCanvas canvas;
    OrderedPipeline<DrawnCue> pipeline;
    int submitted = 0;
    for (int written = 0; written < cueCount;) {
        if (cancelled()) {
            stream.discard();
            return CancelledError();
        }
        if (submitted < cueCount && !pipeline.full()) {
            const Cue& cue = cueList.cues[static_cast<size_t>(submitted)];
            pipeline.submit(CueJob{cue.firstLine, cue.secondLine, cueList.encoding, cue.startMs,
                                   cue.durationMs, request.renderSettings(), request.colourRoles(),
                                   request.roleColours});
            ++submitted;
            continue;
        }

        const int index = written++;
        if (request.beforeCue) {
            request.beforeCue(index);
        }
        const DrawnCue drawn = pipeline.takeNext();
        if (request.cueDrawn && (!request.frameWanted || request.frameWanted(index))) {
            request.cueDrawn(index, canvas.draw(drawn.subtitle.raster, request.roleColours));
        }
        Status added = drawn.packet ? stream.add(drawn.packet.value()) : drawn.packet.error();
        if (!added) {
            pipeline.dropWaiting();
            stream.discard();
            const bool cueRefused = !drawn.packet;
            return cueRefused
                       ? CueError(index, cueList.cues[static_cast<size_t>(index)], added.error())
                       : added.error();
        }
    }
    if (cancelled()) {  // asked while the last cue was handed over
        stream.discard();
        return CancelledError();
    }
    if (Status finished = stream.finish(); !finished) {
        return finished.error();
    }
    if (Status committed = stream.commit(); !committed) {
        return committed.error();
    }
    return GeneratedStream{streamPath, cueCount};
}

}  // namespace marvoxa

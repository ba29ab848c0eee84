#include "sup/generation.h"

#include "common/ordered_pipeline.h"
#include "render/frame_canvas.h"
#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"
#include "subtitles/cue_lines.h"
#include "subtitles/display_events.h"
#include "subtitles/line_width_check.h"
#include "subtitles/subtitle_messages.h"
#include "sup/completion_report.h"
#include "sup/raster_encoding.h"
#include "sup/sup_packet.h"
#include "sup/sup_stream_output.h"

#include <QDir>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace marvoxa {

namespace {

Error CueError(int cueIndex, const Cue& cue, const Error& cause) {
    return Error{cause.kind, QStringLiteral("Subtitle %1 at %2 cannot be written: %3")
                                 .arg(cueIndex + 1)
                                 .arg(FormatCueTime(cue.startMs), cause.message)};
}

Error EmptyListError() {
    return Error{ErrorKind::State, QString(kNoSubtitlesMessage)};
}

Error CancelledError() {
    return Error{ErrorKind::Cancelled,
                 QStringLiteral("Generation cancelled. Nothing was written: files generated "
                                "before are unchanged.")};
}

// Cues are handed to the drawing threads in blocks: one hand-over a cue costs more in waking
// threads than a small cue takes to draw.
constexpr int kCuesPerBlock = 8;

Error TooWideForSecondDrawing(int cueIndex, const Cue& cue) {
    return CueError(
        cueIndex, cue,
        Error{ErrorKind::State,
              QStringLiteral("a line is too wide for the letterbox drawing, which has square "
                             "pixels for 4:3 screens. Shorten it, choose a smaller font, or "
                             "wrap lines too wide for the picture (Options..., --wrap).")});
}

// One display event drawn and encoded on a pipeline thread.
struct DrawnCue {
    RasterizedCue subtitle;
    Result<EncodedCue> encoded;
    size_t tooWideCue = 0;             // the cue with the widest line, when that is refused
    std::vector<std::any> drawings{};  // each output's own drawing, in the outputs' order
    // The same event in the second drawing, when one is asked for.
    std::unique_ptr<DrawnCue> second = nullptr;
};

// What a cue is drawn with, read on the caller's thread when the cue is handed over: the
// request's callbacks run there only.
struct CueLook {
    RenderSettings settings;
    ColourRoles roles;
    std::optional<RenderSettings> second;
};

// How a block's cues are drawn besides their looks.
struct DrawingChoices {
    RoleColours roleColours;
    bool forced = false;
    bool keepRaster = false;  // for a frame shown on the caller's thread
    int stream = 0;
    // Cues with a line this wide are refused: they are measured, not drawn.
    int refusedLineWidth = std::numeric_limits<int>::max();
    // Every output, asked to draw each event on the drawing threads.
    const std::vector<CueOutput*>* outputs = nullptr;
};

DrawnCue DrawAndEncodeEvent(const CueList& cueList, const DisplayEvent& event, int index,
                            const CueLook& look, const DrawingChoices& choices) {
    QList<PlacedLines> blocks;
    for (size_t cue : event.cues) {
        CueLines lines = DrawnCueLines(cueList, cue, look.settings);
        blocks.append(PlacedLines{std::move(lines.drawn), lines.placement});
    }
    RasterizedCue subtitle = RasterizeCue(blocks, look.settings, choices.refusedLineWidth);
    if (subtitle.widestLine >= choices.refusedLineWidth) {
        // Refused on the caller's thread, with the caller's message; nothing to encode.
        const size_t cue = event.cues[static_cast<size_t>(subtitle.widestBlock)];
        return {std::move(subtitle), Error{ErrorKind::State, QString()}, cue};
    }
    const int areaTop = subtitle.layout.areaTop;
    const int areaHeight = subtitle.layout.areaHeight;
    const Result<FieldData> fields =
        EncodeRaster(subtitle.raster, areaTop, areaHeight, choices.roleColours);
    if (!choices.keepRaster) {
        subtitle.raster = SubtitleRaster();
    }
    if (!fields) {
        return {std::move(subtitle), fields.error()};
    }
    Result<QByteArray> packet =
        BuildSupPacket(event.startMs, event.durationMs, look.roles, areaTop, areaHeight,
                       fields.value().top, fields.value().bottom, choices.forced);
    if (!packet) {
        return {std::move(subtitle), packet.error()};
    }
    DrawnCue drawn{std::move(subtitle), EncodedCue{index,
                                                   static_cast<int>(event.cues.front()),
                                                   choices.stream,
                                                   event.startMs,
                                                   event.durationMs,
                                                   areaTop,
                                                   areaHeight,
                                                   std::move(packet).value(),
                                                   {}}};
    if (choices.outputs == nullptr) {
        return drawn;
    }
    const EventToDraw toDraw{cueList, blocks, look.settings, choices.roleColours};
    for (const CueOutput* output : *choices.outputs) {
        Result<std::any> drawing = output->drawEvent(toDraw);
        if (!drawing) {
            drawn.encoded = drawing.error();
            break;
        }
        drawn.drawings.push_back(std::move(drawing).value());
    }
    return drawn;
}

// A block of consecutive display events for one pipeline thread; the cue list and the events
// are only read while generating.
struct CueBlockJob {
    const CueList* cueList;
    const DisplayEventList* events;
    int first;
    std::vector<CueLook> looks;  // one an event, from `first` on
    DrawingChoices choices;

    std::vector<DrawnCue> operator()() const {
        std::vector<DrawnCue> drawn;
        drawn.reserve(looks.size());
        for (size_t i = 0; i < looks.size(); ++i) {
            const int index = first + static_cast<int>(i);
            const DisplayEvent& event = (*events)[static_cast<size_t>(index)];
            drawn.push_back(DrawAndEncodeEvent(*cueList, event, index, looks[i], choices));
            if (looks[i].second) {
                DrawingChoices secondChoices = choices;
                secondChoices.keepRaster = false;
                secondChoices.refusedLineWidth = kMaxLineWidth;
                secondChoices.outputs = nullptr;  // the outputs' own drawings follow the first
                drawn.back().second = std::make_unique<DrawnCue>(DrawAndEncodeEvent(
                    *cueList, event, index, {*looks[i].second, looks[i].roles, {}}, secondChoices));
            }
        }
        return drawn;
    }
};

// Every output begun, or none left half-begun.
Status BeginAll(const std::vector<CueOutput*>& outputs) {
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (Status begun = outputs[i]->begin(); !begun) {
            for (size_t j = 0; j < i; ++j) {
                outputs[j]->discard();
            }
            return begun;
        }
    }
    return Ok();
}

// Commits the outputs only when every one of them is finished, so they appear together.
Status FinishAndCommitAll(const std::vector<CueOutput*>& outputs) {
    for (CueOutput* output : outputs) {
        if (Status finished = output->finish(); !finished) {
            for (CueOutput* other : outputs) {
                other->discard();
            }
            return finished;
        }
    }
    for (CueOutput* output : outputs) {
        if (Status committed = output->commit(); !committed) {
            return committed;
        }
    }
    return Ok();
}

}  // namespace

QString OutputPath(const QString& folder, const char* fileName) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(QLatin1String(fileName)));
}

namespace {

QString StreamPath(const GenerationRequest& request) {
    return request.streamFileName.isEmpty()
               ? OutputPath(request.outputFolder, kStreamFileName)
               : QDir::cleanPath(
                     QDir(request.outputFolder).absoluteFilePath(request.streamFileName));
}

// The outputs of the request's stream: those of the first drawing, then those of the second.
std::vector<CueOutput*> WithSecondDrawing(std::vector<CueOutput*> outputs,
                                          const GenerationRequest& request) {
    if (request.secondDrawing) {
        outputs.insert(outputs.end(), request.secondDrawing->outputs.begin(),
                       request.secondDrawing->outputs.end());
    }
    return outputs;
}

// Draws, encodes and hands every display event of the request to the outputs, which are
// begun already: the first firstDrawingOutputs take the first drawing, the rest the second.
// On failure every one of them is discarded.
Result<int> GenerateInto(const GenerationRequest& request, const std::vector<CueOutput*>& outputs,
                         size_t firstDrawingOutputs) {
    const CueList& cueList = *request.cueList;
    const auto cancelled = [&] { return request.cancelRequested && request.cancelRequested(); };
    const auto discardAll = [&] {
        for (CueOutput* output : outputs) {
            output->discard();
        }
    };
    if (cueList.cues.empty()) {
        discardAll();
        return EmptyListError();
    }
    if (cancelled()) {
        discardAll();
        return CancelledError();
    }
    DisplayDpi();  // the drawing threads use the resolution last seen on this thread

    const DisplayEventList events = DisplayEvents(cueList);
    const int eventCount = static_cast<int>(events.size());
    DrawingChoices choices{request.roleColours, request.forced,
                           static_cast<bool>(request.cueDrawn)};
    choices.stream = request.streamIndex;
    // Outputs of the first drawing that draw each event themselves do so on the drawing threads.
    const std::vector<CueOutput*> firstDrawing(outputs.begin(),
                                               outputs.begin() + firstDrawingOutputs);
    choices.outputs = &firstDrawing;
    if (request.refuseTooWideCue) {
        choices.refusedLineWidth = kMaxLineWidth;
    }
    FrameCanvas canvas;
    OrderedPipeline<std::vector<DrawnCue>> pipeline;
    int submitted = 0;
    std::vector<DrawnCue> block;  // the cues taken last, from the pipeline's oldest block
    size_t nextInBlock = 0;
    for (int taken = 0; taken < eventCount;) {
        if (cancelled()) {
            discardAll();
            return CancelledError();
        }
        if (submitted < eventCount && !pipeline.full()) {
            CueBlockJob job{&cueList, &events, submitted, {}, choices};
            const int end = std::min(eventCount, submitted + kCuesPerBlock);
            for (; submitted < end; ++submitted) {
                CueLook look{request.renderSettings(), request.colourRoles(), {}};
                if (request.secondDrawing) {
                    look.second = request.secondDrawing->settings(look.settings);
                }
                job.looks.push_back(std::move(look));
            }
            pipeline.submit(std::move(job));
            continue;
        }

        const int index = taken++;
        if (request.beforeCue) {
            request.beforeCue(index);
        }
        if (nextInBlock == block.size()) {
            block = pipeline.takeNext();
            nextInBlock = 0;
        }
        DrawnCue& drawn = block[nextInBlock++];
        if (request.refuseTooWideCue && drawn.subtitle.widestLine >= choices.refusedLineWidth) {
            discardAll();
            return request.refuseTooWideCue(static_cast<int>(drawn.tooWideCue));
        }
        if (request.cueDrawn && (!request.frameWanted || request.frameWanted(index))) {
            request.cueDrawn(index, canvas.draw(drawn.subtitle.raster, request.roleColours));
        }
        if (!drawn.encoded) {
            discardAll();
            const size_t cue = events[static_cast<size_t>(index)].cues.front();
            return CueError(static_cast<int>(cue), cueList.cues[cue], drawn.encoded.error());
        }
        if (const DrawnCue* second = drawn.second.get()) {
            if (second->subtitle.widestLine >= kMaxLineWidth) {
                discardAll();
                const auto cue = static_cast<int>(second->tooWideCue);
                return TooWideForSecondDrawing(cue, cueList.cues[second->tooWideCue]);
            }
            if (!second->encoded) {
                discardAll();
                const size_t cue = events[static_cast<size_t>(index)].cues.front();
                return CueError(static_cast<int>(cue), cueList.cues[cue], second->encoded.error());
            }
        }
        for (size_t i = 0; i < outputs.size(); ++i) {
            EncodedCue& encoded =
                i < firstDrawingOutputs ? drawn.encoded.value() : drawn.second->encoded.value();
            if (i < drawn.drawings.size()) {
                encoded.drawing = std::move(drawn.drawings[i]);
            }
            if (Status added = outputs[i]->add(encoded); !added) {
                discardAll();
                return added.error();
            }
        }
    }
    if (cancelled()) {  // asked while the last cue was handed over
        discardAll();
        return CancelledError();
    }
    return eventCount;
}

}  // namespace

Result<GeneratedStream> GenerateSupStream(const GenerationRequest& request) {
    if (request.cueList->cues.empty()) {
        return EmptyListError();
    }
    if (request.cancelRequested && request.cancelRequested()) {
        return CancelledError();
    }
    const QString streamPath = StreamPath(request);
    SupStreamOutput stream(streamPath);
    std::vector<CueOutput*> outputs{&stream};
    outputs.insert(outputs.end(), request.extraOutputs.begin(), request.extraOutputs.end());
    const size_t firstDrawingOutputs = outputs.size();
    outputs = WithSecondDrawing(std::move(outputs), request);
    if (Status begun = BeginAll(outputs); !begun) {
        return begun.error();
    }
    const Result<int> packets = GenerateInto(request, outputs, firstDrawingOutputs);
    if (!packets) {
        return packets.error();
    }
    if (Status written = FinishAndCommitAll(outputs); !written) {
        return written.error();
    }
    return GeneratedStream{streamPath, packets.value()};
}

Result<std::vector<GeneratedStream>> GenerateSupStreams(
    const std::vector<GenerationRequest>& requests, const std::vector<CueOutput*>& sharedOutputs) {
    std::vector<std::unique_ptr<SupStreamOutput>> streams;
    std::vector<CueOutput*> all;
    for (const GenerationRequest& request : requests) {
        streams.push_back(std::make_unique<SupStreamOutput>(StreamPath(request)));
        all.push_back(streams.back().get());
        all.insert(all.end(), request.extraOutputs.begin(), request.extraOutputs.end());
        if (request.secondDrawing) {
            all.insert(all.end(), request.secondDrawing->outputs.begin(),
                       request.secondDrawing->outputs.end());
        }
    }
    all.insert(all.end(), sharedOutputs.begin(), sharedOutputs.end());
    if (Status begun = BeginAll(all); !begun) {
        return begun.error();
    }
    std::vector<GeneratedStream> generated;
    for (size_t i = 0; i < requests.size(); ++i) {
        std::vector<CueOutput*> outputs{streams[i].get()};
        outputs.insert(outputs.end(), requests[i].extraOutputs.begin(),
                       requests[i].extraOutputs.end());
        outputs.insert(outputs.end(), sharedOutputs.begin(), sharedOutputs.end());
        const size_t firstDrawingOutputs = outputs.size();
        outputs = WithSecondDrawing(std::move(outputs), requests[i]);
        const Result<int> packets = GenerateInto(requests[i], outputs, firstDrawingOutputs);
        if (!packets) {
            for (CueOutput* output : all) {
                output->discard();
            }
            Error refused = packets.error();
            if (refused.kind != ErrorKind::Cancelled && !requests[i].streamSource.isEmpty()) {
                refused.message = QDir::toNativeSeparators(requests[i].streamSource) +
                                  QLatin1String(":\r") + refused.message;
            }
            return refused;
        }
        generated.push_back({streams[i]->paths().front(), packets.value()});
    }
    if (Status written = FinishAndCommitAll(all); !written) {
        return written.error();
    }
    return generated;
}

}  // namespace marvoxa

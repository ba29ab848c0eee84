#include "ui/unit1.h"

#include "export/extra_outputs.h"
#include "export/stream_set_outputs.h"
#include "subtitles/cue_lines.h"
#include "subtitles/display_events.h"
#include "subtitles/line_width_check.h"
#include "subtitles/subtitle_messages.h"
#include "sup/completion_report.h"
#include "sup/generation.h"
#include "sup/stream_tags.h"
#include "ui/control_lock.h"
#include "ui/dvd_copy_choice.h"
#include "ui/further_streams.h"
#include "ui/generation_session.h"
#include "ui/prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

// "Generate Sup": the loaded subtitle alone, or with the further streams of the Options dialog.

namespace marvoxa {

template <typename Generate>
auto TForm1::whileGenerating(int cueCount, bool withDvdCopy, Generate generate) {
    // Nothing may load, restyle or start again meanwhile; the button becomes "Cancel".
    const ControlLock lock(c_.inputControls(), c_.Button3);
    GenerationSession session(this, c_.Button3, c_.ProgressBar1, cueCount, withDvdCopy);
    session_ = &session;
    generating_ = true;
    const auto done = qScopeGuard([this] {
        session_ = nullptr;
        generating_ = false;
    });
    return generate(session);
}

bool TForm1::openShownDvdCopy(std::unique_ptr<WindowDvdCopy>& copy, const QStringList& languages,
                              const QStringList& sources) {
    const OptionsChoices shown =
        ShownOptions(options_, OfferedDvdTitles(palette_, dvdTitles_), ifoPath_);
    if (!shown.intoDvd) {
        return true;
    }
    auto opened = WindowDvdCopy::Open(ifoPath_, shown, *palette_.palette(), languages, sources);
    if (!opened) {
        prompts_.showMessage(this, opened.error().message);
        return false;
    }
    copy = std::move(opened).value();
    if (const QString notice = copy->paletteNotice(); !notice.isEmpty()) {
        prompts_.showMessage(this, notice);
    }
    return true;
}

void TForm1::Button3Click() {
    if (session_ != nullptr) {  // the button reads "Cancel" while generating
        session_->requestCancel();
        return;
    }
    if (!subsLoaded_) {
        prompts_.showMessage(this, kLoadSubtitleFirstMessage);
        return;
    }
    // The box was unticked after the subtitle passed: there is no palette to draw with.
    // Nothing can tick the box while the stream is made, so this is the case reported.
    const std::optional<PaletteCase> paletteCase = palette_.generationCase();
    if (!palette_.paletteReady() || !palette_.palette() || !paletteCase) {
        prompts_.showMessage(this, kLoadIfoFirstMessage);
        return;
    }
    if (const QList<StreamChoice> further = FilledStreams(options_.moreStreams);
        !further.isEmpty()) {
        generateStreamSet(*paletteCase, further);
        return;
    }

    const QString outputFolder = QFileInfo(subtitlePath_).absolutePath();
    const VideoStandard standard = renderSettings().standard;
    const std::vector<std::unique_ptr<CueOutput>> extraOutputs = MakeExtraOutputs(
        options_.outputs, outputFolder, standard, *palette_.palette(), options_.forced);
    std::unique_ptr<WindowDvdCopy> dvdCopy;
    if (!openShownDvdCopy(dvdCopy)) {
        return;
    }
    const Result<GeneratedStream> stream = whileGenerating(
        static_cast<int>(DisplayEvents(cueList_).size()), dvdCopy != nullptr,
        [&](GenerationSession& session) {
            GenerationRequest request;
            request.cueList = &cueList_;
            request.renderSettings = [this] { return renderSettings(); };
            request.colourRoles = [this] { return colourRoles(); };
            request.roleColours = palette_.palette()->roleColours(colourRoles());
            request.outputFolder = outputFolder;
            request.forced = options_.forced;
            for (const auto& output : extraOutputs) {
                request.extraOutputs.push_back(output.get());
            }
            if (dvdCopy) {
                dvdCopy->setProgress([&session](qint64 copied, qint64 total) {
                    return session.copyProgress(copied, total);
                });
                dvdCopy->addTo(request, renderSettings(), outputFolder);
            }
            request.beforeCue = [&session](int index) { session.beforeCue(index); };
            request.frameWanted = [&session](int index) { return session.frameWanted(index); };
            request.cancelRequested = [&session] { return session.cancelRequested(); };
            request.cueDrawn = [this](int, const QImage& frame) {
                previewPicture_ = frame;
                showPreviewPicture();
            };
            return GenerateSupStream(request);
        });
    if (closeWhenStopped_) {
        close();
        return;
    }
    if (!stream) {
        prompts_.showMessage(this, stream.error().message);
        return;
    }

    // Done is only said once both files are in place.
    const QString helpPath = OutputPath(outputFolder, kHelpFileName);
    if (const Status written = WriteHelpFile(*paletteCase, stream.value().streamPath, helpPath,
                                             DvdCopyHelpLines(dvdCopy.get()));
        !written) {
        prompts_.showMessage(this, written.error().message);
        return;
    }
    prompts_.showMessage(this, CompletionMessage(*paletteCase, stream.value().streamPath, helpPath,
                                                 DvdCopyHelpLines(dvdCopy.get())));
    if (QString report = ExtraOutputsReport(extraOutputs, options_.outputs, outputFolder, standard);
        !report.isEmpty()) {
        prompts_.showMessage(this, report.trimmed().replace(QLatin1Char('\n'), QLatin1Char('\r')));
    }
    if (dvdCopy) {
        prompts_.showMessage(this, dvdCopy->report());
    }
}

void TForm1::generateStreamSet(PaletteCase paletteCase, const QList<StreamChoice>& further) {
    const Result<std::vector<FurtherStream>> loaded =
        LoadFurtherStreams(further, options_.text.markup);
    if (!loaded) {
        prompts_.showMessage(this, loaded.error().message);
        return;
    }
    QStringList paths{subtitlePath_};
    QStringList languages{options_.outputs.language};
    std::vector<const CueList*> cueLists{&cueList_};
    int cueCount = static_cast<int>(DisplayEvents(cueList_).size());
    for (const FurtherStream& stream : loaded.value()) {
        paths << stream.path;
        languages << stream.language;
        cueLists.push_back(&stream.cueList);
        cueCount += static_cast<int>(DisplayEvents(stream.cueList).size());
    }
    const QString outputFolder = QFileInfo(subtitlePath_).absolutePath();
    const VideoStandard standard = renderSettings().standard;
    const StreamSetOutputs extra = MakeStreamSetOutputs(
        options_.outputs, languages, outputFolder, standard, *palette_.palette(), options_.forced);
    // Every stream goes into one copy of the DVD: one read and write of the title set.
    std::unique_ptr<WindowDvdCopy> dvdCopy;
    std::vector<CueOutput*> shared = extra.sharedOutputs();
    if (!openShownDvdCopy(dvdCopy, languages, paths)) {
        return;
    }
    if (dvdCopy) {
        shared.push_back(dvdCopy->output());
    }

    const Result<std::vector<GeneratedStream>> streams =
        whileGenerating(cueCount, dvdCopy != nullptr, [&](GenerationSession& session) {
            if (dvdCopy) {
                dvdCopy->setProgress([&session](qint64 copied, qint64 total) {
                    return session.copyProgress(copied, total);
                });
            }
            std::vector<GenerationRequest> requests(cueLists.size());
            for (size_t i = 0; i < cueLists.size(); ++i) {
                GenerationRequest& request = requests[i];
                request.cueList = cueLists[i];
                request.renderSettings = [this] { return renderSettings(); };
                request.colourRoles = [this] { return colourRoles(); };
                request.roleColours = palette_.palette()->roleColours(colourRoles());
                request.outputFolder = outputFolder;
                request.streamFileName = TaggedStreamFileName(extra.tags[static_cast<int>(i)]);
                request.streamIndex = static_cast<int>(i);
                request.forced = options_.forced;
                request.extraOutputs = extra.ofStream(i);
                if (dvdCopy) {
                    dvdCopy->addLetterboxTo(
                        request, renderSettings(), outputFolder, static_cast<int>(i),
                        TaggedLetterboxFileName(extra.tags[static_cast<int>(i)]));
                }
                request.beforeCue = [&session](int index) { session.beforeCue(index); };
                request.cancelRequested = [&session] { return session.cancelRequested(); };
                request.frameWanted = [&session](int index) { return session.frameWanted(index); };
                request.cueDrawn = [this](int, const QImage& frame) {
                    previewPicture_ = frame;
                    showPreviewPicture();
                };
                request.streamSource = paths[static_cast<int>(i)];
                if (i > 0) {
                    // The loaded file's lines were checked when it was loaded, these not yet.
                    request.refuseTooWideCue = [this, cueList = cueLists[i]](int cue) {
                        const QStringList lines = LineTexts(
                            DrawnCueLines(*cueList, static_cast<size_t>(cue), renderSettings())
                                .drawn);
                        return Error{ErrorKind::State, TooLongOnLoadMessage(lines)};
                    };
                }
            }
            return GenerateSupStreams(requests, shared);
        });
    if (closeWhenStopped_) {
        close();
        return;
    }
    if (!streams) {
        prompts_.showMessage(this, streams.error().message);
        return;
    }
    QStringList streamPaths;
    for (const GeneratedStream& stream : streams.value()) {
        streamPaths << stream.streamPath;
    }
    const QString helpPath = OutputPath(outputFolder, kHelpFileName);
    const QStringList copyLines = DvdCopyHelpLines(dvdCopy.get());
    if (const Status written = WriteHelpFile(paletteCase, streamPaths, helpPath, copyLines);
        !written) {
        prompts_.showMessage(this, written.error().message);
        return;
    }
    prompts_.showMessage(this, CompletionMessage(paletteCase, streamPaths, helpPath, copyLines));
    if (QString report = StreamSetOutputsReport(extra, outputFolder, standard); !report.isEmpty()) {
        prompts_.showMessage(this, report.trimmed().replace(QLatin1Char('\n'), QLatin1Char('\r')));
    }
    if (dvdCopy) {
        prompts_.showMessage(this, dvdCopy->report());
    }
}

}  // namespace marvoxa

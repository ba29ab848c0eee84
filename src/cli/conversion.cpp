#include "cli/conversion.h"

#include "dvd/dvd_copy_output.h"
#include "dvd/dvd_report.h"
#include "dvd/letterbox_drawing.h"
#include "export/stream_set_outputs.h"
#include "palette/ifo_reader.h"
#include "palette/palette_state.h"
#include "subtitles/cue_lines.h"
#include "subtitles/cue_notices.h"
#include "subtitles/file_name_language.h"
#include "subtitles/line_width_check.h"
#include "subtitles/media_reader.h"
#include "subtitles/subtitle_loader.h"
#include "sup/completion_report.h"
#include "sup/generation.h"
#include "sup/stream_tags.h"

#include <QDir>
#include <QFileInfo>

namespace marvoxa {

namespace {

// Messages use carriage returns between lines, as the window's boxes show them.
QString AsLines(const QString& message) {
    QString lines = message;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

// Follows the refusal of a line too wide for the picture.
const QLatin1String kWrapHint(
    "Hint: --wrap breaks lines too wide for the picture at spaces instead of refusing them.");

// Errors and notices go to standard error under the converter's name, as other tools' do, so
// that they stand out from the report in a script's log.
void Say(QTextStream& err, const QString& message) {
    err << QStringLiteral("marvoxa-cli: ") << AsLines(message) << Qt::endl;
}

int Refuse(QTextStream& err, const QString& message) {
    Say(err, message);
    return kExitRefused;
}

ColourRoles WithOverrides(ColourRoles roles, const ConversionOptions& options) {
    roles.antialias = options.antialias.value_or(roles.antialias);
    roles.outline = options.outline.value_or(roles.outline);
    roles.text = options.text.value_or(roles.text);
    roles.background = options.background.value_or(roles.background);
    return roles;
}

// Each file's language: the one --language gives in its place, else its name's tag. Nothing when
// a file has neither; the error names it.
Result<QStringList> StreamLanguages(const QStringList& paths, const QStringList& given) {
    QStringList languages;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (i < given.size() && !given[i].isEmpty()) {
            languages << given[i];
        } else if (const std::optional<QString> named = LanguageFromFileName(paths[i])) {
            languages << *named;
        } else {
            return Error{ErrorKind::Format,
                         QStringLiteral("The language of %1 is not known: give it with "
                                        "--language, one a file in their order (such as "
                                        "--language fr,de), or in the file's name, such as "
                                        "film.fr.srt.")
                             .arg(QDir::toNativeSeparators(paths[i]))};
        }
    }
    return languages;
}

// With several files, what is said of one names it.
QString OfFile(const QString& text, const QString& path, bool several) {
    return several ? QDir::toNativeSeparators(path) + QLatin1String(":\r") + text : text;
}

// Several files: one stream each, all written together or none.
int RunStreamSet(const ConversionOptions& options, const std::vector<SubtitleLoad>& loads,
                 const QStringList& paths, const QStringList& languages,
                 const PaletteState& palette, const RenderSettings& settings,
                 const QString& outputFolder, bool folderExisted,
                 const std::optional<DvdTarget>& dvd, QTextStream& out, QTextStream& err,
                 const std::function<bool()>& stopRequested) {
    const StreamSetOutputs extra =
        MakeStreamSetOutputs(options.extraOutputs, languages, outputFolder, settings.standard,
                             *palette.palette(), options.forced);
    // Every stream goes into one copy of the DVD: one read and write of the title set.
    std::unique_ptr<DvdCopyOutput> dvdCopy;
    std::vector<CueOutput*> shared = extra.sharedOutputs();
    if (dvd) {
        dvdCopy = std::make_unique<DvdCopyOutput>(*dvd, languages, paths, outputFolder,
                                                  *palette.palette());
        dvdCopy->setProgress([&](qint64, qint64) { return !stopRequested || !stopRequested(); });
        shared.push_back(dvdCopy.get());
    }
    std::vector<GenerationRequest> requests;
    std::vector<std::unique_ptr<LetterboxDrawing>> letterboxes;
    for (size_t i = 0; i < loads.size(); ++i) {
        const CueList& cueList = loads[i].cueList;
        const QString path = paths[static_cast<qsizetype>(i)];
        GenerationRequest request;
        request.cueList = &cueList;
        request.renderSettings = [&settings] { return settings; };
        request.colourRoles = [&palette] { return palette.roles(); };
        request.roleColours = *palette.roleColours();
        request.outputFolder = outputFolder;
        request.streamFileName = TaggedStreamFileName(extra.tags[static_cast<qsizetype>(i)]);
        request.streamIndex = static_cast<int>(i);
        request.forced = options.forced;
        request.extraOutputs = extra.ofStream(i);
        request.cancelRequested = stopRequested;
        request.streamSource = path;
        if (dvdCopy) {
            const QString tag = extra.tags[static_cast<qsizetype>(i)];
            if (auto letterbox =
                    LetterboxDrawing::For(*dvd, settings, *dvdCopy, outputFolder,
                                          static_cast<int>(i), TaggedLetterboxFileName(tag))) {
                request.secondDrawing = letterbox->secondDrawing();
                letterboxes.push_back(std::move(letterbox));
            }
        }
        request.refuseTooWideCue = [&cueList, &settings](int cueIndex) {
            const auto index = static_cast<size_t>(cueIndex);
            const QStringList lines = LineTexts(DrawnCueLines(cueList, index, settings).drawn);
            return Error{ErrorKind::State,
                         TooLongOnLoadMessage(lines) + QLatin1Char('\r') + kWrapHint};
        };
        requests.push_back(std::move(request));
    }
    const Result<std::vector<GeneratedStream>> streams = GenerateSupStreams(requests, shared);
    if (!streams) {
        if (!folderExisted) {
            QDir().rmdir(outputFolder);  // made for this run and still empty: not left behind
        }
        return Refuse(err, streams.error().message);
    }
    QStringList streamPaths;
    for (const GeneratedStream& stream : streams.value()) {
        streamPaths << stream.streamPath;
    }
    const PaletteCase paletteCase = *palette.generationCase();
    const QString helpPath = OutputPath(outputFolder, kHelpFileName);
    const QStringList copyLines =
        dvdCopy ? DvdCopyHelpText(*dvd, dvdCopy->report(), languages) : QStringList();
    if (Status written = WriteHelpFile(paletteCase, streamPaths, helpPath, copyLines); !written) {
        return Refuse(err, written.error().message);
    }
    out << AsLines(CompletionMessage(paletteCase, streamPaths, helpPath, copyLines)) << Qt::endl;
    if (const QString report = StreamSetOutputsReport(extra, outputFolder, settings.standard);
        !report.isEmpty()) {
        out << Qt::endl << report;
    }
    if (dvdCopy) {
        out << Qt::endl << DvdCopyReportText(*dvd, dvdCopy->report(), languages);
        for (const auto& letterbox : letterboxes) {
            out << letterbox->report(dvdCopy->report());
        }
        if (const std::optional<QString> notice = AfterTitleEndNotice(*dvd, dvdCopy->report())) {
            Say(err, *notice);
        }
    }
    return kExitDone;
}

}  // namespace

int RunConversion(const ConversionOptions& options, QTextStream& out, QTextStream& err,
                  const std::function<bool()>& stopRequested) {
    const QStringList paths = QStringList{options.subtitlePath} + options.moreSubtitlePaths;
    const bool several = paths.size() > 1;
    QStringList languages{options.extraOutputs.language};
    if (several) {
        const Result<QStringList> named = StreamLanguages(paths, options.languages);
        if (!named) {
            return Refuse(err, named.error().message);
        }
        languages = named.value();
    }
    PaletteState palette;
    RenderSettings settings = options.settings;
    std::optional<DvdTarget> dvd;
    bool ifoVideoWide = false;
    if (options.intoDvd) {
        Result<DvdTarget> opened = OpenDvdTarget(options.ifoPath, options.title);
        if (!opened) {
            return Refuse(err, opened.error().message);
        }
        dvd = std::move(opened).value();
        if (dvd->paletteDiffersFromSet) {
            Say(err, TitlePaletteNotice(dvd->discTitle));
        }
    }
    if (!options.ifoPath.isEmpty()) {
        // Players colour a stream with the palette of the PGC that plays it.
        const Result<IfoPaletteData> read =
            dvd ? Result<IfoPaletteData>(dvd->palette) : ReadIfoPalette(options.ifoPath);
        if (!read) {
            return Refuse(err, read.error().message);
        }
        if (palette.applyIfoRead(read.value()).paletteCase == PaletteCase::MonocromaticIfo) {
            Say(err, MonocromaticIfoMessage(options.intoDvd));
        }
        settings.standard = palette.videoStandard();
        ifoVideoWide = IsWideVideo(read.value().videoAttributes);
    } else {
        palette.setNoIfoBoxChecked(true);
    }
    settings.wide = DrawsWide(options.aspect, ifoVideoWide);
    if (const std::optional<QString> notice = IfoWideNotice(options.aspect, ifoVideoWide)) {
        Say(err, *notice);
    }
    palette.setRoles(WithOverrides(palette.roles(), options));

    std::vector<SubtitleLoad> loads;
    for (const QString& path : paths) {
        SubtitleLoad load =
            LoadSubtitleFile(path, settings.text.markup, IsMediaFileName(path) ? options.track : 0);
        if (load.error) {
            return Refuse(err, OfFile(load.error->message, path, several));
        }
        for (const std::optional<QString>& notice :
             {load.notice, ExtraLinesNotice(load.cueList, settings),
              UndrawableCharactersNotice(load.cueList, settings),
              OverlappingCuesNotice(load.cueList)}) {
            if (notice) {
                Say(err, OfFile(*notice, path, several));
            }
        }
        loads.push_back(std::move(load));
    }
    const SubtitleLoad& load = loads.front();
    const QString outputFolder = options.outputFolder.isEmpty()
                                     ? QFileInfo(options.subtitlePath).absolutePath()
                                     : options.outputFolder;
    const bool folderExisted = QFileInfo::exists(outputFolder);
    if (!QDir().mkpath(outputFolder)) {
        return Refuse(err, QStringLiteral("The output folder %1 cannot be made.")
                               .arg(QDir::toNativeSeparators(outputFolder)));
    }
    if (several) {
        return RunStreamSet(options, loads, paths, languages, palette, settings, outputFolder,
                            folderExisted, dvd, out, err, stopRequested);
    }
    GenerationRequest request;
    request.cueList = &load.cueList;
    request.renderSettings = [&settings] { return settings; };
    request.colourRoles = [&palette] { return palette.roles(); };
    request.roleColours = *palette.roleColours();
    request.outputFolder = outputFolder;
    request.forced = options.forced;
    const std::vector<std::unique_ptr<CueOutput>> extraOutputs = MakeExtraOutputs(
        options.extraOutputs, outputFolder, settings.standard, *palette.palette(), options.forced);
    for (const auto& output : extraOutputs) {
        request.extraOutputs.push_back(output.get());
    }
    std::unique_ptr<DvdCopyOutput> dvdCopy;
    std::unique_ptr<LetterboxDrawing> letterbox;
    if (dvd) {
        dvdCopy = std::make_unique<DvdCopyOutput>(*dvd, options.extraOutputs.language, outputFolder,
                                                  *palette.palette());
        dvdCopy->setProgress([&](qint64, qint64) { return !stopRequested || !stopRequested(); });
        request.extraOutputs.push_back(dvdCopy.get());
        letterbox = LetterboxDrawing::For(*dvd, settings, *dvdCopy, outputFolder);
        if (letterbox) {
            request.secondDrawing = letterbox->secondDrawing();
        }
    }
    request.cancelRequested = stopRequested;
    // Lines are measured as generation draws them; a file with a line too wide is refused
    // whole, and nothing is written.
    request.refuseTooWideCue = [&](int cueIndex) {
        const auto index = static_cast<size_t>(cueIndex);
        const QStringList lines = LineTexts(DrawnCueLines(load.cueList, index, settings).drawn);
        return Error{ErrorKind::State, TooLongOnLoadMessage(lines) + QLatin1Char('\r') + kWrapHint};
    };
    const Result<GeneratedStream> stream = GenerateSupStream(request);
    if (!stream) {
        if (!folderExisted) {
            QDir().rmdir(outputFolder);  // made for this run and still empty: not left behind
        }
        return Refuse(err, stream.error().message);
    }

    const PaletteCase paletteCase = *palette.generationCase();
    const QString helpPath = OutputPath(outputFolder, kHelpFileName);
    // With the copy written, the help says what it holds instead of the IFO editor's steps.
    const QStringList copyLines =
        dvdCopy ? DvdCopyHelpText(*dvd, dvdCopy->report(), options.extraOutputs.language)
                : QStringList();
    // Done is only said once both files are in place.
    if (Status written = WriteHelpFile(paletteCase, stream.value().streamPath, helpPath, copyLines);
        !written) {
        return Refuse(err, written.error().message);
    }
    out << AsLines(CompletionMessage(paletteCase, stream.value().streamPath, helpPath, copyLines))
        << Qt::endl;
    if (const QString extra =
            ExtraOutputsReport(extraOutputs, options.extraOutputs, outputFolder, settings.standard);
        !extra.isEmpty()) {
        out << Qt::endl << extra;
    }
    if (dvdCopy) {
        out << Qt::endl
            << DvdCopyReportText(*dvd, dvdCopy->report(), options.extraOutputs.language);
        if (letterbox) {
            out << letterbox->report(dvdCopy->report());
        }
        if (const std::optional<QString> notice = AfterTitleEndNotice(*dvd, dvdCopy->report())) {
            Say(err, *notice);
        }
    }
    return kExitDone;
}

}  // namespace marvoxa

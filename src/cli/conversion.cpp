#include "cli/conversion.h"

#include "dvd/dvd_copy_output.h"
#include "dvd/dvd_report.h"
#include "dvd/letterbox_drawing.h"
#include "palette/ifo_reader.h"
#include "palette/palette_state.h"
#include "subtitles/cue_lines.h"
#include "subtitles/cue_notices.h"
#include "subtitles/line_width_check.h"
#include "subtitles/subtitle_loader.h"
#include "sup/completion_report.h"
#include "sup/generation.h"

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

int Refuse(QTextStream& err, const QString& message) {
    err << AsLines(message) << Qt::endl;
    return kExitRefused;
}

ColourRoles WithOverrides(ColourRoles roles, const ConversionOptions& options) {
    roles.antialias = options.antialias.value_or(roles.antialias);
    roles.outline = options.outline.value_or(roles.outline);
    roles.text = options.text.value_or(roles.text);
    roles.background = options.background.value_or(roles.background);
    return roles;
}

}  // namespace

int RunConversion(const ConversionOptions& options, QTextStream& out, QTextStream& err,
                  const std::function<bool()>& stopRequested) {
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
            err << AsLines(TitlePaletteNotice(dvd->discTitle)) << Qt::endl;
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
            out << AsLines(MonocromaticIfoMessage(options.intoDvd)) << Qt::endl << Qt::endl;
        }
        settings.standard = palette.videoStandard();
        ifoVideoWide = IsWideVideo(read.value().videoAttributes);
    } else {
        palette.setNoIfoBoxChecked(true);
    }
    settings.wide = DrawsWide(options.aspect, ifoVideoWide);
    if (const std::optional<QString> notice = IfoWideNotice(options.aspect, ifoVideoWide)) {
        err << AsLines(*notice) << Qt::endl;
    }
    palette.setRoles(WithOverrides(palette.roles(), options));

    const SubtitleLoad load =
        LoadSubtitleFile(options.subtitlePath, settings.text.markup, options.track);
    if (load.error) {
        return Refuse(err, load.error->message);
    }
    for (const std::optional<QString>& notice :
         {load.notice, ExtraLinesNotice(load.cueList, settings),
          UndrawableCharactersNotice(load.cueList, settings),
          OverlappingCuesNotice(load.cueList)}) {
        if (notice) {
            err << AsLines(*notice) << Qt::endl;
        }
    }
    const QString outputFolder = options.outputFolder.isEmpty()
                                     ? QFileInfo(options.subtitlePath).absolutePath()
                                     : options.outputFolder;
    const bool folderExisted = QFileInfo::exists(outputFolder);
    if (!QDir().mkpath(outputFolder)) {
        return Refuse(err, QStringLiteral("The output folder %1 cannot be made.")
                               .arg(QDir::toNativeSeparators(outputFolder)));
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
            err << *notice << Qt::endl;
        }
    }
    return kExitDone;
}

}  // namespace marvoxa

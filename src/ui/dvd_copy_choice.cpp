#include "ui/dvd_copy_choice.h"

#include "dvd/dvd_report.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace marvoxa {

QList<DvdTitleOption> DvdTitleOptions(const QString& ifoPath) {
    const Result<DvdTarget> target = OpenDvdTarget(ifoPath, 0);
    if (!target) {
        return {};
    }
    QList<TitleInSet> titles = target.value().info.titles;
    std::stable_sort(titles.begin(), titles.end(), [](const TitleInSet& a, const TitleInSet& b) {
        return a.lengthMs > b.lengthMs;
    });
    QList<DvdTitleOption> options;
    for (const TitleInSet& title : titles) {
        options.append({title.discTitle, QStringLiteral("Title %1 (%2)")
                                             .arg(title.discTitle)
                                             .arg(TitleLengthText(title.lengthMs))});
    }
    return options;
}

QList<DvdTitleOption> OfferedDvdTitles(const PaletteState& palette,
                                       const QList<DvdTitleOption>& loadedTitles) {
    const bool ifoInUse = palette.paletteReady() && palette.generationCase().value_or(
                                                        PaletteCase::NoIfo) != PaletteCase::NoIfo;
    return ifoInUse ? loadedTitles : QList<DvdTitleOption>();
}

QString DefaultDvdCopyFolder(const QString& ifoPath) {
    QDir dvd = QFileInfo(ifoPath).absoluteDir();
    dvd.cdUp();  // from VIDEO_TS to the DVD's own folder
    const QString name = dvd.isRoot() ? QStringLiteral("DVD") : dvd.dirName();
    dvd.cdUp();
    return QDir::toNativeSeparators(dvd.filePath(name + QStringLiteral(" with subtitles")));
}

OptionsChoices ShownOptions(const OptionsChoices& stored,
                            const QList<DvdTitleOption>& offeredTitles, const QString& ifoPath) {
    OptionsChoices shown = stored;
    if (offeredTitles.isEmpty()) {
        shown.intoDvd = false;
        return shown;
    }
    const bool titleOffered =
        std::any_of(offeredTitles.begin(), offeredTitles.end(),
                    [&](const DvdTitleOption& title) { return title.number == stored.dvdTitle; });
    shown.dvdTitle = titleOffered ? stored.dvdTitle : offeredTitles.first().number;
    if (shown.dvdFolder.isEmpty()) {
        shown.dvdFolder = DefaultDvdCopyFolder(ifoPath);
    }
    return shown;
}

OptionsChoices StoredOptions(const OptionsChoices& chosen, const OptionsChoices& stored,
                             const QList<DvdTitleOption>& offeredTitles, const QString& ifoPath) {
    OptionsChoices kept = chosen;
    if (offeredTitles.isEmpty()) {
        kept.intoDvd = stored.intoDvd;
        kept.dvdTitle = stored.dvdTitle;
        kept.dvdFolder = stored.dvdFolder;
    } else if (QDir::cleanPath(kept.dvdFolder) == QDir::cleanPath(DefaultDvdCopyFolder(ifoPath))) {
        kept.dvdFolder.clear();
    }
    return kept;
}

Result<std::unique_ptr<WindowDvdCopy>> WindowDvdCopy::Open(const QString& ifoPath,
                                                           const OptionsChoices& choices,
                                                           const Palette& drawnIn,
                                                           const QStringList& languages,
                                                           const QStringList& sources) {
    // The ISO command names the folder: it must hold the copy and nothing else.
    const QStringList others =
        QDir(choices.dvdFolder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            .filter(QRegularExpression(QStringLiteral("^(?!VIDEO_TS$|\\.VIDEO_TS-)")));
    if (!others.isEmpty()) {
        return Error{ErrorKind::State,
                     QStringLiteral("The output folder for the DVD copy, %1, holds other files "
                                    "(%2): an ISO image made of it would hold them too. Choose an "
                                    "empty or new folder in Options...")
                         .arg(QDir::toNativeSeparators(choices.dvdFolder), others.first())};
    }
    Result<DvdTarget> target = OpenDvdTarget(ifoPath, choices.dvdTitle);
    if (!target) {
        return target.error();
    }
    std::unique_ptr<WindowDvdCopy> copy(new WindowDvdCopy(std::move(target).value()));
    copy->languages_ = languages.isEmpty() ? QStringList{choices.outputs.language} : languages;
    copy->folder_ = choices.dvdFolder;
    copy->folderExisted_ = QFileInfo::exists(copy->folder_);
    copy->output_ = std::make_unique<DvdCopyOutput>(copy->target_, copy->languages_, sources,
                                                    choices.dvdFolder, drawnIn);
    return copy;
}

void WindowDvdCopy::addTo(GenerationRequest& request, const RenderSettings& settings,
                          const QString& streamFolder) {
    request.extraOutputs.push_back(output_.get());
    addLetterboxTo(request, settings, streamFolder, 0, QLatin1String(kLetterboxStreamFileName));
}

void WindowDvdCopy::addLetterboxTo(GenerationRequest& request, const RenderSettings& settings,
                                   const QString& streamFolder, int stream,
                                   const QString& fileName) {
    if (auto letterbox =
            LetterboxDrawing::For(target_, settings, *output_, streamFolder, stream, fileName)) {
        request.secondDrawing = letterbox->secondDrawing();
        letterboxes_.push_back(std::move(letterbox));
    }
}

WindowDvdCopy::~WindowDvdCopy() {
    output_.reset();  // discards an unfinished copy first
    if (!folderExisted_) {
        QDir().rmdir(folder_);  // only while empty
    }
}

QString WindowDvdCopy::paletteNotice() const {
    if (!target_.paletteDiffersFromSet) {
        return {};
    }
    return QStringLiteral(
               "Title %1 plays with a subtitle palette of its own, not the one of the "
               "loaded IFO's first program chain: the colours the subtitles are drawn in "
               "are written into title %1's palette where it lacks them.")
        .arg(target_.discTitle);
}

QString WindowDvdCopy::report() const {
    QString text = DvdCopyReportText(target_, output_->report(), languages_);
    for (const auto& letterbox : letterboxes_) {
        text += QLatin1Char('\n') + letterbox->report(output_->report());
    }
    if (const std::optional<QString> notice = AfterTitleEndNotice(target_, output_->report())) {
        text += QLatin1Char('\n') + *notice;
    }
    return text.trimmed().replace(QLatin1Char('\n'), QLatin1Char('\r'));
}

QStringList WindowDvdCopy::helpLines() const {
    return DvdCopyHelpText(target_, output_->report(), languages_);
}

QStringList DvdCopyHelpLines(const WindowDvdCopy* copy) {
    return copy != nullptr ? copy->helpLines() : QStringList();
}

}  // namespace marvoxa

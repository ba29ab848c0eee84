#include "ui/dvd_copy_choice.h"

#include "dvd/dvd_report.h"

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

Result<std::unique_ptr<WindowDvdCopy>> WindowDvdCopy::Open(
    const QString& ifoPath, const OptionsChoices& choices, const QString& outputFolder,
    const Palette& drawnIn, const QStringList& languages, const QStringList& sources) {
    if (ifoPath.isEmpty()) {
        return Error{ErrorKind::State,
                     QStringLiteral("Adding the subtitles to a DVD needs the VTS_xx_0.IFO in the "
                                    "DVD's VIDEO_TS folder: load it with \"Load Ifo\", or untick "
                                    "\"Add to the DVD of the loaded IFO\" in Options...")};
    }
    Result<DvdTarget> target = OpenDvdTarget(ifoPath, choices.dvdTitle);
    if (!target) {
        return target.error();
    }
    std::unique_ptr<WindowDvdCopy> copy(new WindowDvdCopy(std::move(target).value()));
    copy->languages_ = languages.isEmpty() ? QStringList{choices.outputs.language} : languages;
    copy->output_ = std::make_unique<DvdCopyOutput>(copy->target_, copy->languages_, sources,
                                                    outputFolder, drawnIn);
    return copy;
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

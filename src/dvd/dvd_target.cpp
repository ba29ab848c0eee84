#include "dvd/dvd_target.h"

#include <QStringList>

#include <algorithm>

namespace marvoxa {

namespace {

constexpr int kMostSubpictureStreams = 32;

}  // namespace

QString TitleLengthText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString TitleListText(const TitleSetInfo& info) {
    QStringList titles;
    for (const TitleInSet& title : info.titles) {
        titles << QStringLiteral("title %1 (%2)")
                      .arg(title.discTitle)
                      .arg(TitleLengthText(title.lengthMs));
    }
    return titles.join(QLatin1String(", "));
}

Result<DvdTarget> OpenDvdTarget(const QString& ifoPath, int discTitle) {
    Result<DvdFolder> folder = FindDvdFolder(ifoPath);
    if (!folder) {
        return folder.error();
    }
    Result<TitleSetInfo> info = ReadTitleSetInfo(folder.value());
    if (!info) {
        return info.error();
    }
    DvdTarget target;
    target.folder = std::move(folder).value();
    target.info = std::move(info).value();
    const TitleSetInfo& set = target.info;
    if (set.titles.isEmpty()) {
        return Error{ErrorKind::Format, QStringLiteral("Title set %1 plays no title of the disc, "
                                                       "so there is nothing to add subtitles to.")
                                            .arg(set.titleSet)};
    }
    if (discTitle == 0) {
        discTitle = std::max_element(set.titles.begin(), set.titles.end(),
                                     [](const TitleInSet& a, const TitleInSet& b) {
                                         return a.lengthMs < b.lengthMs;
                                     })
                        ->discTitle;
    }
    const TitleInSet* title = set.title(discTitle);
    if (title == nullptr) {
        return Error{ErrorKind::Format,
                     QStringLiteral("Title %1 is not in title set %2 of this DVD. Its titles "
                                    "are: %3. Choose one of them, or load the IFO of the title "
                                    "set that plays title %1.")
                         .arg(discTitle)
                         .arg(set.titleSet)
                         .arg(TitleListText(set))};
    }
    for (const TitleInSet& other : set.titles) {
        if (other.interleaved || other.multiAngle) {
            return Error{ErrorKind::Format,
                         QStringLiteral("Title %1 of title set %2 is interleaved or has several "
                                        "angles. Marvoxa cannot yet rewrite such a title set.")
                             .arg(other.discTitle)
                             .arg(set.titleSet)};
        }
    }
    if (set.subpictureStreams.size() >= kMostSubpictureStreams) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("Title set %1 already has %2 subtitle streams, the most a DVD "
                                    "allows, so no stream can be added.")
                         .arg(set.titleSet)
                         .arg(kMostSubpictureStreams)};
    }
    target.discTitle = discTitle;
    target.stream = static_cast<int>(set.subpictureStreams.size());
    const ProgramChain* first = set.pgc(title->firstPgc);
    target.palette = IfoPaletteData{first->palette, set.videoAttributesWord};
    target.paletteDiffersFromSet =
        !set.pgcs.isEmpty() && set.pgcs.front().palette != first->palette;
    return target;
}

}  // namespace marvoxa

#include "dvd/title_video_copy.h"

#include "dvd/background_walk.h"
#include "dvd/program_stream.h"
#include "dvd/title_video_writer.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace marvoxa {
namespace {

// The copy waits until the reading is 16 MiB ahead, so it copies in long runs.
constexpr quint32 kSectorsPerStep = 8192;

// The VOBU address map must list exactly the VOBUs whose NAV packs the video holds: both are
// rewritten from the same walk.
Status CheckVobuMap(const TitleSetInfo& info, const QList<VobuEntry>& vobus) {
    for (qsizetype i = 0; i <= std::min(info.vobuStartSectors.size(), vobus.size()); ++i) {
        const bool mapEnds = i == info.vobuStartSectors.size();
        const bool videoEnds = i == vobus.size();
        if (mapEnds && videoEnds) {
            break;
        }
        if (mapEnds || videoEnds || info.vobuStartSectors[i] != vobus[i].sector) {
            return Error{ErrorKind::Format,
                         QStringLiteral("The IFO of title set %1 disagrees with its VOBs: its VOBU "
                                        "address map lists %2 VOBUs and the VOBs hold %3, the "
                                        "first difference being VOBU %4. Copy the DVD again.")
                             .arg(info.titleSet)
                             .arg(info.vobuStartSectors.size())
                             .arg(vobus.size())
                             .arg(i + 1)};
        }
    }
    return Ok();
}

}  // namespace

Result<SubpicturePlacement> CopyTitleVideo(const DvdFolder& source, const TitleSetInfo& info,
                                           TitleTimeline& timeline, SubpicturePlacer& placer,
                                           const QList<int>& subStreams, const QString& folder,
                                           const std::function<bool(qint64 bytes)>& advance,
                                           SubpictureSurvey& survey) {
    const quint32 total = source.titleVobSectors();
    // The title's cells in the order of their sectors, which is the order the copy meets them.
    std::vector<qsizetype> cells(static_cast<size_t>(timeline.cellCount()));
    std::iota(cells.begin(), cells.end(), qsizetype{0});
    std::stable_sort(cells.begin(), cells.end(), [&](qsizetype a, qsizetype b) {
        return timeline.cellSectors(a).first < timeline.cellSectors(b).first;
    });
    // A cell is placed once the walk has read the pack after it: its last gap ends there.
    const auto readThrough = [&](qsizetype cell) {
        return static_cast<quint32>(
            std::min<qint64>(total, qint64{timeline.cellSectors(cell).second} + 2));
    };

    TitleVobStream video(source);
    TitleVideoWriter writer(video, source, folder, TitleVobFileSectors(source));
    BackgroundWalk walk(source);
    size_t nextCell = 0;
    quint32 reported = 0;  // sectors read that advance has been told of
    QList<VobuEntry> vobus;
    while (true) {
        quint32 wanted = std::min<quint32>(total, writer.copiedUpTo() + kSectorsPerStep);
        if (nextCell < cells.size() && timeline.cellSectors(cells[nextCell]).first < wanted) {
            wanted = std::max(wanted, readThrough(cells[nextCell]));
        }
        const BackgroundWalk::Progress read = walk.waitFor(wanted);
        if (!advance(qint64{read.sectorsRead - reported} * kPackSize)) {
            return Error{ErrorKind::Cancelled, QString()};
        }
        reported = read.sectorsRead;
        if (read.finished) {
            Result<QList<VobuEntry>> walked = walk.result();
            if (!walked) {
                return walked.error();
            }
            if (Status agrees = CheckVobuMap(info, walked.value()); !agrees) {
                return agrees.error();
            }
            vobus = walked.value();
        } else {
            vobus = walk.vobus();
        }
        for (; nextCell < cells.size() &&
               (read.finished || read.sectorsRead >= readThrough(cells[nextCell]));
             ++nextCell) {
            if (Status attached = timeline.attach(cells[nextCell], vobus); !attached) {
                return attached.error();
            }
            if (Status placed = placer.placeCell(cells[nextCell], walk.clocks()); !placed) {
                return placed.error();
            }
        }
        quint32 limit = read.finished ? total : read.sectorsRead;
        if (nextCell < cells.size()) {
            limit = std::min(limit, timeline.cellSectors(cells[nextCell]).first);
        }
        const quint32 before = writer.copiedUpTo();
        if (limit > before || (read.finished && limit == total)) {
            if (Status copied = writer.copyUpTo(limit, placer.insertions()); !copied) {
                return copied.error();
            }
            if (Status rewritten = writer.rewriteNavPacks(vobus, placer.syncs(), subStreams, false);
                !rewritten) {
                return rewritten.error();
            }
            if (!advance(qint64{writer.copiedUpTo() - before} * kPackSize)) {
                return Error{ErrorKind::Cancelled, QString()};
            }
        }
        if (read.finished && writer.copiedUpTo() == total) {
            break;
        }
    }
    if (Status rewritten = writer.rewriteNavPacks(vobus, placer.syncs(), subStreams, true);
        !rewritten) {
        return rewritten.error();
    }
    survey = walk.survey();
    return placer.finish();
}

}  // namespace marvoxa

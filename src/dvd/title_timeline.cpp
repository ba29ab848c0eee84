#include "dvd/title_timeline.h"

#include <algorithm>
#include <cstdlib>

namespace marvoxa {
namespace {

bool Overlap(const CellPlayback& a, const CellPlayback& b) {
    return a.firstSector <= b.lastSector && b.firstSector <= a.lastSector;
}

// How often the cell's sectors are played by all the set's PGCs together.
int TimesPlayed(const TitleSetInfo& set, const CellPlayback& cell) {
    int times = 0;
    for (const ProgramChain& chain : set.pgcs) {
        for (const CellPlayback& other : chain.cells) {
            times += Overlap(cell, other) ? 1 : 0;
        }
    }
    return times;
}

Error CellError(int titleSet, int pgc, int cell, const QString& what) {
    return Error{ErrorKind::Format,
                 QStringLiteral("The IFO of title set %1 disagrees with its VOBs: cell %2 of "
                                "PGC %3 %4")
                     .arg(titleSet)
                     .arg(cell)
                     .arg(pgc)
                     .arg(what)};
}

}  // namespace

Result<TitleTimeline> TitleTimeline::Lay(const TitleSetInfo& set, int discTitle) {
    const TitleInSet* title = set.title(discTitle);
    if (title == nullptr) {
        return Error{
            ErrorKind::Format,
            QStringLiteral("Title %1 is not in title set %2.").arg(discTitle).arg(set.titleSet)};
    }
    if (title->interleaved || title->multiAngle) {
        return Error{ErrorKind::Format,
                     QStringLiteral("Title %1 is interleaved or has several angles; Marvoxa "
                                    "cannot place subtitles in such a title.")
                         .arg(discTitle)};
    }
    TitleTimeline timeline;
    timeline.titleSet_ = set.titleSet;
    for (const int number : title->pgcs) {
        const ProgramChain& chain = *set.pgc(number);
        if (chain.playbackMode != 0) {
            return Error{ErrorKind::Format,
                         QStringLiteral("Title %1 plays the programs of PGC %2 in random order, "
                                        "so its times have no fixed place.")
                             .arg(discTitle)
                             .arg(number)};
        }
        for (int index = 0; index < chain.cells.size(); ++index) {
            const CellPlayback& cell = chain.cells[index];
            PlacedCell placed;
            placed.pgcNumber = number;
            placed.cellIndex = index;
            placed.startTicks = timeline.lengthTicks_;
            placed.ticks = cell.playbackTime.ticks;
            placed.playback = cell;
            placed.playedMoreThanOnce = TimesPlayed(set, cell) > 1;
            timeline.lengthTicks_ += placed.ticks;
            timeline.cells_.append(placed);
        }
    }
    return timeline;
}

Result<TitleTimeline> TitleTimeline::Build(const TitleSetInfo& set, int discTitle,
                                           const QList<VobuEntry>& vobus) {
    Result<TitleTimeline> timeline = Lay(set, discTitle);
    if (!timeline) {
        return timeline;
    }
    for (qsizetype position = 0; position < timeline.value().cellCount(); ++position) {
        if (Status attached = timeline.value().attach(position, vobus); !attached) {
            return attached.error();
        }
    }
    const auto times = [&vobus](quint32 sector) -> Result<std::pair<quint32, quint32>> {
        const auto vobu = std::lower_bound(
            vobus.begin(), vobus.end(), sector,
            [](const VobuEntry& entry, quint32 wanted) { return entry.sector < wanted; });
        return std::pair{vobu->startPtm, vobu->endPtm};  // attach() found both
    };
    if (Status measured = timeline.value().measure(times); !measured) {
        return measured.error();
    }
    return timeline;
}

Status TitleTimeline::measure(const VobuTimes& times) {
    lengthTicks_ = 0;
    for (PlacedCell& placed : cells_) {
        const CellPlayback& cell = placed.playback;
        const Result<std::pair<quint32, quint32>> first = times(cell.firstSector);
        if (!first) {
            return CellError(
                titleSet_, placed.pgcNumber, placed.cellIndex + 1,
                QStringLiteral("starts at sector %1, where no VOBU starts.").arg(cell.firstSector));
        }
        const Result<std::pair<quint32, quint32>> last = times(cell.lastVobuStartSector);
        if (!last) {
            return CellError(titleSet_, placed.pgcNumber, placed.cellIndex + 1,
                             QStringLiteral("has its last VOBU at sector %1, where the VOBs have "
                                            "no VOBU.")
                                 .arg(cell.lastVobuStartSector));
        }
        // 32-bit presentation times may wrap within a cell.
        const qint64 ticks = static_cast<quint32>(last.value().second - first.value().first);
        const qint64 stated = cell.playbackTime.ticks;
        if (std::abs(ticks - stated) > kTicksPerSecond + stated / 100) {
            return CellError(titleSet_, placed.pgcNumber, placed.cellIndex + 1,
                             QStringLiteral("plays for %1 ms by the IFO, but its video lasts %2 "
                                            "ms.")
                                 .arg(TicksToMs(stated))
                                 .arg(TicksToMs(ticks)));
        }
        placed.startTicks = lengthTicks_;
        placed.ticks = ticks;
        lengthTicks_ += ticks;
    }
    return Ok();
}

Status TitleTimeline::attach(qsizetype position, const QList<VobuEntry>& vobus) {
    PlacedCell& placed = cells_[position];
    const CellPlayback& cell = placed.playback;
    const auto bySector = [](const VobuEntry& vobu, quint32 sector) {
        return vobu.sector < sector;
    };
    const auto first = std::lower_bound(vobus.begin(), vobus.end(), cell.firstSector, bySector);
    const auto last = std::lower_bound(first, vobus.end(), cell.lastVobuStartSector, bySector);
    if (first == vobus.end() || first->sector != cell.firstSector) {
        return CellError(
            titleSet_, placed.pgcNumber, placed.cellIndex + 1,
            QStringLiteral("starts at sector %1, where no VOBU starts.").arg(cell.firstSector));
    }
    if (last == vobus.end() || last->sector != cell.lastVobuStartSector ||
        last->lastSector != cell.lastSector) {
        return CellError(titleSet_, placed.pgcNumber, placed.cellIndex + 1,
                         QStringLiteral("has its last VOBU at sector %1 ending at %2, where the "
                                        "VOBs have no such VOBU.")
                             .arg(cell.lastVobuStartSector)
                             .arg(cell.lastSector));
    }
    placed.vobus = QList<VobuEntry>(first, last + 1);
    return Ok();
}

Result<qsizetype> TitleTimeline::cellAt(qint64 titleMs) const {
    if (titleMs < 0) {
        return Error{
            ErrorKind::Limit,
            QStringLiteral("A title time of %1 ms lies before the title's start.").arg(titleMs)};
    }
    const qint64 ticks = titleMs * (kTicksPerSecond / 1000);
    if (ticks >= lengthTicks_) {
        return qsizetype{-1};
    }
    // The last cell that starts at or before the time; cells of no length are passed over.
    const auto cell =
        std::upper_bound(cells_.begin(), cells_.end(), ticks,
                         [](qint64 time, const PlacedCell& c) { return time < c.startTicks; });
    return qsizetype{cell - cells_.begin() - 1};
}

std::pair<quint32, quint32> TitleTimeline::cellSectors(qsizetype position) const {
    return {cells_[position].playback.firstSector, cells_[position].playback.lastSector};
}

bool TitleTimeline::playedMoreThanOnce(qsizetype position) const {
    return cells_[position].playedMoreThanOnce;
}

Result<TitleTimePoint> TitleTimeline::find(qint64 titleMs) const {
    const Result<qsizetype> position = cellAt(titleMs);
    if (!position) {
        return position.error();
    }
    TitleTimePoint point;
    if (position.value() < 0) {
        return point;
    }
    const PlacedCell* cell = &cells_[position.value()];
    const qint64 ticks = titleMs * (kTicksPerSecond / 1000);
    const qint64 pts = qint64{cell->vobus.front().startPtm} + (ticks - cell->startTicks);
    // A cell's times rise from VOBU to VOBU; the last VOBU also takes any time the IFO gives
    // the cell beyond its video.
    const auto vobu = std::upper_bound(cell->vobus.begin() + 1, cell->vobus.end(), pts,
                                       [](qint64 time, const VobuEntry& entry) {
                                           return time < qint64{entry.startPtm};
                                       }) -
                      1;
    point.outcome =
        cell->playedMoreThanOnce ? TitleTimeOutcome::PlayedMoreThanOnce : TitleTimeOutcome::Inside;
    point.pgcNumber = cell->pgcNumber;
    point.cellIndex = cell->cellIndex;
    point.vobuSector = vobu->sector;
    point.pts = pts;
    return point;
}

}  // namespace marvoxa

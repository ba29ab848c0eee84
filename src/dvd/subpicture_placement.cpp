#include "dvd/subpicture_placement.h"

#include "dvd/dvd_folder.h"
#include "dvd/program_stream.h"

#include <QMap>

#include <algorithm>
#include <vector>

namespace marvoxa {

namespace {

// The SCRs of a VOBU's packs and of the NAV pack after it (-1 at the end of the video).
QList<qint64> ClocksOf(const std::vector<qint64>& clocks, const VobuEntry& vobu) {
    QList<qint64> ofVobu(clocks.begin() + vobu.sector, clocks.begin() + vobu.lastSector + 1);
    ofVobu.append(vobu.lastSector + 1 < clocks.size() ? clocks[vobu.lastSector + 1] : -1);
    return ofVobu;
}

Error UnitError(const TitleSubpicture& unit, const QString& why) {
    return Error{ErrorKind::Limit,
                 QStringLiteral("%1 cannot be added to the DVD: %2").arg(unit.name, why)};
}

// The sync address of a VOBU for the units of its cell, in time order: the unit on screen
// during the VOBU, else the VOBU itself when no unit is near, else the next unit.
template <typename PlacedUnit>
SubpictureSync SyncFor(const VobuEntry& vobu, const QList<PlacedUnit>& units) {
    const auto toward = [&](quint32 target) {
        if (target == vobu.sector) {
            return SubpictureSync{SubpictureSync::Kind::HereOrLater, 0};
        }
        return SubpictureSync{
            target < vobu.sector ? SubpictureSync::Kind::Earlier : SubpictureSync::Kind::Later,
            target};
    };
    const auto next =
        std::upper_bound(units.begin(), units.end(), qint64{vobu.startPtm},
                         [](qint64 time, const PlacedUnit& unit) { return time < unit.pts; });
    if (next != units.begin()) {
        const PlacedUnit& shown = *std::prev(next);
        if (shown.endPts >= vobu.startPtm) {
            return toward(shown.packVobu);
        }
    }
    if (next == units.end() || next->pts >= vobu.endPtm) {
        return toward(vobu.sector);
    }
    return toward(next->packVobu);
}

}  // namespace

Result<SubpicturePlacer> SubpicturePlacer::Start(const TitleTimeline& timeline,
                                                 const QList<SubpictureTrack>& tracks,
                                                 quint32 muxRate) {
    QList<TrackUnit> units;
    SubpicturePlacer placer;
    for (const SubpictureTrack& track : tracks) {
        placer.subStreams_.append(track.subStream);
        for (const TitleSubpicture& unit : track.units) {
            units.append({unit, track.subStream});
        }
    }
    std::stable_sort(units.begin(), units.end(), [](const TrackUnit& a, const TrackUnit& b) {
        return a.unit.titleMs < b.unit.titleMs;
    });
    placer.timeline_ = &timeline;
    placer.muxRate_ = muxRate;
    placer.unitsOfCell_.resize(timeline.cellCount());
    for (const TrackUnit& trackUnit : units) {
        const TitleSubpicture& unit = trackUnit.unit;
        if (unit.unit.size() > kSubpictureBufferSize) {
            return UnitError(unit, QStringLiteral("its subpicture takes %1 bytes, more than the "
                                                  "%2 a player's subpicture buffer holds. Use a "
                                                  "smaller font or fewer lines.")
                                       .arg(unit.unit.size())
                                       .arg(kSubpictureBufferSize));
        }
        const Result<qsizetype> cell = timeline.cellAt(unit.titleMs);
        if (!cell) {
            return UnitError(unit, cell.error().message);
        }
        if (cell.value() < 0) {
            // Every drawing of a stream has each subtitle once: the notice counts subtitles,
            // so only the first track's units.
            if (trackUnit.subStream == units.front().subStream && placer.afterEnd_++ == 0) {
                placer.firstAfterEnd_ = unit.name;
            }
            continue;
        }
        if (timeline.playedMoreThanOnce(cell.value())) {
            return UnitError(unit, QStringLiteral("it falls in video that the DVD plays in more "
                                                  "than one place (a cell that two PGCs share or "
                                                  "that one plays twice), where one subtitle "
                                                  "cannot belong to a single time."));
        }
        placer.unitsOfCell_[cell.value()].append(trackUnit);
    }
    return placer;
}

Status SubpicturePlacer::placeCell(qsizetype position, const std::vector<qint64>& clocks) {
    for (const TrackUnit& unit : unitsOfCell_[position]) {
        if (Status placed = place(position, unit, clocks); !placed) {
            return placed;
        }
    }
    for (const int subStream : subStreams_) {
        QList<PlacedUnit> cellUnits = unitsByCell_.value({position, subStream});
        std::sort(cellUnits.begin(), cellUnits.end(),
                  [](const PlacedUnit& a, const PlacedUnit& b) { return a.pts < b.pts; });
        for (const VobuEntry& vobu : timeline_->vobusOf(position)) {
            syncs_[vobu.sector].append({subStream, SyncFor(vobu, cellUnits)});
        }
    }
    return Ok();
}

Status SubpicturePlacer::place(qsizetype position, const TrackUnit& trackUnit,
                               const std::vector<qint64>& clocks) {
    const TitleSubpicture& unit = trackUnit.unit;
    const Result<TitleTimePoint> found = timeline_->find(unit.titleMs);
    if (!found) {
        return UnitError(unit, found.error().message);
    }
    const TitleTimePoint& point = found.value();
    const QList<VobuEntry>& vobus = timeline_->vobusOf(position);
    auto vobu = std::find_if(vobus.cbegin(), vobus.cend(), [&](const VobuEntry& entry) {
        return entry.sector == point.vobuSector;
    });
    if (vobu == vobus.cend()) {
        return UnitError(
            unit,
            QStringLiteral("its VOBU at sector %1 is not in its cell.").arg(point.vobuSector));
    }
    quint32& streamEnd = streamEndOfCell_[{position, trackUnit.subStream}];
    const qint64 packTime = PackDuration27MHz(muxRate_);
    const qint64 shownAt = point.pts * 300;
    QList<QByteArray> packs = SubpicturePacks(unit.unit, trackUnit.subStream, point.pts, muxRate_);
    const qsizetype needed = packs.size();

    // The gaps from the latest before the unit's time backwards. A unit's packs go into
    // one gap when one has room for all, in a row as spumux writes them; otherwise into as
    // many gaps as they need.
    struct Gap {
        quint32 beforeSector;
        quint32 vobuSector;
        qint64 firstScr;
        qsizetype room;
    };
    QList<Gap> gaps;  // latest first
    qsizetype gathered = 0;
    for (;; --vobu) {
        const QList<qint64> scrs = ClocksOf(clocks, *vobu);
        for (qsizetype i = scrs.size() - 2; i >= 0; --i) {
            const quint32 before = vobu->sector + static_cast<quint32>(i) + 1;
            if (before < streamEnd) {
                break;
            }
            const qint64 next = scrs[i + 1];
            const qint64 from = used_.contains(before) ? used_[before].lastScr : scrs[i];
            if (next < 0 || next <= from) {
                continue;
            }
            const qint64 room = std::min((next - from) / packTime - 1,
                                         from < shownAt ? (shownAt - 1 - from) / packTime : 0);
            if (room > 0) {
                gaps.append({before, vobu->sector, from, room});
                gathered += room;
            }
        }
        // Enough: a gap that holds them all, or room enough in the last second's gaps.
        const bool wholeGapFound = std::any_of(gaps.cbegin(), gaps.cend(),
                                               [&](const Gap& gap) { return gap.room >= needed; });
        const bool secondSearched =
            gathered >= needed && qint64{vobu->startPtm} + kTicksPerSecond < point.pts;
        if (wholeGapFound || secondSearched || vobu == vobus.cbegin() || vobu->sector < streamEnd) {
            break;
        }
    }
    // In the VOBU that shows the unit, the earliest gap that holds it, which leaves the later
    // gaps to the units that follow; before that VOBU, the latest.
    QList<Gap> taken;
    const auto holdsAll = [&](const Gap& gap) { return gap.room >= needed; };
    const auto inShowingVobu = [&](const Gap& gap) { return gap.vobuSector == point.vobuSector; };
    const auto showingEnd = std::find_if_not(gaps.cbegin(), gaps.cend(), inShowingVobu);
    const auto earliest = std::find_if(std::make_reverse_iterator(showingEnd),
                                       std::make_reverse_iterator(gaps.cbegin()), holdsAll);
    const auto whole = std::find_if(showingEnd, gaps.cend(), holdsAll);
    if (earliest != std::make_reverse_iterator(gaps.cbegin())) {
        taken = {*earliest};
    } else if (whole != gaps.cend()) {
        taken = {*whole};
    } else {
        qsizetype left = needed;
        for (const Gap& gap : gaps) {
            if (left > 0) {
                taken.prepend(gap);
                left -= gap.room;
            }
        }
    }
    if (gathered < needed) {
        return UnitError(unit, QStringLiteral("the video of its cell leaves no room for its "
                                              "%1 packs of 2048 bytes before it is shown. "
                                              "Move it later, or split it into shorter "
                                              "subtitles.")
                                   .arg(needed));
    }
    qsizetype next = 0;
    for (const Gap& gap : taken) {
        qint64 scr = gap.firstScr;
        for (qsizetype i = 0; i < gap.room && next < needed; ++i) {
            scr += packTime;
            SetPackScr(reinterpret_cast<uchar*>(packs[next].data()), scr);
            inserted_[gap.beforeSector] += packs[next++];
        }
        used_[gap.beforeSector].lastScr = scr;
        streamEnd = std::max(streamEnd, gap.beforeSector);
    }
    unitsByCell_[{position, trackUnit.subStream}].append(
        {point.pts, point.pts + unit.durationMs * 90, taken.front().vobuSector});
    return Ok();
}

SubpicturePlacement SubpicturePlacer::finish() const {
    SubpicturePlacement placement;
    placement.afterEnd = afterEnd_;
    placement.firstAfterEnd = firstAfterEnd_;
    for (auto it = inserted_.cbegin(); it != inserted_.cend(); ++it) {
        placement.insertions.append({it.key(), it.value()});
        placement.shift.insertBefore(it.key(), static_cast<quint32>(it.value().size() / kPackSize));
    }
    placement.syncs = syncs_;
    return placement;
}

Result<SubpicturePlacement> PlaceSubpictures(const std::vector<qint64>& clocks, quint32 muxRate,
                                             const TitleTimeline& timeline,
                                             const QList<SubpictureTrack>& tracks) {
    Result<SubpicturePlacer> placer = SubpicturePlacer::Start(timeline, tracks, muxRate);
    if (!placer) {
        return placer.error();
    }
    for (qsizetype position = 0; position < timeline.cellCount(); ++position) {
        if (Status placed = placer.value().placeCell(position, clocks); !placed) {
            return placed.error();
        }
    }
    return placer.value().finish();
}

}  // namespace marvoxa

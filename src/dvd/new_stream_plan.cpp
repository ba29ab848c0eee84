#include "dvd/new_stream_plan.h"

#include "dvd/unit_colours.h"

#include <QtAlgorithms>

#include <optional>

namespace marvoxa {

namespace {

constexpr int kMostStreams = 32;

// Bits n of every sub-stream number that a stream control of the set's PGCs names.
quint32 ControlledSubStreams(const TitleSetInfo& set) {
    quint32 named = 0;
    for (const ProgramChain& chain : set.pgcs) {
        for (const quint32 control : chain.subpictureControl) {
            if ((control & 0x80000000u) != 0) {
                for (const int shift : {24, 16, 8, 0}) {
                    named |= 1u << (control >> shift & 0x1f);
                }
            }
        }
    }
    return named;
}

std::optional<int> TakeFree(quint32& taken) {
    for (int n = 0; n < kMostStreams; ++n) {
        if ((taken & 1u << n) == 0) {
            taken |= 1u << n;
            return n;
        }
    }
    return std::nullopt;
}

quint16 EntriesOf(const NewTitleStream& stream) {
    quint16 entries = 0;
    for (const QList<TitleSubpicture>* units : {&stream.units, &stream.letterboxUnits}) {
        for (const TitleSubpicture& unit : *units) {
            entries |= UnitColourEntries(unit.unit);
        }
    }
    return entries;
}

}  // namespace

Result<NewStreamsPlan> PlanNewStreams(const DvdTarget& target, const QList<NewTitleStream>& streams,
                                      const SetSubpictureUse& use) {
    const TitleSetInfo& set = target.info;
    const VideoAttributes& video = set.video;
    if (target.stream + streams.size() > kMostStreams) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("Title set %1 has %2 subtitle streams; %3 more would pass the "
                                    "%4 a DVD allows.")
                         .arg(set.titleSet)
                         .arg(target.stream)
                         .arg(streams.size())
                         .arg(kMostStreams)};
    }
    NewStreamsPlan plan;
    quint32 taken = ControlledSubStreams(set) | use.carriedSubStreams;
    const bool wide = video.aspect == DisplayAspect::Wide;
    const bool letterboxShown = wide && (video.letterboxAllowed || video.panScanAllowed);
    for (qsizetype k = 0; k < streams.size(); ++k) {
        PlannedStream planned;
        planned.number = target.stream + static_cast<int>(k);
        const std::optional<int> id = TakeFree(taken);
        std::optional<int> letterbox;
        if (id && letterboxShown && !streams[k].letterboxUnits.isEmpty()) {
            letterbox = TakeFree(taken);
        }
        if (!id || (letterboxShown && !streams[k].letterboxUnits.isEmpty() && !letterbox)) {
            return Error{ErrorKind::Limit,
                         QStringLiteral("Title set %1 uses all 32 subpicture sub-stream ids in "
                                        "its program chains or VOBs, so no subtitle stream can be "
                                        "added.")
                             .arg(set.titleSet)};
        }
        planned.subStream = *id;
        planned.letterboxSubStream = letterbox.value_or(-1);
        plan.subStreams |= 1u << *id | (letterbox ? 1u << *letterbox : 0);
        const auto n = static_cast<quint32>(*id);
        const auto l = static_cast<quint32>(letterbox.value_or(*id));
        planned.control = 0x80000000u | n << 24;
        if (wide) {
            planned.control |=
                n << 16 | (video.letterboxAllowed ? l << 8 : 0) | (video.panScanAllowed ? l : 0);
        }
        for (int entry = 0; entry < 16; ++entry) {
            planned.entryFor[entry] = entry;
        }
        plan.streams.append(planned);
    }

    // The colours: an entry that holds a needed colour in every PGC of the title is shown as it
    // stands; another colour is written into an entry no existing unit names.
    QList<const ProgramChain*> chains;
    for (const int number : set.title(target.discTitle)->pgcs) {
        chains.append(set.pgc(number));
    }
    const auto holdsEverywhere = [&](int entry, quint32 colour) {
        for (const ProgramChain* chain : chains) {
            if ((chain->palette[entry] & 0xffffff) != colour) {
                return false;
            }
        }
        return true;
    };
    struct Need {
        qsizetype stream;
        int entry;
        quint32 colour;
    };
    QList<Need> needs;
    for (qsizetype k = 0; k < streams.size(); ++k) {
        const quint16 entries = EntriesOf(streams[k]);
        if (!streams[k].palette) {
            plan.reliedEntries |= entries;  // shown in the title's colours as they stand
            continue;
        }
        for (int entry = 0; entry < 16; ++entry) {
            const quint32 colour = (*streams[k].palette)[entry] & 0xffffff;
            if ((entries & 1u << entry) == 0) {
                continue;
            }
            if (holdsEverywhere(entry, colour)) {
                plan.reliedEntries |= static_cast<quint16>(1u << entry);
            } else {
                needs.append({k, entry, colour});
            }
        }
    }
    QMap<quint32, int> entryOfColour;
    for (const Need& need : needs) {
        for (int entry = 0; entry < 16 && !entryOfColour.contains(need.colour); ++entry) {
            if (holdsEverywhere(entry, need.colour)) {
                entryOfColour[need.colour] = entry;
                plan.reliedEntries |= static_cast<quint16>(1u << entry);
            }
        }
    }
    // Free entries from the top: authoring tools fill the palette from entry 0.
    int candidate = 15;
    QList<quint32> unplaced;
    for (const Need& need : needs) {
        if (!entryOfColour.contains(need.colour)) {
            while (candidate >= 0 &&
                   ((use.namedEntries | plan.reliedEntries) & (1u << candidate)) != 0) {
                --candidate;
            }
            if (candidate < 0) {
                if (!unplaced.contains(need.colour)) {
                    unplaced.append(need.colour);
                }
                continue;
            }
            entryOfColour[need.colour] = candidate;
            plan.paletteWrites[candidate] = need.colour;
            --candidate;
        }
        plan.streams[need.stream].entryFor[need.entry] = entryOfColour[need.colour];
    }
    if (!unplaced.isEmpty()) {
        const int named =
            qPopulationCount(static_cast<quint16>(use.namedEntries | plan.reliedEntries));
        return Error{ErrorKind::Limit,
                     QStringLiteral("Title %1's subtitle palette has no room for the subtitles' "
                                    "colours: %2 more entries are needed, but %3 of its 16 "
                                    "entries are used by its subtitle streams or hold colours "
                                    "the new subtitles show. Nothing was written.")
                         .arg(target.discTitle)
                         .arg(plan.paletteWrites.size() + unplaced.size())
                         .arg(named)};
    }
    return plan;
}

bool PlanHolds(const NewStreamsPlan& plan, const SetSubpictureUse& use) {
    quint16 written = 0;
    for (auto it = plan.paletteWrites.cbegin(); it != plan.paletteWrites.cend(); ++it) {
        written |= static_cast<quint16>(1u << it.key());
    }
    return (plan.subStreams & use.carriedSubStreams) == 0 && (written & use.namedEntries) == 0;
}

}  // namespace marvoxa

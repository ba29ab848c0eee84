#pragma once

#include "common/result.h"
#include "dvd/title_set_info.h"
#include "dvd/vobu_walk.h"

#include <QList>
#include <QtGlobal>

#include <functional>
#include <utility>

namespace marvoxa {

enum class TitleTimeOutcome {
    Inside,              // the time is played once, in the VOBU named
    AfterEnd,            // the title has ended by then
    PlayedMoreThanOnce,  // the VOBU's cell is shared by two PGCs or repeated within one
};

// Where a title time is shown. Unless the outcome is AfterEnd, the cell and VOBU that show it.
struct TitleTimePoint {
    TitleTimeOutcome outcome = TitleTimeOutcome::AfterEnd;
    int pgcNumber = 0;
    int cellIndex = 0;  // in the PGC's cells, from 0
    quint32 vobuSector = 0;
    qint64 pts = 0;  // 90 kHz, on the clock of the VOBU's presentation times
};

// The presentation times of the VOBU whose NAV pack is at a sector of the title video.
using VobuTimes = std::function<Result<std::pair<quint32, quint32>>(quint32 sector)>;

// A title's cells laid end to end in the order they play, each with its VOBUs, so that a time
// of the title (0 = the start of its first cell) can be found in the video. Title times are
// real video time: each cell lasts from its first VOBU's start to its last VOBU's end
// presentation time, not the BCD playback time of the IFO, whose NTSC "seconds" of 30 frames
// last 1.001 s. Cells that restart their presentation times are handled: each cell is
// measured from its own first VOBU. The cells come from the IFO and their end NAV packs; their
// VOBUs can be attached one cell at a time while the video is still being read.
class TitleTimeline {
public:
    // Lays out the disc title discTitle of set, taking every PGC its chapters name in order
    // and their cells in cell order, without VOBUs. Fails (ErrorKind::Format) when the title
    // is not in the set, plays its programs in random order, or is interleaved or has angles.
    // Until measure(), cells last their BCD playback time.
    static Result<TitleTimeline> Lay(const TitleSetInfo& set, int discTitle);

    // Measures each cell by the times of its first and last VOBUs. Fails (ErrorKind::Format)
    // when a cell's length differs from its IFO playback time by more than a second and 1%,
    // or as times does.
    Status measure(const VobuTimes& times);

    // Lay and measure, then every cell's VOBUs attached from vobus, the walk of the set's
    // title video.
    static Result<TitleTimeline> Build(const TitleSetInfo& set, int discTitle,
                                       const QList<VobuEntry>& vobus);

    // Gives the cell at position (in play order) its VOBUs, taken from vobus, which lists the
    // title video's VOBUs in sector order at least up to the cell's end. Fails
    // (ErrorKind::Format) when the cell does not start or end its last VOBU on a NAV pack of
    // the walk (the IFO disagrees with the VOBs).
    Status attach(qsizetype position, const QList<VobuEntry>& vobus);

    // The sum of the title's cell lengths.
    qint64 lengthTicks() const { return lengthTicks_; }

    // The position of the cell that shows the title time titleMs, or -1 when the title has
    // ended by then. Fails (ErrorKind::Limit) for a negative time.
    Result<qsizetype> cellAt(qint64 titleMs) const;

    // Finds the title time titleMs; its cell must have its VOBUs. Fails (ErrorKind::Limit) for
    // a negative time.
    Result<TitleTimePoint> find(qint64 titleMs) const;

    // The title's cells, by position in the order they play.
    qsizetype cellCount() const { return cells_.size(); }
    // The sectors the cell at position spans in the title video, NAV pack to last sector.
    std::pair<quint32, quint32> cellSectors(qsizetype position) const;
    bool playedMoreThanOnce(qsizetype position) const;
    // The VOBUs attached to the cell at position.
    const QList<VobuEntry>& vobusOf(qsizetype position) const { return cells_[position].vobus; }

private:
    struct PlacedCell {
        int pgcNumber = 0;
        int cellIndex = 0;
        qint64 startTicks = 0;  // in the title
        qint64 ticks = 0;
        CellPlayback playback;
        QList<VobuEntry> vobus;
        bool playedMoreThanOnce = false;
    };

    int titleSet_ = 0;

    QList<PlacedCell> cells_;
    qint64 lengthTicks_ = 0;
};

}  // namespace marvoxa

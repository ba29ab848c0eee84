#pragma once

#include "common/result.h"
#include "dvd/title_set_info.h"
#include "dvd/vobu_walk.h"

#include <QList>
#include <QtGlobal>

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

// A title's cells laid end to end in the order they play, each with its VOBUs, so that a time
// of the title (0 = the start of its first cell) can be found in the video. Cells that restart
// their presentation times are handled: each cell is measured from its own first VOBU.
class TitleTimeline {
public:
    // Lays out the disc title discTitle of set, taking every PGC its chapters name in order
    // and their cells in cell order. vobus is the walk of the set's title video. Fails
    // (ErrorKind::Format) when the title is not in the set, plays its programs in random
    // order, is interleaved or has angles, or when a cell does not start or end its last VOBU
    // on a NAV pack of the walk (the IFO disagrees with the VOBs).
    static Result<TitleTimeline> Build(const TitleSetInfo& set, int discTitle,
                                       const QList<VobuEntry>& vobus);

    // The sum of the title's cell playback times.
    qint64 lengthTicks() const { return lengthTicks_; }

    // Finds the title time titleMs. Fails (ErrorKind::Limit) for a negative time.
    Result<TitleTimePoint> find(qint64 titleMs) const;

    // A cell of the title as find names it, with its VOBUs in sector order.
    struct Cell {
        int pgcNumber = 0;
        int cellIndex = 0;
        QList<VobuEntry> vobus;
    };
    // The title's cells in the order they play.
    QList<Cell> cells() const;

private:
    struct PlacedCell {
        int pgcNumber = 0;
        int cellIndex = 0;
        qint64 startTicks = 0;  // in the title
        qint64 ticks = 0;
        QList<VobuEntry> vobus;
        bool playedMoreThanOnce = false;
    };

    QList<PlacedCell> cells_;
    qint64 lengthTicks_ = 0;
};

}  // namespace marvoxa

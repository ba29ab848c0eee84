#pragma once

#include "dvd/nav_pack.h"

#include <QByteArray>
#include <QHash>
#include <QtGlobal>

#include <array>

namespace marvoxa {

// What the subpicture streams already in a set's VOBs use: the sub-streams their packs carry
// and, by cell, the palette entries their units name. Fed every pack of the VOBs in order.
class SubpictureSurvey {
public:
    // A pack of the video; cellKey names the cell that the VOBU holding it belongs to
    // (CellKey()), or is -1 for menu video, whose colours do not count.
    void addPack(SectorBytes pack, int cellKey);

    // Bit n: some pack carries sub-stream 0x20 + n.
    quint32 carriedSubStreams() const { return carried_; }
    // Bit n: some unit that starts in the cell names palette entry n.
    quint16 entriesOfCell(int cellKey) const { return entries_.value(cellKey); }

    static int CellKey(int vobId, int cellId) { return vobId << 8 | cellId; }

private:
    struct Assembly {
        QByteArray bytes;
        int size = 0;  // 0 while no unit is being gathered
        int cellKey = -1;
    };

    quint32 carried_ = 0;
    QHash<int, quint16> entries_;
    std::array<Assembly, 32> units_;
};

}  // namespace marvoxa

#pragma once

#include <QList>
#include <QtGlobal>

namespace marvoxa {

// Where the sectors of the title video go once packs are inserted between them: each sector
// moves on by the number of packs inserted before it.
class SectorShift {
public:
    // Records count packs inserted just before the old sector; call in increasing order of
    // sector (several calls for the same sector add up).
    void insertBefore(quint32 oldSector, quint32 count);

    // The new address of an old sector.
    quint32 map(quint32 oldSector) const;
    // How many packs are inserted in all.
    quint32 inserted() const { return points_.isEmpty() ? 0 : points_.back().total; }

    // The new distance from one old sector to another, both of which exist.
    quint32 distance(quint32 fromOld, quint32 toOld) const {
        const quint32 from = map(fromOld);
        const quint32 to = map(toOld);
        return from < to ? to - from : from - to;
    }

private:
    struct Point {
        quint32 sector;  // the first old sector that has moved by total
        quint32 total;
    };
    QList<Point> points_;
};

}  // namespace marvoxa

#include "dvd/sector_shift.h"

#include <algorithm>

namespace marvoxa {

void SectorShift::insertBefore(quint32 oldSector, quint32 count) {
    Q_ASSERT(points_.isEmpty() || points_.back().sector <= oldSector);
    if (count == 0) {
        return;
    }
    if (!points_.isEmpty() && points_.back().sector == oldSector) {
        points_.back().total += count;
        return;
    }
    points_.append({oldSector, inserted() + count});
}

quint32 SectorShift::map(quint32 oldSector) const {
    // The last point at or before the sector tells how far it moved.
    const auto after =
        std::upper_bound(points_.begin(), points_.end(), oldSector,
                         [](quint32 sector, const Point& point) { return sector < point.sector; });
    return after == points_.begin() ? oldSector : oldSector + std::prev(after)->total;
}

}  // namespace marvoxa

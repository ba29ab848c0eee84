#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

namespace marvoxa {

// The palette entries that the SET_COLOR commands of a subpicture unit's display control
// sequences name (bit n for entry n); 0 when it has none or its control table is damaged.
quint16 UnitColourEntries(const QByteArray& unit);

// The unit with each entry its SET_COLOR commands name replaced by entryFor[entry].
QByteArray RemapUnitColours(QByteArray unit, const std::array<int, 16>& entryFor);

}  // namespace marvoxa

#pragma once

#include "common/colour_roles.h"
#include "common/role_colours.h"

#include <QRgb>
#include <QString>
#include <QtGlobal>

#include <array>

namespace marvoxa {

inline constexpr int kPaletteSize = 16;

// One entry of a DVD subpicture palette together with the colour it is shown and drawn in.
struct PaletteEntry {
    quint32 storedValue = 0;  // the entry's IFO bytes big-endian: reserved, Y, Cr, Cb
    quint8 y = 0;
    quint8 cr = 0;
    quint8 cb = 0;
    QRgb displayColour = qRgb(0, 0, 0);
    QString tooltip;

    // Cr and Cb exactly at their middle: no colour at all.
    bool isGrey() const { return cr == 0x80 && cb == 0x80; }

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// The 16 entries that a subpicture's colour command indexes.
struct Palette {
    std::array<PaletteEntry, kPaletteSize> entries;

    // The display colours of the entries that the antialias, outline and text roles name.
    RoleColours roleColours(const ColourRoles& roles) const;

    friend bool operator==(const Palette&, const Palette&) = default;
};

// The stored value as exactly 8 upper-case hex digits, e.g. 00108080.
QString StoredValueTooltip(quint32 storedValue);

// An entry as it stands in an IFO: Y, Cr, Cb taken from the stored value and converted.
PaletteEntry PaletteEntryFromStoredValue(quint32 storedValue);

Palette PaletteFromStoredValues(const std::array<quint32, kPaletteSize>& storedValues);

}  // namespace marvoxa

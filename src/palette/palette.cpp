#include "palette/palette.h"

#include "palette/colour_conversion.h"

#include <QLatin1Char>

namespace marvoxa {

RoleColours Palette::roleColours(const ColourRoles& roles) const {
    return RoleColours{
        .antialias = entries.at(roles.antialias).displayColour,
        .outline = entries.at(roles.outline).displayColour,
        .text = entries.at(roles.text).displayColour,
    };
}

QString StoredValueTooltip(quint32 storedValue) {
    return QStringLiteral("%1").arg(storedValue, 8, 16, QLatin1Char('0')).toUpper();
}

PaletteEntry PaletteEntryFromStoredValue(quint32 storedValue) {
    PaletteEntry entry;
    entry.storedValue = storedValue;
    entry.y = static_cast<quint8>(storedValue >> 16);
    entry.cr = static_cast<quint8>(storedValue >> 8);
    entry.cb = static_cast<quint8>(storedValue);
    entry.displayColour = YCrCbToRgb(entry.y, entry.cr, entry.cb);
    entry.tooltip = StoredValueTooltip(storedValue);
    return entry;
}

Palette PaletteFromStoredValues(const std::array<quint32, kPaletteSize>& storedValues) {
    Palette palette;
    for (int i = 0; i < kPaletteSize; ++i) {
        palette.entries[i] = PaletteEntryFromStoredValue(storedValues[i]);
    }
    return palette;
}

}  // namespace marvoxa

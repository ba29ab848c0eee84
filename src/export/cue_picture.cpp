#include "export/cue_picture.h"

#include "export/spumux_colours.h"

namespace marvoxa {

std::array<QRgb, kPaletteSize> SpumuxEntryColours(const Palette& palette) {
    std::array<QRgb, kPaletteSize> colours{};
    for (size_t entry = 0; entry < colours.size(); ++entry) {
        const PaletteEntry& source = palette.entries[entry];
        colours[entry] = SpumuxColourFor({source.y, source.cr, source.cb});
    }
    return colours;
}

QImage CuePicture(const ShownSubpicture& shown,
                  const std::array<QRgb, kPaletteSize>& entryColours) {
    QImage picture(shown.width, shown.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (size_t value = 0; value < 4; ++value) {
        const int contrast = shown.contrasts[value];
        if (contrast == 0) {
            colours << qRgba(0, 0, 0, 0);
            continue;
        }
        const QRgb colour = entryColours[static_cast<size_t>(shown.paletteEntries[value])];
        colours << qRgba(qRed(colour), qGreen(colour), qBlue(colour), contrast * 17);
    }
    picture.setColorTable(colours);
    for (int row = 0; row < shown.height; ++row) {
        uchar* line = picture.scanLine(row);
        for (int column = 0; column < shown.width; ++column) {
            line[column] = static_cast<uchar>(shown.valueAt(column, row));
        }
    }
    return picture;
}

}  // namespace marvoxa

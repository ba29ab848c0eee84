#include "export/cue_picture.h"

#include "export/spumux_colours.h"

namespace marvoxa {

QImage CuePicture(const ShownSubpicture& shown, const Palette& palette) {
    QImage picture(shown.width, shown.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (size_t value = 0; value < 4; ++value) {
        const int contrast = shown.contrasts[value];
        if (contrast == 0) {
            colours << qRgba(0, 0, 0, 0);
            continue;
        }
        const PaletteEntry& entry =
            palette.entries[static_cast<size_t>(shown.paletteEntries[value])];
        const QRgb colour = SpumuxColourFor({entry.y, entry.cr, entry.cb});
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

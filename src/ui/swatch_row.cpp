#include "ui/swatch_row.h"

#include <QColor>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace marvoxa {

QPixmap SwatchPicture(QRgb displayColour) {
    QPixmap picture(SwatchRow::kSize, SwatchRow::kSize);
    picture.fill(QColor::fromRgb(displayColour));
    // A thin frame keeps a colour close to the window's grey visible.
    QPainter painter(&picture);
    painter.setPen(QColor::fromRgb(kSwatchBorder));
    painter.drawRect(0, 0, SwatchRow::kSize - 1, SwatchRow::kSize - 1);
    return picture;
}

SwatchRow::~SwatchRow() = default;  // the labels belong to the form

void SwatchRow::show(const std::optional<Palette>& palette) {
    clear();
    if (!palette) {
        return;
    }
    for (int entry = 0; entry < kPaletteSize; ++entry) {
        const PaletteEntry& colour = palette->entries[static_cast<size_t>(entry)];
        auto* square = new QLabel(form_);
        square->setObjectName(QStringLiteral("IfoColor%1").arg(entry));
        square->setGeometry(SquareLeft(entry), kSquareTop, kSize, kSize);
        square->setPixmap(SwatchPicture(colour.displayColour));
        square->setToolTip(colour.tooltip);

        auto* index = new QLabel(QString::number(entry), form_);
        index->setObjectName(QStringLiteral("IfoColorIndex%1").arg(entry));
        index->setGeometry(IndexLeft(entry), kIndexTop, kSize, kSize);
        index->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        index->setToolTip(colour.tooltip);

        // Children added to a window that is already shown stay hidden until shown.
        square->show();
        index->show();
        squares_.append(square);
        indexLabels_.append(index);
    }
}

void SwatchRow::clear() {
    for (QLabel* label : squares_ + indexLabels_) {
        delete label;
    }
    squares_.clear();
    indexLabels_.clear();
}

}  // namespace marvoxa

#pragma once

#include "palette/palette.h"

#include <QList>
#include <QPixmap>
#include <QRgb>

#include <optional>

class QLabel;
class QWidget;

namespace marvoxa {

inline constexpr QRgb kSwatchBorder = 0xff606060u;

// An entry's square: its display colour inside a one-pixel dark grey frame.
QPixmap SwatchPicture(QRgb displayColour);

// The palette's view in the main window: for each of the 16 entries a square in its display
// colour and its index above it, both with the entry's tooltip text.
class SwatchRow {
public:
    explicit SwatchRow(QWidget* form) : form_(form) {}
    ~SwatchRow();
    SwatchRow(const SwatchRow&) = delete;
    SwatchRow& operator=(const SwatchRow&) = delete;

    // Replaces the row by one for palette, or removes it when there is none.
    void show(const std::optional<Palette>& palette);

    bool isEmpty() const { return squares_.isEmpty(); }
    const QList<QLabel*>& squares() const { return squares_; }
    const QList<QLabel*>& indexLabels() const { return indexLabels_; }

    static constexpr int kSquareTop = 66;
    static constexpr int kIndexTop = 52;
    static constexpr int kSize = 18;
    // Entry i is the n-th swatch, n = i + 1.
    static constexpr int SquareLeft(int entry) { return 20 * (entry + 1) + 35; }
    static constexpr int IndexLeft(int entry) { return 20 * (entry + 1) + 37; }

private:
    void clear();

    QWidget* form_;
    QList<QLabel*> squares_;
    QList<QLabel*> indexLabels_;
};

}  // namespace marvoxa

#pragma once

#include "common/frame.h"
#include "common/role_colours.h"
#include "sup/row_runs.h"

#include <QByteArray>
#include <QImage>

#include <ostream>
#include <span>

// Failures show byte arrays as spaced hex.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << bytes.toHex(' ').toStdString();
}

namespace marvoxa {

inline void PrintTo(const Run& run, std::ostream* os) {
    *os << "(" << run.length << ", " << static_cast<int>(run.value) << ")";
}

namespace test {

inline constexpr QRgb kText = qRgb(255, 255, 255);
inline constexpr QRgb kOutline = qRgb(16, 16, 16);
inline constexpr QRgb kAntialias = qRgb(128, 128, 128);
inline constexpr RoleColours kRoles{kAntialias, kOutline, kText};

// Ignores spaces: Hex("03 FC").
inline QByteArray Hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

inline QImage BlueFrame(int height = 576) {
    QImage frame(720, height, kFrameFormat);
    frame.fill(QColor::fromRgb(kFrameBlue));
    return frame;
}

inline void Paint(QImage& frame, int row, int firstColumn, int lastColumn, QRgb colour) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        frame.setPixel(column, row, colour);
    }
}

inline std::span<const uchar> RowBytes(const QImage& frame, int row) {
    return {frame.constScanLine(row), static_cast<std::size_t>(frame.width()) * 3};
}

}  // namespace test
}  // namespace marvoxa

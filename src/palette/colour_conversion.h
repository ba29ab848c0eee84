#pragma once

#include <QRgb>
#include <QtGlobal>

namespace marvoxa {

// The display colour of a DVD palette entry: the full-range (JFIF) Y Cr Cb to RGB conversion,
// computed in 80-bit extended precision, each component rounded half to even and held to 0..255.
QRgb YCrCbToRgb(quint8 y, quint8 cr, quint8 cb);

}  // namespace marvoxa

#pragma once

#include <QImage>

namespace marvoxa {

// Subtitle frames are 24-bit pictures: three bytes a pixel, red, green, blue.
inline constexpr QImage::Format kFrameFormat = QImage::Format_RGB888;

}  // namespace marvoxa

#pragma once

#include "common/result.h"
#include "common/video_standard.h"
#include "palette/palette.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace marvoxa {

// What a title set IFO contributes: the first program chain's subpicture palette as stored
// and the video attributes word of the title set's video.
struct IfoPaletteData {
    std::array<quint32, kPaletteSize> storedValues{};
    quint16 videoAttributes = 0;

    friend bool operator==(const IfoPaletteData&, const IfoPaletteData&) = default;
};

// Reads the palette and the video attributes from an IFO file, opened read-only. Nothing but the
// fields' places is checked. Fails with ErrorKind::Io when the file cannot be opened or read, is
// not a regular file, or a field position is negative; with ErrorKind::Format when the file ends
// before a field (it is no title set IFO).
Result<IfoPaletteData> ReadIfoPalette(const QString& path);

// Bit 0x1000 of the attributes word (the low bit of the video standard field) selects PAL.
VideoStandard VideoStandardFromAttributes(quint16 videoAttributes);

// True when the attributes word's display aspect field (bits 10-11) says 16:9.
bool IsWideVideo(quint16 videoAttributes);

}  // namespace marvoxa

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
// fields' places is checked, apart from the DVD's own IFO, which is refused. Fails with
// ErrorKind::Io when the file cannot be opened or read or is not a regular file; with
// ErrorKind::Format when it is the DVD's own IFO or a field lies outside the file (it is no
// title set IFO, or a damaged one), naming why.
Result<IfoPaletteData> ReadIfoPalette(const QString& path);

// VIDEO_TS.IFO and its backup, by name: the DVD's own IFO, whose palette is no title's.
bool IsDvdOwnIfoName(const QString& path);
// Refuses the DVD's own IFO at path, naming the title set IFOs in its folder.
Error DvdOwnIfoError(const QString& path);

// Bit 0x1000 of the attributes word (the low bit of the video standard field) selects PAL.
VideoStandard VideoStandardFromAttributes(quint16 videoAttributes);

// True when the attributes word's display aspect field (bits 10-11) says 16:9.
bool IsWideVideo(quint16 videoAttributes);

}  // namespace marvoxa

#pragma once

#include "common/role_colours.h"
#include "render/hd_subtitle_drawing.h"

#include <QByteArray>
#include <QRect>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

namespace marvoxa {

// One entry of a presentation graphics palette: limited-range Y Cr Cb and alpha.
struct PgsColour {
    std::uint8_t y = 16;
    std::uint8_t cr = 128;
    std::uint8_t cb = 128;
    std::uint8_t alpha = 0;

    friend bool operator==(const PgsColour&, const PgsColour&) = default;
};

// Limited-range Y Cr Cb of a colour with its alpha: BT.709 for HD pictures, BT.601 for the
// 480 and 576 line ones, as players and libavcodec read them.
PgsColour ToPgsColour(QRgb colour, bool bt709);

// A region of the picture cropped to its ink, its rows run-length encoded.
struct IndexedObject {
    QRect rect;  // in the video picture
    QByteArray rows;
};

struct IndexedSubtitle {
    std::vector<IndexedObject> objects;  // one a region with ink, top first
    // Entry 0 is transparent; entries up to usedEntries - 1 are set.
    std::array<PgsColour, 256> palette{};
    int usedEntries = 1;
};

// Turns the drawn coverages into palette indices. Each pass's coverage is taken in 32 steps;
// every combination the picture holds gets an entry, in the order met, and when more than 255
// are held the commonest get them and the rarer ones take the nearest entry chosen.
IndexedSubtitle IndexSubtitle(const HdSubtitle& subtitle, const RoleColours& colours, bool bt709);

}  // namespace marvoxa

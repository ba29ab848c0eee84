#pragma once

#include <QRgb>
#include <QtGlobal>

namespace marvoxa {

struct YCrCb {
    int y = 0;
    int cr = 0;
    int cb = 0;

    friend bool operator==(const YCrCb&, const YCrCb&) = default;
};

// The palette entry spumux makes of a picture colour: the studio-range conversion (Y 16 to
// 235, Cr and Cb 16 to 240), not the full-range one the window displays with.
YCrCb SpumuxYCrCb(QRgb colour);

// The picture colour that spumux turns into the given palette entry. Not every entry can be
// reached (Y below 16 or above 235, colours outside the studio range): those get the colour
// whose entry lies nearest. Among equal choices the one farthest from a rounding step wins,
// so the result holds however spumux rounds its halves.
QRgb SpumuxColourFor(const YCrCb& target);

}  // namespace marvoxa

#include "export/spumux_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace marvoxa {

namespace {

// The unrounded conversion; rows give Y, Cr and Cb.
std::array<double, 3> StudioRange(int r, int g, int b) {
    return {16.0 + 0.257 * r + 0.504 * g + 0.098 * b, 128.0 + 0.439 * r - 0.368 * g - 0.071 * b,
            128.0 - 0.148 * r - 0.291 * g + 0.439 * b};
}

int Rounded(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

}  // namespace

YCrCb SpumuxYCrCb(QRgb colour) {
    const auto exact = StudioRange(qRed(colour), qGreen(colour), qBlue(colour));
    return {Rounded(exact[0]), Rounded(exact[1]), Rounded(exact[2])};
}

QRgb SpumuxColourFor(const YCrCb& target) {
    // The inverse of the conversion gives the neighbourhood; the search settles the rounding.
    const double y = target.y - 16.0;
    const double cr = target.cr - 128.0;
    const double cb = target.cb - 128.0;
    const int centreR = Rounded(1.164 * y + 1.596 * cr);
    const int centreG = Rounded(1.164 * y - 0.813 * cr - 0.392 * cb);
    const int centreB = Rounded(1.164 * y + 2.017 * cb);

    QRgb best = qRgb(0, 0, 0);
    double bestDistance = 1e18;
    double bestMargin = -1.0;
    constexpr int kReach = 4;
    for (int r = centreR - kReach; r <= centreR + kReach; ++r) {
        for (int g = centreG - kReach; g <= centreG + kReach; ++g) {
            for (int b = centreB - kReach; b <= centreB + kReach; ++b) {
                const int cr8 = std::clamp(r, 0, 255);
                const int cg8 = std::clamp(g, 0, 255);
                const int cb8 = std::clamp(b, 0, 255);
                const auto exact = StudioRange(cr8, cg8, cb8);
                const std::array<int, 3> wanted{target.y, target.cr, target.cb};
                double distance = 0.0;
                double margin = 1.0;
                for (size_t i = 0; i < 3; ++i) {
                    const double miss = Rounded(exact[i]) - wanted[i];
                    distance += miss * miss;
                    margin = std::min(margin, 0.5 - std::abs(exact[i] - Rounded(exact[i])));
                }
                if (distance < bestDistance || (distance == bestDistance && margin > bestMargin)) {
                    best = qRgb(cr8, cg8, cb8);
                    bestDistance = distance;
                    bestMargin = margin;
                }
            }
        }
    }
    return best;
}

}  // namespace marvoxa

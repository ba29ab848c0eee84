#include "pgs/pgs_palette.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace marvoxa {

namespace {

constexpr int kSteps = 32;  // per pass coverage, 5 bits of a key
constexpr int kKeys = kSteps * kSteps * kSteps;

// Coverage 0 to 255 to its nearest step and back.
constexpr std::array<std::uint8_t, 256> MakeStepTable() {
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        table[static_cast<size_t>(value)] =
            static_cast<std::uint8_t>((value * (kSteps - 1) + 127) / 255);
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> kStepOf = MakeStepTable();

int CoverageOf(int step) {
    return (step * 255 + (kSteps - 1) / 2) / (kSteps - 1);
}

QRgb KeyColour(int key, const RoleColours& colours) {
    return CompositePixel(CoverageOf(key & (kSteps - 1)), CoverageOf(key >> 5 & (kSteps - 1)),
                          CoverageOf(key >> 10), colours);
}

// Distance of two colours with their alpha applied, as they look over a picture.
int Distance(QRgb a, QRgb b) {
    const auto premultiplied = [](QRgb c, int channel) { return channel * qAlpha(c) / 255; };
    const int red = premultiplied(a, qRed(a)) - premultiplied(b, qRed(b));
    const int green = premultiplied(a, qGreen(a)) - premultiplied(b, qGreen(b));
    const int blue = premultiplied(a, qBlue(a)) - premultiplied(b, qBlue(b));
    const int alpha = qAlpha(a) - qAlpha(b);
    return red * red + green * green + blue * blue + alpha * alpha;
}

// The ink's bounding box within a region, in region coordinates; empty without ink.
QRect InkOf(const CoveragePlanes& region) {
    const int width = region.rect.width();
    const int height = region.rect.height();
    int top = height;
    int bottom = -1;
    int left = width;
    int right = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = region.outline.data() + static_cast<size_t>(y) * width;
        const std::uint8_t* end = row + width;
        const std::uint8_t* first = std::find_if(row, end, [](std::uint8_t v) { return v != 0; });
        if (first == end) {
            continue;
        }
        const auto last = std::find_if(std::make_reverse_iterator(end),
                                       std::make_reverse_iterator(row),
                                       [](std::uint8_t v) { return v != 0; });
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last.base() - row) - 1);
    }
    return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

PgsColour ToPgsColour(QRgb colour, bool bt709) {
    const double kr = bt709 ? 0.2126 : 0.299;
    const double kb = bt709 ? 0.0722 : 0.114;
    const double r = qRed(colour);
    const double g = qGreen(colour);
    const double b = qBlue(colour);
    const double luma = kr * r + (1 - kr - kb) * g + kb * b;
    const auto byte = [](double value, int low, int high) {
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), low, high));
    };
    return PgsColour{byte(16 + luma * 219 / 255, 16, 235),
                     byte(128 + (r - luma) / (2 * (1 - kr)) * 224 / 255, 16, 240),
                     byte(128 + (b - luma) / (2 * (1 - kb)) * 224 / 255, 16, 240),
                     static_cast<std::uint8_t>(qAlpha(colour))};
}

IndexedSubtitle IndexSubtitle(const HdSubtitle& subtitle, const RoleColours& colours, bool bt709) {
    IndexedSubtitle result;
    struct Cropped {
        const CoveragePlanes* region;
        QRect ink;  // in region coordinates
        std::vector<std::uint16_t> keys;
    };
    std::vector<Cropped> cropped;
    std::vector<int> counts(kKeys, 0);
    for (const CoveragePlanes& region : subtitle.regions) {
        const QRect ink = InkOf(region);
        if (ink.isEmpty()) {
            continue;
        }
        Cropped piece{&region, ink, std::vector<std::uint16_t>(static_cast<size_t>(ink.width()) *
                                                                ink.height())};
        const int width = region.rect.width();
        std::uint16_t* key = piece.keys.data();
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            const size_t start = static_cast<size_t>(y) * width + ink.left();
            const std::uint8_t* text = region.text.data() + start;
            const std::uint8_t* edge = region.edge.data() + start;
            const std::uint8_t* outline = region.outline.data() + start;
            for (int x = 0; x < ink.width(); ++x) {
                *key = static_cast<std::uint16_t>(kStepOf[outline[x]] << 10 |
                                                  kStepOf[edge[x]] << 5 | kStepOf[text[x]]);
                ++counts[*key++];
            }
        }
        cropped.push_back(std::move(piece));
    }

    // Transparent is entry 0, the commonest of the rest follow.
    std::vector<int> used;
    for (int key = 1; key < kKeys; ++key) {
        if (counts[static_cast<size_t>(key)] != 0) {
            used.push_back(key);
        }
    }
    std::stable_sort(used.begin(), used.end(), [&counts](int a, int b) {
        return counts[static_cast<size_t>(a)] > counts[static_cast<size_t>(b)];
    });
    const size_t entries = std::min<size_t>(used.size(), 255);
    std::vector<std::uint8_t> indexOf(kKeys, 0);
    std::vector<QRgb> entryColours{qRgba(0, 0, 0, 0)};
    for (size_t i = 0; i < entries; ++i) {
        const QRgb colour = KeyColour(used[i], colours);
        indexOf[static_cast<size_t>(used[i])] = static_cast<std::uint8_t>(i + 1);
        entryColours.push_back(colour);
        result.palette[i + 1] = ToPgsColour(colour, bt709);
    }
    for (size_t i = entries; i < used.size(); ++i) {
        const QRgb colour = KeyColour(used[i], colours);
        size_t nearest = 0;
        for (size_t entry = 1; entry < entryColours.size(); ++entry) {
            if (Distance(colour, entryColours[entry]) < Distance(colour, entryColours[nearest])) {
                nearest = entry;
            }
        }
        indexOf[static_cast<size_t>(used[i])] = static_cast<std::uint8_t>(nearest);
    }
    result.usedEntries = static_cast<int>(entries) + 1;

    for (const Cropped& piece : cropped) {
        IndexedObject object{piece.ink.translated(piece.region->rect.topLeft()),
                             std::vector<std::uint8_t>(piece.keys.size())};
        std::transform(piece.keys.begin(), piece.keys.end(), object.indices.begin(),
                       [&indexOf](std::uint16_t key) { return indexOf[key]; });
        result.objects.push_back(std::move(object));
    }
    return result;
}

}  // namespace marvoxa

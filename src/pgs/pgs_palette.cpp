#include "pgs/pgs_palette.h"

#include "common/pixels16.h"
#include "pgs/pgs_rle.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <span>

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

bool AllEqual(Pixels16 pixels, Pixels16 value) {
    const Pixels16 differ = pixels != value;
    std::uint64_t halves[2];
    std::memcpy(halves, &differ, sizeof halves);
    return (halves[0] | halves[1]) == 0;
}

// The first pixel from x on that is not zero, or width.
int FirstInk(const std::uint8_t* row, int x, int width) {
    const Pixels16 zero{};
    for (; x + 16 <= width && AllEqual(LoadPixels16(row + x), zero); x += 16) {
    }
    while (x < width && row[x] == 0) {
        ++x;
    }
    return x;
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
        const int first = FirstInk(row, 0, width);
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (row[last] == 0) {
            --last;
        }
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

using Keys8 = std::uint16_t __attribute__((vector_size(16)));

// The 32 steps of eight coverages: (v * 31 + 127) / 255, the division as (n + 1 + n / 256) / 256.
Keys8 Steps(Keys8 coverage) {
    const Keys8 n = coverage * 31 + 127;
    return (n + 1 + (n >> 8)) >> 8;
}

using Bytes8 = std::uint8_t __attribute__((vector_size(8)));

Keys8 Widen(const std::uint8_t* pixels) {
    Bytes8 bytes;
    std::memcpy(&bytes, pixels, sizeof bytes);
    return __builtin_convertvector(bytes, Keys8);
}

// The key of every pixel of a row: the steps of outline, edge and text, 5 bits each.
void RowKeys(const std::uint8_t* text, const std::uint8_t* edge, const std::uint8_t* outline,
             int width, std::uint16_t* keys) {
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const Keys8 key =
            Steps(Widen(outline + x)) << 10 | Steps(Widen(edge + x)) << 5 | Steps(Widen(text + x));
        std::memcpy(keys + x, &key, sizeof key);
    }
    for (; x < width; ++x) {
        keys[x] = static_cast<std::uint16_t>(kStepOf[outline[x]] << 10 | kStepOf[edge[x]] << 5 |
                                             kStepOf[text[x]]);
    }
}

// Bit i set where keys[i] differs from keys[i - 1], for eight keys.
std::uint64_t ChangeBits8(const std::uint16_t* keys) {
    Keys8 here;
    Keys8 before;
    std::memcpy(&here, keys, sizeof here);
    std::memcpy(&before, keys - 1, sizeof before);
    const Bytes8 differ = __builtin_convertvector(here != before, Bytes8);
    std::uint64_t bytes;
    std::memcpy(&bytes, &differ, sizeof bytes);
    // The top bit of each byte gathered into the top byte.
    return (bytes & 0x8080808080808080ULL) * 0x0002040810204081ULL >> 56;
}

// Splits a row of keys into runs, key << 16 | length each, at run, and appends each key not
// seen before to used. The run ends are found as bits, 64 pixels at a time, so that short runs
// of smoothing cost no wrongly guessed branch each. keys[-1] equals keys[0], and the keys after
// the row up to a multiple of 64 equal its last one.
std::uint32_t* RowRuns(const std::uint16_t* keys, int width, std::vector<std::uint8_t>& seen,
                       std::vector<int>& used, std::uint32_t* run) {
    int start = 0;
    const auto put = [&](int end) {
        const std::uint16_t key = keys[start];
        if (seen[key] == 0) {
            seen[key] = 1;
            used.push_back(key);
        }
        *run++ = std::uint32_t{key} << 16 | static_cast<std::uint32_t>(end - start);
        start = end;
    };
    for (int block = 0; block < width; block += 64) {
        std::uint64_t changes = 0;
        for (int i = 0; i < 64; i += 8) {
            changes |= ChangeBits8(keys + block + i) << i;
        }
        for (; changes != 0; changes &= changes - 1) {
            put(block + std::countr_zero(changes));
        }
    }
    put(width);
    return run;
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
        return static_cast<std::uint8_t>(
            std::clamp(static_cast<int>(std::lround(value)), low, high));
    };
    return PgsColour{byte(16 + luma * 219 / 255, 16, 235),
                     byte(128 + (r - luma) / (2 * (1 - kr)) * 224 / 255, 16, 240),
                     byte(128 + (b - luma) / (2 * (1 - kb)) * 224 / 255, 16, 240),
                     static_cast<std::uint8_t>(qAlpha(colour))};
}

IndexedSubtitle IndexSubtitle(const HdSubtitle& subtitle, const RoleColours& colours, bool bt709) {
    IndexedSubtitle result;
    // Kept from event to event by each drawing thread; between calls only transparent, which
    // is entry 0 anyway, is marked seen.
    thread_local std::vector<std::uint8_t> seen = [] {
        std::vector<std::uint8_t> marks(kKeys, 0);
        marks[0] = 1;
        return marks;
    }();
    std::vector<int> used;  // the keys in the order they are first met
    thread_local std::vector<std::uint8_t> indexOf(kKeys, 0);
    // Each object's runs of one key, key << 16 | length, a zero length closing each row.
    thread_local std::vector<std::vector<std::uint32_t>> keyRuns;
    size_t objects = 0;
    std::vector<size_t> runEnds;  // how many runs each object has
    for (const CoveragePlanes& region : subtitle.regions) {
        const QRect ink = InkOf(region);
        if (ink.isEmpty()) {
            continue;
        }
        result.objects.push_back({ink.translated(region.rect.topLeft()), {}});
        if (keyRuns.size() == objects) {
            keyRuns.emplace_back();
        }
        std::vector<std::uint32_t>& runs = keyRuns[objects++];
        // At most a run a pixel and a zero a row; written without a check of room each.
        // Only grown: the buffer is reused by the thread's next events.
        runs.resize(std::max(runs.size(), static_cast<size_t>(ink.width() + 1) * ink.height()));
        std::uint32_t* run = runs.data();
        const int width = region.rect.width();
        // A key before the row and padding after it, as RowRuns reads them.
        thread_local std::vector<std::uint16_t> keyRow;
        keyRow.resize(static_cast<size_t>(ink.width()) + 72);
        std::uint16_t* keys = keyRow.data() + 1;
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            const size_t start = static_cast<size_t>(y) * width + ink.left();
            RowKeys(region.text.data() + start, region.edge.data() + start,
                    region.outline.data() + start, ink.width(), keys);
            keys[-1] = keys[0];
            std::fill(keys + ink.width(), keyRow.data() + keyRow.size(), keys[ink.width() - 1]);
            run = RowRuns(keys, ink.width(), seen, used, run);
            *run++ = 0;
        }
        runEnds.push_back(static_cast<size_t>(run - runs.data()));
    }

    for (int key : used) {
        seen[static_cast<size_t>(key)] = 0;
    }
    // Transparent is entry 0; the rest in the order met, or, when they are more than 255, the
    // commonest first.
    if (used.size() > 255) {
        thread_local std::vector<int> counts(kKeys, 0);
        for (size_t i = 0; i < objects; ++i) {
            for (const std::uint32_t run : std::span(keyRuns[i].data(), runEnds[i])) {
                counts[run >> 16] += static_cast<int>(run & 0xffff);
            }
        }
        std::stable_sort(used.begin(), used.end(), [](int a, int b) {
            return counts[static_cast<size_t>(a)] > counts[static_cast<size_t>(b)];
        });
        std::fill(counts.begin(), counts.end(), 0);
    }
    const size_t entries = std::min<size_t>(used.size(), 255);
    indexOf[0] = 0;
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

    for (size_t i = 0; i < objects; ++i) {
        result.objects[i].rows = EncodeObjectRuns(keyRuns[i].data(), runEnds[i], indexOf);
    }
    return result;
}

}  // namespace marvoxa

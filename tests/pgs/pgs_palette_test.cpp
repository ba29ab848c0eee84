#include "pgs/pgs_palette.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

// The palette indices of an object's rows, read back from their run codes.
std::vector<int> DecodedIndices(const QByteArray& rows) {
    std::vector<int> indices;
    const auto byte = [&](qsizetype& at) { return static_cast<quint8>(rows[at++]); };
    for (qsizetype at = 0; at < rows.size();) {
        if (const int first = byte(at); first != 0) {
            indices.push_back(first);
            continue;
        }
        const int flags = byte(at);
        const int length = flags & 0x40 ? (flags & 0x3f) << 8 | byte(at) : flags & 0x3f;
        indices.insert(indices.end(), static_cast<size_t>(length), flags & 0x80 ? byte(at) : 0);
    }
    return indices;
}

// More combinations of the three coverages than 255 entries: the rare ones come first in the
// row, yet the common ones get their own colours and the rare ones an entry that is set.
TEST(PgsPalette, MoreThan255ColoursGiveTheCommonestTheirOwnEntries) {
    const RoleColours colours{qRgb(128, 128, 128), qRgb(16, 16, 16), qRgb(250, 250, 250)};
    struct Pixel {
        int text, edge, outline;
    };
    std::vector<Pixel> rare;
    std::vector<Pixel> common;
    for (int outline = 8; outline <= 255; outline += 8) {
        for (int edge = 0; edge <= outline; edge += 8) {
            (common.size() < 200 ? common : rare).push_back({edge / 2, edge, outline});
        }
    }
    ASSERT_GT(common.size() + rare.size(), 255u);
    std::vector<Pixel> row = rare;
    for (const Pixel& pixel : common) {
        row.insert(row.end(), 5, pixel);
    }
    CoveragePlanes planes{QRect(0, 0, static_cast<int>(row.size()), 1), {}, {}, {}};
    for (const Pixel& pixel : row) {
        planes.text.push_back(static_cast<std::uint8_t>(pixel.text));
        planes.edge.push_back(static_cast<std::uint8_t>(pixel.edge));
        planes.outline.push_back(static_cast<std::uint8_t>(pixel.outline));
    }
    HdSubtitle subtitle;
    subtitle.regions.push_back(planes);

    const IndexedSubtitle indexed = IndexSubtitle(subtitle, colours, true);
    ASSERT_EQ(indexed.objects.size(), 1u);
    EXPECT_EQ(indexed.usedEntries, 256);
    const std::vector<int> indices = DecodedIndices(indexed.objects[0].rows);
    ASSERT_EQ(indices.size(), row.size());
    for (size_t x = 0; x < row.size(); ++x) {
        ASSERT_GT(indices[x], 0) << x;
        if (x >= rare.size()) {  // within the rounding of coverage to 32 steps
            const Pixel& pixel = row[x];
            const PgsColour shown = indexed.palette[static_cast<size_t>(indices[x])];
            const PgsColour drawn =
                ToPgsColour(CompositePixel(pixel.text, pixel.edge, pixel.outline, colours), true);
            // Colours weighed by their alpha, as a viewer sees them over a picture.
            const auto seen = [](const PgsColour& c, int channel) {
                return channel * c.alpha / 255;
            };
            EXPECT_LE(std::abs(shown.alpha - drawn.alpha), 8) << x;
            EXPECT_LE(std::abs(seen(shown, shown.y - 16) - seen(drawn, drawn.y - 16)), 8) << x;
            EXPECT_LE(std::abs(seen(shown, shown.cr - 128) - seen(drawn, drawn.cr - 128)), 8) << x;
        }
    }
}

}  // namespace
}  // namespace marvoxa

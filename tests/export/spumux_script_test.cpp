#include "export/spumux_script.h"

#include "export/cue_picture.h"
#include "export/spumux_colours.h"
#include "palette/palette.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(SpumuxScript, GivesTimesToTheNearestHundredth) {
    EXPECT_EQ(SpumuxTime(0), QStringLiteral("00:00:00.00"));
    EXPECT_EQ(SpumuxTime(1004), QStringLiteral("00:00:01.00"));
    EXPECT_EQ(SpumuxTime(1005), QStringLiteral("00:00:01.01"));
    EXPECT_EQ(SpumuxTime(59'999), QStringLiteral("00:01:00.00"));
    EXPECT_EQ(SpumuxTime(3'723'456), QStringLiteral("01:02:03.46"));
}

TEST(SpumuxScript, PlacesEachPictureWithItsTimes) {
    const QByteArray script =
        SpumuxScriptHead() +
        SpumuxScriptEntry(1000, 2345, QStringLiteral("Generated_spumux/0001.png"), 0, 472) +
        SpumuxScriptEntry(5000, 10, QStringLiteral("a \"b\" & <c>.png"), 4, 6) + SpumuxScriptTail();
    EXPECT_EQ(script,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<subpictures>\n"
              "  <stream>\n"
              "    <spu start=\"00:00:01.00\" end=\"00:00:03.35\" "
              "image=\"Generated_spumux/0001.png\" xoffset=\"0\" yoffset=\"472\"/>\n"
              "    <spu start=\"00:00:05.00\" end=\"00:00:05.01\" "
              "image=\"a &quot;b&quot; &amp; &lt;c&gt;.png\" xoffset=\"4\" yoffset=\"6\"/>\n"
              "  </stream>\n"
              "</subpictures>\n");
}

TEST(CuePicture, HasFourColoursThatSpumuxTurnsIntoTheRolesEntries) {
    Palette palette = PaletteFromStoredValues({0x00108080, 0x00808080, 0x00eb8080, 0x00d29210});
    ShownSubpicture shown;
    shown.width = 4;
    shown.height = 2;
    shown.values = {0, 1, 2, 3, 3, 2, 1, 0};
    shown.paletteEntries = {0, 3, 0, 1};  // background 0, text 3, outline 0, antialias 1
    shown.contrasts = {0, 15, 15, 15};
    const QImage picture = CuePicture(shown, palette);
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    ASSERT_EQ(picture.colorCount(), 4);
    EXPECT_EQ(qAlpha(picture.color(0)), 0);
    const YCrCb expected[] = {{}, {0xd2, 0x92, 0x10}, {0x10, 0x80, 0x80}, {0x80, 0x80, 0x80}};
    for (int value = 1; value < 4; ++value) {
        EXPECT_EQ(qAlpha(picture.color(value)), 255);
        EXPECT_TRUE(SpumuxYCrCb(picture.color(value)) == expected[value]) << value;
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(picture.pixelIndex(i % 4, i / 4), shown.values[static_cast<size_t>(i)]);
    }
}

}  // namespace
}  // namespace marvoxa

#include "export/spumux_script.h"

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

}  // namespace
}  // namespace marvoxa

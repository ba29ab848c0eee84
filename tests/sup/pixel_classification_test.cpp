#include "sup/pixel_classification.h"

#include "test_helpers.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

using test::kAntialias;
using test::kOutline;
using test::kRoles;
using test::kText;

TEST(ClassifyPixel, GivesEachRoleItsValueAndEverythingElseBackground) {
    EXPECT_EQ(ClassifyPixel(kText, kRoles), ColourValue::Text);
    EXPECT_EQ(ClassifyPixel(kOutline, kRoles), ColourValue::Outline);
    EXPECT_EQ(ClassifyPixel(kAntialias, kRoles), ColourValue::Antialias);
    EXPECT_EQ(ClassifyPixel(kFrameBlue, kRoles), ColourValue::Background);
    // No tolerance: one step off a role colour is a stray shade.
    EXPECT_EQ(ClassifyPixel(qRgb(254, 255, 255), kRoles), ColourValue::Background);
    EXPECT_EQ(ClassifyPixel(qRgb(16, 16, 17), kRoles), ColourValue::Background);
    // Only red, green and blue count.
    EXPECT_EQ(ClassifyPixel(qRgba(255, 255, 255, 0), kRoles), ColourValue::Text);
}

TEST(ClassifyPixel, SharedColourGoesToTheLaterRole) {
    const QRgb grey = qRgb(90, 90, 90);
    EXPECT_EQ(ClassifyPixel(grey, {grey, grey, kText}), ColourValue::Outline);
    EXPECT_EQ(ClassifyPixel(grey, {kAntialias, grey, grey}), ColourValue::Text);
    EXPECT_EQ(ClassifyPixel(grey, {grey, kOutline, grey}), ColourValue::Text);
    EXPECT_EQ(ClassifyPixel(kFrameBlue, {kAntialias, kOutline, kFrameBlue}),
              ColourValue::Background);
    EXPECT_EQ(ClassifyPixel(kFrameBlue, {kFrameBlue, kFrameBlue, kText}), ColourValue::Background);
}

}  // namespace
}  // namespace marvoxa

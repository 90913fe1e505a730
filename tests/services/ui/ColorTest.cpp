#include "services/ui/draw/Color.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/skin/SkinManager.h"

#include <gtest/gtest.h>

using kivui::Color;
namespace util = kivui::utility;

namespace {

TEST(ColorUtilities, HexRoundTripsAndRejectsMalformedText) {
  for (Color c : {Color{0, 0, 0, 255}, Color{0x12, 0xab, 0xEF, 255}, Color{1, 2, 3, 4}}) {
    EXPECT_EQ(util::ColorFromHex(util::ColorToHex(c)), c);
  }
  EXPECT_EQ(util::ColorFromHex("#FFaa00"), (Color{255, 170, 0, 255}));
  for (const char* bad : {"", "#", "ffaa00", "#ffaa0", "#ffaa0g", "#ffaa00a", " #ffaa00"}) {
    EXPECT_FALSE(util::ColorFromHex(bad)) << bad;
  }
}

TEST(ColorUtilities, BlendingAndContrast) {
  const Color black = Color::RGB(0, 0, 0), white = Color::RGB(255, 255, 255);
  EXPECT_EQ(util::Blend(black, white, 0), black);
  EXPECT_EQ(util::Blend(black, white, 1), white);
  EXPECT_EQ(util::Blend(black, white, 0.5f), Color::RGB(128, 128, 128));
  EXPECT_EQ(util::Blend(black, white, 7), white);  // clamped
  EXPECT_EQ(util::Lighten(Color{100, 100, 100, 10}, 1).a, 10);
  EXPECT_EQ(util::ContrastingTextColor(Color::RGB(0x26, 0x26, 0x26)), white);
  EXPECT_EQ(util::ContrastingTextColor(Color::RGB(0xF0, 0xE0, 0x40)), black);
}

TEST(ThemeColors, TheDefaultThemeIsDarkWithReadableTextAndAHostMayReplaceIt) {
  const auto& theme = kivui::ThemeColors::Current();
  EXPECT_LT(util::Luminance(theme.panel), 0.05f);
  // Text on panels keeps at least a 7:1 contrast ratio.
  const float ratio = (util::Luminance(theme.text) + 0.05f) / (util::Luminance(theme.panel) + 0.05f);
  EXPECT_GT(ratio, 7.0f);

  auto custom = std::make_shared<kivui::ThemeColors>();
  custom->accent = Color::RGB(0xE8, 0x6A, 0x1A);
  kivui::SkinManager::Get().GetDefaultSet().Register(custom);
  EXPECT_EQ(kivui::ThemeColors::Current().accent, Color::RGB(0xE8, 0x6A, 0x1A));
}

}  // namespace

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivui {

// An 8-bit-per-channel colour with alpha.
struct Color {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;

  friend bool operator==(const Color&, const Color&) = default;

  static constexpr Color RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {r, g, b, 255};
  }
  Color WithAlpha(std::uint8_t alpha) const { return {r, g, b, alpha}; }
};

namespace utility {

// "#rrggbb" or "#rrggbbaa" (case-insensitive); nullopt for anything else.
std::optional<Color> ColorFromHex(std::string_view text);
// "#rrggbb", or "#rrggbbaa" when not opaque.
std::string ColorToHex(Color c);
// Mixes a towards b by t (0 gives a, 1 gives b), alpha included.
Color Blend(Color a, Color b, float t);
// Towards white or black by amount (0 to 1), alpha kept.
Color Lighten(Color c, float amount);
Color Darken(Color c, float amount);
// A colour from hue (degrees, any value, taken modulo 360), saturation and brightness (0 to
// 100 each, clamped) and alpha.
Color ColorFromHSB(float hue, float saturation, float brightness, std::uint8_t alpha = 255);
struct HSB {
  float hue = 0, saturation = 0, brightness = 0;  // degrees; 0 to 100; 0 to 100
};
HSB ColorToHSB(Color c);
// Relative luminance, 0 (black) to 1 (white).
float Luminance(Color c);
// Black or white, whichever reads better on the background.
Color ContrastingTextColor(Color background);

}  // namespace utility
}  // namespace kivui

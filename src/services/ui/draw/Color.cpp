#include "services/ui/draw/Color.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace kivui::utility {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, float t) {
  return std::uint8_t(std::lround(float(a) + (float(b) - float(a)) * t));
}

float Linear(std::uint8_t channel) {
  const float c = float(channel) / 255.0f;
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

}  // namespace

std::optional<Color> ColorFromHex(std::string_view text) {
  if (text.size() != 7 && text.size() != 9) return std::nullopt;
  if (text[0] != '#') return std::nullopt;
  std::uint8_t channels[4] = {0, 0, 0, 255};
  for (std::size_t i = 0; i * 2 + 1 < text.size(); ++i) {
    const int hi = HexDigit(text[1 + i * 2]), lo = HexDigit(text[2 + i * 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    channels[i] = std::uint8_t(hi * 16 + lo);
  }
  return Color{channels[0], channels[1], channels[2], channels[3]};
}

std::string ColorToHex(Color c) {
  char buffer[10];
  if (c.a == 255) {
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
  } else {
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x%02x", c.r, c.g, c.b, c.a);
  }
  return buffer;
}

Color Blend(Color a, Color b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

Color Lighten(Color c, float amount) { return Blend(c, Color::RGB(255, 255, 255), amount).WithAlpha(c.a); }
Color Darken(Color c, float amount) { return Blend(c, Color::RGB(0, 0, 0), amount).WithAlpha(c.a); }

float Luminance(Color c) {
  return 0.2126f * Linear(c.r) + 0.7152f * Linear(c.g) + 0.0722f * Linear(c.b);
}

Color ContrastingTextColor(Color background) {
  // The switch point where black and white have equal contrast ratios.
  return Luminance(background) > 0.179f ? Color::RGB(0, 0, 0) : Color::RGB(255, 255, 255);
}

Color ColorFromHSB(float hue, float saturation, float brightness, std::uint8_t alpha) {
  const float h = std::fmod(std::fmod(hue, 360.0f) + 360.0f, 360.0f) / 60.0f;
  const float s = std::clamp(saturation, 0.0f, 100.0f) / 100.0f;
  const float v = std::clamp(brightness, 0.0f, 100.0f) / 100.0f;
  const float c = v * s, x = c * (1 - std::fabs(std::fmod(h, 2.0f) - 1)), m = v - c;
  const float rgb[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
  const auto& p = rgb[std::min(5, int(h))];
  const auto channel = [m](float f) { return std::uint8_t(std::lround((f + m) * 255)); };
  return {channel(p[0]), channel(p[1]), channel(p[2]), alpha};
}

HSB ColorToHSB(Color c) {
  const float r = c.r / 255.0f, g = c.g / 255.0f, b = c.b / 255.0f;
  const float max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min;
  float h = 0;
  if (d > 0) {
    if (max == r) h = 60 * std::fmod((g - b) / d, 6.0f);
    else if (max == g) h = 60 * ((b - r) / d + 2);
    else h = 60 * ((r - g) / d + 4);
    if (h < 0) h += 360;
  }
  return {h, max == 0 ? 0 : d / max * 100, max * 100};
}

}  // namespace kivui::utility

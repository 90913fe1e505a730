#pragma once
// The one rule by which the layout turns fractions into pixels and back.

#include <algorithm>

namespace kivcore {

// pixel = length * fraction + origin + 0.5, in single-precision float, truncated toward
// zero. Each step is rounded to float on purpose; the project builds with
// -ffp-contract=off so no fused multiply-add changes the result.
inline int FractionToPixel(float length, float fraction, float origin) {
  const float scaled = length * fraction;
  const float shifted = scaled + origin;
  const float rounded = shifted + 0.5f;
  return static_cast<int>(rounded);
}

// (pixel - origin) / length, unclamped; a zero length gives 0.
inline float PixelToFraction(float pixel, float origin, float length) {
  return length == 0.0f ? 0.0f : (pixel - origin) / length;
}

// The fraction as it is stored: clamped to 0..1.
inline float PixelToStoredFraction(float pixel, float origin, float length) {
  return std::clamp(PixelToFraction(pixel, origin, length), 0.0f, 1.0f);
}

}  // namespace kivcore

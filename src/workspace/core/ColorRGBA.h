#pragma once

namespace kivworkspace::workspace {

// A colour as four floats from 0 to 1; all zero means "no colour".
struct ColorRGBA {
  float r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const ColorRGBA&, const ColorRGBA&) = default;
  bool IsSet() const { return a > 0; }
};

}  // namespace kivworkspace::workspace

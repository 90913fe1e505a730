#pragma once

#include <string>

namespace kivui {

// A font request. The family falls back to the system's sans-serif font.
struct Font {
  std::string family = "DejaVu Sans";
  float pixelSize = 12;
  bool bold = false;
  bool italic = false;
  bool monospace = false;

  static Font UI(float size = 12) { return Font{"DejaVu Sans", size, false, false, false}; }
  static Font Bold(float size = 12) { return Font{"DejaVu Sans", size, true, false, false}; }
  static Font Mono(float size = 12) {
    return Font{"DejaVu Sans Mono", size, false, false, true};
  }
};

}  // namespace kivui

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

  // The UI's font, in the family SetUIFamily chose ("DejaVu Sans" unless changed).
  static Font UI(float size = 12) { return Font{GetUIFamily(), size, false, false, false}; }
  static Font Bold(float size = 12) { return Font{GetUIFamily(), size, true, false, false}; }
  static Font Mono(float size = 12) {
    return Font{"DejaVu Sans Mono", size, false, false, true};
  }

  static const std::string& GetUIFamily();
  // Changes the family of the UI's font; windows drawn afterwards use it. UI thread only.
  static void SetUIFamily(std::string family);
};

}  // namespace kivui

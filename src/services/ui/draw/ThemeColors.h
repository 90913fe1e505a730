#pragma once

#include "services/ui/draw/Color.h"
#include "services/ui/skin/Skin.h"

namespace kivui {

// The colours every control draws with: a dark theme for a video application. It is a skin
// entry, so a host (or the theme editor) registers another set to restyle the whole UI.
struct ThemeColors : Skin {
  Color window = Color::RGB(0x1E, 0x1E, 0x1E);        // behind frames: the splitter bars
  Color panel = Color::RGB(0x26, 0x26, 0x26);         // a panel's content
  Color panelAlt = Color::RGB(0x2C, 0x2C, 0x2C);      // alternate rows, wells
  Color header = Color::RGB(0x1A, 0x1A, 0x1A);        // tab wells, title strips
  Color border = Color::RGB(0x0E, 0x0E, 0x0E);
  Color tabBackground = Color::RGB(0x22, 0x22, 0x22);  // a tab behind the front one
  Color tabHover = Color::RGB(0x30, 0x30, 0x30);
  Color tabFront = Color::RGB(0x32, 0x32, 0x32);       // the front tab of an inactive frame
  Color tabFrontFocused = Color::RGB(0x3A, 0x3A, 0x3A);
  Color text = Color::RGB(0xD6, 0xD6, 0xD6);
  Color textDim = Color::RGB(0x8C, 0x8C, 0x8C);
  Color textDisabled = Color::RGB(0x5A, 0x5A, 0x5A);
  Color accent = Color::RGB(0x2D, 0x8C, 0xEB);         // focus, selection, progress
  Color accentText = Color::RGB(0xFF, 0xFF, 0xFF);
  Color warning = Color::RGB(0xE8, 0xA3, 0x3D);
  Color error = Color::RGB(0xE0, 0x4F, 0x4F);
  Color button = Color::RGB(0x3A, 0x3A, 0x3A);
  Color buttonHover = Color::RGB(0x46, 0x46, 0x46);
  Color buttonPressed = Color::RGB(0x2A, 0x2A, 0x2A);
  Color field = Color::RGB(0x18, 0x18, 0x18);          // text fields
  Color selection = Color::RGB(0x26, 0x4F, 0x78);

  // The registered theme of the default skin set (this dark one unless a host replaced it).
  static const ThemeColors& Current();
};

}  // namespace kivui

#pragma once
// Loading theme colour files into the UI's theme, for the theme colour editor and any other
// caller. Every window is redrawn after a change of the theme.

#include "services/core/Strings.h"

namespace kivui {
class KeyframeTheme;
class UI_Node;
}

namespace kivworkspace::sharedui {

// The UI's theme, with every window redrawn whenever it changes.
kivui::KeyframeTheme& GetEditableTheme();

// Reads the theme colour file at path into the UI's theme (nothing for an empty path).
// A file that cannot be used raises kivcore::config::Error (KeyframeTheme::kErrorCategory,
// kInvalidThemeFileError) with the reason; the theme then stays as it was.
void ReloadThemeFile(const kivcore::UTF16String& path);

// Asks for a theme file ("Load Theme Colors", XML files) over parent's window and loads it;
// returns its full path, or an empty string when the user cancels or the file is refused
// (the user is told why).
kivcore::UTF16String LoadThemeFileFromDialog(kivui::UI_Node* parent);

}  // namespace kivworkspace::sharedui

#pragma once

#include "services/ui/events/ModKeys.h"

#include <string>

namespace kivui {

// Keys that have no text of their own. Keys with text carry their character in `text`
// and, for letters and digits, the upper-case ASCII code in `key`.
enum Key : int {
  kKeyNone = 0,
  kKeyBackspace = 0x08,
  kKeyTab = 0x09,
  kKeyReturn = 0x0D,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyDelete = 0x7F,
  kKeyLeft = 0x100,
  kKeyUp,
  kKeyRight,
  kKeyDown,
  kKeyHome,
  kKeyEnd,
  kKeyPageUp,
  kKeyPageDown,
  kKeyF1 = 0x200,  // kKeyF1 + n - 1 for Fn
  kKeyShift = 0x300,
  kKeyControl,
  kKeyAlt,
  kKeyMeta,
};

struct KeyboardEvent {
  enum Action { kDown = 1, kUp = 2 };

  Action action = kDown;
  int key = kKeyNone;
  std::string text;  // UTF-8; empty for keys without text
  ModKeys modKeys = kModNone;
  bool autoRepeat = false;
};

}  // namespace kivui

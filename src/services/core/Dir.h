#pragma once

#include "services/core/File.h"

namespace kivcore::filesupport {

class Dir {
 public:
  // The user's preferences folder: $KIV_PREF_DIR when set, else $XDG_CONFIG_HOME, else
  // ~/.config. It is not created here.
  static File PrefDir();
};

}  // namespace kivcore::filesupport

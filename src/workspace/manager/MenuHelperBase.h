#pragma once

#include "services/core/Strings.h"

namespace kivworkspace::workspace {

// A view of the manager's workspaces (a switcher, a popup, a host menu), told of changes.
class MenuHelperBase {
 public:
  virtual ~MenuHelperBase() = default;
  // The list of workspace names changed.
  virtual void RebuildMenu() = 0;
  // The current workspace is now `name`; empty when there is none.
  virtual void NewActiveWorkspace(const kivcore::UTF16String& name) = 0;
};

}  // namespace kivworkspace::workspace

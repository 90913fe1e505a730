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
  // The workspace `from` is now called `to`. Told before the rebuild that follows, so that a
  // view can keep the workspace where it was instead of taking the new name as a new one.
  virtual void WorkspaceRenamed(const kivcore::UTF16String& /*from*/, const kivcore::UTF16String& /*to*/) {}
  // The manager is going away: it tells nothing more, and a view must not reach it again
  // (not even to remove itself). A view may outlive its manager while a host tears down.
  virtual void ManagerDestroyed() {}
};

}  // namespace kivworkspace::workspace
